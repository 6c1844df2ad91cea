#include "catalogue/FindWords.h"

namespace tuho {
namespace {

bool separates(char c) { return static_cast<unsigned char>(c) <= ' '; }

uint32_t findCharBit(char c) {
  if (c >= 'a' && c <= 'z') return uint32_t{1} << (c - 'a');
  if (c >= '0' && c <= '9') return uint32_t{1} << (26 + (c - '0') / 2);
  return uint32_t{1} << 31;
}

}  // namespace

void appendFolded(std::string& out, std::string_view text) {
  for (char c : text) out.push_back(static_cast<unsigned char>(c) < ' ' ? ' ' : foldCase(c));
}

FindWords findWordsOf(std::string_view text) {
  FindWords find;
  std::string word;
  for (size_t at = 0; at <= text.size(); ++at) {
    if (at < text.size() && !separates(text[at])) {
      word.push_back(foldCase(text[at]));
    } else if (!word.empty()) {
      find.words.push_back(std::move(word));
      word.clear();
    }
  }
  return find;
}

uint32_t findCharsOf(std::string_view folded) {
  uint32_t chars = 0;
  for (char c : folded) chars |= findCharBit(c);
  return chars;
}

bool findCharsSuffice(std::string_view word) { return word.size() == 1 && word[0] >= 'a' && word[0] <= 'z'; }

bool holdsWord(std::string_view folded, std::string_view word) { return folded.find(word) != std::string_view::npos; }

bool trackMatches(const TrackItem& item, const FindWords& find) {
  if (find.empty()) return false;
  std::string texts;
  for (const std::optional<std::string>* value :
       {&item.tag.title, &item.tag.artist, &item.tag.album, &item.tag.genre}) {
    if (*value) appendFolded(texts, **value);
    texts.push_back('\n');  // no word holds it: a match never spans two fields
  }
  appendFolded(texts, item.fileName);
  for (const std::string& word : find.words) {
    if (!holdsWord(texts, word)) return false;
  }
  return true;
}

}  // namespace tuho
