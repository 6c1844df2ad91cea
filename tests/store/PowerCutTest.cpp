// Power cuts during the writes of the store's commands. Opening afterwards
// must find every track exactly once, as it was before the command or as
// the command left it, and a file that opening mends must be one that a
// raw read of the chain calls damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "StoreFixtures.h"
#include "support/DiskModel.h"
#include "platform/FaultPlan.h"
#include "platform/Win32Error.h"
#include "store/CatalogueStore.h"
#include "store/ChainScan.h"
#include "store/RecordCodec.h"
#include "store/SourceList.h"

namespace tuho {
namespace {

using test::Bytes;

constexpr uint32_t kSector = 512;

// Everything from the cut on fails, as if the machine had stopped: the
// write it falls in lets `sectors` whole sectors through, and the store
// cannot take back what reached the disk (an edit truncates nothing before).
void cutPowerAt(FaultPlan& plan, int write, uint32_t sectors) {
  plan.failWriteAfter(write, sectors * kSector, kErrIoDevice);
  plan.fail(kFaultWrite, write + 1, kErrIoDevice, true);
  plan.fail(kFaultTruncate, 1, kErrIoDevice, true);
}

struct Cut {
  int write;
  uint32_t sectors;
  std::string where() const { return "write " + std::to_string(write) + ", " + std::to_string(sectors) + " sectors"; }
};

// The titles of the walk by id; an id met twice fails the test.
std::map<int, std::string> titlesById(RecordStore& store, const std::string& where) {
  std::map<int, std::string> titles;
  for (store.first(); !store.atEnd(); store.next()) {
    FieldList record = store.decodeCurrent();
    EXPECT_TRUE(titles.emplace(record.id, record.findField(327).text).second) << where << ": id " << record.id;
  }
  EXPECT_TRUE(store.walkEndedCleanly()) << where;
  return titles;
}

TEST(PowerCut, AnEditThatMovesItsRecordLeavesItExactlyOnceAtEveryCut) {
  test::Catalogue cat;
  const std::string longTitle(700, 't');  // the record spans sectors
  for (int i = 0; i < 6; ++i) cat.add("title " + std::to_string(i));
  cat.store.close();
  const Bytes before = cat.bytes();
  std::map<int, std::string> stored;
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  stored = titlesById(cat.store, "before");
  cat.store.close();
  const int edited = 4;

  int cuts = 0;
  bool reachedTheEnd = false;
  for (int write = 1; !reachedTheEnd; ++write) {
    for (uint32_t sectors = 0; sectors <= 2; ++sectors) {
      const Cut cut{write, sectors};
      test::writeBytes(cat.path(), before);
      AlertSink sink;
      {
        test::BoxedStore store;
        ASSERT_EQ(store.open(cat.path()), kOpenedExisting);
        FaultPlan plan;
        cutPowerAt(plan, write, sectors);
        store.updateById(test::trackRecord(longTitle), edited);
        store.close();
        reachedTheEnd = plan.seen(kFaultWrite) < write;
      }
      if (reachedTheEnd) break;
      ++cuts;
      test::BoxedStore store;
      ASSERT_EQ(store.open(cat.path()), kOpenedExisting) << cut.where();
      std::map<int, std::string> after = titlesById(store, cut.where());
      ASSERT_EQ(after.size(), stored.size()) << cut.where();
      for (const auto& [id, title] : stored) {
        ASSERT_TRUE(after.count(id)) << cut.where() << ": id " << id << " lost";
        if (id == edited) {
          EXPECT_TRUE(after[id] == title || after[id] == longTitle) << cut.where();
        } else {
          EXPECT_EQ(after[id], title) << cut.where();
        }
      }
      store.close();
      // What opening mended stays mended.
      ASSERT_EQ(store.open(cat.path()), kOpenedExisting) << cut.where();
      EXPECT_EQ(titlesById(store, cut.where()).size(), stored.size()) << cut.where();
    }
  }
  EXPECT_GE(cuts, 6);
}

// Every value of a record, so that a record half old and half new shows.
std::string valuesOf(const FieldList& record) {
  std::string values;
  for (int i = 0; i < record.count; ++i) {
    const FieldSlot& slot = record.slots[i];
    values += std::to_string(slot.id) + "=" + (slot.type == FIELD_INT ? std::to_string(slot.value) : slot.text) + ";";
  }
  return values;
}

using Contents = std::map<int, std::string>;

// The records of the walk by id; an id met twice fails the test.
Contents contentsOf(RecordStore& store, const std::string& where) {
  Contents contents;
  for (store.first(); !store.atEnd(); store.next()) {
    FieldList record = store.decodeCurrent();
    EXPECT_TRUE(contents.emplace(record.id, valuesOf(record)).second) << where << ": id " << record.id << " twice";
  }
  EXPECT_TRUE(store.walkEndedCleanly()) << where;
  return contents;
}

// What a raw read of the chain says of the file, as `tuhodb check` reads it.
bool chainIsWhole(const std::string& path) {
  File file;
  if (!file.open(path, kAccessRead, kShareReadWrite, kOpenExisting)) return false;
  std::vector<uint8_t> body;
  return scanChain(file, kHeaderRecordOffset, body, [](const ChainRecord&, const uint8_t*, size_t) {}).whole();
}

struct Command {
  const char* name;
  std::function<void(RecordStore&)> run;
};

// A record of a track whose title is `length` copies of `letter`.
FieldList trackOf(char letter, size_t length) { return test::trackRecord(std::string(length, letter)); }

// Runs the command on a catalogue of tracks of many lengths, so that
// records straddle sectors, and then checks every state a cut can leave.
// Returns how many states there were.
size_t checkEveryCut(const Command& command) {
  test::Catalogue cat;
  const size_t lengths[] = {300, 40, 700, 5, 1200, 90, 450};
  for (size_t i = 0; i < std::size(lengths); ++i) cat.store.append(trackOf(static_cast<char>('a' + i), lengths[i]));
  cat.store.close();
  const Bytes start = cat.bytes();
  EXPECT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  const Contents before = contentsOf(cat.store, command.name);
  std::set<Bytes> states;
  {
    FaultPlan plan;
    test::DiskModel disk(plan, cat.path());
    command.run(cat.store);
    EXPECT_FALSE(cat.store.hasFailed()) << command.name;
    cat.store.close();
    states = disk.states();
  }
  EXPECT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  const Contents after = contentsOf(cat.store, command.name);
  cat.store.close();
  EXPECT_NE(before, after) << command.name << " changed nothing";

  int state = 0;
  for (const Bytes& bytes : states) {
    const std::string where = std::string(command.name) + ", state " + std::to_string(++state);
    test::writeBytes(cat.path(), bytes);
    const bool whole = chainIsWhole(cat.path());
    AlertSink sink;
    test::BoxedStore store;
    EXPECT_EQ(store.open(cat.path()), kOpenedExisting) << where;
    EXPECT_EQ(test::sawBox(sink, "DB Damaged File", cat.path()), !whole) << where << ": the raw read was wrong";
    const Contents found = contentsOf(store, where);
    std::set<int> ids;
    for (const Contents* side : {&before, &after, &found}) {
      for (const auto& entry : *side) ids.insert(entry.first);
    }
    for (int id : ids) {
      auto valueIn = [id](const Contents& contents) {
        auto it = contents.find(id);
        return it == contents.end() ? std::string("(none)") : it->second;
      };
      const std::string now = valueIn(found);
      EXPECT_TRUE(now == valueIn(before) || now == valueIn(after)) << where << ": id " << id << " is neither";
    }
    store.close();
    // What opening mended stays mended.
    EXPECT_TRUE(chainIsWhole(cat.path())) << where;
    EXPECT_EQ(store.open(cat.path()), kOpenedExisting) << where;
    EXPECT_EQ(contentsOf(store, where), found) << where;
  }
  return states.size();
}

// One batch that rewrites records of the catalogue below every way at once:
// across sectors in place (6; 4, whose title shrinks within its block), one
// value (8), moved (2 and 7), shrunk in place (3), with an id that is gone
// and one given twice (kMixedBatchIds).
std::map<int, FieldList> mixedBatch() {
  std::map<int, FieldList> records{{6, trackOf('z', 1200)}, {4, trackOf('u', 600)}, {8, trackOf('g', 450)},
                                   {2, trackOf('x', 900)},  {7, trackOf('w', 200)}, {3, trackOf('y', 5)}};
  records[8].slots[9].value = 1;
  return records;
}

std::vector<int> rewriteBatch(RecordStore& store, const std::map<int, FieldList>& records, std::vector<int> ids) {
  return store.rewriteMany(ids, [&](const FieldList& stored, FieldList* changed) {
    *changed = records.at(stored.id);
    return true;
  });
}

const std::vector<int> kMixedBatchIds{6, 4, 99, 8, 2, 7, 3, 6};
const std::vector<int> kMixedBatchWritten{6, 4, 8, 2, 7, 3};

// Record ids of the catalogue above: 'a' is 2, 'c' (700) is 4, 'e' (1200) is 6.
TEST(PowerCut, EveryCommandLeavesEachTrackOldOrNewAtEveryCut) {
  const Command commands[] = {
      {"a rewrite in place across sectors", [](RecordStore& s) { s.updateById(trackOf('z', 1200), 6); }},
      {"a shrinking rewrite", [](RecordStore& s) { s.updateById(trackOf('y', 310), 4); }},
      {"a rewrite of one value",
       [](RecordStore& s) {
         FieldList ready = trackOf('e', 1200);
         ready.slots[9].value = 1;
         s.updateById(ready, 6);
       }},
      {"a rewrite that moves", [](RecordStore& s) { s.updateById(trackOf('x', 900), 2); }},
      {"appends of a scan",
       [](RecordStore& s) {
         for (size_t length : {600, 20, 1000}) s.append(trackOf('n', length));
       }},
      {"removals",
       [](RecordStore& s) {
         for (int id : {3, 6, 8}) s.deleteById(id);
       }},
      {"a batch of rewrites",
       [](RecordStore& s) { EXPECT_EQ(rewriteBatch(s, mixedBatch(), kMixedBatchIds), kMixedBatchWritten); }},
      {"a rescan's mix",
       [](RecordStore& s) {
         s.updateById(trackOf('r', 1190), 6);
         s.deleteById(4);
         s.append(trackOf('m', 520));
         s.updateById(trackOf('q', 300), 2);
       }},
  };
  size_t states = 0;
  for (const Command& command : commands) states += checkEveryCut(command);
  EXPECT_GT(states, 60u);
}

// Each write, flush and truncation of a rewrite in place fails in
// turn: the rewrite says it failed, and the track is then there once, old or
// new, with every other track as it was.
TEST(PowerCut, AFailureAtAnyStepOfARewriteInPlaceIsToldAndLosesNothing) {
  const FieldList edited = trackOf('z', 1200);
  int failures = 0;
  for (FaultOp op : {kFaultWrite, kFaultFlush, kFaultTruncate}) {
    for (int nth = 1;; ++nth) {
      test::Catalogue cat;
      for (size_t length : {300, 1200, 90}) cat.store.append(trackOf('a', length));
      const int id = 3;
      const Contents before = contentsOf(cat.store, "before");
      AlertSink sink;
      int result = 0;
      {
        FaultPlan plan;
        plan.fail(op, nth, kErrWriteFault);
        result = cat.store.updateById(edited, id);
        if (plan.seen(op) < nth) break;
      }
      const std::string where = "op " + std::to_string(op) + " #" + std::to_string(nth);
      EXPECT_EQ(result, 0) << where;
      EXPECT_GT(sink.count(), 0u) << where;
      cat.store.close();
      ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting) << where;
      Contents after = contentsOf(cat.store, where);
      EXPECT_TRUE(after[id] == before.at(id) || after[id] == valuesOf(edited)) << where;
      after[id] = before.at(id);
      EXPECT_EQ(after, before) << where;
      ++failures;
    }
  }
  EXPECT_GE(failures, 6);

