#include "ui/dialogs/FolderBrowser.h"

#include <shlobj.h>

namespace tuho {
namespace {

constexpr int kNameChars = 260;

// A STRRET in whichever of its three forms the shell chose; the wide form's
// buffer is the caller's to free.
std::string textOf(STRRET& name, LPCITEMIDLIST item) {
  switch (name.uType) {
    case STRRET_WSTR: {
      char buffer[kNameChars + 1] = {};
      if (name.pOleStr) {
        WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, buffer, kNameChars, nullptr, nullptr);
        CoTaskMemFree(name.pOleStr);
        name.pOleStr = nullptr;
      }
      return buffer;
    }
    case STRRET_OFFSET:
      return std::string(reinterpret_cast<const char*>(item) + name.uOffset);
    case STRRET_CSTR:
      return std::string(name.cStr, strnlen(name.cStr, sizeof name.cStr));
    default:
      return std::string();
  }
}

}  // namespace

PickedFolder browseForFolder(HWND owner) {
  // The new dialog style hosts COM objects: COM must be up on this thread.
  ScopedCom com;
  char displayName[MAX_PATH + 1] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.pszDisplayName = displayName;
  info.lpszTitle = "Please choose a drive or folder";
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
  PickedFolder picked;
  LPITEMIDLIST item = SHBrowseForFolderA(&info);
  if (!item) return picked;
  picked.item = std::make_unique<ScopedItemIdList>(item);
  char path[MAX_PATH + 1] = {};
  if (SHGetPathFromIDListA(item, path)) picked.path = path;
  return picked;
}

std::string shellDisplayName(const ScopedItemIdList& item) {
  ScopedCom com;
  IShellFolder* desktop = nullptr;
  if (!item || FAILED(SHGetDesktopFolder(&desktop)) || !desktop) return std::string();
  STRRET name = {};
  std::string text;
  if (SUCCEEDED(desktop->GetDisplayNameOf(item.get(), SHGDN_NORMAL, &name))) text = textOf(name, item.get());
  desktop->Release();
  return text;
}

}  // namespace tuho
