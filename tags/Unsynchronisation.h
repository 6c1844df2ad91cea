// Undoes ID3v2 unsynchronisation: writers put a zero byte after every 0xFF so
// that no tag byte pair looks like an MPEG frame sync; readers drop it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tuho {

std::vector<uint8_t> undoUnsynchronisation(const uint8_t* bytes, size_t size);

}  // namespace tuho
