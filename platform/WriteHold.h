// The write hold: the one lock that programs on both sides of Wine see.
// Wine keeps Win32 sharing modes to itself, so a native program and one
// under Wine would both open a file for writing. What Wine does carry out of
// its world is a byte-range lock (LockFileEx): it becomes a POSIX record
// lock on the file, which a native program sees, and a native program's
// lock on the same bytes makes the LockFileEx fail. So every open that
// writes and refuses to share writing also locks one byte, exclusively,
// for as long as it is open, on both backends; an open that cannot lock it
// is refused. The byte lies far past the end of any file the program
// writes, where no read or write ever goes. (None of our writers shares
// writing; one that did would take no hold.)
#pragma once

#include <cstdint>

#include "platform/File.h"

namespace tuho {

// Lock bytes of the POSIX sharing emulation start here (ShareLocks); the
// write hold is one of them, at the same place on both backends.
constexpr int64_t kShareLockBase = int64_t{1} << 62;
constexpr int64_t kWriteHoldByte = 5;
constexpr int64_t kWriteHoldOffset = kShareLockBase + kWriteHoldByte;

inline bool takesWriteHold(uint32_t access, uint32_t share) {
  return (access & kAccessWrite) != 0 && (share & kShareWrite) == 0;
}

}  // namespace tuho
