#include <gtest/gtest.h>

#include "catalogue/TrackFiles.h"
#include "platform/FileSystem.h"
#include "support/TestFiles.h"

namespace tuho::test {
namespace {

TrackItem trackOn(int sourceId, int kind, int ready) {
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
  TrackItem item = trackOn(2, MEDIA_WRITE_ONCE, 1);
  EXPECT_EQ(trackFolder(item), "D:\\Music\\Album");
  EXPECT_EQ(trackPath(item), "D:\\Music\\Album\\song.mp3");
  EXPECT_EQ(copyFolder("C:\\Data", item), "C:\\Data\\Album");
  EXPECT_EQ(copyPath("C:\\Data", item), "C:\\Data\\Album\\song.mp3");
}

TEST(TrackFiles, FolderTracksPlayInPlaceAndOthersOnlyFromAReadyCopy) {
  EXPECT_EQ(playFrom("C:\\Data", trackOn(2, MEDIA_NETWORK_FOLDER, 1)), "D:\\Music\\Album");
  EXPECT_EQ(playFrom("C:\\Data", trackOn(2, MEDIA_REWRITABLE, 1)), "C:\\Data\\Album");
  EXPECT_EQ(playFrom("C:\\Data", trackOn(2, MEDIA_REWRITABLE, 0)), std::nullopt);
  // A removed source leaves only the copy, whatever kind the record says.
  EXPECT_EQ(playFrom("C:\\Data", trackOn(0, MEDIA_LOCAL_FOLDER, 1)), "C:\\Data\\Album");
  EXPECT_EQ(playFrom("C:\\Data", trackOn(0, MEDIA_LOCAL_FOLDER, 0)), std::nullopt);
}

TEST(TrackFiles, CopyFoldersAreMadeLevelByLevel) {
  TempDir data;
  makeCopyFolders(data.path(), "\\A\\\\B");
  EXPECT_TRUE(folderExists(data.path() + "\\A\\B"));
  makeCopyFolders(data.path(), "");
  EXPECT_TRUE(folderExists(data.path()));
}

}  // namespace
}  // namespace tuho::test
