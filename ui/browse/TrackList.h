// The track list: the report-style list view on the right of the main
// window, one row per track of the group tree's current node. It decides
// which command buttons its rows allow, carries out the list's commands and
// keeps its rows, and through the tree the groups, in step with edits.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "catalogue/Catalogue.h"
#include "ui/browse/ContextMenu.h"

namespace tuho {

class GroupTree;
class SkinStrip;

// The item data of a row: copies of the track's values and its record id.
struct TrackRow {
  std::string genre;
  std::string trackNo;
  std::string artist;
  std::string album;
  std::string title;
  int id = 0;
};

class TrackList {
 public:
  int normalImage = 0;  // disc track without a ready copy
  int readyImage = 0;   // track with a ready copy
  int folderImage = 0;  // track on a local or network folder

  void attach(HWND mainWindow, HINSTANCE instance, Catalogue* catalogue, SkinStrip* strip, int* listFlag,
              GroupTree* tree);
  HWND control() const;
  void insertColumns();
  static constexpr int columnCount() { return 4; }
  std::array<int, 4> readColumnWidths() const;
  void applyColumnWidths(const std::array<int, 4>& widths);

  // Refills the rows with the tracks that carry the given values, sorted by
  // track number, and sets the strip's buttons for what the rows allow.
  void fillList(const TrackFilter& filter);
  // No rows, no filters, the buttons reset.
  void clear();
  LRESULT onListNotify(NMHDR* notification);
  // Play (first track) and enqueue (the rest), or enqueue every track.
  void playItems(bool selectedOnly, bool enqueueOnly);
  void deleteSelected();
  void editSelected();
  IdList collectAllIds() const;
  IdList collectSelectedIds() const;
  // Row images follow a copy or delete job's result.
  bool refreshRowImages(const IdList& result);
  // A rewritten track's row takes its new values, or leaves a list whose
  // filter it no longer matches; emptied groups leave the tree.
  void updateRowAfterEdit(const TrackTag& tag, int id);
  // The same for many tracks at once: rows found through one map, the
  // leaving rows removed with drawing off, emptied groups looked for once.
  void updateRowsAfterEdit(const std::vector<std::pair<int, TrackTag>>& written);
  void sortByColumn(int column);
  int rowCount() const;
  TrackRow* rowAt(int row) const;
  // The row menu's entries, top to bottom, for the present button states.
  MenuEntries rowMenuEntries() const;

 private:
  int imageFor(const TrackItem& item) const;
  std::unordered_map<int, int> rowsById() const;
  int insertRow(const TrackItem& item);
  void deleteRows(std::vector<int> rows);
  void onClick(NMHDR* notification, bool withMenu);
  void pruneVanished(const std::vector<TrackFilter>& olds);

  HWND window_ = nullptr;
  mutable HWND listControl_ = nullptr;
  HINSTANCE instance_ = nullptr;
  Catalogue* catalogue_ = nullptr;
  SkinStrip* strip_ = nullptr;
  int* listFlag_ = nullptr;
  GroupTree* tree_ = nullptr;
  TrackFilter filter_;
};

}  // namespace tuho
