// Closing the catalogue: counting, compacting through the temporary store,
// and keeping the catalogue whatever step of the compaction fails.
#include <gtest/gtest.h>

#include "StoreFixtures.h"
#include "platform/FaultPlan.h"
#include "platform/Win32Error.h"
#include "store/CatalogueStore.h"

namespace tuho {
namespace {

using test::Bytes;
using test::Catalogue;

// A catalogue whose first live record is followed by `following` records,
// every third of them deleted.
void fill(Catalogue& cat, int following) {
  cat.add("first");
  for (int i = 0; i < following; ++i) {
    int id = cat.add("t" + std::to_string(i));
    if (i % 3 == 0) cat.store.deleteById(id);
  }
}

TEST(RecordCount, CountsFromTheFirstLiveRecordDeletedOnesIncluded) {
  Catalogue cat;
  EXPECT_EQ(countRecords(cat.store), 0);
  cat.add("a");
  cat.add("b");
  cat.add("c");
  cat.store.deleteById(2);
  cat.store.deleteById(4);
  EXPECT_EQ(countRecords(cat.store), 2);
}

TEST(CatalogueClose, NinetyEightFollowingRecordsOnlyClose) {
  Catalogue cat;
  fill(cat, 98);
  EXPECT_EQ(countRecords(cat.store), 99);
  const auto size = test::fileSize(cat.path());
  EXPECT_EQ(closeCatalogueStore(cat.store, cat.dir.path()), Closing::kClosed);
  EXPECT_FALSE(cat.store.isOpen());
  EXPECT_EQ(test::fileSize(cat.path()), size);
}

TEST(CatalogueClose, NinetyNineFollowingRecordsCompact) {
  Catalogue cat;
  fill(cat, 99);
  std::vector<int> live = test::walkIds(cat.store);
  EXPECT_EQ(countRecords(cat.store), 100);
  EXPECT_EQ(closeCatalogueStore(cat.store, cat.dir.path()), Closing::kCompacted);
  EXPECT_FALSE(test::exists(cat.dir.file("TuhoTemp.dat")));
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(test::walkIds(cat.store), live);
  EXPECT_EQ(test::recordOffsets(cat.bytes()).size(), live.size() + 1);
}

// Compaction would only rewrite the same bytes: without a deleted record, or
// after a session that wrote nothing, closing leaves the file alone, and a
// session that only read does not write at all.
TEST(CatalogueClose, CompactsOnlyWhenItChangesSomething) {
  Catalogue cat;
  for (int i = 0; i < 120; ++i) cat.add("t" + std::to_string(i));
  const auto size = test::fileSize(cat.path());
  EXPECT_EQ(closeCatalogueStore(cat.store, cat.dir.path()), Closing::kClosed);
  EXPECT_EQ(test::fileSize(cat.path()), size);

  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  cat.store.deleteById(5);
  cat.store.close();
  const Bytes withDeleted = cat.bytes();
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(cat.store.deletedRecords(), 1);
  {
    FaultPlan plan;
    EXPECT_EQ(test::walkIds(cat.store).size(), 119u);
    EXPECT_EQ(closeCatalogueStore(cat.store, cat.dir.path()), Closing::kClosed);
    EXPECT_EQ(plan.seen(kFaultWrite), 0);
    EXPECT_EQ(plan.seen(kFaultFlush), 0);
  }
  EXPECT_EQ(cat.bytes(), withDeleted);

  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  cat.add("one more");
  EXPECT_EQ(closeCatalogueStore(cat.store, cat.dir.path()), Closing::kCompacted);
  EXPECT_EQ(test::recordOffsets(cat.bytes()).size(), 1u + 120);
}

TEST(Compaction, DropsDeletedRecordsKeepsIdsAndCounter) {
  Catalogue cat;
  for (const char* title : {"two", "three", "four", "five"}) cat.add(title);
  cat.store.deleteById(2);
  cat.store.deleteById(4);
  EXPECT_TRUE(compact(cat.store, cat.path(), cat.dir.file("TuhoTemp.dat")));
  Bytes bytes = cat.bytes();
  std::vector<size_t> offsets = test::recordOffsets(bytes);
  ASSERT_EQ(offsets.size(), 3u);
  EXPECT_EQ(test::intAt(bytes, offsets[0] + 4), 2);  // header record
  EXPECT_EQ(test::intAt(bytes, offsets[1] + 4), 3);
  EXPECT_EQ(test::intAt(bytes, offsets[2] + 4), 5);
  EXPECT_EQ(test::intAt(bytes, 27), 5);
  EXPECT_EQ(offsets[1], 147u);
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(test::walkTitles(cat.store), (std::vector<std::string>{"three", "five"}));
  EXPECT_EQ(cat.add("six"), 6);
}

TEST(Compaction, KeepsTheWidenedFieldOfAShrunkRecord) {
  Catalogue cat;
  cat.add("a long title");
  ASSERT_EQ(cat.store.findById(2), 2);
  FieldList record = cat.store.decodeCurrent();
  const int widened = record.slots[0].blockLength + textBlockLength(12) - textBlockLength(1);
  record.slots[3].text = "x";
  record.slots[3].dataLength = 1;
  record.slots[3].blockLength = textBlockLength(1);
  ASSERT_EQ(cat.store.updateById(record, 2), 2);
  ASSERT_TRUE(compact(cat.store, cat.path(), cat.dir.file("TuhoTemp.dat")));
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  ASSERT_EQ(cat.store.findById(2), 2);
  EXPECT_EQ(cat.store.decodeCurrent().slots[0].blockLength, widened);
  EXPECT_EQ(cat.store.decodeCurrent().findField(327).text, "x");
}

TEST(Compaction, OverwritesATemporaryFileLeftBehind) {
  Catalogue cat;
  cat.add("a");
  test::writeBytes(cat.dir.file("TuhoTemp.dat"), Bytes(5000, 1));
  EXPECT_TRUE(compact(cat.store, cat.path(), cat.dir.file("TuhoTemp.dat")));
  EXPECT_EQ(test::fileSize(cat.path()), 147 + 4 + 222);
}

// A catalogue of four tracks, one deleted, closed and opened again.
struct SmallCatalogue : Catalogue {
  SmallCatalogue() {
    for (const char* title : {"a", "b", "c", "d"}) add(title);
    store.deleteById(3);
    store.close();
    store.open(path());
  }
};

int operationsOfACleanCompaction(FaultOp op) {
  SmallCatalogue cat;
  FaultPlan plan;
  EXPECT_TRUE(compact(cat.store, cat.path(), cat.dir.file("TuhoTemp.dat")));
  return plan.seen(op);
}

// Every file operation of a compaction fails in turn; each time the
// catalogue file is either untouched or fully compacted, and the temporary
// file is gone.
TEST(CompactionFaults, CatalogueSurvivesAFailureAtEveryStep) {
  SmallCatalogue reference;
  const Bytes original = reference.bytes();
  reference.store.close();
  ASSERT_EQ(reference.store.open(reference.path()), kOpenedExisting);
  ASSERT_TRUE(compact(reference.store, reference.path(), reference.dir.file("TuhoTemp.dat")));
  const Bytes compacted = reference.bytes();
  ASSERT_LT(compacted.size(), original.size());

  int runs = 0;
  for (FaultOp op : {kFaultOpen, kFaultRead, kFaultWrite, kFaultSeek, kFaultFlush, kFaultReplace, kFaultDelete}) {
    const int total = operationsOfACleanCompaction(op);
    for (int nth = 1; nth <= total; ++nth) {
      SmallCatalogue cat;
      AlertSink sink;
      int result;
      {
        FaultPlan plan;
        plan.fail(op, nth, kErrDiskFull);
        result = compact(cat.store, cat.path(), cat.dir.file("TuhoTemp.dat"));
      }
      const Bytes after = cat.bytes();
      const std::string where = "op " + std::to_string(op) + " #" + std::to_string(nth);
      EXPECT_TRUE(after == original || after == compacted) << where;
      EXPECT_EQ(result == 1, after == compacted) << where;
      if (op != kFaultDelete) {
        EXPECT_FALSE(test::exists(cat.dir.file("TuhoTemp.dat"))) << where;
      }
      ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting) << where;
      EXPECT_EQ(test::walkTitles(cat.store), (std::vector<std::string>{"a", "c", "d"})) << where;
      ++runs;
    }
  }
  EXPECT_GT(runs, 25);
}

TEST(CompactionFaults, UncreatableTemporaryFileKeepsTheCatalogue) {
  SmallCatalogue cat;
  const Bytes before = cat.bytes();
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultOpen, 1, kErrAccessDenied);
  EXPECT_FALSE(compact(cat.store, cat.path(), cat.dir.file("TuhoTemp.dat")));
  EXPECT_TRUE(test::sawBox(sink, "DB Access Denied", cat.dir.file("TuhoTemp.dat")));
  EXPECT_EQ(cat.bytes(), before);
  EXPECT_FALSE(cat.store.isOpen());
}

TEST(CompactionFaults, FailedReplaceKeepsTheCatalogueAndRemovesTheTemporaryFile) {
  SmallCatalogue cat;
  const Bytes before = cat.bytes();
  FaultPlan plan;
  plan.fail(kFaultReplace, 1, kErrSharingViolation);
  EXPECT_FALSE(compact(cat.store, cat.path(), cat.dir.file("TuhoTemp.dat")));
  EXPECT_EQ(cat.bytes(), before);
  EXPECT_FALSE(test::exists(cat.dir.file("TuhoTemp.dat")));
}

}  // namespace
}  // namespace tuho
