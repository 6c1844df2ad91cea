// The grouping queries and track lists answer from memory, and after every
// kind of store write, a compaction, a reopening and a damaged record set
// aside they give exactly what decoding the whole store file gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "CatalogueFixture.h"
#include "catalogue/FindWords.h"
#include "catalogue/GroupValues.h"
#include "catalogue/TrackRecord.h"
#include "platform/FaultPlan.h"
#include "platform/Win32Error.h"
#include "store/RecordCodec.h"

namespace tuho::test {
namespace {

struct FileRecord {
  size_t offset;
  TrackItem track;  // empty for a record that is not a track
};

// The live records a walk of the store file finds, decoded from its bytes:
// those after the header record, up to the first one that does not decode.
std::vector<FileRecord> decodeFile(const std::string& path) {
  const Bytes bytes = readBytes(path);
  std::vector<FileRecord> records;
  bool header = true;
  for (size_t offset = kHeaderRecordOffset; offset + kRecordHeadBytes <= bytes.size();) {
    const int32_t size = loadInt(&bytes[offset]);
    if (size < kMinRecordSize || static_cast<size_t>(size) - kMinRecordSize > bytes.size() - offset - kRecordHeadBytes) break;
    const size_t length = static_cast<size_t>(size) - kMinRecordSize;
    const bool deleted = loadInt(&bytes[offset + 8]) != 0;
    FieldList fields;
    if (!deleted && decodeRecordBody(&bytes[offset + kRecordHeadBytes], length, &fields) != kRecordWhole) break;
    fields.id = loadInt(&bytes[offset + 4]);
    if (!header && !deleted) {
      TrackItem track = trackFromFields(fields);
      track.recordSourceId = track.source.id;
      records.push_back({offset, track});
    }
    header = false;
    offset += kRecordHeadBytes + length;
  }
  return records;
}

std::string describe(const TrackFilter& filter) {
  return filter.genre.value_or("*") + "/" + filter.artist.value_or("*") + "/" + filter.album.value_or("*") + "@" +
         (filter.sourceId ? std::to_string(*filter.sourceId) : "*");
}

bool carries(const TrackItem& item, const TrackFilter& filter) {
  return (!filter.genre || item.tag.genre == filter.genre) && (!filter.artist || item.tag.artist == filter.artist) &&
         (!filter.album || item.tag.album == filter.album) &&
         (!filter.sourceId || item.recordSourceId == *filter.sourceId);
}

std::string describe(const TrackItem& item) {
  return std::to_string(item.id) + "|" + item.folder + "|" + item.fileName + "|" + item.tag.genre.value_or("-") + "|" +
         item.tag.artist.value_or("-") + "|" + item.tag.album.value_or("-") + "|" + item.tag.title.value_or("-") +
         "|" + std::to_string(item.ready) + "|" + std::to_string(item.recordSourceId);
}

std::string describe(const ValueList& list) {
  std::string text;
  for (const GroupValue& value : list.values) {
    text += value.value + ":" + std::to_string(static_cast<int>(value.state)) + ":" +
            std::to_string(static_cast<int>(value.kind)) + " ";
  }
  return text;
}

class TrackIndexTest : public CatalogueTest {
 protected:
  TrackIndexTest() {
    local = addSource("Local", MediaType::kLocalFolder);
    disc = addSource("Disc", MediaType::kWriteOnce);
  }

  int store(int number) {
    const char* genres[] = {"Rock", "Jazz", "Folk"};
    TrackItem item;
    item.fileName = "song " + std::to_string(number) + ".mp3";
    item.folder = "\\Folder " + std::to_string(number / 10);
    item.tag.genre = genres[number % 3];
    item.tag.artist = "Artist " + std::to_string(number % 7);
    item.tag.album = "Album " + std::to_string(number % 13);
    item.tag.title = "Title " + std::to_string(number) + (number == 7 ? " \xC9t\xE9" : "");  // one in Latin-1
    item.ready = number % 5 == 0 ? 1 : 0;
    item.source = number % 2 ? disc : local;
    return catalogue.storeTrack(item, false);
  }

  std::string path() const { return dataDir.file("Tuho.dat"); }

