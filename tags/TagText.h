// Texts inside ID3v2 frames: finding where a text ends in its encoding and
// turning it into ANSI, the text form the catalogue stores and shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tuho {

enum TextEncoding : uint8_t { kEncLatin1 = 0, kEncUtf16 = 1, kEncUtf16Be = 2, kEncUtf8 = 3 };

// Longest value kept for a text frame and for a comment, in ANSI bytes.
constexpr size_t kMaxTextValue = 511;
constexpr size_t kMaxCommentValue = 10239;

// Bytes of one zero character in this encoding: 2 for UTF-16, else 1.
size_t zeroWidth(uint8_t encoding);

// Bytes before the first zero character (size when there is none).
size_t textLength(uint8_t encoding, const uint8_t* bytes, size_t size);

// The text up to its first zero character, decoded and converted to ANSI.
// Unknown encodings are taken as bytes as they are.
std::string ansiText(uint8_t encoding, const uint8_t* bytes, size_t size);

// Cuts a text to at most maxBytes.
void capText(std::string& text, size_t maxBytes);

}  // namespace tuho
