#include "platform/FileSystem.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Ansi.h"
#include "platform/FaultPlan.h"
#include "platform/File.h"
#include "platform/Path.h"
#include "platform/Win32Error.h"
#include "platform/posix/Errno.h"
#include "platform/posix/OpenFiles.h"
#include "platform/posix/ShareLocks.h"

namespace tuho {
namespace {

bool statPath(const std::string& native, struct stat* info) { return ::stat(native.c_str(), info) == 0; }

// A file held open by this process cannot be deleted or replaced on Windows.
bool heldOpen(const std::string& native) {
  struct stat info;
  return statPath(native, &info) && openfiles::isOpen(openfiles::Key{info.st_dev, info.st_ino});
}

void syncFolderOf(const std::string& native) {
  size_t slash = native.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    ::close(fd);
  }
}

bool copyBytes(File& in, File& out) {
  std::vector<uint8_t> buffer(1 << 16);
  for (;;) {
    uint32_t got = 0;
    if (!in.read(buffer.data(), static_cast<uint32_t>(buffer.size()), &got)) return false;
    if (got == 0) return true;
    if (!out.write(buffer.data(), got)) return false;
  }
}

}  // namespace

bool fileExists(const std::string& path) {
  struct stat info;
  return statPath(nativePath(path), &info) && !S_ISDIR(info.st_mode);
}

bool folderExists(const std::string& path) {
  struct stat info;
  return statPath(nativePath(path), &info) && S_ISDIR(info.st_mode);
}

bool copyFile(const std::string& from, const std::string& to, bool failIfExists) {
  if (faultNow(kFaultCopy)) return false;
  File in;
  if (!in.open(from, kAccessRead, kShareRead, kOpenExisting)) return false;
  File out;
  if (!out.open(to, kAccessWrite, kShareNone, failIfExists ? kCreateNew : kCreateAlways)) return false;
  if (!copyBytes(in, out)) {
    uint32_t error = lastError();
    out.close();
    ::unlink(nativePath(to).c_str());
    setLastError(error);
    return false;
  }
  struct stat info;
  if (statPath(nativePath(from), &info)) ::chmod(nativePath(to).c_str(), info.st_mode & 07777);
  return true;
}

bool deleteFile(const std::string& path) {
  if (faultNow(kFaultDelete)) return false;
  std::string native = nativePath(path);
  struct stat info;
  if (statPath(native, &info) && S_ISDIR(info.st_mode)) return setLastError(kErrAccessDenied), false;
  if (heldOpen(native)) return setLastError(kErrSharingViolation), false;
  bool inUse = false;
  bool unlinked = sharelocks::unlessOpen(native, [&native] { return ::unlink(native.c_str()) == 0; }, &inUse);
  if (inUse) return setLastError(kErrSharingViolation), false;
  if (!unlinked) return failWithErrnoFor(native);
  return true;
}

bool replaceFile(const std::string& from, const std::string& to) {
  if (faultNow(kFaultReplace)) return false;
  std::string source = nativePath(from);
  std::string target = nativePath(to);
  if (heldOpen(source)) return setLastError(kErrSharingViolation), false;
  if (heldOpen(target)) return setLastError(kErrAccessDenied), false;
  bool inUse = false;
  bool renamed = sharelocks::unlessOpen(target, [&] { return ::rename(source.c_str(), target.c_str()) == 0; }, &inUse);
  if (inUse) return setLastError(kErrAccessDenied), false;
  if (!renamed) return failWithErrnoFor(source);
  syncFolderOf(target);
  return true;
}

bool createFolder(const std::string& path) {
  if (faultNow(kFaultCreateFolder)) return false;
  if (::mkdir(nativePath(path).c_str(), 0755) == 0) return true;
  if (errno == EEXIST) return setLastError(kErrAlreadyExists), false;
  if (errno == ENOENT) return setLastError(kErrPathNotFound), false;
  return failWithErrno();
}

bool makeWritable(const std::string& path) {
  std::string native = nativePath(path);
  struct stat info;
  if (!statPath(native, &info)) return failWithErrno();
  if (::chmod(native.c_str(), (info.st_mode & 07777) | S_IWUSR) != 0) return failWithErrno();
  return true;
}

bool folderIdentity(const std::string& path, std::string* identity) {
  struct stat info;
  if (!statPath(nativePath(path), &info)) return failWithErrno();
  *identity = std::to_string(static_cast<unsigned long long>(info.st_dev)) + ":" +
              std::to_string(static_cast<unsigned long long>(info.st_ino));
  return true;
}

bool listFolder(const std::string& folder, const std::function<bool(const FolderEntry&)>& visit, int* unnamed) {
  if (faultNow(kFaultList)) return false;
  std::string native = nativePath(folder);
  DIR* dir = ::opendir(native.c_str());
  if (!dir) {
    // FindFirstFileA on a missing folder reports the path, not the file.
    if (errno == ENOENT || errno == ENOTDIR) return setLastError(kErrPathNotFound), false;
    return failWithErrno();
  }
  bool keepGoing = true;
  while (keepGoing) {
    errno = 0;
    dirent* entry = ::readdir(dir);
    if (!entry) break;
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    // Names on disk are UTF-8; the program's are ANSI.
    std::optional<std::string> ansi = exactAnsiFromUtf8(name);
    if (!ansi) {
      if (unnamed) ++*unnamed;
      continue;
    }
    FolderEntry item{*ansi, false};
    if (entry->d_type == DT_DIR) {
      item.isFolder = true;
    } else if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat info;
      item.isFolder = statPath(native + "/" + name, &info) && S_ISDIR(info.st_mode);
    }
    keepGoing = visit(item);
  }
  ::closedir(dir);
  return true;
}

}  // namespace tuho
