// One way to find a window's object: the object is the window's creation
// parameter (CreateWindowExA's lpParam, CreateDialogParamA's or
// DialogBoxParamA's dwInitParam). One template procedure stores it when the
// window is created and hands every later message to the object:
//
//   windows:  LRESULT T::onMessage(HWND, UINT, WPARAM, LPARAM)
//             (stored at WM_NCCREATE in GWLP_USERDATA, cleared at WM_NCDESTROY)
//   dialogs:  INT_PTR T::onDialogMessage(HWND, UINT, WPARAM, LPARAM)
//             (stored at WM_INITDIALOG in DWLP_USER, cleared at WM_NCDESTROY;
//             the object sees WM_INITDIALOG itself)
//
// Messages that arrive before the object is attached (WM_GETMINMAXINFO comes
// before WM_NCCREATE; WM_SETFONT before WM_INITDIALOG) get the default.
//
// A control of a system class that the UI subclasses (a skin button is a
// static) carries its object as the reference data of SetWindowSubclass.
#pragma once

#include <windows.h>

namespace tuho {

template <class T>
LRESULT CALLBACK windowProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  return self->onMessage(window, message, wParam, lParam);
}

template <class T>
INT_PTR CALLBACK dialogProcOf(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) SetWindowLongPtrA(dialog, DWLP_USER, 0);
  return self->onDialogMessage(dialog, message, wParam, lParam);
}

// Registers a top-level window class whose windows find their object through
// windowProcOf<T>, with the program's icon (small and large alike), the arrow
// cursor and double clicks. A class already registered counts as done.
template <class T>
bool registerWindowClassOf(HINSTANCE instance, const char* className, int iconId, HBRUSH background = nullptr) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &windowProcOf<T>;
  windowClass.cbWndExtra = 30;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(iconId));
  windowClass.hIconSm = windowClass.hIcon;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className;
  return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The object attached to a window or dialog by the procedures above, or null.
template <class T>
T* attachedTo(HWND window, bool dialog = false) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(window, dialog ? DWLP_USER : GWLP_USERDATA));
}

}  // namespace tuho
