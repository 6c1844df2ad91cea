#include "ui/kit/ContextMenu.h"

namespace tuho {

void ScopedPopupMenu::append(const char* text, int command) {
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_TYPE;
  item.fType = MFT_STRING;
  item.wID = static_cast<UINT>(command);
  item.dwTypeData = const_cast<char*>(text);
  InsertMenuItemA(menu_, static_cast<UINT>(GetMenuItemCount(menu_)), TRUE, &item);
}

POINT messagePoint() {
  DWORD where = GetMessagePos();
  return POINT{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
}

void showContextMenu(HWND owner, POINT screen, const MenuEntries& entries) {
  ScopedPopupMenu menu;
  for (const auto& entry : entries) menu.append(entry.first, entry.second);
  TrackPopupMenu(menu, 0, screen.x, screen.y, 0, owner, nullptr);
}

}  // namespace tuho
