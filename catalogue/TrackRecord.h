// How a track is written to and read from its catalogue record.
#pragma once

#include "catalogue/TrackItem.h"
#include "store/FieldList.h"

namespace tuho {

// The ten fields of a track in record order; absent tag values get their
// defaults, present ones (even empty) are kept; ready is stored as 1 or 0.
FieldList trackRecord(const TrackItem& item);

// The track a decoded record holds, read by position. The source is left
// for the caller to look up (only its id is set). A record that does not
// have the shape of a track yields an empty item.
TrackItem trackFromFields(const FieldList& fields);

}  // namespace tuho
