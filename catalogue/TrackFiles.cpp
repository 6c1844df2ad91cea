#include "catalogue/TrackFiles.h"

#include "platform/FileSystem.h"

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

std::string inFolder(const std::string& folder, const std::string& fileName) { return folder + "\\" + fileName; }

std::string sourceFolder(const SourceRef& source) { return source.root + source.folder; }

std::string trackFolder(const TrackItem& item) { return sourceFolder(item.source) + item.folder; }

std::string copyFolder(const std::string& dataFolder, const TrackItem& item) { return dataFolder + item.folder; }

std::optional<std::string> playFrom(const std::string& dataFolder, const TrackItem& item) {
  bool sourceKnown = item.source.id != 0;
  if (sourceKnown && isFolderKind(item.source.mediaType)) return trackFolder(item);
  if (item.ready == 1) return copyFolder(dataFolder, item);
  return std::nullopt;
}

std::string trackPath(const TrackItem& item) { return inFolder(trackFolder(item), item.fileName); }

std::string copyPath(const std::string& dataFolder, const TrackItem& item) {
  return inFolder(copyFolder(dataFolder, item), item.fileName);
}

void makeCopyFolders(const std::string& dataFolder, const std::string& trackFolder) {
  std::string path = dataFolder;
  size_t start = 0;
  while (start < trackFolder.size()) {
    size_t end = trackFolder.find('\\', start);
    if (end == std::string::npos) end = trackFolder.size();
    if (end > start) {
      path += "\\" + trackFolder.substr(start, end - start);
      createFolder(path);
    }
    start = end + 1;
  }
}

}  // namespace tuho
