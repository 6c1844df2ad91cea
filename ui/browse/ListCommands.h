// Which commands the track list's rows allow, worked out from what the
// catalogue says of each track. The strip's buttons and both context menus
// are drawn from this one value, never from one another.
#pragma once

#include "catalogue/TrackItem.h"

namespace tuho {

struct ListCommands {
  bool playable = false;           // a folder track, or one with a ready copy: play and enqueue
  bool canMakeReady = false;       // a disc track of a known source without a copy
  bool hasReadyDiscTrack = false;  // a disc track with a copy that can be removed

  bool operator==(const ListCommands& other) const {
    return playable == other.playable && canMakeReady == other.canMakeReady &&
           hasReadyDiscTrack == other.hasReadyDiscTrack;
  }
  bool operator!=(const ListCommands& other) const { return !(*this == other); }
  ListCommands& operator|=(const ListCommands& other) {
    playable = playable || other.playable;
    canMakeReady = canMakeReady || other.canMakeReady;
    hasReadyDiscTrack = hasReadyDiscTrack || other.hasReadyDiscTrack;
    return *this;
  }
};

// What one track allows, from its source (known or gone, a folder or a
// disc) and whether it has a ready copy. A track whose source is gone plays
// only from its copy and cannot be copied.
inline ListCommands commandsOf(bool knownSource, bool folder, bool ready) {
  ListCommands commands;
  commands.playable = folder || ready;
  commands.canMakeReady = knownSource && !folder && !ready;
  commands.hasReadyDiscTrack = ready && !folder;
  return commands;
}

inline ListCommands commandsOf(const TrackItem& item) {
  bool known = item.source.id != 0;
  return commandsOf(known, known && isFolderKind(item.source.mediaType), item.ready == 1);
}

}  // namespace tuho
