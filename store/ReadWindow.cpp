#include "store/ReadWindow.h"

#include <algorithm>
#include <cstring>

namespace tuho {

bool ReadWindow::fill(int64_t offset) {
  length_ = 0;
  if (!bytes_) bytes_.reset(new uint8_t[kWindowBytes]);
  uint32_t got = 0;
  if (!file_.seek(offset, kSeekBegin) || !readFully(file_, bytes_.get(), kWindowBytes, &got)) return false;
  start_ = offset;
  length_ = got;
  return true;
}

bool ReadWindow::read(int64_t offset, void* buffer, uint32_t size, uint32_t* got) {
  *got = 0;
  if (offset < 0) return false;
  if (size > kWindowBytes) return file_.seek(offset, kSeekBegin) && readFully(file_, buffer, size, got);
  const bool inside = length_ > 0 && offset >= start_ && offset + size <= start_ + length_;
  if (!inside && !fill(offset)) return false;
  const uint32_t available = static_cast<uint32_t>(std::min<int64_t>(size, start_ + length_ - offset));
  if (available > 0) std::memcpy(buffer, bytes_.get() + (offset - start_), available);
  *got = available;
  return true;
}

void ReadWindow::patch(int64_t offset, const void* data, uint32_t size) {
  const int64_t from = std::max(offset, start_);
  const int64_t to = std::min(offset + static_cast<int64_t>(size), start_ + static_cast<int64_t>(length_));
  if (length_ == 0 || from >= to) return;
  std::memcpy(bytes_.get() + (from - start_), static_cast<const uint8_t*>(data) + (from - offset),
              static_cast<size_t>(to - from));
}

}  // namespace tuho
