#include "ui/MainWindow.h"

#include <commctrl.h>

#include "resources/resource.h"
#include "ui/ListMenus.h"
#include "ui/UiIds.h"
#include "ui/dialogs/EditTagDialog.h"
#include "ui/kit/ContextMenu.h"
#include "ui/kit/Gdi.h"
#include "ui/kit/WindowAttach.h"

namespace tuho {
namespace {

const char kClassName[] = "Tunehoard";
const char kTitle[] = "Tunehoard";

struct FrameElement {
  int id;
  int bitmap;  // 0 for a plain black edge
  int x, y, width, height;
};

const FrameElement kFrame[] = {
    {IDC_FRAME_TOP_LEFT, IDB_CORNER_TOP_LEFT, 5, 54, 10, 10},
    {IDC_FRAME_BOTTOM_LEFT, IDB_CORNER_BOTTOM_LEFT, 5, 503, 10, 10},
    {IDC_FRAME_TOP_RIGHT, IDB_CORNER_TOP_RIGHT, 762, 54, 10, 10},
    {IDC_FRAME_BOTTOM_RIGHT, IDB_CORNER_BOTTOM_RIGHT, 762, 503, 10, 10},
    {IDC_FRAME_TOP, 0, 15, 54, 747, 10},
    {IDC_FRAME_BOTTOM, 0, 15, 503, 747, 10},
    {IDC_FRAME_LEFT, 0, 5, 64, 10, 439},
    {IDC_FRAME_RIGHT, 0, 762, 64, 10, 439},
    {-1, 0, 15, 88, 250, 6},  // under the combo box
    {IDC_FRAME_SEPARATOR, 0, 265, 64, 6, 439},
};

// Tree images in the order the tree keeps their indices.
const int kTreeBitmaps[] = {IDB_TREE_GENRE,       IDB_TREE_ARTIST,       IDB_TREE_ALBUM,
                            IDB_TREE_GENRE_READY, IDB_TREE_ARTIST_READY, IDB_TREE_ALBUM_READY,
                            IDB_TREE_GENRE_FOLDER, IDB_TREE_ARTIST_FOLDER, IDB_TREE_ALBUM_FOLDER};
const int kListBitmaps[] = {IDB_LIST_TRACK, IDB_LIST_TRACK_READY, IDB_LIST_TRACK_FOLDER};

ScopedImageList imageListOf(HINSTANCE instance, const int* bitmaps, int count, int* indices) {
  ScopedImageList list(ImageList_Create(16, 16, ILC_COLOR24, count, 0));
  for (int i = 0; i < count; ++i) {
    ScopedBitmap bitmap(loadBitmap(instance, bitmaps[i]));  // the list keeps a copy
    indices[i] = ImageList_Add(list, bitmap, nullptr);
  }
  return list;
}

void place(HWND parent, int id, int x, int y, int width, int height, bool move) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (move ? 0 : SWP_NOMOVE);
  SetWindowPos(GetDlgItem(parent, id), nullptr, x, y, width, height, flags);
}

}  // namespace

MainWindow::MainWindow() {
  progress_.onOpen = [this] {
    strip_.suspend();
    mediaStore_.jobStateChanged();
  };
  progress_.onClose = [this] {
    strip_.resume();
    mediaStore_.jobStateChanged();
  };
}

// The destructor's body ends every window before the members go, so no
// control still shows a bitmap when its owner deletes it.

