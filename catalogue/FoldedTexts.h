// The texts of a pool folded to one case, each with the kinds of character
// it holds, so that every find looks through all genres, artists and albums
// without folding them again. It follows the pool as texts are added.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/TextPool.h"

namespace tuho {

class FoldedTexts {
 public:
  // Folds the texts the pool gained since the last call.
  void catchUp(const TextPool& pool);
  // One byte per text, 1 where the folded word occurs; `chars` are the
  // word's kinds of character (findCharsOf).
  std::vector<uint8_t> holding(const std::string& word, uint32_t chars) const;
  void clear();

 private:
  std::string folded_;           // each text folded and closed with a null
  std::vector<size_t> starts_;   // where text i starts in folded_
  std::vector<uint32_t> kinds_;  // findCharsOf each text
};

}  // namespace tuho
