// Distinct texts, each held once and known by a small number (its position
// in the order the texts first came). The texts share one buffer and the
// lookup table holds only positions, so a pool of thousands of artists and
// albums costs a few bytes beyond the characters themselves: memory a
// short-lived process has to touch for the first time is what it pays for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tuho {

class TextPool {
 public:
  // The position of the text, added when it is new.
  uint32_t intern(std::string_view text);
  std::optional<uint32_t> find(std::string_view text) const;
  // Good until the next intern: the buffer may move as it grows.
  std::string_view text(uint32_t position) const {
    return std::string_view(chars_.data() + starts_[position], starts_[position + 1] - starts_[position]);
  }
  size_t size() const { return starts_.size() - 1; }
  void clear();

 private:
  static constexpr uint32_t kEmptySlot = 0;
  size_t slotOf(std::string_view text) const;  // the slot holding text, or the empty one where it would go
  void grow();

  std::string chars_;
  std::vector<size_t> starts_{0};  // text i is chars_[starts_[i], starts_[i + 1])
  std::vector<uint32_t> slots_;    // position + 1 of a text, or kEmptySlot; open addressing
};

}  // namespace tuho
