// The strip of bitmap tiles along the top of the main window with its eight
// bitmap buttons. Buttons are static controls that show one of four images
// (normal, hover, pressed, disabled), react to the mouse through one shared
// subclass procedure and report clicks to the main window as MMSG_SKIN_CLICK.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "ui/browse/ListCommands.h"
#include "ui/kit/ScopedGdi.h"

namespace tuho {

struct SkinButton {
  int id = 0;
  HWND window = nullptr;
  ScopedBitmap normal;
  ScopedBitmap pressed;
  ScopedBitmap hover;
  ScopedBitmap disabled;
  HBITMAP shown = nullptr;  // the image the button shows now
  int hovering = 0;
  int enabled = 0;
  int savedEnabled = 0;
};

class SkinStrip {
 public:
  static constexpr int kButtonCount = 8;

  // Builds the tiles and buttons (buttons start disabled until reset()).
  void build(HWND mainWindow, HINSTANCE instance);
  void createTooltips(HINSTANCE instance);
  // Hands the main window's own mouse messages to the tooltips, which show
  // a disabled button's tip from them.
  void relayMouse(const MSG& message);

  void enable(int buttonId);
  void disable(int buttonId);
  bool isEnabled(int buttonId) const;
  // Only the Media Store and Configuration buttons enabled.
  void reset();
  // The play, enqueue and make-ready buttons show what the list allows: the
  // "all" buttons at once, the "selected" ones once rows have been chosen.
  void showCommands(const ListCommands& commands, bool rowsChosen);
  // Saves which buttons are enabled and disables them all. Suspensions nest:
  // only the first saves (and returns true), only the last resume shows the
  // saved states again. Changes made meanwhile go to the saved states.
  bool suspend();
  void resume();
  bool suspended() const { return suspendDepth_ > 0; }

  const SkinButton* button(int buttonId) const;
  HWND tooltips() const { return tooltips_; }

 private:
  static LRESULT CALLBACK buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR strip);
  SkinButton* find(int buttonId);
  SkinButton* byWindow(HWND window);
  void show(SkinButton& button, HBITMAP image);
  void setEnabled(SkinButton& button, bool on);
  void onMouse(SkinButton& button, UINT message);

  std::array<SkinButton, kButtonCount> buttons_{};
  std::vector<ScopedBitmap> tiles_;  // the strip's other images
  HWND mainWindow_ = nullptr;
  HWND tooltips_ = nullptr;
  int suspendDepth_ = 0;
};

}  // namespace tuho
