// The catalogue program's entry point: start-up in order, the UI thread's
// message loop, and a shutdown that lets the worker finish its current
// record before the catalogue is closed, and never closes it under a worker
// that is still running.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/StoreBoxes.h"
#include "platform/Alert.h"
#include "store/CatalogueStore.h"
#include "store/SourceList.h"
#include "ui/MainWindow.h"
#include "ui/WorkerLink.h"

namespace {

// How long the program waits at exit for a job to reach a file boundary.
constexpr DWORD kWorkerExitWaitMs = 15000;

// The data folder, or the reason it could not be had, in a box whose text
// tells the failing step.
bool findDataFolder(std::string& folder) {
  tuho::AppDataResult result = tuho::makeDataFolder(folder);
  if (result == tuho::kAppDataFound) return true;
  const char* texts[] = {"", "bad", "bad2", "ba3d"};
  tuho::alert(texts[result], "bad");
  return false;
}

// The main window takes its own keys (Tab, the shortcuts, Ctrl+F, Escape
// in the find box) before the control with the focus sees them.
int runMessageLoop(tuho::MainWindow& window) {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (window.preTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

// Everything the program opens lives in this scope, so that it is all
// closed by the time the caller looks at `launcherWanted`.
int runCatalogue(HINSTANCE instance, int showCommand, bool& launcherWanted) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  std::string dataFolder;
  // Without a data folder there is no catalogue to run on.
  if (!findDataFolder(dataFolder)) return 1;
  // The catalogue holds the data folder while this program runs; it is
  // opened before the source list is read, and a second program leaves both alone.
  tuho::StoreBoxes sourceListBoxes;
  tuho::SourceList sources;
  sources.setReporter(&sourceListBoxes);
  tuho::Catalogue catalogue(sources, dataFolder);
  if (catalogue.open() == tuho::kOpenInUse) {
    std::string text = tuho::catalogueInUseText(dataFolder);
    text[0] = 'T';
    tuho::alert(text + ".", "Tunehoard");
    return 1;
  }
  catalogue.loadSources();

  auto window = std::make_unique<tuho::MainWindow>();
  if (!window->create(instance, showCommand, &catalogue, &sources)) {
    catalogue.close();
    return 1;
  }
  // The last step of showing the window: with no media source, offer help.
  window->desktop().welcomeIfNoSources(sources.count());
  // Lives as long as the worker may run, which is until the process ends.
  static tuho::WorkerLink worker;
  worker.start(*window, catalogue);

  // A running job stops at its next file; its last record is whole once the
  // worker has left the catalogue, and only then is the store closed. This
  // happens once: at the end of the session (Windows then ends the process
  // on its own) or after the loop.
  bool closed = false;
  auto stopAndClose = [&] {
    if (!closed) closed = worker.stopAndClose(catalogue, kWorkerExitWaitMs);
    return closed;
  };
  window->desktop().onSessionEnd = [&] { stopAndClose(); };

  int exitCode = runMessageLoop(*window);
  launcherWanted = window->desktop().launcherWanted();

  // A worker that has not stopped within the wait may still use the
  // catalogue, the source list and the worker link: the process ends here
  // without closing or destroying any of them, and the OS closes the store
  // (every record already written is on disk). The launcher is not started
  // then: the catalogue is still held until the process has ended.
  if (!stopAndClose()) ExitProcess(static_cast<UINT>(exitCode));
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // One copy runs; the running one is left alone.
  if (FindWindowA("Tunehoard", "Tunehoard")) return 0;
  bool launcherWanted = false;
  int exitCode = runCatalogue(instance, showCommand, launcherWanted);
  // Only now, with the catalogue closed and the window gone, may the
  // launcher's icon start another copy.
  if (launcherWanted) tuho::startLauncher();
  return exitCode;
}
