#include <gtest/gtest.h>

#include "TagBytes.h"

namespace tuho::test {
namespace {

Bytes v3Text(const std::string& id, const std::string& text) { return frame(3, id, textContent(text)); }

std::optional<std::string> trackOf(const std::string& text) {
  return parsed(id3v2(3, v3Text("TRCK", text))).trackNo;
}

std::optional<std::string> genreOf(const std::string& text) {
  return parsed(id3v2(3, v3Text("TCON", text))).genre;
}

TEST(Id3v2Frames, SixFramesFillTheirValues) {
  Bytes frames = v3Text("TPE1", "Artist") + v3Text("TALB", "Album") + v3Text("TIT2", "Title") +
                 v3Text("TRCK", "4") + v3Text("TCON", "Jazz") +
                 frame(3, "COMM", commentContent(0, bytesOf("desc"), bytesOf("Comment")));
  for (int version : {3, 4}) {
    Bytes allFrames = version == 3 ? frames
                                   : frame(4, "TPE1", textContent("Artist")) +
                                         frame(4, "TALB", textContent("Album")) +
                                         frame(4, "TIT2", textContent("Title")) +
                                         frame(4, "TRCK", textContent("4")) +
                                         frame(4, "TCON", textContent("Jazz")) +
                                         frame(4, "COMM", commentContent(0, bytesOf("desc"), bytesOf("Comment")));
    TrackTag tag = parsed(id3v2(version, allFrames, 64));
    EXPECT_EQ(tag.artist, "Artist");
    EXPECT_EQ(tag.album, "Album");
    EXPECT_EQ(tag.title, "Title");
    EXPECT_EQ(tag.trackNo, "04");
    EXPECT_EQ(tag.genre, "Jazz");
    EXPECT_EQ(tag.comment, "Comment");
  }
}

TEST(Id3v2Frames, OtherFramesAreSkippedWhateverTheirSize) {
  Bytes picture = frame(3, "APIC", Bytes(70000, 0xFF));
  TrackTag tag = parsed(id3v2(3, picture + v3Text("TIT2", "After picture") + v3Text("TYER", "1999")));
  EXPECT_EQ(tag.title, "After picture");
  EXPECT_FALSE(tag.artist);
}

TEST(Id3v2Frames, SizeIsPlainInVersion3AndSyncsafeInVersion4) {
  Bytes sizeBytes{0x00, 0x00, 0x01, 0x2C};
  auto unknownFrame = [&](size_t contentSize) {
    return bytesOf("PRIV") + sizeBytes + Bytes{0, 0} + Bytes(contentSize, 'x');
  };
  EXPECT_EQ(parsed(id3v2(3, unknownFrame(300) + v3Text("TIT2", "v3"))).title, "v3");
  EXPECT_EQ(parsed(id3v2(4, unknownFrame(172) + frame(4, "TIT2", textContent("v4")))).title, "v4");
}

TEST(Id3v2Frames, PlainSizesInVersion4AreRecognised) {
  // Some writers store plain numbers in version 4: 0x0000012C then means 300.
  Bytes picture = bytesOf("APIC") + Bytes{0x00, 0x00, 0x01, 0x2C, 0, 0} + Bytes(300, 'x');
  EXPECT_EQ(parsed(id3v2(4, picture + frame(4, "TIT2", textContent("t")))).title, "t");
  Bytes highBit = bytesOf("APIC") + Bytes{0x00, 0x00, 0x00, 0x90, 0, 0} + Bytes(0x90, 'x');
  EXPECT_EQ(parsed(id3v2(4, highBit + frame(4, "TIT2", textContent("t")))).title, "t");
}

TEST(Id3v2Frames, LaterFrameReplacesEarlier) {
  TrackTag tag = parsed(id3v2(3, v3Text("TIT2", "First") + v3Text("TIT2", "Second")));
  EXPECT_EQ(tag.title, "Second");
}

TEST(Id3v2Frames, PaddingEndsTheFrames) {
  Bytes afterPadding = v3Text("TPE1", "Hidden");
  Bytes body = v3Text("TIT2", "Title") + Bytes(20, 0) + afterPadding;
  TrackTag tag = parsed(id3v2Claiming(3, static_cast<uint32_t>(body.size()), body));
  EXPECT_EQ(tag.title, "Title");
  EXPECT_FALSE(tag.artist);
}

TEST(Id3v2Frames, TagSizeEndsTheFramesWithoutPadding) {
  Bytes inside = v3Text("TIT2", "Title");
  Bytes body = inside + v3Text("TPE1", "Audio beyond the tag");
  TrackTag tag = parsed(id3v2Claiming(3, static_cast<uint32_t>(inside.size()), body));
  EXPECT_EQ(tag.title, "Title");
  EXPECT_FALSE(tag.artist);
}

TEST(Id3v2Frames, TextEndsAtFirstZero) {
  EXPECT_EQ(parsed(id3v2(3, frame(3, "TIT2", textContent(std::string("One\0Two", 7))))).title, "One");
}

TEST(Id3v2Frames, FrameWithOnlyEncodingByteGivesEmptyValue) {
  EXPECT_EQ(parsed(id3v2(3, frame(3, "TPE1", Bytes{0}))).artist, "");
}

TEST(TrackNumberRule, SingleCharacterGetsLeadingZero) {
  EXPECT_EQ(trackOf(""), "");
  EXPECT_EQ(trackOf("6"), "06");
  EXPECT_EQ(trackOf("06"), "06");
  EXPECT_EQ(trackOf("6/10"), "6/10");
}

TEST(GenreRule, ReferenceInBracketsNamesGenre) {
  EXPECT_EQ(genreOf("(17)"), "Rock");
  EXPECT_EQ(genreOf("(17)Rock"), "Rock");
  EXPECT_EQ(genreOf("(0)"), "Blues");
  EXPECT_EQ(genreOf("(147)"), "Synthpop");
  EXPECT_EQ(genreOf("(3)Anything"), "Dance");
}

TEST(GenreRule, OtherTextsStayWhole) {
  EXPECT_EQ(genreOf("Rock"), "Rock");
  EXPECT_EQ(genreOf("17"), "17");
  EXPECT_EQ(genreOf("(148)"), "(148)");
  EXPECT_EQ(genreOf("(255)"), "(255)");
  EXPECT_EQ(genreOf("(17"), "(17");
  EXPECT_EQ(genreOf("(12345)"), "(12345)");
  EXPECT_EQ(genreOf(""), "");
}

TEST(GenreRule, TextAfterUnusableReferenceIsTheGenre) {
  EXPECT_EQ(genreOf("(255)Chiptune"), "Chiptune");
  EXPECT_EQ(genreOf("(RX)Remix"), "Remix");
  EXPECT_EQ(genreOf("(99999)Noise Pop"), "Noise Pop");
}

TEST(CommentFrame, TextFollowsDescription) {
  auto commentOf = [](const Bytes& content) { return parsed(id3v2(3, frame(3, "COMM", content))).comment; };
  EXPECT_EQ(commentOf(commentContent(0, {}, bytesOf("After empty"))), "After empty");
  EXPECT_EQ(commentOf(commentContent(0, bytesOf("Description"), bytesOf("Text"))), "Text");
  EXPECT_EQ(commentOf(commentContent(0, bytesOf("d"), {})), "");
  EXPECT_EQ(commentOf(commentContent(1, utf16le(u"d\u00e9sc"), utf16le(u"Caf\u00e9"))), "Caf\xE9");
  EXPECT_EQ(commentOf(commentContent(2, utf16be(u"x", false), utf16be(u"Big", false))), "Big");
}

TEST(CommentFrame, Utf16DescriptionEndsAtAlignedZeroPair) {
  // "\u0100" is 00 01 in little-endian order: its zero byte must not end the description.
  Bytes content = commentContent(1, utf16le(u"\u0100A"), utf16le(u"Text"));
  EXPECT_EQ(parsed(id3v2(3, frame(3, "COMM", content))).comment, "Text");
}

TEST(ValueCaps, TextsKeepAtMost511Bytes) {
  for (size_t length : {510u, 511u, 512u}) {
    TrackTag tag = parsed(id3v2(3, v3Text("TIT2", std::string(length, 'a'))));
    EXPECT_EQ(tag.title->size(), std::min<size_t>(length, 511)) << length;
  }
  TrackTag wide = parsed(id3v2(3, frame(3, "TALB", encodedContent(1, utf16le(std::u16string(600, u'w'))))));
  EXPECT_EQ(wide.album, std::string(511, 'w'));
}

TEST(ValueCaps, CommentsKeepAtMost10239Bytes) {
  for (size_t length : {10238u, 10239u, 10240u}) {
    Bytes content = commentContent(0, {}, Bytes(length, 'c'));
    TrackTag tag = parsed(id3v2(3, frame(3, "COMM", content)));
    EXPECT_EQ(tag.comment->size(), std::min<size_t>(length, 10239)) << length;
  }
}

}  // namespace
}  // namespace tuho::test
