#include "catalogue/GroupValues.h"

namespace tuho {
namespace {

GroupValue newGroupValue(std::string_view value, int ready, MediaType kind) {
  return GroupValue{std::string(value), ready == 1 ? ReadyState::kAll : ReadyState::kNone, kind};
}

void mergeReadyState(GroupValue& known, int ready) {
  if ((known.state == ReadyState::kNone && ready == 1) || (known.state == ReadyState::kAll && ready != 1)) {
    known.state = ReadyState::kSome;
  }
}

}  // namespace

void addGroupValue(ValueList& list, const std::string& value, int ready, MediaType kind) {
  for (GroupValue& known : list.values) {
    if (known.value != value) continue;
    mergeReadyState(known, ready);
    return;
  }
  list.values.push_back(newGroupValue(value, ready, kind));
}

void GroupValueCollector::add(const std::string& value, int ready, MediaType kind) {
  auto found = positions_.emplace(value, list_.values.size());
  if (found.second) {
    list_.values.push_back(newGroupValue(value, ready, kind));
  } else {
    mergeReadyState(list_.values[found.first->second], ready);
  }
}

void GroupValueCollector::addNumbered(uint32_t number, std::string_view value, int ready, MediaType kind) {
  if (number >= numbered_.size()) numbered_.resize(number + 1, 0);
  size_t& slot = numbered_[number];
  if (slot == 0) {
    list_.values.push_back(newGroupValue(value, ready, kind));
    slot = list_.values.size();
  } else {
    mergeReadyState(list_.values[slot - 1], ready);
  }
}

}  // namespace tuho
