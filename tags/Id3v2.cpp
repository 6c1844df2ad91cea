#include "tags/Id3v2.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "tags/FrameValues.h"
#include "tags/Unsynchronisation.h"

namespace tuho {
namespace {

constexpr size_t kFrameHeaderSize = 10;

constexpr uint8_t kTagUnsynchronised = 0x80;
constexpr uint8_t kTagExtendedHeader = 0x40;

// Frame format flags (the second flag byte).
constexpr uint8_t kV3Compressed = 0x80;
constexpr uint8_t kV3Encrypted = 0x40;
constexpr uint8_t kV3Grouped = 0x20;
constexpr uint8_t kV4Grouped = 0x40;
constexpr uint8_t kV4Compressed = 0x08;
constexpr uint8_t kV4Encrypted = 0x04;
constexpr uint8_t kV4Unsynchronised = 0x02;
constexpr uint8_t kV4DataLength = 0x01;

enum FrameKind { kOtherFrame, kArtistFrame, kAlbumFrame, kTitleFrame, kTrackFrame, kGenreFrame,
                 kCommentFrame };

uint32_t syncsafe(const uint8_t* b) {
  return uint32_t(b[0]) << 21 | uint32_t(b[1]) << 14 | uint32_t(b[2]) << 7 | uint32_t(b[3]);
}

uint32_t bigEndian(const uint8_t* b) {
  return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
}

bool isFrameIdByte(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool looksLikeFrameId(const uint8_t* b, size_t size) {
  return size >= 4 && isFrameIdByte(b[0]) && isFrameIdByte(b[1]) && isFrameIdByte(b[2]) &&
         isFrameIdByte(b[3]);
}

// Bytes to skip before the first frame. Some writers set the flag without
// writing the header; frames then start at once.
size_t extendedHeaderSize(const Id3v2Header& header, const uint8_t* body, size_t size) {
  if (!(header.flags & kTagExtendedHeader) || size < 4 || looksLikeFrameId(body, size)) return 0;
  // Version 3 counts the bytes after the size field; version 4 counts them all.
  uint64_t skip = header.version == 3 ? uint64_t(bigEndian(body)) + 4 : syncsafe(body);
  return static_cast<size_t>(std::min<uint64_t>(skip, size));
}

FrameKind frameKind(const uint8_t* id) {
  struct Known { char id[5]; FrameKind kind; };
  static const Known kKnown[] = {{"TPE1", kArtistFrame}, {"TALB", kAlbumFrame},
                                 {"TIT2", kTitleFrame},  {"TRCK", kTrackFrame},
                                 {"TCON", kGenreFrame},  {"COMM", kCommentFrame}};
  for (const Known& known : kKnown) {
    if (std::memcmp(id, known.id, 4) == 0) return known.kind;
  }
  return kOtherFrame;
}

void storeValue(FrameKind kind, const uint8_t* content, size_t size, TrackTag& tag) {
  if (size == 0) return;  // not even an encoding byte: no value
  if (kind == kCommentFrame) {
    if (auto comment = commentFrameValue(content, size)) tag.comment = std::move(comment);
    return;
  }
  std::optional<std::string> text = textFrameValue(content, size);
  if (!text) return;
  switch (kind) {
    case kArtistFrame: tag.artist = std::move(text); break;
    case kAlbumFrame: tag.album = std::move(text); break;
    case kTitleFrame: tag.title = std::move(text); break;
    case kTrackFrame: tag.trackNo = trackNumberText(*text); break;
    case kGenreFrame: tag.genre = genreText(*text); break;
    default: break;
  }
}

// Strips what version 4 may put before a frame's data: the group byte and
// the data-length indicator. False when the content is too short for them.
bool skipV4Prefixes(uint8_t formatFlags, const uint8_t*& content, size_t& size) {
  size_t prefix = ((formatFlags & kV4Grouped) ? 1 : 0) + ((formatFlags & kV4DataLength) ? 4 : 0);
  if (prefix > size) return false;
  content += prefix;
  size -= prefix;
  return true;
}

void readV4Frame(const Id3v2Header& header, FrameKind kind, uint8_t formatFlags,
                 const uint8_t* content, size_t size, TrackTag& tag) {
  if (formatFlags & (kV4Compressed | kV4Encrypted)) return;
  std::vector<uint8_t> plain;
  if ((formatFlags & kV4Unsynchronised) || (header.flags & kTagUnsynchronised)) {
    plain = undoUnsynchronisation(content, size);
    content = plain.data();
    size = plain.size();
  }
  if (skipV4Prefixes(formatFlags, content, size)) storeValue(kind, content, size, tag);
}

void readV3Frame(FrameKind kind, uint8_t formatFlags, const uint8_t* content, size_t size,
                 TrackTag& tag) {
  if (formatFlags & (kV3Compressed | kV3Encrypted)) return;
  if (formatFlags & kV3Grouped) {
    if (size < 1) return;
    ++content;
    --size;
  }
  storeValue(kind, content, size, tag);
}

void readFrame(const Id3v2Header& header, const uint8_t* frame, const uint8_t* content,
               size_t size, TrackTag& tag) {
  FrameKind kind = frameKind(frame);
  if (kind == kOtherFrame) return;
  uint8_t formatFlags = frame[9];
  if (header.version == 4) {
    readV4Frame(header, kind, formatFlags, content, size, tag);
  } else {
    readV3Frame(kind, formatFlags, content, size, tag);
  }
}

// Where the frame after one of `contentSize` bytes at `at` would start looks
// like the end of the frames or the start of another frame.
bool endsCleanly(const uint8_t* body, size_t size, size_t at, uint64_t contentSize) {
  uint64_t next = uint64_t(at) + kFrameHeaderSize + contentSize;
  if (next >= size) return next == size;
  return body[next] == 0 || looksLikeFrameId(body + next, size - static_cast<size_t>(next));
}

// Version 4 sizes are syncsafe, but some writers store plain numbers there.
// A size byte with its top bit set cannot be syncsafe; and where the syncsafe
// reading lands inside data while the plain one lands on a frame, the plain
// reading is the one the writer meant.
uint32_t v4ContentSize(const uint8_t* body, size_t size, size_t at) {
  const uint8_t* sizeBytes = body + at + 4;
  uint32_t plain = bigEndian(sizeBytes);
  if ((sizeBytes[0] | sizeBytes[1] | sizeBytes[2] | sizeBytes[3]) & 0x80) return plain;
  uint32_t safe = syncsafe(sizeBytes);
  if (safe != plain && !endsCleanly(body, size, at, safe) && endsCleanly(body, size, at, plain)) {
    return plain;
  }
  return safe;
}

void walkFrames(const Id3v2Header& header, const uint8_t* body, size_t size, TrackTag& tag) {
  size_t at = extendedHeaderSize(header, body, size);
  while (size - at >= kFrameHeaderSize) {
    const uint8_t* frame = body + at;
    if (frame[0] == 0) break;  // padding
    uint32_t contentSize = header.version == 4 ? v4ContentSize(body, size, at) : bigEndian(frame + 4);
    size_t left = size - at - kFrameHeaderSize;
    // A frame cut short by the end of the tag or file gives what it holds.
    size_t available = std::min<size_t>(contentSize, left);
    readFrame(header, frame, frame + kFrameHeaderSize, available, tag);
    if (contentSize >= left) break;
    at += kFrameHeaderSize + contentSize;
  }
}

}  // namespace

bool parseId3v2Header(const uint8_t* bytes, size_t size, Id3v2Header& header) {
  if (size < kId3v2HeaderSize || std::memcmp(bytes, "ID3", 3) != 0) return false;
  // A tag size is syncsafe: a size byte with its top bit set (FF FF FF FF
  // would claim 256 MB) is not one, and such a header starts no tag. Its
  // claim is never read; the ID3v1 tag may still give values.
  if ((bytes[6] | bytes[7] | bytes[8] | bytes[9]) & 0x80) return false;
  header.version = static_cast<int8_t>(bytes[3]);
  header.flags = bytes[5];
  header.tagSize = syncsafe(bytes + 6);
  return true;
}

bool isSupportedId3v2(const Id3v2Header& header) {
  return header.version == 3 || header.version == 4;
}

void readId3v2Frames(const Id3v2Header& header, const uint8_t* body, size_t size, TrackTag& tag) {
  if (!isSupportedId3v2(header)) return;
  size = std::min<size_t>(size, header.tagSize);
  if (header.version == 3 && (header.flags & kTagUnsynchronised)) {
    std::vector<uint8_t> plain = undoUnsynchronisation(body, size);
    walkFrames(header, plain.data(), plain.size(), tag);
  } else {
    walkFrames(header, body, size, tag);
  }
}

bool parseId3v2(const uint8_t* bytes, size_t size, TrackTag& tag) {
  Id3v2Header header;
  if (!parseId3v2Header(bytes, size, header) || !isSupportedId3v2(header)) return false;
  readId3v2Frames(header, bytes + kId3v2HeaderSize, size - kId3v2HeaderSize, tag);
  return true;
}

}  // namespace tuho
