#include "catalogue/TrackFiles.h"

#include <cctype>

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
  const bool drive =
      location.size() >= 2 && location[1] == ':' && std::isalpha(static_cast<unsigned char>(location[0]));
  if (!drive) return Location{"", location};
  Location split{location.substr(0, 2), location.substr(2)};
  if (split.folder == "\\") split.folder.clear();
  return split;
}

std::string inFolder(const std::string& folder, const std::string& fileName) { return folder + "\\" + fileName; }

std::string sourceFolder(const SourceRef& source) { return source.root + source.folder; }

std::string trackFolder(const TrackItem& item) { return sourceFolder(item.source) + item.folder; }

namespace {

// The copies' folder of the track's source below the data folder; the
// record's id when the source is no longer registered.
std::string sourceCopies(const TrackItem& item) {
  int id = item.source.id != 0 ? item.source.id : item.recordSourceId;
  return "\\Copies\\" + std::to_string(id);
}

}  // namespace

std::string copyFolder(const std::string& dataFolder, const TrackItem& item) {
  return dataFolder + sourceCopies(item) + item.folder;
}

std::string oldCopyFolder(const std::string& dataFolder, const TrackItem& item) { return dataFolder + item.folder; }

std::optional<std::string> playFrom(const std::string& dataFolder, const TrackItem& item) {
  bool sourceKnown = item.source.id != 0;
  if (sourceKnown && isFolderKind(item.source.mediaType)) return trackFolder(item);
  if (item.ready != 1) return std::nullopt;
  // A copy made by an earlier version is still the track's own copy as long
  // as no copy exists at its source's place.
  std::string folder = copyFolder(dataFolder, item);
  std::string old = oldCopyFolder(dataFolder, item);
  if (!fileExists(inFolder(folder, item.fileName)) && fileExists(inFolder(old, item.fileName))) return old;
  return folder;
}

std::string trackPath(const TrackItem& item) { return inFolder(trackFolder(item), item.fileName); }

std::string copyPath(const std::string& dataFolder, const TrackItem& item) {
  return inFolder(copyFolder(dataFolder, item), item.fileName);
}

void makeCopyFolders(const std::string& dataFolder, const TrackItem& item) {
  makeFolders(dataFolder, sourceCopies(item) + item.folder);
}

void makeFolders(const std::string& folder, const std::string& relative) {
  std::string path = folder;
  size_t start = 0;
  while (start < relative.size()) {
    size_t end = relative.find('\\', start);
    if (end == std::string::npos) end = relative.size();
    if (end > start) {
      path += "\\" + relative.substr(start, end - start);
      createFolder(path);
    }
    start = end + 1;
  }
}

}  // namespace tuho
