// Collecting the distinct values of a grouping with their ready state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/TrackItem.h"

namespace tuho {

// Adds one track's value: a new value takes the track's ready state and its
// source's media type; a known value becomes ReadyState::kSome once its tracks
// differ in being ready.
void addGroupValue(ValueList& list, const std::string& value, int ready, MediaType kind);

// The same for a whole walk: a hash of where each value sits in the list
// finds known values at once, so a catalogue with thousands of albums does
// not search the list once per track. Values keep their first-seen order.
class GroupValueCollector {
 public:
  void add(const std::string& value, int ready, MediaType kind);
  // The same for values that already have small numbers (positions in a
  // text pool): known values are found without hashing their text. A
  // collector takes its values one way or the other, not both.
  void addNumbered(uint32_t number, std::string_view value, int ready, MediaType kind);
  ValueList take() { return std::move(list_); }

 private:
  ValueList list_;
  std::unordered_map<std::string, size_t> positions_;
  std::vector<size_t> numbered_;  // list position + 1 of each number, 0 while unseen
};

}  // namespace tuho
