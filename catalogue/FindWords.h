// What a find looks for: the words of the typed text, each folded to one
// case. A track is found when every word occurs, ignoring case, in its
// title, artist, album, genre or file name (not necessarily the same one).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TrackItem.h"

namespace tuho {

// Folds the letters of the ANSI code page's Latin range to lower case:
// A-Z and the accented capitals.
inline char foldCase(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
    return static_cast<char>(byte + 32);
  return c;
}

// Appends the text folded; control characters become spaces, so that the
// find texts the index keeps can use them as marks and separators.
void appendFolded(std::string& out, std::string_view text);

struct FindWords {
  std::vector<std::string> words;  // folded, none empty
  bool empty() const { return words.empty(); }
};

// Splits at spaces and control characters. A text of spaces finds nothing.
FindWords findWordsOf(std::string_view text);

// Which kinds of character a folded text holds, one bit each: a letter
// a-z, a pair of digits, anything else. A text can hold a word only when
// it holds every kind the word does; for a one-letter word that is enough.
uint32_t findCharsOf(std::string_view folded);
bool findCharsSuffice(std::string_view word);

// True when `folded` (already folded) holds the folded word.
bool holdsWord(std::string_view folded, std::string_view word);

bool trackMatches(const TrackItem& item, const FindWords& find);

}  // namespace tuho
