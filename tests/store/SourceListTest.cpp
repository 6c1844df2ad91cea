// The media source list: ids, lookups, and its file.
#include <gtest/gtest.h>

#include "StoreFixtures.h"
#include "platform/FaultPlan.h"
#include "platform/Win32Error.h"
#include "store/FieldIds.h"
#include "store/SourceList.h"

namespace tuho {
namespace {

SourceRef source(const std::string& name, const std::string& folder = "\\Music",
                 MediaType type = MediaType::kLocalFolder) {
  SourceRef ref;
  ref.name = name;
  ref.root = "D:";
  ref.folder = folder;
  ref.mediaType = type;
  return ref;
}

// A removed source's id is never handed out again: tracks that still carry
// it must not become the tracks of a newcomer.
TEST(SourceIds, StartAtTwoAndOnlyGrow) {
  test::BoxedSourceList list;
  EXPECT_EQ(list.highestId(), 1);
  EXPECT_EQ(list.add(source("one")), 0);
  EXPECT_EQ(list.add(source("two")), 1);
  EXPECT_EQ(list.at(0).id, 2);
  EXPECT_EQ(list.at(1).id, 3);
  EXPECT_TRUE(list.removeById(3));
  EXPECT_FALSE(list.removeById(3));
  EXPECT_EQ(list.add(source("three")), 1);
  EXPECT_EQ(list.at(1).id, 4);
  list.keepIdsAbove(40);
  list.keepIdsAbove(7);
  list.add(source("four"));
  EXPECT_EQ(list.at(2).id, 41);
}

TEST(SourceIds, RemovalKeepsTheOrderOfTheRest) {
  test::BoxedSourceList list;
  for (const char* name : {"a", "b", "c", "d"}) list.add(source(name));
  EXPECT_TRUE(list.removeById(3));
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.at(0).name, "a");
  EXPECT_EQ(list.at(1).name, "c");
  EXPECT_EQ(list.at(2).name, "d");
  EXPECT_EQ(list.indexOfId(5), 2);
  EXPECT_EQ(list.indexOfId(3), -1);
}

TEST(SourceIds, FullListTakesNoMore) {
  test::BoxedSourceList list;
  for (int i = 0; i < kMaxSources; ++i) ASSERT_EQ(list.add(source("s" + std::to_string(i))), i);
  SourceRef* first = list.entry(0);
  EXPECT_EQ(list.add(source("extra")), -1);
  EXPECT_EQ(list.count(), kMaxSources);
  EXPECT_EQ(list.entry(0), first);
}

TEST(SourceLookups, ByIdAndByExactName) {
  test::BoxedSourceList list;
  list.add(source("Rock CD", "", MediaType::kWriteOnce));
  SourceRef found = list.lookupById(2);
  EXPECT_EQ(found.name, "Rock CD");
  EXPECT_EQ(found.mediaType, MediaType::kWriteOnce);
  SourceRef missing = list.lookupById(9);
  EXPECT_EQ(missing.id, 0);
  EXPECT_TRUE(missing.name.empty());
  EXPECT_EQ(list.indexOfName("Rock CD"), 0);
  EXPECT_EQ(list.indexOfName("rock cd"), -1);
}

TEST(SourceFile, SavedListLoadsBackInOrder) {
  test::TempDir dir;
  test::BoxedSourceList list;
  list.load(dir.path());
  list.add(source("Local", "\\Music\\Mine", MediaType::kLocalFolder));
  list.add(source("Net", "\\share", MediaType::kNetworkFolder));
  list.add(source("Disc", "", MediaType::kRewritable));
  EXPECT_TRUE(list.save());

  test::BoxedSourceList loaded;
  loaded.load(dir.path());
  ASSERT_EQ(loaded.count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(loaded.at(i).id, list.at(i).id);
    EXPECT_EQ(loaded.at(i).name, list.at(i).name);
    EXPECT_EQ(loaded.at(i).root, "D:");
    EXPECT_EQ(loaded.at(i).folder, list.at(i).folder);
    EXPECT_EQ(loaded.at(i).mediaType, list.at(i).mediaType);
  }
  EXPECT_EQ(loaded.at(2).folder, "");
  EXPECT_EQ(loaded.add(source("Next")), 3);
  EXPECT_EQ(loaded.at(3).id, 5);
}

// The highest id handed out is kept in the header record, so a removal of
// the newest source followed by a save and a restart still skips its id. A
// list written before the header kept it (0 there) goes on from its highest entry.
TEST(SourceFile, IdsGrowAcrossSavesAndOldListsStayReadable) {
  test::TempDir dir;
  test::BoxedSourceList list;
  list.load(dir.path());
  for (const char* name : {"a", "b", "c"}) list.add(source(name));
  ASSERT_TRUE(list.removeById(4));
  ASSERT_TRUE(list.save());
  const test::Bytes saved = test::readBytes(dir.file("Folders.dat"));
  test::BoxedSourceList loaded;
  loaded.load(dir.path());
  ASSERT_EQ(loaded.count(), 2);
  loaded.add(source("d"));
  EXPECT_EQ(loaded.at(2).id, 5);

  test::BoxedStore old;
  ASSERT_TRUE(old.create(sourceListPath(dir.path())));
  ASSERT_TRUE(old.writeHeader(sourceListHeaderRecord()));
  old.readHeaderRecord();
  for (int id : {7, 2}) {
    FieldList record;
    record.addInt(FLD_SOURCE_ID, id);
    record.addText(FLD_SOURCE_NAME, "s" + std::to_string(id));
    record.addText(FLD_SOURCE_ROOT, "D:");
    record.addText(FLD_FOLDER, "");
    record.addInt(FLD_SOURCE_MEDIA, static_cast<int32_t>(MediaType::kLocalFolder));
    record.computeSize();
    ASSERT_GT(old.append(record), 0);
  }
  old.close();
  const test::Bytes oldBytes = test::readBytes(dir.file("Folders.dat"));
  // The kept id changes a value only: the header record has the same size.
  EXPECT_EQ(test::recordOffsets(saved).at(1), test::recordOffsets(oldBytes).at(1));
  test::BoxedSourceList fromOld;
  fromOld.load(dir.path());
  ASSERT_EQ(fromOld.count(), 2);
  EXPECT_EQ(fromOld.at(0).name, "s7");
  fromOld.add(source("e"));
  EXPECT_EQ(fromOld.at(2).id, 8);
}

TEST(SourceFile, SaveWritesExactlyTheListAfterARemoval) {
  test::TempDir dir;
  test::BoxedSourceList list;
  list.load(dir.path());
  for (const char* name : {"a", "b", "c"}) list.add(source(name));
  ASSERT_TRUE(list.save());
  ASSERT_TRUE(list.removeById(2));
  ASSERT_TRUE(list.save());
  test::BoxedSourceList loaded;
  loaded.load(dir.path());
  ASSERT_EQ(loaded.count(), 2);
  EXPECT_EQ(loaded.at(0).name, "b");
  EXPECT_EQ(test::recordOffsets(test::readBytes(dir.file("Folders.dat"))).size(), 3u);
}

TEST(SourceFile, SaveRetriesWhileTheUserAsks) {
  test::TempDir dir;
  test::BoxedSourceList list;
  list.load(dir.path());
  list.add(source("a"));
  AlertSink sink;
  int asked = 0;
  sink.answer = [&](const AlertRecord&) { return ++asked < 3 ? kAnswerRetry : kAnswerCancel; };
  FaultPlan plan;
  plan.fail(kFaultOpen, 1, kErrSharingViolation);
  plan.fail(kFaultOpen, 2, kErrSharingViolation);
  EXPECT_TRUE(list.save());
  ASSERT_EQ(sink.count(), 2u);
  EXPECT_EQ(sink.records()[0].buttons, kAlertRetryCancel);
  EXPECT_EQ(sink.records()[0].caption, "DB Sharing Violation");
  EXPECT_EQ(sink.records()[0].text, temporarySourceListPath(dir.path()));
  test::BoxedSourceList loaded;
  loaded.load(dir.path());
  EXPECT_EQ(loaded.count(), 1);
}

TEST(SourceFile, CancelledSaveKeepsTheListAndTheOldFile) {
  test::TempDir dir;
  test::BoxedSourceList list;
  list.load(dir.path());
  const test::Bytes before = test::readBytes(dir.file("Folders.dat"));
  list.add(source("a"));
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultOpen, 1, kErrAccessDenied, true);
  EXPECT_FALSE(list.save());
  EXPECT_EQ(sink.count(), 1u);
  EXPECT_EQ(list.count(), 1);
  EXPECT_EQ(test::readBytes(dir.file("Folders.dat")), before);
}

