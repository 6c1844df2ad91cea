#include "ModalScript.h"
#include "UiFixture.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Shell.h"
#include "ui/UiIds.h"

namespace tuho::test {
namespace {

void expectRect(const RECT& rect, int x, int y, int width, int height) {
  EXPECT_EQ(rect.left, x);
  EXPECT_EQ(rect.top, y);
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, height);
}

// Width and height the layout derives from the window rectangle.
SIZE layoutSize(HWND window) {
  RECT outer;
  GetWindowRect(window, &outer);
  return SIZE{outer.right - outer.left - 2 * GetSystemMetrics(SM_CXFRAME),
              outer.bottom - outer.top - 2 * GetSystemMetrics(SM_CYFRAME) - GetSystemMetrics(SM_CXSIZE)};
}

using MainWindowTest = UiTest;

TEST_F(MainWindowTest, IsFoundByItsClassAndTitle) {
  EXPECT_EQ(FindWindowA("Tunehoard", "Tunehoard"), window->window());
}

TEST_F(MainWindowTest, FixedControlsStandAtTheirRectangles) {
  RECT combo = rectOf(IDC_GROUP_COMBO);
  EXPECT_EQ(combo.left, 15);
  EXPECT_EQ(combo.top, 64);
  EXPECT_EQ(combo.right - combo.left, 250);
  EXPECT_EQ(rectOf(IDC_TREE).left, 15);
  EXPECT_EQ(rectOf(IDC_TREE).top, 94);
  EXPECT_EQ(rectOf(IDC_LIST).left, 271);
  EXPECT_EQ(rectOf(IDC_LIST).top, 64);
  expectRect(rectOf(IDC_FRAME_TOP_LEFT), 5, 54, 10, 10);
  expectRect(rectOf(BTN_MEDIA_STORE), 70, 0, 40, 40);
  expectRect(rectOf(BTN_READY_ALL), 140, 0, 40, 40);
  expectRect(rectOf(BTN_PLAY_SELECTED), 290, 0, 40, 40);
  expectRect(rectOf(BTN_CONFIG), 440, 0, 40, 40);
}

TEST_F(MainWindowTest, ResizingMovesOnlyTheBrowsingAreaAndFrame) {
  for (SIZE client : {SIZE{900, 700}, SIZE{640, 480}}) {
    resizeClient(client.cx, client.cy);
    SIZE size = layoutSize(window->window());
    int w = size.cx, h = size.cy;
    expectRect(rectOf(IDC_LIST), 271, 64, w - 286, h - 79);
    expectRect(rectOf(IDC_TREE), 15, 94, 250, h - 109);
    expectRect(rectOf(IDC_FRAME_TOP), 15, 54, w - 30, 10);
    expectRect(rectOf(IDC_FRAME_BOTTOM), 15, h - 15, w - 30, 10);
    expectRect(rectOf(IDC_FRAME_LEFT), 5, 64, 10, h - 79);
    expectRect(rectOf(IDC_FRAME_SEPARATOR), 265, 64, 6, h - 79);
    expectRect(rectOf(IDC_FRAME_RIGHT), w - 15, 64, 10, h - 79);
    expectRect(rectOf(IDC_FRAME_BOTTOM_LEFT), 5, h - 15, 10, 10);
    expectRect(rectOf(IDC_FRAME_TOP_RIGHT), w - 15, 54, 10, 10);
    expectRect(rectOf(IDC_FRAME_BOTTOM_RIGHT), w - 15, h - 15, 10, 10);
    expectRect(rectOf(BTN_MEDIA_STORE), 70, 0, 40, 40);
    expectRect(rectOf(IDC_FRAME_TOP_LEFT), 5, 54, 10, 10);
  }
}

TEST_F(MainWindowTest, GroupingOffersGenreArtistAlbumMediaWithGenreChosen) {
  HWND combo = control(IDC_GROUP_COMBO);
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 4);
  char text[32];
  const char* expected[] = {"Genre", "Artist", "Album", "Media"};
  for (int i = 0; i < 4; ++i) {
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, expected[i]);
  }
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(MainWindowTest, ListHasItsFiveColumns) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(control(IDC_LIST), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 5);
  char text[32];
  HDITEMA item = {};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(header, HDM_GETITEMA, 4, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "Media");
  // A fresh user's widths come from the settings, which replace the list's own.
  EXPECT_EQ(SendMessageA(control(IDC_LIST), LVM_GETCOLUMNWIDTH, 3, 0), 200);
  EXPECT_EQ(window->list().readColumnWidths(), (std::array<int, 5>{125, 125, 25, 200, 100}));
  // Stored widths are taken by their low 16 bits.
  window->list().applyColumnWidths({0x10000 + 80, 90, 40, 200, 70});
  EXPECT_EQ(window->list().readColumnWidths(), (std::array<int, 5>{80, 90, 40, 200, 70}));
}

