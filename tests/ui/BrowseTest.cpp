// Browsing and correcting in the real tree and list: context menus, the
// delete cascade, sorting, the Edit Tag dialog, and the tree and list
// staying in step with the catalogue after edits and deletions.
#include "ModalScript.h"
#include "UiFixture.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/Alert.h"
#include "platform/FaultPlan.h"
#include "platform/Shell.h"
#include "resources/resource.h"
#include "ui/UiIds.h"
#include "ui/dialogs/EditTagDialog.h"

namespace tuho::test {
namespace {

constexpr int kRock = 17, kPop = 13, kJazz = 8;

class BrowseTest : public UiTest {
 protected:
  BrowseTest() { ShowWindow(window->window(), SW_SHOWNORMAL); }

  // Writes the songs into a source folder of their own and scans it.
  SourceRef* catalogueSongs(const std::string& name, MediaType kind, const std::vector<SongTag>& songs) {
    std::string folder = musicDir.file(name);
    std::filesystem::create_directories(folder);
    for (size_t i = 0; i < songs.size(); ++i) {
      writeBytes(folder + "\\song" + std::to_string(i) + ".mp3", songWithId3v1(songs[i], 256));
    }
    SourceRef* entry = registerFolder(name, kind, folder);
    catalogue->scanSource(*entry, false, JobEvents());
    return entry;
  }
  void groupBy(GroupLevel level) {
    SendMessageA(control(IDC_GROUP_COMBO), CB_SETCURSEL, static_cast<WPARAM>(levelNumber(level)), 0);
    SendMessageA(window->window(), WM_COMMAND, MAKEWPARAM(IDC_GROUP_COMBO, CBN_SELCHANGE), 0);
    pumpFor(20);
  }
  HWND tree() const { return control(IDC_TREE); }
  HWND list() const { return control(IDC_LIST); }
  HTREEITEM expand(HTREEITEM item) {
    TreeView_Expand(tree(), item, TVE_EXPAND);
    return item;
  }
  int nodeImage(HTREEITEM item) const {
    TVITEMA data = {};
    data.mask = TVIF_IMAGE;
    data.hItem = item;
    TreeView_GetItem(tree(), &data);
    return data.iImage;
  }
  std::vector<std::string> column(int index) const {
    std::vector<std::string> texts;
    for (int row = 0; row < window->list().rowCount(); ++row) {
      char text[256] = {};
      ListView_GetItemText(list(), row, index, text, sizeof text);
      texts.push_back(text);
    }
    return texts;
  }
  void selectRows(const std::vector<int>& rows) {
    ListView_SetItemState(list(), -1, 0, LVIS_SELECTED);
    for (int row : rows) ListView_SetItemState(list(), row, LVIS_SELECTED, LVIS_SELECTED);
  }
  // A click as the control reports it: the message position is where the
  // pointer was when the last message was posted.
  void notifyAt(HWND from, int id, UINT code, POINT client) {
    POINT screen = client;
    ClientToScreen(from, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(window->window(), WM_NULL, 0, 0);
    MSG message;
    PeekMessageA(&message, window->window(), WM_NULL, WM_NULL, PM_REMOVE);
    NMHDR header = {from, static_cast<UINT_PTR>(id), code};
    SendMessageA(window->window(), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
  }
  // Right-clicks and returns the entries of the menu that opened (none when
  // no menu opened).
  std::vector<std::string> rightClickMenu(HWND from, int id, POINT client) {
    std::vector<std::pair<std::string, UINT>> entries;
    ModalScript reader({readMenu(&entries)}, window->window());
    notifyAt(from, id, NM_RCLICK, client);
    std::vector<std::string> texts;
    for (const auto& entry : entries) texts.push_back(entry.first);
    return texts;
  }
  std::vector<std::string> treeMenu() { return rightClickMenu(tree(), IDC_TREE, labelOf(TreeView_GetRoot(tree()))); }
  std::vector<std::string> rowMenu() {
    selectRows({0});
    return rightClickMenu(list(), IDC_LIST, labelOfRow(0));
  }
  // Which of the play, enqueue and make-ready buttons are lit, in strip order.
  std::vector<int> litButtons() {
    std::vector<int> lit;
    for (int id :
         {BTN_READY_ALL, BTN_READY_SELECTED, BTN_PLAY_ALL, BTN_PLAY_SELECTED, BTN_ENQUEUE_ALL, BTN_ENQUEUE_SELECTED}) {
      if (window->strip().isEnabled(id)) lit.push_back(id);
    }
    return lit;
  }
  void runJob(int command) {
    SendMessageA(window->window(), WM_COMMAND, static_cast<WPARAM>(command), 0);
    ASSERT_TRUE(pumpUntil([&] { return !window->jobRunning(); }));
    pumpFor(50);  // the result notice follows the end of the job
  }
  POINT labelOf(HTREEITEM item) const {
    RECT rect;
    TreeView_GetItemRect(tree(), item, &rect, TRUE);
    return POINT{rect.left + 3, (rect.top + rect.bottom) / 2};
  }
  POINT labelOfRow(int row) const {
    RECT rect;
    ListView_GetItemRect(list(), row, &rect, LVIR_LABEL);
    return POINT{rect.left + 3, (rect.top + rect.bottom) / 2};
  }
  // Posted tree deletions waiting in the queue (left in it).
  int pendingTreeDeletions() {
    std::vector<MSG> taken;
    MSG message;
    while (PeekMessageA(&message, window->window(), MMSG_TREE_DELETE_ITEM, MMSG_TREE_DELETE_ITEM, PM_REMOVE)) {
      taken.push_back(message);
    }
    for (const MSG& each : taken) PostMessageA(each.hwnd, each.message, each.wParam, each.lParam);
    return static_cast<int>(taken.size());
  }
  // Opens the Edit Tag dialog on the selected rows and lets `use` work it;
  // `use` ends it.
  void editSelectedWith(const std::function<void(HWND)>& use) {
    ModalScript script({onDialog("Edit Tag", use)});
    SendMessageA(window->window(), WM_COMMAND, CMD_EDIT_TAG, 0);
    EXPECT_TRUE(script.finished());
  }
};

std::string text(HWND dialog, int id) {
  char buffer[256] = {};
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

TEST_F(BrowseTest, RightClickFillsTheListForTheClickedNodeAndOffersItsCommands) {
  catalogueSongs("Folder", MediaType::kLocalFolder, {{"Folk Song", "Ann", "Near", kJazz, 1}});
  catalogueSongs("Disc", MediaType::kWriteOnce,
                 {{"Disc One", "Bob", "Far", kPop, 1}, {"Disc Two", "Bob", "Far", kPop, 2}});
  groupBy(LEVEL_ARTIST);
  HTREEITEM ann = node(nullptr, "Ann"), bob = node(nullptr, "Bob");
  ASSERT_EQ(TreeView_GetSelection(tree()), ann);
  EXPECT_EQ(rightClickMenu(tree(), IDC_TREE, labelOf(bob)), std::vector<std::string>{"Add Ready To Play"});
  EXPECT_EQ(TreeView_GetSelection(tree()), ann);  // the highlight stays
  EXPECT_EQ(column(3), (std::vector<std::string>{"Disc One", "Disc Two"}));
  EXPECT_EQ(window->tree().currentNode(), bob);
  EXPECT_EQ(rightClickMenu(tree(), IDC_TREE, labelOf(ann)), (std::vector<std::string>{"Play", "Enqueue"}));
  // One copy on the disc: removing copies comes on top, newest entry first.
  catalogue->setReady(catalogue->listTracks(TrackFilter{{}, std::string("Bob"), {}})[0].id, 1);
  EXPECT_EQ(rightClickMenu(tree(), IDC_TREE, labelOf(bob)),
            (std::vector<std::string>{"Remove Ready To Play", "Play", "Enqueue", "Add Ready To Play"}));
  // Beside any node nothing happens.
  EXPECT_TRUE(rightClickMenu(tree(), IDC_TREE, POINT{240, 300}).empty());
}

TEST_F(BrowseTest, RowMenuAppearsOnlyOnALabelWithItsEntriesInOrder) {
  catalogueSongs("Folder", MediaType::kLocalFolder, {{"A", "Ann", "Mixed", kRock, 1}});
  catalogueSongs("Disc", MediaType::kWriteOnce, {{"B", "Bob", "Mixed", kRock, 2}, {"C", "Cy", "Mixed", kRock, 3}});
  catalogue->setReady(catalogue->listTracks(TrackFilter{{}, std::string("Bob"), {}})[0].id, 1);
  waitForFirstNode();
  EXPECT_TRUE(rightClickMenu(list(), IDC_LIST, POINT{480, 200}).empty());
  EXPECT_FALSE(window->strip().isEnabled(BTN_PLAY_SELECTED));
  selectRows({0});
  EXPECT_EQ(rightClickMenu(list(), IDC_LIST, labelOfRow(0)),
            (std::vector<std::string>{"Play", "Delete", "Edit Tag Info", "Remove Ready To Play", "Add ready to play",
                                      "Enqueue"}));
  for (int button : {BTN_PLAY_SELECTED, BTN_ENQUEUE_SELECTED, BTN_READY_SELECTED}) {
    EXPECT_TRUE(window->strip().isEnabled(button));
  }
  // "Play" on three selected rows: the first plays, the others queue; the
  // disc track without a copy has nothing to play.
  selectRows({0, 1, 2});
  ShellRecorder shell;
  SendMessageA(window->window(), WM_COMMAND, CMD_PLAY_SELECTED, 0);
  ASSERT_TRUE(pumpUntil([&] { return !window->handingOff(); }));
  std::vector<std::string> verbs;
  for (const ShellRequest& request : shell.requests()) verbs.push_back(request.verb);
  EXPECT_EQ(verbs, (std::vector<std::string>{"Play", "Enqueue"}));
}

TEST_F(BrowseTest, TracksOfAGoneSourceAreNeitherPlayableNorCopied) {
  catalogueSongs("Gone", MediaType::kWriteOnce, {{"Lost", "Ann", "Old", kRock, 1}});
  sources.removeById(sources.entry(0)->id);
  waitForFirstNode();
  ASSERT_EQ(window->list().rowCount(), 1);
  for (int button : {BTN_PLAY_ALL, BTN_ENQUEUE_ALL, BTN_READY_ALL}) EXPECT_FALSE(window->strip().isEnabled(button));
}

TEST_F(BrowseTest, RowsSortByTrackNumberThenByTheClickedColumnInByteOrder) {
  catalogueSongs("Folder", MediaType::kLocalFolder,
                 {{"beta", "Ann", "A", kRock, 10}, {"Zulu", "Ann", "A", kRock, 2}, {"alpha", "Ann", "A", kRock, 1}});
  waitForFirstNode();
  EXPECT_EQ(column(2), (std::vector<std::string>{"01", "02", "10"}));
  for (int click = 0; click < 2; ++click) {  // a second click does not reverse
    NMLISTVIEW header = {};
    header.hdr = {ListView_GetHeader(list()), IDC_LIST, LVN_COLUMNCLICK};
    header.iSubItem = 3;
    SendMessageA(window->window(), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(column(3), (std::vector<std::string>{"Zulu", "alpha", "beta"}));
  }
}

TEST_F(BrowseTest, DeletingTheLastTrackOfAnAlbumRemovesTheAlbumThenItsArtist) {
  catalogueSongs("Folder", MediaType::kLocalFolder,
                 {{"Only", "Solo", "Single", kRock, 1}, {"Other", "Duo", "Pair", kRock, 1}});
  waitForFirstNode();
  HTREEITEM rock = expand(node(nullptr, "Rock"));
  HTREEITEM solo = expand(node(rock, "Solo"));
  TreeView_SelectItem(tree(), node(solo, "Single"));
  ASSERT_EQ(window->list().rowCount(), 1);
  std::string path = musicDir.file("Folder") + "\\song0.mp3";
  selectRows({0});
  SendMessageA(window->window(), WM_COMMAND, CMD_DELETE, 0);
  pumpFor(50);
  EXPECT_EQ(childTexts(rock), std::vector<std::string>{"Duo"});
  EXPECT_EQ(window->tree().currentNode(), TreeView_GetSelection(tree()));  // a live node
  EXPECT_EQ(catalogue->listTracks(TrackFilter()).size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(path));  // the catalogue forgets; the file stays
}

// Deleting rows prunes exactly the groups left without tracks: an artist
// whose node was never opened goes with its last track, and an album goes
// though another artist has one of the same name. When the store fails part
// way through, the rows whose tracks it kept stay listed, with their groups,
// and the list shows what the file holds.
TEST_F(BrowseTest, DeletedRowsTakeTheirEmptiedGroupsAndRowsTheStoreKeptStay) {
  catalogueSongs("Folder", MediaType::kLocalFolder,
                 {{"One", "Ann", "Hits", kRock, 1},
                  {"Two", "Bob", "Hits", kRock, 2},
                  {"Three", "Bob", "Live", kRock, 3},
                  {"Four", "Cy", "C", kRock, 4},
                  {"Five", "Dee", "D", kRock, 5},
                  {"Six", "Eve", "E", kRock, 6}});
  waitForFirstNode();
  HTREEITEM rock = expand(node(nullptr, "Rock"));
  HTREEITEM bob = expand(node(rock, "Bob"));
  TreeView_SelectItem(tree(), rock);
  pumpFor(20);
  ASSERT_EQ(column(3), (std::vector<std::string>{"One", "Two", "Three", "Four", "Five", "Six"}));
  selectRows({1, 3});  // Bob's "Hits" and Cy's only track
  SendMessageA(window->window(), WM_COMMAND, CMD_DELETE, 0);
  pumpFor(50);
  EXPECT_EQ(childTexts(rock), (std::vector<std::string>{"Ann", "Bob", "Dee", "Eve"}));
  EXPECT_EQ(childTexts(bob), std::vector<std::string>{"Live"});

  selectRows({1, 2, 3});  // Three, Five, Six: the store deletes the first only
  {
    AlertSink boxes;
    FaultPlan disk;
    disk.fail(kFaultWrite, 2, ERROR_DISK_FULL, true);
    SendMessageA(window->window(), WM_COMMAND, CMD_DELETE, 0);
    pumpFor(50);
    EXPECT_GE(boxes.count(), 1u);
  }
  EXPECT_EQ(column(3), (std::vector<std::string>{"One", "Five", "Six"}));
  EXPECT_EQ(childTexts(rock), (std::vector<std::string>{"Ann", "Dee", "Eve"}));
  catalogue->close();
  SourceList reloaded;
  reloaded.load(dataDir.path());
  Catalogue again(reloaded, dataDir.path());
  again.open();
  std::vector<std::string> stored;
  for (const TrackItem& item : again.listTracks(TrackFilter())) stored.push_back(item.tag.title.value_or(""));
  std::sort(stored.begin(), stored.end());
  EXPECT_EQ(stored, (std::vector<std::string>{"Five", "One", "Six"}));
  again.close();
  catalogue->open();
}

TEST_F(BrowseTest, PostedDeletionsNeverHitAnotherNode) {
  catalogueSongs("Folder", MediaType::kLocalFolder,
                 {{"1", "Ann", "A1", kRock, 1}, {"2", "Ann", "A2", kRock, 2}, {"3", "Bob", "B1", kPop, 3}});
  waitForFirstNode();
  // An expanded parent with several children goes without a stray deletion.
  HTREEITEM rock = expand(node(nullptr, "Rock"));
  expand(node(rock, "Ann"));
  window->tree().prunePath(TrackFilter{std::string("Rock"), {}, {}}, {LEVEL_GENRE});
  EXPECT_EQ(pendingTreeDeletions(), 0);
  EXPECT_EQ(childTexts(), std::vector<std::string>{"Pop"});
  // A deletion posted for the current node, then a rebuild before it
  // arrives: the new nodes, whatever their handles, stay.
  groupBy(LEVEL_ARTIST);
  window->tree().postDeleteCurrent();
  ASSERT_EQ(pendingTreeDeletions(), 1);
  groupBy(LEVEL_ARTIST);
  pumpFor(50);
  EXPECT_EQ(childTexts(), (std::vector<std::string>{"Ann", "Bob"}));
  // The same with a node inserted between the post and its arrival.
  window->tree().postDeleteCurrent();
  window->tree().prunePath(TrackFilter{{}, std::string("Ann"), {}}, {LEVEL_ARTIST});
  window->tree().ensurePath(TrackFilter{std::string("Rock"), std::string("Cy"), std::string("C")});
  pumpFor(50);
  EXPECT_EQ(childTexts(), (std::vector<std::string>{"Bob", "Cy"}));
}

TEST_F(BrowseTest, ARebuiltTreeShowsFirstAndItsListFollowsUnlessAnotherNodeWasChosen) {
  catalogueSongs("Folder", MediaType::kLocalFolder, {{"1", "Ann", "A", kRock, 1}, {"2", "Bob", "B", kPop, 2}});
  waitForFirstNode();
  SendMessageA(control(IDC_GROUP_COMBO), CB_SETCURSEL, levelNumber(LEVEL_ARTIST), 0);
  SendMessageA(window->window(), WM_COMMAND, MAKEWPARAM(IDC_GROUP_COMBO, CBN_SELCHANGE), 0);
  EXPECT_EQ(childTexts(), (std::vector<std::string>{"Ann", "Bob"}));
  EXPECT_EQ(window->tree().currentNode(), node(nullptr, "Ann"));
  // Another node chosen before the first root's fill arrives keeps its tracks.
  TreeView_SelectItem(tree(), node(nullptr, "Bob"));
  pumpFor(50);
  EXPECT_EQ(column(0), std::vector<std::string>{"Bob"});
  groupBy(LEVEL_ARTIST);
  EXPECT_EQ(column(0), std::vector<std::string>{"Ann"});
}

TEST_F(BrowseTest, ARebuildWithoutRootNodesEmptiesTheList) {
  catalogueSongs("Folder", MediaType::kLocalFolder, {{"1", "Ann", "A", kRock, 1}});
  waitForFirstNode();
  catalogue->removeSource(sources.entry(0)->id);
  groupBy(LEVEL_GENRE);
  EXPECT_EQ(window->list().rowCount(), 0);
  EXPECT_FALSE(window->strip().isEnabled(BTN_PLAY_ALL));
  EXPECT_EQ(window->tree().currentNode(), nullptr);
}

TEST_F(BrowseTest, AFillWhileSuspendedChangesOnlyWhatResumeRestores) {
  catalogueSongs("Folder", MediaType::kLocalFolder, {{"1", "Ann", "A", kRock, 1}});
  waitForFirstNode();
  window->strip().suspend();
  window->list().fillList(TrackFilter());
  EXPECT_FALSE(window->strip().isEnabled(BTN_PLAY_ALL));
  EXPECT_FALSE(window->strip().isEnabled(BTN_MEDIA_STORE));
  window->strip().resume();
  EXPECT_TRUE(window->strip().isEnabled(BTN_PLAY_ALL));
  EXPECT_TRUE(window->strip().isEnabled(BTN_MEDIA_STORE));
}

TEST_F(BrowseTest, SeveralTracksShareOnlyTheChangedValuesAndTheTreeFollows) {
  catalogueSongs("Folder", MediaType::kLocalFolder,
                 {{"One", "Ann", "First", kRock, 1},
                  {"Two", "Ann", "Second", kRock, 2},
                  {"Three", "Ann", "Third", kRock, 3},
                  {"Else", "Zed", "Z", kRock, 4}});
  waitForFirstNode();
  HTREEITEM rock = expand(node(nullptr, "Rock"));
  TreeView_SelectItem(tree(), node(rock, "Ann"));
  selectRows({0, 1, 2});
  editSelectedWith([&](HWND dialog) {
    EXPECT_EQ(text(dialog, IDC_TAG_ARTIST), "Ann");
    EXPECT_EQ(text(dialog, IDC_TAG_ALBUM), "[Multiple Values]");
    EXPECT_EQ(text(dialog, IDC_TAG_GENRE), "Rock");
    for (int line : {IDC_TAG_FILE_LINE1, IDC_TAG_FILE_LINE2, IDC_TAG_FILE_LINE3}) {
      EXPECT_EQ(text(dialog, line), "[Multiple Values]");
    }
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_TAG_TITLE)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_TAG_TRACK_NUMBER)));
    SetDlgItemTextA(dialog, IDC_TAG_ARTIST, "Bea");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  pumpFor(50);
  std::vector<TrackItem> edited = catalogue->listTracks(TrackFilter{{}, std::string("Bea"), {}});
  ASSERT_EQ(edited.size(), 3u);
  for (const TrackItem& item : edited) {
    EXPECT_EQ(item.tag.title, std::string(item.tag.album == "First" ? "One" : item.tag.album == "Second" ? "Two" : "Three"));
  }
  // The rows left the list filtered by the old artist; its node went and
  // the new one came in sorted position.
  EXPECT_EQ(childTexts(rock), (std::vector<std::string>{"Bea", "Zed"}));
  EXPECT_EQ(nodeImage(node(rock, "Bea")), window->tree().images().normal[LEVEL_ARTIST]);
}

TEST_F(BrowseTest, OneTrackWritesAllFiveValuesAndCancelWritesNothing) {
  catalogueSongs("Folder", MediaType::kLocalFolder,
                 {{"Song", "Ann", "Old", kRock, 1}, {"Keep", "Ann", "Kept", kRock, 2}});
  groupBy(LEVEL_ALBUM);
  TreeView_SelectItem(tree(), node(nullptr, "Old"));
  selectRows({0});
  editSelectedWith([&](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_TAG_ALBUM, "Changed");
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(catalogue->listTracks(TrackFilter{{}, {}, std::string("Old")}).size(), 1u);
  editSelectedWith([&](HWND dialog) {
    EXPECT_EQ(text(dialog, IDC_TAG_FILE_LINE1), "Folder");
    EXPECT_EQ(text(dialog, IDC_TAG_FILE_LINE3), "song0.mp3");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_TAG_TITLE)));
    SetDlgItemTextA(dialog, IDC_TAG_ALBUM, "New");
    SetDlgItemTextA(dialog, IDC_TAG_TITLE, "");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  pumpFor(50);
  TrackItem item = catalogue->listTracks(TrackFilter{{}, {}, std::string("New")}).at(0);
  EXPECT_EQ(item.tag.title, std::string());
  EXPECT_EQ(item.tag.artist, std::string("Ann"));
  // The album node the row left is gone; the new album came in sorted.
  EXPECT_EQ(childTexts(), (std::vector<std::string>{"Kept", "New"}));
}

// A value longer than a box reads back (511 characters once) goes back
// whole when the user did not touch it; an edited box gives all its text.
TEST_F(BrowseTest, ValuesLongerThanTheBoxesStayWholeUnlessEdited) {
  catalogueSongs("Folder", MediaType::kLocalFolder, {{"Song", "Ann", "Old", kRock, 1}});
  const int id = catalogue->listTracks(TrackFilter()).at(0).id;
  TagChange longer;
  longer.artist = std::string(600, 'a') + "z";
  longer.title = std::string(700, 't');
  ASSERT_EQ(catalogue->updateTags(id, longer), id);
  groupBy(LEVEL_ALBUM);
  TreeView_SelectItem(tree(), node(nullptr, "Old"));
  selectRows({0});
  const std::string typed = std::string(900, 'n');
  editSelectedWith([&](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_TAG_ALBUM, typed.c_str());
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  pumpFor(50);
  TrackItem item = catalogue->readTrack(id);
  EXPECT_EQ(item.tag.artist, longer.artist);
  EXPECT_EQ(item.tag.title, longer.title);
  EXPECT_EQ(item.tag.album, typed);
  EXPECT_EQ(item.tag.genre, std::string("Rock"));
}

// Counts the row removals the list control gets while it draws itself.
struct ListWatch {
  static WNDPROC original;
  static bool drawing;
  static int removals, removalsWhileDrawing, emptyings;
  static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETREDRAW) drawing = wParam != FALSE;
    if (message == LVM_DELETEITEM || message == LVM_DELETEALLITEMS) {
      ++(message == LVM_DELETEITEM ? removals : emptyings);
      if (drawing) ++removalsWhileDrawing;
    }
    return CallWindowProcA(original, window, message, wParam, lParam);
  }
};
WNDPROC ListWatch::original = nullptr;
bool ListWatch::drawing = true;
int ListWatch::removals = 0, ListWatch::removalsWhileDrawing = 0, ListWatch::emptyings = 0;

// How many messages the tree gets: Wine's tree view looks every item handle
// it is given up in a list of all its nodes, so a message per edited row
// costs more the larger the tree.
struct TreeWatch {
  static WNDPROC original;
  static int messages, deletions, siblingSteps, itemChanges;
  static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++messages;
    if (message == TVM_DELETEITEM) ++deletions;
    if (message == TVM_SETITEMA || message == TVM_SETITEMW) ++itemChanges;
    if (message == TVM_GETNEXTITEM && wParam == TVGN_NEXT) ++siblingSteps;
    return CallWindowProcA(original, window, message, wParam, lParam);
  }
  static void start(HWND tree) {
    original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&proc)));
    messages = deletions = siblingSteps = itemChanges = 0;
  }
  static void stop(HWND tree) { SetWindowLongPtrA(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original)); }
};
WNDPROC TreeWatch::original = nullptr;
int TreeWatch::messages = 0, TreeWatch::deletions = 0, TreeWatch::siblingSteps = 0, TreeWatch::itemChanges = 0;

