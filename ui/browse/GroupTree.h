// The group tree: the catalogue grouped on up to three levels (genre,
// artist, album) below the level the grouping combo box chooses. Children
// are built the first time a node is expanded; selecting a node fills the
// track list with its tracks. Edits and deletions keep it in step by adding
// missing nodes and removing emptied ones.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "catalogue/Catalogue.h"
#include "ui/browse/ContextMenu.h"

namespace tuho {

class SkinStrip;
class TrackList;

// A node as it was when it was named: the handle alone is not enough, since
// a freed handle can be handed out again to a node inserted later.
struct NodeRef {
  HTREEITEM item = nullptr;
  unsigned serial = 0;
};

class GroupTree {
 public:
  static constexpr int GROUP_NODE_MAGIC = 1138;

  // Image-list indices: normal, ready and folder images of each level.
  int genreImage = 0, artistImage = 0, albumImage = 0;
  int genreReadyImage = 0, artistReadyImage = 0, albumReadyImage = 0;
  int genreFolderImage = 0, artistFolderImage = 0, albumFolderImage = 0;

  GroupTree() = default;
  GroupTree(const GroupTree&) = delete;
  GroupTree& operator=(const GroupTree&) = delete;
  ~GroupTree();

  void attach(HWND mainWindow, HINSTANCE instance, Catalogue* catalogue, TrackList* list, SkinStrip* strip,
              const int* listFlag);
  HWND control() const;
  int rootLevel() const { return rootLevel_; }
  void rebuildTree(int rootLevel);
  void selectFirstRoot();
  LRESULT onTreeNotify(NMHDR* notification);
  // MMSG_TREE_DELETE_ITEM: deletes the node only while it is the same live
  // node the message named.
  void deleteTreeItem(HTREEITEM item, unsigned serial);
  void postDeleteCurrent();
  // MMSG_TREE_FILL_LIST: fills the list with the node's tracks while it is
  // still the same live node and the current one.
  void fillListFor(HTREEITEM item, unsigned serial);
  void ensurePath(const TrackFilter& path);
  void prunePath(const TrackFilter& path, int targetLevel);
  // Around many path changes at once: the tree is drawn once at the end,
  // and each parent's children are looked up by text from a map made the
  // first time that parent is searched. Nests.
  void beginBulkChange();
  void endBulkChange();
  void markCurrentReady() { markNode(currentRef(), true); }
  void markCurrentUnready() { markNode(currentRef(), false); }
  // Marks a node and its direct children when that node still lives.
  void markNode(NodeRef node, bool ready);
  HTREEITEM currentNode() const { return current_; }
  NodeRef currentRef() const;
  // The context menu's entries, top to bottom, for the present button states.
  MenuEntries contextMenuEntries() const;

 private:
  struct GroupNode;
  enum PathMode { PATH_ADD, PATH_REMOVE };
  void buildChildren(HTREEITEM parent, int parentLevel);
  void finishRebuild();
  HTREEITEM insertNode(HTREEITEM parent, const GroupNode& node, const std::string& text, int image,
                       HTREEITEM after);
  GroupNode childOf(const TrackFilter& path, int level) const;
  TrackFilter pathOf(HTREEITEM item);
  int imageFor(int level, int state, int kind) const;
  void fillFor(HTREEITEM item);
  GroupNode* nodeOf(HTREEITEM item) const;
  void onRightClick(NMHDR* notification);
  void onDeleteItem(const NMTREEVIEWA& view);
  void postParentIfEmptied(HTREEITEM item);
  bool isBeingDeleted(HTREEITEM item) const;
  void deleteNode(HTREEITEM item);
  void walkPath(const TrackFilter& path, PathMode mode, int targetLevel);
  HTREEITEM findChild(HTREEITEM parent, const std::string& value);
  std::unordered_map<std::string, HTREEITEM>& childrenByText(HTREEITEM parent);
  void forgetChild(HTREEITEM item);

  HWND window_ = nullptr;
  mutable HWND treeControl_ = nullptr;
  HINSTANCE instance_ = nullptr;
  Catalogue* catalogue_ = nullptr;
  TrackList* list_ = nullptr;
  SkinStrip* strip_ = nullptr;
  const int* listFlag_ = nullptr;
  int rootLevel_ = LEVEL_GENRE;
  bool rebuilding_ = false;
  HTREEITEM current_ = nullptr;
  HTREEITEM deleting_ = nullptr;  // the node this tree is deleting, with its subtree
  std::unordered_map<HTREEITEM, GroupNode*> live_;
  unsigned nextSerial_ = 1;
  int bulkDepth_ = 0;
  // During a bulk change: the children of the parents searched, by text.
  std::unordered_map<HTREEITEM, std::unordered_map<std::string, HTREEITEM>> childIndex_;
};

}  // namespace tuho
