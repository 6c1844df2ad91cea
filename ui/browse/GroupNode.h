// The group tree's own record of one node, shared by the files that make
// up the tree.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "catalogue/Catalogue.h"

namespace tuho {

// The data of one node: its own value (the text it shows, kept whole here:
// the control hands texts back only into a buffer of a size chosen in
// advance), the values of the levels above it, its level, whether its
// children have been built, how many of its tracks are ready, and the
// serial that tells it from a later node given the same handle.
struct GroupNode {
  static constexpr int kMagic = 1138;  // tells the tree's own nodes from any other item data

  std::string value;
  std::optional<std::string> genre;
  std::optional<std::string> artist;
  std::optional<int> sourceId;  // grouped by media: the source of the node or of the one above it
  GroupLevel level = LEVEL_GENRE;
  bool populated = false;
  ReadyState state = ReadyState::kNone;
  bool folderKind = false;  // its tracks are on a folder, not a disc: the folder images
  int magic = kMagic;
  unsigned serial = 0;
  HTREEITEM parent = nullptr;  // null for a root
};

// The node related to `item` as the tree view's TVGN_* code says.
inline HTREEITEM related(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace tuho