  // Every grouping and every list of the values the file holds (and one it
  // does not) equals what the decoded file gives. With `fromMemory`, the
  // groupings read nothing from the file.
  void expectSameAsFile(const char* step, bool fromMemory = true) {
    SCOPED_TRACE(step);
    std::vector<TrackItem> file;
    for (const FileRecord& record : decodeFile(path())) {
      if (!record.track.isEmpty()) file.push_back(record.track);
    }
    std::map<std::string, TrackFilter> filters = {{"", TrackFilter()}};
    for (const TrackItem& item : file) {
      TrackFilter genre, artist, album, all;
      genre.genre = all.genre = item.tag.genre;
      artist.artist = all.artist = item.tag.artist;
      album.album = all.album = item.tag.album;
      for (const TrackFilter& filter : {genre, artist, album, all}) filters[describe(filter)] = filter;
      TrackFilter source, sourceArtist;
      source.sourceId = sourceArtist.sourceId = item.recordSourceId;
      sourceArtist.artist = item.tag.artist;
      for (const TrackFilter& filter : {source, sourceArtist}) filters[describe(filter)] = filter;
    }
    filters["nobody"].artist = "Nobody";
    for (const auto& [name, filter] : filters) {
      SCOPED_TRACE(name);
      std::string expectedTracks;
      ValueList expected[kGroupLevelCount];
      for (const TrackItem& item : file) {
        if (!carries(item, filter)) continue;
        expectedTracks += describe(item) + "\n";
        const SourceRef source = sources.lookupById(item.recordSourceId);
        const MediaType kind = source.mediaType;
        addGroupValue(expected[levelNumber(LEVEL_GENRE)], *item.tag.genre, item.ready, kind);
        addGroupValue(expected[levelNumber(LEVEL_ARTIST)], *item.tag.artist, item.ready, kind);
        addGroupValue(expected[levelNumber(LEVEL_ALBUM)], *item.tag.album, item.ready, kind);
        if (source.id != 0) addGroupValue(expected[levelNumber(LEVEL_MEDIA)], source.name, item.ready, kind);
      }
      std::string listed;
      for (const TrackItem& item : catalogue.listTracks(filter)) listed += describe(item) + "\n";
      EXPECT_EQ(listed, expectedTracks);
      if (filter.genre && filter.artist && filter.album) continue;
      FaultPlan reads;
      for (GroupLevel level : {LEVEL_GENRE, LEVEL_ARTIST, LEVEL_ALBUM, LEVEL_MEDIA}) {
        EXPECT_EQ(describe(catalogue.groupValues(filter, level)), describe(expected[levelNumber(level)]));
      }
      if (fromMemory) {
        EXPECT_EQ(reads.seen(kFaultRead), 0);
      }
      EXPECT_EQ(catalogue.countTracks(filter),
                static_cast<int>(std::count(expectedTracks.begin(), expectedTracks.end(), '\n')));
    }
    // A find lists, in file order, exactly the tracks whose texts hold every
    // word: across fields, in any case, in the title or the file name too.
    for (const char* text : {"title 1", "SONG 10", "jazz  artist 3", "soul", "NO LONGER fits", "album 5 rock", "1",
                             "mp3 folk 2", "artist 3 artist", "zzz", " ", "3.MP", "\xE9T\xC9"}) {
      SCOPED_TRACE(text);
      std::string expected, found;
      for (const TrackItem& item : file) {
        if (trackMatches(item, findWordsOf(text))) expected += describe(item) + "\n";
      }
      for (const TrackItem& item : catalogue.findTracks(text)) found += describe(item) + "\n";
      EXPECT_EQ(found, expected);
    }
    // Each track read by id is the one the file holds, found without a walk
    // of the file while the index is in step.
    const int walks = catalogue.storeWalks();
    for (const TrackItem& item : file) EXPECT_EQ(describe(catalogue.readTrack(item.id)), describe(item));
    // Read many at once (asked backwards, one twice, one the file lacks),
    // they come once each, in the order of the file while the index knows it.
    std::vector<int> asked = {999999};
    std::vector<std::string> inFileOrder, read;
    for (auto item = file.rbegin(); item != file.rend(); ++item) asked.push_back(item->id);
    for (const TrackItem& item : file) inFileOrder.push_back(describe(item));
    if (!file.empty()) asked.push_back(file.front().id);
    for (const TrackItem& item : catalogue.readTracks(asked)) read.push_back(describe(item));
    if (!fromMemory) {
      std::sort(read.begin(), read.end());
      std::sort(inFileOrder.begin(), inFileOrder.end());
    }
    EXPECT_EQ(read, inFileOrder);
    if (fromMemory) {
      EXPECT_EQ(catalogue.storeWalks(), walks);
    }
  }

