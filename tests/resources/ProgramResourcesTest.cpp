// Tuho's resource script, compiled into this program: every resource id is
// present with the size and content the windows that use it rely on.
#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "ResourceReading.h"
#include "resource.h"
#include "version.h"

namespace {

struct Size {
  int id;
  int width;
  int height;
};

const Size kBitmapSizes[] = {
    // strip buttons, four states each
    {128, 40, 40}, {134, 40, 40}, {153, 40, 40}, {151, 40, 40},  // media store
    {114, 40, 40}, {137, 40, 40}, {138, 40, 40}, {136, 40, 40},  // ready all
    {115, 40, 40}, {140, 40, 40}, {141, 40, 40}, {139, 40, 40},  // ready selected
    {129, 40, 40}, {155, 40, 40}, {156, 40, 40}, {154, 40, 40},  // play all
    {113, 40, 40}, {158, 40, 40}, {135, 40, 40}, {157, 40, 40},  // play selected
    {124, 40, 40}, {146, 40, 40}, {147, 40, 40}, {145, 40, 40},  // enqueue all
    {125, 40, 40}, {149, 40, 40}, {150, 40, 40}, {148, 40, 40},  // enqueue selected
    {123, 40, 40}, {143, 40, 40}, {144, 40, 40}, {142, 40, 40},  // configuration
    // strip tiles
    {117, 10, 40}, {122, 10, 40}, {126, 10, 40}, {127, 10, 40}, {121, 10, 40},
    {116, 10, 4}, {118, 10, 4}, {119, 40, 4}, {120, 10, 4},
    // frame corners
    {130, 10, 10}, {131, 10, 10}, {132, 10, 10}, {133, 10, 10},
    // tree and list images
    {108, 16, 16}, {109, 16, 16}, {110, 16, 16}, {160, 16, 16}, {161, 16, 16}, {162, 16, 16},
    {165, 16, 16}, {166, 16, 16}, {167, 16, 16}, {112, 16, 16}, {159, 16, 16}, {163, 16, 16},
    // dialog banners and the About picture
    {170, 400, 33}, {183, 400, 31}, {175, 300, 33}, {177, 300, 33}, {178, 300, 33}, {179, 300, 33},
    {174, 300, 31}, {176, 400, 33}, {172, 400, 31}, {173, 400, 31}, {171, 400, 31},
    {181, 300, 33}, {182, 300, 31}, {191, 300, 64}, {193, 300, 33}, {194, 300, 31}, {164, 400, 250},
};

const int kButtonStates[8][4] = {
    {128, 134, 153, 151}, {114, 137, 138, 136}, {115, 140, 141, 139}, {129, 155, 156, 154},
    {113, 158, 135, 157}, {124, 146, 147, 145}, {125, 149, 150, 148}, {123, 143, 144, 142},
};

const uint32_t kWindowGrey = 0xE6E6E6;

LoadedBitmap bitmap(int id) {
  std::optional<LoadedBitmap> b = loadBitmap(id);
  EXPECT_TRUE(b) << "bitmap " << id;
  return b ? *b : LoadedBitmap{};
}

std::vector<uint32_t> column(const LoadedBitmap& b, int x) {
  std::vector<uint32_t> out;
  for (int y = 0; y < b.height; ++y) out.push_back(b.pixel(x, y));
  return out;
}

}  // namespace

TEST(ProgramBitmaps, EveryBitmapLoadsAt24BitsWithTheSizeItsLayoutFixes) {
  for (const Size& s : kBitmapSizes) {
    std::optional<LoadedBitmap> b = loadBitmap(s.id);
    ASSERT_TRUE(b) << "bitmap " << s.id;
    EXPECT_EQ(b->width, s.width) << "bitmap " << s.id;
    EXPECT_EQ(b->height, s.height) << "bitmap " << s.id;
    EXPECT_EQ(b->bitsPerPixel, 24) << "bitmap " << s.id;
  }
}

TEST(ProgramBitmaps, EveryButtonStateIsAnImageOfItsOwn) {
  std::set<std::vector<uint8_t>> seen;
  for (const auto& states : kButtonStates)
    for (int id : states) EXPECT_TRUE(seen.insert(bitmap(id).rgb).second) << "bitmap " << id << " repeats another";
}

