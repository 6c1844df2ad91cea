// The group tree: the catalogue grouped on up to three levels (genre,
// artist, album) below the level the grouping combo box chooses, or by
// media source with its artists and their albums below it. Children
// are built the first time a node is expanded; selecting a node shows its
// tracks in the track list. Edits and deletions keep it in step by adding
// missing nodes and removing emptied ones. It knows the list only through
// the hooks the main window gives it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/Catalogue.h"

namespace tuho {

// Messages the tree posts to its parent window, which hands them back to
// deleteTreeItem and fillListFor: wParam the node's serial, lParam the item.
constexpr unsigned MMSG_TREE_DELETE_ITEM = 2129;
constexpr unsigned MMSG_TREE_FILL_LIST = 2132;

// A node as it was when it was named: the handle alone is not enough, since
// a freed handle can be handed out again to a node inserted later.
struct NodeRef {
  HTREEITEM item = nullptr;
  unsigned serial = 0;
};

// Image-list indices of one kind of image for the genre, artist and album
// levels; a media source's node shows the album level's (a disc or a folder).
struct LevelImages {
  std::array<int, 3> byLevel{};
  int operator[](GroupLevel level) const {
    return byLevel[static_cast<size_t>(level == LEVEL_MEDIA ? levelNumber(LEVEL_ALBUM) : levelNumber(level))];
  }
};

// Image-list indices of each level's normal, ready and folder images.
struct TreeImages {
  LevelImages normal;
  LevelImages ready;
  LevelImages folder;
};

// The levels a tree shows from its root level down, and the level below one.
std::vector<GroupLevel> levelsFrom(GroupLevel rootLevel);
std::optional<GroupLevel> levelBelow(GroupLevel level);

// What the tree asks of the rest of the window.
struct GroupTreeHooks {
  std::function<void(const TrackFilter&)> showTracks;  // the current node's tracks
  std::function<void()> showNoTracks;                  // no node is current any more
  std::function<void(POINT)> menuAt;                   // a node was right-clicked (its tracks shown)
  std::function<void(bool)> building;                  // true before a level's nodes are made, false after
  std::function<void(int)> nodesMade;                  // while a level is built: how many nodes so far
};

struct GroupNode;  // the tree's own record of a node (GroupNode.h)

class GroupTree {
 public:
  GroupTree() = default;
  GroupTree(const GroupTree&) = delete;
  GroupTree& operator=(const GroupTree&) = delete;
  ~GroupTree();

  // The tree view control; its parent gets the tree's posted messages.
  void attach(HWND control, Catalogue* catalogue, GroupTreeHooks hooks, const TreeImages& images);
  HWND control() const { return control_; }
  const TreeImages& images() const { return images_; }
  GroupLevel rootLevel() const { return rootLevel_; }
  void rebuildTree(GroupLevel rootLevel);
  LRESULT onTreeNotify(NMHDR* notification);
  // MMSG_TREE_DELETE_ITEM: deletes the node only while it is the same live
  // node the message named.
  void deleteTreeItem(HTREEITEM item, unsigned serial);
  void postDeleteCurrent();
  // MMSG_TREE_FILL_LIST: shows the node's tracks while it is still the same
  // live node and the current one.
  void fillListFor(HTREEITEM item, unsigned serial);
  // A path names a media node by its source id; grouped by media, a path
  // without one leaves the tree as it is.
  void ensurePath(const TrackFilter& path);
  // Deletes the highest node on the path at one of the levels given.
  void prunePath(const TrackFilter& path, const std::vector<GroupLevel>& goneLevels);
  // Deletes the highest node on the path that no track of the catalogue
  // carries any more (the list showed only some of its tracks).
  void pruneEmptied(const TrackFilter& path);
  // Shows the current node's tracks again, or none without one.
  void showCurrent();
  // Around many path changes at once: the tree is drawn once at the end,
  // and the nodes the changes emptied are deleted then, many children of
  // one parent at a time by building the parent again. Nests.
  void beginBulkChange();
  void endBulkChange();
  void markCurrentReady() { markNode(currentRef(), true); }
  void markCurrentUnready() { markNode(currentRef(), false); }
  // Marks a node and its direct children when that node still lives.
  void markNode(NodeRef node, bool ready);
  // Numpad *: the selected node opens with every node below it.
  void openAllBelowSelected();
  HTREEITEM currentNode() const { return current_; }
  // The selected node, its tracks shown in the list first when a right
  // click showed another's; null when none is selected.
  HTREEITEM showSelected();
  NodeRef currentRef() const;

