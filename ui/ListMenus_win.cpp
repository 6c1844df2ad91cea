#include "ui/ListMenus.h"

#include <initializer_list>

#include "ui/UiIds.h"

namespace tuho {
namespace {

// An entry and what it needs of the list; one that needs nothing is always
// there.
struct MenuRow {
  bool ListCommands::*needs;
  const char* text;
  int command;
};

MenuEntries entriesFor(const ListCommands& commands, std::initializer_list<MenuRow> rows) {
  MenuEntries entries;
  for (const MenuRow& row : rows) {
    if (!row.needs || commands.*row.needs) entries.emplace_back(row.text, row.command);
  }
  return entries;
}

}  // namespace

MenuEntries treeMenuEntries(const ListCommands& commands) {
  return entriesFor(commands, {{&ListCommands::hasReadyDiscTrack, "Remove Ready To Play", CMD_UNREADY_ALL},
                               {&ListCommands::playable, "Play", CMD_PLAY_ALL},
                               {&ListCommands::playable, "Enqueue", CMD_ENQUEUE_ALL},
                               {&ListCommands::canMakeReady, "Add Ready To Play", CMD_READY_ALL}});
}

// The entries are listed in the order the menu has always added them; each
// went in below the first one, so the first stays on top and the later ones
// come out in reverse.
MenuEntries rowMenuEntries(const ListCommands& commands) {
  MenuEntries added =
      entriesFor(commands, {{&ListCommands::playable, "Play", CMD_PLAY_SELECTED},
                            {&ListCommands::playable, "Enqueue", CMD_ENQUEUE_SELECTED},
                            {&ListCommands::canMakeReady, "Add ready to play", CMD_READY_SELECTED},
                            {&ListCommands::hasReadyDiscTrack, "Remove Ready To Play", CMD_UNREADY_SELECTED},
                            {nullptr, "Edit Tag Info", CMD_EDIT_TAG},
                            {nullptr, "Delete", CMD_DELETE}});
  MenuEntries shown(added.begin(), added.begin() + 1);
  shown.insert(shown.end(), added.rbegin(), added.rend() - 1);
  return shown;
}

}  // namespace tuho
