#include <gtest/gtest.h>

#include "TagBytes.h"
#include "platform/Alert.h"
#include "platform/FaultPlan.h"
#include "platform/File.h"
#include "platform/Win32Error.h"
#include "tags/TagReader.h"

namespace tuho::test {
namespace {

const Bytes kAudio(4000, 0x55);

class TagReaderFile : public ::testing::Test {
 protected:
  std::string write(const Bytes& bytes) {
    std::string path = dir_.file("track" + std::to_string(count_++) + ".mp3");
    writeBytes(path, bytes);
    return path;
  }
  TrackTag read(const std::string& path) {
    TrackTag tag;
    EXPECT_EQ(readTag(path, tag), 0);
    return tag;
  }

  TempDir dir_;
  AlertSink alerts_;
  int count_ = 0;
};

TEST_F(TagReaderFile, FileWithoutTagsLeavesValuesAbsentButFilled) {
  TrackTag tag = read(write(kAudio));
  EXPECT_FALSE(tag.artist || tag.album || tag.title || tag.trackNo || tag.genre || tag.comment);
  EXPECT_EQ(tag.filled, 1);
  EXPECT_EQ(alerts_.count(), 0u);
}

TEST_F(TagReaderFile, Id3v2ValuesWinAndId3v1FillsTheRest) {
  Bytes v2 = id3v2(3, frame(3, "TPE1", textContent("V2 Artist")) + frame(3, "TIT2", textContent("V2 Title")), 100);
  Bytes v1 = id3v1({"V1 Title", "V1 Artist", "V1 Album", "V1 Comment", 7, 13});
  TrackTag tag = read(write(v2 + kAudio + v1));
  EXPECT_EQ(tag.artist, "V2 Artist");
  EXPECT_EQ(tag.title, "V2 Title");
  EXPECT_EQ(tag.album, "V1 Album");
  EXPECT_EQ(tag.comment, "V1 Comment");
  EXPECT_EQ(tag.trackNo, "07");
  EXPECT_EQ(tag.genre, "Pop");
}

TEST_F(TagReaderFile, Id3v1IsReadWhenId3v2VersionIsUnsupported) {
  Bytes v22 = bytesOf("ID3") + Bytes{2, 0, 0, 0, 0, 0, 10} + bytesOf("TT2") + Bytes{0, 0, 4, 0} + bytesOf("Old");
  TrackTag tag = read(write(v22 + kAudio + id3v1({"V1 Title", "", "", "", 1, 255})));
  EXPECT_EQ(tag.title, "V1 Title");
}

TEST_F(TagReaderFile, TagLaterInFileIsIgnored) {
  TrackTag tag = read(write(kAudio + id3v2(3, frame(3, "TIT2", textContent("Late")))));
  EXPECT_FALSE(tag.title);
}

TEST_F(TagReaderFile, ShortFilesAreRead) {
  for (const Bytes& bytes : {Bytes{}, bytesOf("ID3"), bytesOf("TAG"), id3v2Claiming(4, 5000, {})}) {
    TrackTag tag = read(write(bytes));
    EXPECT_EQ(tag.filled, 1);
    EXPECT_FALSE(tag.title);
  }
}

TEST_F(TagReaderFile, TagOnlyFileServesBothPasses) {
  // A 128-byte file that is only an ID3v1 block; and a v2 tag that runs to the end of the file.
  EXPECT_EQ(read(write(id3v1({"Only", "", "", "", 2, 0}))).genre, "Blues");
  EXPECT_EQ(read(write(id3v2Claiming(3, 9999, frame(3, "TIT2", textContent("Cut off"))))).title, "Cut off");
}

TEST_F(TagReaderFile, SecondReadReplacesEveryValue) {
  std::string first = write(id3v2(3, frame(3, "TIT2", textContent("One")) + frame(3, "TPE1", textContent("A"))));
  std::string second = write(id3v2(3, frame(3, "TIT2", textContent("Two"))));
  TrackTag tag = read(first);
  ASSERT_EQ(readTag(second, tag), 0);
  EXPECT_EQ(tag.title, "Two");
  EXPECT_FALSE(tag.artist);
  EXPECT_EQ(tag.filled, 1);
}

TEST_F(TagReaderFile, ReadsTheFileInThreeReads) {
  std::string path = write(id3v2(3, frame(3, "TIT2", textContent("T")), 2000) + kAudio + id3v1({}));
  FaultPlan plan;
  read(path);
  EXPECT_EQ(plan.seen(kFaultRead), 3);
}

TEST_F(TagReaderFile, FailedReadsLeaveValuesAbsentAndStillSucceed) {
  std::string path = write(id3v2(3, frame(3, "TIT2", textContent("T"))) + kAudio + id3v1({"", "V1", "", "", 1, 1}));
  FaultPlan plan;
  plan.fail(kFaultRead, 2, kErrReadFault);
  TrackTag tag = read(path);
  EXPECT_FALSE(tag.title);
  EXPECT_EQ(tag.artist, "V1");
  EXPECT_EQ(alerts_.count(), 0u);
}

TEST_F(TagReaderFile, MissingFileShowsBoxAndLeavesTagUnchanged) {
  std::string path = dir_.file("missing.mp3");
  TrackTag tag;
  tag.title = "Kept";
  EXPECT_EQ(readTag(path, tag), -1);
  EXPECT_EQ(tag.title, "Kept");
  EXPECT_EQ(tag.filled, 0);
  ASSERT_EQ(alerts_.count(), 1u);
  EXPECT_EQ(alerts_.records()[0].text, path);
  EXPECT_EQ(alerts_.records()[0].caption, "MP3 Other File Error");
}

TEST_F(TagReaderFile, FileHeldWithoutReadSharingShowsSharingViolation) {
  std::string path = write(kAudio);
  File holder;
  ASSERT_TRUE(holder.open(path, kAccessReadWrite, kShareNone, kOpenExisting));
  TrackTag tag;
  EXPECT_EQ(readTag(path, tag), -1);
  EXPECT_EQ(alerts_.captions(), std::vector<std::string>{"MP3 Sharing Violation"});
}

TEST_F(TagReaderFile, OpenFailureCaptionFollowsErrorCode) {
  std::string path = write(kAudio);
  FaultPlan plan;
  plan.fail(kFaultOpen, 1, kErrAccessDenied);
  TrackTag tag;
  EXPECT_EQ(readTag(path, tag), -1);
  EXPECT_EQ(alerts_.captions(), std::vector<std::string>{"MP3 Access Denied"});
  uint32_t error = 0;
  plan.fail(kFaultOpen, 2, kErrLockViolation);
  EXPECT_EQ(readTagQuietly(path, tag, &error), -1);
  EXPECT_EQ(error, kErrLockViolation);
  EXPECT_EQ(alerts_.count(), 1u) << "the quiet read shows no box";
}

TEST(OpenFailureCaption, CoversEveryRow) {
  EXPECT_STREQ(openFailureCaption(4), "MP3 Too Many Open Files");
  EXPECT_STREQ(openFailureCaption(5), "MP3 Access Denied");
  EXPECT_STREQ(openFailureCaption(32), "MP3 Sharing Violation");
  EXPECT_STREQ(openFailureCaption(33), "MP3 Locked");
  EXPECT_STREQ(openFailureCaption(36), "MP3 Share Exceeded");
  EXPECT_STREQ(openFailureCaption(108), "MP3 Drive Locked");
  EXPECT_STREQ(openFailureCaption(110), "MP3 Generic Open Failure");
  EXPECT_STREQ(openFailureCaption(123), "MP3 Bad Fail Name");
  EXPECT_STREQ(openFailureCaption(2), "MP3 Other File Error");
  EXPECT_STREQ(openFailureCaption(0), "MP3 Other File Error");
}

}  // namespace
}  // namespace tuho::test
