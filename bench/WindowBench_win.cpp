// The main window's bulk actions on a large catalogue (52,000 tracks by
// default and at least: the groups take 26,000 and the engine's own
// deletions as many others), each at 1,000, 5,000 and 20,000 rows so that the cost per row
// shows whether it grows:
//  - Edit Tag on every row of a group, from OK to the window answering,
//    against the same number of in-place rewrites by the engine alone
//    (what `tuhodb edit` does for each id);
//  - deleting the rows, against the same number of engine deletions;
//  - the rows after a delete-copies job re-read by id, and the job's node
//    with its children marked ready and back;
//  - a tree level of that many values, against a bare tree view filled
//    with TVI_LAST and sorted once;
//  - numpad * opening the genre's artists with their albums, against a
//    bare tree view of the same nodes made open;
//  - changing the selection of every row (Ctrl+A, Home, Shift+End, a
//    plain click), against a bare list view of the same rows whose parent
//    ignores its notices; also once with every track listed.
// Figures are ratios within one run. Runs under Wine with a display.
//
// usage: window_bench [TRACKS]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "bench/WindowBenchSupport_win.h"
#include "catalogue/Catalogue.h"
#include "ui/MainWindow.h"
#include "resources/resource.h"
#include "tests/support/TreeTexts_win.h"
#include "ui/UiIds.h"
#include "ui/browse/GroupTree.h"
#include "ui/browse/TrackList.h"

namespace {

using tuho::bench::pump;
using tuho::bench::seconds;

const int kGroups[] = {1000, 5000, 20000};

std::string groupName(int rows) { return "G" + std::to_string(rows); }

// The first tracks fall into one genre per group size, each track of a
// group with an artist of its own (so that the group's artist level has as
// many values as rows); the rest are "Rock".
tuho::TrackItem track(int number, int sourceId) {
  tuho::TrackItem item;
  item.fileName = "song" + std::to_string(number) + ".mp3";
  item.folder = "\\Album " + std::to_string(number % 401);
  item.source.id = sourceId;
  item.tag.title = "Song " + std::to_string((number * 7919) % 100003);
  item.tag.album = "Album " + std::to_string(number % 401);
  item.tag.trackNo = std::to_string(number % 100);
  item.tag.genre = "Rock";
  item.tag.artist = "Artist " + std::to_string(number % 97);
  int start = 0;
  for (int rows : kGroups) {
    if (number >= start && number < start + rows) {
      item.tag.genre = groupName(rows);
      item.tag.artist = "Artist " + std::to_string((number * 7919) % 1000003);
    }
    start += rows;
  }
  return item;
}

// Answers the Edit Tag dialog from a thread timer, which its modal loop
// dispatches, and notes when OK was pressed.
struct DialogAnswer {
  static std::string album;
  static std::chrono::steady_clock::time_point pressedAt;
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowA("#32770", "Edit Tag");
    if (!dialog || album.empty()) return;
    SetDlgItemTextA(dialog, IDC_TAG_ALBUM, album.c_str());
    album.clear();
    pressedAt = std::chrono::steady_clock::now();
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  }
};
std::string DialogAnswer::album;
std::chrono::steady_clock::time_point DialogAnswer::pressedAt;

// A tree view of its own, unseen, for the floors below.
HWND bareTreeView() {
  return CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 300, 400, nullptr, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

// The floor of a tree level: the same texts into a bare tree view, appended
// and sorted once.
double bareTree(const std::vector<std::string>& texts) {
  HWND tree = bareTreeView();
  double time = seconds([&] {
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    for (const std::string& text : texts) {
      TVINSERTSTRUCTA insert = {};
      insert.hParent = TVI_ROOT;
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
      insert.item.pszText = const_cast<char*>(text.c_str());
      insert.item.cChildren = 1;
      SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    }
    SendMessageA(tree, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
  });
  DestroyWindow(tree);
  return time;
}

// The floor of opening every node below a genre: its artists into a bare
// tree view, each made open with one child, drawn once at the end.
double bareOpenTree(const std::vector<std::string>& artists) {
  HWND tree = bareTreeView();
  auto insert = [&](HTREEITEM parent, const std::string& text, bool open) {
    TVINSERTSTRUCTA data = {};
    data.hParent = parent;
    data.hInsertAfter = TVI_LAST;
    data.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE;
    data.item.pszText = const_cast<char*>(text.c_str());
    data.item.cChildren = open ? 1 : 0;
    data.item.state = data.item.stateMask = open ? TVIS_EXPANDED : 0;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&data)));
  };
  double time = seconds([&] {
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    for (const std::string& artist : artists) insert(insert(TVI_ROOT, artist, true), "Album", false);
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
  });
  DestroyWindow(tree);
  return time;
}

