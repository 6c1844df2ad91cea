// The look every small dialog shares: a fixed client size, a bitmap banner
// across the top, an etched line under it at y 64, and 8-point controls.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/kit/ScopedGdi.h"

namespace tuho {

class DialogSkin {
 public:
  // Sizes the dialog to a client area of width x height and builds the
  // banner: upper (height 33) and lower (height 31) bitmaps, or one bitmap
  // 64 high when lower is null; then the etched line.
  void apply(HWND dialog, int width, int height, HBITMAP upper, HBITMAP lower);
  // A control created in code, with the 8-point font; destroyed by destroy().
  HWND add(const char* className, const char* text, DWORD style, int x, int y, int width, int height, int id);
  HFONT font() const { return font_; }
  // Destroys the controls the skin created.
  void destroy();

 private:
  HWND dialog_ = nullptr;
  ScopedFont font_;
  std::vector<HWND> created_;
};

}  // namespace tuho
