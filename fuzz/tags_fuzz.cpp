// Feeds arbitrary bytes to the tag parsers as a whole MP3 file would reach
// them: the ID3v2 tag from the start, the ID3v1 block from the last 128 bytes.
#include <cstddef>
#include <cstdint>

#include "tags/Id3v1.h"
#include "tags/Id3v2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tuho::TrackTag tag;
  tuho::parseId3v2(data, size, tag);
  if (size >= tuho::kId3v1Size) tuho::fillFromId3v1(data + size - tuho::kId3v1Size, tuho::kId3v1Size, tag);
  return 0;
}
