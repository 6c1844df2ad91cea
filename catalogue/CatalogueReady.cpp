// Ready-to-play copies: tracks on discs are copied into the data folder so
// that they play without the disc. The copies mirror the tracks' folders
// relative to their sources.
#include "catalogue/Catalogue.h"
#include "platform/Alert.h"
#include "platform/FileSystem.h"

namespace tuho {

namespace {

std::string withoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

void tellCopyFailed(const std::string& path) {
  alert("This track could not be made ready to play:\n" + path +
            "\n\nCheck that the disc is readable and that there is room in the data folder.",
        "Copy Failed");
}

}  // namespace

std::string Catalogue::sourcePath(const TrackItem& item) {
  return item.source.root + item.source.folder + item.folder + "\\" + item.fileName;
}

std::string Catalogue::copyPath(const TrackItem& item) const {
  return dataFolder_ + item.folder + "\\" + item.fileName;
}

IdList Catalogue::copyReadyJob(IdList ids, const JobEvents& events) {
  int copied = -1;
  bool toldFailure = false;
  for (IdEntry& entry : ids.entries) {
    if (events.shouldStop()) break;
    TrackItem item = readTrack(entry.id);
    if (item.isEmpty() || item.ready == 1 || item.source.id == 0 || !isDiscKind(item.source.mediaType)) continue;
    events.reportProgress(item.fileName, ++copied);
    int made = makeReady(item, events);
    if (made == 0) break;
    if (made < 0) {
      // The track stays not ready; the user hears of the first failure once.
      if (!toldFailure) tellCopyFailed(sourcePath(item));
      toldFailure = true;
      continue;
    }
    // Only the mark is written: the record may have been edited meanwhile.
    if (setReady(entry.id, 1)) entry.mark = 1;
  }
  return ids;
}

int Catalogue::makeReady(const TrackItem& item, const JobEvents& events) {
  std::string base = item.source.root + item.source.folder;
  std::string folder;
  for (;;) {
    folder = base + item.folder;
    if (fileExists(folder + "\\" + item.fileName)) break;
    std::optional<std::string> located =
        events.locateVolume ? events.locateVolume(item.source, base) : std::nullopt;
    if (!located) return 0;
    base = withoutTrailingBackslash(*located);
  }
  makeCopyFolders(dataFolder_, item.folder);
  std::string copy = copyPath(item);
  if (!copyFile(folder + "\\" + item.fileName, copy, false)) {
    deleteFile(copy);
    return -1;
  }
  makeWritable(copy);
  return 1;
}

void Catalogue::makeCopyFolders(const std::string& root, const std::string& folder) {
  std::string path = root;
  size_t start = 0;
  while (start < folder.size()) {
    size_t end = folder.find('\\', start);
    if (end == std::string::npos) end = folder.size();
    if (end > start) {
      path += "\\" + folder.substr(start, end - start);
      createFolder(path);
    }
    start = end + 1;
  }
}

IdList Catalogue::deleteReadyJob(IdList ids, const JobEvents& events) {
  progressCount_ = -1;
  for (IdEntry& entry : ids.entries) {
    if (events.shouldStop()) break;
    TrackItem item = readTrack(entry.id);
    if (item.isEmpty() || item.ready != 1) continue;
    events.reportProgress(item.fileName, ++progressCount_);
    deleteCopy(item);
    setReady(entry.id, 0);
    entry.mark = 0;
  }
  return ids;
}

void Catalogue::deleteCopy(const TrackItem& item) {
  std::string copy = copyPath(item);
  makeWritable(copy);
  deleteFile(copy);
}

}  // namespace tuho
