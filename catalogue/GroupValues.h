// Collecting the distinct values of a grouping with their ready state.
#pragma once

#include <string>

#include "catalogue/TrackItem.h"

namespace tuho {

// Adds one track's value: a new value takes the track's ready state and its
// source's media type; a known value becomes READY_SOME once its tracks
// differ in being ready.
void addGroupValue(ValueList& list, const std::string& value, int ready, int kind);

}  // namespace tuho
