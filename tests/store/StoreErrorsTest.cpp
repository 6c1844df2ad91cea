// Every failure box of the store, reached by making one file operation fail.
#include <gtest/gtest.h>

#include "StoreFixtures.h"
#include "platform/FaultPlan.h"
#include "platform/Win32Error.h"
#include "store/CatalogueStore.h"
#include "store/StoreErrors.h"

namespace tuho {
namespace {

using test::Catalogue;
using test::errorHead;
using test::sawBox;

// A closed catalogue with two tracks, ready to be opened again.
struct ClosedCatalogue : Catalogue {
  ClosedCatalogue() {
    add("a");
    add("b");
    store.close();
  }
};

TEST(StoreErrorBox, SaysErrorWithItsNumbersThenAsksForAReport) {
  std::string text = storeErrorText(200, 2105, 327);
  EXPECT_EQ(text.rfind("Error 200:2105:327\n\n", 0), 0u);
  EXPECT_NE(text.find("Brambleward web site"), std::string::npos);
  EXPECT_NE(text.find("report"), std::string::npos);
}

TEST(StoreOpenFailure, CaptionFollowsTheErrorCode) {
  const std::pair<uint32_t, const char*> table[] = {
      {kErrTooManyOpenFiles, "DB Too Many Open Files"}, {kErrAccessDenied, "DB Access Denied"},
      {kErrSharingViolation, "DB Sharing Violation"},   {kErrLockViolation, "DB Locked"},
      {kErrSharingBufferExceeded, "DB Share Exceeded"}, {kErrDriveLocked, "DB Drive Locked"},
      {kErrOpenFailed, "DB Generic Open Failure"},      {kErrInvalidName, "DB Bad Fail Name"},
      {kErrDiskFull, "DB Other File Error"},
  };
  test::TempDir dir;
  for (const auto& [code, caption] : table) {
    AlertSink sink;
    FaultPlan plan;
    plan.fail(kFaultOpen, 1, code);
    RecordStore store;
    EXPECT_EQ(store.open(dir.file("Tuho.dat")), kOpenFailed);
    ASSERT_EQ(sink.count(), 1u);
    EXPECT_EQ(sink.records()[0].caption, caption);
    EXPECT_EQ(sink.records()[0].text, dir.file("Tuho.dat"));
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(store.first(), 0);
    EXPECT_TRUE(store.atEnd());
  }
}

TEST(StoreOpenFailure, CreateShowsTheSameBox) {
  test::TempDir dir;
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultOpen, 1, kErrAccessDenied);
  RecordStore store;
  EXPECT_FALSE(store.create(dir.file("T.dat")));
  EXPECT_TRUE(sawBox(sink, "DB Access Denied", dir.file("T.dat")));
}

TEST(StoreOpenFailure, RealSharingViolationIsReported) {
  ClosedCatalogue cat;
  File holder;
  ASSERT_TRUE(holder.open(cat.path(), kAccessRead, kShareNone, kOpenExisting));
  AlertSink sink;
  RecordStore store;
  EXPECT_EQ(store.open(cat.path()), kOpenFailed);
  EXPECT_TRUE(sawBox(sink, "DB Sharing Violation", cat.path()));
}

TEST(StoreReadErrors, ReservedIntAtOpening) {
  ClosedCatalogue cat;
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultRead, 2, kErrReadFault);
  EXPECT_EQ(cat.store.open(cat.path()), kOpenedNew);
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(100, 1001, 0)));
  EXPECT_FALSE(cat.store.isOpen());
}

TEST(StoreReadErrors, CounterAtOpening) {
  ClosedCatalogue cat;
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultRead, 3, kErrReadFault);
  EXPECT_EQ(cat.store.open(cat.path()), kOpenedNew);
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(100, 1002, 0)));
  EXPECT_FALSE(cat.store.isOpen());
}

TEST(StoreReadErrors, SeekAndCounterOfReadHeaderRecord) {
  for (FaultOp op : {kFaultSeek, kFaultRead}) {
    Catalogue cat;
    AlertSink sink;
    FaultPlan plan;
    plan.fail(op, plan.seen(op) + 1, kErrReadFault);
    cat.store.readHeaderRecord();
    EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(100, op == kFaultSeek ? 1301 : 1302, 0)));
    EXPECT_FALSE(cat.store.isOpen());
  }
}

TEST(StoreReadErrors, NewFileWhoseHeaderCannotBeWrittenReportsOnce) {
  test::TempDir dir;
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultWrite, 1, kErrDiskFull);
  RecordStore store;
  EXPECT_EQ(openCatalogueStore(store, dir.file("Tuho.dat")), kOpenedNew);
  EXPECT_EQ(sink.count(), 1u);
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 2401, 0)));
}

TEST(StoreWriteErrors, EachStepOfTheFileHead) {
  for (int step = 1; step <= 6; ++step) {
    test::TempDir dir;
    RecordStore store;
    ASSERT_TRUE(store.create(dir.file("T.dat")));
    AlertSink sink;
    FaultPlan plan;
    plan.fail(kFaultWrite, step, kErrDiskFull);
    EXPECT_FALSE(store.writeHeader(catalogueHeaderRecord()));
    EXPECT_EQ(sink.count(), 1u);
    EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 2400 + step, 0))) << step;
  }
}

