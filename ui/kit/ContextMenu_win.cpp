#include "ui/kit/ContextMenu.h"

#include "ui/kit/ScopedWin.h"

namespace tuho {

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
