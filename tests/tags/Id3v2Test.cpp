#include <gtest/gtest.h>

#include "TagBytes.h"

namespace tuho::test {
namespace {

constexpr uint8_t kUnsynchronised = 0x80;
constexpr uint8_t kExtendedHeader = 0x40;

Bytes text3(const std::string& id, const std::string& text) { return frame(3, id, textContent(text)); }
TrackTag parsed3(const Bytes& frames) { return parsed(id3v2(3, frames)); }
std::optional<std::string> titleOf(uint8_t encoding, const Bytes& text) {
  return parsed3(frame(3, "TIT2", encodedContent(encoding, text))).title;
}
std::optional<std::string> genreOf(const std::string& text) { return parsed3(text3("TCON", text)).genre; }

// What a writer does: a zero after each 0xFF that precedes 0xE0 or more, a zero or the end.
Bytes unsynchronised(const Bytes& plain) {
  Bytes out;
  for (size_t i = 0; i < plain.size(); ++i) {
    out.push_back(plain[i]);
    if (plain[i] == 0xFF && (i + 1 == plain.size() || plain[i + 1] == 0 || plain[i + 1] >= 0xE0)) out.push_back(0);
  }
  return out;
}

TEST(Id3v2Frames, SixFramesFillTheirValuesInBothVersions) {
  for (int version : {3, 4}) {
    Bytes frames = frame(version, "TPE1", textContent("Artist")) + frame(version, "TALB", textContent("Album")) +
                   frame(version, "APIC", Bytes(70000, 0xFF)) + frame(version, "TIT2", textContent("Title")) +
                   frame(version, "TRCK", textContent("4")) + frame(version, "TCON", textContent("Jazz")) +
                   frame(version, "COMM", commentContent(0, bytesOf("desc"), bytesOf("Comment")));
    TrackTag tag = parsed(id3v2(version, frames, 64));
    EXPECT_EQ(tag.artist, "Artist");
    EXPECT_EQ(tag.album, "Album");
    EXPECT_EQ(tag.title, "Title");
    EXPECT_EQ(tag.trackNo, "04");
    EXPECT_EQ(tag.genre, "Jazz");
    EXPECT_EQ(tag.comment, "Comment");
  }
}

TEST(Id3v2Frames, SizeFieldByVersion) {
  auto privFrame = [](size_t length) { return bytesOf("PRIV") + Bytes{0, 0, 1, 0x2C, 0, 0} + Bytes(length, 'x'); };
  EXPECT_EQ(parsed3(privFrame(300) + text3("TIT2", "v3")).title, "v3");
  EXPECT_EQ(parsed(id3v2(4, privFrame(172) + frame(4, "TIT2", textContent("v4")))).title, "v4");
  // Writers that store plain sizes in version 4 are recognised.
  EXPECT_EQ(parsed(id3v2(4, privFrame(300) + frame(4, "TIT2", textContent("plain")))).title, "plain");
  Bytes highBit = bytesOf("APIC") + Bytes{0, 0, 0, 0x90, 0, 0} + Bytes(0x90, 'x');
  EXPECT_EQ(parsed(id3v2(4, highBit + frame(4, "TIT2", textContent("t")))).title, "t");
}

TEST(Id3v2Frames, WalkStopsAtPaddingOrTagSize) {
  EXPECT_EQ(parsed3(text3("TIT2", "First") + text3("TIT2", "Second")).title, "Second");
  Bytes padded = text3("TIT2", "T") + Bytes(20, 0) + text3("TPE1", "Hidden");
  EXPECT_FALSE(parsed(id3v2Claiming(3, static_cast<uint32_t>(padded.size()), padded)).artist);
  Bytes inside = text3("TIT2", "T");
  EXPECT_FALSE(parsed(id3v2Claiming(3, static_cast<uint32_t>(inside.size()), inside + text3("TPE1", "A"))).artist);
}

TEST(Id3v2Rules, TrackNumberGetsLeadingZeroWhenOneCharacter) {
  EXPECT_EQ(parsed3(text3("TRCK", "")).trackNo, "");
  EXPECT_EQ(parsed3(text3("TRCK", "6")).trackNo, "06");
  EXPECT_EQ(parsed3(text3("TRCK", "06")).trackNo, "06");
  EXPECT_EQ(parsed3(text3("TRCK", "6/10")).trackNo, "6/10");
}

TEST(Id3v2Rules, GenreReferences) {
  EXPECT_EQ(genreOf("(17)"), "Rock");
  EXPECT_EQ(genreOf("(17)Rock"), "Rock");
  EXPECT_EQ(genreOf("(0)"), "Blues");
  EXPECT_EQ(genreOf("(147)"), "Synthpop");
  for (const char* whole : {"Rock", "17", "(148)", "(255)", "(17", "(12345)", ""}) EXPECT_EQ(genreOf(whole), whole);
  EXPECT_EQ(genreOf("(255)Chiptune"), "Chiptune");
  EXPECT_EQ(genreOf("(RX)Remix"), "Remix");
}

TEST(Id3v2Rules, CommentTextFollowsDescription) {
  auto commentOf = [](const Bytes& content) { return parsed3(frame(3, "COMM", content)).comment; };
  EXPECT_EQ(commentOf(commentContent(0, {}, bytesOf("After empty"))), "After empty");
  EXPECT_EQ(commentOf(commentContent(0, bytesOf("d"), {})), "");
  EXPECT_EQ(commentOf(commentContent(1, utf16(u"d\u00e9sc"), utf16(u"Caf\u00e9"))), "Caf\xE9");
  // U+0100 is 00 01 in little-endian order: that zero byte does not end the description.
  EXPECT_EQ(commentOf(commentContent(1, utf16(u"\u0100A"), utf16(u"Text"))), "Text");
  EXPECT_FALSE(commentOf(Bytes{0} + bytesOf("engno end")));
}

TEST(Id3v2Rules, ValuesAreCutAt511AndCommentsAt10239Bytes) {
  for (size_t extra : {0u, 1u, 2u}) {
    EXPECT_EQ(parsed3(text3("TIT2", std::string(510 + extra, 'a'))).title->size(), std::min<size_t>(510 + extra, 511));
    Bytes comment = commentContent(0, {}, Bytes(10238 + extra, 'c'));
    EXPECT_EQ(parsed3(frame(3, "COMM", comment)).comment->size(), std::min<size_t>(10238 + extra, 10239));
  }
  EXPECT_EQ(titleOf(1, utf16(std::u16string(600, u'w'))), std::string(511, 'w'));
}

TEST(TextEncodings, AreDecodedToAnsi) {
  EXPECT_EQ(titleOf(0, bytesOf("Caf\xE9")), "Caf\xE9");
  EXPECT_EQ(titleOf(1, utf16(u"Caf\u00e9")), "Caf\xE9");
  EXPECT_EQ(titleOf(1, utf16(u"Caf\u00e9", true)), "Caf\xE9");
  EXPECT_EQ(titleOf(1, utf16(u"NoMark", false, false)), "NoMark");
  EXPECT_EQ(titleOf(2, utf16(u"Big", true, false)), "Big");
  EXPECT_EQ(titleOf(2, utf16(u"Mark wins")), "Mark wins");
  EXPECT_EQ(titleOf(3, bytesOf("Caf\xC3\xA9 \xE2\x82\xAC")), "Caf\xE9 \x80");
  EXPECT_EQ(titleOf(9, bytesOf("As is \xE9")), "As is \xE9");
  EXPECT_EQ(titleOf(1, utf16(u"One") + Bytes{0, 0} + utf16(u"Two")), "One");
}

TEST(TextEncodings, UnrepresentableOrBrokenCharactersBecomeQuestionMarks) {
  EXPECT_EQ(titleOf(1, utf16(u"\u65e5\u672c")), "??");
  EXPECT_EQ(titleOf(1, utf16(u"x\xD800y")), "x?y");
  EXPECT_EQ(titleOf(3, bytesOf("a\xFF" "b")), "a?b");
}

TEST(Id3v2Structure, OnlyVersions3And4AtStartOfData) {
  Bytes frames = text3("TIT2", "Hi");
  EXPECT_FALSE(parsed(id3v2(2, frames)).title);
  EXPECT_FALSE(parsed(id3v2(5, frames)).title);
  EXPECT_FALSE(parsed(Bytes{0} + id3v2(3, frames)).title);
}

TEST(Id3v2Structure, ExtendedHeaderIsSkipped) {
  Bytes v3Header = Bytes{0, 0, 0, 6} + Bytes(6, 0);  // size excludes its own 4 bytes
  EXPECT_EQ(parsed(id3v2(3, v3Header + text3("TIT2", "T"), 0, kExtendedHeader)).title, "T");
  Bytes v4Frames = frame(4, "TIT2", textContent("T"));
  Bytes v4Header = syncsafeBytes(6) + Bytes{1, 0};  // size includes its own bytes
  EXPECT_EQ(parsed(id3v2(4, v4Header + v4Frames, 0, kExtendedHeader)).title, "T");
  EXPECT_EQ(parsed(id3v2(4, v4Frames, 0, kExtendedHeader)).title, "T") << "flag set, header missing";
}

TEST(Id3v2Structure, UnsynchronisationIsUndone) {
  Bytes plain = frame(3, "TPE1", textContent("A\xFF\xE0")) + frame(3, "TIT2", textContent("End \xFF"));
  TrackTag tag = parsed(id3v2(3, unsynchronised(plain), 0, kUnsynchronised));
  EXPECT_EQ(tag.artist, "A\xFF\xE0");
  EXPECT_EQ(tag.title, "End \xFF") << "a tag ending in 0xFF keeps its last byte";
  Bytes content = unsynchronised(textContent("x\xFF\xE0"));
  EXPECT_EQ(parsed(id3v2(4, frame(4, "TIT2", content, 0x02))).title, "x\xFF\xE0");
  EXPECT_EQ(parsed(id3v2(4, frame(4, "TIT2", content), 0, kUnsynchronised)).title, "x\xFF\xE0");
}

TEST(Id3v2Structure, FramePrefixesAreSkippedAndPackedFramesIgnored) {
  EXPECT_EQ(parsed(id3v2(4, frame(4, "TIT2", Bytes{0, 0, 0, 2} + textContent("L"), 0x01))).title, "L");
  EXPECT_EQ(parsed(id3v2(4, frame(4, "TIT2", Bytes{7} + textContent("G"), 0x40))).title, "G");
  EXPECT_EQ(parsed3(frame(3, "TIT2", Bytes{7} + textContent("G3"), 0x20)).title, "G3");
  TrackTag v4 = parsed(id3v2(4, frame(4, "TIT2", textContent("zz"), 0x08) + frame(4, "TALB", textContent("zz"), 0x04)));
  TrackTag v3 = parsed3(frame(3, "TIT2", textContent("zzzz"), 0x80) + frame(3, "TALB", textContent("zz"), 0x40));
  EXPECT_FALSE(v4.title || v4.album || v3.title || v3.album);
}

TEST(Id3v2Malformed, SizesPastTheEndGiveWhatIsThere) {
  EXPECT_EQ(parsed(id3v2Claiming(3, 100000, text3("TIT2", "Title"))).title, "Title");
  Bytes body = text3("TPE1", "A") + bytesOf("TIT2") + Bytes{0x7F, 0xFF, 0xFF, 0xFF, 0, 0} + textContent("Cut");
  TrackTag tag = parsed(id3v2Claiming(3, static_cast<uint32_t>(body.size()), body));
  EXPECT_EQ(tag.artist, "A");
  EXPECT_EQ(tag.title, "Cut");
}

TEST(Id3v2Malformed, EmptyFramesGiveNoValueAndTinyFramesAreWalked) {
  TrackTag empty = parsed3(frame(3, "TIT2", {}) + frame(3, "COMM", Bytes{0, 'e'}) + text3("TPE1", "Next"));
  EXPECT_FALSE(empty.title || empty.comment);
  EXPECT_EQ(empty.artist, "Next");
  Bytes tiny = text3("TIT2", "x"), frames;
  for (int i = 0; i < 20000; ++i) frames.insert(frames.end(), tiny.begin(), tiny.end());
  EXPECT_EQ(parsed3(frames + text3("TIT2", "last")).title, "last");
}

}  // namespace
}  // namespace tuho::test
