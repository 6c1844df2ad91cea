#include "catalogue/GroupValues.h"

namespace tuho {
namespace {

GroupValue newGroupValue(std::string_view value, int ready, int kind) {
  return GroupValue{std::string(value), ready == 1 ? READY_ALL : READY_NONE, kind};
}

void mergeReadyState(GroupValue& known, int ready) {
  if ((known.state == READY_NONE && ready == 1) || (known.state == READY_ALL && ready != 1)) {
    known.state = READY_SOME;
  }
}

}  // namespace

void addGroupValue(ValueList& list, const std::string& value, int ready, int kind) {
  for (GroupValue& known : list.values) {
    if (known.value != value) continue;
    mergeReadyState(known, ready);
    return;
  }
  list.values.push_back(newGroupValue(value, ready, kind));
}

void GroupValueCollector::add(const std::string& value, int ready, int kind) {
  auto found = positions_.emplace(value, list_.values.size());
  if (found.second) {
    list_.values.push_back(newGroupValue(value, ready, kind));
  } else {
    mergeReadyState(list_.values[found.first->second], ready);
  }
}

void GroupValueCollector::addNumbered(uint32_t number, std::string_view value, int ready, int kind) {
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
