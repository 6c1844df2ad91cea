// Windows-1252 stands in for the ANSI code page on POSIX. Bytes 0x80-0x9F
// that 1252 leaves undefined map to the C1 controls of the same number, as
// Windows' own table does.
#include "platform/Ansi.h"

#include <cstdint>

#include "platform/Backend.h"

namespace tuho {
namespace {

const char16_t kHighHalf[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t unicodeOf(uint8_t byte) { return byte >= 0x80 && byte < 0xA0 ? kHighHalf[byte - 0x80] : byte; }

char ansiOf(char16_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int i = 0; i < 32; ++i) {
    if (kHighHalf[i] == code) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void appendUtf8(std::string& out, char16_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string ansiFromUtf16(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t code : withoutSurrogates(text)) out += ansiOf(code);
  return out;
}

std::string utf8FromAnsi(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) appendUtf8(out, unicodeOf(static_cast<uint8_t>(c)));
  return out;
}

std::string consoleText(const std::string& ansi) { return utf8FromAnsi(ansi); }

}  // namespace tuho
