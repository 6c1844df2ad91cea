// Every failure box of the store, reached by making one file operation fail.
#include <gtest/gtest.h>

#include <tuple>

#include "StoreFixtures.h"
#include "catalogue/StoreBoxes.h"
#include "platform/FaultPlan.h"
#include "platform/Win32Error.h"
#include "store/CatalogueStore.h"

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
    plan.fail(kFaultOpen, 1, code, true);
    test::BoxedStore store;
    if (code == kErrSharingViolation) {
      // Held by another program: said by the caller, not by a box.
      EXPECT_EQ(store.open(dir.file("Tuho.dat")), kOpenInUse);
      EXPECT_EQ(sink.count(), 0u);
      EXPECT_FALSE(store.create(dir.file("Tuho.dat")));
    } else {
      EXPECT_EQ(store.open(dir.file("Tuho.dat")), kOpenFailed);
    }
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
  test::BoxedStore store;
  EXPECT_FALSE(store.create(dir.file("T.dat")));
  EXPECT_TRUE(sawBox(sink, "DB Access Denied", dir.file("T.dat")));
}

// A store file is held while open: a second open is told that it is in use,
// shows nothing and changes nothing; reading the file stays possible.
TEST(StoreOpenFailure, HeldFileIsInUse) {
  ClosedCatalogue cat;
  const test::Bytes before = test::readBytes(cat.path());
  AlertSink sink;
  test::BoxedStore holder;
  ASSERT_EQ(holder.open(cat.path()), kOpenedExisting);
  test::BoxedStore store;
  EXPECT_EQ(store.open(cat.path()), kOpenInUse);
  EXPECT_FALSE(store.isOpen());
  File writer, reader;
  EXPECT_FALSE(writer.open(cat.path(), kAccessReadWrite, kShareReadWrite, kOpenExisting));
  EXPECT_TRUE(reader.open(cat.path(), kAccessRead, kShareReadWrite, kOpenExisting));
  reader.close();
  store.close();
  EXPECT_EQ(sink.count(), 0u);
  holder.close();
  EXPECT_EQ(test::readBytes(cat.path()), before);
  EXPECT_EQ(store.open(cat.path()), kOpenedExisting);
}

TEST(StoreReadErrors, ReservedIntAtOpening) {
  ClosedCatalogue cat;
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultRead, 2, kErrReadFault);
  // Never taken for a new file: the header would be written over it.
  EXPECT_EQ(cat.store.open(cat.path()), kOpenFailed);
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(100, 1001, 0)));
  EXPECT_FALSE(cat.store.isOpen());
}

TEST(StoreReadErrors, CounterAtOpening) {
  ClosedCatalogue cat;
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultRead, 3, kErrReadFault);
  EXPECT_EQ(cat.store.open(cat.path()), kOpenFailed);
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
  plan.fail(kFaultWrite, 1, kErrWriteFault);
  test::BoxedStore store;
  EXPECT_EQ(openCatalogueStore(store, dir.file("Tuho.dat")), kOpenedNew);
  EXPECT_EQ(sink.count(), 1u);
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 2401, 0)));
}

TEST(StoreWriteErrors, EachStepOfTheFileHead) {
  for (int step = 1; step <= 6; ++step) {
    test::TempDir dir;
    test::BoxedStore store;
    ASSERT_TRUE(store.create(dir.file("T.dat")));
    AlertSink sink;
    FaultPlan plan;
    plan.fail(kFaultWrite, step, kErrWriteFault);
    EXPECT_FALSE(store.writeHeader(catalogueHeaderRecord()));
    EXPECT_EQ(sink.count(), 1u);
    EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 2400 + step, 0))) << step;
  }
}

// A record goes to the file in one write; a write that stops part way (a
// disk filling up) is reported by the step its first missing byte belongs
// to. Bytes of a track record "a": 0-11 the record head (size, id, deleted
// flag); field 301 "a.mp3" from 12: block length, type, field id, data
// length, text 28-32, padding 33-35; field 1200 from 36, its value at 52.
TEST(StoreWriteErrors, EachStepOfARecordIsNamedByWhereTheWriteStopped) {
  const struct {
    uint32_t written;
    int step;
    int field;
  } cases[] = {{0, 2201, 0},    {4, 2202, 0},    {11, 2203, 0},   {12, 2101, 301}, {16, 2102, 301},
               {20, 2103, 301}, {24, 2104, 301}, {28, 2105, 301}, {32, 2105, 301}, {33, 2106, 301},
               {36, 2101, 1200}, {52, 2107, 1200}, {55, 2107, 1200}, {56, 2101, 303}};
  for (const auto& c : cases) {
    Catalogue cat;
    AlertSink sink;
    FaultPlan plan;
    plan.failWriteAfter(1, c.written, kErrWriteFault);
    EXPECT_EQ(cat.add("a"), 0);
    EXPECT_EQ(sink.count(), 1u) << c.written;
    EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, c.step, c.field))) << c.written;
    EXPECT_EQ(plan.seen(kFaultWrite), 1) << "one write per record";
  }
}

