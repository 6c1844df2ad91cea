// Win32 sharing modes between processes on POSIX. Every open file carries
// open-file-description locks on bytes far past any real data, one byte for
// each thing the open does (reads, writes, is open) or refuses to share
// (reading, writing). An open sets its own locks and then looks for the
// opposite locks of others, all under a per-file gate, so of two conflicting
// opens the first wins and the second fails, as on Windows. An open that
// writes also takes the write hold (WriteHold.h), which Windows programs
// under Wine see and set too. The OS drops the locks when the process dies.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tuho::sharelocks {

enum Claim { kClaimed, kClaimConflict, kClaimMoved, kClaimFailed };

// Claims the file open as `fd` (reached at `native`) for this access and
// sharing. On kClaimed *lockFd holds the locks (-1 where the file system
// has no such locks and the open takes no write hold) and is closed with
// the file. kClaimMoved: the path names another file by now; open it again.
// kClaimFailed: the locks could not be had (errno says why); the open fails,
// as a hold not taken must never let a second program in.
Claim claim(int fd, const std::string& native, uint32_t access, uint32_t share, int* lockFd);
void release(int lockFd);

// Runs `change` (a delete or rename of the file at `native`) unless some
// process holds the file open; false with *inUse set when one does, and
// false (errno says why) when that cannot be found out.
bool unlessOpen(const std::string& native, const std::function<bool()>& change, bool* inUse);

}  // namespace tuho::sharelocks