  // A disk too full for the stand-in copy still takes the rewrite in place.
  test::Catalogue cat;
  for (size_t length : {300, 1200, 90}) cat.store.append(trackOf('a', length));
  const int64_t size = test::fileSize(cat.path());
  AlertSink sink;
  {
    FaultPlan plan;
    plan.failWriteAfter(1, 100, kErrDiskFull);
    EXPECT_EQ(cat.store.updateById(edited, 3), 3);
  }
  EXPECT_EQ(sink.count(), 0u);
  EXPECT_EQ(test::fileSize(cat.path()), size);
  cat.store.close();
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(contentsOf(cat.store, "full disk").at(3), valuesOf(edited));
}

// A batch flushes three times however many records it holds. Each write,
// flush and truncation of it fails in turn: the batch says it failed, and
// each record is then there once, old or new, with every other as it was.
// A disk too full for a stand-in copy still takes the rewrites in place.
TEST(PowerCut, AFailureAtAnyStepOfABatchIsToldAndLeavesEachRecordOldOrNew) {
  const std::map<int, FieldList> records = mixedBatch();
  auto catalogueOf = [](test::Catalogue& cat) {
    const size_t lengths[] = {300, 40, 700, 5, 1200, 90, 450};
    for (size_t i = 0; i < std::size(lengths); ++i) cat.store.append(trackOf(static_cast<char>('a' + i), lengths[i]));
  };
  int failures = 0;
  for (FaultOp op : {kFaultWrite, kFaultFlush, kFaultTruncate}) {
    for (int nth = 1;; ++nth) {
      test::Catalogue cat;
      catalogueOf(cat);
      const Contents before = contentsOf(cat.store, "before");
      AlertSink sink;
      std::vector<int> written;
      {
        FaultPlan plan;
        plan.fail(op, nth, kErrWriteFault);
        written = rewriteBatch(cat.store, records, kMixedBatchIds);
        if (plan.seen(op) < nth) {
          EXPECT_EQ(written, kMixedBatchWritten);
          EXPECT_EQ(plan.seen(kFaultFlush), 3);
          break;
        }
      }
      const std::string where = "op " + std::to_string(op) + " #" + std::to_string(nth);
      EXPECT_TRUE(written.empty()) << where;
      EXPECT_GT(sink.count(), 0u) << where;
      cat.store.close();
      ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting) << where;
      Contents after = contentsOf(cat.store, where);
      for (const auto& [id, record] : records) {
        EXPECT_TRUE(after[id] == before.at(id) || after[id] == valuesOf(record)) << where << ": id " << id;
        after[id] = before.at(id);
      }
      EXPECT_EQ(after, before) << where;
      ++failures;
    }
  }
  EXPECT_GE(failures, 12);

