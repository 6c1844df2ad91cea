// Scoped owners for the Win32 resources the windows use, so that every
// acquire has its release in one place: a window's DC, a GDI object, a popup
// menu, a shell item id list, and COM on the current thread.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace tuho {

// GetDC / ReleaseDC.
class ScopedDC {
 public:
  explicit ScopedDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedDC(const ScopedDC&) = delete;
  ScopedDC& operator=(const ScopedDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A GDI object (font, brush, bitmap, pen) deleted when the scope ends.
template <class T>
class ScopedGdiObject {
 public:
  explicit ScopedGdiObject(T object = nullptr) : object_(object) {}
  ~ScopedGdiObject() { reset(); }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
  void reset(T object = nullptr) {
    if (object_) DeleteObject(object_);
    object_ = object;
  }
  T get() const { return object_; }
  operator T() const { return object_; }

 private:
  T object_;
};

using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;

// Selects an object into a DC and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// CreatePopupMenu / DestroyMenu.
class ScopedPopupMenu {
 public:
  ScopedPopupMenu() : menu_(CreatePopupMenu()) {}
  ~ScopedPopupMenu() {
    if (menu_) DestroyMenu(menu_);
  }
  ScopedPopupMenu(const ScopedPopupMenu&) = delete;
  ScopedPopupMenu& operator=(const ScopedPopupMenu&) = delete;
  operator HMENU() const { return menu_; }
  // Adds a text entry below the others; choosing it sends `command`.
  void append(const char* text, int command) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = MFT_STRING;
    item.wID = static_cast<UINT>(command);
    item.dwTypeData = const_cast<char*>(text);
    InsertMenuItemA(menu_, static_cast<UINT>(GetMenuItemCount(menu_)), TRUE, &item);
  }

 private:
  HMENU menu_;
};

// A shell item id list, freed with the shell's allocator.
class ScopedItemIdList {
 public:
  explicit ScopedItemIdList(LPITEMIDLIST list = nullptr) : list_(list) {}
  ~ScopedItemIdList() {
    if (list_) CoTaskMemFree(list_);
  }
  ScopedItemIdList(const ScopedItemIdList&) = delete;
  ScopedItemIdList& operator=(const ScopedItemIdList&) = delete;
  LPITEMIDLIST get() const { return list_; }
  explicit operator bool() const { return list_ != nullptr; }

 private:
  LPITEMIDLIST list_;
};

// COM for the current thread (the shell's folder browser needs it), undone
// only when this scope's call succeeded.
class ScopedCom {
 public:
  ScopedCom() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ScopedCom() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;

 private:
  HRESULT result_;
};

}  // namespace tuho
