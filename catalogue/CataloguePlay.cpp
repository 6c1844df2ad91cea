// Play and enqueue: the catalogue plays nothing itself; it hands the track's
// file to the shell with the verb "Play" or "Enqueue" and the user's media
// player does the rest.
#include "catalogue/Catalogue.h"
#include "platform/Shell.h"

namespace tuho {
void Catalogue::playTrack(int trackId, intptr_t ownerWindow) { sendToShell(trackId, "Play", ownerWindow); }

void Catalogue::enqueueTrack(int trackId, intptr_t ownerWindow) { sendToShell(trackId, "Enqueue", ownerWindow); }

// Folder tracks play where they are; disc tracks only from their ready copy.
// A track whose source is no longer registered has no place to play from
// but its copy.
void Catalogue::sendToShell(int trackId, const char* verb, intptr_t ownerWindow) {
  TrackItem item = readTrack(trackId);
  if (item.isEmpty()) return;
  bool sourceKnown = item.source.id != 0;
  if (sourceKnown && isFolderKind(item.source.mediaType)) {
    shellRequest(item, verb, ownerWindow, false);
  } else if (item.ready == 1) {
    shellRequest(item, verb, ownerWindow, true);
  }
}

void Catalogue::shellPlay(const TrackItem& item, intptr_t ownerWindow, bool fromCopy) {
  shellRequest(item, "Play", ownerWindow, fromCopy);
}

void Catalogue::shellEnqueue(const TrackItem& item, intptr_t ownerWindow, bool fromCopy) {
  shellRequest(item, "Enqueue", ownerWindow, fromCopy);
}

void Catalogue::shellRequest(const TrackItem& item, const char* verb, intptr_t ownerWindow, bool fromCopy) {
  std::string directory = fromCopy ? dataFolder_ + item.folder : item.source.root + item.source.folder + item.folder;
  shellExecute(ShellRequest{verb, item.fileName, directory, ownerWindow});
}

}  // namespace tuho
