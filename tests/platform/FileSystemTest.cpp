#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/Win32Error.h"
#include "support/TestFiles.h"

namespace tuho {
namespace {

using test::Bytes;

class FileSystemTest : public ::testing::Test {
 protected:
  std::string put(const std::string& name, const Bytes& bytes) {
    std::string path = dir.file(name);
    test::writeBytes(path, bytes);
    return path;
  }
  std::vector<std::string> listing(const std::string& folder, int* unnamed = nullptr) {
    std::vector<std::string> names;
    listFolder(folder, [&](const FolderEntry& entry) {
      names.push_back(entry.name + (entry.isFolder ? "/" : ""));
      return true;
    }, unnamed);
    std::sort(names.begin(), names.end());
    return names;
  }
  test::TempDir dir;
};

TEST_F(FileSystemTest, CopyFileCopiesEveryByte) {
  Bytes bytes(200000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  std::string from = put("a.mp3", bytes);
  ASSERT_TRUE(copyFile(from, dir.file("b.mp3"), false));
  EXPECT_EQ(test::readBytes(dir.file("b.mp3")), bytes);
}

TEST_F(FileSystemTest, ReplaceFileSwapsInTheNewBytes) {
  std::string target = put("Tuho.dat", Bytes{1, 1});
  std::string fresh = put("TuhoTemp.dat", Bytes{2, 2, 2});
  ASSERT_TRUE(replaceFile(fresh, target));
  EXPECT_EQ(test::readBytes(target), (Bytes{2, 2, 2}));
  EXPECT_FALSE(test::exists(fresh));
}

TEST_F(FileSystemTest, ListFolderNamesFilesAndFolders) {
  put("one.mp3", Bytes{});
  ASSERT_TRUE(createFolder(dir.file("Album")));
  EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"Album/", "one.mp3"}));
  EXPECT_TRUE(listing(dir.file("Album")).empty());
}

TEST_F(FileSystemTest, ListFolderStopsWhenTheVisitorSaysSo) {
  put("a", Bytes{});
  put("b", Bytes{});
  int visits = 0;
  EXPECT_TRUE(listFolder(dir.path(), [&](const FolderEntry&) { return ++visits < 1; }));
  EXPECT_EQ(visits, 1);
}

TEST_F(FileSystemTest, ExistenceTellsFilesFromFolders) {
  std::string file = put("x", Bytes{});
  EXPECT_TRUE(fileExists(file));
  EXPECT_FALSE(folderExists(file));
  EXPECT_TRUE(folderExists(dir.path()));
  EXPECT_FALSE(fileExists(dir.path()));
  EXPECT_FALSE(fileExists(dir.file("missing")));
}

TEST_F(FileSystemTest, DeleteFileRemovesIt) {
  std::string file = put("x", Bytes{1});
  EXPECT_TRUE(deleteFile(file));
  EXPECT_FALSE(fileExists(file));
}

#ifndef _WIN32
TEST_F(FileSystemTest, AMappedDriveLetterResolvesToItsFolder) {
  put("song.mp3", Bytes{9});
  mapDrive('Q', dir.path());
  EXPECT_TRUE(fileExists("Q:\\song.mp3"));
  EXPECT_TRUE(folderExists("q:"));
  mapDrive('Q', "");
  EXPECT_FALSE(fileExists("Q:\\song.mp3"));
}
#endif

// A name the code page lacks a character of goes by its short name, where
// the volume keeps one.
TEST(AnsiEntryName, TheLongNameWhereTheCodePageHoldsItElseTheShortOne) {
  EXPECT_EQ(ansiEntryName(u"Caf\u00e9?.mp3", u"CAFE~1.MP3"), "Caf\xe9?.mp3");
  EXPECT_EQ(ansiEntryName(u"\u97f3\u697d.mp3", u"2F9C~1.MP3"), "2F9C~1.MP3");
  EXPECT_EQ(ansiEntryName(u"\u97f3\u697d.mp3", u""), std::nullopt);
  EXPECT_EQ(ansiEntryName(u"\U0001F600.mp3", u"\u00c9~1.MP3"), "\xc9~1.MP3");
}

