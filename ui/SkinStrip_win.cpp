#include "ui/SkinStrip.h"

#include <commctrl.h>

#include <string>

#include "resources/resource.h"
#include "ui/kit/Gdi.h"
#include "ui/StripShortcuts.h"
#include "ui/UiIds.h"

namespace tuho {
namespace {

struct ButtonArt {
  int id;
  const char* tip;
  int normal, hover, pressed, disabled;
};

// In the order the main window keeps its buttons.
const ButtonArt kButtonArt[SkinStrip::kButtonCount] = {
    {BTN_READY_ALL, "Make all items ready to play", IDB_READY_ALL, IDB_READY_ALL_HOVER, IDB_READY_ALL_PRESSED,
     IDB_READY_ALL_DISABLED},
    {BTN_READY_SELECTED, "Make selected items ready to play", IDB_READY_SELECTED, IDB_READY_SELECTED_HOVER,
     IDB_READY_SELECTED_PRESSED, IDB_READY_SELECTED_DISABLED},
    {BTN_CONFIG, "Configuration", IDB_CONFIG, IDB_CONFIG_HOVER, IDB_CONFIG_PRESSED, IDB_CONFIG_DISABLED},
    {BTN_ENQUEUE_ALL, "Enqueue all items", IDB_ENQUEUE_ALL, IDB_ENQUEUE_ALL_HOVER, IDB_ENQUEUE_ALL_PRESSED,
     IDB_ENQUEUE_ALL_DISABLED},
    {BTN_ENQUEUE_SELECTED, "Enqueue selected items", IDB_ENQUEUE_SELECTED, IDB_ENQUEUE_SELECTED_HOVER,
     IDB_ENQUEUE_SELECTED_PRESSED, IDB_ENQUEUE_SELECTED_DISABLED},
    {BTN_MEDIA_STORE, "Media Store", IDB_MEDIA_STORE, IDB_MEDIA_STORE_HOVER, IDB_MEDIA_STORE_PRESSED,
     IDB_MEDIA_STORE_DISABLED},
    {BTN_PLAY_ALL, "Play all items", IDB_PLAY_ALL, IDB_PLAY_ALL_HOVER, IDB_PLAY_ALL_PRESSED, IDB_PLAY_ALL_DISABLED},
    {BTN_PLAY_SELECTED, "Play selected items", IDB_PLAY_SELECTED, IDB_PLAY_SELECTED_HOVER, IDB_PLAY_SELECTED_PRESSED,
     IDB_PLAY_SELECTED_DISABLED},
};

// One column of the strip: a 10-pixel tile or a 40-pixel button, with its
// 4-pixel lip underneath.
struct Tile {
  int x;
  int upper;   // bitmap id, or 0 for a button
  int button;  // button id for a button column
  int lower;
};

const Tile kTiles[] = {
    {40, IDB_STRIP_LEFT_END, 0, IDB_STRIP_LEFT_END_LIP},
    {50, IDB_STRIP_GROOVE, 0, IDB_STRIP_LIP},
    {60, IDB_STRIP_BEFORE_BUTTON, 0, IDB_STRIP_LIP},
    {70, 0, BTN_MEDIA_STORE, IDB_STRIP_BUTTON_LIP},
    {110, IDB_STRIP_AFTER_BUTTON, 0, IDB_STRIP_LIP},
    {120, IDB_STRIP_GROOVE, 0, IDB_STRIP_LIP},
    {130, IDB_STRIP_BEFORE_BUTTON, 0, IDB_STRIP_LIP},
    {140, 0, BTN_READY_ALL, IDB_STRIP_BUTTON_LIP},
    {180, 0, BTN_READY_SELECTED, IDB_STRIP_BUTTON_LIP},
    {220, IDB_STRIP_AFTER_BUTTON, 0, IDB_STRIP_LIP},
    {230, IDB_STRIP_GROOVE, 0, IDB_STRIP_LIP},
    {240, IDB_STRIP_BEFORE_BUTTON, 0, IDB_STRIP_LIP},
    {250, 0, BTN_PLAY_ALL, IDB_STRIP_BUTTON_LIP},
    {290, 0, BTN_PLAY_SELECTED, IDB_STRIP_BUTTON_LIP},
    {330, 0, BTN_ENQUEUE_ALL, IDB_STRIP_BUTTON_LIP},
    {370, 0, BTN_ENQUEUE_SELECTED, IDB_STRIP_BUTTON_LIP},
    {410, IDB_STRIP_AFTER_BUTTON, 0, IDB_STRIP_LIP},
    {420, IDB_STRIP_GROOVE, 0, IDB_STRIP_LIP},
    {430, IDB_STRIP_BEFORE_BUTTON, 0, IDB_STRIP_LIP},
    {440, 0, BTN_CONFIG, IDB_STRIP_BUTTON_LIP},
    {480, IDB_STRIP_AFTER_BUTTON, 0, IDB_STRIP_LIP},
    {490, IDB_STRIP_GROOVE, 0, IDB_STRIP_LIP},
    {500, IDB_STRIP_RIGHT_END, 0, IDB_STRIP_RIGHT_END_LIP},
};

constexpr int kButtonSize = 40;
constexpr int kTileWidth = 10;
constexpr int kLipHeight = 4;
constexpr UINT_PTR kButtonSubclass = 1;

const ButtonArt& artOf(int buttonId) {
  for (const ButtonArt& art : kButtonArt) {
    if (art.id == buttonId) return art;
  }
  return kButtonArt[0];
}

}  // namespace

void SkinStrip::build(HWND mainWindow, HINSTANCE instance) {
  mainWindow_ = mainWindow;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const ButtonArt& art = kButtonArt[i];
    SkinButton& button = buttons_[i];
    button.id = art.id;
    button.normal.reset(loadBitmap(instance, art.normal));
    button.hover.reset(loadBitmap(instance, art.hover));
    button.pressed.reset(loadBitmap(instance, art.pressed));
    button.disabled.reset(loadBitmap(instance, art.disabled));
  }
  for (const Tile& tile : kTiles) {
    int width = tile.button ? kButtonSize : kTileWidth;
    tiles_.emplace_back(loadBitmap(instance, tile.lower));
    createBitmapStatic(mainWindow, tiles_.back(), 0, tile.x, kButtonSize, width, kLipHeight, -1, instance);
    if (!tile.button) {
      tiles_.emplace_back(loadBitmap(instance, tile.upper));
      createBitmapStatic(mainWindow, tiles_.back(), 0, tile.x, 0, width, kButtonSize, -1, instance);
      continue;
    }
    SkinButton& button = *find(tile.button);
    button.window = createBitmapStatic(mainWindow, nullptr, SS_NOTIFY, tile.x, 0, width, kButtonSize, tile.button,
                                       instance);
    // A button is a static control of the system's class, so the strip
    // attaches itself as the subclass's reference data.
    SetWindowSubclass(button.window, &SkinStrip::buttonProc, kButtonSubclass, reinterpret_cast<DWORD_PTR>(this));
    // What assistive technology announces for the button.
    SetWindowTextA(button.window, stripButtonName(button.id, artOf(button.id).tip).c_str());
  }
}