// How often the counts line gets a text: each one repaints it.
struct CountsWatch {
  static WNDPROC original;
  static int texts;
  static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) ++texts;
    return CallWindowProcA(original, window, message, wParam, lParam);
  }
};
WNDPROC CountsWatch::original = nullptr;
int CountsWatch::texts = 0;

// The order a bare tree view gives the values inserted one by one, sorted.
std::vector<std::string> sortedByTheControl(const ValueList& values) {
  HWND bare = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 100, 100, GetDesktopWindow(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  for (const GroupValue& value : values.values) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(value.value.c_str());
    TreeView_InsertItem(bare, &insert);
  }
  std::vector<std::string> texts = test::childTexts(bare, nullptr);
  DestroyWindow(bare);
  return texts;
}

// Hundreds of rows edited and deleted at once: no track is looked for by a
// walk of the store file, no row leaves the list while it draws, the tree
// keeps the order a sorted insertion gives, work past the progress
// threshold shows the progress dialog with its count (and work within it
// none), and the catalogue, list and tree agree at the end.
TEST_F(BrowseTest, HundredsOfRowsAreEditedAndDeletedWithoutWalksOrRedraws) {
  const char* artists[] = {"ann", "Ann", "b", "B", "_x", "Z9", "z10", "Zed", "a b", "ab", "Äda", "123", "ANN"};
  std::vector<SongTag> songs;
  for (int i = 0; i < 390; ++i) {
    songs.push_back({"Song " + std::to_string(i), artists[i % 13], "Album " + std::to_string(i % 40),
                     i % 3 ? kRock : kJazz, i % 90 + 1});
  }
  catalogueSongs("Folder", MediaType::kLocalFolder, songs);
  window->busy().setThreshold(std::chrono::seconds(0));
  groupBy(LEVEL_ARTIST);  // the 13 roots, then the first one's rows
  EXPECT_EQ(window->busy().dialog().countText(), "Listed: 30");
  window->busy().setThreshold(std::chrono::hours(1));
  const std::vector<std::string> artistOrder = childTexts();
  EXPECT_EQ(artistOrder, sortedByTheControl(catalogue->groupValues(TrackFilter(), LEVEL_ARTIST)));
  EXPECT_EQ(artistOrder.size(), 13u);
  groupBy(LEVEL_GENRE);
  window->busy().setThreshold(std::chrono::seconds(0));
  HTREEITEM rock = expand(node(nullptr, "Rock"));
  EXPECT_EQ(window->busy().dialog().countText(), "Grouped: 13");
  EXPECT_EQ(childTexts(rock),
            sortedByTheControl(catalogue->groupValues(TrackFilter{std::string("Rock"), {}, {}}, LEVEL_ARTIST)));
  TreeView_SelectItem(tree(), rock);
  ASSERT_EQ(window->list().rowCount(), 260);
  EXPECT_EQ(window->busy().dialog().countText(), "Listed: 260");
  window->busy().setThreshold(std::chrono::hours(1));
  ListWatch::original =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListWatch::proc)));

  // Every row of the artists "ann" and "B" gets the artist "Bea".
  std::vector<int> rows;
  const std::vector<std::string> artistsBefore = column(0);
  for (int row = 0; row < static_cast<int>(artistsBefore.size()); ++row) {
    const std::string& artist = artistsBefore[static_cast<size_t>(row)];
    if (artist == "ann" || artist == "B") rows.push_back(row);
  }
  ASSERT_EQ(rows.size(), 40u);
  // And 160 more rows of other artists, which keep theirs.
  for (int row = 0; rows.size() < 200; ++row) {
    const std::string& artist = artistsBefore[static_cast<size_t>(row)];
    if (artist != "ann" && artist != "B") rows.push_back(row);
  }
  selectRows(rows);
  const int walksBefore = catalogue->storeWalks();
  const std::string together = "Together, an album long enough to move each record";
  {
    FaultPlan counting;
    TreeWatch::start(tree());
    editSelectedWith([&](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_TAG_ALBUM, together.c_str());
      SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    TreeWatch::stop(tree());
    // The 200 tracks reach the disk with the flushes of one batch, and the
    // tree, whose artist nodes were never opened, hears of none of them.
    EXPECT_LE(counting.seen(kFaultFlush), 3);
    EXPECT_LT(TreeWatch::messages, 40);
  }
  EXPECT_EQ(window->busy().dialog().countText(), "Listed: 260");  // nothing new
  window->busy().setThreshold(std::chrono::seconds(0));
  selectRows(std::vector<int>(rows.begin(), rows.begin() + 40));
  editSelectedWith([&](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_TAG_ARTIST, "Bea");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  pumpFor(50);
  EXPECT_EQ(window->busy().dialog().countText(), "Edited: 40");
  EXPECT_FALSE(window->busy().dialog().isOpen());
  EXPECT_EQ(catalogue->storeWalks(), walksBefore);
  EXPECT_EQ(catalogue->listTracks(TrackFilter{{}, {}, together}).size(), 200u);
  EXPECT_EQ(catalogue->listTracks(TrackFilter{{}, std::string("Bea"), {}}).size(), 40u);
  const std::vector<std::string> albums = column(1), artistsShown = column(0);
  EXPECT_EQ(std::count(albums.begin(), albums.end(), together), 200);
  EXPECT_EQ(std::count(artistsShown.begin(), artistsShown.end(), "Bea"), 40);
  std::vector<std::string> rockArtists = childTexts(rock);
  EXPECT_EQ(rockArtists,
            sortedByTheControl(catalogue->groupValues(TrackFilter{std::string("Rock"), {}, {}}, LEVEL_ARTIST)));
  EXPECT_EQ(std::count(rockArtists.begin(), rockArtists.end(), "Bea"), 1);
  EXPECT_EQ(std::count(rockArtists.begin(), rockArtists.end(), "ann"), 0);

  // Ctrl+A, Home and Shift+End each change the selection of hundreds of
  // rows at once: the counts line is set once for each, not once per row,
  // and is exact once the queue is empty; the keys still scroll the list
  // to the row they move to.
  HWND counts = control(IDC_COUNTS);
  CountsWatch::original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(counts, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountsWatch::proc)));
  auto countsShown = [&] {
    char text[64] = {};
    GetWindowTextA(counts, text, sizeof text);
    return std::string(text);
  };
  // How often the key set the counts line until it showed `shown`.
  auto textsOfKey = [&](UINT code, int held, const std::string& shown) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    if (held) keys[held] = 0x80;
    SetKeyboardState(keys);
    CountsWatch::texts = 0;
    PostMessageA(list(), WM_KEYDOWN, code, 1);
    EXPECT_TRUE(pumpUntil([&] { return countsShown() == shown; }, 5000)) << countsShown() << " instead of " << shown;
    keys[held] = 0;
    SetKeyboardState(keys);
    return CountsWatch::texts;
  };
  selectRows({});
  ListView_SetItemState(list(), 259, LVIS_FOCUSED, LVIS_FOCUSED);  // Home then moves it
  pumpFor(30);
  EXPECT_EQ(textsOfKey('A', VK_CONTROL, "390 tracks, 260 listed, 260 selected"), 1);
  EXPECT_EQ(textsOfKey(VK_HOME, 0, "390 tracks, 260 listed, 1 selected"), 1);
  EXPECT_EQ(textsOfKey(VK_END, VK_SHIFT, "390 tracks, 260 listed, 260 selected"), 1);
  EXPECT_EQ(ListView_GetTopIndex(list()), 260 - ListView_GetCountPerPage(list()));
  EXPECT_EQ(textsOfKey(VK_HOME, 0, "390 tracks, 260 listed, 1 selected"), 1);
  EXPECT_EQ(ListView_GetTopIndex(list()), 0);
  // A plain click among them all leaves the clicked row alone selected.
  EXPECT_EQ(textsOfKey('A', VK_CONTROL, "390 tracks, 260 listed, 260 selected"), 1);
  RECT label = {};
  ListView_GetItemRect(list(), 3, &label, LVIR_LABEL);
  const LPARAM at = MAKELPARAM(label.left + 3, (label.top + label.bottom) / 2);
  CountsWatch::texts = 0;
  PostMessageA(list(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list(), WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(pumpUntil([&] { return countsShown() == "390 tracks, 260 listed, 1 selected"; }, 5000));
  EXPECT_EQ(CountsWatch::texts, 1);
  EXPECT_EQ(ListView_GetNextItem(list(), -1, LVNI_SELECTED), 3);

  // 150 rows deleted at once: most of the list goes, so it is emptied once
  // (not while it draws) and the 110 others come back in their order with
  // their texts and the focus; the counts line is told at the end, not at
  // every row.
  std::vector<int> doomed;
  for (int row = 0; row < 260; row += 2) doomed.push_back(row);
  for (int row = 1; doomed.size() < 150; row += 2) doomed.push_back(row);
  selectRows(doomed);
  ListView_SetItemState(list(), 41, LVIS_FOCUSED, LVIS_FOCUSED);  // the first row that stays
  const std::vector<std::string> titlesBefore = column(3), albumsBefore = column(1);
  std::vector<std::string> keptTitles, keptAlbums;
  for (int row = 0; row < 260; ++row) {
    if (std::find(doomed.begin(), doomed.end(), row) != doomed.end()) continue;
    keptTitles.push_back(titlesBefore[static_cast<size_t>(row)]);
    keptAlbums.push_back(albumsBefore[static_cast<size_t>(row)]);
  }
  ListWatch::removals = ListWatch::removalsWhileDrawing = ListWatch::emptyings = 0;
  CountsWatch::texts = 0;
  SendMessageA(window->window(), WM_COMMAND, CMD_DELETE, 0);
  pumpFor(50);
  EXPECT_EQ(ListWatch::removals, 0);
  EXPECT_EQ(ListWatch::emptyings, 1);
  EXPECT_EQ(ListWatch::removalsWhileDrawing, 0);
  EXPECT_LE(CountsWatch::texts, 3);
  EXPECT_EQ(window->countsText(), "240 tracks, 110 listed, 0 selected");
  EXPECT_EQ(column(3), keptTitles);
  EXPECT_EQ(column(1), keptAlbums);
  EXPECT_EQ(ListView_GetNextItem(list(), -1, LVNI_FOCUSED), 0);
  EXPECT_EQ(window->busy().dialog().countText(), "Deleted: 150");
  EXPECT_FALSE(window->busy().dialog().isOpen());
  EXPECT_EQ(catalogue->storeWalks(), walksBefore);
  EXPECT_EQ(window->list().rowCount(), 110);
  EXPECT_EQ(catalogue->listTracks(TrackFilter{std::string("Rock"), {}, {}}).size(), 110u);
  // The tree shows exactly the artists the remaining rows carry.
  EXPECT_EQ(childTexts(rock),
            sortedByTheControl(catalogue->groupValues(TrackFilter{std::string("Rock"), {}, {}}, LEVEL_ARTIST)));

  // A few rows go one by one, the others staying where they are.
  selectRows({0, 57, 109});
  keptTitles.erase(keptTitles.begin() + 109);
  keptTitles.erase(keptTitles.begin() + 57);
  keptTitles.erase(keptTitles.begin());
  ListWatch::removals = ListWatch::emptyings = CountsWatch::texts = 0;
  SendMessageA(window->window(), WM_COMMAND, CMD_DELETE, 0);
  pumpFor(50);
  EXPECT_EQ(ListWatch::removals, 3);
  EXPECT_EQ(ListWatch::emptyings, 0);
  EXPECT_EQ(ListWatch::removalsWhileDrawing, 0);
  EXPECT_LE(CountsWatch::texts, 3);
  EXPECT_EQ(column(3), keptTitles);
  EXPECT_EQ(catalogue->listTracks(TrackFilter{std::string("Rock"), {}, {}}).size(), 107u);
  SetWindowLongPtrA(counts, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountsWatch::original));
  SetWindowLongPtrA(list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListWatch::original));
}

