// The six tag values of one track and whether the tag reader has filled them.
// Absent and empty differ: an absent value gets its default when the track is
// stored, an empty one stays empty.
#pragma once

#include <optional>
#include <string>

namespace tuho {

struct TrackTag {
  std::optional<std::string> artist;
  std::optional<std::string> album;
  std::optional<std::string> title;
  std::optional<std::string> trackNo;
  std::optional<std::string> genre;
  std::optional<std::string> comment;
  int filled = 0;  // 1 once the tag reader has filled the six values
};

}  // namespace tuho
