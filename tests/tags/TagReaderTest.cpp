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

class TagFile : public ::testing::Test {
 protected:
  std::string write(const Bytes& bytes) {
    std::string path = dir_.file("track" + std::to_string(count_++) + ".mp3");
    writeBytes(path, bytes);
    return path;
  }
  TrackTag read(const std::string& path) {
    TrackTag tag;
    EXPECT_TRUE(readTag(path, tag));
    return tag;
  }

  TempDir dir_;
  AlertSink alerts_;
  int count_ = 0;
};

TEST_F(TagFile, WithoutTagsValuesStayAbsentButTagIsFilled) {
  for (const Bytes& bytes : {kAudio, Bytes{}, bytesOf("ID3"), id3v2Claiming(4, 5000, {}),
                             kAudio + id3v2(3, frame(3, "TIT2", textContent("Late")))}) {
    TrackTag tag = read(write(bytes));
    EXPECT_FALSE(tag.artist || tag.album || tag.title || tag.trackNo || tag.genre || tag.comment);
    EXPECT_EQ(tag.filled, 1);
  }
  EXPECT_EQ(alerts_.count(), 0u);
}

TEST_F(TagFile, Id3v2ValuesWinAndId3v1FillsTheRest) {
  Bytes v2 = id3v2(3, frame(3, "TPE1", textContent("V2 Artist")) + frame(3, "TIT2", textContent("V2 Title")), 100);
  TrackTag tag = read(write(v2 + kAudio + id3v1({"V1 Title", "V1 Artist", "V1 Album", "V1 Comment", 7, 13})));
  EXPECT_EQ(tag.artist, "V2 Artist");
  EXPECT_EQ(tag.title, "V2 Title");
  EXPECT_EQ(tag.album, "V1 Album");
  EXPECT_EQ(tag.comment, "V1 Comment");
  EXPECT_EQ(tag.trackNo, "07");
  EXPECT_EQ(tag.genre, "Pop");
}

TEST_F(TagFile, Id3v1AloneOrAfterUnsupportedVersion) {
  EXPECT_EQ(read(write(id3v1({"Only", "", "", "", 2, 0}))).genre, "Blues");
  Bytes v22 = id3v2(2, bytesOf("TT2") + Bytes{0, 0, 4, 0} + bytesOf("Old"));
  EXPECT_EQ(read(write(v22 + kAudio + id3v1({"V1 Title", "", "", "", 0, 255}))).title, "V1 Title");
}

// FF FF FF FF is not a syncsafe size: the header starts no tag, and
// nothing of what it claims is allocated or read (the header and the end
// block are the only reads), however large the file.
TEST_F(TagFile, ATagSizeThatIsNotSyncsafeStartsNoTag) {
  Bytes claims = bytesOf("ID3") + Bytes{3, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF} + frame(3, "TIT2", textContent("Big"));
  std::string path = write(claims + kAudio + id3v1({"V1 Title", "", "", "", 0, 255}));
  FaultPlan plan;
  EXPECT_EQ(read(path).title, "V1 Title");
  EXPECT_EQ(plan.seen(kFaultRead), 2);
}

// The largest syncsafe size (256 MB) in a small file: the tag is read as
// far as the file goes, in one read of what the file holds.
TEST_F(TagFile, ATagClaimingMoreThanTheFileReadsOnlyTheFile) {
  const uint32_t largest = (1u << 28) - 1;
  Bytes claims =
      id3v2Claiming(4, largest, frame(4, "TIT2", textContent("Big")) + frame(4, "TPE1", textContent("Band")));
  std::string path = write(claims + kAudio);
  FaultPlan plan;
  TrackTag tag = read(path);
  EXPECT_EQ(tag.title, "Big");
  EXPECT_EQ(tag.artist, "Band");
  // Header, body and end block: a body read past the end would take a second read.
  EXPECT_EQ(plan.seen(kFaultRead), 3);
}

TEST_F(TagFile, SecondReadReplacesEveryValue) {
  TrackTag tag = read(write(id3v2(3, frame(3, "TIT2", textContent("One")) + frame(3, "TPE1", textContent("A")))));
  ASSERT_TRUE(readTag(write(id3v2(3, frame(3, "TIT2", textContent("Two")))), tag));
  EXPECT_EQ(tag.title, "Two");
  EXPECT_FALSE(tag.artist);
}

TEST_F(TagFile, ReadsHeaderTagAndEndBlockInOneReadEach) {
  std::string path = write(id3v2(3, frame(3, "TIT2", textContent("T")), 2000) + kAudio + id3v1({}));
  FaultPlan plan;
  read(path);
  EXPECT_EQ(plan.seen(kFaultRead), 3);
}

TEST_F(TagFile, FailedReadsLeaveValuesAbsentAndStillSucceed) {
  std::string path = write(id3v2(3, frame(3, "TIT2", textContent("T"))) + kAudio + id3v1({"", "V1", "", "", 1, 1}));
  FaultPlan plan;
  plan.fail(kFaultRead, 2, kErrReadFault);
  TrackTag tag = read(path);
  EXPECT_FALSE(tag.title);
  EXPECT_EQ(tag.artist, "V1");
  EXPECT_EQ(alerts_.count(), 0u);
}

TEST_F(TagFile, OpenFailureGivesErrorLeavesTagUnchangedAndShowsNoBox) {
  std::string missing = dir_.file("missing.mp3");
  TrackTag tag;
  tag.title = "Kept";
  uint32_t error = 0;
  EXPECT_FALSE(readTag(missing, tag, &error));
  EXPECT_EQ(tag.title, "Kept");
  EXPECT_EQ(tag.filled, 0);
  EXPECT_EQ(trackOpenFailureCaption(error), "MP3 Other File Error");
  EXPECT_EQ(alerts_.count(), 0u);
}

TEST_F(TagFile, FileHeldWithoutReadSharingGivesSharingViolation) {
  std::string path = write(kAudio);
  File holder;
  ASSERT_TRUE(holder.open(path, kAccessReadWrite, kShareNone, kOpenExisting));
  TrackTag tag;
  uint32_t error = 0;
  EXPECT_FALSE(readTag(path, tag, &error));
  EXPECT_EQ(trackOpenFailureCaption(error), "MP3 Sharing Violation");
}

TEST_F(TagFile, CaptionFollowsErrorCode) {
  std::string path = write(kAudio);
  FaultPlan plan;
  plan.fail(kFaultOpen, 1, kErrAccessDenied);
  plan.fail(kFaultOpen, 2, kErrLockViolation);
  TrackTag tag;
  uint32_t error = 0;
  EXPECT_FALSE(readTag(path, tag, &error));
  EXPECT_EQ(error, kErrAccessDenied);
  EXPECT_FALSE(readTag(path, tag, &error));
  EXPECT_EQ(error, kErrLockViolation);
  EXPECT_EQ(alerts_.count(), 0u);
  const std::pair<uint32_t, const char*> rows[] = {
      {4, "MP3 Too Many Open Files"}, {32, "MP3 Sharing Violation"}, {33, "MP3 Locked"},
      {36, "MP3 Share Exceeded"}, {108, "MP3 Drive Locked"}, {110, "MP3 Generic Open Failure"},
      {123, "MP3 Bad Fail Name"}, {2, "MP3 Other File Error"}};
  for (const auto& [code, caption] : rows) EXPECT_EQ(trackOpenFailureCaption(code), caption);
}

}  // namespace
}  // namespace tuho::test
