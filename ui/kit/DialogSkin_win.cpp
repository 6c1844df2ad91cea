#include "ui/kit/DialogSkin.h"

#include "ui/kit/Gdi.h"

namespace tuho {

void DialogSkin::apply(HWND dialog, int width, int height, HBITMAP upper, HBITMAP lower) {
  dialog_ = dialog;
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
  // Size the window so that its client area is exactly width x height,
  // whatever frame and caption the system draws.
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  if (!font_) font_.reset(pointFont(dialog, 8));
  if (lower) {
    created_.push_back(createBitmapStatic(dialog, upper, 0, 0, 0, width, 33, -1, instance));
    created_.push_back(createBitmapStatic(dialog, lower, 0, 0, 33, width, 31, -1, instance));
  } else {
    created_.push_back(createBitmapStatic(dialog, upper, 0, 0, 0, width, 64, -1, instance));
  }
  created_.push_back(createChild(dialog, "STATIC", nullptr, WS_VISIBLE | SS_ETCHEDHORZ, 0, 64, width + 5, 2, -1,
                                 instance));
}

HWND DialogSkin::add(const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                     int id) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog_, GWLP_HINSTANCE));
  HWND control = createChild(dialog_, className, text, WS_VISIBLE | style, x, y, width, height, id, instance);
  setFont(control, font_);
  created_.push_back(control);
  return control;
}

void DialogSkin::destroy() {
  for (HWND control : created_) {
    if (IsWindow(control)) DestroyWindow(control);
  }
  created_.clear();
}

}  // namespace tuho
