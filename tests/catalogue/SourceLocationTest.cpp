// Splitting a new source's location into root and folder, and the name the
// Add Media wizard suggests for it.
#include <gtest/gtest.h>

#include "catalogue/SourceLocation.h"
#include "catalogue/TrackFiles.h"

namespace tuho {
namespace {

void expectSplit(const std::string& text, const std::string& root, const std::string& folder) {
  std::optional<Location> split = splitSourceLocation(text);
  ASSERT_TRUE(split) << text;
  EXPECT_EQ(split->root, root) << text;
  EXPECT_EQ(split->folder, folder) << text;
}

TEST(SourceLocation, DrivePathsSplitAfterTheColonAndAWholeVolumeHasNoFolder) {
  expectSplit("C:\\Music\\Rock", "C:", "\\Music\\Rock");
  expectSplit("E:\\", "E:", "");
  expectSplit("e:", "e:", "");
}

// A share has no drive part: tuhodb and the wizard keep it whole as the
// folder. A record split after the share name, as the wizard once stored
// it, names the same place.
TEST(SourceLocation, SharePathsAreAllFolderAndOldSplitsNameTheSamePlace) {
  expectSplit("\\\\server\\share\\Music", "", "\\\\server\\share\\Music");
  expectSplit("\\\\server\\share", "", "\\\\server\\share");
  expectSplit("\\\\nas\\audio\\A\\B", "", "\\\\nas\\audio\\A\\B");
  for (const char* text : {"\\\\server\\share\\Music", "D:\\Music", "\\\\nas\\audio"}) {
    Location split = *splitSourceLocation(text);
    EXPECT_EQ(split.root + split.folder, text);
    EXPECT_EQ(splitLocation(text).root, split.root);  // tuhodb's split is the same one
  }
  SourceRef old;
  old.root = "\\\\server\\share";
  old.folder = "\\Music";
  SourceRef now;
  now.folder = "\\\\server\\share\\Music";
  EXPECT_EQ(sourceFolder(old), sourceFolder(now));
}

TEST(SourceLocation, OtherTextsHaveNoSplit) {
  for (const char* text : {"", "C", "Music\\Rock", "\\Music", "\\\\server", "\\\\server\\", "\\\\\\share",
                           "verylongname:\\x", "12:\\x", "http://host/x", "D:Music", "music"}) {
    EXPECT_FALSE(splitSourceLocation(text)) << text;
  }
}

// What tuhodb and the wizard both refuse, each with the limit or the reason.
TEST(SourceLocation, NamesAreKeptWithoutOuterSpacesAndWithinTheirLimits) {
  EXPECT_EQ(keptSourceName("  x "), "x");
  EXPECT_EQ(keptSourceName("a b"), "a b");
  EXPECT_EQ(keptSourceName("   "), "");
  EXPECT_FALSE(sourceNameRefusal("Rock \\ Pop"));
  EXPECT_FALSE(sourceNameRefusal(std::string(kMaxSourceNameChars, 'n')));
  EXPECT_EQ(sourceNameRefusal(std::string(kMaxSourceNameChars + 1, 'n')),
            "A Media Source name can have at most 511 characters.");
  for (const char* bad : {"a\tb", "a\nb", "a\rb", "\x7f"}) {
    EXPECT_EQ(sourceNameRefusal(bad), "A Media Source name cannot hold tabs, line breaks or other control characters.")
        << bad;
  }
  EXPECT_EQ(sourceNameRefusal(""), "A Media Source needs a name.");
  EXPECT_FALSE(locationRefusal("D:\\" + std::string(kMaxPathChars - 3, 'm')));
  EXPECT_EQ(locationRefusal("D:\\" + std::string(kMaxPathChars - 2, 'm')),
            "A location can have at most 259 characters.");
  EXPECT_TRUE(locationRefusal("D:\\Mu\tsic"));
}

// A typed or browsed drive is named after its disc: the volume label, else
// the shell's name for it, else the drive.
TEST(SourceLocation, AWholeDriveIsNamedByItsVolumeLabelFirst) {
  EXPECT_EQ(suggestedSourceName("D:\\", std::string("Audio CD (D:)"), "GREATEST_HITS"), "GREATEST_HITS");
  EXPECT_EQ(suggestedSourceName("D:", std::nullopt, "GREATEST_HITS"), "GREATEST_HITS");
  EXPECT_EQ(suggestedSourceName("D:\\", std::string("Audio CD (D:)"), ""), "Audio CD ");
  EXPECT_EQ(suggestedSourceName("D:\\", std::nullopt, ""), "D:");
  EXPECT_EQ(suggestedSourceName("C:\\Music\\Rock", std::nullopt, "SYSTEM"), "Rock") << "a folder keeps its own name";
  EXPECT_TRUE(isWholeDrive("E:\\"));
  EXPECT_FALSE(isWholeDrive("E:\\Music"));
  EXPECT_FALSE(isWholeDrive("\\\\server\\share"));
}

TEST(SourceLocation, TheShellNameOfAVolumeLosesItsDriveInBrackets) {
  EXPECT_EQ(suggestedSourceName("D:\\", std::string("Audio CD (D:)")), "Audio CD ");
  EXPECT_EQ(suggestedSourceName("C:\\Music\\Rock", std::string("Rock")), "Rock");
  EXPECT_EQ(suggestedSourceName("D:\\", std::string(":)")), ":)");
}

TEST(SourceLocation, WithoutABrowsedFolderTheTypedLocationNamesTheSource) {
  EXPECT_EQ(suggestedSourceName("C:\\Music\\Rock", std::nullopt), "Rock");
  EXPECT_EQ(suggestedSourceName("C:\\Music\\Rock\\", std::nullopt), "Rock");
  EXPECT_EQ(suggestedSourceName("E:\\", std::nullopt), "E:");
  EXPECT_EQ(suggestedSourceName("\\\\server\\share\\Music", std::nullopt), "Music");
  EXPECT_EQ(suggestedSourceName("\\\\server\\share", std::nullopt), "share");
  EXPECT_EQ(suggestedSourceName("not a path", std::nullopt), "");
}

}  // namespace
}  // namespace tuho
