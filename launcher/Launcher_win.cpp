#include "launcher/Launcher.h"

#include "launcher/resources/resource.h"
#include "platform/ProgramFolder.h"
#include "ui/kit/WindowAttach.h"

namespace tuho {
namespace {

const NotifyIconInfo kLauncherIcon = {LAUNCHER_ICON_ID, LMSG_TRAY_NOTIFY, IDI_LAUNCHER_TRAY, "Tunehoard Loader"};

const std::pair<const char*, int> kLauncherMenu[] = {{"Launch Tunehoard", LCMD_LAUNCH}, {"Exit", LCMD_EXIT}};

constexpr UINT_PTR kIconRetryTimer = 1;

}  // namespace

const char kLauncherClass[] = "TuhoKick";

Launcher::~Launcher() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

bool Launcher::create(HINSTANCE instance) {
  instance_ = instance;
  if (!registerWindowClassOf<Launcher>(instance, kLauncherClass, IDI_LAUNCHER)) return false;
  window_ = CreateWindowExA(WS_EX_APPWINDOW, kLauncherClass, kLauncherClass, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                            this);
  if (!window_) return false;
  showIcon();
  return true;
}

void Launcher::showIcon() {
  hasIcon_ = addIcon(window_, instance_, kLauncherIcon);
  if (hasIcon_) {
    KillTimer(window_, kIconRetryTimer);
  } else {
    SetTimer(window_, kIconRetryTimer, iconRetryMs, nullptr);
  }
}

// The shell knows the icon by window handle and id, so this works also
// after "Exit" has destroyed the window.
void Launcher::deleteIcon() {
  if (window_) deleteNotifyIcon(window_, LAUNCHER_ICON_ID);
}

void Launcher::launch() {
  // The launcher ends whether or not Tuho could be started.
  openBesideProgram("Tuho.exe", reinterpret_cast<intptr_t>(window_));
  PostQuitMessage(0);
}

void Launcher::onTrayNotify(WPARAM id, LPARAM event) {
  if (id != LAUNCHER_ICON_ID) return;
  if (event == WM_LBUTTONUP) launch();
  if (event == WM_RBUTTONUP) showNotifyMenu(window_, kLauncherMenu);
}

LRESULT Launcher::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
      break;
    case WM_CLOSE:
      PostQuitMessage(0);
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == LCMD_EXIT) PostMessageA(window, WM_CLOSE, 0, 0);
      if (LOWORD(wParam) == LCMD_LAUNCH) launch();
      break;
    case LMSG_TRAY_NOTIFY:
      onTrayNotify(wParam, lParam);
      break;
    case WM_TIMER:
      if (wParam == kIconRetryTimer) {
        showIcon();
        return 0;
      }
      break;
    default:
      // The taskbar was re-created without the icon.
      if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        showIcon();
        return 0;
      }
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int runLauncher(HINSTANCE instance) {
  if (FindWindowA(kLauncherClass, kLauncherClass)) return 0;
  Launcher launcher;
  if (!launcher.create(instance)) return 1;
  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  launcher.deleteIcon();
  return static_cast<int>(message.wParam);
}

}  // namespace tuho
