#include "tags/TagText.h"

#include "platform/Ansi.h"

namespace tuho {
namespace {

bool isUtf16(uint8_t encoding) { return encoding == kEncUtf16 || encoding == kEncUtf16Be; }

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Surrogates without their partner cannot be converted; they become '?'.
void replaceLoneSurrogates(std::u16string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      ++i;
    } else if (isHighSurrogate(text[i]) || isLowSurrogate(text[i])) {
      text[i] = u'?';
    }
  }
}

// A byte-order mark decides the byte order; without one, encoding 1 is
// little-endian and encoding 2 big-endian. Further marks are dropped too.
std::u16string utf16Units(uint8_t encoding, const uint8_t* bytes, size_t size) {
  bool bigEndian = encoding == kEncUtf16Be;
  size_t at = 0;
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    bigEndian = false;
    at = 2;
  } else if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    bigEndian = true;
    at = 2;
  }
  std::u16string units;
  units.reserve((size - at) / 2);
  for (; at + 1 < size; at += 2) {
    char16_t unit = bigEndian ? char16_t(bytes[at] << 8 | bytes[at + 1])
                              : char16_t(bytes[at + 1] << 8 | bytes[at]);
    if (units.empty() && unit == 0xFEFF) continue;
    units.push_back(unit);
  }
  return units;
}

std::string ansiFromUtf16Bytes(uint8_t encoding, const uint8_t* bytes, size_t size) {
  std::u16string units = utf16Units(encoding, bytes, size);
  replaceLoneSurrogates(units);
  return ansiFromUtf16(units);
}

bool isPlainAscii(const uint8_t* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i] >= 0x80) return false;
  }
  return true;
}

std::string ansiFromUtf8Bytes(const uint8_t* bytes, size_t size) {
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes += 3;
    size -= 3;
  }
  std::string text(reinterpret_cast<const char*>(bytes), size);
  // Most tags are plain ASCII, which needs no conversion.
  return isPlainAscii(bytes, size) ? text : ansiFromUtf8(text);
}

}  // namespace

size_t zeroWidth(uint8_t encoding) { return isUtf16(encoding) ? 2 : 1; }

size_t textLength(uint8_t encoding, const uint8_t* bytes, size_t size) {
  if (isUtf16(encoding)) {
    for (size_t i = 0; i + 1 < size; i += 2) {
      if (bytes[i] == 0 && bytes[i + 1] == 0) return i;
    }
    return size;
  }
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i] == 0) return i;
  }
  return size;
}

std::string ansiText(uint8_t encoding, const uint8_t* bytes, size_t size) {
  size_t length = textLength(encoding, bytes, size);
  if (isUtf16(encoding)) return ansiFromUtf16Bytes(encoding, bytes, length);
  if (encoding == kEncUtf8) return ansiFromUtf8Bytes(bytes, length);
  return std::string(reinterpret_cast<const char*>(bytes), length);
}

void capText(std::string& text, size_t maxBytes) {
  if (text.size() > maxBytes) text.resize(maxBytes);
}

}  // namespace tuho
