// Small GDI and resource helpers shared by the windows and dialogs.
#pragma once

#include <windows.h>

namespace tuho {

// A font of the given point size for the window's display: weight 400,
// default charset, Swiss family, no face name.
HFONT pointFont(HWND window, int points);
// A bitmap resource by id, or null when it is missing (its tile stays blank).
HBITMAP loadBitmap(HINSTANCE instance, int id);
// A child control at client rectangle (x, y, width, height).
HWND createChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
                 int height, int id, HINSTANCE instance);
// A child static showing a bitmap.
HWND createBitmapStatic(HWND parent, HBITMAP bitmap, DWORD extraStyle, int x, int y, int width, int height,
                        int id, HINSTANCE instance);
void setFont(HWND control, HFONT font);
// Moves and sizes the child with this id to a client rectangle of its parent.
void placeChild(HWND parent, int id, int x, int y, int width, int height);
// The rectangle of a child in its parent's client coordinates.
RECT childRect(HWND child);

}  // namespace tuho
