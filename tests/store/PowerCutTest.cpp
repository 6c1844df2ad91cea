// A power cut at every write of an edit that moves its record: every write
// before the cut reached the disk, the write it fell in reached it only in
// whole 512-byte sectors (none of them, some, or all), and nothing after it
// did. Opening afterwards must find the edited track exactly once, old or
// new, and every other track as it was.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "StoreFixtures.h"
#include "platform/FaultPlan.h"
#include "platform/Win32Error.h"
#include "store/CatalogueStore.h"

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

}  // namespace
}  // namespace tuho