TEST(ProgramBitmaps, ButtonsSitSeamlesslyBetweenTheStripTiles) {
  LoadedBitmap before = bitmap(IDB_STRIP_BEFORE_BUTTON);
  LoadedBitmap after = bitmap(IDB_STRIP_AFTER_BUTTON);
  for (const auto& states : kButtonStates) {
    for (int id : states) {
      LoadedBitmap b = bitmap(id);
      EXPECT_EQ(column(b, 0), column(before, 9)) << "left edge of bitmap " << id;
      EXPECT_EQ(column(b, 39), column(after, 0)) << "right edge of bitmap " << id;
    }
  }
  LoadedBitmap lip = bitmap(IDB_STRIP_LIP);
  LoadedBitmap buttonLip = bitmap(IDB_STRIP_BUTTON_LIP);
  EXPECT_EQ(column(lip, 0), column(buttonLip, 0));
  EXPECT_EQ(column(lip, 0), column(buttonLip, 39));
}

TEST(ProgramBitmaps, FrameCornersAreRoundOutsideAndBlackInside) {
  struct Corner {
    int id;
    int outerX, outerY, innerX, innerY;
  };
  const Corner corners[] = {
      {IDB_CORNER_TOP_LEFT, 0, 0, 9, 9},
      {IDB_CORNER_BOTTOM_LEFT, 0, 9, 9, 0},
      {IDB_CORNER_TOP_RIGHT, 9, 0, 0, 9},
      {IDB_CORNER_BOTTOM_RIGHT, 9, 9, 0, 0},
  };
  for (const Corner& c : corners) {
    LoadedBitmap b = bitmap(c.id);
    ASSERT_EQ(b.width, 10);
    EXPECT_EQ(b.pixel(c.outerX, c.outerY), kWindowGrey) << "bitmap " << c.id;
    EXPECT_EQ(b.pixel(c.innerX, c.innerY), 0u) << "bitmap " << c.id;
  }
}

TEST(ProgramBitmaps, AboutPictureIsPlainWhereTheVersionTextStands) {
  LoadedBitmap about = bitmap(IDB_ABOUT);
  ASSERT_EQ(about.width, 400);
  for (int y = 10; y < 25; ++y)
    for (int x = 10; x < 150; ++x) ASSERT_EQ(about.pixel(x, y), 0xF4F3F3u) << x << "," << y;
}

TEST(ProgramBitmaps, TreeAndListImagesAreAllDifferent) {
  const int ids[] = {108, 109, 110, 160, 161, 162, 165, 166, 167, 112, 159, 163};
  std::set<std::vector<uint8_t>> seen;
  for (int id : ids) EXPECT_TRUE(seen.insert(bitmap(id).rgb).second) << "bitmap " << id << " repeats another";
}

TEST(ProgramIcons, ProgramIconHoldsSmallLargeAndExtraLargeImages) {
  std::vector<int> sizes = iconGroupSizes(IDI_TUHO);
  EXPECT_EQ(std::set<int>(sizes.begin(), sizes.end()), (std::set<int>{16, 32, 48}));
  EXPECT_NE(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TUHO), IMAGE_ICON, 16, 16, 0), nullptr);
}

TEST(ProgramIcons, TrayIconHoldsASixteenPixelImage) {
  std::vector<int> sizes = iconGroupSizes(IDI_TRAY);
  EXPECT_TRUE(std::set<int>(sizes.begin(), sizes.end()).count(16));
  EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRAY)), nullptr);
}

TEST(ProgramDialogs, EveryTemplateCarriesItsCaption) {
  const std::pair<int, const char*> captions[] = {
      {IDD_PROGRESS, "Progress"}, {IDD_MEDIA_STORE, "Media Store"}, {IDD_ADD_MEDIA, "Add Media"},
      {IDD_EDIT_TAG, "Edit Tag"}, {IDD_ABOUT, "About Tunehoard"},   {IDD_LOCATE_VOLUME, "Dialog"},
      {IDD_PREFERENCES, "Preferences"}, {IDD_WELCOME, "Like Help?"},
  };
  for (const auto& [id, caption] : captions) {
    std::optional<DialogTemplate> d = readDialog(id);
    ASSERT_TRUE(d) << "dialog " << id;
    EXPECT_EQ(d->caption, caption);
    EXPECT_EQ(d->fontFace, "MS Shell Dlg");
    EXPECT_EQ(d->fontPoints, 8);
  }
}

