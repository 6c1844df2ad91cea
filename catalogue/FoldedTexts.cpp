#include "catalogue/FoldedTexts.h"

#include <cstring>

#include "catalogue/FindWords.h"

namespace tuho {

void FoldedTexts::catchUp(const TextPool& pool) {
  for (size_t position = starts_.size(); position < pool.size(); ++position) {
    const size_t start = folded_.size();
    appendFolded(folded_, pool.text(static_cast<uint32_t>(position)));
    kinds_.push_back(findCharsOf(std::string_view(folded_).substr(start)));
    folded_.push_back('\0');
    starts_.push_back(start);
  }
}

std::vector<uint8_t> FoldedTexts::holding(const std::string& word, uint32_t chars) const {
  std::vector<uint8_t> holds(starts_.size(), 0);
  for (size_t position = 0; position < holds.size(); ++position) {
    if ((kinds_[position] & chars) != chars) continue;
    holds[position] = std::strstr(folded_.data() + starts_[position], word.c_str()) != nullptr;
  }
  return holds;
}

void FoldedTexts::clear() {
  std::string().swap(folded_);
  std::vector<size_t>().swap(starts_);
  std::vector<uint32_t>().swap(kinds_);
}

}  // namespace tuho
