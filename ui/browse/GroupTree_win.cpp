#include "ui/browse/GroupTree.h"

#include <memory>

#include "ui/UiIds.h"
#include "ui/browse/TrackList.h"

namespace tuho {

// The data of one node: the values of the levels above it (its own value
// is its text), its level and whether its children have been built.
struct GroupTree::Node {
  std::optional<std::string> genre;
  std::optional<std::string> artist;
  int level = LEVEL_GENRE;
  bool populated = false;
  int state = READY_NONE;
};

namespace {

std::string itemText(HWND tree, HTREEITEM item) {
  char buffer[512] = {};
  TVITEMA data = {};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = buffer;
  data.cchTextMax = sizeof buffer;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return buffer;
}

void setFilter(TrackFilter& filter, int level, const std::string& value) {
  if (level == LEVEL_GENRE) filter.genre = value;
  if (level == LEVEL_ARTIST) filter.artist = value;
  if (level == LEVEL_ALBUM) filter.album = value;
}

}  // namespace

void GroupTree::attach(HWND mainWindow, HINSTANCE instance, Catalogue* catalogue, TrackList* list) {
  window_ = mainWindow;
  instance_ = instance;
  catalogue_ = catalogue;
  list_ = list;
}

HWND GroupTree::control() const { return GetDlgItem(window_, IDC_TREE); }

GroupTree::Node* GroupTree::nodeOf(HTREEITEM item) {
  TVITEMA data = {};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (!item || !SendMessageA(control(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
  return reinterpret_cast<Node*>(data.lParam);
}

void GroupTree::rebuildTree(int rootLevel) {
  rebuilding_ = true;
  current_ = nullptr;
  SendMessageA(control(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  rootLevel_ = rootLevel;
  buildChildren(TVI_ROOT, rootLevel - 1);
}

TrackFilter GroupTree::pathOf(HTREEITEM item) {
  TrackFilter filter;
  Node* node = nodeOf(item);
  if (!node) return filter;
  filter.genre = node->genre;
  filter.artist = node->artist;
  setFilter(filter, node->level, itemText(control(), item));
  return filter;
}

int GroupTree::imageFor(int level, int state, int kind) const {
  const int normal[] = {genreImage, artistImage, albumImage};
  const int ready[] = {genreReadyImage, artistReadyImage, albumReadyImage};
  const int folders[] = {genreFolderImage, artistFolderImage, albumFolderImage};
  if (level < LEVEL_GENRE || level > LEVEL_ALBUM) return 0;
  if (state != READY_NONE) return ready[level];
  return isFolderKind(kind) ? folders[level] : normal[level];
}

void GroupTree::insertNode(HTREEITEM parent, const Node& node, const GroupValue& value) {
  auto data = std::make_unique<Node>(node);
  data->state = value.state;
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_SORT;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<char*>(value.value.c_str());
  insert.item.iImage = insert.item.iSelectedImage = imageFor(node.level, value.state, value.kind);
  insert.item.cChildren = node.level < LEVEL_ALBUM ? 1 : 0;
  insert.item.lParam = reinterpret_cast<LPARAM>(data.get());
  if (SendMessageA(control(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert))) data.release();
}

void GroupTree::buildChildren(HTREEITEM parent, int parentLevel) {
  TrackFilter filter;
  Node child;
  child.level = parentLevel + 1;
  if (parent != TVI_ROOT) {
    Node* node = nodeOf(parent);
    if (!node) return;
    node->populated = true;
    filter = pathOf(parent);
  }
  // The path above a node is what its children carry along.
  if (rootLevel_ <= LEVEL_GENRE && LEVEL_GENRE < child.level) child.genre = filter.genre;
  if (rootLevel_ <= LEVEL_ARTIST && LEVEL_ARTIST < child.level) child.artist = filter.artist;
  for (const GroupValue& value : catalogue_->groupValues(filter, child.level).values) {
    insertNode(parent, child, value);
  }
  if (rebuilding_) {
    rebuilding_ = false;
    HTREEITEM first = reinterpret_cast<HTREEITEM>(SendMessageA(control(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (first) SendMessageA(control(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
  }
}

void GroupTree::fillFor(HTREEITEM item) {
  current_ = item;
  list_->fillList(pathOf(item));
}

LRESULT GroupTree::onTreeNotify(NMHDR* notification) {
  auto* view = reinterpret_cast<NMTREEVIEWA*>(notification);
  switch (notification->code) {
    case TVN_ITEMEXPANDINGA: {
      Node* node = nodeOf(view->itemNew.hItem);
      if (view->action == TVE_EXPAND && node && !node->populated) buildChildren(view->itemNew.hItem, node->level);
      break;
    }
    case TVN_SELCHANGEDA:
      if (!rebuilding_ && view->itemNew.hItem) fillFor(view->itemNew.hItem);
      break;
    case TVN_DELETEITEMA:
      delete reinterpret_cast<Node*>(view->itemOld.lParam);
      break;
    default:
      break;
  }
  return 0;
}

void GroupTree::deleteTreeItem(HTREEITEM item) {
  if (item && nodeOf(item)) SendMessageA(control(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void GroupTree::markCurrent(int state) {
  HWND tree = control();
  auto mark = [&](HTREEITEM item) {
    Node* node = nodeOf(item);
    if (!node) return;
    node->state = state;
    TVITEMA data = {};
    data.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    data.hItem = item;
    data.iImage = data.iSelectedImage = imageFor(node->level, state, -1);
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  };
  if (!current_) return;
  mark(current_);
  for (HTREEITEM child = TreeView_GetChild(tree, current_); child; child = TreeView_GetNextSibling(tree, child)) {
    mark(child);
  }
}

}  // namespace tuho
