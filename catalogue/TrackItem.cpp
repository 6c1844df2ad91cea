#include "catalogue/TrackItem.h"

#include "catalogue/TrackFields.h"

namespace tuho {

const char kUnspecified[] = "Unspecified";
const char kNoTrackNo[] = "00";
const char kNoComment[] = "None";

int IdList::append(int id) {
  entries.push_back(IdEntry{id, 0});
  return count() - 1;
}

int IdList::indexOf(int id) const {
  for (int i = 0; i < count(); ++i) {
    if (entries[static_cast<size_t>(i)].id == id) return i;
  }
  return -1;
}

}  // namespace tuho