// Most of a parent's hundreds of children emptied at once: the tree builds
// the parent again in one deletion instead of one per child (each searches
// all of Wine's tree nodes), and the user sees the same tree: the node the
// list came from stays selected without the list filling again, an open
// child stays open, a scroll into the deleted children stops at the nearest
// node that stays, and no deletion is left posted. Grouped by artist, a
// find that empties most roots does the same at the top.
TEST_F(BrowseTest, EmptyingMostOfAParentsChildrenBuildsItAgainAndKeepsTheView) {
  std::vector<SongTag> songs;
  for (int i = 0; i < 600; ++i) {
    char artist[16];
    std::snprintf(artist, sizeof artist, "Artist %03d", i);
    const char* title = i < 300 ? "Gone " : i < 580 ? "Lost " : "Kept ";
    songs.push_back({title + std::to_string(i), artist, "Album " + std::to_string(i % 2), kRock, 1});
  }
  songs.push_back({"Blue", "Zed", "Z", kJazz, 1});
  catalogueSongs("Folder", MediaType::kLocalFolder, songs);
  waitForFirstNode();
  HTREEITEM rock = expand(node(nullptr, "Rock"));
  expand(node(rock, "Artist 599"));
  TreeView_SelectItem(tree(), rock);
  pumpFor(20);
  ASSERT_EQ(window->list().rowCount(), 600);
  TreeView_SelectSetFirstVisible(tree(), node(rock, "Artist 100"));
  auto rowsTitled = [&](const std::string& start) {
    std::vector<int> rows;
    const std::vector<std::string> titles = column(3);
    for (size_t row = 0; row < titles.size(); ++row) {
      if (titles[row].rfind(start, 0) == 0) rows.push_back(static_cast<int>(row));
    }
    return rows;
  };
  auto deleteSelected = [&] {
    ListWatch::emptyings = 0;
    TreeWatch::start(tree());
    SendMessageA(window->window(), WM_COMMAND, CMD_DELETE, 0);
    TreeWatch::stop(tree());
    EXPECT_EQ(pendingTreeDeletions(), 0);
    EXPECT_EQ(TreeWatch::deletions, 1);
    EXPECT_LT(TreeWatch::siblingSteps, 10);  // the new children are found by text, not walked
    EXPECT_EQ(ListWatch::emptyings, 1);      // the deletion's own: the list did not fill again
    pumpFor(50);
  };
  ListWatch::original =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListWatch::proc)));
  selectRows(rowsTitled("Gone"));
  deleteSelected();
  rock = node(nullptr, "Rock");
  EXPECT_EQ(TreeView_GetSelection(tree()), rock);
  EXPECT_EQ(window->tree().currentNode(), rock);
  EXPECT_EQ(TreeView_GetFirstVisible(tree()), rock);
  const std::vector<std::string> rockArtists = childTexts(rock);
  EXPECT_EQ(rockArtists,
            sortedByTheControl(catalogue->groupValues(TrackFilter{std::string("Rock"), {}, {}}, LEVEL_ARTIST)));
  EXPECT_EQ(rockArtists.size(), 300u);
  HTREEITEM open = node(rock, "Artist 599");
  EXPECT_TRUE(TreeView_GetItemState(tree(), open, TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(childTexts(open), std::vector<std::string>{"Album 1"});
  EXPECT_EQ(window->countsText(), "301 tracks, 300 listed, 0 selected");
  EXPECT_TRUE(rowsTitled("Gone").empty());

  groupBy(LEVEL_ARTIST);
  HTREEITEM kept = expand(node(nullptr, "Artist 599"));
  TreeView_SelectItem(tree(), kept);
  pumpFor(20);
  SetWindowTextA(window->findBox(), "lost");
  ASSERT_EQ(window->list().rowCount(), 280);
  selectRows(rowsTitled("Lost"));
  deleteSelected();
  kept = node(nullptr, "Artist 599");
  EXPECT_EQ(TreeView_GetSelection(tree()), kept);
  EXPECT_EQ(window->tree().currentNode(), kept);
  EXPECT_TRUE(TreeView_GetItemState(tree(), kept, TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(childTexts(), sortedByTheControl(catalogue->groupValues(TrackFilter(), LEVEL_ARTIST)));
  EXPECT_EQ(childTexts().size(), 21u);
  EXPECT_EQ(window->countsText(), "21 tracks, 0 listed, 0 selected");
  SetWindowLongPtrA(list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListWatch::original));
}

// How many nodes the window is told are opening: under Wine each opening
// lays out every node the tree shows.
struct OpeningWatch {
  static WNDPROC original;
  static int openings;
  static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TVN_ITEMEXPANDINGA) ++openings;
    return CallWindowProcA(original, window, message, wParam, lParam);
  }
};
WNDPROC OpeningWatch::original = nullptr;
int OpeningWatch::openings = 0;

