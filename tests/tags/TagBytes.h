// Small verbs that build ID3 tags byte by byte, so that each test says what
// its tag holds and nothing more.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/TestFiles.h"
#include "tags/TrackTag.h"

namespace tuho::test {

Bytes bytesOf(const std::string& text);
Bytes operator+(Bytes left, const Bytes& right);

// Text encodings as stored in a frame, without the encoding byte.
Bytes utf16le(const std::u16string& text, bool withMark = true);
Bytes utf16be(const std::u16string& text, bool withMark = true);

// Frame content: encoding byte then the text bytes.
Bytes textContent(const std::string& latin1);
Bytes encodedContent(uint8_t encoding, const Bytes& text);
// Comment content: encoding byte, "eng", description, its zero character, text.
Bytes commentContent(uint8_t encoding, const Bytes& description, const Bytes& text);

// One frame of a version 3 (plain size) or version 4 (syncsafe size) tag.
Bytes frame(int version, const std::string& id, const Bytes& content, uint8_t formatFlags = 0);
// A frame whose size field says `claimedSize` whatever the content holds.
Bytes frameClaiming(const std::string& id, uint32_t claimedSize, const Bytes& content);

// A whole tag: header with the frames' size plus padding, frames, zero padding.
Bytes id3v2(int version, const Bytes& frames, size_t padding = 0, uint8_t flags = 0);
Bytes id3v2Claiming(int version, uint32_t claimedSize, const Bytes& body, uint8_t flags = 0);

Bytes syncsafeBytes(uint32_t value);

struct V1Fields {
  std::string title, artist, album, comment;
  uint8_t track = 0;  // ignored when the comment fills all 30 bytes
  uint8_t genre = 255;
};
// The 128-byte block; texts are cut or zero-filled to 30 bytes.
Bytes id3v1(const V1Fields& fields);

// Parses a tag held in memory.
TrackTag parsed(const Bytes& tag);
TrackTag parsedV1(const Bytes& block);

}  // namespace tuho::test
