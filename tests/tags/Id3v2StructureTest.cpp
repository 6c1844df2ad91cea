#include <gtest/gtest.h>

#include "TagBytes.h"
#include "tags/Id3v2.h"

namespace tuho::test {
namespace {

constexpr uint8_t kUnsynchronised = 0x80;
constexpr uint8_t kExtendedHeader = 0x40;

// What a writer does: a zero byte after every 0xFF, and after a final 0xFF.
Bytes unsynchronised(const Bytes& plain) {
  Bytes out;
  for (size_t i = 0; i < plain.size(); ++i) {
    out.push_back(plain[i]);
    bool needsZero = plain[i] == 0xFF && (i + 1 == plain.size() || plain[i + 1] == 0 || plain[i + 1] >= 0xE0);
    if (needsZero) out.push_back(0);
  }
  return out;
}

TEST(Id3v2Header, OnlyVersions3And4AreRead) {
  Bytes body = bytesOf("TT2") + Bytes{0, 0, 3, 0} + bytesOf("Hi");
  EXPECT_FALSE(parsed(id3v2Claiming(2, static_cast<uint32_t>(body.size()), body)).title);
  Bytes frames = frame(3, "TIT2", textContent("Hi"));
  EXPECT_FALSE(parsed(id3v2(5, frames)).title);
  Bytes negative = id3v2(3, frames);
  negative[3] = 0xFF;
  TrackTag tag;
  EXPECT_FALSE(parseId3v2(negative.data(), negative.size(), tag));
  Id3v2Header header;
  ASSERT_TRUE(parseId3v2Header(negative.data(), negative.size(), header));
  EXPECT_EQ(header.version, -1) << "the version byte is signed";
}

TEST(Id3v2Header, MarkerMustBeAtStartAndExact) {
  Bytes tag = id3v2(3, frame(3, "TIT2", textContent("Hi")));
  EXPECT_FALSE(parsed(Bytes{0} + tag).title);
  tag[0] = 'i';
  EXPECT_FALSE(parsed(tag).title);
}

TEST(ExtendedHeader, IsSkippedInBothVersions) {
  Bytes frames = frame(3, "TIT2", textContent("Title"));
  Bytes v3Extended = Bytes{0, 0, 0, 6} + Bytes(6, 0);  // size excludes its own 4 bytes
  EXPECT_EQ(parsed(id3v2(3, v3Extended + frames, 0, kExtendedHeader)).title, "Title");
  Bytes v4Frames = frame(4, "TIT2", textContent("Title"));
  Bytes v4Extended = syncsafeBytes(6) + Bytes{1, 0};  // size includes its own bytes
  EXPECT_EQ(parsed(id3v2(4, v4Extended + v4Frames, 0, kExtendedHeader)).title, "Title");
}

TEST(ExtendedHeader, FlagWithoutHeaderLeavesFramesReadable) {
  Bytes frames = frame(4, "TIT2", textContent("Title"));
  EXPECT_EQ(parsed(id3v2(4, frames, 0, kExtendedHeader)).title, "Title");
}

TEST(Unsynchronisation, IsUndoneForWholeVersion3Tag) {
  Bytes plain = frame(3, "TPE1", textContent("A\xFF\xE0")) + frame(3, "TIT2", textContent("Ends \xFF"));
  TrackTag tag = parsed(id3v2(3, unsynchronised(plain), 0, kUnsynchronised));
  EXPECT_EQ(tag.artist, "A\xFF\xE0");
  EXPECT_EQ(tag.title, "Ends \xFF") << "a tag ending in 0xFF keeps its last byte";
}

TEST(Unsynchronisation, IsUndoneForFlaggedVersion4Frames) {
  Bytes content = unsynchronised(textContent("x\xFF\xE0y"));
  Bytes flagged = frame(4, "TIT2", content, 0x02);
  EXPECT_EQ(parsed(id3v2(4, flagged)).title, "x\xFF\xE0y");
  Bytes underTagFlag = frame(4, "TPE1", content);
  EXPECT_EQ(parsed(id3v2(4, underTagFlag, 0, kUnsynchronised)).artist, "x\xFF\xE0y");
}

TEST(Version4Frames, DataLengthIndicatorAndGroupByteAreSkipped) {
  Bytes withLength = Bytes{0, 0, 0, 6} + textContent("Title");
  EXPECT_EQ(parsed(id3v2(4, frame(4, "TIT2", withLength, 0x01))).title, "Title");
  Bytes withGroup = Bytes{7} + textContent("Group");
  EXPECT_EQ(parsed(id3v2(4, frame(4, "TIT2", withGroup, 0x40))).title, "Group");
  Bytes v3Group = Bytes{7} + textContent("Group3");
  EXPECT_EQ(parsed(id3v2(3, frame(3, "TIT2", v3Group, 0x20))).title, "Group3");
}

TEST(Version4Frames, CompressedOrEncryptedFramesGiveNoValue) {
  Bytes next = frame(4, "TPE1", textContent("Next"));
  TrackTag v4 = parsed(id3v2(4, frame(4, "TIT2", textContent("zz"), 0x08) +
                                    frame(4, "TALB", textContent("zz"), 0x04) + next));
  EXPECT_FALSE(v4.title);
  EXPECT_FALSE(v4.album);
  EXPECT_EQ(v4.artist, "Next");
  TrackTag v3 = parsed(id3v2(3, frame(3, "TIT2", textContent("zzzzz"), 0x80) +
                                    frame(3, "TALB", textContent("zz"), 0x40)));
  EXPECT_FALSE(v3.title);
  EXPECT_FALSE(v3.album);
}

TEST(TextEncodings, AreDecodedToAnsi) {
  auto titleOf = [](uint8_t encoding, const Bytes& text) {
    return parsed(id3v2(3, frame(3, "TIT2", encodedContent(encoding, text)))).title;
  };
  EXPECT_EQ(titleOf(0, bytesOf("Caf\xE9")), "Caf\xE9");
  EXPECT_EQ(titleOf(1, utf16le(u"Caf\u00e9")), "Caf\xE9");
  EXPECT_EQ(titleOf(1, utf16be(u"Caf\u00e9")), "Caf\xE9");
  EXPECT_EQ(titleOf(1, utf16le(u"NoMark", false)), "NoMark");
  EXPECT_EQ(titleOf(2, utf16be(u"Big", false)), "Big");
  EXPECT_EQ(titleOf(2, utf16le(u"Mark wins")), "Mark wins");
  EXPECT_EQ(titleOf(3, bytesOf("Caf\xC3\xA9 \xE2\x82\xAC")), "Caf\xE9 \x80");
  EXPECT_EQ(titleOf(9, bytesOf("As is \xE9")), "As is \xE9");
}

TEST(TextEncodings, UnrepresentableOrBrokenCharactersBecomeQuestionMarks) {
  auto titleOf = [](uint8_t encoding, const Bytes& text) {
    return parsed(id3v2(4, frame(4, "TIT2", encodedContent(encoding, text)))).title;
  };
  EXPECT_EQ(titleOf(1, utf16le(u"\u65e5\u672c")), "??");
  EXPECT_EQ(titleOf(3, bytesOf("a\xFF" "b")), "a?b");
  EXPECT_EQ(titleOf(1, utf16le(u"x\xD800y")), "x?y");
  EXPECT_EQ(titleOf(3, bytesOf("\xF0\x9F\x8E\xB5")), "?");
}

TEST(TextEncodings, Utf16EndsAtFirstZeroCharacter) {
  Bytes twoValues = utf16le(u"One") + Bytes{0, 0} + utf16le(u"Two");
  EXPECT_EQ(parsed(id3v2(3, frame(3, "TIT2", encodedContent(1, twoValues)))).title, "One");
}

TEST(MalformedTags, TagSizePastEndReadsWhatIsThere) {
  Bytes frames = frame(3, "TIT2", textContent("Title"));
  EXPECT_EQ(parsed(id3v2Claiming(3, 100000, frames)).title, "Title");
}

TEST(MalformedTags, FrameLargerThanRestGivesWhatItHolds) {
  Bytes body = frame(3, "TPE1", textContent("A")) + frameClaiming("TIT2", 0x7FFFFFFF, textContent("Cut"));
  TrackTag tag = parsed(id3v2Claiming(3, static_cast<uint32_t>(body.size()), body));
  EXPECT_EQ(tag.artist, "A");
  EXPECT_EQ(tag.title, "Cut");
}

TEST(MalformedTags, ZeroSizeFramesGiveNoValue) {
  TrackTag tag = parsed(id3v2(3, frame(3, "TIT2", {}) + frame(3, "COMM", {}) + frame(3, "COMM", Bytes{0, 'e'}) +
                                     frame(3, "TPE1", textContent("Next"))));
  EXPECT_FALSE(tag.title);
  EXPECT_FALSE(tag.comment);
  EXPECT_EQ(tag.artist, "Next");
}

TEST(MalformedTags, CommentWithoutDescriptionEndGivesNoValue) {
  Bytes content = Bytes{0} + bytesOf("engno end");
  EXPECT_FALSE(parsed(id3v2(3, frame(3, "COMM", content))).comment);
}

TEST(MalformedTags, ThousandsOfTinyFramesAreWalked) {
  Bytes tiny = frame(3, "TIT2", textContent("x"));
  Bytes frames;
  for (int i = 0; i < 20000; ++i) frames.insert(frames.end(), tiny.begin(), tiny.end());
  frames = frames + frame(3, "TIT2", textContent("last"));
  EXPECT_EQ(parsed(id3v2(3, frames)).title, "last");
}

TEST(MalformedTags, TruncatedHeadersAreHarmless) {
  Bytes tag = id3v2(4, frame(4, "TIT2", textContent("Title")));
  for (size_t length = 0; length < tag.size(); ++length) {
    Bytes cut(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(length));
    TrackTag result;
    parseId3v2(cut.data(), cut.size(), result);
    if (result.title) {
      EXPECT_EQ(*result.title, std::string("Title").substr(0, result.title->size()));
    }
  }
}

}  // namespace
}  // namespace tuho::test
