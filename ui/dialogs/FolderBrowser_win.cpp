#include "ui/dialogs/FolderBrowser.h"

#include <shlobj.h>

#include "platform/Ansi.h"

namespace tuho {
namespace {

constexpr int kNameChars = 260;

std::u16string utf16Of(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

// A STRRET in whichever of its three forms the shell chose; the wide form's
// buffer is the caller's to free. A wide name the code page cannot hold
// whole gives none rather than one with '?' in it.
std::string textOf(STRRET& name, LPCITEMIDLIST item) {
  switch (name.uType) {
    case STRRET_WSTR: {
      std::string text;
      if (name.pOleStr) {
        text = exactAnsiFromUtf16(utf16Of(name.pOleStr)).value_or(std::string()).substr(0, kNameChars);
        CoTaskMemFree(name.pOleStr);
        name.pOleStr = nullptr;
      }
      return text;
    }
    case STRRET_OFFSET:
      return std::string(reinterpret_cast<const char*>(item) + name.uOffset);
    case STRRET_CSTR:
      return std::string(name.cStr, strnlen(name.cStr, sizeof name.cStr));
    default:
      return std::string();
  }
}

// The folder's path in the ANSI code page: its own where the code page
// holds every character, else its short form, which names the same folder;
// empty when neither can be had.
std::string ansiPathOf(LPCITEMIDLIST item) {
  wchar_t path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(item, path)) return std::string();
  if (std::optional<std::string> ansi = exactAnsiFromUtf16(utf16Of(path))) return *ansi;
  wchar_t shortPath[MAX_PATH + 1] = {};
  DWORD length = GetShortPathNameW(path, shortPath, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return std::string();
  return exactAnsiFromUtf16(utf16Of(shortPath)).value_or(std::string());
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
  picked.item = ScopedItemIdList(item);
  picked.path = ansiPathOf(item);
  return picked;
}

std::string shellDisplayNameOfPath(const std::string& path) {
  ScopedCom com;
  ScopedComPtr<IShellFolder> desktop;
  if (path.empty() || FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return std::string();
  std::wstring wide(path.size() + 1, L'\0');
  int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  ScopedItemIdList parsed;
  if (length > 0) desktop->ParseDisplayName(nullptr, nullptr, &wide[0], nullptr, parsed.put(), nullptr);
  if (!parsed) return std::string();
  return shellDisplayName(parsed);
}

std::string volumeLabel(const std::string& drive) {
  char label[MAX_PATH + 1] = {};
  std::string root = drive + "\\";
  // A drive without a disc must not bring up the system's "insert a disk" box.
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  BOOL known = GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
  SetErrorMode(previous);
  return known ? std::string(label) : std::string();
}

std::string shellDisplayName(const ScopedItemIdList& item) {
  ScopedCom com;
  ScopedComPtr<IShellFolder> desktop;
  if (!item || FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return std::string();
  STRRET name = {};
  std::string text;
  if (SUCCEEDED(desktop->GetDisplayNameOf(item.get(), SHGDN_NORMAL, &name))) text = textOf(name, item.get());
  return text;
}

}  // namespace tuho
