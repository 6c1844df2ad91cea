// The ID3v2 tag at the start of an MP3 file, major versions 3 and 4. Only the
// frames that fill a TrackTag are read; every other frame is skipped.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tags/TrackTag.h"

namespace tuho {

constexpr size_t kId3v2HeaderSize = 10;

struct Id3v2Header {
  int version = 0;      // major version byte, taken as signed
  uint8_t flags = 0;
  uint32_t tagSize = 0;  // bytes of frames and padding after the header
};

// True when the bytes begin with an "ID3" header.
bool parseId3v2Header(const uint8_t* bytes, size_t size, Id3v2Header& header);

bool isSupportedId3v2(const Id3v2Header& header);

// Sets the values carried by the frames in `body` (the tag after its header,
// possibly cut short by the end of the file). A later frame of the same kind
// replaces an earlier value.
void readId3v2Frames(const Id3v2Header& header, const uint8_t* body, size_t size, TrackTag& tag);

// A whole tag in memory, header first. Returns true when a tag of a supported
// version was read.
bool parseId3v2(const uint8_t* bytes, size_t size, TrackTag& tag);

}  // namespace tuho