#ifndef _WIN32
// Names on disk are UTF-8, the program's ANSI: a name converts both ways
// or, like one whose path is too long, is counted and left out.
TEST_F(FileSystemTest, NamesOnDiskAreUtf8AndThoseAnsiCannotHoldAreCounted) {
  ASSERT_TRUE(createFolder(dir.file("Mot\xf6rhead")));
  test::writeBytes(dir.path() + "/Mot\xc3\xb6rhead/Caf\xc3\xa9.mp3", Bytes{7});
  test::writeBytes(dir.path() + "/\xe9\x9f\xb3\xe6\xa5\xbd.mp3", Bytes{});  // CJK
  test::writeBytes(dir.path() + "/bad\xff.mp3", Bytes{});                     // not UTF-8
  int unnamed = 0;
  EXPECT_EQ(listing(dir.path(), &unnamed), std::vector<std::string>{"Mot\xf6rhead/"});
  EXPECT_EQ(unnamed, 2);
  std::string cafe = dir.file("Mot\xf6rhead\\Caf\xe9.mp3");
  EXPECT_EQ(listing(dir.file("Mot\xf6rhead")), std::vector<std::string>{"Caf\xe9.mp3"});
  File file;
  ASSERT_TRUE(file.open(cafe, kAccessRead, kShareRead, kOpenExisting));
  uint8_t byte = 0;
  uint32_t got = 0;
  EXPECT_TRUE(file.read(&byte, 1, &got) && got == 1 && byte == 7);
  file.close();
  EXPECT_TRUE(copyFile(cafe, dir.file("\x80.mp3"), true));
  EXPECT_EQ(test::readBytes(dir.path() + "/\xe2\x82\xac.mp3"), Bytes{7});  // the euro sign
}
#endif

class FileSystemErrorTest : public FileSystemTest {};

TEST_F(FileSystemErrorTest, CopyOverAnExistingFileRefusedWhenAsked) {
  std::string from = put("a", Bytes{1});
  std::string to = put("b", Bytes{2});
  EXPECT_FALSE(copyFile(from, to, true));
  EXPECT_EQ(lastError(), kErrFileExists);
  EXPECT_EQ(test::readBytes(to), Bytes{2});
}

TEST_F(FileSystemErrorTest, CopyOfAMissingFileIsFileNotFound) {
  EXPECT_FALSE(copyFile(dir.file("missing"), dir.file("b"), false));
  EXPECT_EQ(lastError(), kErrFileNotFound);
}

TEST_F(FileSystemErrorTest, DeletingAMissingFileIsFileNotFound) {
  EXPECT_FALSE(deleteFile(dir.file("missing")));
  EXPECT_EQ(lastError(), kErrFileNotFound);
}

TEST_F(FileSystemErrorTest, DeletingAFileInUseFailsAndKeepsIt) {
  std::string path = put("busy", Bytes{1});
  File holder;
  ASSERT_TRUE(holder.open(path, kAccessRead, kShareReadWrite, kOpenExisting));
  EXPECT_FALSE(deleteFile(path));
  EXPECT_EQ(lastError(), kErrSharingViolation);
  holder.close();
  EXPECT_TRUE(fileExists(path));
}

TEST_F(FileSystemErrorTest, ReplacingWithAMissingFileKeepsTheTarget) {
  std::string target = put("Tuho.dat", Bytes{1});
  EXPECT_FALSE(replaceFile(dir.file("missing"), target));
  EXPECT_EQ(lastError(), kErrFileNotFound);
  EXPECT_EQ(test::readBytes(target), Bytes{1});
}

TEST_F(FileSystemErrorTest, CreatingAnExistingFolderIsAlreadyExists) {
  EXPECT_FALSE(createFolder(dir.path()));
  EXPECT_EQ(lastError(), kErrAlreadyExists);
}

TEST_F(FileSystemErrorTest, CreatingAFolderInAMissingFolderIsPathNotFound) {
  EXPECT_FALSE(createFolder(dir.file("a") + "/b"));
  EXPECT_EQ(lastError(), kErrPathNotFound);
}

TEST_F(FileSystemErrorTest, ListingAMissingFolderIsPathNotFound) {
  EXPECT_FALSE(listFolder(dir.file("missing"), [](const FolderEntry&) { return true; }));
  EXPECT_EQ(lastError(), kErrPathNotFound);
}

}  // namespace
}  // namespace tuho
