#include "platform/File.h"

namespace tuho {

File::File(File&& other) noexcept : handle_(other.handle_), access_(other.access_), share_(other.share_) {
  other.handle_ = -1;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = other.handle_;
    access_ = other.access_;
    share_ = other.share_;
    other.handle_ = -1;
  }
  return *this;
}

bool readFully(File& file, void* buffer, uint32_t size, uint32_t* got) {
  uint8_t* bytes = static_cast<uint8_t*>(buffer);
  *got = 0;
  while (*got < size) {
    uint32_t step = 0;
    if (!file.read(bytes + *got, size - *got, &step)) return false;
    if (step == 0) break;
    *got += step;
  }
  return true;
}

}  // namespace tuho