// Numpad * opens the selected node and every node below it, whether its
// children were built before (one of them open) or not, opening the top
// node alone: the list stays as it was and other nodes stay closed.
TEST_F(BrowseTest, NumpadStarOpensEveryNodeBelowTheSelectedOneAtOnce) {
  std::vector<SongTag> songs;
  for (int i = 0; i < 260; ++i) {
    songs.push_back({"Song " + std::to_string(i), "Artist " + std::to_string(i), "Album " + std::to_string(i % 3),
                     i < 250 ? kRock : kPop, 1});
  }
  songs.push_back({"Blue", "Zed", "Z", kJazz, 1});
  catalogueSongs("Folder", MediaType::kLocalFolder, songs);
  waitForFirstNode();
  HTREEITEM rock = expand(node(nullptr, "Rock"));
  expand(node(rock, "Artist 7"));
  OpeningWatch::original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window->window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OpeningWatch::proc)));
  auto pressStarOn = [&](const std::string& genre) {
    HTREEITEM top = node(nullptr, genre);
    TreeView_SelectItem(tree(), top);
    pumpFor(20);
    const int rows = window->list().rowCount();
    SetFocus(tree());
    OpeningWatch::openings = 0;
    PostMessageA(tree(), WM_KEYDOWN, VK_MULTIPLY, 1);  // through the window's message loop
    pumpFor(20);
    EXPECT_LE(OpeningWatch::openings, 2) << genre;  // closed and opened once, its own
    EXPECT_EQ(TreeView_GetSelection(tree()), top);
    EXPECT_EQ(window->list().rowCount(), rows);
    EXPECT_TRUE(TreeView_GetItemState(tree(), top, TVIS_EXPANDED) & TVIS_EXPANDED) << genre;
    TrackFilter path;
    path.genre = genre;
    EXPECT_EQ(childTexts(top), sortedByTheControl(catalogue->groupValues(path, LEVEL_ARTIST)));
    for (const std::string& artist : childTexts(top)) {
      HTREEITEM below = node(top, artist);
      EXPECT_TRUE(TreeView_GetItemState(tree(), below, TVIS_EXPANDED) & TVIS_EXPANDED) << artist;
      path.artist = artist;
      EXPECT_EQ(childTexts(below), sortedByTheControl(catalogue->groupValues(path, LEVEL_ALBUM))) << artist;
    }
  };
  pressStarOn("Rock");  // its artists built before
  pressStarOn("Pop");   // nothing below it built yet
  EXPECT_FALSE(TreeView_GetItemState(tree(), node(nullptr, "Jazz"), TVIS_EXPANDED) & TVIS_EXPANDED);
  // An album edited below an opened artist appears there.
  TreeView_SelectItem(tree(), node(node(nullptr, "Pop"), "Artist 255"));
  pumpFor(20);
  selectRows({0});
  editSelectedWith([](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_TAG_ALBUM, "Fresh");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  pumpFor(50);
  EXPECT_EQ(childTexts(node(node(nullptr, "Pop"), "Artist 255")), std::vector<std::string>{"Fresh"});
  SetWindowLongPtrA(window->window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OpeningWatch::original));
}

