#include "ui/StripShortcuts.h"

#include <windows.h>

#include "ui/UiIds.h"

namespace tuho {
namespace {

// The "selected items" commands add Shift to their "all items" command's
// key. F10 opens the configuration menu, as it would a menu bar.
const StripShortcut kShortcuts[] = {
    {BTN_MEDIA_STORE, 'M', true, false, "Ctrl+M"},           {BTN_READY_ALL, 'R', true, false, "Ctrl+R"},
    {BTN_READY_SELECTED, 'R', true, true, "Ctrl+Shift+R"},   {BTN_PLAY_ALL, 'P', true, false, "Ctrl+P"},
    {BTN_PLAY_SELECTED, 'P', true, true, "Ctrl+Shift+P"},    {BTN_ENQUEUE_ALL, 'E', true, false, "Ctrl+E"},
    {BTN_ENQUEUE_SELECTED, 'E', true, true, "Ctrl+Shift+E"}, {BTN_CONFIG, VK_F10, false, false, "F10"},
};

}  // namespace

const StripShortcut* stripShortcutOf(int buttonId) {
  for (const StripShortcut& shortcut : kShortcuts) {
    if (shortcut.button == buttonId) return &shortcut;
  }
  return nullptr;
}

int stripButtonForKey(unsigned key, bool control, bool shift) {
  for (const StripShortcut& shortcut : kShortcuts) {
    if (shortcut.key == key && shortcut.control == control && shortcut.shift == shift) return shortcut.button;
  }
  return 0;
}

std::string stripButtonName(int buttonId, const char* tip) {
  const StripShortcut* shortcut = stripShortcutOf(buttonId);
  return shortcut ? std::string(tip) + " (" + shortcut->label + ")" : std::string(tip);
}

}  // namespace tuho