TEST(StoreWriteErrors, EachStepOfTheRecordHead) {
  for (int step = 1; step <= 3; ++step) {
    Catalogue cat;
    AlertSink sink;
    FaultPlan plan;
    plan.fail(kFaultWrite, step, kErrDiskFull);
    EXPECT_EQ(cat.add("a"), 0);
    EXPECT_EQ(sink.count(), 1u);
    EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 2200 + step, 0))) << step;
  }
}

// Writes of a track record: 3 for the record head, then for field 301
// (text) block, type, id, data length, text, padding; then field 1200
// (integer) block, type, id, data length, value.
TEST(StoreWriteErrors, EachStepOfAFieldNamesTheField) {
  const struct {
    int write;
    int step;
    int field;
  } cases[] = {{4, 2101, 301}, {5, 2102, 301}, {6, 2103, 301}, {7, 2104, 301},
               {8, 2105, 301}, {9, 2106, 301}, {14, 2107, 1200}};
  for (const auto& c : cases) {
    Catalogue cat;
    AlertSink sink;
    FaultPlan plan;
    plan.fail(kFaultWrite, c.write, kErrDiskFull);
    EXPECT_EQ(cat.add("a"), 0);
    EXPECT_EQ(sink.count(), 1u) << c.step;
    EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, c.step, c.field))) << c.step;
  }
}

TEST(StoreWriteErrors, StoreStaysClosedAfterABoxAndTheNextAppendSaysSo) {
  Catalogue cat;
  cat.add("a");
  AlertSink sink;
  {
    FaultPlan plan;
    plan.fail(kFaultWrite, 5, kErrDiskFull);
    EXPECT_EQ(cat.add("b"), 0);
  }
  EXPECT_FALSE(cat.store.isOpen());
  sink.clear();
  EXPECT_EQ(cat.add("c"), 0);
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 2201, 0)));
  EXPECT_EQ(cat.store.first(), 0);
  // The half-written record is set aside when the file is opened again.
  sink.clear();
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(sink.captions(), std::vector<std::string>{"DB Damaged File"});
  EXPECT_EQ(test::walkIds(cat.store), std::vector<int>{2});
  // Id 3 never reached the file whole, so it may be handed out again.
  EXPECT_EQ(cat.add("d"), 3);
  EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 3}));
}

TEST(StoreWriteErrors, DeleteFlagSeekAndWrite) {
  for (FaultOp op : {kFaultSeek, kFaultWrite}) {
    Catalogue cat;
    cat.add("a");
    ASSERT_EQ(cat.store.first(), 2);
    AlertSink sink;
    FaultPlan plan;
    plan.fail(op, 1, kErrWriteFault);
    EXPECT_FALSE(cat.store.deleteCurrent());
    EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, op == kFaultSeek ? 3101 : 3102, 0)));
  }
}

TEST(StoreWriteErrors, DeleteByIdReportsTheSameNumbers) {
  Catalogue cat;
  cat.add("a");
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultWrite, 1, kErrWriteFault);
  EXPECT_FALSE(cat.store.deleteById(2));
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 3102, 0)));
}

TEST(StoreWriteErrors, FieldOfNoKnownTypeIsReportedAndTheRecordStaysWhole) {
  Catalogue cat;
  FieldList record = test::trackRecord("a");
  record.slots[1].type = 5;
  AlertSink sink;
  EXPECT_EQ(cat.store.append(record), 2);
  EXPECT_EQ(sink.count(), 1u);
  EXPECT_TRUE(sawBox(sink, "ERROR", "DB Malformed Block on Write"));
  EXPECT_TRUE(cat.store.isOpen());
  EXPECT_EQ(cat.add("b"), 3);
  EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 3}));
  ASSERT_EQ(cat.store.findById(2), 2);
  FieldList back = cat.store.decodeCurrent();
  EXPECT_EQ(back.slots[1].type, 5);
  EXPECT_EQ(back.findField(327).text, "a");
}

TEST(StoreWriteErrors, FailedGrowingRewriteKeepsTheOldCopy) {
  Catalogue cat;
  cat.add("abc");
  AlertSink sink;
  {
    FaultPlan plan;
    plan.fail(kFaultWrite, 10, kErrDiskFull);
    EXPECT_EQ(cat.store.updateById(test::trackRecord("a much longer title"), 2), 0);
  }
  EXPECT_TRUE(sawBox(sink, "ERROR", "Error 200:"));
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(test::walkTitles(cat.store), std::vector<std::string>{"abc"});
}

TEST(StoreWriteErrors, FailedCloseIsNoticed) {
  Catalogue cat;
  FaultPlan plan;
  plan.fail(kFaultFlush, 1, kErrWriteFault);
  cat.store.close();
  EXPECT_TRUE(cat.store.hasFailed());
}

}  // namespace
}  // namespace tuho