TEST_F(BrowseTest, AJobMarksTheNodeItWasStartedForOnly) {
  catalogueSongs("Disc", MediaType::kWriteOnce, {{"1", "Ann", "A", kRock, 1}, {"2", "Bob", "B", kRock, 2}});
  startWorker();
  groupBy(LEVEL_ARTIST);
  HTREEITEM ann = node(nullptr, "Ann"), bob = node(nullptr, "Bob");
  HTREEITEM album = node(expand(ann), "A");
  TreeView_SelectItem(tree(), ann);
  pumpFor(20);
  TreeWatch::start(tree());
  SendMessageA(window->window(), WM_COMMAND, CMD_READY_ALL, 0);
  TreeView_SelectItem(tree(), bob);  // the current node moves while the job runs
  ASSERT_TRUE(pumpUntil([&] { return !window->jobRunning(); }));
  pumpFor(50);
  TreeWatch::stop(tree());
  EXPECT_EQ(TreeWatch::itemChanges, 0);  // the control asks for the images when it draws
  EXPECT_EQ(nodeImage(ann), window->tree().images().ready[LEVEL_ARTIST]);
  EXPECT_EQ(nodeImage(album), window->tree().images().ready[LEVEL_ALBUM]);
  EXPECT_EQ(nodeImage(bob), window->tree().images().normal[LEVEL_ARTIST]);
  TreeView_SelectItem(tree(), ann);
  SendMessageA(window->window(), WM_COMMAND, CMD_UNREADY_ALL, 0);
  ASSERT_TRUE(pumpUntil([&] { return !window->jobRunning(); }));
  pumpFor(50);
  EXPECT_EQ(nodeImage(ann), window->tree().images().normal[LEVEL_ARTIST]);
}

