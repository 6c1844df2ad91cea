// Splitting a new source's location into root and folder, and the name the
// Add Media wizard suggests for it.
#include <gtest/gtest.h>

#include "catalogue/SourceLocation.h"

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

TEST(SourceLocation, SharePathsSplitAfterTheShareName) {
  expectSplit("\\\\server\\share\\Music", "\\\\server\\share", "\\Music");
  expectSplit("\\\\server\\share", "\\\\server\\share", "");
  expectSplit("\\\\server\\share\\", "\\\\server\\share", "");
  expectSplit("\\\\nas\\audio\\A\\B", "\\\\nas\\audio", "\\A\\B");
}

TEST(SourceLocation, OtherTextsHaveNoSplit) {
  for (const char* text : {"", "C", "Music\\Rock", "\\Music", "\\\\server", "\\\\server\\", "\\\\\\share",
                           "verylongname:\\x", "12:\\x", "http://host/x"}) {
    EXPECT_FALSE(splitSourceLocation(text)) << text;
  }
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
