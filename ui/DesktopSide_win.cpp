#include "ui/DesktopSide.h"

#include <commctrl.h>

#include "catalogue/TrackItem.h"
#include "platform/ProgramFolder.h"
#include "resources/resource.h"
#include "ui/UiIds.h"

namespace tuho {
namespace {

const NotifyIconInfo kTrayIcon = {TRAY_ICON_ID, MMSG_TRAY_NOTIFY, IDI_TRAY, "Tunehoard"};

const std::pair<const char*, int> kTrayMenu[] = {
    {"Exit", CMD_EXIT}, {"Restore Tunehoard", CMD_RESTORE}, {"Exit (No Launcher)", CMD_EXIT_NO_LAUNCHER}};

}  // namespace

void startLauncher() { openBesideProgram("TuhoKick.exe", 0); }

void DesktopSide::attach(HWND window, HINSTANCE instance, ColumnWidthAccess columns) {
  window_ = window;
  instance_ = instance;
  columns_ = std::move(columns);
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

void DesktopSide::restoreViewSettings() {
  ViewSettings view = readViewSettings();
  columns_.apply(view.columnWidths);
  // No notice: the grouping change posted at creation builds the tree.
  SendDlgItemMessageA(window_, IDC_GROUP_COMBO, CB_SETCURSEL, static_cast<WPARAM>(view.grouping), 0);
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window_, &placement)) return;
  std::optional<RECT> rect = restoredRect(placement.rcNormalPosition, view, workspaceOrigin());
  if (!rect) return;
  placement.rcNormalPosition = *rect;
  // Not shown yet: showing is the creation's own next step.
  if (!IsWindowVisible(window_)) placement.showCmd = SW_HIDE;
  SetWindowPlacement(window_, &placement);
}

void DesktopSide::readNotificationSettings() { settings_ = tuho::readNotificationSettings(); }

void DesktopSide::welcomeIfNoSources(int sourceCount) {
  if (sourceCount == 0) welcome_.run(instance_, window_, [this] { openHelp(); });
}

void DesktopSide::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE && wParam == SIZE_MINIMIZED && settings_.minimiseToTray) {
    hideToTray();
  } else if (message == MMSG_TRAY_NOTIFY) {
    onTrayNotify(wParam, lParam);
  } else if (message == taskbarCreated_ && taskbarCreated_ != 0 && inTray_) {
    // The taskbar was re-created without our icon; put it back, or come
    // back into view when it cannot be had.
    inTray_ = false;
    hideToTray();
    if (!inTray_) ShowWindow(window_, SW_SHOWMINNOACTIVE);
  } else if (message == WM_DESTROY) {
    saveOnce();
    removeIcon();
  } else if (message == WM_ENDSESSION && wParam) {
    endSession();
  }
}

// Windows ends the process after this message without closing or destroying
// the window: everything the other ways of ending do happens here, once.
void DesktopSide::endSession() {
  if (sessionEnded_) return;
  sessionEnded_ = true;
  saveOnce();
  removeIcon();
  launcherWanted_ = false;  // the log-on entry starts it with the next session
  if (onSessionEnd) onSessionEnd();
  PostQuitMessage(0);
}

bool DesktopSide::onCommand(int id) {
  switch (id) {
    case CMD_HELP: openHelp(); return true;
    case CMD_ABOUT: about_.run(instance_, window_); return true;
    case CMD_PREFERENCES: preferences_.run(instance_, window_, settings_, programFolder()); return true;
    case CMD_RESTORE: restoreFromTray(); return true;
    case CMD_EXIT: exitFromTray(true); return true;
    case CMD_EXIT_NO_LAUNCHER: exitFromTray(false); return true;
    default: return false;
  }
}

void DesktopSide::onClose() {
  saveOnce();
  launcherWanted_ = settings_.launcherAtStartup;
  PostQuitMessage(0);
}

void DesktopSide::openHelp() { openBesideProgram("help.html", reinterpret_cast<intptr_t>(window_)); }

void DesktopSide::hideToTray() {
  // Without an icon the window stays an ordinary minimised one: hidden
  // without an icon, nothing could bring it back.
  if (inTray_ || !addIcon(window_, instance_, kTrayIcon)) return;
  ShowWindow(window_, SW_HIDE);
  inTray_ = true;
}

void DesktopSide::restoreFromTray() {
  ShowWindow(window_, SW_SHOW);
  ShowWindow(window_, SW_SHOWNORMAL);
  removeIcon();
}

void DesktopSide::onTrayNotify(WPARAM id, LPARAM event) {
  if (id != TRAY_ICON_ID) return;
  if (event == WM_LBUTTONUP) restoreFromTray();
  if (event == WM_RBUTTONUP) showNotifyMenu(window_, kTrayMenu);
}

void DesktopSide::exitFromTray(bool startLauncher) {
  removeIcon();
  // The loop ends without destroying the window: save here.
  saveOnce();
  launcherWanted_ = startLauncher;
  PostQuitMessage(0);
}

void DesktopSide::saveOnce() {
  if (saved_ || !window_) return;
  saved_ = true;
  ViewSettings view;
  view.columnWidths = columns_.read();
  LRESULT grouping = SendDlgItemMessageA(window_, IDC_GROUP_COMBO, CB_GETCURSEL, 0, 0);
  view.grouping = isGroupLevel(grouping) ? static_cast<int>(grouping) : 0;
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  GetWindowPlacement(window_, &placement);
  saveSettings(view, placement.rcNormalPosition, settings_.minimiseToTray);
}

void DesktopSide::removeIcon() {
  if (!inTray_) return;
  deleteNotifyIcon(window_, TRAY_ICON_ID);
  inTray_ = false;
}

}  // namespace tuho
