// TuhoKick's resource script, compiled into this program.
#include <gtest/gtest.h>

#include <set>

#include "ResourceReading.h"
#include "resource.h"
#include "version.h"

TEST(LauncherIcons, ProgramIconHoldsSmallLargeAndExtraLargeImages) {
  std::vector<int> sizes = iconGroupSizes(IDI_LAUNCHER);
  EXPECT_EQ(std::set<int>(sizes.begin(), sizes.end()), (std::set<int>{16, 32, 48}));
}

TEST(LauncherIcons, TrayIconHoldsASixteenPixelImage) {
  std::vector<int> sizes = iconGroupSizes(IDI_LAUNCHER_TRAY);
  EXPECT_TRUE(std::set<int>(sizes.begin(), sizes.end()).count(16));
  EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LAUNCHER_TRAY)), nullptr);
}

TEST(LauncherVersion, SharesTheVersionOfTunehoard) {
  std::optional<VS_FIXEDFILEINFO> v = fixedFileVersion();
  ASSERT_TRUE(v);
  EXPECT_EQ(v->dwFileVersionMS, DWORD(TUHO_VERSION_MAJOR << 16 | TUHO_VERSION_MINOR));
  EXPECT_EQ(versionString("ProductName"), "Tunehoard");
  EXPECT_EQ(versionString("OriginalFilename"), "TuhoKick.exe");
}

TEST(LauncherManifest, BindsCommonControlsVersionSix) {
  EXPECT_NE(resourceBytes(1, MAKEINTRESOURCEA(24)).find("version=\"6.0.0.0\""), std::string::npos);
}
