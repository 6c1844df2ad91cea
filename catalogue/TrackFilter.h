// Which tracks a query is about: those that carry every given value (an
// absent value does not restrict).
#pragma once

#include <optional>
#include <string>

namespace tuho {

struct TrackFilter {
  std::optional<std::string> genre;
  std::optional<std::string> artist;
  std::optional<std::string> album;
  std::optional<int> sourceId = std::nullopt;  // the media source the tracks are on
};

}  // namespace tuho
