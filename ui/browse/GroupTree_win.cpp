#include "ui/browse/GroupTree.h"

#include <algorithm>
#include <memory>

#include "ui/browse/GroupNode.h"
#include "ui/kit/ContextMenu.h"

namespace tuho {

namespace {

void setValue(TrackFilter& path, GroupLevel level, const std::string& value) {
  if (level == LEVEL_GENRE) path.genre = value;
  if (level == LEVEL_ARTIST) path.artist = value;
  if (level == LEVEL_ALBUM) path.album = value;
}

// The order a tree view gives children inserted with TVI_SORT, one at a
// time: by the control's text comparison, equal texts in the order they
// came. A level sorted here once and appended with TVI_LAST comes out the
// same, without the control comparing each new node with its siblings.
void sortLikeTheControl(std::vector<const GroupValue*>& values) {
  std::stable_sort(values.begin(), values.end(), [](const GroupValue* a, const GroupValue* b) {
    return lstrcmpA(a->value.c_str(), b->value.c_str()) < 0;
  });
}

}  // namespace

std::vector<GroupLevel> levelsFrom(GroupLevel rootLevel) {
  std::vector<GroupLevel> levels;
  for (std::optional<GroupLevel> level = rootLevel; level; level = levelBelow(*level)) levels.push_back(*level);
  return levels;
}

std::optional<GroupLevel> levelBelow(GroupLevel level) {
  switch (level) {
    case LEVEL_GENRE:
    case LEVEL_MEDIA: return LEVEL_ARTIST;
    case LEVEL_ARTIST: return LEVEL_ALBUM;
    default: return std::nullopt;
  }
}

GroupTree::~GroupTree() {
  for (auto& entry : live_) delete entry.second;
}

void GroupTree::attach(HWND control, Catalogue* catalogue, GroupTreeHooks hooks, const TreeImages& images) {
  control_ = control;
  parent_ = GetParent(control);
  catalogue_ = catalogue;
  hooks_ = std::move(hooks);
  images_ = images;
}

GroupNode* GroupTree::nodeOf(HTREEITEM item) const {
  auto found = live_.find(item);
  return found == live_.end() ? nullptr : found->second;
}

NodeRef GroupTree::currentRef() const {
  GroupNode* node = nodeOf(current_);
  return node ? NodeRef{current_, node->serial} : NodeRef{};
}

void GroupTree::rebuildTree(GroupLevel rootLevel) {
  rebuilding_ = true;
  SendMessageA(control(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  childIndex_.clear();
  current_ = nullptr;
  rootLevel_ = rootLevel;
  buildChildren(TVI_ROOT, rootLevel);
}

void GroupTree::selectFirstRoot() {
  HTREEITEM first = related(control(), nullptr, TVGN_ROOT);
  if (first) SendMessageA(control(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
}

TrackFilter GroupTree::pathOf(HTREEITEM item) const {
  TrackFilter path;
  GroupNode* node = nodeOf(item);
  if (!node) return path;
  path.genre = node->genre;
  path.artist = node->artist;
  path.sourceId = node->sourceId;
  setValue(path, node->level, node->value);
  return path;
}

// The text of the path's node at a level: a media node shows its source's
// name.
std::optional<std::string> GroupTree::valueOn(const TrackFilter& path, GroupLevel level) const {
  switch (level) {
    case LEVEL_GENRE: return path.genre.value_or("");
    case LEVEL_ARTIST: return path.artist.value_or("");
    case LEVEL_ALBUM: return path.album.value_or("");
    default: break;
  }
  if (!path.sourceId) return std::nullopt;
  std::string name = catalogue_->sourceById(*path.sourceId).name;
  if (name.empty()) return std::nullopt;
  return name;
}

int GroupTree::imageFor(GroupLevel level, ReadyState state, bool folderKind) const {
  if (state != ReadyState::kNone) return images_.ready[level];
  return folderKind ? images_.folder[level] : images_.normal[level];
}

// A node of the given level on the path: it carries the values of the
// levels between the root level and its own.
GroupNode GroupTree::childOf(const TrackFilter& path, GroupLevel level, const std::string& value) const {
  GroupNode node;
  node.value = value;
  node.level = level;
  for (GroupLevel above : levelsFrom(rootLevel_)) {
    if (above == level) break;
    if (above == LEVEL_GENRE) node.genre = path.genre;
    if (above == LEVEL_ARTIST) node.artist = path.artist;
    if (above == LEVEL_MEDIA) node.sourceId = path.sourceId;
  }
  if (level == LEVEL_MEDIA) node.sourceId = path.sourceId;
  return node;
}

// The control asks for a node's image when it draws it (TVN_GETDISPINFO):
// marking thousands of nodes ready then changes no item in the control, each
// change of which costs Wine's tree view milliseconds while it is shown.
HTREEITEM GroupTree::insertNode(HTREEITEM parent, const GroupNode& node, HTREEITEM after, bool open) {
  auto data = std::make_unique<GroupNode>(node);
  data->serial = nextSerial_++;
  data->parent = parent == TVI_ROOT ? nullptr : parent;
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<char*>(data->value.c_str());
  insert.item.iImage = insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.cChildren = levelBelow(node.level) ? 1 : 0;
  insert.item.lParam = reinterpret_cast<LPARAM>(data.get());
  if (open) {
    insert.item.mask |= TVIF_STATE;
    insert.item.state = insert.item.stateMask = TVIS_EXPANDED;
  }
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(control(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!item) return item;
  live_[item] = data.release();
  auto index = childIndex_.find(parent);
  if (index != childIndex_.end()) index->second.emplace(node.value, item);
  return item;
}

void GroupTree::buildChildren(HTREEITEM parent, GroupLevel level) {
  int made = 0;
  buildChildren(parent, level, made, false);
}

// With `open`, the children are made open: their own children are to be
// built next, while an ancestor is closed (numpad *).
void GroupTree::buildChildren(HTREEITEM parent, GroupLevel level, int& made, bool open) {
  TrackFilter path;
  if (parent != TVI_ROOT) {
    GroupNode* node = nodeOf(parent);
    if (!node) return;
    node->populated = true;
    path = pathOf(parent);
  }
  if (hooks_.building) hooks_.building(true);
  GroupNode child = childOf(path, level, std::string());
  ValueList values = catalogue_->groupValues(path, child.level);
  // Media nodes are named by their source; its id is what their tracks carry.
  std::vector<int> sourceIds;
  if (level == LEVEL_MEDIA) {
    for (const GroupValue& value : values.values) sourceIds.push_back(catalogue_->sourceIdNamed(value.value));
  }
  // One repaint for all the new nodes: a tree that updates itself after
  // each insertion takes several times as long to fill.
  std::vector<const GroupValue*> sorted;
  sorted.reserve(values.values.size());
  for (const GroupValue& value : values.values) sorted.push_back(&value);
  sortLikeTheControl(sorted);
  beginBulkChange();
  // The map of the children by text is made with them: a later search of
  // it then walks no other node.
  childIndex_[parent].clear();
  for (const GroupValue* value : sorted) {
    child.state = value->state;
    child.value = value->value;
    if (level == LEVEL_MEDIA) child.sourceId = sourceIds[static_cast<size_t>(value - values.values.data())];
    child.folderKind = isFolderKind(value->kind);
    insertNode(parent, child, TVI_LAST, open);
    if (hooks_.nodesMade) hooks_.nodesMade(++made);
  }
  endBulkChange();
  if (hooks_.building) hooks_.building(false);
  if (rebuilding_) finishRebuild();
}

// The rebuilt tree is painted before the first root's tracks fill the list:
// with a large catalogue the user sees the groups at once and the list a
// moment later, instead of both only when the list is full.
void GroupTree::finishRebuild() {
  HTREEITEM first = related(control(), nullptr, TVGN_ROOT);
  // With no root node nothing gets selected: the list must not go on
  // showing (and playing) the tracks of a source just removed.
  if (!first) {
    rebuilding_ = false;
    hooks_.showNoTracks();
    return;
  }
  selectFirstRoot();  // still rebuilding: the selection does not fill the list
  rebuilding_ = false;
  current_ = first;
  UpdateWindow(control());
  if (GroupNode* node = nodeOf(first)) {
    PostMessageA(parent_, MMSG_TREE_FILL_LIST, node->serial, reinterpret_cast<LPARAM>(first));
  }
}

void GroupTree::fillListFor(HTREEITEM item, unsigned serial) {
  GroupNode* node = nodeOf(item);
  if (node && node->serial == serial && item == current_) fillFor(item);
}

void GroupTree::fillFor(HTREEITEM item) {
  current_ = item;
  hooks_.showTracks(pathOf(item));
}

LRESULT GroupTree::onTreeNotify(NMHDR* notification) {
  auto* view = reinterpret_cast<NMTREEVIEWA*>(notification);
  switch (notification->code) {
    case TVN_ITEMEXPANDINGA: {
      GroupNode* node = nodeOf(view->itemNew.hItem);
      std::optional<GroupLevel> below = node ? levelBelow(node->level) : std::nullopt;
      if (view->action == TVE_EXPAND && below && !node->populated) buildChildren(view->itemNew.hItem, *below);
      break;
    }
    case TVN_GETDISPINFOA: {
      auto& item = reinterpret_cast<NMTVDISPINFOA*>(notification)->item;
      if (GroupNode* node = nodeOf(item.hItem)) {
        item.iImage = item.iSelectedImage = imageFor(node->level, node->state, node->folderKind);
      }
      break;
    }
    case TVN_SELCHANGEDA:
      if (!rebuilding_ && !regrowing_ && view->itemNew.hItem) fillFor(view->itemNew.hItem);
      break;
    case NM_RCLICK:
      onRightClick(notification);
      break;
    case TVN_DELETEITEMA:
      onDeleteItem(*view);
      break;
    default:
      break;
  }
  return 0;
}

HTREEITEM GroupTree::showSelected() {
  auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(control(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (selected && selected != current_ && nodeOf(selected)) fillFor(selected);
  return selected;
}

void GroupTree::onRightClick(NMHDR* notification) {
  POINT screen = messagePoint();
  TVHITTESTINFO hit = {};
  hit.pt = screen;
  ScreenToClient(notification->hwndFrom, &hit.pt);
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(control(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!item || !(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON))) return;
  // The list shows the clicked node's tracks; the highlight stays put.
  fillFor(item);
  hooks_.menuAt(screen);
}

void GroupTree::onDeleteItem(const NMTREEVIEWA& view) {
  HTREEITEM item = view.itemOld.hItem;
  if (!item) return;
  auto found = live_.find(item);
  if (found == live_.end()) return;
  // The node knows its parent: asking the control costs it a search of all
  // its nodes under Wine, for every node a bulk deletion deletes.
  GroupNode* node = found->second;
  HTREEITEM parent = node->parent;
  if (!rebuilding_ && !regrowing_) postParentIfEmptied(item, parent);
  forgetChild(item, parent);
  live_.erase(found);
  if (current_ == item) current_ = nullptr;
  if (node->magic == GroupNode::kMagic) delete node;
}

// A node whose last child goes is deleted too, later, by a posted message:
// never inside the control's own delete notification. A parent whose
// children are indexed by text and holds others needs no look at the tree.
void GroupTree::postParentIfEmptied(HTREEITEM item, HTREEITEM parent) {
  GroupNode* node = nodeOf(parent);
  if (!node) return;
  // The map holds live children only (a bulk change's doomed ones have
  // left it): any child in it but this one keeps the parent.
  auto index = childIndex_.find(parent);
  if (index != childIndex_.end()) {
    const auto& children = index->second;
    if (children.size() > 1 || (children.size() == 1 && children.begin()->second != item)) return;
  }
  if (isBeingDeleted(parent)) return;
  HWND tree = control();
  HTREEITEM first = related(tree, parent, TVGN_CHILD);
  if (first == item && !related(tree, first, TVGN_NEXT)) {
    PostMessageA(parent_, MMSG_TREE_DELETE_ITEM, node->serial, reinterpret_cast<LPARAM>(parent));
  }
}

// True for the node this tree is deleting and every node below it: their
// parents go with them and need no posted deletion.
bool GroupTree::isBeingDeleted(HTREEITEM item) const {
  for (HTREEITEM at = item; at && deleting_; at = related(control(), at, TVGN_PARENT)) {
    if (at == deleting_) return true;
  }
  return false;
}

void GroupTree::deleteNode(HTREEITEM item) {
  HTREEITEM outer = deleting_;
  deleting_ = item;
  SendMessageA(control(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
  deleting_ = outer;
}

void GroupTree::deleteTreeItem(HTREEITEM item, unsigned serial) {
  GroupNode* node = nodeOf(item);
  if (node && node->serial == serial) deleteNode(item);
}

void GroupTree::postDeleteCurrent() {
  NodeRef node = currentRef();
  if (node.item) PostMessageA(parent_, MMSG_TREE_DELETE_ITEM, node.serial, reinterpret_cast<LPARAM>(node.item));
}

void GroupTree::ensurePath(const TrackFilter& path) { walkPath(path, PATH_ADD); }

void GroupTree::prunePath(const TrackFilter& path, const std::vector<GroupLevel>& goneLevels) {
  walkPath(path, PATH_REMOVE, goneLevels);
}

void GroupTree::pruneEmptied(const TrackFilter& path) { walkPath(path, PATH_PRUNE_EMPTIED); }

void GroupTree::showCurrent() {
  if (current_ && nodeOf(current_)) {
    fillFor(current_);
  } else {
    hooks_.showNoTracks();
  }
}

void GroupTree::beginBulkChange() {
  if (bulkDepth_++ == 0) SendMessageA(control(), WM_SETREDRAW, FALSE, 0);
}

void GroupTree::endBulkChange() {
  if (bulkDepth_ == 0) return;
  if (bulkDepth_ == 1) deleteDoomed();  // still drawing nothing
  if (--bulkDepth_ > 0) return;
  SendMessageA(control(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control(), nullptr, TRUE);
}

// Made from the nodes' own records: walking the control's children would
// cost Wine's tree view a search of all its nodes for every child.
std::unordered_map<std::string, HTREEITEM>& GroupTree::childrenByText(HTREEITEM parent) {
  auto found = childIndex_.find(parent);
  if (found != childIndex_.end()) return found->second;
  auto& children = childIndex_[parent];
  const HTREEITEM above = parent == TVI_ROOT ? nullptr : parent;
  for (const auto& [item, node] : live_) {
    if (node->parent == above) children.emplace(node->value, item);
  }
  return children;
}

// A node being deleted leaves the maps: its own children's and its parent's.
// A rebuild drops them all at once.
void GroupTree::forgetChild(HTREEITEM item, HTREEITEM parent) {
  if (childIndex_.empty() || rebuilding_) return;
  childIndex_.erase(item);
  auto index = childIndex_.find(parent ? parent : TVI_ROOT);
  if (index == childIndex_.end()) return;
  GroupNode* node = nodeOf(item);
  if (!node) return;
  auto entry = index->second.find(node->value);
  if (entry != index->second.end() && entry->second == item) index->second.erase(entry);
}

HTREEITEM GroupTree::findChild(HTREEITEM parent, const std::string& value) {
  const auto& children = childrenByText(parent);
  auto found = children.find(value);
  return found == children.end() ? nullptr : found->second;
}

// Descends from the root level through nodes whose children exist (the
// others get theirs from the catalogue when expanded). Adding inserts the
// first missing node; removing deletes the first node found at a gone level;
// pruning deletes the first node found without tracks.
void GroupTree::walkPath(const TrackFilter& path, PathMode mode, const std::vector<GroupLevel>& goneLevels) {
  HTREEITEM parent = TVI_ROOT;
  for (GroupLevel level : levelsFrom(rootLevel_)) {
    std::optional<std::string> value = valueOn(path, level);
    if (!value) return;
    HTREEITEM found = findChild(parent, *value);
    if (!found) {
      if (mode == PATH_ADD) insertNode(parent, childOf(path, level, *value), TVI_SORT);
      return;
    }
    const bool empty = mode == PATH_PRUNE_EMPTIED && catalogue_->countTracks(pathOf(found)) == 0;
    const bool gone = mode == PATH_REMOVE && std::find(goneLevels.begin(), goneLevels.end(), level) != goneLevels.end();
    if (gone || empty) {
      removeNode(found);
      return;
    }
    // A node whose children were never built gets them all from the
    // catalogue when it is expanded. Its own flag says so without asking
    // the control: Wine's tree view looks every handle it is given up in a
    // list of all its nodes, which made each edited row cost more the
    // larger the tree.
    GroupNode* node = nodeOf(found);
    if (!node || !node->populated) return;
    parent = found;
  }
}

void GroupTree::markNode(NodeRef target, bool ready) {
  GroupNode* targetNode = nodeOf(target.item);
  if (!targetNode || targetNode->serial != target.serial) return;
  const ReadyState state = ready ? ReadyState::kAll : ReadyState::kNone;
  targetNode->state = state;
  for (const auto& [value, child] : childrenByText(target.item)) {
    if (GroupNode* node = nodeOf(child)) node->state = state;
  }
  InvalidateRect(control(), nullptr, FALSE);  // the images are asked for again
}

}  // namespace tuho