TEST(ProgramDialogs, SkinnedDialogsHaveNoSystemMenuAndTheModelessOnesShowThemselves) {
  for (int id : {IDD_PROGRESS, IDD_MEDIA_STORE, IDD_PREFERENCES, IDD_WELCOME})
    EXPECT_FALSE(readDialog(id)->style & WS_SYSMENU) << "dialog " << id;
  for (int id : {IDD_PROGRESS, IDD_MEDIA_STORE}) EXPECT_TRUE(readDialog(id)->style & WS_VISIBLE) << "dialog " << id;
  for (int id : {IDD_PROGRESS, IDD_WELCOME}) EXPECT_TRUE(readDialog(id)->style & DS_CENTER) << "dialog " << id;
  EXPECT_TRUE(readDialog(IDD_ABOUT)->style & WS_SYSMENU);
  EXPECT_TRUE(readDialog(IDD_PROGRESS)->items.empty());
  EXPECT_TRUE(readDialog(IDD_WELCOME)->items.empty());
}

TEST(ProgramDialogs, ShellTemplatesHoldTheirButtons) {
  struct Button {
    int dialog, id;
    const char* text;
    bool isDefault;
  };
  const Button buttons[] = {
      {IDD_ADD_MEDIA, IDOK, "Next", true},         {IDD_ADD_MEDIA, IDCANCEL, "Cancel", false},
      {IDD_LOCATE_VOLUME, IDOK, "OK", true},       {IDD_LOCATE_VOLUME, IDCANCEL, "Cancel", false},
      {IDD_PREFERENCES, IDOK, "OK", true},         {IDD_PREFERENCES, IDCANCEL, "Cancel", false},
      {IDD_MEDIA_STORE, IDC_STORE_ADD, "Add", false}, {IDD_MEDIA_STORE, IDC_STORE_REMOVE, "Remove", false},
      {IDD_MEDIA_STORE, IDC_STORE_RESCAN, "Rescan", false}, {IDD_MEDIA_STORE, IDC_STORE_CLOSE, "Close", true},
  };
  for (const Button& b : buttons) {
    std::optional<DialogTemplate> d = readDialog(b.dialog);
    ASSERT_TRUE(d);
    const DialogItem* item = d->item(b.id);
    ASSERT_NE(item, nullptr) << "dialog " << b.dialog << " button " << b.id;
    EXPECT_EQ(item->windowClass, "Button");
    EXPECT_EQ(item->text, b.text);
    EXPECT_EQ((item->style & 0xF) == BS_DEFPUSHBUTTON, b.isDefault) << b.text;
  }
}

TEST(ProgramDialogs, MediaStoreListIsSortedAndNotifies) {
  std::optional<DialogTemplate> d = readDialog(IDD_MEDIA_STORE);
  ASSERT_TRUE(d);
  const DialogItem* list = d->item(IDC_STORE_LIST);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->windowClass, "ListBox");
  EXPECT_TRUE(list->style & LBS_SORT);
  EXPECT_TRUE(list->style & LBS_NOTIFY);
  EXPECT_TRUE(list->style & WS_VSCROLL);
  EXPECT_TRUE(list->style & WS_BORDER);
  const DialogItem* group = d->item(IDC_STORE_GROUP);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->text, "Media List");
  EXPECT_EQ(group->style & 0xF, DWORD(BS_GROUPBOX));
}

