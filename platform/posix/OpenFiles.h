// Win32 sharing modes emulated on POSIX: every File opened by this process
// is registered by device and inode, and an open that conflicts with the
// access or sharing of one already open fails with a sharing violation, as
// CreateFileA does. Deleting or replacing a file that is open fails too
// (our files never grant delete sharing). ShareLocks does the same between
// processes.
#pragma once

#include <cstdint>
#include <sys/types.h>

namespace tuho::openfiles {

struct Key {
  dev_t device;
  ino_t inode;
};

// Registers the open, which keeps `lockFd` (the locks that tell other
// processes about it, -1 for none) until removed; false (and no
// registration) on a sharing conflict within this process.
bool add(Key key, uint32_t access, uint32_t share, intptr_t owner, int lockFd);
void remove(intptr_t owner);
bool isOpen(Key key);

}  // namespace tuho::openfiles