void SkinStrip::createTooltips(HINSTANCE instance) {
  tooltips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mainWindow_, nullptr, instance, nullptr);
  if (!tooltips_) return;
  SetWindowPos(tooltips_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    std::string name = stripButtonName(buttons_[i].id, kButtonArt[i].tip);  // the tooltip keeps a copy
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = buttons_[i].window;
    tool.uId = static_cast<UINT_PTR>(buttons_[i].id);
    tool.rect = RECT{0, 0, kButtonSize, kButtonSize};
    tool.hinst = instance;
    tool.lpszText = const_cast<char*>(name.c_str());
    SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    // A disabled window gets no mouse messages: its parent does. The same
    // tip over the same rectangle of the main window shows it then. The
    // main window's mouse messages are relayed, not subclassed: a tooltip
    // that subclasses the main window slows every notice the list sends it
    // (a bulk delete of 5,000 rows took 17 times longer).
    tool.uFlags = 0;
    tool.hwnd = mainWindow_;
    tool.rect = childRect(buttons_[i].window);
    SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void SkinStrip::relayMouse(const MSG& message) {
  if (!tooltips_ || message.hwnd != mainWindow_) return;
  if (message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST) return;
  MSG copy = message;
  SendMessageA(tooltips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
}

SkinButton* SkinStrip::find(int buttonId) {
  for (SkinButton& button : buttons_) {
    if (button.id == buttonId) return &button;
  }
  return nullptr;
}

const SkinButton* SkinStrip::button(int buttonId) const { return const_cast<SkinStrip*>(this)->find(buttonId); }

SkinButton* SkinStrip::byWindow(HWND window) {
  for (SkinButton& button : buttons_) {
    if (button.window == window) return &button;
  }
  return nullptr;
}

// A button is repainted only when its image changes: Wine repaints at once
// on every STM_SETIMAGE, and the strip is set whole at every list fill and
// at the start and end of every job.
void SkinStrip::show(SkinButton& button, HBITMAP image) {
  if (!button.window || button.shown == image) return;
  SendMessageA(button.window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
  button.shown = image;
}

void SkinStrip::setEnabled(SkinButton& button, bool on) {
  // While suspended, a change is kept for the resume and nothing is shown.
  if (suspendDepth_ > 0) {
    button.savedEnabled = on ? 1 : 0;
    return;
  }
  show(button, on ? button.normal : button.disabled);
  button.enabled = on ? 1 : 0;
  button.hovering = 0;
  if (button.window) EnableWindow(button.window, on ? TRUE : FALSE);  // what assistive technology reads
}

void SkinStrip::enable(int buttonId) {
  if (SkinButton* button = find(buttonId)) setEnabled(*button, true);
}

void SkinStrip::disable(int buttonId) {
  if (SkinButton* button = find(buttonId)) setEnabled(*button, false);
}

bool SkinStrip::isEnabled(int buttonId) const {
  const SkinButton* found = button(buttonId);
  return found && found->enabled;
}

void SkinStrip::reset() {
  for (int id : {BTN_READY_ALL, BTN_READY_SELECTED, BTN_ENQUEUE_ALL, BTN_ENQUEUE_SELECTED, BTN_PLAY_ALL,
                 BTN_PLAY_SELECTED}) {
    disable(id);
  }
  enable(BTN_CONFIG);
  enable(BTN_MEDIA_STORE);
}

void SkinStrip::showCommands(const ListCommands& commands, bool rowsChosen) {
  const std::pair<int, bool> shown[] = {
      {BTN_READY_ALL, commands.canMakeReady}, {BTN_READY_SELECTED, commands.canMakeReady && rowsChosen},
      {BTN_PLAY_ALL, commands.playable},      {BTN_PLAY_SELECTED, commands.playable && rowsChosen},
      {BTN_ENQUEUE_ALL, commands.playable},   {BTN_ENQUEUE_SELECTED, commands.playable && rowsChosen},
  };
  for (const auto& button : shown) {
    if (SkinButton* found = find(button.first)) setEnabled(*found, button.second);
  }
}

bool SkinStrip::suspend() {
  if (suspendDepth_++ > 0) return false;
  for (SkinButton& button : buttons_) {
    button.savedEnabled = button.enabled;
    show(button, button.disabled);
    button.enabled = 0;
    button.hovering = 0;
    if (button.window) EnableWindow(button.window, FALSE);
  }
  return true;
}

void SkinStrip::resume() {
  if (suspendDepth_ == 0 || --suspendDepth_ > 0) return;
  for (SkinButton& button : buttons_) setEnabled(button, button.savedEnabled != 0);
}

void SkinStrip::onMouse(SkinButton& button, UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (!button.hovering) {
        show(button, button.hover);
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, button.window, 100};
        _TrackMouseEvent(&track);
        button.hovering = 1;
      }
      break;
    case WM_LBUTTONDOWN:
      show(button, button.pressed);
      break;
    case WM_LBUTTONUP:
      show(button, button.normal);
      button.hovering = 0;
      PostMessageA(mainWindow_, MMSG_SKIN_CLICK, static_cast<WPARAM>(GetDlgCtrlID(button.window)), 0);
      break;
    case WM_MOUSELEAVE:
      show(button, button.normal);
      button.hovering = 0;
      break;
    default:
      break;
  }
}

LRESULT CALLBACK SkinStrip::buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR strip) {
  auto* self = reinterpret_cast<SkinStrip*>(strip);
  SkinButton* button = self->byWindow(window);
  // A disabled button ignores the mouse entirely.
  if (button && button->enabled) self->onMouse(*button, message);
  if (message == WM_COMMAND) return 0;
  // A bitmap static would take new text for the name of a bitmap to load
  // (or drop it): the button's text is its name and nothing more.
  // The text arrives in the window's own character set.
  if (message == WM_SETTEXT) {
    return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                   : DefWindowProcA(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &SkinStrip::buttonProc, kButtonSubclass);
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace tuho