TEST(StoreWriteErrors, StoreStaysClosedAfterABoxAndTheNextAppendSaysSo) {
  Catalogue cat;
  cat.add("a");
  AlertSink sink;
  {
    FaultPlan plan;
    plan.failWriteAfter(1, 20, kErrWriteFault);
    EXPECT_EQ(cat.add("b"), 0);
  }
  EXPECT_FALSE(cat.store.isOpen());
  sink.clear();
  EXPECT_EQ(cat.add("c"), 0);
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 2201, 0)));
  EXPECT_EQ(cat.store.first(), 0);
  // The half-written record was taken back at once: the file opens whole.
  sink.clear();
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(sink.count(), 0u);
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
    plan.failWriteAfter(1, 40, kErrWriteFault);
    EXPECT_EQ(cat.store.updateById(test::trackRecord("a much longer title"), 2), 0);
  }
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 2105, 301)));
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

// Keeps what a store reports, in order.
struct RecordingReporter final : StoreReporter {
  std::vector<StoreFailure> failures;
  std::vector<StoreRepairNote> repairs;
  int retries = 0;
  void failed(const StoreFailure& failure) override { failures.push_back(failure); }
  void repaired(const StoreRepairNote& note) override { repairs.push_back(note); }
  bool retry(const StoreFailure& failure) override {
    failures.push_back(failure);
    return ++retries < 2;
  }
};

// The store itself shows nothing: each failure and repair reaches its
// reporter as a value, and the boxes are the owner's to show.
TEST(StoreReporter, FailuresAndRepairsArriveAsValuesAndNoBoxIsShown) {
  test::TempDir dir;
  const std::string path = dir.file("Tuho.dat");
  AlertSink sink;
  RecordingReporter told;
  RecordStore store;
  store.setReporter(&told);
  {
    FaultPlan plan;
    plan.fail(kFaultOpen, 1, kErrAccessDenied);
    EXPECT_EQ(store.open(path), kOpenFailed);
    plan.fail(kFaultOpen, 2, kErrLockViolation);
    EXPECT_TRUE(store.createWithRetry(path));  // asked once, then created
  }
  ASSERT_EQ(told.failures.size(), 2u);
  EXPECT_EQ(told.failures[0].kind, StoreFailure::Kind::kOpen);
  EXPECT_EQ(told.failures[0].path, path);
  EXPECT_EQ(told.failures[0].error, kErrAccessDenied);
  EXPECT_EQ(told.failures[1].error, kErrLockViolation);
  ASSERT_TRUE(store.writeHeader(catalogueHeaderRecord()) && store.readHeaderRecord());
  EXPECT_EQ(store.append(test::trackRecord("a")), 2);
  {
    FaultPlan plan;
    plan.failWriteAfter(1, 28, kErrWriteFault);
    EXPECT_EQ(store.append(test::trackRecord("b")), 0);
  }
  ASSERT_EQ(told.failures.size(), 3u);
  const StoreFailure& step = told.failures[2];
  EXPECT_EQ(step.kind, StoreFailure::Kind::kStep);
  EXPECT_EQ(std::make_tuple(step.op, step.step, step.fieldId, step.error),
            std::make_tuple(kStoreWrite, 2105, 301, kErrWriteFault));
  // A torn tail is set aside at the next open and told as a repair.
  test::Bytes torn = test::readBytes(path);
  torn.insert(torn.end(), {40, 0, 0, 0, 9, 0});
  test::writeBytes(path, torn);
  ASSERT_EQ(store.open(path), kOpenedExisting);
  ASSERT_EQ(told.repairs.size(), 1u);
  EXPECT_EQ(told.repairs[0].kind, StoreRepairNote::Kind::kSetAside);
  EXPECT_EQ(told.repairs[0].asidePath, path + ".damaged");
  EXPECT_EQ(told.repairs[0].bytes, 6);
  {
    FaultPlan plan;
    plan.fail(kFaultWrite, 1, kErrDiskFull);
    EXPECT_EQ(store.append(test::trackRecord("c")), 0);
  }
  ASSERT_EQ(told.failures.size(), 4u);
  EXPECT_EQ(told.failures[3].kind, StoreFailure::Kind::kDiskFull);
  EXPECT_EQ(told.failures[3].op, kStoreWrite);
  EXPECT_EQ(sink.count(), 0u);

  // The program's boxes: a full disk outside a job is said at once; inside
  // one it waits for the job, which says it with what it stored.
  StoreBoxes boxes;
  boxes.failed(told.failures[3]);
  EXPECT_TRUE(sawBox(sink, "DB Disk Full", "The disk is full: " + path + " could not be written."));
  sink.clear();
  boxes.startJob();
  boxes.failed(told.failures[3]);
  EXPECT_EQ(sink.count(), 0u);
  EXPECT_TRUE(boxes.endJob());
  boxes.startJob();
  EXPECT_FALSE(boxes.endJob());
  boxes.failed(step);
  EXPECT_TRUE(sawBox(sink, "ERROR", errorHead(200, 2105, 301)));
}

}  // namespace
}  // namespace tuho
