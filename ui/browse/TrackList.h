// The track list: the report-style list view on the right of the main
// window, one row per track of the group tree's current node.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "catalogue/Catalogue.h"

namespace tuho {

class SkinStrip;

class TrackList {
 public:
  int normalImage = 0;  // disc track without a ready copy
  int readyImage = 0;   // track with a ready copy
  int folderImage = 0;  // track on a local or network folder

  void attach(HWND mainWindow, HINSTANCE instance, Catalogue* catalogue, SkinStrip* strip, int* listFlag);
  HWND control() const;
  void insertColumns();
  // Refills the rows with the tracks that carry the given values and sets
  // the strip's buttons for what the rows allow.
  void fillList(const TrackFilter& filter);
  LRESULT onListNotify(NMHDR* notification);
  // Play (first track) and enqueue (the rest), or enqueue every track.
  void playItems(bool selectedOnly, bool enqueueOnly);
  IdList collectAllIds() const;
  IdList collectSelectedIds() const;
  // Row images follow a copy or delete job's result.
  bool refreshRowImages(const IdList& result);
  int rowCount() const;

 private:
  int imageFor(const TrackItem& item) const;
  int idAt(int row) const;
  int insertRow(const TrackItem& item);

  HWND window_ = nullptr;
  HINSTANCE instance_ = nullptr;
  Catalogue* catalogue_ = nullptr;
  SkinStrip* strip_ = nullptr;
  int* listFlag_ = nullptr;
  TrackFilter filter_;
};

}  // namespace tuho
