#include "platform/FileSystem.h"

#include <windows.h>

#include <string>

#include "platform/Ansi.h"
#include "platform/FaultPlan.h"
#include "platform/Path.h"
#include "platform/win32/ScopedHandle.h"

namespace tuho {
namespace {

DWORD attributesOf(const std::string& path) { return GetFileAttributesA(nativePath(path).c_str()); }

// The ANSI path in UTF-16, as the A functions turn it.
std::wstring widePath(const std::string& ansi) {
  int length = static_cast<int>(ansi.size());
  int size = ansi.empty() ? 0 : MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), size);
  return wide;
}

std::u16string utf16Of(const wchar_t* text) {
  const auto* units = reinterpret_cast<const char16_t*>(text);
  return std::u16string(units);
}

}  // namespace

bool fileExists(const std::string& path) {
  DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path) {
  DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool copyFile(const std::string& from, const std::string& to, bool failIfExists) {
  if (faultNow(kFaultCopy)) return false;
  return CopyFileA(nativePath(from).c_str(), nativePath(to).c_str(), failIfExists ? TRUE : FALSE) != 0;
}

bool deleteFile(const std::string& path) {
  if (faultNow(kFaultDelete)) return false;
  return DeleteFileA(nativePath(path).c_str()) != 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
  if (faultNow(kFaultReplace)) return false;
  return MoveFileExA(nativePath(from).c_str(), nativePath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool createFolder(const std::string& path) {
  if (faultNow(kFaultCreateFolder)) return false;
  return CreateDirectoryA(nativePath(path).c_str(), nullptr) != 0;
}

bool makeWritable(const std::string& path) {
  DWORD attributes = attributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return SetFileAttributesA(nativePath(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != 0;
}

bool folderIdentity(const std::string& path, std::string* identity) {
  ScopedHandle folder(CreateFileA(nativePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder.valid()) return false;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(folder.get(), &info)) return false;
  *identity = std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
              std::to_string(info.nFileIndexLow);
  return true;
}

// Listed in UTF-16 rather than through FindFirstFileA, which turns every
// character the code page lacks into '?' and leaves a name no file has.
// Such an entry goes by its short name, which opens the same file.
bool listFolder(const std::string& folder, const std::function<bool(const FolderEntry&)>& visit, int* unnamed) {
  if (faultNow(kFaultList)) return false;
  WIN32_FIND_DATAW data;
  ScopedFind find(FindFirstFileW((widePath(nativePath(folder)) + L"\\*").c_str(), &data));
  if (!find.valid()) {
    // A folder without even "." and ".." (an empty drive root) reports
    // file-not-found: it is empty, not missing.
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    std::u16string longName = utf16Of(data.cFileName);
    if (longName == u"." || longName == u"..") continue;
    std::optional<std::string> name = ansiEntryName(longName, utf16Of(data.cAlternateFileName));
    if (!name) {
      if (unnamed) ++*unnamed;
      continue;
    }
    if (!visit(FolderEntry{*name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0})) break;
  } while (FindNextFileW(find.get(), &data));
  return true;
}

}  // namespace tuho
