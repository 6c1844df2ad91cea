// The one popup-menu helper: a menu of (text, command) entries built anew,
// shown at a screen position and destroyed at once; the chosen command
// reaches the owner as WM_COMMAND. The tree's, the list's, the strip's and
// the notification icons' menus all go through it.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace tuho {

using MenuEntries = std::vector<std::pair<const char*, int>>;

// CreatePopupMenu / DestroyMenu.
class ScopedPopupMenu {
 public:
  ScopedPopupMenu() : menu_(CreatePopupMenu()) {}
  ~ScopedPopupMenu() {
    if (menu_) DestroyMenu(menu_);
  }
  ScopedPopupMenu(ScopedPopupMenu&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)) {}
  ScopedPopupMenu& operator=(ScopedPopupMenu&&) = delete;
  ScopedPopupMenu(const ScopedPopupMenu&) = delete;
  ScopedPopupMenu& operator=(const ScopedPopupMenu&) = delete;
  operator HMENU() const { return menu_; }
  // Adds a text entry below the others; choosing it sends `command`.
  void append(const char* text, int command);

 private:
  HMENU menu_;
};

// The screen position of the message being handled.
POINT messagePoint();

// Builds the menu with the entries top to bottom, shows it at the screen
// position and destroys it.
void showContextMenu(HWND owner, POINT screen, const MenuEntries& entries);

}  // namespace tuho
