// Real files written by many different programs, with the values the reader
// must find in each. The expected texts are ANSI.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>

#include "support/TestFiles.h"
#include "tags/TagReader.h"

namespace tuho::test {
namespace {

const std::optional<std::string> kAbsent;

struct Expected {
  std::optional<std::string> artist, album, title, trackNo, genre, comment;
};

struct CorpusCase {
  const char* file;
  Expected values;
};

const CorpusCase kCases[] = {
    {"mutagen__silence-44-s.mp3",
     {"jzig", "Quod Libet Test Data", "Silence", "02/10", "Silence", kAbsent}},
    {"mutagen__id3v23_unsynch.id3",
     {"Nina Simone", "100% Jazz", "My babe just cares for me", "03", kAbsent, kAbsent}},
    {"mutagen__id3v24_extended_header.id3",
     {"Snild Dolkow", "Mutagen Bug Reports", "One Second of Silence", "01", "Relaxation..? :)", "This is a comment!"}},
    {"mutagen__issue_21.id3",
     {"FatBoy Slim", "Better Living Through Chemistr", "Punk To Funk", "09", "Bigbeat", kAbsent}},
    {"mutagen__id3v1v2-combined.mp3",
     {"Anais Mitchell", "Hymns for the Exiled", "cosmic american", "3/11", kAbsent, "9D09130B+174405+11+150+14097+27391+43983+65786+84877+99399+113226+132452+146426+163829"}},
    {"mutagen__bad-TYER-frame.mp3",
     {"From 1.01 To 1.02", "Splitted by Mp3Splt v. 2.1", "This track has an invalid TYER frame, that used to be able to break Mutagen", "00", kAbsent, "http://mp3splt.sf.net"}},
    {"mutagen__97-unknown-23-update.mp3",
     {"aaaaaaaaaaaaaaaaaaaaaaa vvvvvvvvvvvvvvvvveeeeeerrrrrrrrrrrrrrrryyyyyyyyyyyyy loooooooooooooooooooooooooooooonnnnnnggggggggggggg artist name", kAbsent, "aaaaaaaaaaaaaaaaaaaaaaa vvvvvvvvvvvvvvvvveeeeeerrrrrrrrrrrrrrrryyyyyyyyyyyyy loooooooooooooooooooooooooooooonnnnnnggggggggggggg ttttttttttttttttiiiiiiiiiiiiiittttttttttllllllllllllllleeeeeeeeeeeeeeeeeee", "00", kAbsent, kAbsent}},
    {"mutagen__silence-44-s-v1.mp3",
     {"piman", "Quod Libet Test Data", "Silence", "02", "Darkwave", kAbsent}},
    {"mutagen__vbri.mp3",
     {"Basshunter", "I Can Walk On Water I Can Fly", "I Can Walk On Water I Can Fly", "01", "Dance", "Ripped by THSLIVE"}},
    {"mutagen__bad-xing.mp3",
     {"Ito Kazunori", "Patlabor CD Box Deluxe Disc 3", "09-28-2001", "12", "Anime", "Furukawa Toshio, Tominaga Miina, Ikemizu Michihiro, Gouri Daisuke"}},
    {"mutagen__bad-POPM-frame.mp3",
     {"she", "emit and exude", "Emit and exude", "04", "12", "h\xE4st"}},
    {"mutagen__apev2-lyricsv2.mp3",
     {"Auth", kAbsent, "A song   ", "00", "35", kAbsent}},
    {"mutagen__id3v22-test.mp3",
     {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}},
    {"mutagen__too-short.mp3",
     {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}},
    {"mutagen__audacious-trailing-id32-id31.mp3",
     {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}},
    {"mutagen__emptyfile.mp3",
     {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}},
    {"mutagen__no-tags.mp3",
     {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}},
    {"taglib__unsynch24.id3",
     {kAbsent, kAbsent, "Hi", kAbsent, kAbsent, kAbsent}},
    {"taglib__extended-header.mp3",
     {"Excelsis", "Vo Chrieger U Drache", "Druids", "03", "Folk/Power Metal", kAbsent}},
    {"taglib__broken-tenc.id3",
     {"A Ha", "1985", "Take On Me", "01", "80s", " 0000036C 000003E6 00000BC1 00000BC3 000186E5 000186CE 00004ACA 00005A82 00011170 00011170"}},
    {"taglib__005411.id3",
     {"Donovan", "Sunshine Superman", "Sunshine Superman", "01", "Folk", ""}},
    {"taglib__w000.mp3",
     {"Sergio Galoyan f. Tamra Keenan", "Knowing You", "Knowing You", "01", "Dance", "Promo Only - www.promoonly.com - Distribution of this file is strictly prohibited."}},
    {"taglib__rare_frames.mp3",
     {kAbsent, kAbsent, kAbsent, "00", "13", "A COMMENT"}},
    {"taglib__compressed_id3_frame.mp3",
     {"Moby", "<Undefined>", "Braveheart Theme (Techno remix", kAbsent, "Techno-Dance", kAbsent}},
    {"taglib__excessive_alloc.mp3",
     {"Rihanna", "Music?of the Sun", "Bush", "10/13", "Reggae", "www.torrentazos.com"}},
    {"taglib__garbage.mp3",
     {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}},
    {"taglib__duplicate_id3v2.mp3",
     {"ArtistXXXX", "AlbumXXXX", "TitleXXXX", kAbsent, kAbsent, kAbsent}},
    {"taglib__itunes10.mp3",
     {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}},
    {"taglib__ape-id3v1.mp3",
     {kAbsent, kAbsent, "Title", "00", kAbsent, kAbsent}},
    {"tinytag__utf16be.mp3",
     {"The B52s", "party mix", "52-girls", "06", "Rock", kAbsent}},
    {"tinytag__utf16_no_bom.mp3",
     {"no bom test 2 \xEB", kAbsent, "no bom test \xEB", kAbsent, kAbsent, kAbsent}},
    {"tinytag__utf-8-id3v2.mp3",
     {"Paso a paso", "S/T", "Gran d\xED" "a", "01/21", "Acustico", kAbsent}},
    {"tinytag__utf-8-id3v2-invalid-string.mp3",
     {"Paso a paso", "S/T", "?ran d\xED" "a", "01/21", "Acustico", kAbsent}},
    {"tinytag__multi_value_utf16.mp3",
     {kAbsent, kAbsent, "some title", kAbsent, kAbsent, kAbsent}},
    {"tinytag__id3v1-latin1.mp3",
     {"Bj\xF6rk", "The Young Americans", "Play Dead", "12", "Rock", "                            "}},
    {"tinytag__mpeg1_id3v1.mp3",
     {kAbsent, kAbsent, "some title", "00", kAbsent, kAbsent}},
    {"tinytag__id3_multiple_artists.mp3",
     {"artist6", kAbsent, kAbsent, kAbsent, "something 1", kAbsent}},
    {"tinytag__duplicate_fields.mp3",
     {"another artist", "another album", "another title", "99", "genre", "another comment"}},
    {"tinytag__empty_frame.mp3",
     {"some artist", "some album", kAbsent, kAbsent, kAbsent, kAbsent}},
    {"tinytag__id3_broken_frame_size.mp3",
     {kAbsent, kAbsent, "title", kAbsent, kAbsent, kAbsent}},
    {"tinytag__chinese_id3.mp3",
     {"\xCB\xD5\xD4\xC6", "\xBD\xC7\xC2\xE4\xD6\xAE\xB8\xE8", "\xBD\xC7\xC2\xE4\xD6\xAE\xB8\xE8", "01", "\xD0\xDD\xCF\xD0\xD2\xF4\xC0\xD6", kAbsent}},
    {"tinytag__title_after_image.mp3",
     {"", kAbsent, "title after image", "01", kAbsent, kAbsent}},
    {"tinytag__id3_xxx_lang.mp3",
     {"A Perfect Circle", "eMOTIVe", "Counting Bodies Like Sheep to the Rhythm of the War Drums", "10/12", "Rock", "                            "}},
    {"tinytag__cbr.mp3",
     {"Basshunter", "I Can Walk On Water I Can Fly", "I Can Walk On Water I Can Fly", "01", "Dance", "Ripped by THSLIVE"}},
    {"tinytag__classical.mp3",
     {"some artist", "some album", "some title", "1/2", "Classical", kAbsent}},
    {"tinytag__id3_genre_id_out_of_bounds.mp3",
     {"Manson", "MECHANICAL ANIMALS", "01 GREAT BIG WHITE WORLD", "Marilyn", "(255)", ""}},
    {"tinytag__id3v24_genre_null_byte.mp3",
     {"aiko", "??", "??????", "10", "Pop", kAbsent}},
    {"tinytag__id3_comment_utf_16_double_bom.mp3",
     {"Johannes Heil & D.Diggler", "The Embrace", "The Embrace (Romano Alfieri Remix)", "04-johannes_heil_and_d.diggler-the_embrace_(romano_alfieri_remix)", kAbsent, "Unclear"}},
    {"tinytag__id3v22.TCO.genre.mp3",
     {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}},
    {"tinytag__incomplete.mp3",
     {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent}},
};

class CorpusFile : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(CorpusFile, GivesExpectedValues) {
  const CorpusCase& expected = GetParam();
  TrackTag tag;
  ASSERT_EQ(readTag(corpusFile(expected.file), tag), 0);
  EXPECT_EQ(tag.filled, 1);
  EXPECT_EQ(tag.artist, expected.values.artist);
  EXPECT_EQ(tag.album, expected.values.album);
  EXPECT_EQ(tag.title, expected.values.title);
  EXPECT_EQ(tag.trackNo, expected.values.trackNo);
  EXPECT_EQ(tag.genre, expected.values.genre);
  EXPECT_EQ(tag.comment, expected.values.comment);
}

std::string caseName(const ::testing::TestParamInfo<CorpusCase>& info) {
  std::string name;
  for (const char* c = info.param.file; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Shared, CorpusFile, ::testing::ValuesIn(kCases), caseName);

}  // namespace
}  // namespace tuho::test
