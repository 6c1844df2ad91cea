#include "catalogue/TrackFiles.h"

namespace tuho {

bool isTrackFileName(const std::string& name) {
  if (name.size() < 3) return false;
  std::string ending = name.substr(name.size() - 3);
  return ending == "mp3" || ending == "MP3" || ending == "Mp3";
}

std::string folderPath(const std::string& path) {
  return !path.empty() && path.back() == ':' ? path + "\\" : path;
}

Location splitLocation(const std::string& location) {
  size_t colon = location.find(':');
  if (colon == std::string::npos) return Location{"", location};
  Location split{location.substr(0, colon + 1), location.substr(colon + 1)};
  if (split.folder == "\\") split.folder.clear();
  return split;
}

}  // namespace tuho
