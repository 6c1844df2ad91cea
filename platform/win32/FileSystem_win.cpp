#include "platform/FileSystem.h"

#include <windows.h>

#include <string>

#include "platform/FaultPlan.h"
#include "platform/Path.h"

namespace tuho {
namespace {

DWORD attributesOf(const std::string& path) { return GetFileAttributesA(nativePath(path).c_str()); }

// Scoped FindFirstFileA handle.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (valid()) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

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
  HANDLE folder = CreateFileA(nativePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(folder, &info) != 0;
  CloseHandle(folder);
  if (!known) return false;
  *identity = std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
              std::to_string(info.nFileIndexLow);
  return true;
}

bool listFolder(const std::string& folder, const std::function<bool(const FolderEntry&)>& visit) {
  if (faultNow(kFaultList)) return false;
  WIN32_FIND_DATAA data;
  FindHandle find(FindFirstFileA((nativePath(folder) + "\\*").c_str(), &data));
  if (!find.valid()) {
    // A folder without even "." and ".." (an empty drive root) reports
    // file-not-found: it is empty, not missing.
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (!visit(FolderEntry{name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0})) break;
  } while (FindNextFileA(find.get(), &data));
  return true;
}

}  // namespace tuho