// The strip and both menus show what the catalogue says of the listed
// tracks after every job, deletion and edit, and the menus offer it while
// the Media Store holds the strip.
TEST_F(BrowseTest, TheStripAndTheMenusFollowTheCatalogueAfterEveryJob) {
  catalogueSongs("Disc", MediaType::kWriteOnce, {{"One", "Ann", "A", kRock, 1}, {"Two", "Ann", "A", kRock, 2}});
  startWorker();
  groupBy(LEVEL_ARTIST);
  const std::vector<std::string> copyOnly = {"Add Ready To Play"};
  EXPECT_EQ(litButtons(), std::vector<int>{BTN_READY_ALL});
  EXPECT_EQ(treeMenu(), copyOnly);
  // The disc is elsewhere and the user cancels: nothing was copied, so
  // nothing can play.
  std::filesystem::rename(musicDir.file("Disc"), musicDir.file("Away"));
  SendMessageA(window->window(), WM_COMMAND, CMD_READY_ALL, 0);
  HWND question = nullptr;
  ASSERT_TRUE(pumpUntil([&] { return (question = FindWindowA("#32770", "Disc")) && IsWindowVisible(question); }));
  PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(pumpUntil([&] { return !window->jobRunning(); }));
  pumpFor(50);
  EXPECT_EQ(litButtons(), std::vector<int>{BTN_READY_ALL});
  EXPECT_EQ(treeMenu(), copyOnly);
  // Back in its drive, every track is made ready: nothing is left to copy.
  std::filesystem::rename(musicDir.file("Away"), musicDir.file("Disc"));
  runJob(CMD_READY_ALL);
  const std::vector<std::string> allReady = {"Remove Ready To Play", "Play", "Enqueue"};
  EXPECT_EQ(litButtons(), (std::vector<int>{BTN_PLAY_ALL, BTN_ENQUEUE_ALL}));
  EXPECT_EQ(treeMenu(), allReady);
  // While the Media Store holds the strip, the menus still offer what the
  // list allows.
  SendMessageA(window->window(), MMSG_SKIN_CLICK, BTN_MEDIA_STORE, 0);
  ASSERT_TRUE(window->strip().suspended());
  EXPECT_TRUE(litButtons().empty());
  EXPECT_EQ(treeMenu(), allReady);
  EXPECT_EQ(rowMenu(),
            (std::vector<std::string>{"Play", "Delete", "Edit Tag Info", "Remove Ready To Play", "Enqueue"}));
  SendMessageA(window->mediaStore().dialog(), WM_COMMAND, IDC_STORE_CLOSE, 0);
  pumpFor(50);  // the rebuilt tree fills the list by a posted message
  EXPECT_EQ(litButtons(), (std::vector<int>{BTN_PLAY_ALL, BTN_ENQUEUE_ALL}));
  // One copy removed: that track can be copied again, the other still plays.
  EXPECT_EQ(rowMenu().size(), 5u);
  runJob(CMD_UNREADY_SELECTED);
  EXPECT_EQ(treeMenu(), (std::vector<std::string>{"Remove Ready To Play", "Play", "Enqueue", "Add Ready To Play"}));
  // The track that still plays is deleted: what is left can only be copied.
  int readyRow = -1;
  std::vector<TrackItem> tracks = catalogue->listTracks(TrackFilter());
  for (int row = 0; row < window->list().rowCount(); ++row) {
    char title[64] = {};
    ListView_GetItemText(list(), row, 3, title, sizeof title);
    for (const TrackItem& track : tracks) {
      if (track.ready == 1 && track.tag.title == std::string(title)) readyRow = row;
    }
  }
  ASSERT_GE(readyRow, 0);
  selectRows({readyRow});
  SendMessageA(window->window(), WM_COMMAND, CMD_DELETE, 0);
  EXPECT_EQ(window->list().rowCount(), 1);
  EXPECT_EQ(litButtons(), std::vector<int>{BTN_READY_ALL});
  EXPECT_EQ(treeMenu(), copyOnly);
}

