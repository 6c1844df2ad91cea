#include "ui/ListMenus.h"

#include "ui/UiIds.h"

namespace tuho {

MenuEntries treeMenuEntries(const ListCommands& commands) {
  MenuEntries entries;
  if (commands.hasReadyDiscTrack) entries.emplace_back("Remove Ready To Play", CMD_UNREADY_ALL);
  if (commands.playable) entries.emplace_back("Play", CMD_PLAY_ALL);
  if (commands.playable) entries.emplace_back("Enqueue", CMD_ENQUEUE_ALL);
  if (commands.canMakeReady) entries.emplace_back("Add Ready To Play", CMD_READY_ALL);
  return entries;
}

// The entries are listed in the order the menu has always added them; each
// went in below the first one, so the first stays on top and the later ones
// come out in reverse.
MenuEntries rowMenuEntries(const ListCommands& commands) {
  MenuEntries added;
  if (commands.playable) added.emplace_back("Play", CMD_PLAY_SELECTED);
  if (commands.playable) added.emplace_back("Enqueue", CMD_ENQUEUE_SELECTED);
  if (commands.canMakeReady) added.emplace_back("Add ready to play", CMD_READY_SELECTED);
  if (commands.hasReadyDiscTrack) added.emplace_back("Remove Ready To Play", CMD_UNREADY_SELECTED);
  added.emplace_back("Edit Tag Info", CMD_EDIT_TAG);
  added.emplace_back("Delete", CMD_DELETE);
  MenuEntries shown(added.begin(), added.begin() + 1);
  shown.insert(shown.end(), added.rbegin(), added.rend() - 1);
  return shown;
}

}  // namespace tuho
