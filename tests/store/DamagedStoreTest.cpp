// Store files that were cut short or damaged: opening sets the damaged tail
// aside and cuts it off, walks stop at a bad record, nothing reads out of
// bounds, and the chain reader reports without changing the file.
#include <gtest/gtest.h>

#include "StoreFixtures.h"
#include "platform/FaultPlan.h"
#include "platform/Win32Error.h"
#include "store/CatalogueStore.h"
#include "store/ChainScan.h"
#include "store/RecordCodec.h"

namespace tuho {
namespace {

using test::Bytes;
using test::Catalogue;

// A closed catalogue holding tracks 2, 3 and 4, and its bytes.
struct ThreeTracks : Catalogue {
  Bytes whole;
  std::vector<size_t> offsets;  // header record, then the three tracks
  ThreeTracks() {
    add("a");
    add("b");
    add("c");
    store.close();
    whole = bytes();
    offsets = test::recordOffsets(whole);
  }
  // Writes `damaged`, opens it and returns the boxes shown.
  std::vector<AlertRecord> reopen(const Bytes& damaged) {
    test::writeBytes(path(), damaged);
    AlertSink sink;
    EXPECT_EQ(store.open(path()), kOpenedExisting);
    return sink.records();
  }
  Bytes cutAt(size_t size) const { return Bytes(whole.begin(), whole.begin() + static_cast<long>(size)); }
};

void expectSetAside(const std::vector<AlertRecord>& boxes, long long bytes) {
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "DB Damaged File");
  EXPECT_NE(boxes[0].text.find(" " + std::to_string(bytes) + " bytes"), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find("Tuho.dat.damaged"), std::string::npos);
}

TEST(TornTail, HalfAppendedRecordIsSetAsideAndCutOff) {
  ThreeTracks cat;
  Bytes torn = cat.whole;
  Bytes extra = encodeRecordBytes(test::trackRecord("d"));
  torn.insert(torn.end(), extra.begin(), extra.begin() + 30);
  expectSetAside(cat.reopen(torn), 30);
  EXPECT_EQ(test::readBytes(cat.path() + ".damaged"), torn);
  EXPECT_EQ(test::fileSize(cat.path()), static_cast<int64_t>(cat.whole.size()));
  EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 3, 4}));
  // What is appended afterwards is reachable.
  EXPECT_EQ(cat.add("d"), 5);
  EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 3, 4, 5}));
}

TEST(TornTail, RecordHeadCutShort) {
  ThreeTracks cat;
  Bytes torn = cat.whole;
  torn.insert(torn.end(), {9, 0, 0, 0, 1});
  expectSetAside(cat.reopen(torn), 5);
  EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 3, 4}));
}

TEST(TornTail, WholeFileOpensWithoutABoxAndUnchanged) {
  ThreeTracks cat;
  EXPECT_TRUE(cat.reopen(cat.whole).empty());
  EXPECT_FALSE(test::exists(cat.path() + ".damaged"));
  cat.store.close();
  EXPECT_EQ(cat.bytes(), cat.whole);
}

TEST(TornTail, LostCounterDoesNotHandOutAnIdTwice) {
  ThreeTracks cat;
  Bytes stale = cat.whole;
  test::putInt(stale, 27, 1);
  EXPECT_TRUE(cat.reopen(stale).empty());
  EXPECT_EQ(cat.add("d"), 5);
}

TEST(TornTail, UncopyableFileIsLeftAsItIs) {
  ThreeTracks cat;
  Bytes torn = cat.whole;
  torn.insert(torn.end(), 40, 7);
  test::writeBytes(cat.path(), torn);
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultCopy, 1, kErrDiskFull);
  EXPECT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  ASSERT_EQ(sink.count(), 1u);
  EXPECT_NE(sink.records()[0].text.find("left as it is"), std::string::npos);
  EXPECT_EQ(test::fileSize(cat.path()), static_cast<int64_t>(torn.size()));
  EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 3, 4}));
}

TEST(TornHead, ShortFileHeadStartsANewCatalogue) {
  ThreeTracks cat;
  Bytes torn = cat.cutAt(26);
  test::writeBytes(cat.path(), torn);
  AlertSink sink;
  EXPECT_EQ(openCatalogueStore(cat.store, cat.path()), kOpenedNew);
  EXPECT_EQ(sink.captions(), std::vector<std::string>{"DB Damaged File"});
  EXPECT_EQ(test::readBytes(cat.path() + ".damaged"), torn);
  EXPECT_EQ(test::fileSize(cat.path()), 147);
  EXPECT_EQ(cat.add("x"), 2);
}

TEST(TornHead, BrokenHeaderRecordStartsANewCatalogue) {
  ThreeTracks cat;
  Bytes broken = cat.whole;
  test::putInt(broken, cat.offsets[0], 3);
  test::writeBytes(cat.path(), broken);
  AlertSink sink;
  EXPECT_EQ(openCatalogueStore(cat.store, cat.path()), kOpenedNew);
  EXPECT_TRUE(test::sawBox(sink, "DB Damaged File", cat.path()));
  EXPECT_EQ(test::readBytes(cat.path() + ".damaged"), broken);
  EXPECT_EQ(test::walkIds(cat.store), std::vector<int>{});
}

TEST(TornHead, FileTooShortForTheFormatByteIsNew) {
  test::TempDir dir;
  test::writeBytes(dir.file("Tuho.dat"), Bytes(10, 'x'));
  AlertSink sink;
  RecordStore store;
  EXPECT_EQ(openCatalogueStore(store, dir.file("Tuho.dat")), kOpenedNew);
  EXPECT_EQ(sink.count(), 0u);
  EXPECT_EQ(test::fileSize(dir.file("Tuho.dat")), 147);
}

