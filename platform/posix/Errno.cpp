#include "platform/posix/Errno.h"

#include <cerrno>
#include <sys/stat.h>

#include "platform/File.h"
#include "platform/Win32Error.h"

namespace tuho {

uint32_t win32FromErrno(int error) {
  switch (error) {
    case 0: return kErrSuccess;
    case ENOENT: return kErrFileNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case EMFILE:
    case ENFILE: return kErrTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR: return kErrAccessDenied;
    case EBADF: return kErrInvalidHandle;
    case ENOMEM: return kErrNotEnoughMemory;
    case EROFS: return kErrWriteProtect;
    case EEXIST: return kErrFileExists;
    case EINVAL: return kErrInvalidParameter;
    case ENOSPC:
    case EDQUOT: return kErrDiskFull;
    case ENAMETOOLONG: return kErrFilenameTooLong;
    case ENOTEMPTY: return kErrDirNotEmpty;
    case EBUSY:
    case ETXTBSY: return kErrBusy;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM: return kErrNotReady;
    case EIO: return kErrIoDevice;
    case ESPIPE: return kErrSeek;
    default: return kErrGenFailure;
  }
}

bool failWithErrno() {
  setLastError(win32FromErrno(errno));
  return false;
}

bool failWithErrnoFor(const std::string& native) {
  int error = errno;
  if (error != ENOENT) return failWithErrno();
  size_t slash = native.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
  struct stat info;
  bool folderThere = ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  setLastError(folderThere ? kErrFileNotFound : kErrPathNotFound);
  return false;
}

}  // namespace tuho