MainWindow::~MainWindow() {
  if (progress_.isOpen()) DestroyWindow(progress_.window());
  if (busy_.dialog().isOpen()) DestroyWindow(busy_.dialog().window());
  if (mediaStore_.isOpen()) DestroyWindow(mediaStore_.dialog());
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

bool MainWindow::registerClass() {
  // The class keeps its brush as long as the process runs.
  static const HBRUSH background = CreateSolidBrush(RGB(230, 230, 230));
  return registerWindowClassOf<MainWindow>(instance_, kClassName, IDI_TUHO, background);
}

bool MainWindow::create(HINSTANCE instance, int showCommand, Catalogue* catalogue, SourceList* sources) {
  instance_ = instance;
  catalogue_ = catalogue;
  sources_ = sources;
  if (catalogue) handOff_ = std::make_unique<PlayHandOff>(*catalogue);
  black_.reset(CreateSolidBrush(RGB(0, 0, 0)));
  if (!registerClass()) return false;
  window_ = CreateWindowExA(WS_EX_APPWINDOW, kClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                            this);
  if (!window_) return false;
  loadBitmaps();
  createBrowsingControls();
  strip_.build(window_, instance);
  strip_.reset();
  createFrame();
  list_.insertColumns();
  desktop_.attach(window_, instance,
                  ColumnWidthAccess{[this] { return list_.readColumnWidths(); },
                                    [this](const std::array<int, 5>& widths) { list_.applyColumnWidths(widths); }});
  mediaStore_.attach(mediaStoreHost());
  desktop_.restoreViewSettings();
  strip_.createTooltips(instance);
  desktop_.readNotificationSettings();
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  return true;
}

void MainWindow::loadBitmaps() {
  progressLower_.reset(loadBitmap(instance_, IDB_PROGRESS_LOWER));
  for (size_t kind = 0; kind < jobBanners_.size(); ++kind) {
    jobBanners_[kind].reset(loadBitmap(instance_, jobText(static_cast<JobKind>(kind)).banner));
  }
  editBanner_.reset(loadBitmap(instance_, IDB_PROGRESS_EDITED));
  groupBanner_.reset(loadBitmap(instance_, IDB_PROGRESS_GROUPED));
  listBanner_.reset(loadBitmap(instance_, IDB_PROGRESS_LISTED));
  busy_.attach(instance_, window_, progressLower_);
  mediaStore_.loadBitmaps(instance_);
  locate_.loadBitmaps(instance_);
}

void MainWindow::createBrowsingControls() {
  viewFont_.reset(pointFont(window_, 10));
  HWND tree = createChild(
      window_, WC_TREEVIEWA, "Tree View",
      WS_VISIBLE | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 15, 94,
      250, 411, IDC_TREE, instance_);
  // The list's image list is the window's to free (as the tree's is): a
  // list view frees its own unless told that it is shared.
  HWND list = createChild(window_, WC_LISTVIEWA, "List View",
                          WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHAREIMAGELISTS, 271, 64, 493, 440,
                          IDC_LIST, instance_);
  HWND combo = createChild(window_, "COMBOBOX", "List Root", WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL,
                           15, 64, 250, 100, IDC_GROUP_COMBO, instance_);
  for (HWND control : {tree, list, combo}) setFont(control, viewFont_);
  attachViews(tree, list);
  for (const char* grouping : {"Genre", "Artist", "Album", "Media"}) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(grouping));
  }
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  createFindControls();
  // The tree is built once the message loop runs.
  PostMessageA(window_, WM_COMMAND, MAKEWPARAM(IDC_GROUP_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// The tree and the list get their images and reach the rest of the window
// only through these callbacks.
void MainWindow::attachViews(HWND tree, HWND list) {
  int at[9];
  treeImages_ = imageListOf(instance_, kTreeBitmaps, 9, at);
  TreeImages treeImages{{at[0], at[1], at[2]}, {at[3], at[4], at[5]}, {at[6], at[7], at[8]}};
  GroupTreeHooks treeHooks;
  treeHooks.showTracks = [this](const TrackFilter& path) { showNodeTracks(path); };
  treeHooks.showNoTracks = [this] {
    if (list_.showsFind()) return onFindChanged();
    list_.clear();
  };
  treeHooks.menuAt = [this](POINT screen) { showContextMenu(window_, screen, treeMenuEntries(menuCommands())); };
  treeHooks.building = [this](bool starting) { starting ? busy_.start() : busy_.finish(); };
  treeHooks.nodesMade = [this](int made) { busy_.count(groupBanner_, "Grouped:", made); };
  tree_.attach(tree, catalogue_, std::move(treeHooks), treeImages);
  listImages_ = imageListOf(instance_, kListBitmaps, 3, at);
  TrackListHooks listHooks;
  listHooks.emptied = [this] { tree_.postDeleteCurrent(); };
  listHooks.groupGone = [this](const TrackFilter& path, const std::vector<GroupLevel>& levels) {
    tree_.prunePath(path, levels);
  };
  listHooks.treeBulkChange = [this](bool starting) { bulkTreeChange(starting); };
  // A deletion counts like the delete-copies job, under its banner.
  listHooks.tracksDeleted = [this](int done) { busy_.count(jobBanners_[kJobDeleteReady], "Deleted:", done); };
  listHooks.stillBusy = [this] { busy_.tick(); };
  listHooks.filling = [this](bool starting) { starting ? busy_.start() : busy_.finish(); };
  listHooks.rowsListed = [this](int listed) { busy_.count(listBanner_, "Listed:", listed); };
  listHooks.editTags = [this](const IdList& ids) {
    EditTagTargets targets{
        instance_,
        window_,
        catalogue_,
        [this](const TrackFilter& path) { tree_.ensurePath(path); },
        [this](const std::vector<std::pair<int, TrackTag>>& written) { list_.updateRowsAfterEdit(written); },
        [this](bool starting) { bulkTreeChange(starting); },
        [this](int done) { busy_.count(editBanner_, "Edited:", done); }};
    editTags(targets, ids);
  };
  listHooks.commandsChanged = [this] { showListCommands(); };
  listHooks.activated = [this] { onCommand(CMD_PLAY_SELECTED, 0); };
  listHooks.groupMaybeGone = [this](const TrackFilter& path) { tree_.pruneEmptied(path); };
  listHooks.groupWritten = [this](const TrackFilter& path) { tree_.ensurePath(path); };
  listHooks.countsChanged = [this](bool rowsChanged) { rowsChanged ? showCounts(true) : showSelectedCountSoon(); };
  listHooks.rowMenuAt = [this](POINT screen) { showContextMenu(window_, screen, rowMenuEntries(menuCommands())); };
  list_.attach(list, catalogue_, std::move(listHooks), RowImages{at[0], at[1], at[2]});
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(treeImages_.get()));
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(listImages_.get()));
}

