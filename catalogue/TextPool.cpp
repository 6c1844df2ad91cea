#include "catalogue/TextPool.h"

#include <functional>

namespace tuho {
namespace {

constexpr size_t kFirstSlotCount = 64;  // a power of two, as every later count

}  // namespace

size_t TextPool::slotOf(std::string_view text) const {
  const size_t mask = slots_.size() - 1;
  size_t slot = std::hash<std::string_view>()(text) & mask;
  while (slots_[slot] != kEmptySlot && this->text(slots_[slot] - 1) != text) slot = (slot + 1) & mask;
  return slot;
}

// Kept at most half full, so that a search ends after a slot or two.
void TextPool::grow() {
  std::vector<uint32_t> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? kFirstSlotCount : old.size() * 2, kEmptySlot);
  for (uint32_t held : old) {
    if (held != kEmptySlot) slots_[slotOf(text(held - 1))] = held;
  }
}

uint32_t TextPool::intern(std::string_view text) {
  if (2 * (size() + 1) > slots_.size()) grow();
  const size_t slot = slotOf(text);
  if (slots_[slot] != kEmptySlot) return slots_[slot] - 1;
  const auto position = static_cast<uint32_t>(size());
  chars_.append(text);
  starts_.push_back(chars_.size());
  slots_[slot] = position + 1;
  return position;
}

std::optional<uint32_t> TextPool::find(std::string_view text) const {
  if (slots_.empty()) return std::nullopt;
  const uint32_t held = slots_[slotOf(text)];
  if (held == kEmptySlot) return std::nullopt;
  return held - 1;
}

void TextPool::clear() {
  std::string().swap(chars_);
  starts_.assign(1, 0);
  std::vector<uint32_t>().swap(slots_);
}

}  // namespace tuho
