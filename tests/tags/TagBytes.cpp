#include "TagBytes.h"

#include <algorithm>

#include "tags/Id3v1.h"
#include "tags/Id3v2.h"

namespace tuho::test {
namespace {

Bytes utf16(const std::u16string& text, bool bigEndian, bool withMark) {
  Bytes out;
  auto put = [&](char16_t unit) {
    uint8_t high = uint8_t(unit >> 8), low = uint8_t(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  };
  if (withMark) put(0xFEFF);
  for (char16_t unit : text) put(unit);
  return out;
}

Bytes bigEndian32(uint32_t value) {
  return {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
}

}  // namespace

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes operator+(Bytes left, const Bytes& right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}

Bytes utf16le(const std::u16string& text, bool withMark) { return utf16(text, false, withMark); }
Bytes utf16be(const std::u16string& text, bool withMark) { return utf16(text, true, withMark); }

Bytes textContent(const std::string& latin1) { return encodedContent(0, bytesOf(latin1)); }

Bytes encodedContent(uint8_t encoding, const Bytes& text) { return Bytes{encoding} + text; }

Bytes commentContent(uint8_t encoding, const Bytes& description, const Bytes& text) {
  Bytes zero(encoding == 1 || encoding == 2 ? 2 : 1, 0);
  return Bytes{encoding} + bytesOf("eng") + description + zero + text;
}

Bytes syncsafeBytes(uint32_t value) {
  return {uint8_t((value >> 21) & 0x7F), uint8_t((value >> 14) & 0x7F), uint8_t((value >> 7) & 0x7F),
          uint8_t(value & 0x7F)};
}

Bytes frame(int version, const std::string& id, const Bytes& content, uint8_t formatFlags) {
  uint32_t size = static_cast<uint32_t>(content.size());
  Bytes sizeBytes = version == 4 ? syncsafeBytes(size) : bigEndian32(size);
  return bytesOf(id) + sizeBytes + Bytes{0, formatFlags} + content;
}

Bytes frameClaiming(const std::string& id, uint32_t claimedSize, const Bytes& content) {
  return bytesOf(id) + bigEndian32(claimedSize) + Bytes{0, 0} + content;
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
    std::copy_n(text.begin(), std::min<size_t>(text.size(), 30), block.begin() + at);
  };
  put(0, "TAG");
  put(3, fields.title);
  put(33, fields.artist);
  put(63, fields.album);
  put(97, fields.comment);
  if (fields.comment.size() < 30) block[126] = fields.track;  // else the comment holds it
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
