// Conversions between the ANSI code page (what the catalogue stores and
// shows) and Unicode. On POSIX the ANSI code page is Windows-1252.
#pragma once

#include <string>

namespace tuho {

// Unicode code points that ANSI cannot hold become '?'; no best-fit guesses.
std::string ansiFromUtf16(const std::u16string& text);
std::string ansiFromUtf8(const std::string& text);  // invalid sequences become '?'
std::string utf8FromAnsi(const std::string& text);

}  // namespace tuho