  // Makes the first field of the nth data record claim more data than its
  // block holds, so that the record no longer decodes.
  void damageRecord(size_t nth) {
    const std::vector<FileRecord> records = decodeFile(path());
    ASSERT_GT(records.size(), nth);
    Bytes bytes = readBytes(path());
    storeInt(&bytes[records[nth].offset + kRecordHeadBytes + 12], 0x7000);
    writeBytes(path(), bytes);
  }

  SourceRef local, disc;
};

TEST_F(TrackIndexTest, QueriesMatchTheDecodedFileThroughEveryKindOfWrite) {
  std::vector<int> ids;
  for (int number = 0; number < 110; ++number) ids.push_back(store(number));
  expectSameAsFile("appended");

  const int walksBeforeWrites = catalogue.storeWalks();
  TagChange soul, longer, album;
  soul.genre = "Soul";  // as long as before: rewritten in place
  longer.artist = "An artist whose name no longer fits the record";  // moves to the end of the file
  album.album = "Album 5";
  ASSERT_EQ(catalogue.updateTags(ids[0], soul), ids[0]);
  ASSERT_EQ(catalogue.updateTags(ids[1], longer), ids[1]);
  ASSERT_EQ(catalogue.updateTags(ids[2], album), ids[2]);
  TrackItem whole = catalogue.readTrack(ids[3]);
  whole.tag.genre = "Folk";
  ASSERT_EQ(catalogue.updateTrack(whole), ids[3]);
  expectSameAsFile("edited");

  // Long titles written over and over leave enough unused find text behind
  // that the index compacts it.
  for (const char* suffix : {" first", " second", " third"}) {
    TagChange title;
    title.title = std::string(1000, 'x') + suffix;
    for (size_t i = 60; i < 110; ++i) ASSERT_EQ(catalogue.updateTags(ids[i], title), ids[i]);
  }
  TagChange recent;
  recent.title = "Most recent";
  ASSERT_EQ(catalogue.updateTags(ids[107], recent), ids[107]);
  EXPECT_EQ(catalogue.findTracks("THIRD").size(), 49u);
  EXPECT_TRUE(catalogue.findTracks("second").empty());
  expectSameAsFile("titles rewritten");

  for (int index : {4, 5, 50, 109}) ASSERT_TRUE(catalogue.deleteTrack(ids[static_cast<size_t>(index)]));
  ASSERT_FALSE(catalogue.deleteTrack(ids[4]));
  expectSameAsFile("deleted");

  ASSERT_EQ(catalogue.setReady(ids[6], 1), ids[6]);
  ASSERT_EQ(catalogue.setReady(ids[10], 0), ids[10]);
  // Rewriting, deleting and marking found every record by its id alone,
  // also one moved to the end of the file and one deleted twice.
  ASSERT_EQ(catalogue.setReady(ids[1], 1), ids[1]);
  EXPECT_TRUE(catalogue.readTrack(ids[5]).isEmpty());
  EXPECT_EQ(catalogue.storeWalks() - walksBeforeWrites, 0);
  expectSameAsFile("ready marks");

  EXPECT_EQ(catalogue.removeSource(disc.id), 53);
  expectSameAsFile("source removed");

  ASSERT_TRUE(catalogue.close());  // compacted
  ASSERT_EQ(catalogue.open(), kOpenedExisting);
  expectSameAsFile("compacted and reopened");
  store(200);
  expectSameAsFile("appended after reopening");

  catalogue.close();
  damageRecord(3);
  ASSERT_EQ(catalogue.open(), kOpenedExisting);
  EXPECT_EQ(alerts.captions(), std::vector<std::string>{"DB Damaged File"});
  expectSameAsFile("damaged record set aside");
  store(201);
  ASSERT_FALSE(catalogue.deleteTrack(ids[8]));  // the record set aside
  ASSERT_TRUE(catalogue.deleteTrack(ids[12]));
  expectSameAsFile("written after the repair");

  // Damage that cannot be set aside stays in the file, and walks stop at
  // it: the queries then read the file and stop there too.
  catalogue.close();
  damageRecord(10);
  {
    FaultPlan noCopy;
    noCopy.fail(kFaultWrite, 1, kErrDiskFull);
    ASSERT_EQ(catalogue.open(), kOpenedExisting);
  }
  EXPECT_EQ(catalogue.listTracks(TrackFilter()).size(), 10u);
  expectSameAsFile("damage left in place", false);
}

}  // namespace
}  // namespace tuho::test