 private:
  enum PathMode { PATH_ADD, PATH_REMOVE, PATH_PRUNE_EMPTIED };
  void selectFirstRoot();
  void buildChildren(HTREEITEM parent, GroupLevel level);
  void buildChildren(HTREEITEM parent, GroupLevel level, int& made, bool open);
  void finishRebuild();
  HTREEITEM insertNode(HTREEITEM parent, const GroupNode& node, HTREEITEM after, bool open = false);
  void openBelow(HTREEITEM item, int& made);
  void setOpen(HTREEITEM item);
  GroupNode childOf(const TrackFilter& path, GroupLevel level, const std::string& value) const;
  TrackFilter pathOf(HTREEITEM item) const;
  std::optional<std::string> valueOn(const TrackFilter& path, GroupLevel level) const;
  int imageFor(GroupLevel level, ReadyState state, bool folderKind) const;
  void fillFor(HTREEITEM item);
  GroupNode* nodeOf(HTREEITEM item) const;
  void onRightClick(NMHDR* notification);
  void onDeleteItem(const NMTREEVIEWA& view);
  void postParentIfEmptied(HTREEITEM item, HTREEITEM parent);
  bool isBeingDeleted(HTREEITEM item) const;
  void deleteNode(HTREEITEM item);
  void removeNode(HTREEITEM item);
  void deleteDoomed();
  bool regrow(HTREEITEM parent, const std::unordered_set<HTREEITEM>& doomed);
  HTREEITEM regrowNode(HTREEITEM parent);
  bool isUnder(HTREEITEM item, const std::unordered_set<HTREEITEM>& nodes) const;
  std::optional<std::vector<std::string>> chainTo(HTREEITEM top, HTREEITEM item,
                                                  const std::unordered_set<HTREEITEM>& doomed) const;
  HTREEITEM follow(HTREEITEM top, const std::vector<std::string>& chain, size_t& reached);
  void walkPath(const TrackFilter& path, PathMode mode, const std::vector<GroupLevel>& goneLevels = {});
  HTREEITEM findChild(HTREEITEM parent, const std::string& value);
  std::unordered_map<std::string, HTREEITEM>& childrenByText(HTREEITEM parent);
  void forgetChild(HTREEITEM item, HTREEITEM parent);

  HWND control_ = nullptr;
  HWND parent_ = nullptr;
  Catalogue* catalogue_ = nullptr;
  GroupTreeHooks hooks_;
  TreeImages images_;
  GroupLevel rootLevel_ = LEVEL_GENRE;
  bool rebuilding_ = false;
  HTREEITEM current_ = nullptr;
  HTREEITEM deleting_ = nullptr;  // the node this tree is deleting, with its subtree
  std::unordered_map<HTREEITEM, GroupNode*> live_;
  unsigned nextSerial_ = 1;
  int bulkDepth_ = 0;
  // Within a bulk change: the nodes to delete at its end, by parent
  // (TVI_ROOT for roots). They have already left the children maps.
  std::unordered_map<HTREEITEM, std::vector<NodeRef>> doomed_;
  bool regrowing_ = false;  // a parent is being built again: its deletion changes nothing else
  // The children of each parent, by text: made with the children (or on
  // the first search of a parent whose children were not built here), kept
  // in step by insertions and deletions, dropped on a rebuild.
  std::unordered_map<HTREEITEM, std::unordered_map<std::string, HTREEITEM>> childIndex_;
};

}  // namespace tuho
