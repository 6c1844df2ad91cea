#include "TagBytes.h"

#include <algorithm>

#include "tags/Id3v1.h"
#include "tags/Id3v2.h"

namespace tuho::test {

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes operator+(Bytes left, const Bytes& right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}

Bytes utf16(const std::u16string& text, bool bigEndian, bool withMark) {
  Bytes out;
  for (char16_t unit : withMark ? u"\uFEFF" + text : text) {
    Bytes pair{uint8_t(unit & 0xFF), uint8_t(unit >> 8)};
    if (bigEndian) std::swap(pair[0], pair[1]);
    out = out + pair;
  }
  return out;
}

Bytes textContent(const std::string& latin1, uint8_t encoding) { return encodedContent(encoding, bytesOf(latin1)); }

Bytes encodedContent(uint8_t encoding, const Bytes& text) { return Bytes{encoding} + text; }

Bytes commentContent(uint8_t encoding, const Bytes& description, const Bytes& text) {
  Bytes zero(encoding == 1 || encoding == 2 ? 2 : 1, 0);
  return Bytes{encoding} + bytesOf("eng") + description + zero + text;
}

Bytes syncsafeBytes(uint32_t value) {
  return {uint8_t(value >> 21 & 0x7F), uint8_t(value >> 14 & 0x7F), uint8_t(value >> 7 & 0x7F), uint8_t(value & 0x7F)};
}

Bytes frame(int version, const std::string& id, const Bytes& content, uint8_t formatFlags) {
  uint32_t size = static_cast<uint32_t>(content.size());
  Bytes plain{uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)};
  return bytesOf(id) + (version == 4 ? syncsafeBytes(size) : plain) + Bytes{0, formatFlags} + content;
}

Bytes id3v2Claiming(int version, uint32_t claimedSize, const Bytes& body, uint8_t flags) {
  return bytesOf("ID3") + Bytes{uint8_t(version), 0, flags} + syncsafeBytes(claimedSize) + body;
}

Bytes id3v2(int version, const Bytes& frames, size_t padding, uint8_t flags) {
  Bytes body = frames + Bytes(padding, 0);
  return id3v2Claiming(version, static_cast<uint32_t>(body.size()), body, flags);
}

Bytes id3v1(const V1Fields& fields) {
  Bytes block(128, 0);
  auto put = [&](size_t at, const std::string& text) {
    std::copy_n(text.begin(), std::min<size_t>(text.size(), 30), block.begin() + static_cast<long>(at));
  };
  put(0, "TAG");
  put(3, fields.title);
  put(33, fields.artist);
  put(63, fields.album);
  put(97, fields.comment);
  if (fields.comment.size() < 30) block[126] = fields.track;
  block[127] = fields.genre;
  return block;
}

TrackTag parsed(const Bytes& tag) {
  TrackTag result;
  parseId3v2(tag.data(), tag.size(), result);
  return result;
}

TrackTag parsedV1(const Bytes& block) {
  TrackTag result;
  fillFromId3v1(block.data(), block.size(), result);
  return result;
}

}  // namespace tuho::test
