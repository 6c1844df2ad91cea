// Store files that were cut short or damaged: opening sets the damaged tail
// and damaged records aside and takes them out, never overwriting an earlier
// copy; walks stop at a bad record, nothing reads out of bounds, and the
// chain reader reports without changing the file.
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

void expectSetAside(const std::vector<AlertRecord>& boxes, long long bytes, const std::string& aside = "Tuho.dat.damaged") {
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "DB Damaged File");
  EXPECT_NE(boxes[0].text.find(" " + std::to_string(bytes) + " damaged bytes"), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find(aside + " "), std::string::npos) << boxes[0].text;
}

TEST(TornTail, HalfAppendedRecordIsSetAsideAndCutOff) {
  ThreeTracks cat;
  Bytes torn = cat.whole;
  Bytes extra = encodeRecordBytes(test::trackRecord("d"));
  torn.insert(torn.end(), extra.begin(), extra.begin() + 30);
  expectSetAside(cat.reopen(torn), 30);
  EXPECT_EQ(test::readBytes(cat.path() + ".damaged"), Bytes(extra.begin(), extra.begin() + 30));
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
  // A second repair keeps the first copy and numbers its own.
  cat.store.close();
  Bytes again = cat.bytes();
  again.insert(again.end(), {7, 7, 7});
  expectSetAside(cat.reopen(again), 3, "Tuho.dat.damaged.2");
  EXPECT_EQ(test::readBytes(cat.path() + ".damaged"), (Bytes{9, 0, 0, 0, 1}));
  EXPECT_EQ(test::readBytes(cat.path() + ".damaged.2"), (Bytes{7, 7, 7}));
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

// Nothing is ever written behind a tail that could not be set aside: no
// walk would reach it. The store stays readable and takes no writes.
TEST(TornTail, UncopyableFileIsLeftAsItIsAndOnlyRead) {
  ThreeTracks cat;
  Bytes torn = cat.whole;
  torn.insert(torn.end(), 40, 7);
  test::writeBytes(cat.path(), torn);
  AlertSink sink;
  FaultPlan plan;
  plan.fail(kFaultWrite, 1, kErrDiskFull);
  EXPECT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  ASSERT_EQ(sink.count(), 1u);
  EXPECT_NE(sink.records()[0].text.find("left as it is"), std::string::npos);
  EXPECT_NE(sink.records()[0].text.find("reading only"), std::string::npos);
  EXPECT_FALSE(test::exists(cat.path() + ".damaged"));
  EXPECT_TRUE(cat.store.readOnly());
  EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(cat.add("d"), 0);
  EXPECT_EQ(cat.store.updateById(test::trackRecord("bbbbbbbbbbbbbbbbbbbbbbb"), 3), 0);
  EXPECT_EQ(cat.store.deleteById(3), 0);
  EXPECT_EQ(closeCatalogueStore(cat.store, cat.dir.path()), Closing::kClosed);
  EXPECT_EQ(test::readBytes(cat.path()), torn);
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

// A broken header record costs only itself: a fresh head and header record
// are written over it and the tracks after it are kept. Where nothing after
// it reads, the whole file is set aside and the catalogue starts anew.
TEST(TornHead, BrokenHeaderRecordIsWrittenAnew) {
  ThreeTracks cat;
  Bytes broken = cat.whole;
  test::putInt(broken, cat.offsets[0], 3);
  test::putInt(broken, 27, -1);
  test::writeBytes(cat.path(), broken);
  AlertSink sink;
  EXPECT_EQ(openCatalogueStore(cat.store, cat.path()), kOpenedExisting);
  EXPECT_TRUE(test::sawBox(sink, "DB Damaged File", cat.path()));
  EXPECT_EQ(test::readBytes(cat.path() + ".damaged"), Bytes(broken.begin(), broken.begin() + 147));
  EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(cat.add("d"), 5);
  cat.store.close();
  Bytes head = cat.cutAt(147);
  test::putInt(head, 27, 5);
  const Bytes after = cat.bytes();
  EXPECT_EQ(Bytes(after.begin(), after.begin() + 147), head);

  Bytes nothingAfter = cat.cutAt(150);
  test::putInt(nothingAfter, cat.offsets[0], 3);
  test::writeBytes(cat.path(), nothingAfter);
  EXPECT_EQ(openCatalogueStore(cat.store, cat.path()), kOpenedNew);
  EXPECT_EQ(test::readBytes(cat.path() + ".damaged.2"), nothingAfter);
  EXPECT_EQ(test::walkIds(cat.store), std::vector<int>{});
}

TEST(TornHead, FileTooShortForTheFormatByteIsNew) {
  test::TempDir dir;
  test::writeBytes(dir.file("Tuho.dat"), Bytes(10, 'x'));
  AlertSink sink;
  test::BoxedStore store;
  EXPECT_EQ(openCatalogueStore(store, dir.file("Tuho.dat")), kOpenedNew);
  EXPECT_EQ(sink.count(), 0u);
  EXPECT_EQ(test::fileSize(dir.file("Tuho.dat")), 147);
}

// Each way a record can lie about itself, placed on the second track.
struct Malformation {
  const char* name;
  void (*apply)(Bytes& bytes, size_t record);
  bool endsTheFile;  // the damage runs to the end of the file
};

const Malformation kMalformations[] = {
    {"size below 8", [](Bytes& b, size_t r) { test::putInt(b, r, 4); }, false},
    {"negative size", [](Bytes& b, size_t r) { test::putInt(b, r, -100); }, false},
    {"body larger than the buffer", [](Bytes& b, size_t r) { test::putInt(b, r, 2 * 1048576); }, false},
    {"body past the end of the file", [](Bytes& b, size_t r) { test::putInt(b, r, test::intAt(b, r) + 4000); }, false},
    {"size ending inside its own fields", [](Bytes& b, size_t r) { test::putInt(b, r, test::intAt(b, r) - 3); }, false},
    {"size ending inside the next record", [](Bytes& b, size_t r) { test::putInt(b, r, test::intAt(b, r) + 20); }, false},
    {"field block outside its record", [](Bytes& b, size_t r) { test::putInt(b, r + 12, 5000); }, false},
    {"field block below its head", [](Bytes& b, size_t r) { test::putInt(b, r + 12, 4); }, false},
    {"data length beyond its block", [](Bytes& b, size_t r) { test::putInt(b, r + 12 + 12, 500); }, false},
    {"negative data length", [](Bytes& b, size_t r) { test::putInt(b, r + 12 + 12, -5); }, false},
    {"more than 16 fields",
     [](Bytes& b, size_t r) {
       // The record is replaced by one of seventeen empty blocks.
       b.resize(r);
       for (int word : {17 * 16 + 8, 3, 0}) test::appendInt(b, word);
       for (int i = 0; i < 17; ++i) {
         for (int word : {12, 5, i, 0}) test::appendInt(b, word);
       }
     },
     true},
};

// Damage that runs to the end of the file is the tail: it is cut off.
TEST(DamagedRecord, OpeningCutsOffADamagedTail) {
  for (const Malformation& m : kMalformations) {
    if (!m.endsTheFile) continue;
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

// Damaged fields and then a size that cannot be trusted, with no whole
// records after them: both are the tail.
TEST(DamagedRecord, DamagedFieldsThenAnUntrustedSizeAreTheTail) {
  ThreeTracks cat;
  Bytes damaged = cat.whole;
  test::putInt(damaged, cat.offsets[2] + 12 + 12, 500);  // data length beyond its block
  test::putInt(damaged, cat.offsets[3], 4);               // size below 8
  expectSetAside(cat.reopen(damaged), static_cast<long long>(damaged.size() - cat.offsets[2]));
  EXPECT_EQ(test::fileSize(cat.path()), static_cast<int64_t>(cat.offsets[2]));
  EXPECT_EQ(test::walkIds(cat.store), std::vector<int>{2});
}

// A damaged record costs only itself, whether its fields or its size lie:
// the chain goes on where whole records start again.
TEST(DamagedRecord, OpeningSetsAsideOnlyTheDamagedRecord) {
  for (const Malformation& m : kMalformations) {
    if (m.endsTheFile) continue;
    ThreeTracks cat;
    Bytes damaged = cat.whole;
    m.apply(damaged, cat.offsets[2]);
    const size_t length = cat.offsets[3] - cat.offsets[2];
    expectSetAside(cat.reopen(damaged), static_cast<long long>(length));
    EXPECT_EQ(test::readBytes(cat.path() + ".damaged"),
              Bytes(damaged.begin() + static_cast<long>(cat.offsets[2]), damaged.begin() + static_cast<long>(cat.offsets[3])))
        << m.name;
    EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 4})) << m.name;
    EXPECT_EQ(cat.add("new"), 5) << m.name;
    cat.store.close();
    EXPECT_TRUE(cat.reopen(cat.bytes()).empty()) << m.name;
    EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 4, 5})) << m.name;
  }
}

// Damage that appears while the store is open ends every walk there. Only
// a writer outside the program's own files can make it appear: Windows lets
// no other open near a held store file.
#ifndef _WIN32
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
#endif

TEST(DamagedRecord, DeletedRecordWithBadFieldsIsDamageToo) {
  ThreeTracks cat;
  Bytes damaged = cat.whole;
  test::putInt(damaged, cat.offsets[2] + 8, 1);
  test::putInt(damaged, cat.offsets[2] + 12, 9999);
  cat.reopen(damaged);
  EXPECT_EQ(test::walkIds(cat.store), (std::vector<int>{2, 4}));
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
