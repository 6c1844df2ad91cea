// Play and enqueue: the catalogue plays nothing itself; it hands the track's
// file to the shell with the verb "Play" or "Enqueue" and the user's media
// player does the rest.
#include "catalogue/Catalogue.h"
#include "catalogue/TrackFiles.h"
#include "platform/Shell.h"

namespace tuho {
void Catalogue::playTrack(int trackId, intptr_t ownerWindow, const std::atomic<bool>* interrupt) {
  sendToShell(trackId, "Play", ownerWindow, interrupt);
}

void Catalogue::enqueueTrack(int trackId, intptr_t ownerWindow) {
  sendToShell(trackId, "Enqueue", ownerWindow, nullptr);
}

void Catalogue::sendToShell(int trackId, const char* verb, intptr_t ownerWindow, const std::atomic<bool>* interrupt) {
  TrackItem item = readTrack(trackId);
  if (item.isEmpty()) return;
  std::optional<std::string> directory = playFrom(dataFolder_, item);
  if (directory) shellExecute(ShellRequest{verb, item.fileName, *directory, ownerWindow, false, interrupt});
}

}  // namespace tuho
