// Ids, walks, queries, deletion and rewriting of one store file.
#include <gtest/gtest.h>

#include "StoreFixtures.h"
#include "store/CatalogueStore.h"

namespace tuho {
namespace {

using test::Catalogue;
using test::walkIds;

FieldList intQuery(int id, int value) {
  FieldList query;
  query.addInt(id, value);
  return query;
}

FieldList textQuery(int id, const std::string& text) {
  FieldList query;
  query.addText(id, text);
  return query;
}

FieldList withTitle(const std::string& title) { return test::trackRecord(title); }

TEST(StoreIds, NewStoreHandsOutIdTwoFirst) {
  test::TempDir dir;
  test::BoxedStore store;
  ASSERT_EQ(store.open(dir.file("New.dat")), kOpenedNew);
  EXPECT_EQ(store.counter(), 1);
  ASSERT_TRUE(store.writeHeader(catalogueHeaderRecord()));
  EXPECT_EQ(store.counter(), 2);
  store.readHeaderRecord();
  EXPECT_EQ(store.headerRecord().id, 2);
  EXPECT_EQ(store.counter(), 1);
  EXPECT_EQ(store.append(withTitle("a")), 2);
  EXPECT_EQ(store.append(withTitle("b")), 3);
}

TEST(StoreIds, CounterSurvivesCloseAndReopen) {
  Catalogue cat;
  cat.add("a");
  cat.add("b");
  cat.add("c");
  cat.store.close();
  EXPECT_EQ(test::intAt(cat.bytes(), 27), 4);
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(cat.add("d"), 5);
}

TEST(StoreIds, AppendKeepingIdRaisesTheCounterOnlyUpwards) {
  Catalogue cat;
  FieldList record = withTitle("x");
  record.id = 40;
  EXPECT_EQ(cat.store.appendKeepingId(record), 40);
  EXPECT_EQ(cat.store.counter(), 40);
  record.id = 9;
  EXPECT_EQ(cat.store.appendKeepingId(record), 9);
  EXPECT_EQ(cat.store.counter(), 40);
  EXPECT_EQ(cat.add("y"), 41);
}

// Ids only grow: an id at the top of the range ends appending with one box
// instead of wrapping round to negative ids, and compaction keeps the ids of
// the records it drops from being handed out again.
TEST(StoreIds, NeverOverflowNorRepeat) {
  Catalogue cat;
  for (const char* title : {"a", "b", "c"}) cat.add(title);
  cat.store.deleteById(4);
  ASSERT_EQ(compact(cat.store, cat.path(), cat.dir.file("TuhoTemp.dat")), 1);
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(cat.add("d"), 5);

  FieldList top = withTitle("top");
  top.id = kHighestRecordId;
  EXPECT_EQ(cat.store.appendKeepingId(top), kHighestRecordId);
  cat.store.close();
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  AlertSink sink;
  EXPECT_EQ(cat.add("e"), 0);
  EXPECT_EQ(cat.add("f"), 0);
  EXPECT_EQ(sink.captions(), std::vector<std::string>{"DB Full"});
  EXPECT_EQ(walkIds(cat.store), (std::vector<int>{2, 3, 5, kHighestRecordId}));
  // A counter that reads negative never hands out ids below those stored.
  cat.store.close();
  test::Bytes bytes = cat.bytes();
  test::putInt(bytes, 27, -7);
  test::putInt(bytes, test::recordOffsets(bytes).back() + 4, 9);
  test::writeBytes(cat.path(), bytes);
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(cat.add("g"), 10);
}

TEST(StoreIds, OpeningIgnoresAnAlteredMagic) {
  Catalogue cat;
  cat.add("a");
  cat.store.close();
  test::Bytes bytes = cat.bytes();
  bytes[0] = 'X';
  bytes[20] = 9;
  test::writeBytes(cat.path(), bytes);
  ASSERT_EQ(cat.store.open(cat.path()), kOpenedExisting);
  EXPECT_EQ(walkIds(cat.store), std::vector<int>{2});
}

TEST(StoreWalks, FullWalkReturnsLiveRecordsInFileOrder) {
  Catalogue cat;
  for (const char* title : {"a", "b", "c", "d"}) cat.add(title);
  cat.store.deleteById(3);
  EXPECT_EQ(walkIds(cat.store), (std::vector<int>{2, 4, 5}));
  EXPECT_EQ(test::walkTitles(cat.store), (std::vector<std::string>{"a", "c", "d"}));
  EXPECT_TRUE(cat.store.walkEndedCleanly());
}

TEST(StoreWalks, StoreOfOnlyDeletedRecordsIsEmpty) {
  Catalogue cat;
  cat.add("a");
  cat.add("b");
  cat.store.deleteById(2);
  cat.store.deleteById(3);
  EXPECT_EQ(cat.store.first(), 0);
  EXPECT_TRUE(cat.store.atEnd());
  EXPECT_EQ(cat.store.decodeCurrent().count, 0);
}

TEST(StoreWalks, FindByIdSkipsDeletedCopies) {
  Catalogue cat;
  cat.add("a");
  cat.add("b");
  EXPECT_EQ(cat.store.findById(3), 3);
  EXPECT_EQ(cat.store.decodeCurrent().findField(327).text, "b");
  cat.store.deleteById(3);
  EXPECT_EQ(cat.store.findById(3), 0);
  EXPECT_EQ(cat.store.findById(99), 0);
  EXPECT_TRUE(cat.store.atEnd());
}

TEST(StoreWalks, DeleteCurrentDuringAWalkContinuesWithTheNextRecord) {
  Catalogue cat;
  for (const char* title : {"a", "b", "c"}) cat.add(title);
  std::vector<int> seen;
  for (int id = cat.store.first(); id != 0; id = cat.store.next()) {
    seen.push_back(id);
    if (id == 3) {
      EXPECT_TRUE(cat.store.deleteCurrent());
    }
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(walkIds(cat.store), (std::vector<int>{2, 4}));
}

TEST(StoreWalks, AppendEndsAWalkInProgress) {
  Catalogue cat;
  cat.add("a");
  cat.add("b");
  EXPECT_EQ(cat.store.first(), 2);
  cat.add("c");
  EXPECT_TRUE(cat.store.atEnd());
  EXPECT_EQ(cat.store.next(), 0);
  EXPECT_FALSE(cat.store.deleteCurrent());
  EXPECT_EQ(walkIds(cat.store), (std::vector<int>{2, 3, 4}));
}

TEST(StoreQueries, IntegerQueryReturnsExactlyTheMatchingRecords) {
  Catalogue cat;
  cat.add("a", 7);
  cat.add("b", 8);
  cat.add("c", 7);
  cat.add("d", 7);
  cat.store.deleteById(5);
  EXPECT_EQ(test::queryIds(cat.store, intQuery(1200, 7)), (std::vector<int>{2, 4}));
}

TEST(StoreQueries, TextQueryIsCaseSensitive) {
  Catalogue cat;
  cat.add("a", 7, "Abba");
  cat.add("b", 7, "ABBA");
  cat.add("c", 7, "Abba");
  EXPECT_EQ(test::queryIds(cat.store, textQuery(328, "Abba")), (std::vector<int>{2, 4}));
  EXPECT_EQ(test::queryIds(cat.store, textQuery(328, "abba")), std::vector<int>{});
}

TEST(StoreQueries, EveryQueryFieldMustMatchAndMissingFieldsNeverDo) {
  Catalogue cat;
  cat.add("a", 7, "Abba");
  cat.add("b", 8, "Abba");
  FieldList both = textQuery(328, "Abba");
  both.addInt(1200, 8);
  EXPECT_EQ(test::queryIds(cat.store, both), std::vector<int>{3});
  EXPECT_EQ(test::queryIds(cat.store, intQuery(4242, 0)), std::vector<int>{});
  EXPECT_EQ(test::queryIds(cat.store, FieldList()), (std::vector<int>{2, 3}));
}

TEST(StoreQueries, FirstAfterAQueryWalksEverything) {
  Catalogue cat;
  cat.add("a", 7);
  cat.add("b", 8);
  EXPECT_EQ(cat.store.findFirstMatching(intQuery(1200, 8)), 3);
  EXPECT_EQ(walkIds(cat.store), (std::vector<int>{2, 3}));
}

TEST(StoreUpdates, GrowthWithinCapacityRewritesInPlace) {
  Catalogue cat;
  cat.add("abcde");  // file name "abcde.mp3" (9, capacity 16); title capacity 8
  cat.add("next");
  const auto sizeBefore = test::fileSize(cat.path());
  EXPECT_EQ(cat.store.updateById(withTitle("abcdefg"), 2), 2);
  EXPECT_EQ(test::fileSize(cat.path()), sizeBefore);
  EXPECT_EQ(walkIds(cat.store), (std::vector<int>{2, 3}));
  EXPECT_EQ(test::walkTitles(cat.store), (std::vector<std::string>{"abcdefg", "next"}));
}

TEST(StoreUpdates, GrowthBeyondCapacityMovesTheRecordToTheEndKeepingItsId) {
  Catalogue cat;
  cat.add("abcde");
  cat.add("next");
  const int counter = cat.store.counter();
  FieldList grown = withTitle("abcdefgh");
  EXPECT_EQ(cat.store.updateById(grown, 2), 2);
  EXPECT_EQ(walkIds(cat.store), (std::vector<int>{3, 2}));
  EXPECT_EQ(cat.store.counter(), counter);
  ASSERT_EQ(cat.store.findById(2), 2);
  EXPECT_EQ(cat.store.decodeCurrent().findField(327).text, "abcdefgh");
  std::vector<size_t> offsets = test::recordOffsets(cat.bytes());
  ASSERT_EQ(offsets.size(), 4u);
  EXPECT_EQ(test::intAt(cat.bytes(), offsets[1] + 8), 1);  // old copy flagged deleted
}

TEST(StoreUpdates, ShrinkingKeepsTheSizeAndWidensTheFirstTextField) {
  Catalogue cat;
  cat.add("abcdefg");
  cat.add("next");
  const auto sizeBefore = test::fileSize(cat.path());
  ASSERT_EQ(cat.store.findById(2), 2);
  const int blockBefore = cat.store.decodeCurrent().slots[0].blockLength;
  FieldList shrunk = cat.store.decodeCurrent();
  shrunk.slots[3].text = "a";
  shrunk.slots[3].dataLength = 1;
  shrunk.slots[3].blockLength = textBlockLength(1);
  EXPECT_EQ(cat.store.updateById(shrunk, 2), 2);
  EXPECT_EQ(test::fileSize(cat.path()), sizeBefore);
  ASSERT_EQ(cat.store.findById(2), 2);
  FieldList back = cat.store.decodeCurrent();
  EXPECT_EQ(back.slots[0].blockLength, blockBefore + 6);
  EXPECT_EQ(back.slots[0].text, "abcdefg.mp3");
  EXPECT_EQ(back.findField(327).text, "a");
  EXPECT_EQ(test::walkTitles(cat.store), (std::vector<std::string>{"a", "next"}));
}

TEST(StoreUpdates, ShrinkingARecordWithoutTextsMovesIt) {
  Catalogue cat;
  FieldList ints;
  ints.addInt(1, 1);
  ints.addInt(2, 2);
  ASSERT_EQ(cat.store.append(ints), 2);
  cat.add("next");
  FieldList fewer;
  fewer.addInt(1, 5);
  EXPECT_EQ(cat.store.updateById(fewer, 2), 2);
  EXPECT_EQ(walkIds(cat.store), (std::vector<int>{3, 2}));
  ASSERT_EQ(cat.store.findById(2), 2);
  EXPECT_EQ(cat.store.decodeCurrent().slots[0].value, 5);
}

TEST(StoreUpdates, UnknownIdChangesNothingAndKeepsTheWalk) {
  Catalogue cat;
  cat.add("a");
  cat.add("b");
  EXPECT_EQ(cat.store.first(), 2);
  EXPECT_EQ(cat.store.updateById(withTitle("z"), 77), 0);
  EXPECT_EQ(cat.store.decodeCurrent().findField(327).text, "a");
  EXPECT_EQ(cat.store.next(), 3);
}

TEST(StoreUpdates, RewritingDuringAWalkKeepsTheCursorAndItsRecord) {
  Catalogue cat;
  for (const char* title : {"a", "b", "c"}) cat.add(title);
  EXPECT_EQ(cat.store.first(), 2);
  EXPECT_EQ(cat.store.updateById(withTitle("B"), 3), 3);
  EXPECT_EQ(cat.store.decodeCurrent().findField(327).text, "a");
  EXPECT_EQ(cat.store.next(), 3);
  EXPECT_EQ(cat.store.decodeCurrent().findField(327).text, "B");
  EXPECT_EQ(cat.store.next(), 4);
  EXPECT_EQ(cat.store.next(), 0);
}

TEST(StoreUpdates, QueryWalkResumesAfterARewrite) {
  Catalogue cat;
  cat.add("a", 7);
  cat.add("b", 8);
  cat.add("c", 7);
  EXPECT_EQ(cat.store.findFirstMatching(intQuery(1200, 7)), 2);
  EXPECT_EQ(cat.store.updateById(withTitle("A"), 2), 2);
  EXPECT_EQ(cat.store.next(), 4);
}

}  // namespace
}  // namespace tuho
