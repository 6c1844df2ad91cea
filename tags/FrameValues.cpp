#include "tags/FrameValues.h"

#include "tags/GenreTable.h"
#include "tags/TagText.h"

namespace tuho {
namespace {

constexpr size_t kLanguageEnd = 4;  // encoding byte and three language bytes
constexpr size_t kMaxGenreDigits = 4;

// The genre number in a reference's brackets, or -1 when there is none.
int genreNumber(const std::string& digits) {
  if (digits.empty() || digits.size() > kMaxGenreDigits) return -1;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    number = number * 10 + (c - '0');
  }
  return number < genreTable().count() ? number : -1;
}

}  // namespace

std::optional<std::string> textFrameValue(const uint8_t* content, size_t size) {
  if (size < 1) return std::nullopt;
  std::string text = ansiText(content[0], content + 1, size - 1);
  capText(text, kMaxTextValue);
  return text;
}

std::optional<std::string> commentFrameValue(const uint8_t* content, size_t size) {
  if (size < kLanguageEnd) return std::nullopt;
  uint8_t encoding = content[0];
  const uint8_t* description = content + kLanguageEnd;
  size_t descriptionSize = size - kLanguageEnd;
  size_t descriptionLength = textLength(encoding, description, descriptionSize);
  size_t textAt = descriptionLength + zeroWidth(encoding);
  if (textAt > descriptionSize) return std::nullopt;
  std::string text = ansiText(encoding, description + textAt, descriptionSize - textAt);
  capText(text, kMaxCommentValue);
  return text;
}

std::string trackNumberText(const std::string& text) {
  return text.size() == 1 ? "0" + text : text;
}

std::string genreText(const std::string& text) {
  if (text.empty() || text[0] != '(') return text;
  size_t close = text.find(')', 1);
  if (close == std::string::npos) return text;
  int number = genreNumber(text.substr(1, close - 1));
  if (number >= 0) return genreTable().name(number);
  std::string after = text.substr(close + 1);
  return after.empty() ? text : after;
}

}  // namespace tuho
