// How a track is written to and read from its catalogue record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

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

// The fields a track is grouped and found by, as views of a record body.
struct TrackKeys {
  int sourceId = 0;
  int ready = 0;
  std::string_view genre;
  std::string_view artist;
  std::string_view album;
  std::string_view title;
  std::string_view fileName;
};

// Reads them in place from a record body that decoding accepts; false when
// the record does not have the shape of a track (trackFromFields would give
// an empty item).
bool trackKeysFromBody(const uint8_t* body, size_t length, TrackKeys* keys);

}  // namespace tuho
