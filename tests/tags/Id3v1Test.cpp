#include <gtest/gtest.h>

#include "TagBytes.h"
#include "tags/GenreTable.h"
#include "tags/Id3v1.h"

namespace tuho::test {
namespace {

TEST(Id3v1Block, AbsentWithoutExactMarkerOrSize) {
  Bytes block = id3v1({"Title", "Artist", "Album", "", 1, 17});
  Bytes lower = block;
  lower[0] = 't';
  EXPECT_FALSE(parsedV1(lower).title);
  Bytes shorter(block.begin() + 1, block.end());
  EXPECT_FALSE(parsedV1(shorter).title);
  EXPECT_EQ(parsedV1(block).title, "Title");
}

TEST(Id3v1Block, TextsEndAtZeroByteAndKeepSpaces) {
  TrackTag tag = parsedV1(id3v1({std::string(30, 'T'), "Artist ", std::string(30, ' '), "", 0, 255}));
  EXPECT_EQ(tag.title, std::string(30, 'T'));
  EXPECT_EQ(tag.artist, "Artist ");
  EXPECT_EQ(tag.album, std::string(30, ' '));
  EXPECT_FALSE(tag.comment) << "a field of zero bytes gives no value";
}

TEST(Id3v1Block, BytesAboveAsciiAreKeptAsAnsi) {
  EXPECT_EQ(parsedV1(id3v1({"Bj\xF6rk", "", "", "", 0, 255})).title, "Bj\xF6rk");
}

TEST(Id3v1Block, GenreByteNamesGenreOnlyInsideTable) {
  EXPECT_EQ(parsedV1(id3v1({"", "", "", "", 0, 17})).genre, "Rock");
  EXPECT_EQ(parsedV1(id3v1({"", "", "", "", 0, 141})).genre, "Unspecified");
  EXPECT_EQ(parsedV1(id3v1({"", "", "", "", 0, 147})).genre, "Synthpop");
  EXPECT_FALSE(parsedV1(id3v1({"", "", "", "", 0, 148})).genre);
  EXPECT_FALSE(parsedV1(id3v1({"", "", "", "", 0, 255})).genre);
}

TEST(Id3v1Block, TrackByteAlwaysGivesTwoDigitsAtLeast) {
  EXPECT_EQ(parsedV1(id3v1({"", "", "", "", 9, 255})).trackNo, "09");
  EXPECT_EQ(parsedV1(id3v1({"", "", "", "", 0, 255})).trackNo, "00");
  EXPECT_EQ(parsedV1(id3v1({"", "", "", "", 12, 255})).trackNo, "12");
}

TEST(Id3v1Block, TrackBytesAbove127AreUnsigned) {
  EXPECT_EQ(parsedV1(id3v1({"", "", "", "", 128, 255})).trackNo, "128");
  EXPECT_EQ(parsedV1(id3v1({"", "", "", "", 200, 255})).trackNo, "200");
  EXPECT_EQ(parsedV1(id3v1({"", "", "", "", 255, 255})).trackNo, "255");
}

TEST(Id3v1Block, FullCommentLendsItsLastCharacterAsTrack) {
  TrackTag tag = parsedV1(id3v1({"", "", "", std::string(29, 'c') + "A", 0, 255}));
  EXPECT_EQ(tag.comment, std::string(29, 'c') + "A");
  EXPECT_EQ(tag.trackNo, "65");
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
  EXPECT_EQ(tag.album, "Album");
  EXPECT_EQ(tag.comment, "Note");
  EXPECT_EQ(tag.genre, "Rock");
}

TEST(GenreNames, KeepTheirTraditionalSpellings) {
  const GenreTable& genres = genreTable();
  EXPECT_EQ(genres.count(), 148);
  EXPECT_STREQ(genres.name(0), "Blues");
  EXPECT_STREQ(genres.name(67), "Psychadelic");
  EXPECT_STREQ(genres.name(74), "Acid Jass");
  EXPECT_STREQ(genres.name(133), "Negerpunk");
  EXPECT_STREQ(genres.name(140), "Contempory Christian");
  EXPECT_STREQ(genres.name(147), "Synthpop");
}

}  // namespace
}  // namespace tuho::test
