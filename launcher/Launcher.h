// TuhoKick: a hidden window whose only face is an icon in the notification
// area. A left click, or "Launch Tunehoard" on its menu, starts Tuho.exe
// from the launcher's own folder and ends the launcher; "Exit" just ends it.
#pragma once

#include <windows.h>

#include "ui/kit/NotifyIcon.h"

namespace tuho {

constexpr UINT LMSG_TRAY_NOTIFY = 2010;
constexpr UINT LAUNCHER_ICON_ID = 2011;
constexpr int LCMD_EXIT = 2012;
constexpr int LCMD_LAUNCH = 2013;

extern const char kLauncherClass[];  // class and title: the single-instance marker

class Launcher {
 public:
  // How the icon reaches the notification area; tests put a stand-in here.
  bool (*addIcon)(HWND, HINSTANCE, const NotifyIconInfo&) = &addNotifyIcon;
  // How long to wait before trying again to add an icon the notification
  // area did not take (at log-on the shell may not be up yet).
  UINT iconRetryMs = 2000;

  Launcher() = default;
  ~Launcher();
  Launcher(const Launcher&) = delete;
  Launcher& operator=(const Launcher&) = delete;

  // Registers the class, makes the window (never shown) and adds the icon.
  bool create(HINSTANCE instance);
  HWND window() const { return window_; }
  bool hasIcon() const { return hasIcon_; }
  void deleteIcon();
  LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void launch();
  void onTrayNotify(WPARAM id, LPARAM event);
  // Adds the icon, or tries again on a timer until the shell takes it:
  // without an icon nothing could start Tuho or end this launcher, whose
  // window would keep every later launcher from running.
  void showIcon();

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  UINT taskbarCreated_ = 0;
  bool hasIcon_ = false;
};

// The launcher's entry: ends at once with 0 when another launcher runs.
int runLauncher(HINSTANCE instance);

}  // namespace tuho
