// The track list: the report-style list view on the right of the main
// window, one row per track of the group tree's current node or of a find.
// It works out
// which commands its rows allow (ListCommands), carries out the list's
// commands, and keeps its rows in step with edits, deletions and jobs. It
// knows the tree, the strip and the tag editor only through its hooks.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/FindWords.h"
#include "ui/browse/ListCommands.h"

namespace tuho {

// The item data of a row: copies of the track's values, its record id, its
// source's kind and what it allows, as the catalogue last said.
struct TrackRow {
  std::string genre;
  std::string trackNo;
  std::string artist;
  std::string album;
  std::string title;
  std::string media;  // the name of the track's source; empty once the source is gone
  std::string fileName;  // not shown: a find also looks in it
  int sourceId = 0;   // as the record holds it
  int id = 0;
  bool knownSource = false;
  bool folder = false;
  ListCommands allows;
};

// Image-list indices of the rows' images.
struct RowImages {
  int disc = 0;    // disc track without a ready copy
  int ready = 0;   // track with a ready copy
  int folder = 0;  // track on a local or network folder
};

// What the list asks of the rest of the window.
struct TrackListHooks {
  std::function<void()> emptied;                           // the last row went, or a fill found none
  // A group no row shows any more, with the levels whose value on its path no row shows.
  std::function<void(const TrackFilter&, const std::vector<GroupLevel>&)> groupGone;
  std::function<void(const TrackFilter&)> groupMaybeGone;         // a found row's group may have lost its last track
  std::function<void(const TrackFilter&)> groupWritten;           // an edited row's group, with its source
  std::function<void(bool)> countsChanged;                        // true: the rows changed; false: only the selection
  std::function<void(const IdList&)> editTags;             // the selected tracks' ids, at least one
  std::function<void()> commandsChanged;                   // commands() or rowsChosen() changed
  std::function<void(POINT)> rowMenuAt;                    // a row's label was right-clicked
  std::function<void(bool)> treeBulkChange;                // true before many group changes, false after
  std::function<void()> activated;                         // a row's label was double-clicked
  std::function<void(int)> tracksDeleted;                  // during a deletion: how many tracks are gone so far
  std::function<void()> stillBusy;                         // during a bulk change: one more row was handled
  std::function<void(bool)> filling;                       // true before the rows are filled, false after
  std::function<void(int)> rowsListed;                     // during a fill: how many rows are in so far
};

class TrackList {
 public:
  void attach(HWND control, Catalogue* catalogue, TrackListHooks hooks, const RowImages& images);
  HWND control() const { return control_; }
  const RowImages& images() const { return images_; }
  void insertColumns();
  static constexpr int columnCount() { return 5; }
  std::array<int, 5> readColumnWidths() const;
  void applyColumnWidths(const std::array<int, 5>& widths);

  // Refills the rows with the tracks that carry the given values, sorted by
  // track number.
  void fillList(const TrackFilter& filter);
  // Refills the rows with the tracks a find gives (see Catalogue::findTracks),
  // sorted by title. An empty result leaves the tree as it is.
  void fillFound(const std::string& text);
  bool showsFind() const { return finding_; }
  // No rows, no filters.
  void clear();
  int selectedCount() const;
  // What the rows allow, and whether a row's label has been clicked since
  // the last fill (the selected-items commands wait for that).
  const ListCommands& commands() const { return commands_; }
  bool rowsChosen() const { return rowsChosen_; }
  LRESULT onListNotify(NMHDR* notification);
  // From the keyboard: every row selected, and rows count as chosen.
  void selectAll();
  // From the message loop: a key that moves the selection through a long
  // list is handled here, with the list's drawing off. True when taken.
  bool takeRowKey(MSG& message);
  // From the message loop, before the control gets it: a plain left click
  // on a list with many rows selected deselects them first.
  void beforeClick(const MSG& message);
  // The row with the focus (or else the first selected one), or -1.
  int focusedRow() const;
  // The list took the focus: a row shows it, so that focus is visible.
  void showFocusedRow();
  void deleteSelected();
  void editSelected();
  IdList collectAllIds() const;
  IdList collectSelectedIds() const;
  // Rows and commands follow a copy or delete job's result, as the
  // catalogue now has each track.
  void refreshAfterJob(const IdList& result);
  // A rewritten track's row takes its new values, or leaves a list whose
  // filter it no longer matches; emptied groups leave the tree.
  void updateRowAfterEdit(const TrackTag& tag, int id);
  // The same for many tracks at once: rows found through one map, the
  // leaving rows removed with drawing off, emptied groups looked for once.
  void updateRowsAfterEdit(const std::vector<std::pair<int, TrackTag>>& written);
  void sortByColumn(int column);
  int rowCount() const;

 private:
  TrackRow* rowAt(int row) const;
  int imageFor(const TrackRow& row, bool ready) const;
  void noteState(TrackRow& row, const TrackItem& item) const;
  struct RowAt {
    int row;
    TrackRow* data;
  };
  std::unordered_map<int, RowAt> rowsById() const;
  // The values the list's rows show, for telling which groups are gone.
  static std::string albumKey(const std::string& artist, const std::string& album);
  struct ShownValues {
    std::unordered_set<std::string> genres, artists, albums;  // albums by albumKey
    std::unordered_set<int> sourceIds;
    void add(const TrackRow& row);
  };
  ShownValues shownValues() const;
  bool rowMatchesFind(const TrackRow& row) const;
  int insertRow(const TrackItem& item);
  int appendRow(std::unique_ptr<TrackRow> data, int image, UINT state);
  void fillRows(const std::vector<TrackItem>& tracks, int sortColumn);
  void tellCounts(bool rowsChanged);
  void deleteRows(std::vector<int> rows);
  void keepOnlyOthers(const std::vector<int>& going);
  void onClick(NMHDR* notification, bool withMenu);
  bool onRowLabel(NMHDR* notification) const;
  void markRowsChosen();
  void pruneVanished(const std::vector<TrackFilter>& olds, const ShownValues& shown);
  void busy();
  void recountCommands();
  void setCommands(const ListCommands& commands);

  HWND control_ = nullptr;
  HWND window_ = nullptr;
  Catalogue* catalogue_ = nullptr;
  TrackListHooks hooks_;
  RowImages images_;
  TrackFilter filter_;
  bool finding_ = false;  // the rows are a find's, not a node's
  FindWords findWords_;   // the find's words while finding_
  ListCommands commands_;
  bool rowsChosen_ = false;
  int bulkRows_ = 0;        // rows are going in bulk: the counts wait
  bool releasing_ = false;  // the control is being emptied with no notice per row: the data is freed apart
};

}  // namespace tuho
