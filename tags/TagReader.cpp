#include "tags/TagReader.h"

#include <algorithm>
#include <vector>

#include "platform/OpenFailure.h"
#include "tags/Id3v1.h"
#include "tags/Id3v2.h"

namespace tuho {
namespace {

// Reads until `size` bytes are in or the file ends; returns the bytes read.
size_t readUpTo(File& file, uint8_t* buffer, size_t size) {
  uint32_t got = 0;
  readFully(file, buffer, static_cast<uint32_t>(size), &got);
  return got;
}

bool hasAbsentValue(const TrackTag& tag) {
  return !tag.artist || !tag.album || !tag.title || !tag.trackNo || !tag.genre || !tag.comment;
}

// The header, then the whole tag in one read; a tag that claims more than the
// file holds is read as far as the file goes.
void readId3v2(TagReader& reader, int64_t fileSize) {
  uint8_t headerBytes[kId3v2HeaderSize];
  size_t got = readUpTo(reader.file, headerBytes, sizeof headerBytes);
  Id3v2Header header;
  if (!parseId3v2Header(headerBytes, got, header)) return;
  reader.version = header.version;
  if (!isSupportedId3v2(header)) return;
  int64_t inFile = std::max<int64_t>(0, fileSize - int64_t(kId3v2HeaderSize));
  std::vector<uint8_t> body(static_cast<size_t>(std::min<int64_t>(header.tagSize, inFile)));
  body.resize(readUpTo(reader.file, body.data(), body.size()));
  readId3v2Frames(header, body.data(), body.size(), reader.tag);
  reader.done = 1;
}

void readId3v1(TagReader& reader, int64_t fileSize) {
  if (fileSize < int64_t(kId3v1Size)) return;
  if (!reader.file.seek(fileSize - int64_t(kId3v1Size), kSeekBegin)) return;
  uint8_t block[kId3v1Size];
  size_t got = readUpTo(reader.file, block, sizeof block);
  fillFromId3v1(block, got, reader.tag);
}

}  // namespace

std::string trackOpenFailureCaption(uint32_t error) { return openFailureCaption("MP3 ", error); }

bool readTag(const std::string& fullPath, TrackTag& tag, uint32_t* openError) {
  TagReader reader;
  if (!reader.file.open(fullPath, kAccessRead, kShareRead, kOpenExisting)) {
    if (openError) *openError = lastError();
    return false;
  }
  int64_t fileSize = 0;
  if (!reader.file.size(&fileSize)) fileSize = 0;
  if (reader.done == 0) readId3v2(reader, fileSize);
  if (hasAbsentValue(reader.tag)) readId3v1(reader, fileSize);
  reader.file.close();
  tag = std::move(reader.tag);
  tag.filled = 1;
  return true;
}

}  // namespace tuho
