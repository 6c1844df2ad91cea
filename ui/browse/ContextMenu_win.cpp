#include "ui/browse/ContextMenu.h"

#include "ui/ScopedWin.h"

namespace tuho {

POINT messagePoint() {
  DWORD where = GetMessagePos();
  return POINT{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
}

void showContextMenu(HWND owner, POINT screen, const MenuEntries& entries) {
  ScopedPopupMenu menu;
  for (const auto& entry : entries) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = MFT_STRING;
    item.wID = static_cast<UINT>(entry.second);
    item.dwTypeData = const_cast<char*>(entry.first);
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
  }
  TrackPopupMenu(menu, 0, screen.x, screen.y, 0, owner, nullptr);
}

}  // namespace tuho
