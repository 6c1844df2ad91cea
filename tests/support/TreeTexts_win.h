// Reading a tree view's nodes by their texts, for the UI tests and the
// window bench: the texts of a node's children (the roots when the parent
// is null), and the child that carries a text.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace tuho::test {

inline HTREEITEM firstChild(HWND tree, HTREEITEM parent) {
  return parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree);
}

inline std::vector<std::string> childTexts(HWND tree, HTREEITEM parent) {
  std::vector<std::string> texts;
  for (HTREEITEM child = firstChild(tree, parent); child; child = TreeView_GetNextSibling(tree, child)) {
    char text[256] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = child;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    TreeView_GetItem(tree, &item);
    texts.push_back(text);
  }
  return texts;
}

// The first child with this text, or null.
inline HTREEITEM childNamed(HWND tree, HTREEITEM parent, const std::string& text) {
  HTREEITEM child = firstChild(tree, parent);
  for (const std::string& each : childTexts(tree, parent)) {
    if (each == text) return child;
    child = TreeView_GetNextSibling(tree, child);
  }
  return nullptr;
}

}  // namespace tuho::test
