#include <gtest/gtest.h>

#include "CatalogueFixture.h"

namespace tuho::test {
namespace {

class QueryTest : public CatalogueTest {
 protected:
  // Stores a track directly, as a scan would.
  int store(const std::string& genre, const std::string& artist, const std::string& album, int ready = 0,
            MediaType kind = MediaType::kLocalFolder) {
    TrackItem item;
    item.fileName = artist + "-" + album + "-" + std::to_string(++stored_) + ".mp3";
    item.tag.genre = genre;
    item.tag.artist = artist;
    item.tag.album = album;
    item.ready = ready;
    item.source = sourceOfKind(kind);
    return catalogue.storeTrack(item, false);
  }
  SourceRef sourceOfKind(MediaType kind) {
    std::string name = "kind" + std::to_string(static_cast<int>(kind));
    int index = sources.indexOfName(name);
    return index >= 0 ? sources.at(index) : addSource(name, kind);
  }
  std::vector<std::string> values(const TrackFilter& filter, GroupLevel groupBy) {
    std::vector<std::string> out;
    for (const GroupValue& value : catalogue.groupValues(filter, groupBy).values) out.push_back(value.value);
    return out;
  }
  int stored_ = 0;
};

TEST_F(QueryTest, ArtistsOfAGenreComeOnceEachInStoredOrder) {
  store("Rock", "Zed", "One");
  store("Jazz", "Miles", "Blue");
  store("Rock", "Abba", "Two");
  store("Rock", "Zed", "Three");
  TrackFilter rock;
  rock.genre = "Rock";
  EXPECT_EQ(values(rock, LEVEL_ARTIST), (std::vector<std::string>{"Zed", "Abba"}));
  EXPECT_EQ(values(TrackFilter(), LEVEL_GENRE), (std::vector<std::string>{"Rock", "Jazz"}));
}

TEST_F(QueryTest, ValuesThatDifferOnlyInCaseAreTwoValues) {
  store("Rock", "abba", "x");
  store("Rock", "ABBA", "x");
  EXPECT_EQ(values(TrackFilter(), LEVEL_ARTIST), (std::vector<std::string>{"abba", "ABBA"}));
  TrackFilter lower;
  lower.artist = "abba";
  EXPECT_EQ(tracks(lower).size(), 1u);
}

TEST_F(QueryTest, ReadyStateSummarisesTheValuesTracks) {
  store("Rock", "All", "x", 1, MediaType::kWriteOnce);
  store("Rock", "All", "y", 1);
  store("Rock", "Some", "x", 1);
  store("Rock", "Some", "y", 0);
  store("Rock", "None", "x", 0);
  ValueList list = catalogue.groupValues(TrackFilter(), LEVEL_ARTIST);
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.values[0].state, ReadyState::kAll);
  EXPECT_EQ(list.values[0].kind, MediaType::kWriteOnce);  // the first track's source
  EXPECT_EQ(list.values[1].state, ReadyState::kSome);
  EXPECT_EQ(list.values[2].state, ReadyState::kNone);
}

TEST_F(QueryTest, TracksWithoutGenreGroupUnderUnspecified) {
  TrackItem item;
  item.fileName = "bare.mp3";
  catalogue.storeTrack(item, false);
  EXPECT_EQ(values(TrackFilter(), LEVEL_GENRE), std::vector<std::string>{"Unspecified"});
}

TEST_F(QueryTest, FiltersCombineAndAllThreeGiveNoGroups) {
  store("Rock", "Zed", "One");
  store("Rock", "Zed", "Two");
  store("Pop", "Zed", "One");
  TrackFilter filter;
  filter.genre = "Rock";
  filter.artist = "Zed";
  EXPECT_EQ(values(filter, LEVEL_ALBUM), (std::vector<std::string>{"One", "Two"}));
  filter.album = "One";
  EXPECT_EQ(tracks(filter).size(), 1u);
  EXPECT_EQ(catalogue.groupValues(filter, LEVEL_ALBUM).count(), 0);
}

TEST_F(QueryTest, ManyDistinctValuesAreAllListed) {
  for (int i = 0; i < 1200; ++i) store("G", "Artist " + std::to_string(i), "A");
  EXPECT_EQ(catalogue.groupValues(TrackFilter(), LEVEL_ARTIST).count(), 1200);
}

TEST_F(QueryTest, EditAndDeleteShowInLaterWalks) {
  int first = store("Rock", "Zed", "One");
  store("Rock", "Abba", "Two");
  TrackItem item = catalogue.readTrack(first);
  item.tag.artist = "A much longer artist name than before";
  EXPECT_EQ(catalogue.updateTrack(item), first);
  EXPECT_EQ(catalogue.readTrack(first).tag.artist, "A much longer artist name than before");
  EXPECT_TRUE(catalogue.deleteTrack(first));
  EXPECT_EQ(values(TrackFilter(), LEVEL_ARTIST), std::vector<std::string>{"Abba"});
  EXPECT_FALSE(catalogue.deleteTrack(999));
}

// Words match anywhere in the five texts, ignoring case (accented capitals
// too), each word somewhere in the track; a word never spans two fields, and
// a text of no words finds nothing. Grouped by media, the sources holding
// tracks come in the order of their first track, a source that is gone
// not at all; and a source filter lists its tracks alone.
TEST_F(QueryTest, FindMatchesEveryWordAcrossTheFiveTextsAndMediaGroupsBySource) {
  TrackItem love;
  love.fileName = "Track01.MP3";
  love.tag.title = "Endless LOVE";
  love.tag.artist =
      "\xC9"
      "dith";  // Edith with an accented capital
  love.tag.album = "Chansons";
  love.tag.genre = "Pop";
  love.source = addSource("Disc One", MediaType::kWriteOnce);
  const int first = catalogue.storeTrack(love, false);
  TrackItem other = love;
  other.fileName = "lovely day.mp3";
  other.tag.title = "Day";
  other.tag.artist = "Bill";
  other.tag.album = "Endless";
  other.source = addSource("Folder", MediaType::kLocalFolder);
  const int second = catalogue.storeTrack(other, false);
  const int third = store("Jazz", "Less", "Dless");
  auto ids = [&](const std::string& text) {
    std::vector<int> found;
    for (const TrackItem& item : catalogue.findTracks(text)) found.push_back(item.id);
    return found;
  };
  EXPECT_EQ(ids("love"), (std::vector<int>{first, second}));
  EXPECT_EQ(ids("ENDLESS love"), (std::vector<int>{first, second}));
  EXPECT_EQ(ids("\xE9"
                "dith track01"),
            std::vector<int>{first});
  EXPECT_EQ(ids("\xC9"
                "DITH"),
            std::vector<int>{first});
  EXPECT_EQ(ids("less"), (std::vector<int>{first, second, third}));
  EXPECT_EQ(ids("jazz dless"), std::vector<int>{third});
  EXPECT_EQ(ids("lovechansons"), std::vector<int>{});  // "Endless LOVE" and "Chansons" are two fields
  EXPECT_EQ(ids("pop bill day"), std::vector<int>{second});
  EXPECT_EQ(ids("  \t "), std::vector<int>{});
  EXPECT_EQ(values(TrackFilter(), LEVEL_MEDIA), (std::vector<std::string>{"Disc One", "Folder", "kind0"}));
  TrackFilter onDisc;
  onDisc.sourceId = love.source.id;
  EXPECT_EQ(tracks(onDisc).size(), 1u);
  EXPECT_EQ(values(onDisc, LEVEL_ARTIST), std::vector<std::string>{"\xC9"
                                                                   "dith"});
  EXPECT_EQ(catalogue.countTracks(onDisc), 1);
  EXPECT_EQ(catalogue.countTracks(TrackFilter()), 3);
  ASSERT_TRUE(sources.removeById(love.source.id));
  EXPECT_EQ(values(TrackFilter(), LEVEL_MEDIA), (std::vector<std::string>{"Folder", "kind0"}));
}

TEST_F(QueryTest, AnEmptyCatalogueHasNoTracksAndNoGroups) {
  EXPECT_TRUE(tracks().empty());
  EXPECT_EQ(catalogue.groupValues(TrackFilter(), LEVEL_GENRE).count(), 0);
}

}  // namespace
}  // namespace tuho::test
