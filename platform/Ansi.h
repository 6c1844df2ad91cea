// Conversions between the ANSI code page (what the catalogue stores and
// shows) and Unicode. On POSIX the ANSI code page is Windows-1252.
#pragma once

#include <optional>
#include <string>

namespace tuho {

// Unicode code points that ANSI cannot hold become '?'; no best-fit guesses.
std::string ansiFromUtf16(const std::u16string& text);
std::string ansiFromUtf8(const std::string& text);  // invalid sequences become '?'
std::string utf8FromAnsi(const std::string& text);
// Text for a terminal or console: UTF-8 on POSIX, ANSI as it is on Windows.
std::string consoleText(const std::string& ansi);

// The same conversions for names that must stay exact (file names, source
// names): nothing when a character would become '?', or when the UTF-8 text
// is not valid.
std::optional<std::string> exactAnsiFromUtf16(const std::u16string& text);
std::optional<std::string> exactAnsiFromUtf8(const std::string& text);

}  // namespace tuho