// A value longer than any buffer the tree control is read into is still
// its node's: the node lists its tracks, an edit finds it instead of adding
// a twin, and pruning finds it to remove.
// Find from the first key to Escape, and grouping by media: the found rows
// are the usual rows with their media; deleting found rows prunes emptied
// groups but never the node the list belongs to; a chosen node ends the
// find; each media node lists exactly its source's tracks; the counts
// follow every step.
TEST_F(BrowseTest, FindListsMatchingTracksWithTheirMediaAndMediaGroupsBySource) {
  catalogueSongs("Folder", MediaType::kLocalFolder,
                 {{"Love Song", "Ann", "Near", kRock, 1}, {"Other", "Bob", "Far", kPop, 2}});
  catalogueSongs("Disc", MediaType::kWriteOnce,
                 {{"Lovely", "Cy", "Round", kRock, 1}, {"Plain", "Ann", "Near", kJazz, 2}});
  waitForFirstNode();
  HWND box = window->findBox();
  wchar_t cue[16] = {};
  SendMessageW(box, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 16);
  EXPECT_EQ(std::wstring(cue), L"Find");
  EXPECT_EQ(window->countsText(), "4 tracks, 1 listed, 0 selected");  // Jazz comes first

  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_TRUE(window->takeKey(MSG{list(), WM_KEYDOWN, 'F', 0, 0, {}}));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetFocus(), box);
  SetWindowTextA(box, "LOVE");
  EXPECT_EQ(column(3), (std::vector<std::string>{"Love Song", "Lovely"}));
  EXPECT_EQ(column(4), (std::vector<std::string>{"Folder", "Disc"}));
  EXPECT_EQ(litButtons(), (std::vector<int>{BTN_READY_ALL, BTN_PLAY_ALL, BTN_ENQUEUE_ALL}));
  selectRows({0});
  EXPECT_EQ(window->countsText(), "4 tracks, 2 listed, 1 selected");
  {
    ShellRecorder shell;
    SendMessageA(window->window(), WM_COMMAND, CMD_PLAY_ALL, 0);
    ASSERT_TRUE(pumpUntil([&] { return !window->handingOff(); }));
    ASSERT_EQ(shell.requests().size(), 1u);  // the disc track has no copy to play
    EXPECT_EQ(shell.requests()[0].verb, "Play");
  }

  // Deleting every found row: the emptied Rock genre goes, the Jazz node
  // the list came from stays.
  HTREEITEM jazz = TreeView_GetSelection(tree());
  expand(node(nullptr, "Rock"));
  selectRows({0, 1});
  SendMessageA(window->window(), WM_COMMAND, CMD_DELETE, 0);
  pumpFor(50);
  EXPECT_EQ(window->list().rowCount(), 0);
  EXPECT_EQ(childTexts(), (std::vector<std::string>{"Jazz", "Pop"}));
  EXPECT_EQ(window->tree().currentNode(), jazz);
  EXPECT_EQ(window->countsText(), "2 tracks, 0 listed, 0 selected");

  EXPECT_TRUE(window->takeKey(MSG{box, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}}));
  EXPECT_EQ(GetWindowTextLengthA(box), 0);
  EXPECT_EQ(column(3), std::vector<std::string>{"Plain"});
  SetWindowTextA(box, "ann  near");
  EXPECT_EQ(column(3), std::vector<std::string>{"Plain"});
  SetWindowTextA(box, "far");
  EXPECT_EQ(column(3), std::vector<std::string>{"Other"});
  TreeView_SelectItem(tree(), node(nullptr, "Pop"));
  EXPECT_EQ(GetWindowTextLengthA(box), 0);  // a chosen node ends the find
  EXPECT_FALSE(window->list().showsFind());

  groupBy(LEVEL_MEDIA);
  EXPECT_EQ(childTexts(), (std::vector<std::string>{"Disc", "Folder"}));
  HTREEITEM disc = node(nullptr, "Disc"), folder = node(nullptr, "Folder");
  EXPECT_EQ(nodeImage(disc), window->tree().images().normal[LEVEL_MEDIA]);
  EXPECT_EQ(nodeImage(folder), window->tree().images().folder[LEVEL_MEDIA]);
  EXPECT_EQ(column(3), std::vector<std::string>{"Plain"});
  TreeView_SelectItem(tree(), folder);
  EXPECT_EQ(column(3), std::vector<std::string>{"Other"});
  EXPECT_EQ(column(4), std::vector<std::string>{"Folder"});
  EXPECT_EQ(childTexts(expand(folder)), std::vector<std::string>{"Bob"});
  EXPECT_EQ(childTexts(expand(node(folder, "Bob"))), std::vector<std::string>{"Far"});
  TreeView_SelectItem(tree(), node(node(folder, "Bob"), "Far"));
  EXPECT_EQ(column(3), std::vector<std::string>{"Other"});

  // An edit under a media node puts the new artist under that source.
  selectRows({0});
  TrackItem other = catalogue->findTracks("other")[0];
  TagChange renamed;
  renamed.artist = "Bea";
  ASSERT_EQ(catalogue->updateTags(other.id, renamed), other.id);
  window->list().updateRowsAfterEdit({{other.id, catalogue->readTrack(other.id).tag}});
  pumpFor(50);
  EXPECT_EQ(childTexts(folder), std::vector<std::string>{"Bea"});

  // A source that is gone leaves an empty media cell.
  sources.removeById(sources.entry(sources.indexOfName("Disc"))->id);
  SetWindowTextA(box, "plain");
  EXPECT_EQ(column(4), std::vector<std::string>{""});

  // Edited so that no field holds the words any more, a row leaves the
  // find; still holding them (here in its album), it stays with its new title.
  const int plainId = catalogue->findTracks("plain").at(0).id;
  auto retitle = [&](const char* title) {
    TagChange change;
    change.title = title;
    ASSERT_EQ(catalogue->updateTags(plainId, change), plainId);
    window->list().updateRowsAfterEdit({{plainId, catalogue->readTrack(plainId).tag}});
  };
  retitle("Simple");
  EXPECT_EQ(window->list().rowCount(), 0);
  SetWindowTextA(box, "near");
  retitle("Simpler");
  EXPECT_EQ(column(3), std::vector<std::string>{"Simpler"});
}

