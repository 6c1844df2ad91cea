#include "UiFixture.h"

#include <commctrl.h>

#include <filesystem>

#include "catalogue/TrackFiles.h"
#include "ui/kit/Gdi.h"
#include "ui/desktop/LauncherEntry.h"
#include "ui/kit/RegistryKey.h"
#include "ui/desktop/Settings.h"
#include "ui/UiIds.h"

namespace tuho::test {
namespace {

Bytes songBytes(int number) {
  std::string artist = number % 2 ? "Odd Artist" : "Even Artist";
  return songWithId3v1(SongTag{"Song " + std::to_string(number), artist, "", 17 /* Rock */, number % 100}, 512);
}

}  // namespace

UiTest::UiTest() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  clearSettings();
  sources.load(dataDir.path());
  catalogue = std::make_unique<Catalogue>(sources, dataDir.path());
  catalogue->open();
  createWindow();
}

void UiTest::clearSettings() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKeyPath);
  RegistryKey(kRunKeyPath).deleteValue(kLauncherValueName);
}

void UiTest::createWindow() {
  window = std::make_unique<MainWindow>();
  EXPECT_TRUE(window->create(GetModuleHandleA(nullptr), SW_HIDE, catalogue.get(), &sources));
  pumpFor(50);
}

UiTest::~UiTest() {
  worker.stop(20000);
  window.reset();
  pumpFor(10);
  catalogue->close();
}

bool UiTest::pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (window && window->preTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  }
  return true;
}

void UiTest::pumpFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  pumpUntil([&] { return GetTickCount() - start >= milliseconds; }, milliseconds + 1000);
}

void UiTest::startWorker() { ASSERT_TRUE(worker.start(*window, *catalogue)); }

SourceRef* UiTest::addSourceWithSongs(const std::string& name, MediaType kind, int count) {
  std::string folder = musicDir.file(name);
  std::filesystem::create_directories(folder + "\\Album");
  for (int i = 0; i < count; ++i) writeBytes(folder + "\\Album\\song" + std::to_string(i) + ".mp3", songBytes(i));
  return registerFolder(name, kind, folder);
}

SourceRef* UiTest::registerFolder(const std::string& name, MediaType kind, const std::string& folder) {
  Location location = splitLocation(folder);
  SourceRef source;
  source.root = location.root;
  source.folder = location.folder;
  source.name = name;
  source.mediaType = kind;
  return sources.entry(sources.add(source));
}

void UiTest::waitForFirstNode() {
  SendMessageA(window->window(), WM_COMMAND, MAKEWPARAM(IDC_GROUP_COMBO, CBN_SELCHANGE), 0);
  pumpUntil([&] { return window->list().rowCount() > 0; }, 5000);
}

void UiTest::resizeClient(int width, int height) {
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
  SetWindowPos(window->window(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOMOVE);
  pumpFor(20);
}

HBITMAP UiTest::shownImage(int buttonId) const {
  return reinterpret_cast<HBITMAP>(SendMessageA(control(buttonId), STM_GETIMAGE, IMAGE_BITMAP, 0));
}

RECT UiTest::rectOf(int id) const { return childRect(control(id)); }

}  // namespace tuho::test
