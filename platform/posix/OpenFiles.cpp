#include "platform/posix/OpenFiles.h"

#include <mutex>
#include <vector>

#include "platform/File.h"
#include "platform/posix/ShareLocks.h"

namespace tuho::openfiles {
namespace {

struct Entry {
  Key key;
  uint32_t access;
  uint32_t share;
  intptr_t owner;
  int lockFd;
};

std::mutex gMutex;
std::vector<Entry> gEntries;

bool same(const Key& a, const Key& b) { return a.device == b.device && a.inode == b.inode; }

// Both sides must allow what the other does.
bool compatible(const Entry& open, uint32_t access, uint32_t share) {
  if ((access & kAccessRead) && !(open.share & kShareRead)) return false;
  if ((access & kAccessWrite) && !(open.share & kShareWrite)) return false;
  if ((open.access & kAccessRead) && !(share & kShareRead)) return false;
  if ((open.access & kAccessWrite) && !(share & kShareWrite)) return false;
  return true;
}

}  // namespace

bool add(Key key, uint32_t access, uint32_t share, intptr_t owner, int lockFd) {
  std::lock_guard<std::mutex> lock(gMutex);
  for (const Entry& entry : gEntries) {
    if (same(entry.key, key) && !compatible(entry, access, share)) return false;
  }
  gEntries.push_back(Entry{key, access, share, owner, lockFd});
  return true;
}

void remove(intptr_t owner) {
  std::lock_guard<std::mutex> lock(gMutex);
  for (size_t i = 0; i < gEntries.size(); ++i) {
    if (gEntries[i].owner == owner) {
      sharelocks::release(gEntries[i].lockFd);
      gEntries.erase(gEntries.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

bool isOpen(Key key) {
  std::lock_guard<std::mutex> lock(gMutex);
  for (const Entry& entry : gEntries) {
    if (same(entry.key, key)) return true;
  }
  return false;
}

}  // namespace tuho::openfiles
