// The group tree's and the track list's context menus, drawn from what the
// list allows: the tree's commands act on all listed tracks, the row menu's
// on the selected rows.
#pragma once

#include "ui/browse/ListCommands.h"
#include "ui/kit/ContextMenu.h"

namespace tuho {

// Top to bottom: "Remove Ready To Play", "Play", "Enqueue", "Add Ready To
// Play", each only when the list allows it.
MenuEntries treeMenuEntries(const ListCommands& commands);
// Top to bottom: "Play", "Delete", "Edit Tag Info", "Remove Ready To Play",
// "Add ready to play", "Enqueue", the first and the middle three only when
// the list allows them.
MenuEntries rowMenuEntries(const ListCommands& commands);

}  // namespace tuho
