// Small verbs that build ID3 tags byte by byte, so that each test says what
// its tag holds and nothing more.
#pragma once

#include <cstdint>
#include <string>

#include "support/TestFiles.h"
#include "tags/TrackTag.h"

namespace tuho::test {

Bytes bytesOf(const std::string& text);
Bytes operator+(Bytes left, const Bytes& right);
Bytes utf16(const std::u16string& text, bool bigEndian = false, bool withMark = true);

// Frame contents: encoding byte and text; comment with "eng" and a description.
Bytes textContent(const std::string& latin1, uint8_t encoding = 0);
Bytes encodedContent(uint8_t encoding, const Bytes& text);
Bytes commentContent(uint8_t encoding, const Bytes& description, const Bytes& text);

// A frame with a plain (version 3) or syncsafe (version 4) size.
Bytes frame(int version, const std::string& id, const Bytes& content, uint8_t formatFlags = 0);
Bytes syncsafeBytes(uint32_t value);
// A whole tag whose size covers the frames and zero padding, or claims any size.
Bytes id3v2(int version, const Bytes& frames, size_t padding = 0, uint8_t flags = 0);
Bytes id3v2Claiming(int version, uint32_t claimedSize, const Bytes& body, uint8_t flags = 0);

struct V1Fields {
  std::string title, artist, album, comment;
  uint8_t track = 0;  // ignored when the comment fills all 30 bytes
  uint8_t genre = 255;
};
Bytes id3v1(const V1Fields& fields);

TrackTag parsed(const Bytes& tag);
TrackTag parsedV1(const Bytes& block);

}  // namespace tuho::test
