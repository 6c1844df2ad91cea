// The file layer behaves as CreateFileA/ReadFile/WriteFile do, with the same
// error numbers, on both backends.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/File.h"
#include "platform/Win32Error.h"
#include "support/TestFiles.h"

namespace tuho {
namespace {

using test::Bytes;
using test::TempDir;

class FileTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name = "data.bin") { return dir.file(name); }
  File openWith(Access access, Share share, Disposition disposition, const std::string& name = "data.bin") {
    File file;
    file.open(path(name), access, share, disposition);
    return file;
  }
  std::string readAll(File& file) {
    char buffer[256];
    uint32_t got = 0;
    file.seek(0, kSeekBegin);
    EXPECT_TRUE(file.read(buffer, sizeof buffer, &got));
    return std::string(buffer, got);
  }
  TempDir dir;
};

TEST_F(FileTest, WrittenBytesReadBackAndEndOfFileReadsNothing) {
  File file = openWith(kAccessReadWrite, kShareReadWrite, kOpenAlways);
  ASSERT_TRUE(file.isOpen());
  ASSERT_TRUE(file.write("hello", 5));
  EXPECT_EQ(readAll(file), "hello");
  char byte;
  uint32_t got = 99;
  EXPECT_TRUE(file.read(&byte, 1, &got));
  EXPECT_EQ(got, 0u);
}

TEST_F(FileTest, SeekFromEachOriginAndSize) {
  File file = openWith(kAccessReadWrite, kShareReadWrite, kCreateAlways);
  ASSERT_TRUE(file.write("0123456789", 10));
  int64_t position = -1;
  EXPECT_TRUE(file.seek(-3, kSeekEnd, &position));
  EXPECT_EQ(position, 7);
  EXPECT_TRUE(file.seek(1, kSeekCurrent, &position));
  EXPECT_EQ(position, 8);
  int64_t bytes = 0;
  EXPECT_TRUE(file.size(&bytes));
  EXPECT_EQ(bytes, 10);
}

TEST_F(FileTest, TruncateHereCutsTheFileAtThePosition) {
  File file = openWith(kAccessReadWrite, kShareReadWrite, kCreateAlways);
  ASSERT_TRUE(file.write("0123456789", 10));
  ASSERT_TRUE(file.seek(4, kSeekBegin));
  ASSERT_TRUE(file.truncateHere());
  EXPECT_EQ(readAll(file), "0123");
}

TEST_F(FileTest, CreateAlwaysEmptiesAnExistingFile) {
  test::writeBytes(path(), Bytes{1, 2, 3});
  File file = openWith(kAccessReadWrite, kShareReadWrite, kCreateAlways);
  ASSERT_TRUE(file.isOpen());
  file.close();
  EXPECT_EQ(test::fileSize(path()), 0);
}

TEST_F(FileTest, SharedReadersOpenTheSameFileTogether) {
  test::writeBytes(path(), Bytes{1});
  File first = openWith(kAccessRead, kShareRead, kOpenExisting);
  File second = openWith(kAccessRead, kShareRead, kOpenExisting);
  EXPECT_TRUE(first.isOpen());
  EXPECT_TRUE(second.isOpen());
}

TEST_F(FileTest, MovedFileKeepsItsHandle) {
  File first = openWith(kAccessReadWrite, kShareReadWrite, kCreateAlways);
  File moved(std::move(first));
  EXPECT_FALSE(first.isOpen());
  EXPECT_TRUE(moved.write("x", 1));
}

class FileErrorTest : public FileTest {};

TEST_F(FileErrorTest, OpenExistingOnAMissingFileIsFileNotFound) {
  File file = openWith(kAccessRead, kShareRead, kOpenExisting);
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(lastError(), kErrFileNotFound);
}

TEST_F(FileErrorTest, AMissingFolderOnTheWayIsPathNotFound) {
  File file;
  EXPECT_FALSE(file.open(dir.file("no-such-folder") + "/x.bin", kAccessRead, kShareRead, kOpenExisting));
  EXPECT_EQ(lastError(), kErrPathNotFound);
}