// The tree view's own share of a deletion: a bare tree view with one root
// of `count` children deletes all of them but the last, one message each,
// as the window does. Wine's tree view looks every handle up in a list of
// all its nodes, so this grows with the tree.
double bareTreeDeletion(int count) {
  HWND tree = bareTreeView();
  TVINSERTSTRUCTA insert = {};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<char*>("Root");
  insert.hParent =
      reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  std::vector<HTREEITEM> children;
  for (int i = 0; i < count; ++i) {
    const std::string text = "Artist " + std::to_string(i);
    insert.item.pszText = const_cast<char*>(text.c_str());
    children.push_back(
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert))));
  }
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(insert.hParent));
  double time = seconds([&] {
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i + 1 < count; ++i) SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(children[i]));
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
  });
  DestroyWindow(tree);
  return time;
}

// Where a bulk action's time goes: the messages sent to the list and the
// tree (and the notices the window gets back) while it runs, most first.
struct MessageCount {
  static HWND list, tree, countsLine;
  static std::map<std::string, int> counts;
  static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const bool watched = sent->hwnd == list || sent->hwnd == tree || sent->hwnd == countsLine;
    if (code == HC_ACTION && (watched || sent->message == WM_NOTIFY)) {
      const char* to = sent->message == WM_NOTIFY ? "notice"
                       : sent->hwnd == list       ? "list"
                       : sent->hwnd == tree       ? "tree"
                                                  : "counts";
      ++counts[std::string(to) + " " + std::to_string(sent->message)];
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static std::string during(const std::function<void()>& work) {
    counts.clear();
    HHOOK installed = SetWindowsHookExA(WH_CALLWNDPROC, &hook, nullptr, GetCurrentThreadId());
    work();
    UnhookWindowsHookEx(installed);
    std::vector<std::pair<int, std::string>> most;
    for (const auto& [what, count] : counts) most.emplace_back(count, what);
    std::sort(most.rbegin(), most.rend());
    std::string text;
    for (size_t i = 0; i < most.size() && i < 6; ++i)
      text += " " + most[i].second + " x" + std::to_string(most[i].first);
    return text;
  }
};
HWND MessageCount::list = nullptr;
HWND MessageCount::tree = nullptr;
HWND MessageCount::countsLine = nullptr;
std::map<std::string, int> MessageCount::counts;

void selectAllRows(HWND list) {
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

// A key as the message loop hands it on: the main window takes its own
// first (Ctrl+A, numpad *), the rest reach the control. Shift or Control is
// held in the thread's key state, which the list view reads.
void press(HWND control, tuho::MainWindow* window, WPARAM key, int held) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  if (held) keys[held] = 0x80;
  SetKeyboardState(keys);
  MSG down{control, WM_KEYDOWN, key, 1, 0, {}};
  if (!window || !window->preTranslateMessage(down)) SendMessageA(control, WM_KEYDOWN, key, 1);
  SendMessageA(control, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
  if (held) keys[held] = 0;
  SetKeyboardState(keys);
}

// A plain click on the first row's label, through the main window's part
// of the message loop as a key is.
void clickFirstRow(HWND list, tuho::MainWindow* window) {
  RECT label = {};
  label.left = LVIR_LABEL;
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
  const LPARAM at = MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
  for (UINT button : {WM_LBUTTONDOWN, WM_LBUTTONUP}) {
    MSG message{list, button, button == WM_LBUTTONDOWN ? MK_LBUTTON : 0u, at, 0, {}};
    if (!window || !window->preTranslateMessage(message)) SendMessageA(list, button, message.wParam, at);
  }
}

// The selection of every row changed as the user does it, each timed until
// the queue is empty again (the window has answered): Ctrl+A from no row
// selected and the focus on the last row, Home (one row left), Shift+End (every row), a click on the first
// row (one row left). The selection is checked after each: a step that did
// not change it would time nothing.
struct SelectionTimes {
  double all = 0, home = 0, toEnd = 0, click = 0;
  double total() const { return all + home + toEnd + click; }
};

// The window has answered once the queue is empty and the counts line says
// what the list holds (the line follows a burst of changes once it is over).
void answered(tuho::MainWindow* window) {
  pump();
  if (!window) return;
  HWND counts = GetDlgItem(window->window(), tuho::IDC_COUNTS);
  char shown[96] = {};
  while (GetWindowTextA(counts, shown, sizeof shown), window->countsText() != shown) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    pump();
  }
}

SelectionTimes timeSelection(HWND list, tuho::MainWindow* window) {
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  auto expect = [&](int selected, const char* after) {
    int now = static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    if (now != selected) std::printf("!! after %s: %d rows selected, not %d\n", after, now, selected);
  };
  // Home moves the selection only when the focus is elsewhere: on the last row.
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  state.stateMask = state.state = LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(rows - 1), reinterpret_cast<LPARAM>(&state));
  answered(window);
  SelectionTimes times;
  times.all = seconds([&] {
    // The bare list has no Ctrl+A of its own: it gets what the window sends.
    window ? press(list, window, 'A', VK_CONTROL) : selectAllRows(list);
    answered(window);
  });
  expect(rows, "Ctrl+A");
  times.home = seconds([&] {
    press(list, window, VK_HOME, 0);
    answered(window);
  });
  expect(1, "Home");
  times.toEnd = seconds([&] {
    press(list, window, VK_END, VK_SHIFT);
    answered(window);
  });
  expect(rows, "Shift+End");
  SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
  answered(window);
  times.click = seconds([&] {
    clickFirstRow(list, window);
    answered(window);
  });
  expect(1, "a click");
  return times;
}

