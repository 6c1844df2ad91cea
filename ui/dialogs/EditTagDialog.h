// The Edit Tag dialog: corrects the tag values of one or more catalogued
// tracks. Only catalogue records change; the music files are never written.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <utility>
#include <vector>
#include <string>

#include "catalogue/Catalogue.h"

namespace tuho {

// Shown for a value that differs among the edited tracks.
extern const char kMultipleValues[];  // "[Multiple Values]"

// What the dialog shows and, after OK, what the user left in its boxes.
class EditTagDialog {
 public:
  TrackTag tag;
  std::array<std::string, 3> fileLines;  // source name, folder, file name
  bool multiple = false;
  // What each edit box showed when the dialog opened: a box still showing
  // it was not edited, and its value is kept whole.
  std::array<std::string, 5> shownBoxes;

  INT_PTR onDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

// Where an edit lands: the catalogue, and the views kept in step with it
// for each track written (its group path as written, its tag and id).
struct EditTagTargets {
  HINSTANCE instance;
  HWND owner;
  Catalogue* catalogue;
  std::function<void(const TrackFilter&)> groupWritten;
  // The written tags by id, once for all the tracks.
  std::function<void(const std::vector<std::pair<int, TrackTag>>&)> tracksWritten;
  // True before the writes and false after: the views draw once.
  std::function<void(bool)> bulkChange;
  // During the writes: how many tracks have been written so far.
  std::function<void(int)> writtenSoFar;
};

// Edits the tracks of the ids (at least one) in the dialog. One track gets
// all five values written; several get artist, album and genre, each only
// when the user changed it.
void editTags(const EditTagTargets& targets, const IdList& ids);

}  // namespace tuho
