#include <gtest/gtest.h>

#include "catalogue/TrackFiles.h"
#include "platform/FileSystem.h"
#include "support/TestFiles.h"

namespace tuho::test {
namespace {

TrackItem trackOn(int sourceId, MediaType kind, int ready) {
  TrackItem item;
  item.fileName = "song.mp3";
  item.folder = "\\Album";
  item.ready = ready;
  item.source.id = sourceId;
  item.source.mediaType = kind;
  item.source.root = "D:";
  item.source.folder = "\\Music";
  return item;
}

TEST(TrackFiles, ATrackIsBelowItsSourceAndItsCopyBelowTheDataFolder) {
  TrackItem item = trackOn(2, MediaType::kWriteOnce, 1);
  EXPECT_EQ(trackFolder(item), "D:\\Music\\Album");
  EXPECT_EQ(trackPath(item), "D:\\Music\\Album\\song.mp3");
  EXPECT_EQ(copyFolder("C:\\Data", item), "C:\\Data\\Copies\\2\\Album");
  EXPECT_EQ(copyPath("C:\\Data", item), "C:\\Data\\Copies\\2\\Album\\song.mp3");
  // Once the source is gone, the record's source id still names the folder.
  TrackItem orphan = trackOn(0, MediaType::kWriteOnce, 1);
  orphan.recordSourceId = 2;
  EXPECT_EQ(copyFolder("C:\\Data", orphan), "C:\\Data\\Copies\\2\\Album");
}

TEST(TrackFiles, FolderTracksPlayInPlaceAndOthersOnlyFromAReadyCopy) {
  EXPECT_EQ(playFrom("C:\\Data", trackOn(2, MediaType::kNetworkFolder, 1)), "D:\\Music\\Album");
  EXPECT_EQ(playFrom("C:\\Data", trackOn(2, MediaType::kRewritable, 1)), "C:\\Data\\Copies\\2\\Album");
  EXPECT_EQ(playFrom("C:\\Data", trackOn(2, MediaType::kRewritable, 0)), std::nullopt);
  // A removed source leaves only the copy, whatever kind the record says.
  EXPECT_EQ(playFrom("C:\\Data", trackOn(0, MediaType::kLocalFolder, 1)), "C:\\Data\\Copies\\0\\Album");
  EXPECT_EQ(playFrom("C:\\Data", trackOn(0, MediaType::kLocalFolder, 0)), std::nullopt);
}

TEST(TrackFiles, ACopyMadeAtTheOldSharedPlaceStillPlaysWhenItsSourcesPlaceHasNone) {
  TempDir data;
  TrackItem item = trackOn(3, MediaType::kWriteOnce, 1);
  TempDir song;
  writeBytes(song.file("song.mp3"), Bytes{1});
  makeFolders(data.path(), item.folder);
  ASSERT_TRUE(copyFile(song.file("song.mp3"), inFolder(oldCopyFolder(data.path(), item), item.fileName), false));
  EXPECT_EQ(playFrom(data.path(), item), oldCopyFolder(data.path(), item));
  makeCopyFolders(data.path(), item);
  ASSERT_TRUE(copyFile(song.file("song.mp3"), copyPath(data.path(), item), false));
  EXPECT_EQ(playFrom(data.path(), item), copyFolder(data.path(), item));
}

TEST(TrackFiles, CopyFoldersAreMadeLevelByLevel) {
  TempDir data;
  makeFolders(data.path(), "\\A\\\\B");
  EXPECT_TRUE(folderExists(data.path() + "\\A\\B"));
  makeFolders(data.path(), "");
  EXPECT_TRUE(folderExists(data.path()));
  TrackItem item = trackOn(7, MediaType::kWriteOnce, 0);
  makeCopyFolders(data.path(), item);
  EXPECT_TRUE(folderExists(data.path() + "\\Copies\\7\\Album"));
}

}  // namespace
}  // namespace tuho::test
