// A program's icon in the notification area and the popup menu it opens.
// Header-only: the catalogue program and the launcher both use it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <iterator>
#include <utility>

#include "ui/kit/ContextMenu.h"

namespace tuho {

struct NotifyIconInfo {
  UINT id;
  UINT callbackMessage;
  int iconResource;
  const char* tip;
};

// The first, smallest form of the record: every shell since the first one
// takes it.
inline NOTIFYICONDATAA notifyIconRecord(HWND window, UINT id) {
  NOTIFYICONDATAA record = {};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = id;
  return record;
}

// Adds the icon; false when there is no notification area to take it.
inline bool addNotifyIcon(HWND window, HINSTANCE instance, const NotifyIconInfo& icon) {
  NOTIFYICONDATAA record = notifyIconRecord(window, icon.id);
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = icon.callbackMessage;
  record.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(icon.iconResource));
  lstrcpynA(record.szTip, icon.tip, 64);
  return Shell_NotifyIconA(NIM_ADD, &record) != FALSE;
}

inline void deleteNotifyIcon(HWND window, UINT id) {
  NOTIFYICONDATAA record = notifyIconRecord(window, id);
  Shell_NotifyIconA(NIM_DELETE, &record);
}

// Shows a popup menu of (text, command) items at the cursor, owned by the
// window, which is brought to the foreground first so that a click
// elsewhere closes the menu. The chosen command arrives as WM_COMMAND.
template <size_t N>
void showNotifyMenu(HWND window, const std::pair<const char*, int> (&items)[N]) {
  SetForegroundWindow(window);
  POINT cursor = {};
  GetCursorPos(&cursor);
  showContextMenu(window, cursor, MenuEntries(std::begin(items), std::end(items)));
  PostMessageA(window, WM_NULL, 0, 0);
}

}  // namespace tuho
