// The main window from the keyboard: the focus moves through the browsing
// controls, the strip's commands have shortcuts, and the tree and the list
// answer the keys their mouse actions have.
#include <cstring>

#include "ui/ListMenus.h"
#include "ui/MainWindow.h"
#include "ui/StripShortcuts.h"
#include "ui/UiIds.h"
#include "ui/kit/ContextMenu.h"

namespace tuho {
namespace {

// The controls Tab moves through, in order (Shift+Tab the other way).
const int kTabOrder[] = {IDC_FIND_BOX, IDC_GROUP_COMBO, IDC_TREE, IDC_LIST};
// The window starts with the focus on the grouping box, as it always has.
const int kFirstFocus = IDC_GROUP_COMBO;

bool keyDown(int key) { return GetKeyState(key) < 0; }

// A screen point just inside the rectangle's left edge, at mid height,
// where a menu opened from the keyboard appears.
POINT menuPoint(HWND control, RECT rect) {
  POINT at{rect.left + 8, (rect.top + rect.bottom) / 2};
  ClientToScreen(control, &at);
  return at;
}

}  // namespace

bool MainWindow::preTranslateMessage(MSG& message) {
  strip_.relayMouse(message);
  list_.beforeClick(message);
  // The modeless dialogs get Tab, Enter and Escape of their own.
  if (mediaStore_.isOpen() && IsDialogMessageA(mediaStore_.dialog(), &message)) return true;
  if (progress_.isOpen() && IsDialogMessageA(progress_.window(), &message)) return true;
  if (takeKey(message)) return true;
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
  bool alt = (message.lParam & (1 << 29)) != 0;
  return onKey(message.hwnd, static_cast<UINT>(message.wParam), alt) || (!alt && list_.takeRowKey(message));
}

bool MainWindow::onKey(HWND target, UINT key, bool alt) {
  bool control = keyDown(VK_CONTROL);
  bool shift = keyDown(VK_SHIFT);
  // Alt+F4 closes the window wherever the focus is: a focused combo box
  // would take F4 for its own drop-down.
  if (alt && key == VK_F4) {
    SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  if (alt) return false;  // the system's own keys (Alt+Space, Alt+Down in the combo box)
  if (key == VK_TAB && !control) {
    moveFocus(shift ? -1 : 1);
    return true;
  }
  if (key == VK_F6 && !control) {
    focusControl(target == list_.control() ? tree_.control() : list_.control());
    return true;
  }
  if (int button = stripButtonForKey(key, control, shift)) {
    // As a click: a disabled button does nothing.
    if (!strip_.isEnabled(button)) return true;
    if (button == BTN_CONFIG) {
      RECT rect;
      GetClientRect(strip_.button(button)->window, &rect);
      showConfigMenu(menuPoint(strip_.button(button)->window, RECT{0, rect.bottom, 0, rect.bottom}));
    } else {
      onSkinClick(button);
    }
    return true;
  }
  if (target == list_.control()) return onListKey(key, control, shift);
  if (target == tree_.control()) return onTreeKey(key, shift);
  return false;
}

bool MainWindow::onListKey(UINT key, bool control, bool shift) {
  bool menuKey = key == VK_APPS || (key == VK_F10 && shift);
  if (menuKey) {
    showRowMenuAtFocus();
  } else if (key == VK_RETURN && !control) {
    onCommand(shift ? CMD_ENQUEUE_SELECTED : CMD_PLAY_SELECTED, 0);
  } else if (key == VK_DELETE && !control && !shift) {
    onCommand(CMD_DELETE, 0);
  } else if (key == VK_F2 && !control && !shift) {
    onCommand(CMD_EDIT_TAG, 0);
  } else if (key == 'A' && control && !shift) {
    list_.selectAll();
  } else {
    return false;
  }
  return true;
}

bool MainWindow::onTreeKey(UINT key, bool shift) {
  bool menuKey = key == VK_APPS || (key == VK_F10 && shift);
  if (menuKey) {
    showTreeMenuAtSelection();
  } else if (key == VK_RETURN && !shift) {
    if (tree_.showSelected()) onCommand(CMD_PLAY_ALL, 0);
  } else if (key == VK_F5) {
    rebuildTreeFromCombo();
  } else if (key == VK_MULTIPLY) {
    tree_.openAllBelowSelected();
  } else {
    return false;
  }
  return true;
}

void MainWindow::moveFocus(int step) {
  const int count = static_cast<int>(sizeof kTabOrder / sizeof kTabOrder[0]);
  HWND focus = GetFocus();
  int at = -1;
  for (int i = 0; i < count; ++i) {
    HWND control = GetDlgItem(window_, kTabOrder[i]);
    if (control && (focus == control || IsChild(control, focus))) at = i;
  }
  if (at < 0) at = step > 0 ? count - 1 : 0;
  for (int tried = 0; tried < count; ++tried) {
    at = (at + step + count) % count;
    HWND next = GetDlgItem(window_, kTabOrder[at]);
    if (next && IsWindowVisible(next) && IsWindowEnabled(next)) {
      focusControl(next);
      return;
    }
  }
}

void MainWindow::restoreFocus() {
  HWND control = lastFocus_ && IsChild(window_, lastFocus_) ? lastFocus_ : GetDlgItem(window_, kFirstFocus);
  if (control) SetFocus(control);
}

// The focus goes to the control and shows: Windows hides focus cues until
// the keyboard is used, and a list without a focused row shows none.
void MainWindow::focusControl(HWND control) {
  SendMessageA(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  SetFocus(control);
  if (control == list_.control()) list_.showFocusedRow();
}

void MainWindow::showRowMenuAtFocus() {
  int row = list_.focusedRow();
  if (row < 0) return;
  RECT rect = {};
  rect.left = LVIR_LABEL;
  SendMessageA(list_.control(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  showContextMenu(window_, menuPoint(list_.control(), rect), rowMenuEntries(menuCommands()));
}

void MainWindow::showTreeMenuAtSelection() {
  HTREEITEM node = tree_.showSelected();
  if (!node) return;
  RECT rect = {};
  // The rectangle names its node on the way in.
  std::memcpy(&rect, &node, sizeof node);
  SendMessageA(tree_.control(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
  showContextMenu(window_, menuPoint(tree_.control(), rect), treeMenuEntries(menuCommands()));
}

}  // namespace tuho
