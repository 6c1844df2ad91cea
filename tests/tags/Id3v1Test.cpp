#include <gtest/gtest.h>

#include "TagBytes.h"
#include "tags/GenreTable.h"
#include "tags/Id3v1.h"

namespace tuho::test {
namespace {

std::optional<std::string> genreOf(uint8_t byte) { return parsedV1(id3v1({"", "", "", "", 0, byte})).genre; }
std::optional<std::string> trackOf(uint8_t byte) { return parsedV1(id3v1({"", "", "", "", byte, 255})).trackNo; }

TEST(Id3v1Block, NeedsExactMarkerAndSize) {
  Bytes block = id3v1({"Title", "", "", "", 0, 255});
  Bytes lower = block;
  lower[0] = 't';
  EXPECT_FALSE(parsedV1(lower).title);
  EXPECT_FALSE(parsedV1(Bytes(block.begin() + 1, block.end())).title);
  EXPECT_EQ(parsedV1(block).title, "Title");
}

TEST(Id3v1Block, TextsEndAtZeroByteAndKeepSpaces) {
  TrackTag tag = parsedV1(id3v1({std::string(30, 'T'), "Bj\xF6rk ", std::string(30, ' '), "", 0, 255}));
  EXPECT_EQ(tag.title, std::string(30, 'T'));
  EXPECT_EQ(tag.artist, "Bj\xF6rk ");
  EXPECT_EQ(tag.album, std::string(30, ' '));
  EXPECT_FALSE(tag.comment) << "a field of zero bytes gives no value";
}

TEST(Id3v1Block, GenreAndTrackBytes) {
  EXPECT_EQ(genreOf(17), "Rock");
  EXPECT_EQ(genreOf(141), "Unspecified");
  EXPECT_EQ(genreOf(147), "Synthpop");
  EXPECT_FALSE(genreOf(148));
  EXPECT_FALSE(genreOf(255));
  EXPECT_EQ(trackOf(0), "00");
  EXPECT_EQ(trackOf(9), "09");
  EXPECT_EQ(trackOf(12), "12");
  EXPECT_EQ(trackOf(200), "200") << "bytes above 127 are unsigned";
  EXPECT_EQ(parsedV1(id3v1({"", "", "", std::string(29, 'c') + "A", 0, 255})).trackNo, "65");
}

TEST(Id3v1Block, FillsOnlyAbsentValues) {
  TrackTag tag;
  tag.artist = "From v2";
  tag.trackNo = "";
  Bytes block = id3v1({"Title", "From v1", "Album", "Note", 3, 17});
  fillFromId3v1(block.data(), block.size(), tag);
  EXPECT_EQ(tag.artist, "From v2");
  EXPECT_EQ(tag.trackNo, "") << "an empty value is a value";
  EXPECT_EQ(tag.title, "Title");
  EXPECT_EQ(tag.comment, "Note");
  EXPECT_EQ(tag.genre, "Rock");
}

TEST(GenreNames, KeepTheirTraditionalSpellings) {
  EXPECT_EQ(genreTable().count(), 148);
  EXPECT_STREQ(genreTable().name(67), "Psychadelic");
  EXPECT_STREQ(genreTable().name(74), "Acid Jass");
  EXPECT_STREQ(genreTable().name(140), "Contempory Christian");
}

}  // namespace
}  // namespace tuho::test