TEST(ProgramDialogs, EditTagTemplateIsCompleteInDialogUnits) {
  std::optional<DialogTemplate> d = readDialog(IDD_EDIT_TAG);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->cx, 186);
  EXPECT_EQ(d->cy, 206);
  const DialogItem expected[] = {
      {-1, "Button", "File Information", 0, 7, 7, 172, 44},
      {1016, "Static", "", 0, 16, 16, 153, 8},
      {1017, "Static", "", 0, 16, 27, 154, 8},
      {1018, "Static", "", 0, 16, 38, 154, 8},
      {-1, "Button", "Tag Infomation", 0, 7, 55, 172, 123},
      {-1, "Static", "Artist:", 0, 21, 66, 68, 8},
      {1008, "Edit", "", 0, 20, 76, 146, 14},
      {-1, "Static", "Album:", 0, 21, 92, 67, 8},
      {1009, "Edit", "", 0, 20, 102, 146, 14},
      {-1, "Static", "Title:", 0, 22, 118, 103, 8},
      {1011, "Edit", "", 0, 20, 128, 147, 14},
      {-1, "Static", "Genre:", 0, 23, 144, 54, 8},
      {1013, "Edit", "", 0, 20, 154, 86, 14},
      {-1, "Static", "Track Number:", 0, 115, 144, 48, 8},
      {1012, "Edit", "", 0, 113, 154, 54, 14},
      {2, "Button", "Cancel", 0, 73, 185, 50, 14},
      {1, "Button", "OK", 0, 129, 185, 50, 14},
  };
  ASSERT_EQ(d->items.size(), std::size(expected));
  for (size_t i = 0; i < d->items.size(); ++i) {
    const DialogItem& got = d->items[i];
    const DialogItem& want = expected[i];
    EXPECT_EQ(got.id, want.id) << "item " << i;
    EXPECT_EQ(got.windowClass, want.windowClass) << "item " << i;
    EXPECT_EQ(got.text, want.text) << "item " << i;
    EXPECT_EQ(std::vector<int>({got.x, got.y, got.cx, got.cy}), std::vector<int>({want.x, want.y, want.cx, want.cy}))
        << "item " << i;
  }
  for (int id : {1008, 1009, 1011, 1012, 1013}) {
    DWORD style = d->item(id)->style;
    EXPECT_TRUE(style & WS_BORDER) << id;
    EXPECT_TRUE(style & WS_TABSTOP) << id;
    EXPECT_TRUE(style & ES_AUTOHSCROLL) << id;
  }
  EXPECT_EQ(d->item(IDOK)->style & 0xF, DWORD(BS_DEFPUSHBUTTON));
}

TEST(ProgramDialogs, AboutShowsItsPictureOverTheWholeDialog) {
  std::optional<DialogTemplate> d = readDialog(IDD_ABOUT);
  ASSERT_TRUE(d);
  ASSERT_EQ(d->items.size(), 1u);
  EXPECT_EQ(d->items[0].windowClass, "Static");
  EXPECT_EQ(d->items[0].text, "#" + std::to_string(IDB_ABOUT));
  EXPECT_EQ(d->items[0].style & SS_TYPEMASK, DWORD(SS_BITMAP));
}

TEST(ProgramVersion, FileVersionAndNamesAreThoseOfTunehoard) {
  std::optional<VS_FIXEDFILEINFO> v = fixedFileVersion();
  ASSERT_TRUE(v);
  EXPECT_EQ(v->dwFileVersionMS, DWORD(TUHO_VERSION_MAJOR << 16 | TUHO_VERSION_MINOR));
  EXPECT_EQ(v->dwFileVersionLS, DWORD(TUHO_VERSION_PATCH << 16 | TUHO_VERSION_BUILD));
  EXPECT_EQ(versionString("FileVersion"), TUHO_VERSION_TEXT);
  EXPECT_EQ(versionString("ProductName"), "Tunehoard");
  EXPECT_EQ(versionString("CompanyName"), "Brambleward");
}

TEST(ProgramManifest, BindsCommonControlsVersionSix) {
  std::string manifest = resourceBytes(1, MAKEINTRESOURCEA(24));  // RT_MANIFEST
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
}

TEST(ProgramResourceErrors, UnknownIdsAreReportedMissing) {
  EXPECT_FALSE(loadBitmap(152));  // the one id in the button range that no button uses
  EXPECT_FALSE(readDialog(999));
  EXPECT_TRUE(iconGroupSizes(999).empty());
  EXPECT_TRUE(resourceBytes(999, MAKEINTRESOURCEA(24)).empty());
}