// A bare list view with the real list's rows (texts and images) and
// columns, at the same place and size, whose parent ignores its notices.
struct BareList {
  HWND parent = nullptr, list = nullptr;
  HIMAGELIST images = nullptr;
  explicit BareList(HWND real) {
    RECT place;
    GetWindowRect(real, &place);
    parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, place.left, place.top, place.right - place.left,
                             place.bottom - place.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 0, 0,
                           place.right - place.left, place.bottom - place.top, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    SendMessageA(list, WM_SETFONT, SendMessageA(real, WM_GETFONT, 0, 0), FALSE);
    images = ImageList_Duplicate(reinterpret_cast<HIMAGELIST>(SendMessageA(real, LVM_GETIMAGELIST, LVSIL_SMALL, 0)));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    const int columns = tuho::TrackList::columnCount();
    for (int i = 0; i < columns; ++i) {
      LVCOLUMNA column = {};
      column.mask = LVCF_WIDTH | LVCF_TEXT;
      column.cx = static_cast<int>(SendMessageA(real, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
      column.pszText = const_cast<char*>("Column");
      SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    char text[256];
    for (int row = 0, rows = static_cast<int>(SendMessageA(real, LVM_GETITEMCOUNT, 0, 0)); row < rows; ++row) {
      LVITEMA item = {};
      item.mask = LVIF_TEXT | LVIF_IMAGE;
      item.iItem = row;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(real, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      for (int column = 1; column < columns; ++column) {
        ListView_GetItemText(real, row, column, text, sizeof text);
        ListView_SetItemText(list, row, column, text);
      }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    pump();
  }
  ~BareList() {
    DestroyWindow(parent);
    ImageList_Destroy(images);
    pump();
  }
  BareList(const BareList&) = delete;
  BareList& operator=(const BareList&) = delete;
};

// The real list's selection against the bare list's, with the messages
// counted in a run of their own.
void printSelection(const char* what, HWND real, tuho::MainWindow& window) {
  const int rows = static_cast<int>(SendMessageA(real, LVM_GETITEMCOUNT, 0, 0));
  SelectionTimes mine = timeSelection(real, &window);
  std::string messages = MessageCount::during([&] { timeSelection(real, &window); });
  SelectionTimes floor;
  {
    BareList bare(real);
    floor = timeSelection(bare.list, nullptr);
  }
  auto figure = [&](double time, double bare) {
    char text[96];
    std::snprintf(text, sizeof text, "%.3f s = %.2fx (%.3f s), %.1f us/row", time, time / bare, bare,
                  time * 1e6 / rows);
    return std::string(text);
  };
  std::printf("%6d rows %s: selection vs a bare list view: Ctrl+A %s; Home %s; Shift+End %s; click %s; all four %s\n",
              rows, what, figure(mine.all, floor.all).c_str(), figure(mine.home, floor.home).c_str(),
              figure(mine.toEnd, floor.toEnd).c_str(), figure(mine.click, floor.click).c_str(),
              figure(mine.total(), floor.total()).c_str());
  std::printf("        (selection messages:%s)\n", messages.c_str());
  std::fflush(stdout);
}

void measure(int count, HINSTANCE instance) {
  tuho::bench::BenchCatalogue bench("tuho-window-bench");
  tuho::Catalogue& catalogue = bench.catalogue();
  const int sourceId = bench.sourceId();
  std::vector<int> rockIds;
  for (int i = 0; i < count; ++i) {
    tuho::TrackItem item = track(i, sourceId);
    int id = catalogue.storeTrack(item, false);
    if (item.tag.genre == "Rock") rockIds.push_back(id);
  }
  std::printf("catalogue of %d tracks\n", count);
  tuho::MainWindow window;
  window.create(instance, SW_SHOWNORMAL, &catalogue, &bench.sources());
  pump();
  HWND tree = GetDlgItem(window.window(), tuho::IDC_TREE);
  HWND listControl = GetDlgItem(window.window(), tuho::IDC_LIST);
  tuho::TrackList& list = window.list();
  // The progress dialog that long work shows: its own cost, apart. Wine
  // with no window manager waits about 2 s for every dialog it hides (the
  // jobs' dialog alike), which says nothing of the work; the bulk actions
  // below are timed without it.
  tuho::BusyProgress& busy = window.busy();
  busy.setThreshold(std::chrono::seconds(0));
  double dialogOpen = seconds([&] {
    busy.start();
    busy.count(nullptr, "Edited:", 1);
  });
  double dialogClose = seconds([&] { busy.finish(); });
  std::printf("progress dialog: opening %.3f s, closing %.3f s\n", dialogOpen, dialogClose);
  busy.setThreshold(std::chrono::hours(1));
  // Grouping by artist makes a root of every artist (26,000 and more), and
  // grouping back deletes them all.
  const double byArtist = seconds([&] { window.tree().rebuildTree(tuho::LEVEL_ARTIST); });
  const int artistRoots = static_cast<int>(SendMessageA(tree, TVM_GETCOUNT, 0, 0));
  const double backToGenre = seconds([&] { window.tree().rebuildTree(tuho::LEVEL_GENRE); });
  std::printf("grouping by artist: %.3f s for %d roots; back to genre: %.3f s\n", byArtist, artistRoots, backToGenre);
  MessageCount::list = listControl;
  MessageCount::tree = tree;
  MessageCount::countsLine = GetDlgItem(window.window(), tuho::IDC_COUNTS);
  // Every track listed: the largest list a genre could give.
  list.fillList(tuho::TrackFilter());
  pump();
  printSelection("(every track)", listControl, window);
  SetTimer(nullptr, 0, 10, &DialogAnswer::tick);
  size_t rockUsed = 0;
  for (int rows : kGroups) {
    const std::string genre = groupName(rows);
    // A tree level of `rows` values: the genre's artists.
    window.tree().rebuildTree(tuho::LEVEL_GENRE);
    pump();
    HTREEITEM node = tuho::test::childNamed(tree, nullptr, genre);
    double level = seconds([&] { TreeView_Expand(tree, node, TVE_EXPAND); });
    double levelFloor = bareTree(tuho::test::childTexts(tree, node));

    // The genre's node chosen, as a click does: its tracks fill the list.
    TreeView_SelectItem(tree, node);
    pump();
    // Numpad * on the genre: every artist opens with its album.
    SetFocus(tree);
    const int nodesBefore = static_cast<int>(SendMessageA(tree, TVM_GETCOUNT, 0, 0));
    const double openAll = seconds([&] { press(tree, &window, VK_MULTIPLY, 0); });
    const int opened = static_cast<int>(SendMessageA(tree, TVM_GETCOUNT, 0, 0)) - nodesBefore;
    const double openFloor = bareOpenTree(tuho::test::childTexts(tree, node));
    std::printf(
        "        (numpad * on the genre: %.3f s = %.2fx a bare tree made open (%.3f s), %d nodes made, %.1f "
        "us/artist)\n",
        openAll, openAll / openFloor, openFloor, opened, openAll * 1e6 / rows);
    // The figures below are of a genre whose artists were never opened.
    window.tree().rebuildTree(tuho::LEVEL_GENRE);
    pump();
    node = tuho::test::childNamed(tree, nullptr, genre);
    TreeView_Expand(tree, node, TVE_EXPAND);
    TreeView_SelectItem(tree, node);
    pump();
    // A click on the title column's header sorts the rows by it.
    const double sortByTitle = seconds([&] { list.sortByColumn(3); });
    std::printf("        (sorting the %d rows by title: %.3f s, %.2f us/row)\n", list.rowCount(), sortByTitle,
                sortByTitle * 1e6 / list.rowCount());
    // The rows after a delete-copies job (no marks: each row is read
    // again by id) and after a ready job that made every track ready.
    tuho::IdList result = list.collectAllIds();
    double rowsAfterJob = seconds([&] { list.refreshAfterJob(result); });
    for (tuho::IdEntry& entry : result.entries) entry.mark = 1;
    double rowsAfterReady = seconds([&] { list.refreshAfterJob(result); });
    // And the node the job was started for, with its children, marked
    // ready and back.
    const double marking = seconds([&] {
      window.tree().markCurrentReady();
      window.tree().markCurrentUnready();
    });
    std::printf("        (the node and its %d children marked ready and back: %.3f s, %.1f us/child)\n", rows, marking,
                marking * 1e6 / rows);
    printSelection("(a genre)", listControl, window);

    selectAllRows(listControl);
    DialogAnswer::album = "Ed";
    SendMessageA(window.window(), WM_COMMAND, tuho::CMD_EDIT_TAG, 0);
    double edit = std::chrono::duration<double>(std::chrono::steady_clock::now() - DialogAnswer::pressedAt).count();
    tuho::TagChange change;
    change.album = "Eb";
    size_t from = rockUsed;
    // As `tuhodb edit` writes its ids: one batch.
    const std::vector<int> batch(rockIds.begin() + static_cast<std::ptrdiff_t>(from),
                                 rockIds.begin() + static_cast<std::ptrdiff_t>(from) + rows);
    double rewrites = seconds([&] { catalogue.updateTagsMany(batch, change); });

    // Where the edit's time goes: the reads by id, and the list and tree
    // taking new values for every row.
    tuho::IdList ids = list.collectAllIds();
    std::vector<std::pair<int, tuho::TrackTag>> written;
    std::vector<int> idNumbers;
    for (const tuho::IdEntry& entry : ids.entries) idNumbers.push_back(entry.id);
    double reads = seconds([&] {
      for (const tuho::TrackItem& item : catalogue.readTracks(idNumbers)) written.emplace_back(item.id, item.tag);
    });
    auto updateViews = [&](const char* album) {
      for (auto& each : written) each.second.album = album;
      window.tree().beginBulkChange();
      list.updateRowsAfterEdit(written);
      window.tree().endBulkChange();
    };
    double views = seconds([&] { updateViews("Ed2"); });
    // Counted apart: a hook on every message slows each one down.
    std::string viewMessages = MessageCount::during([&] { updateViews("Ed3"); });
    std::printf("        (of which about: reads by id %.3f s, list and tree %.3f s; messages:%s)\n", reads, views,
                viewMessages.c_str());

    // All rows but the last go, so that the list removes them one by one.
    selectAllRows(listControl);
    ListView_SetItemState(listControl, list.rowCount() - 1, 0, LVIS_SELECTED);
    double removal = seconds([&] { SendMessageA(window.window(), WM_COMMAND, tuho::CMD_DELETE, 0); });
    double deletions = seconds([&] {
      for (int i = 0; i < rows - 1; ++i) catalogue.deleteTrack(rockIds[from + static_cast<size_t>(i)]);
    });
    rockUsed += static_cast<size_t>(rows);
    pump();
    const double treeDeletion = bareTreeDeletion(rows);
    std::printf(
        "        (delete: of which about a bare tree view deleting %d nodes %.3f s, %.1f us/node; the rest "
        "%.1f us/row)\n",
        rows - 1, treeDeletion, treeDeletion * 1e6 / rows, (removal - treeDeletion) * 1e6 / rows);
    std::printf(
        "%6d rows: Edit Tag %.3f s = %.2fx %d engine rewrites (%.3f s), %.1f us/row; "
        "delete %.3f s = %.2fx %d engine deletions (%.3f s), %.1f us/row; "
        "rows after a delete-copies job %.3f s, %.1f us/row, after a ready job %.3f s; tree level %.3f s = %.2fx bare "
        "tree (%.3f s), %.1f us/value\n",
        rows, edit, edit / rewrites, rows, rewrites, edit * 1e6 / rows, removal, removal / deletions, rows - 1,
        deletions, removal * 1e6 / rows, rowsAfterJob, rowsAfterJob * 1e6 / rows, rowsAfterReady, level,
        level / levelFloor, levelFloor, level * 1e6 / rows);
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  tuho::bench::initControls();
  const int count = argc > 1 ? std::atoi(argv[1]) : 52000;
  measure(count < 52000 ? 52000 : count, GetModuleHandleA(nullptr));
  return 0;
}