TEST_F(BrowseTest, AGroupValueLongerThan511BytesMatchesItsNode) {
  catalogueSongs("Folder", MediaType::kLocalFolder, {{"One", "Ann", "A", kRock, 1}, {"Two", "Bob", "B", kRock, 2}});
  const std::string longArtist = std::string(600, 'x') + "1";
  TagChange change;
  change.artist = longArtist;
  int annId = catalogue->listTracks(TrackFilter{{}, std::string("Ann"), {}}).at(0).id;
  ASSERT_EQ(catalogue->updateTags(annId, change), annId);
  groupBy(LEVEL_ARTIST);
  ASSERT_EQ(childTexts().size(), 2u);
  HTREEITEM longNode = TreeView_GetNextSibling(tree(), TreeView_GetRoot(tree()));  // "Bob" sorts first
  TreeView_SelectItem(tree(), longNode);
  pumpFor(50);
  EXPECT_EQ(window->list().rowCount(), 1);
  EXPECT_EQ(childTexts().size(), 2u) << "the node kept its tracks";
  window->tree().ensurePath(TrackFilter{std::string("Rock"), longArtist, std::string("A")});
  EXPECT_EQ(childTexts().size(), 2u) << "no twin";
  // A value alike in its first 600 bytes is another node.
  window->tree().ensurePath(TrackFilter{std::string("Rock"), std::string(600, 'x') + "2", std::string("A")});
  EXPECT_EQ(childTexts().size(), 3u);
  TreeView_SelectItem(tree(), TreeView_GetRoot(tree()));  // "Bob": the trackless twin would go with the selection
  window->tree().prunePath(TrackFilter{{}, longArtist, {}}, {LEVEL_ARTIST});
  pumpFor(50);
  EXPECT_EQ(childTexts().size(), 2u);
  EXPECT_EQ(childTexts()[0], "Bob");
}

}  // namespace
}  // namespace tuho::test
