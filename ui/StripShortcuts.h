// The keys of the strip's commands. Each button has one, shown after its
// tooltip and in the help page; a key that matches one anywhere in the main
// window acts as a click on that button (so a disabled button ignores it).
#pragma once

#include <string>

namespace tuho {

struct StripShortcut {
  int button;
  unsigned key;  // virtual-key code
  bool control;
  bool shift;
  const char* label;  // as the tooltip shows it
};

// The button's shortcut, or null when it has none.
const StripShortcut* stripShortcutOf(int buttonId);
// The button whose shortcut the key is, or 0.
int stripButtonForKey(unsigned key, bool control, bool shift);
// "<tip> (<shortcut>)": the tooltip and the button's window text.
std::string stripButtonName(int buttonId, const char* tip);

}  // namespace tuho
