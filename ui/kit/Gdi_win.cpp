#include "ui/kit/Gdi.h"

#include "ui/kit/ScopedGdi.h"

namespace tuho {

HFONT pointFont(HWND window, int points) {
  int height = -MulDiv(points, GetDeviceCaps(ScopedDC(window), LOGPIXELSY), 72);
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "");
}

HBITMAP loadBitmap(HINSTANCE instance, int id) {
  return static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

HWND createChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
                 int height, int id, HINSTANCE instance) {
  return CreateWindowExA(0, className, text, style | WS_CHILD, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

HWND createBitmapStatic(HWND parent, HBITMAP bitmap, DWORD extraStyle, int x, int y, int width, int height,
                        int id, HINSTANCE instance) {
  HWND control = createChild(parent, "STATIC", nullptr, WS_VISIBLE | SS_BITMAP | extraStyle, x, y, width, height,
                             id, instance);
  if (control && bitmap) SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  // SS_BITMAP resizes the control to its bitmap; the layout's size wins.
  if (control) SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  return control;
}

void setFont(HWND control, HFONT font) { SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

void placeChild(HWND parent, int id, int x, int y, int width, int height) {
  SetWindowPos(GetDlgItem(parent, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT childRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace tuho
