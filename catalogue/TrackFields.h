// Field ids of a track record, in the order the fields are written. Track
// records are read back by position, so the order is part of the format.
#pragma once

#include "store/FieldIds.h"

namespace tuho {

constexpr int FLD_FILE_NAME = 301;
constexpr int FLD_TITLE = 327;
constexpr int FLD_ARTIST = 328;
constexpr int FLD_ALBUM = 329;
constexpr int FLD_GENRE = 330;
constexpr int FLD_TRACK_NO = 331;
constexpr int FLD_COMMENT = 332;
constexpr int FLD_READY = 1100;

constexpr int kTrackFieldCount = 10;
constexpr int kTrackFieldOrder[kTrackFieldCount] = {
    FLD_FILE_NAME, FLD_SOURCE_ID, FLD_FOLDER, FLD_TITLE, FLD_ARTIST,
    FLD_ALBUM,     FLD_GENRE,     FLD_TRACK_NO, FLD_COMMENT, FLD_READY};

// What a track stores for a tag value that its file did not have.
extern const char kUnspecified[];   // "Unspecified"
extern const char kNoTrackNo[];     // "00"
extern const char kNoComment[];     // "None"

}  // namespace tuho