TEST_F(FileErrorTest, CreateNewOnAnExistingFileIsFileExists) {
  test::writeBytes(path(), Bytes{1});
  File file = openWith(kAccessReadWrite, kShareNone, kCreateNew);
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(lastError(), kErrFileExists);
}

TEST_F(FileErrorTest, OpeningAFolderIsAccessDenied) {
  File file;
  EXPECT_FALSE(file.open(dir.path(), kAccessReadWrite, kShareReadWrite, kOpenAlways));
  EXPECT_EQ(lastError(), kErrAccessDenied);
}

TEST_F(FileErrorTest, AWriterIsRefusedWhileAReaderDeniesWriteSharing) {
  test::writeBytes(path(), Bytes{1});
  File reader = openWith(kAccessRead, kShareRead, kOpenExisting);
  ASSERT_TRUE(reader.isOpen());
  File writer = openWith(kAccessReadWrite, kShareReadWrite, kOpenAlways);
  EXPECT_FALSE(writer.isOpen());
  EXPECT_EQ(lastError(), kErrSharingViolation);
}

TEST_F(FileErrorTest, AReaderThatDeniesWriteSharingIsRefusedWhileAWriterHasTheFile) {
  File writer = openWith(kAccessReadWrite, kShareReadWrite, kOpenAlways);
  ASSERT_TRUE(writer.isOpen());
  File reader = openWith(kAccessRead, kShareRead, kOpenExisting);
  EXPECT_FALSE(reader.isOpen());
  EXPECT_EQ(lastError(), kErrSharingViolation);
}

// Two exclusive opens started together: the first wins and the second is
// refused, never both refused, in every round.
TEST_F(FileErrorTest, OfTwoExclusiveOpensAtOnceExactlyOneWins) {
  test::writeBytes(path(), Bytes{1});
  for (int round = 0; round < 200; ++round) {
    std::atomic<int> ready{0};
    File files[2];
    auto open = [&](File& file) {
      ready.fetch_add(1);
      while (ready.load() < 2) {
      }
      file.open(path(), kAccessReadWrite, kShareNone, kOpenExisting);
    };
    std::thread first(open, std::ref(files[0]));
    std::thread second(open, std::ref(files[1]));
    first.join();
    second.join();
    ASSERT_EQ(files[0].isOpen() + files[1].isOpen(), 1) << "round " << round;
  }
}

TEST_F(FileErrorTest, CreateAlwaysOnAFileInUseFailsAndKeepsItsBytes) {
  test::writeBytes(path(), Bytes{1, 2, 3});
  File holder = openWith(kAccessRead, kShareNone, kOpenExisting);
  ASSERT_TRUE(holder.isOpen());
  File file = openWith(kAccessReadWrite, kShareReadWrite, kCreateAlways);
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(lastError(), kErrSharingViolation);
  holder.close();
  EXPECT_EQ(test::fileSize(path()), 3);
}

TEST_F(FileErrorTest, ReadingAWriteOnlyFileIsAccessDenied) {
  File file = openWith(kAccessWrite, kShareNone, kCreateAlways);
  char byte;
  uint32_t got = 0;
  EXPECT_FALSE(file.read(&byte, 1, &got));
  EXPECT_EQ(lastError(), kErrAccessDenied);
}

TEST_F(FileErrorTest, SeekingBeforeTheStartFails) {
  File file = openWith(kAccessReadWrite, kShareReadWrite, kCreateAlways);
  EXPECT_FALSE(file.seek(-1, kSeekBegin));
  EXPECT_EQ(lastError(), kErrNegativeSeek);
}

TEST_F(FileErrorTest, AClosedFileFailsEveryOperation) {
  File file;
  char byte = 0;
  uint32_t got = 0;
  EXPECT_FALSE(file.read(&byte, 1, &got));
  EXPECT_FALSE(file.write(&byte, 1));
  EXPECT_FALSE(file.seek(0, kSeekBegin));
  EXPECT_FALSE(file.flush());
  EXPECT_EQ(lastError(), kErrInvalidHandle);
}

}  // namespace
}  // namespace tuho
