// Ready-to-play copies: tracks on discs are copied into the data folder so
// that they play without the disc. The copies mirror the tracks' folders
// relative to their sources.
#include "catalogue/Catalogue.h"
#include "catalogue/TrackFiles.h"
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

IdList Catalogue::copyReadyJob(IdList ids, const JobEvents& events) {
  int copied = -1;
  bool toldFailure = false;
  for (IdEntry& entry : ids.entries) {
    if (events.shouldStop()) break;
    TrackItem item = readTrack(entry.id);
    if (item.isEmpty() || item.ready == 1 || item.source.id == 0 || !isDiscKind(item.source.mediaType)) continue;
    events.reportProgress(item.fileName, ++copied);
    const Copy made = makeReady(item, events);
    if (made == Copy::kCancelled) break;
    if (made == Copy::kFailed) {
      // The track stays not ready; the user hears of the first failure once.
      if (!toldFailure) tellCopyFailed(trackPath(item));
      toldFailure = true;
      continue;
    }
    // Only the mark is written: the record may have been edited meanwhile.
    if (setReady(entry.id, 1)) entry.mark = 1;
  }
  return ids;
}

Catalogue::Copy Catalogue::makeReady(const TrackItem& item, const JobEvents& events) {
  // The user may confirm the volume at another place; the track's folder
  // stays the same below it.
  TrackItem located = item;
  while (!fileExists(trackPath(located))) {
    std::optional<std::string> base =
        events.locateVolume ? events.locateVolume(item.source, sourceFolder(located.source)) : std::nullopt;
    if (!base) return Copy::kCancelled;
    located.source.root.clear();
    located.source.folder = withoutTrailingBackslash(*base);
  }
  makeCopyFolders(dataFolder_, item);
  std::string copy = copyPath(dataFolder_, item);
  if (!copyFile(trackPath(located), copy, false)) {
    deleteFile(copy);
    return Copy::kFailed;
  }
  makeWritable(copy);
  return Copy::kMade;
}

IdList Catalogue::deleteReadyJob(IdList ids, const JobEvents& events) {
  int deleted = -1;
  for (IdEntry& entry : ids.entries) {
    if (events.shouldStop()) break;
    TrackItem item = readTrack(entry.id);
    if (item.isEmpty() || item.ready != 1) continue;
    events.reportProgress(item.fileName, ++deleted);
    deleteCopy(item);
    setReady(entry.id, 0);
    entry.mark = 0;
  }
  return ids;
}

void Catalogue::deleteCopy(const TrackItem& item) {
  std::string copy = copyPath(dataFolder_, item);
  makeWritable(copy);
  deleteFile(copy);
}

}  // namespace tuho
