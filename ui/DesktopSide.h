// What the main window does beside the user's desktop: its settings in the
// registry, the notification-area icon it hides behind, the ways of ending
// (each saves the settings once and says whether the launcher is wanted),
// the help page, and the Preferences, Welcome and About dialogs.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "ui/kit/NotifyIcon.h"
#include "ui/desktop/Settings.h"
#include "ui/desktop/AboutDialog.h"
#include "ui/desktop/PreferencesDialog.h"
#include "ui/desktop/WelcomeDialog.h"

namespace tuho {

// The track list's column widths, read when the settings are saved and
// applied when they are restored.
struct ColumnWidthAccess {
  std::function<std::array<int, 5>()> read;
  std::function<void(const std::array<int, 5>&)> apply;
};

constexpr UINT TRAY_ICON_ID = 2334;

class DesktopSide {
 public:
  // How the icon reaches the notification area; tests put a stand-in here.
  bool (*addIcon)(HWND, HINSTANCE, const NotifyIconInfo&) = &addNotifyIcon;
  // Called once when Windows ends the session, after the settings are saved:
  // the program stops its worker and closes the catalogue there, since the
  // process is ended without WM_CLOSE or WM_DESTROY.
  std::function<void()> onSessionEnd;

  void attach(HWND window, HINSTANCE instance, ColumnWidthAccess columns);
  // Column widths, grouping and window placement, while the window is made.
  void restoreViewSettings();
  void readNotificationSettings();
  // The Welcome dialog, modal, when the catalogue has no media source.
  void welcomeIfNoSources(int sourceCount);

  // Follows the main window's messages: minimising, the icon's callback,
  // a re-created taskbar, the window's end and the session's end.
  void onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The commands it owns; false for any other.
  bool onCommand(int id);
  // The close box: save, want the launcher only when it runs at log-on, quit.
  void onClose();

  void openHelp();
  NotificationSettings& settings() { return settings_; }
  bool inTray() const { return inTray_; }
  // Whether the launcher is to be started once the program has closed its
  // catalogue.
  bool launcherWanted() const { return launcherWanted_; }

 private:
  void hideToTray();
  void restoreFromTray();
  void onTrayNotify(WPARAM id, LPARAM event);
  void exitFromTray(bool startLauncher);
  void saveOnce();
  void removeIcon();
  void endSession();

  HWND window_ = nullptr;
  HINSTANCE instance_ = nullptr;
  ColumnWidthAccess columns_;
  UINT taskbarCreated_ = 0;
  NotificationSettings settings_;
  bool inTray_ = false;
  bool saved_ = false;
  bool sessionEnded_ = false;
  bool launcherWanted_ = false;
  PreferencesDialog preferences_;
  WelcomeDialog welcome_;
  AboutDialog about_;
};

// Starts "TuhoKick.exe" from the program folder; nothing when it is missing.
void startLauncher();

}  // namespace tuho
