#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

// ".." stops at the drive's root, as on Windows: a mapped drive never
// reaches the folders around the one that stands for it.
TEST_F(FileSystemTest, AMappedDriveCannotBeClimbedOutOf) {
  put("outside.mp3", Bytes{1});
  std::filesystem::create_directories(dir.file("drive/Music"));
  put("drive/Music/song.mp3", Bytes{2});
  mapDrive('Q', dir.file("drive"));
  EXPECT_FALSE(fileExists("Q:\\..\\outside.mp3"));
  EXPECT_FALSE(fileExists("Q:\\Music\\..\\..\\..\\outside.mp3"));
  EXPECT_TRUE(fileExists("Q:\\..\\..\\Music\\song.mp3"));
  EXPECT_TRUE(fileExists("Q:\\Music\\.\\..\\Music\\song.mp3"));
  EXPECT_EQ(listing("Q:\\..\\.."), std::vector<std::string>{"Music/"});
  mapDrive('Q', "");
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

// Names on disk are Unicode, the program's ANSI: a name the code page holds
// is listed as it is and opens; one it cannot goes by a short name that
// opens the same file, where the volume keeps one (Windows), or is counted
// and left out like a path too long.
TEST_F(FileSystemTest, NamesAreListedInAnsiOrByAShortNameOrCounted) {
  namespace fs = std::filesystem;
  const fs::path root(dir.path());
  fs::create_directory(root / fs::u8path("Mot\xc3\xb6rhead"));
  std::ofstream(root / fs::u8path("Mot\xc3\xb6rhead/Caf\xc3\xa9.mp3")) << '\x07';
  std::ofstream(root / fs::u8path("\xe9\x9f\xb3\xe6\xa5\xbd.mp3")) << '\x09';  // CJK
#ifndef _WIN32
  std::ofstream(root / "bad\xff.mp3") << '\x09';  // not UTF-8
#endif
  auto firstByte = [](const std::string& path) {
    File file;
    uint8_t byte = 0;
    uint32_t got = 0;
    return file.open(path, kAccessRead, kShareRead, kOpenExisting) && file.read(&byte, 1, &got) ? byte : -1;
  };
  int unnamed = 0;
  std::vector<std::string> names = listing(dir.path(), &unnamed);
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names[0], "Mot\xf6rhead/");
#ifdef _WIN32
  EXPECT_EQ(names.size() - 1 + unnamed, 1u);
#else
  EXPECT_EQ(names.size() - 1 + unnamed, 2u);
#endif
  for (size_t i = 1; i < names.size(); ++i) EXPECT_EQ(firstByte(dir.file(names[i])), 9) << names[i];
  EXPECT_EQ(listing(dir.file("Mot\xf6rhead")), std::vector<std::string>{"Caf\xe9.mp3"});
  std::string cafe = dir.file("Mot\xf6rhead") + "\\Caf\xe9.mp3";
  EXPECT_EQ(firstByte(cafe), 7);
  EXPECT_TRUE(copyFile(cafe, dir.file("\x80.mp3"), true));
  EXPECT_TRUE(fs::exists(root / fs::u8path("\xe2\x82\xac.mp3")));  // the euro sign
}

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
