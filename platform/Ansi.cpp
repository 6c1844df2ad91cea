#include "platform/Ansi.h"

#include <algorithm>
#include <cstdint>

#include "platform/Backend.h"

namespace tuho {
namespace {

constexpr char16_t kUnrepresentable = u'?';

// Decodes one UTF-8 sequence at text[i]; advances i. Returns -1 for an
// invalid, overlong or truncated sequence (one byte is then consumed).
int32_t decodeUtf8(const std::string& text, size_t& i) {
  auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  uint8_t lead = byte(i);
  int length;
  int32_t code;
  if (lead < 0x80) { ++i; return lead; }
  if (lead >= 0xC2 && lead <= 0xDF) { length = 2; code = lead & 0x1F; }
  else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; code = lead & 0x0F; }
  else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; code = lead & 0x07; }
  else { ++i; return -1; }
  if (i + length > text.size()) { ++i; return -1; }
  for (int k = 1; k < length; ++k) {
    uint8_t next = byte(i + k);
    if ((next & 0xC0) != 0x80) { ++i; return -1; }
    code = (code << 6) | (next & 0x3F);
  }
  bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  bool outOfRange = code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF);
  if (overlong || outOfRange) { ++i; return -1; }
  i += length;
  return code;
}

// Every code point outside the BMP and every invalid sequence becomes the
// one UTF-16 unit kUnrepresentable.
std::u16string utf16FromUtf8(const std::string& text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    int32_t code = decodeUtf8(text, i);
    wide += (code < 0 || code > 0xFFFF) ? kUnrepresentable : static_cast<char16_t>(code);
  }
  return wide;
}

}  // namespace

// Surrogates never reach an ANSI code page: a paired one stands for a
// character outside the BMP, which no ANSI code page holds, and an unpaired
// one is no character at all. Each becomes a single '?'.
std::u16string withoutSurrogates(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    bool high = c >= 0xD800 && c <= 0xDBFF;
    bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    out += (high || low) ? kUnrepresentable : c;
  }
  return out;
}

std::string ansiFromUtf8(const std::string& text) { return ansiFromUtf16(utf16FromUtf8(text)); }

// With best-fit guesses ruled out, a character ANSI lacks can only become
// '?': the conversion was exact when it made no '?' of its own.
std::optional<std::string> exactAnsiFromUtf16(const std::u16string& text) {
  std::string ansi = ansiFromUtf16(text);
  if (std::count(ansi.begin(), ansi.end(), '?') != std::count(text.begin(), text.end(), kUnrepresentable)) {
    return std::nullopt;
  }
  return ansi;
}

std::optional<std::string> exactAnsiFromUtf8(const std::string& text) {
  std::u16string wide = utf16FromUtf8(text);
  // Each '?' in the text is one '?' unit; anything more was made by decoding.
  if (std::count(wide.begin(), wide.end(), kUnrepresentable) != std::count(text.begin(), text.end(), '?')) {
    return std::nullopt;
  }
  return exactAnsiFromUtf16(wide);
}

}  // namespace tuho
