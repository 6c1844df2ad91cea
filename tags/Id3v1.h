// The fixed 128-byte ID3v1 block at the end of an MP3 file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tags/TrackTag.h"

namespace tuho {

constexpr size_t kId3v1Size = 128;

// Fills the values of `tag` that are still absent from the block, when it is
// exactly kId3v1Size bytes starting with "TAG". Present values are kept.
void fillFromId3v1(const uint8_t* block, size_t size, TrackTag& tag);

}  // namespace tuho
