// Scoped owners for the GDI and common-control resources the windows use,
// so that every acquire has its release in one place: a window's DC, a GDI
// object (font, brush, bitmap), a selection into a DC and an image list.
// Owners move; none copies.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "platform/win32/ScopedResource.h"

namespace tuho {

// GetDC / ReleaseDC.
class ScopedDC {
 public:
  explicit ScopedDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedDC(ScopedDC&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  ScopedDC& operator=(ScopedDC&&) = delete;
  ScopedDC(const ScopedDC&) = delete;
  ScopedDC& operator=(const ScopedDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyImageList {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};

template <class T>
using ScopedGdiObject = ScopedResource<T, DeleteGdiObject>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedImageList = ScopedResource<HIMAGELIST, DestroyImageList>;

// Selects an object into a DC and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelect(ScopedSelect&& other) noexcept : dc_(other.dc_), previous_(std::exchange(other.previous_, nullptr)) {}
  ScopedSelect& operator=(ScopedSelect&&) = delete;
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace tuho
