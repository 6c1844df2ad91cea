// The group tree: the catalogue grouped on up to three levels (genre,
// artist, album) below the level the grouping combo box chooses. Children
// are built the first time a node is expanded; selecting a node fills the
// track list with its tracks.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "catalogue/Catalogue.h"

namespace tuho {

class TrackList;

class GroupTree {
 public:
  // Image-list indices: normal, ready and folder images of each level.
  int genreImage = 0, artistImage = 0, albumImage = 0;
  int genreReadyImage = 0, artistReadyImage = 0, albumReadyImage = 0;
  int genreFolderImage = 0, artistFolderImage = 0, albumFolderImage = 0;

  void attach(HWND mainWindow, HINSTANCE instance, Catalogue* catalogue, TrackList* list);
  HWND control() const;
  int rootLevel() const { return rootLevel_; }
  void rebuildTree(int rootLevel);
  LRESULT onTreeNotify(NMHDR* notification);
  void deleteTreeItem(HTREEITEM item);
  void markCurrentReady() { markCurrent(READY_ALL); }
  void markCurrentUnready() { markCurrent(READY_NONE); }
  HTREEITEM currentNode() const { return current_; }

 private:
  struct Node;
  void buildChildren(HTREEITEM parent, int parentLevel);
  void insertNode(HTREEITEM parent, const Node& node, const GroupValue& value);
  TrackFilter pathOf(HTREEITEM item);
  int imageFor(int level, int state, int kind) const;
  void markCurrent(int state);
  void fillFor(HTREEITEM item);
  Node* nodeOf(HTREEITEM item);

  HWND window_ = nullptr;
  HINSTANCE instance_ = nullptr;
  Catalogue* catalogue_ = nullptr;
  TrackList* list_ = nullptr;
  int rootLevel_ = LEVEL_GENRE;
  bool rebuilding_ = false;
  HTREEITEM current_ = nullptr;
};

}  // namespace tuho
