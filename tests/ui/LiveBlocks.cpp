#include "LiveBlocks.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> gLiveBlocks{0};

}  // namespace

// The program's own allocation functions replace the library's; new[] and
// the sized and nothrow forms of the library call these.
void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  ++gLiveBlocks;
  return block;
}

void operator delete(void* block) noexcept {
  if (!block) return;
  --gLiveBlocks;
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace tuho::test {

long liveBlocks() { return gLiveBlocks.load(); }

}  // namespace tuho::test
