#include "catalogue/GroupValues.h"

namespace tuho {

void addGroupValue(ValueList& list, const std::string& value, int ready, int kind) {
  for (GroupValue& known : list.values) {
    if (known.value != value) continue;
    if ((known.state == READY_NONE && ready == 1) || (known.state == READY_ALL && ready != 1)) {
      known.state = READY_SOME;
    }
    return;
  }
  list.values.push_back(GroupValue{value, ready == 1 ? READY_ALL : READY_NONE, kind});
}

}  // namespace tuho
