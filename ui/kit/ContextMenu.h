// The pieces the tree's and the list's context menus share: where the
// click was, and a popup menu of (text, command) entries shown there.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace tuho {

using MenuEntries = std::vector<std::pair<const char*, int>>;

// The screen position of the message being handled.
POINT messagePoint();

// Builds the menu anew with the entries top to bottom, shows it at the
// screen position (the chosen command reaches the owner as WM_COMMAND) and
// destroys it.
void showContextMenu(HWND owner, POINT screen, const MenuEntries& entries);

}  // namespace tuho
