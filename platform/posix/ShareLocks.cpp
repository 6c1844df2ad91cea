#include "platform/posix/ShareLocks.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/File.h"
#include "platform/WriteHold.h"

namespace tuho::sharelocks {
namespace {

// Lock bytes, far beyond the end of any file the program writes. The write
// hold is the one byte that programs under Wine see and set too (WriteHold.h).
enum LockByte { kReads = 0, kWrites = 1, kRefusesReaders = 2, kRefusesWriters = 3, kIsOpen = 4, kWriteHold = 5 };
static_assert(kWriteHold == kWriteHoldByte, "the write hold is where Windows programs lock it");

struct flock byteLock(LockByte byte, short type) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(kShareLockBase + byte);
  lock.l_len = 1;
  return lock;
}

// kClaimConflict when another open holds a lock that stops this one;
// kClaimFailed (errno says why) when the lock could not be set at all.
Claim setLock(int fd, LockByte byte, short type) {
  struct flock lock = byteLock(byte, type);
  if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return kClaimed;
  return errno == EAGAIN || errno == EACCES ? kClaimConflict : kClaimFailed;
}

// kClaimConflict when another open file description, or another process
// (a Windows program under Wine among them), holds a lock on the byte.
Claim testLock(int fd, LockByte byte) {
  struct flock lock = byteLock(byte, F_WRLCK);
  if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return kClaimFailed;
  return lock.l_type == F_UNLCK ? kClaimed : kClaimConflict;
}

// A file system that keeps no record locks at all; where one does, every
// other failure to lock is a failure of the open.
bool noLocksHere(int error) { return error == ENOLCK || error == EINVAL || error == EOPNOTSUPP; }

bool sameFile(int fd, const std::string& native) {
  struct stat opened, named;
  return fstat(fd, &opened) == 0 && ::stat(native.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// A second description of the file that can carry read locks, and the
// write hold's write lock when the open writes; -1 (errno says why) when
// none can be had.
int openLockFd(int fd, const std::string& native, uint32_t access) {
  int mode = (access & kAccessWrite) ? O_RDWR : O_RDONLY;
  int lockFd = ::open(native.c_str(), mode | O_CLOEXEC | O_NONBLOCK);
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
    while (!(held_ = flock(fd_, LOCK_EX) == 0) && errno == EINTR) {
    }
  }
  ~Gate() {
    if (held_) flock(fd_, LOCK_UN);
  }
  Gate(const Gate&) = delete;
  Gate& operator=(const Gate&) = delete;
  // False (errno says why) when the gate could not be taken.
  bool held() const { return held_; }

 private:
  int fd_;
  bool held_ = false;
};

// One lock to set, or to find set by others, when the open asks for it.
struct Step {
  bool wanted;
  bool set;  // else tested
  LockByte byte;
  short type;
};

// Sets this open's locks on `locks` and checks them against everyone else's.
Claim claimUnderGate(int fd, const std::string& native, uint32_t access, uint32_t share, int locks) {
  Gate gate(locks);
  if (!gate.held()) return kClaimFailed;
  const bool reads = access & kAccessRead, writes = access & kAccessWrite;
  const bool sharesReading = share & kShareRead, sharesWriting = share & kShareWrite;
  const bool holds = takesWriteHold(access, share);
  if (setLock(locks, kIsOpen, F_RDLCK) != kClaimed) {
    // Without record locks on this file system a reader goes on as before;
    // a writer cannot take the hold, and a hold not taken is a refusal.
    return !holds && noLocksHere(errno) ? kClaimed : kClaimFailed;
  }
  const Step steps[] = {
      {reads, true, kReads, F_RDLCK},
      {writes, true, kWrites, F_RDLCK},
      {!sharesReading, true, kRefusesReaders, F_RDLCK},
      {!sharesWriting, true, kRefusesWriters, F_RDLCK},
      {holds, true, kWriteHold, F_WRLCK},
      {reads, false, kRefusesReaders, F_RDLCK},
      {writes, false, kRefusesWriters, F_RDLCK},
      {!sharesReading, false, kReads, F_RDLCK},
      {!sharesWriting, false, kWrites, F_RDLCK},
  };
  for (const Step& step : steps) {
    if (!step.wanted) continue;
    Claim result = step.set ? setLock(locks, step.byte, step.type) : testLock(locks, step.byte);
    if (result != kClaimed) return result;
  }
  return sameFile(fd, native) ? kClaimed : kClaimMoved;
}

}  // namespace

Claim claim(int fd, const std::string& native, uint32_t access, uint32_t share, int* lockFd) {
  *lockFd = -1;
  int locks = openLockFd(fd, native, access);
  if (locks == -2) return kClaimMoved;
  if (locks < 0) return kClaimFailed;
  Claim result = claimUnderGate(fd, native, access, share, locks);
  if (result == kClaimed) {
    *lockFd = locks;
  } else {
    int error = errno;
    ::close(locks);
    errno = error;
  }
  return result;
}

void release(int lockFd) {
  if (lockFd >= 0) ::close(lockFd);
}

bool unlessOpen(const std::string& native, const std::function<bool()>& change, bool* inUse) {
  *inUse = false;
  int locks = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (locks < 0) return errno == ENOENT ? change() : false;
  bool changed = false;
  int error = 0;
  {
    Gate gate(locks);
    // Refuse every kind of sharing while the change runs, as a deleting open
    // does; any open, and the write hold of a program under Wine, is a use.
    Claim claimed = !gate.held() ? kClaimFailed : setLock(locks, kRefusesReaders, F_RDLCK);
    if (claimed == kClaimed) claimed = setLock(locks, kRefusesWriters, F_RDLCK);
    if (claimed == kClaimed) claimed = testLock(locks, kIsOpen);
    if (claimed == kClaimed) claimed = testLock(locks, kWriteHold);
    if (claimed == kClaimFailed && noLocksHere(errno)) claimed = kClaimed;  // nothing to find here
    *inUse = claimed == kClaimConflict;
    if (claimed == kClaimed) changed = change();
    error = errno;
  }
  ::close(locks);
  errno = error;
  return changed;
}

}  // namespace tuho::sharelocks