TEST_F(MainWindowTest, ConfigurationMenuListsAboutHelpPreferences) {
  HWND main = window->window();
  std::vector<std::pair<std::string, UINT>> items;
  ModalScript reader({readMenu(&items)}, main);
  SetForegroundWindow(main);
  SendMessageA(main, MMSG_SKIN_CLICK, BTN_CONFIG, 0);  // returns when the menu has closed
  ASSERT_TRUE(reader.finished());
  std::vector<std::pair<std::string, UINT>> expected = {
      {"About Tunehoard", CMD_ABOUT}, {"Help", CMD_HELP}, {"Preferences", CMD_PREFERENCES}};
  EXPECT_EQ(items, expected);
}

TEST_F(MainWindowTest, TreeShowsTheGroupsAndTheFirstNodeFillsTheList) {
  addSourceWithSongs("Folder", MediaType::kLocalFolder, 4);
  catalogue->scanSource(*sources.entry(0), false, JobEvents());
  waitForFirstNode();
  EXPECT_EQ(TreeView_GetCount(control(IDC_TREE)), 1u);  // one genre: Rock
  EXPECT_EQ(window->list().rowCount(), 4);
  EXPECT_TRUE(window->strip().isEnabled(BTN_PLAY_ALL));
  EXPECT_TRUE(window->strip().isEnabled(BTN_ENQUEUE_ALL));
  EXPECT_FALSE(window->strip().isEnabled(BTN_READY_ALL));  // folder tracks need no copy
  SendMessageA(control(IDC_GROUP_COMBO), CB_SETCURSEL, levelNumber(LEVEL_ARTIST), 0);
  SendMessageA(window->window(), WM_COMMAND, MAKEWPARAM(IDC_GROUP_COMBO, CBN_SELCHANGE), 0);
  EXPECT_EQ(TreeView_GetCount(control(IDC_TREE)), 2u);  // Even Artist, Odd Artist
  EXPECT_EQ(window->tree().rootLevel(), LEVEL_ARTIST);
}

TEST_F(MainWindowTest, ExpandingANodeAddsTheNextLevelOnce) {
  addSourceWithSongs("Folder", MediaType::kLocalFolder, 4);
  catalogue->scanSource(*sources.entry(0), false, JobEvents());
  waitForFirstNode();
  HWND tree = control(IDC_TREE);
  HTREEITEM genre = TreeView_GetRoot(tree);
  TreeView_Expand(tree, genre, TVE_EXPAND);
  EXPECT_EQ(TreeView_GetCount(tree), 3u);  // Rock, and its two artists
  TreeView_Expand(tree, genre, TVE_COLLAPSE);
  TreeView_Expand(tree, genre, TVE_EXPAND);
  EXPECT_EQ(TreeView_GetCount(tree), 3u);
  // Selecting an artist lists only that artist's tracks.
  TreeView_SelectItem(tree, TreeView_GetChild(tree, genre));
  EXPECT_EQ(window->list().rowCount(), 2);
}

TEST_F(MainWindowTest, PlayAllClickPlaysTheFirstTrackAndEnqueuesTheRest) {
  addSourceWithSongs("Folder", MediaType::kLocalFolder, 3);
  catalogue->scanSource(*sources.entry(0), false, JobEvents());
  waitForFirstNode();
  ShellRecorder shell;
  SendMessageA(window->window(), MMSG_SKIN_CLICK, BTN_PLAY_ALL, 0);
  ASSERT_TRUE(pumpUntil([&] { return !window->handingOff(); }));
  auto requests = shell.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].verb, "Play");
  EXPECT_EQ(requests[1].verb, "Enqueue");
  EXPECT_EQ(requests[2].verb, "Enqueue");
  EXPECT_EQ(requests[0].owner, reinterpret_cast<intptr_t>(window->window()));
}

TEST_F(MainWindowTest, ClicksOnDisabledButtonsDoNothing) {
  addSourceWithSongs("Folder", MediaType::kLocalFolder, 2);
  catalogue->scanSource(*sources.entry(0), false, JobEvents());
  waitForFirstNode();
  window->strip().disable(BTN_PLAY_ALL);
  ShellRecorder shell;
  SendMessageA(window->window(), MMSG_SKIN_CLICK, BTN_PLAY_ALL, 0);
  EXPECT_FALSE(window->handingOff());
  EXPECT_TRUE(shell.requests().empty());
}

}  // namespace
}  // namespace tuho::test
