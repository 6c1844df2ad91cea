// Real files written by many different programs, with the values the reader
// must find in each (ANSI texts; kNo for an absent value). Columns: artist,
// album, title, track number, genre, comment.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>

#include "support/TestFiles.h"
#include "tags/TagReader.h"

namespace tuho::test {
namespace {

using Value = std::optional<std::string>;
const Value kNo;
const std::string kLong = "aaaaaaaaaaaaaaaaaaaaaaa vvvvvvvvvvvvvvvvveeeeeerrrrrrrrrrrrrrrryyyyyyyyyyyyy "
                          "loooooooooooooooooooooooooooooonnnnnnggggggggggggg ";

struct CorpusCase {
  const char* file;
  Value artist, album, title, trackNo, genre, comment;
};

const CorpusCase kCases[] = {
    {"mutagen__silence-44-s.mp3", "jzig", "Quod Libet Test Data", "Silence", "02/10", "Silence", kNo},
    {"mutagen__id3v23_unsynch.id3", "Nina Simone", "100% Jazz", "My babe just cares for me", "03", kNo, kNo},
    {"mutagen__id3v24_extended_header.id3", "Snild Dolkow", "Mutagen Bug Reports", "One Second of Silence", "01", "Relaxation..? :)", "This is a comment!"},
    {"mutagen__issue_21.id3", "FatBoy Slim", "Better Living Through Chemistr", "Punk To Funk", "09", "Bigbeat", kNo},
    {"mutagen__id3v1v2-combined.mp3", "Anais Mitchell", "Hymns for the Exiled", "cosmic american", "3/11", kNo, "9D09130B+174405+11+150+14097+27391+43983+65786+84877+99399+113226+132452+146426+163829"},
    {"mutagen__bad-TYER-frame.mp3", "From 1.01 To 1.02", "Splitted by Mp3Splt v. 2.1", "This track has an invalid TYER frame, that used to be able to break Mutagen", "00", kNo, "http://mp3splt.sf.net"},
    {"mutagen__97-unknown-23-update.mp3", kLong + "artist name", kNo, kLong + "ttttttttttttttttiiiiiiiiiiiiiittttttttttllllllllllllllleeeeeeeeeeeeeeeeeee", "00", kNo, kNo},
    {"mutagen__silence-44-s-v1.mp3", "piman", "Quod Libet Test Data", "Silence", "02", "Darkwave", kNo},
    {"mutagen__vbri.mp3", "Basshunter", "I Can Walk On Water I Can Fly", "I Can Walk On Water I Can Fly", "01", "Dance", "Ripped by THSLIVE"},
    {"mutagen__bad-xing.mp3", "Ito Kazunori", "Patlabor CD Box Deluxe Disc 3", "09-28-2001", "12", "Anime", "Furukawa Toshio, Tominaga Miina, Ikemizu Michihiro, Gouri Daisuke"},
    {"mutagen__bad-POPM-frame.mp3", "she", "emit and exude", "Emit and exude", "04", "12", "h\xE4st"},
    {"mutagen__apev2-lyricsv2.mp3", "Auth", kNo, "A song   ", "00", "35", kNo},
    {"mutagen__id3v22-test.mp3", kNo, kNo, kNo, kNo, kNo, kNo},
    {"mutagen__too-short.mp3", kNo, kNo, kNo, kNo, kNo, kNo},
    {"mutagen__audacious-trailing-id32-id31.mp3", kNo, kNo, kNo, kNo, kNo, kNo},
    {"mutagen__emptyfile.mp3", kNo, kNo, kNo, kNo, kNo, kNo},
    {"mutagen__no-tags.mp3", kNo, kNo, kNo, kNo, kNo, kNo},
    {"taglib__unsynch24.id3", kNo, kNo, "Hi", kNo, kNo, kNo},
    {"taglib__extended-header.mp3", "Excelsis", "Vo Chrieger U Drache", "Druids", "03", "Folk/Power Metal", kNo},
    {"taglib__broken-tenc.id3", "A Ha", "1985", "Take On Me", "01", "80s", " 0000036C 000003E6 00000BC1 00000BC3 000186E5 000186CE 00004ACA 00005A82 00011170 00011170"},
    {"taglib__005411.id3", "Donovan", "Sunshine Superman", "Sunshine Superman", "01", "Folk", ""},
    {"taglib__w000.mp3", "Sergio Galoyan f. Tamra Keenan", "Knowing You", "Knowing You", "01", "Dance", "Promo Only - www.promoonly.com - Distribution of this file is strictly prohibited."},
    {"taglib__rare_frames.mp3", kNo, kNo, kNo, "00", "13", "A COMMENT"},
    {"taglib__compressed_id3_frame.mp3", "Moby", "<Undefined>", "Braveheart Theme (Techno remix", kNo, "Techno-Dance", kNo},
    {"taglib__excessive_alloc.mp3", "Rihanna", "Music?of the Sun", "Bush", "10/13", "Reggae", "www.torrentazos.com"},
    {"taglib__garbage.mp3", kNo, kNo, kNo, kNo, kNo, kNo},
    {"taglib__duplicate_id3v2.mp3", "ArtistXXXX", "AlbumXXXX", "TitleXXXX", kNo, kNo, kNo},
    {"taglib__itunes10.mp3", kNo, kNo, kNo, kNo, kNo, kNo},
    {"taglib__ape-id3v1.mp3", kNo, kNo, "Title", "00", kNo, kNo},
    {"tinytag__utf16be.mp3", "The B52s", "party mix", "52-girls", "06", "Rock", kNo},
    {"tinytag__utf16_no_bom.mp3", "no bom test 2 \xEB", kNo, "no bom test \xEB", kNo, kNo, kNo},
    {"tinytag__utf-8-id3v2.mp3", "Paso a paso", "S/T", "Gran d\xED" "a", "01/21", "Acustico", kNo},
    {"tinytag__utf-8-id3v2-invalid-string.mp3", "Paso a paso", "S/T", "?ran d\xED" "a", "01/21", "Acustico", kNo},
    {"tinytag__multi_value_utf16.mp3", kNo, kNo, "some title", kNo, kNo, kNo},
    {"tinytag__id3v1-latin1.mp3", "Bj\xF6rk", "The Young Americans", "Play Dead", "12", "Rock", "                            "},
    {"tinytag__mpeg1_id3v1.mp3", kNo, kNo, "some title", "00", kNo, kNo},
    {"tinytag__id3_multiple_artists.mp3", "artist6", kNo, kNo, kNo, "something 1", kNo},
    {"tinytag__duplicate_fields.mp3", "another artist", "another album", "another title", "99", "genre", "another comment"},
    {"tinytag__empty_frame.mp3", "some artist", "some album", kNo, kNo, kNo, kNo},
    {"tinytag__id3_broken_frame_size.mp3", kNo, kNo, "title", kNo, kNo, kNo},
    {"tinytag__chinese_id3.mp3", "\xCB\xD5\xD4\xC6", "\xBD\xC7\xC2\xE4\xD6\xAE\xB8\xE8", "\xBD\xC7\xC2\xE4\xD6\xAE\xB8\xE8", "01", "\xD0\xDD\xCF\xD0\xD2\xF4\xC0\xD6", kNo},
    {"tinytag__title_after_image.mp3", "", kNo, "title after image", "01", kNo, kNo},
    {"tinytag__id3_xxx_lang.mp3", "A Perfect Circle", "eMOTIVe", "Counting Bodies Like Sheep to the Rhythm of the War Drums", "10/12", "Rock", "                            "},
    {"tinytag__cbr.mp3", "Basshunter", "I Can Walk On Water I Can Fly", "I Can Walk On Water I Can Fly", "01", "Dance", "Ripped by THSLIVE"},
    {"tinytag__classical.mp3", "some artist", "some album", "some title", "1/2", "Classical", kNo},
    {"tinytag__id3_genre_id_out_of_bounds.mp3", "Manson", "MECHANICAL ANIMALS", "01 GREAT BIG WHITE WORLD", "Marilyn", "(255)", ""},
    {"tinytag__id3v24_genre_null_byte.mp3", "aiko", "??", "??????", "10", "Pop", kNo},
    {"tinytag__id3_comment_utf_16_double_bom.mp3", "Johannes Heil & D.Diggler", "The Embrace", "The Embrace (Romano Alfieri Remix)", "04-johannes_heil_and_d.diggler-the_embrace_(romano_alfieri_remix)", kNo, "Unclear"},
    {"tinytag__id3v22.TCO.genre.mp3", kNo, kNo, kNo, kNo, kNo, kNo},
    {"tinytag__incomplete.mp3", kNo, kNo, kNo, kNo, kNo, kNo},
};

class CorpusFile : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(CorpusFile, GivesExpectedValues) {
  const CorpusCase& expected = GetParam();
  TrackTag tag;
  ASSERT_TRUE(readTag(corpusFile(expected.file), tag));
  EXPECT_EQ(tag.artist, expected.artist);
  EXPECT_EQ(tag.album, expected.album);
  EXPECT_EQ(tag.title, expected.title);
  EXPECT_EQ(tag.trackNo, expected.trackNo);
  EXPECT_EQ(tag.genre, expected.genre);
  EXPECT_EQ(tag.comment, expected.comment);
}

std::string caseName(const ::testing::TestParamInfo<CorpusCase>& info) {
  std::string name;
  for (const char* c = info.param.file; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Shared, CorpusFile, ::testing::ValuesIn(kCases), caseName);

}  // namespace
}  // namespace tuho::test