// Each way a record can lie about itself, placed on the second track.
struct Malformation {
  const char* name;
  void (*apply)(Bytes& bytes, size_t record);
};

const Malformation kMalformations[] = {
    {"size below 8", [](Bytes& b, size_t r) { test::putInt(b, r, 4); }},
    {"negative size", [](Bytes& b, size_t r) { test::putInt(b, r, -100); }},
    {"body larger than the buffer", [](Bytes& b, size_t r) { test::putInt(b, r, 2 * 1048576); }},
    {"body past the end of the file", [](Bytes& b, size_t r) { test::putInt(b, r, test::intAt(b, r) + 4000); }},
    {"field block outside its record", [](Bytes& b, size_t r) { test::putInt(b, r + 12, 5000); }},
    {"field block below its head", [](Bytes& b, size_t r) { test::putInt(b, r + 12, 4); }},
    {"data length beyond its block", [](Bytes& b, size_t r) { test::putInt(b, r + 12 + 12, 500); }},
    {"negative data length", [](Bytes& b, size_t r) { test::putInt(b, r + 12 + 12, -5); }},
    {"more than 16 fields",
     [](Bytes& b, size_t r) {
       // The record is replaced by one of seventeen empty blocks.
       b.resize(r);
       for (int word : {17 * 16 + 8, 3, 0}) test::appendInt(b, word);
       for (int i = 0; i < 17; ++i) {
         for (int word : {12, 5, i, 0}) test::appendInt(b, word);
       }
     }},
};

TEST(DamagedRecord, OpeningCutsTheFileBeforeIt) {
  for (const Malformation& m : kMalformations) {
    ThreeTracks cat;
    Bytes damaged = cat.whole;
    m.apply(damaged, cat.offsets[2]);
    std::vector<AlertRecord> boxes = cat.reopen(damaged);
    expectSetAside(boxes, static_cast<long long>(damaged.size() - cat.offsets[2]));
    EXPECT_EQ(test::fileSize(cat.path()), static_cast<int64_t>(cat.offsets[2])) << m.name;
    EXPECT_EQ(test::walkIds(cat.store), std::vector<int>{2}) << m.name;
    EXPECT_EQ(cat.add("new"), 5) << m.name;
    EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 5})) << m.name;
  }
}

// Damage that appears while the store is open ends every walk there.
TEST(DamagedRecord, WalksStopAtItWhileOpen) {
  for (const Malformation& m : kMalformations) {
    ThreeTracks cat;
    ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
    Bytes damaged = cat.whole;
    m.apply(damaged, cat.offsets[2]);
    test::writeBytes(cat.path(), damaged);
    EXPECT_EQ(test::walkIds(cat.store), std::vector<int>{2}) << m.name;
    EXPECT_FALSE(cat.store.walkEndedCleanly()) << m.name;
    // Lookups by id read only the heads of the records they pass over, but
    // never take the damaged record itself.
    EXPECT_EQ(cat.store.findById(3), 0) << m.name;
    FieldList query;
    query.addInt(1200, 7);
    EXPECT_EQ(test::queryIds(cat.store, query), std::vector<int>{2}) << m.name;
    EXPECT_EQ(cat.store.updateById(test::trackRecord("z"), 3), 0) << m.name;
  }
}

TEST(DamagedRecord, DeletedRecordWithBadFieldsIsDamageToo) {
  ThreeTracks cat;
  Bytes damaged = cat.whole;
  test::putInt(damaged, cat.offsets[2] + 8, 1);
  test::putInt(damaged, cat.offsets[2] + 12, 9999);
  cat.reopen(damaged);
  EXPECT_EQ(test::walkIds(cat.store), std::vector<int>{2});
}

TEST(ChainReader, ReportsWhereTheWholeChainEndsWithoutChangingTheFile) {
  ThreeTracks cat;
  Bytes damaged = cat.whole;
  test::putInt(damaged, cat.offsets[3], 3);
  test::writeBytes(cat.path(), damaged);
  File file;
  ASSERT_TRUE(file.open(cat.path(), kAccessRead, kShareReadWrite, kOpenExisting));
  std::vector<uint8_t> body(kBodyBufferBytes);
  std::vector<int> ids;
  ChainReport report = scanChain(file, kHeaderRecordOffset, body,
                                 [&](const ChainRecord& record, const uint8_t*, size_t) { ids.push_back(record.id); });
  EXPECT_FALSE(report.whole());
  EXPECT_EQ(report.fault, kRecordSizeTooSmall);
  EXPECT_EQ(report.wholeEnd, static_cast<int64_t>(cat.offsets[3]));
  EXPECT_EQ(report.records, 3);
  EXPECT_EQ(ids, (std::vector<int>{2, 2, 3}));
  file.close();
  EXPECT_EQ(test::readBytes(cat.path()), damaged);
}

TEST(ChainReader, WholeFileIsWhole) {
  ThreeTracks cat;
  File file;
  ASSERT_TRUE(file.open(cat.path(), kAccessRead, kShareReadWrite, kOpenExisting));
  std::vector<uint8_t> body(kBodyBufferBytes);
  ChainReport report = scanChain(file, kHeaderRecordOffset, body, nullptr);
  EXPECT_TRUE(report.whole());
  EXPECT_EQ(report.records, 4);
}

}  // namespace
}  // namespace tuho
