#include <gtest/gtest.h>

#include "CatalogueFixture.h"
#include "catalogue/TrackFields.h"
#include "catalogue/TrackFiles.h"
#include "catalogue/TrackRecord.h"

namespace tuho::test {
namespace {

TrackItem songItem(const SourceRef& source) {
  TrackItem item;
  item.fileName = "01 Song.mp3";
  item.folder = "\\Artist\\Album";
  item.source = source;
  item.tag.title = "Song";
  item.tag.artist = "Artist";
  item.tag.album = "";
  item.tag.trackNo = "01";
  return item;
}

using TrackRecordTest = CatalogueTest;

TEST_F(TrackRecordTest, MissingTagValuesAreStoredWithTheirDefaults) {
  TrackItem item;
  item.fileName = "x.mp3";
  int id = catalogue.storeTrack(item, false);
  TrackItem back = catalogue.readTrack(id);
  EXPECT_EQ(back.tag.title, "Unspecified");
  EXPECT_EQ(back.tag.artist, "Unspecified");
  EXPECT_EQ(back.tag.album, "Unspecified");
  EXPECT_EQ(back.tag.genre, "Unspecified");
  EXPECT_EQ(back.tag.trackNo, "00");
  EXPECT_EQ(back.tag.comment, "None");
}

TEST_F(TrackRecordTest, ATrackReadsBackAsWritten) {
  SourceRef source = addSource("Rock", MediaType::kLocalFolder);
  TrackItem item = songItem(source);
  item.ready = 7;  // anything but 1 is stored as not ready
  int id = catalogue.storeTrack(item, false);
  EXPECT_EQ(id, 2);
  TrackItem back = catalogue.readTrack(id);
  EXPECT_EQ(back.id, id);
  EXPECT_EQ(back.fileName, item.fileName);
  EXPECT_EQ(back.folder, item.folder);
  EXPECT_EQ(back.tag.title, "Song");
  EXPECT_EQ(back.tag.album, "");  // present but empty stays empty
  EXPECT_EQ(back.tag.trackNo, "01");
  EXPECT_EQ(back.ready, 0);
  EXPECT_EQ(back.source.id, source.id);
  EXPECT_EQ(back.source.name, "Rock");
}

TEST_F(TrackRecordTest, FieldsAreWrittenInSchemaOrder) {
  FieldList fields = trackRecord(songItem(SourceRef()));
  ASSERT_EQ(fields.count, kTrackFieldCount);
  for (int i = 0; i < kTrackFieldCount; ++i) EXPECT_EQ(fields.slots[static_cast<size_t>(i)].id, kTrackFieldOrder[i]);
}

TEST_F(TrackRecordTest, ATrackOfAnUnregisteredSourceReadsBackWithoutSource) {
  SourceRef gone;
  gone.id = 42;
  int id = catalogue.storeTrack(songItem(gone), false);
  TrackItem back = catalogue.readTrack(id);
  EXPECT_FALSE(back.isEmpty());
  EXPECT_EQ(back.source.id, 0);
  EXPECT_TRUE(back.source.root.empty());
}

TEST_F(TrackRecordTest, ReadingAMissingOrDeletedIdGivesAnEmptyItem) {
  int id = catalogue.storeTrack(songItem(SourceRef()), false);
  EXPECT_TRUE(catalogue.readTrack(id + 1).isEmpty());
  EXPECT_TRUE(catalogue.readTrack(0).isEmpty());
  catalogue.deleteTrack(id);
  EXPECT_TRUE(catalogue.readTrack(id).isEmpty());
}

TEST_F(TrackRecordTest, ARecordOfAnotherShapeIsNoTrack) {
  FieldList fields;
  fields.addInt(FLD_FILE_NAME, 5);  // a number where the file name belongs
  fields.computeSize();
  EXPECT_TRUE(trackFromFields(fields).isEmpty());
}

TEST(IdList, AppendAndIndexOf) {
  IdList ids;
  EXPECT_EQ(ids.append(7), 0);
  EXPECT_EQ(ids.append(9), 1);
  EXPECT_EQ(ids.append(7), 2);
  EXPECT_EQ(ids.indexOf(7), 0);
  EXPECT_EQ(ids.indexOf(8), -1);
  EXPECT_EQ(ids.entries[1].mark, 0);
}

TEST(Location, SplitsAtTheFirstColon) {
  Location folder = splitLocation("C:\\Music\\Rock");
  EXPECT_EQ(folder.root, "C:");
  EXPECT_EQ(folder.folder, "\\Music\\Rock");
  Location volume = splitLocation("E:\\");
  EXPECT_EQ(volume.root, "E:");
  EXPECT_EQ(volume.folder, "");
  Location share = splitLocation("\\\\server\\share");
  EXPECT_EQ(share.root, "");
  EXPECT_EQ(share.folder, "\\\\server\\share");
}

TEST(TrackFileName, OnlyThreeSpellingsOfTheEndingCount) {
  EXPECT_TRUE(isTrackFileName("a.mp3"));
  EXPECT_TRUE(isTrackFileName("a.MP3"));
  EXPECT_TRUE(isTrackFileName("a.Mp3"));
  EXPECT_TRUE(isTrackFileName("mp3"));
  EXPECT_FALSE(isTrackFileName("a.mP3"));
  EXPECT_FALSE(isTrackFileName("a.MP4"));
  EXPECT_FALSE(isTrackFileName("p3"));
}

}  // namespace
}  // namespace tuho::test