// A save that fails at any step, or is killed, leaves the old list whole:
// the new one is written beside it and only put in its place when complete.
TEST(SourceFile, SaveIsAllOrNothing) {
  test::TempDir dir;
  test::BoxedSourceList list;
  list.load(dir.path());
  for (const char* name : {"a", "b", "c"}) list.add(source(name));
  ASSERT_EQ(list.save(), 1);
  list.add(source("d"));
  // "d" gets a new id each time it is added again.
  auto removeD = [&] { list.removeById(list.at(3).id); };
  auto opsOfASave = [&](FaultOp op) {
    FaultPlan plan;
    EXPECT_EQ(list.save(), 1);
    removeD();
    EXPECT_EQ(list.save(), 1);
    list.add(source("d"));
    return plan.seen(op) / 2;
  };
  int runs = 0;
  for (FaultOp op : {kFaultWrite, kFaultSeek, kFaultFlush, kFaultReplace}) {
    const int total = opsOfASave(op);
    for (int nth = 1; nth <= total; ++nth) {
      AlertSink sink;
      int result;
      {
        FaultPlan plan;
        plan.fail(op, nth, kErrDiskFull);
        result = list.save();
      }
      test::BoxedSourceList loaded;
      loaded.load(dir.path());
      EXPECT_EQ(loaded.count(), result == 1 ? 4 : 3) << op << " #" << nth;
      EXPECT_FALSE(test::exists(temporarySourceListPath(dir.path()))) << op << " #" << nth;
      if (result == 0) {
        ++runs;
      } else {
        // Put the three-source file back for the next step.
        removeD();
        ASSERT_EQ(list.save(), 1);
        list.add(source("d"));
      }
    }
  }
  EXPECT_GT(runs, 10);
}

TEST(SourceFile, UnopenableFileLoadsAnEmptyList) {
  test::TempDir dir;
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultOpen, 1, kErrAccessDenied);
  test::BoxedSourceList list;
  list.load(dir.path());
  EXPECT_EQ(list.count(), 0);
  EXPECT_TRUE(test::sawBox(sink, "DB Access Denied", sourceListPath(dir.path())));
}

}  // namespace
}  // namespace tuho
