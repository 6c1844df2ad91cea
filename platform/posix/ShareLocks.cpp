#include "platform/posix/ShareLocks.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/File.h"

namespace tuho::sharelocks {
namespace {

// Lock bytes, far beyond the end of any file the program writes.
constexpr off_t kLockBase = static_cast<off_t>(1) << 62;
enum LockByte { kReads = 0, kWrites = 1, kRefusesReaders = 2, kRefusesWriters = 3, kIsOpen = 4 };

bool lockByte(int fd, LockByte byte) {
  struct flock lock = {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = kLockBase + byte;
  lock.l_len = 1;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// True when another open file description holds a lock on the byte.
bool heldByOthers(int fd, LockByte byte) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = kLockBase + byte;
  lock.l_len = 1;
  return fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

bool sameFile(int fd, const std::string& native) {
  struct stat opened, named;
  return fstat(fd, &opened) == 0 && ::stat(native.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// A second description of the file that can carry read locks whatever the
// access of the first; -1 when none can be had.
int openLockFd(int fd, const std::string& native) {
  int lockFd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (lockFd < 0) return -1;
  struct stat a, b;
  if (fstat(fd, &a) != 0 || fstat(lockFd, &b) != 0 || a.st_dev != b.st_dev || a.st_ino != b.st_ino) {
    ::close(lockFd);
    return -2;  // the path was replaced between the two opens
  }
  return lockFd;
}

// Holds the file's gate: an exclusive whole-file flock, independent of the
// byte locks, taken only while one open or change sets and checks its locks.
// Without it two opens racing each other could each see the other's fresh
// locks and both give up, where on Windows the first one would win.
class Gate {
 public:
  explicit Gate(int fd) : fd_(fd) {
    while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~Gate() { flock(fd_, LOCK_UN); }
  Gate(const Gate&) = delete;
  Gate& operator=(const Gate&) = delete;

 private:
  int fd_;
};

// Sets this open's locks on `locks` and checks them against everyone else's.
Claim claimUnderGate(int fd, const std::string& native, uint32_t access, uint32_t share, int locks) {
  Gate gate(locks);
  if (!lockByte(locks, kIsOpen)) return kClaimed;  // no such locks on this file system
  bool ok = (!(access & kAccessRead) || lockByte(locks, kReads)) &&
            (!(access & kAccessWrite) || lockByte(locks, kWrites)) &&
            ((share & kShareRead) || lockByte(locks, kRefusesReaders)) &&
            ((share & kShareWrite) || lockByte(locks, kRefusesWriters));
  bool conflict = !ok || ((access & kAccessRead) && heldByOthers(locks, kRefusesReaders)) ||
                  ((access & kAccessWrite) && heldByOthers(locks, kRefusesWriters)) ||
                  (!(share & kShareRead) && heldByOthers(locks, kReads)) ||
                  (!(share & kShareWrite) && heldByOthers(locks, kWrites));
  if (conflict) return kClaimConflict;
  return sameFile(fd, native) ? kClaimed : kClaimMoved;
}

}  // namespace

Claim claim(int fd, const std::string& native, uint32_t access, uint32_t share, int* lockFd) {
  *lockFd = -1;
  int locks = openLockFd(fd, native);
  if (locks == -2) return kClaimMoved;
  if (locks < 0) return kClaimed;
  Claim result = claimUnderGate(fd, native, access, share, locks);
  if (result == kClaimed) {
    *lockFd = locks;
  } else {
    ::close(locks);
  }
  return result;
}

void release(int lockFd) {
  if (lockFd >= 0) ::close(lockFd);
}

bool unlessOpen(const std::string& native, const std::function<bool()>& change, bool* inUse) {
  *inUse = false;
  int locks = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (locks < 0) return change();
  bool changed = false;
  {
    Gate gate(locks);
    // Refuse every kind of sharing while the change runs, as a deleting open does.
    bool haveLocks = lockByte(locks, kRefusesReaders) && lockByte(locks, kRefusesWriters);
    *inUse = haveLocks && heldByOthers(locks, kIsOpen);
    if (!*inUse) changed = change();
  }
  ::close(locks);
  return changed;
}

}  // namespace tuho::sharelocks
