// Deleting the nodes a bulk change emptied. One at a time, each deletion
// costs Wine's tree view a few searches of a list of all its nodes, so
// emptying thousands of one parent's children cost more per node the larger
// the tree. When most of a parent's children go, the parent is deleted with
// all of them in one message and built again from the catalogue, and what
// the user saw below it comes back: the open nodes, the selection, the node
// the list came from and the scroll position.
#include <algorithm>

#include "ui/browse/GroupNode.h"
#include "ui/browse/GroupTree.h"

namespace tuho {

namespace {

// Below this many children going, deleting them one at a time is cheaper
// than building their parent again.
constexpr size_t kRegrowAt = 256;

bool isExpanded(HWND tree, HTREEITEM item) {
  return (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

}  // namespace

// Outside a bulk change a node goes at once; within one it waits for the
// end, and leaves its parent's children map now so that a path added
// meanwhile gets a node of its own.
void GroupTree::removeNode(HTREEITEM item) {
  GroupNode* node = nodeOf(item);
  if (bulkDepth_ == 0 || !node) {
    deleteNode(item);
    return;
  }
  forgetChild(item, node->parent);
  doomed_[node->parent ? node->parent : TVI_ROOT].push_back(NodeRef{item, node->serial});
}

void GroupTree::deleteDoomed() {
  auto doomed = std::move(doomed_);
  doomed_.clear();
  auto live = [this](const NodeRef& ref) {
    GroupNode* node = nodeOf(ref.item);
    return node && node->serial == ref.serial;
  };
  for (const auto& [parent, refs] : doomed) {
    std::unordered_set<HTREEITEM> items;
    for (const NodeRef& ref : refs) {
      if (live(ref)) items.insert(ref.item);
    }
    if (items.size() >= kRegrowAt && regrow(parent, items)) continue;
    // Deleting one node can take none of its siblings with it, but an
    // earlier parent's regrowth can have taken these.
    for (const NodeRef& ref : refs) {
      if (live(ref)) deleteNode(ref.item);
    }
  }
}

bool GroupTree::isUnder(HTREEITEM item, const std::unordered_set<HTREEITEM>& nodes) const {
  for (GroupNode* node = nodeOf(item); node; node = nodeOf(node->parent)) {
    if (nodes.count(item)) return true;
    item = node->parent;
  }
  return false;
}

// The values from `top` (exclusive) down to `item`, or nothing when `item`
// is not below `top`. Below a doomed node the chain stops at that node's
// parent: the nearest node that stays.
std::optional<std::vector<std::string>> GroupTree::chainTo(HTREEITEM top, HTREEITEM item,
                                                           const std::unordered_set<HTREEITEM>& doomed) const {
  std::vector<std::string> values;
  for (HTREEITEM at = item; at != top;) {
    GroupNode* node = nodeOf(at);
    if (!node) return std::nullopt;
    if (doomed.count(at)) {
      values.clear();
    } else {
      values.push_back(node->value);
    }
    at = node->parent ? node->parent : TVI_ROOT;
  }
  std::reverse(values.begin(), values.end());
  return values;
}

// The deepest node of the chain that exists below `top`, and how many of
// the chain's values it got through.
HTREEITEM GroupTree::follow(HTREEITEM top, const std::vector<std::string>& chain, size_t& reached) {
  HTREEITEM at = top;
  reached = 0;
  for (const std::string& value : chain) {
    HTREEITEM child = findChild(at, value);
    if (!child) break;
    at = child;
    ++reached;
  }
  return at;
}

// Builds `parent` again when most of its children are doomed and none of
// them holds the node the list came from (deleting that one lets the
// control choose the next node, as a single deletion does). A parent left
// without children goes itself.
bool GroupTree::regrow(HTREEITEM parent, const std::unordered_set<HTREEITEM>& doomed) {
  if (isUnder(current_, doomed)) return false;
  if (parent != TVI_ROOT && !nodeOf(parent)) return false;
  const size_t staying = childrenByText(parent).size();
  if (staying > doomed.size()) return false;
  if (staying == 0) {
    if (parent == TVI_ROOT) return false;
    deleteNode(parent);
    return true;
  }
  HWND tree = control();
  // What the user sees below the parent, named by values, since every
  // handle below it changes.
  auto selected = related(tree, nullptr, TVGN_CARET);
  auto firstVisible = related(tree, nullptr, TVGN_FIRSTVISIBLE);
  auto selectedChain = chainTo(parent, selected, doomed);
  auto currentChain = chainTo(parent, current_, doomed);
  auto firstVisibleChain = chainTo(parent, firstVisible, doomed);
  std::vector<std::vector<std::string>> open;
  for (const auto& [item, node] : live_) {
    if (!node->populated || isUnder(item, doomed)) continue;
    auto chain = chainTo(parent, item, doomed);
    if (chain && !chain->empty() && isExpanded(tree, item)) open.push_back(std::move(*chain));
  }
  std::sort(open.begin(), open.end(), [](const auto& a, const auto& b) { return a.size() < b.size(); });

  regrowing_ = true;
  HTREEITEM top = regrowNode(parent);
  if (!top) {
    if (currentChain) current_ = nullptr;
    regrowing_ = false;
    return true;
  }
  for (const auto& chain : open) {
    size_t reached = 0;
    HTREEITEM item = follow(top, chain, reached);
    if (reached == chain.size()) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  }
  size_t reached = 0;
  if (currentChain) {
    HTREEITEM item = follow(top, *currentChain, reached);
    current_ = reached == currentChain->size() && item != TVI_ROOT ? item : nullptr;
  }
  if (selectedChain) {
    HTREEITEM item = follow(top, *selectedChain, reached);
    if (item && item != TVI_ROOT) SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }
  if (firstVisibleChain) {
    HTREEITEM item = follow(top, *firstVisibleChain, reached);
    if (item && item != TVI_ROOT) SendMessageA(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(item));
  }
  regrowing_ = false;
  return true;
}

// Deletes `parent` with everything below it and puts it back where it was,
// its children built from the catalogue if it was open. The roots are all
// deleted and built again. Returns the node put back (TVI_ROOT for roots).
HTREEITEM GroupTree::regrowNode(HTREEITEM parent) {
  HWND tree = control();
  if (parent == TVI_ROOT) {
    deleteNode(TVI_ROOT);
    buildChildren(TVI_ROOT, rootLevel_);
    return TVI_ROOT;
  }
  GroupNode again = *nodeOf(parent);
  again.populated = false;
  const bool wasOpen = isExpanded(tree, parent);
  HTREEITEM before = related(tree, parent, TVGN_PREVIOUS);
  HTREEITEM above = again.parent ? again.parent : TVI_ROOT;
  deleteNode(parent);
  HTREEITEM item = insertNode(above, again, before ? before : TVI_FIRST);
  if (item && wasOpen) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  return item;
}

}  // namespace tuho