  test::Catalogue cat;
  catalogueOf(cat);
  const int64_t size = test::fileSize(cat.path());
  AlertSink sink;
  {
    FaultPlan plan;
    plan.failWriteAfter(2, 100, kErrDiskFull);  // the second stand-in
    EXPECT_EQ(rewriteBatch(cat.store, records, {6, 4}), (std::vector<int>{6, 4}));
  }
  EXPECT_EQ(sink.count(), 0u);
  EXPECT_EQ(test::fileSize(cat.path()), size);
  cat.store.close();
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  const Contents full = contentsOf(cat.store, "full disk");
  EXPECT_EQ(full.at(6), valuesOf(records.at(6)));
  EXPECT_EQ(full.at(4), valuesOf(records.at(4)));
}

// Compaction and the source list's save write a new file and put it in
// place of the old one: a cut anywhere leaves the old file or the new one,
// each whole, never a mix or an empty file.
TEST(PowerCut, AFileReplacedByANewOneIsOldOrNewAtEveryCut) {
  test::Catalogue cat;
  for (int i = 0; i < kCompactionThreshold + 10; ++i) cat.store.append(trackOf('c', 40 + i % 7 * 90));
  for (int id : {5, 40, 77}) cat.store.deleteById(id);
  const Contents live = contentsOf(cat.store, "live");
  size_t states = 0;
  {
    std::set<Bytes> cut;
    {
      FaultPlan plan;
      test::DiskModel disk(plan, cat.path());
      ASSERT_TRUE(compact(cat.store, cat.path(), cat.dir.file("TuhoTemp.dat")));
      cut = disk.states();
    }
    for (const Bytes& bytes : cut) {
      const std::string where = "compaction, state " + std::to_string(++states);
      test::writeBytes(cat.path(), bytes);
      AlertSink sink;
      test::BoxedStore store;
      ASSERT_EQ(store.open(cat.path()), kOpenedExisting) << where;
      EXPECT_EQ(sink.count(), 0u) << where;
      EXPECT_EQ(contentsOf(store, where), live) << where;
    }
  }

  auto sourceOf = [](const std::string& name) {
    SourceRef source;
    source.name = name;
    source.root = "D:";
    source.folder = "\\Music\\" + name;
    return source;
  };
  test::BoxedSourceList list;
  list.load(cat.dir.path());
  for (const char* name : {"One", "Two", "Three"}) list.add(sourceOf(name));
  ASSERT_TRUE(list.save());
  list.removeById(list.at(1).id);
  list.add(sourceOf(std::string(600, 'n')));
  std::set<Bytes> cut;
  {
    FaultPlan plan;
    test::DiskModel disk(plan, cat.dir.file("Folders.dat"));
    ASSERT_TRUE(list.save());
    cut = disk.states();
  }
  const std::vector<std::string> before{"One", "Two", "Three"}, after{"One", "Three", std::string(600, 'n')};
  for (const Bytes& bytes : cut) {
    const std::string where = "source list, state " + std::to_string(++states);
    test::writeBytes(cat.dir.file("Folders.dat"), bytes);
    AlertSink sink;
    test::BoxedSourceList loaded;
    EXPECT_TRUE(loaded.load(cat.dir.path())) << where;
    std::vector<std::string> names;
    for (int i = 0; i < loaded.count(); ++i) names.push_back(loaded.at(i).name);
    EXPECT_TRUE(names == before || names == after) << where;
  }
  EXPECT_GE(states, 4u);
}

}  // namespace
}  // namespace tuho
