#include "platform/File.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FaultPlan.h"
#include "platform/Path.h"
#include "platform/Win32Error.h"
#include "platform/posix/Errno.h"
#include "platform/posix/OpenFiles.h"
#include "platform/posix/ShareLocks.h"

namespace tuho {
namespace {

thread_local uint32_t tLastError = 0;

int openFlags(Access access, Disposition disposition) {
  int flags = O_CLOEXEC | O_NONBLOCK;  // a FIFO must not block the open
  if (access == kAccessReadWrite) flags |= O_RDWR;
  else if (access == kAccessWrite) flags |= O_WRONLY;
  else flags |= O_RDONLY;
  switch (disposition) {
    case kCreateAlways:
    case kOpenAlways: flags |= O_CREAT; break;
    case kCreateNew: flags |= O_CREAT | O_EXCL; break;
    case kOpenExisting: break;
  }
  return flags;
}

// Opens only what ReadFile can read without waiting: a FIFO or a device
// would block a scan for good, so such files are refused as CreateFileA
// refuses a folder.
bool isPlainFile(const struct stat& info) { return S_ISREG(info.st_mode); }

// Refuses anything but plain files and registers the sharing mode with this
// process and with the others. On failure the descriptor is closed; *moved
// says that the path names another file by now and the open should be tried again.
bool admit(int fd, const std::string& native, Access access, Share share, bool* moved) {
  *moved = false;
  struct stat info;
  if (fstat(fd, &info) != 0) {
    failWithErrno();
    ::close(fd);
    return false;
  }
  if (!isPlainFile(info)) {
    setLastError(kErrAccessDenied);
    ::close(fd);
    return false;
  }
  int lockFd = -1;
  sharelocks::Claim claim = sharelocks::claim(fd, native, access, share, &lockFd);
  if (claim == sharelocks::kClaimFailed) {
    // The locks that keep other programs out could not be set: refused, as
    // an open that went ahead unguarded could let a second writer in.
    failWithErrno();
    ::close(fd);
    return false;
  }
  if (claim != sharelocks::kClaimed ||
      !openfiles::add(openfiles::Key{info.st_dev, info.st_ino}, access, share, fd, lockFd)) {
    if (claim == sharelocks::kClaimed) sharelocks::release(lockFd);
    *moved = claim == sharelocks::kClaimMoved;
    setLastError(kErrSharingViolation);
    ::close(fd);
    return false;
  }
  // Reads and writes wait again as usual. Flags that cannot be read must
  // not be written back: -1 would turn on every flag, appending among them.
  int flags = fcntl(fd, F_GETFL);
  if (flags == -1 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
    failWithErrno();
    openfiles::remove(fd);
    ::close(fd);
    return false;
  }
  return true;
}

}  // namespace

uint32_t lastError() { return tLastError; }
void setLastError(uint32_t code) { tLastError = code; }

bool File::open(const std::string& path, Access access, Share share, Disposition disposition) {
  close();
  if (faultNow(kFaultOpen)) return false;
  std::string native = nativePath(path);
  if (native.empty()) {
    setLastError(kErrPathNotFound);
    return false;
  }
  int fd = -1;
  for (int attempt = 0;; ++attempt) {
    fd = ::open(native.c_str(), openFlags(access, disposition), 0644);
    if (fd < 0) return failWithErrnoFor(native);
    bool moved = false;
    if (admit(fd, native, access, share, &moved)) break;
    if (!moved || attempt == 3) return false;
  }
  // Truncate only once the sharing check has passed, as CREATE_ALWAYS does.
  if (disposition == kCreateAlways && ftruncate(fd, 0) != 0) {
    failWithErrno();
    openfiles::remove(fd);
    ::close(fd);
    return false;
  }
  handle_ = fd;
  access_ = access;
  share_ = share;
  setLastError(kErrSuccess);
  return true;
}

bool File::isOpen() const { return handle_ >= 0; }

bool File::read(void* buffer, uint32_t size, uint32_t* got) {
  *got = 0;
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  if (!(access_ & kAccessRead)) return setLastError(kErrAccessDenied), false;
  if (faultNow(kFaultRead)) return false;
  auto* bytes = static_cast<uint8_t*>(buffer);
  while (*got < size) {
    ssize_t n = ::read(static_cast<int>(handle_), bytes + *got, size - *got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failWithErrno();
    if (n == 0) break;
    *got += static_cast<uint32_t>(n);
  }
  return true;
}

bool File::write(const void* buffer, uint32_t size, uint32_t* written) {
  uint32_t ignored = 0;
  uint32_t& done = written ? *written : ignored;
  done = 0;
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  if (!(access_ & kAccessWrite)) return setLastError(kErrAccessDenied), false;
  uint32_t pass = 0;
  const bool fault = faultNow(kFaultWrite, &pass);
  const uint32_t error = lastError();
  const uint32_t goal = fault ? std::min(pass, size) : size;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  while (done < goal) {
    ssize_t n = ::write(static_cast<int>(handle_), bytes + done, goal - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failWithErrno();
    if (n == 0) return setLastError(kErrDiskFull), false;
    done += static_cast<uint32_t>(n);
  }
  if (fault) return setLastError(error), false;
  return true;
}

bool File::seek(int64_t offset, SeekFrom from, int64_t* newPosition) {
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  if (faultNow(kFaultSeek)) return false;
  int whence = from == kSeekBegin ? SEEK_SET : from == kSeekCurrent ? SEEK_CUR : SEEK_END;
  off_t position = ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), whence);
  // SetFilePointerEx refuses a position before the start of the file.
  if (position < 0) return setLastError(errno == EINVAL ? kErrNegativeSeek : win32FromErrno(errno)), false;
  if (newPosition) *newPosition = position;
  return true;
}

bool File::size(int64_t* bytes) {
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  struct stat info;
  if (fstat(static_cast<int>(handle_), &info) != 0) return failWithErrno();
  *bytes = info.st_size;
  return true;
}

bool File::truncateHere() {
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  if (!(access_ & kAccessWrite)) return setLastError(kErrAccessDenied), false;
  if (faultNow(kFaultTruncate)) return false;
  off_t position = ::lseek(static_cast<int>(handle_), 0, SEEK_CUR);
  if (position < 0 || ftruncate(static_cast<int>(handle_), position) != 0) return failWithErrno();
  return true;
}

bool File::flush() {
  if (!isOpen()) return setLastError(kErrInvalidHandle), false;
  if (faultNow(kFaultFlush)) return false;
  if (fsync(static_cast<int>(handle_)) != 0 && errno != EINVAL) return failWithErrno();
  return true;
}

// A failed close may be the first word of a write the system could not
// carry out, so it is told like any failed write. EINTR leaves the
// descriptor closed on Linux: it is not closed twice.
bool File::close() {
  if (!isOpen()) return true;
  openfiles::remove(handle_);
  const int result = ::close(static_cast<int>(handle_));
  handle_ = -1;
  if (result != 0 && errno != EINTR) return failWithErrno();
  return true;
}

}  // namespace tuho
