// Turning the content of the ID3v2 frames the catalogue uses into tag values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tuho {

// Text frame: encoding byte, then the text. No value without the encoding byte.
std::optional<std::string> textFrameValue(const uint8_t* content, size_t size);

// Comment frame: encoding byte, language (3 bytes), description ending in a
// zero character, then the comment text. No value when the description has
// no end inside the frame.
std::optional<std::string> commentFrameValue(const uint8_t* content, size_t size);

// A one-character track number gets a leading "0" so that "7" sorts as "07".
std::string trackNumberText(const std::string& text);

// "(n)" with n a genre number 0..147 names that genre (any text after ")" is
// dropped); another "(...)" followed by text gives that text; anything else
// stays whole.
std::string genreText(const std::string& text);

}  // namespace tuho
