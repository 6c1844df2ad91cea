// Bringing a media source into the catalogue: walk its folder tree depth
// first, read the tags of each MP3 file and store one track per file. A
// rescan keeps the tracks whose files are still there (without reading them
// again), adds new files and drops the tracks whose files have vanished.
#include <unordered_map>
#include <unordered_set>

#include "catalogue/Catalogue.h"
#include "catalogue/ScanReport.h"
#include "catalogue/StoreBoxes.h"
#include "catalogue/TrackFields.h"
#include "catalogue/TrackFiles.h"
#include "platform/Alert.h"
#include "platform/FileSystem.h"
#include "tags/TagReader.h"

namespace tuho {

struct Catalogue::WalkState {
  const SourceRef& source;
  bool rescan;
  const JobEvents& events;
  size_t basePathLength;
  // Rescan only: the source's stored tracks by folder and file name (the
  // first in file order wins, as a walk from the start would find), and the
  // ids met during the walk.
  std::unordered_map<std::string, int> known;
  std::unordered_set<int> seen;
  // Folders below the source that could not be entered: their tracks are
  // kept, since nobody could see whether their files are still there.
  std::vector<std::string> unreadFolders;
  int filesMet = 0;  // the running count the progress dialog shows
  bool stopped = false;
  // Folders already walked, by identity: a link back up the tree (or to a
  // folder met before) is not walked twice.
  std::unordered_set<std::string> walkedFolders;
  int tooLong = 0;            // files and folders skipped for their path length
  int unnamed = 0;            // and for names the ANSI code page cannot hold
  int stored = 0;             // tracks this job added
  bool storeFailed = false;   // a track could not be stored: the job ends there
};

namespace {

std::string trackKey(const std::string& folder, const std::string& fileName) {
  return folder + '\0' + fileName;
}

bool isInside(const std::string& folder, const std::string& parent) {
  return folder.compare(0, parent.size(), parent) == 0 &&
         (folder.size() == parent.size() || folder[parent.size()] == '\\');
}

void tellVolumeMissing(const SourceRef& source, const std::string& base) {
  alert("The volume of the media source \"" + source.name + "\" was not found:\n" + base +
            "\n\nInsert the disc or connect the share, then try again. The catalogue was not changed.",
        "Volume Not Found");
}

// A file that cannot be opened is told by its path, under a caption that
// says why; its track is stored without tag values.
void readTagOrTell(const std::string& path, TrackTag& tag) {
  uint32_t error = 0;
  if (!readTag(path, tag, &error)) alert(path, trackOpenFailureCaption(error));
}

}  // namespace

bool Catalogue::scanSource(const SourceRef& source, bool rescan, const JobEvents& events) {
  std::string base = sourceFolder(source);
  // A source whose volume is missing must not lose its tracks: a rescan
  // would otherwise see no file at all and drop every one of them.
  if (!folderExists(folderPath(base))) {
    tellVolumeMissing(source, base);
    return false;
  }
  WalkState walk{source, rescan, events, base.size(), {}, {}, {}, 0, false, {}, 0, 0, 0, false};
  // Without every known track a rescan would store the missing ones again.
  if (rescan && !loadKnownTracks(walk)) return false;
  startJob();
  walkFolder(base, walk);
  const bool diskFilled = endJob();
  if (walk.tooLong > 0 || walk.unnamed > 0) tellSkipped(walk.tooLong, walk.unnamed);
  if (walk.storeFailed) {
    // A failed write has shown its box already, unless the disk was full:
    // that is told once, with what the job managed to store.
    if (diskFilled) tellDiskFull(walk.stored);
    return false;
  }
  if (rescan && !walk.stopped && !dropVanished(walk)) return false;
  // Closing the program stops a job without a word; the user's Cancel does not.
  if (walk.stopped && events.cancelled()) tellScanCancelled(source, rescan, walk.stored);
  if (!walk.stopped && walk.filesMet == 0) tellNothingFound(source, base);
  return true;
}

// A walk that ended before the end of the file: the read that failed is
// told (a failed write told itself). Callers hold the lock.
bool Catalogue::walkFailed() {
  if (store_.walkComplete()) return false;
  if (store_.walkError() != 0 && store_.isOpen()) showReadFailure(store_.path(), store_.walkError());
  return true;
}

// While the walk runs a full disk shows no box: the job tells it once at
// its end, with what it stored.
void Catalogue::startJob() {
  Lock lock(mutex_);
  boxes_.startJob();
}

bool Catalogue::endJob() {
  Lock lock(mutex_);
  return boxes_.endJob();
}

void Catalogue::tellDiskFull(int stored) {
  alert("The disk is full. The job stopped; " + std::to_string(stored) + " tracks were stored.", "Disk Full");
}

// Files the catalogue could not hold are told once, at the end of the job.
void Catalogue::tellSkipped(int tooLong, int unnamed) {
  std::string text;
  if (tooLong > 0) {
    text = std::to_string(tooLong) + " files or folders were skipped: their paths are longer than " +
           std::to_string(kMaxPathChars) + " characters.";
  }
  if (unnamed > 0) {
    text += std::string(text.empty() ? "" : "\n") + std::to_string(unnamed) +
            " files or folders were skipped: their names have characters that this system's code page "
            "cannot hold, and they have no short name to go by.";
  }
  alert(text, unnamed == 0 ? "Paths Too Long" : tooLong == 0 ? "Names Not Supported" : "Files Skipped");
}

bool Catalogue::loadKnownTracks(WalkState& walk) {
  FieldList query;
  query.addInt(FLD_SOURCE_ID, walk.source.id);
  Lock lock(mutex_);
  for (store_.findFirstMatching(query); !store_.atEnd(); store_.next()) {
    TrackItem item = currentTrack();
    if (!item.isEmpty()) walk.known.emplace(trackKey(item.folder, item.fileName), item.id);
  }
  return !walkFailed();
}

void Catalogue::walkFolder(const std::string& path, WalkState& walk) {
  std::string identity;
  if (folderIdentity(folderPath(path), &identity) && !walk.walkedFolders.insert(identity).second) return;
  bool entered = listFolder(folderPath(path), [&](const FolderEntry& entry) {
    if (walk.events.shouldStop()) {
      walk.stopped = true;
      return false;
    }
    std::string child = inFolder(path, entry.name);
    // Paths Windows cannot open are of no use to the catalogue; the limit
    // also bounds how deep the walk goes.
    if (child.size() > kMaxPathChars) {
      ++walk.tooLong;
      return true;
    }
    if (entry.isFolder) {
      walkFolder(child, walk);
    } else if (isTrackFileName(entry.name)) {
      catalogueFile(path, entry.name, walk);
    }
    return !walk.stopped;
  }, &walk.unnamed);
  if (!entered) walk.unreadFolders.push_back(path.substr(walk.basePathLength));
}

void Catalogue::catalogueFile(const std::string& path, const std::string& name, WalkState& walk) {
  walk.events.reportProgress(name, ++walk.filesMet);
  std::string folder = path.substr(walk.basePathLength);
  if (walk.rescan) {
    auto known = walk.known.find(trackKey(folder, name));
    if (known != walk.known.end()) {
      walk.seen.insert(known->second);
      return;
    }
  }
  TrackItem item;
  item.source = walk.source;
  item.folder = folder;
  item.fileName = name;
  readTagOrTell(inFolder(path, name), item.tag);
  int id = storeTrack(item, false);
  if (id == 0) {
    walk.storeFailed = true;
    walk.stopped = true;
    return;
  }
  ++walk.stored;
  if (walk.rescan) walk.seen.insert(id);
}

// False when a read or a flag write failed: the tracks not yet dropped stay.
bool Catalogue::dropVanished(const WalkState& walk) {
  FieldList query;
  query.addInt(FLD_SOURCE_ID, walk.source.id);
  Lock lock(mutex_);
  // Tracks seen during the walk are passed over by id alone, undecoded.
  for (int id = store_.findFirstMatching(query); !store_.atEnd(); id = store_.next()) {
    if (walk.seen.count(id)) continue;
    TrackItem item = currentTrack();
    if (item.isEmpty()) continue;
    bool unread = false;
    for (const std::string& folder : walk.unreadFolders) unread = unread || isInside(item.folder, folder);
    if (!unread && !store_.deleteCurrent()) return false;
  }
  return !walkFailed();
}

int Catalogue::findTrack(int sourceId, const std::string& folder, const std::string& fileName) {
  FieldList query;
  query.addInt(FLD_SOURCE_ID, sourceId);
  query.addText(FLD_FOLDER, folder);
  query.addText(FLD_FILE_NAME, fileName);
  Lock lock(mutex_);
  int id = store_.findFirstMatching(query);
  return store_.atEnd() ? 0 : id;
}

int Catalogue::removeSource(int sourceId, bool* complete) {
  FieldList query;
  query.addInt(FLD_SOURCE_ID, sourceId);
  int removed = 0;
  bool done = true;
  Lock lock(mutex_);
  for (int id = store_.findFirstMatching(query); id > 0 && !store_.atEnd(); id = store_.next()) {
    if (!store_.deleteCurrent()) {
      done = false;
      break;
    }
    ++removed;
  }
  done = done && !walkFailed();
  if (complete) *complete = done;
  return removed;
}

}  // namespace tuho
