#include "tags/Unsynchronisation.h"

namespace tuho {

std::vector<uint8_t> undoUnsynchronisation(const uint8_t* bytes, size_t size) {
  std::vector<uint8_t> plain;
  plain.reserve(size);
  for (size_t i = 0; i < size; ++i) {
    plain.push_back(bytes[i]);
    if (bytes[i] == 0xFF && i + 1 < size && bytes[i + 1] == 0x00) ++i;
  }
  return plain;
}

}  // namespace tuho