MediaStoreHost MainWindow::mediaStoreHost() {
  MediaStoreHost host;
  host.owner = window_;
  host.sources = sources_;
  host.catalogue = catalogue_;
  host.jobRunning = [this] { return jobRunning(); };
  host.startScan = [this](SourceRef* source) { return startJob(kJobScanSource, IdList(), source); };
  host.startRescan = [this](SourceRef* source) { return startJob(kJobRescanSource, IdList(), source); };
  host.startRemoval = [this](int sourceId) { return startJob(kJobRemoveSource, IdList(), nullptr, sourceId); };
  host.opened = [this] { strip_.suspend(); };
  host.closed = [this] {
    strip_.resume();
    // During a job the tree is rebuilt when the job ends.
    if (!jobRunning()) rebuildTreeFromCombo();
  };
  return host;
}

void MainWindow::createFrame() {
  for (const FrameElement& element : kFrame) {
    if (element.bitmap) {
      frameBitmaps_.emplace_back(loadBitmap(instance_, element.bitmap));
      createBitmapStatic(window_, frameBitmaps_.back(), 0, element.x, element.y, element.width, element.height,
                         element.id, instance_);
    } else {
      createChild(window_, "STATIC", nullptr, WS_VISIBLE, element.x, element.y, element.width, element.height,
                  element.id, instance_);
    }
  }
}

void MainWindow::layout() {
  RECT outer;
  GetWindowRect(window_, &outer);
  int width = outer.right - outer.left - 2 * GetSystemMetrics(SM_CXFRAME);
  int height = outer.bottom - outer.top - 2 * GetSystemMetrics(SM_CYFRAME) - GetSystemMetrics(SM_CXSIZE);
  place(window_, IDC_LIST, 0, 0, width - 286, height - 79, false);
  place(window_, IDC_TREE, 0, 0, 250, height - 109, false);
  place(window_, IDC_FRAME_TOP, 0, 0, width - 30, 10, false);
  place(window_, IDC_FRAME_BOTTOM, 15, height - 15, width - 30, 10, true);
  place(window_, IDC_FRAME_LEFT, 0, 0, 10, height - 79, false);
  place(window_, IDC_FRAME_SEPARATOR, 0, 0, 6, height - 79, false);
  place(window_, IDC_FRAME_RIGHT, width - 15, 64, 10, height - 79, true);
  place(window_, IDC_FRAME_BOTTOM_LEFT, 5, height - 15, 10, 10, true);
  place(window_, IDC_FRAME_TOP_RIGHT, width - 15, 54, 10, 10, true);
  place(window_, IDC_FRAME_BOTTOM_RIGHT, width - 15, height - 15, 10, 10, true);
}

LRESULT MainWindow::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) window_ = window;
  if (handleWorkerNotice(message, wParam, lParam)) return 0;
  desktop_.onMessage(message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) layout();
      break;
    case WM_CLOSE:
      desktop_.onClose();
      break;
    case WM_DESTROY: stopHandOff(); break;
    // The focus leaves with the window and comes back to the same control,
    // the first of the browsing controls at first.
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE && IsChild(window_, GetFocus())) lastFocus_ = GetFocus();
      break;
    case WM_SETFOCUS: restoreFocus(); return 0;
    case WM_NOTIFY: {
      auto* notification = reinterpret_cast<NMHDR*>(lParam);
      if (notification->idFrom == IDC_TREE) return tree_.onTreeNotify(notification);
      if (notification->idFrom == IDC_LIST) return list_.onListNotify(notification);
      break;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(window_, IDC_COUNTS)) {
        // The counts stand on the window's own background, not the frame's black.
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return static_cast<LRESULT>(GetClassLongPtrA(window_, GCLP_HBRBACKGROUND));
      }
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(black_.get());
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      break;
    case MMSG_TREE_DELETE_ITEM:
      tree_.deleteTreeItem(reinterpret_cast<HTREEITEM>(lParam), static_cast<unsigned>(wParam));
      break;
    case MMSG_TREE_FILL_LIST:
      // A rebuilt tree gives a find's rows back only when the find ends.
      if (list_.showsFind()) {
        onFindChanged();
      } else {
        tree_.fillListFor(reinterpret_cast<HTREEITEM>(lParam), static_cast<unsigned>(wParam));
      }
      break;
    case MMSG_SKIN_CLICK:
      onSkinClick(static_cast<int>(wParam));
      break;
    case WM_TIMER:
      if (wParam == TIMER_SHOW_COUNTS) {
        KillTimer(window_, TIMER_SHOW_COUNTS);
        countsTimer_ = false;
        showCounts(false);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Many group changes at once (an edit or deletion of many rows): the tree
// draws once at the end and finds each parent's children through one map.
// A progress dialog shows when the change runs long.
void MainWindow::bulkTreeChange(bool starting) {
  if (starting) {
    busy_.start();
    tree_.beginBulkChange();
  } else {
    tree_.endBulkChange();
    busy_.finish();
  }
}

}  // namespace tuho
