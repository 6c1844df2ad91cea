// The bytes of records and of new store files, and decoding them back.
#include <gtest/gtest.h>

#include <cstring>

#include "StoreFixtures.h"
#include "store/CatalogueStore.h"
#include "store/RecordCodec.h"
#include "store/SourceList.h"

namespace tuho {
namespace {

using test::appendInt;
using test::Bytes;

Bytes textBytes(const char* text) { return Bytes(text, text + std::strlen(text)); }

void appendText(Bytes& bytes, const char* text) {
  Bytes raw = textBytes(text);
  bytes.insert(bytes.end(), raw.begin(), raw.end());
}

void appendIntField(Bytes& bytes, int id, int value) {
  for (int word : {16, FIELD_INT, id, 4, value}) appendInt(bytes, word);
}

// The file head and the start of a header record, written out by hand.
Bytes expectedStoreStart(int headerRecordSize) {
  Bytes bytes = textBytes("BRAMBLEWARD DATABASE");
  bytes.insert(bytes.end(), {1, 0, 0});
  for (int word : {0, 1, headerRecordSize, 2, 0, 20, FIELD_TEXT, 100, 7}) appendInt(bytes, word);
  appendText(bytes, "Jukebin");
  bytes.push_back(0);
  appendIntField(bytes, 101, 1);
  appendIntField(bytes, 102, 0);
  return bytes;
}

FieldList decode(const Bytes& record) {
  FieldList list;
  EXPECT_EQ(decodeRecordBody(record.data() + kRecordHeadBytes, record.size() - kRecordHeadBytes, &list), kRecordWhole);
  return list;
}

TEST(FieldEncoding, TextBlockLengthIsTwelvePlusTheNextPowerOfTwo) {
  EXPECT_EQ(textBlockLength(0), 14);
  EXPECT_EQ(textBlockLength(1), 14);
  EXPECT_EQ(textBlockLength(2), 16);
  EXPECT_EQ(textBlockLength(3), 16);
  EXPECT_EQ(textBlockLength(7), 20);
  EXPECT_EQ(textBlockLength(8), 28);
  EXPECT_EQ(textBlockLength(200), 268);
  FieldList list;
  list.addInt(5, -3);
  EXPECT_EQ(list.slots[0].blockLength, 16);
  EXPECT_EQ(list.slots[0].dataLength, 4);
}

TEST(FieldEncoding, SizeCountsEveryBlockAndItsLengthWord) {
  FieldList list;
  list.computeSize();
  EXPECT_EQ(list.size, 8);
  list.addText(1, "abc");
  list.addInt(2, 9);
  list.computeSize();
  EXPECT_EQ(list.size, 8 + 20 + 20);
}

TEST(FieldEncoding, AFullListTakesNoSeventeenthField) {
  FieldList list;
  for (int i = 0; i < kMaxRecordFields; ++i) EXPECT_TRUE(list.addInt(i, i));
  EXPECT_FALSE(list.addText(99, "x"));
  EXPECT_EQ(list.count, kMaxRecordFields);
}

TEST(FieldEncoding, EmptyTextHasTwoPaddingBytesAndDecodesAsEmptyText) {
  FieldList list;
  list.addText(332, "");
  list.computeSize();
  Bytes expected;
  for (int word : {26, 0, 0, 14, FIELD_TEXT, 332, 0}) appendInt(expected, word);
  expected.insert(expected.end(), {0, 0});
  EXPECT_EQ(encodeRecordBytes(list), expected);
  FieldList back = decode(expected);
  ASSERT_EQ(back.count, 1);
  EXPECT_EQ(back.slots[0].type, FIELD_TEXT);
  EXPECT_EQ(back.slots[0].text, "");
}

TEST(FieldEncoding, SevenCharactersPadOneByteAndEightPadEight) {
  FieldList seven, eight;
  seven.addText(1, "Jukebin");
  eight.addText(1, "Jukebins");
  seven.computeSize();
  eight.computeSize();
  EXPECT_EQ(encodeRecordBytes(seven).size(), 12u + 16 + 7 + 1);
  EXPECT_EQ(encodeRecordBytes(eight).size(), 12u + 16 + 8 + 8);
  EXPECT_EQ(decode(encodeRecordBytes(eight)).slots[0].text, "Jukebins");
}

TEST(FieldEncoding, FindFieldTakesTheFirstWithTheIdOrAnEmptySlot) {
  FieldList list;
  list.addText(5, "first");
  list.addText(5, "second");
  EXPECT_EQ(list.findField(5).text, "first");
  FieldSlot missing = list.findField(6);
  EXPECT_EQ(missing.type, FIELD_NONE);
  EXPECT_EQ(missing.blockLength, 0);
  EXPECT_TRUE(missing.text.empty());
}

TEST(FieldEncoding, NewCatalogueFileIs147BytesAsLaidOut) {
  test::TempDir dir;
  RecordStore store;
  ASSERT_EQ(openCatalogueStore(store, catalogueStorePath(dir.path())), kOpenedNew);
  EXPECT_EQ(store.counter(), 1);
  EXPECT_EQ(store.headerRecord().id, 2);
  store.close();
  Bytes expected = expectedStoreStart(112);
  appendIntField(expected, 1000, 0);
  appendIntField(expected, 1001, 0);
  ASSERT_EQ(expected.size(), 147u);
  EXPECT_EQ(test::readBytes(dir.file("Tuho.dat")), expected);
}

TEST(FieldEncoding, NewSourceListFileIs127BytesAsLaidOut) {
  test::TempDir dir;
  SourceList sources;
  sources.load(dir.path());
  EXPECT_EQ(sources.count(), 0);
  Bytes expected = expectedStoreStart(92);
  appendIntField(expected, 1010, 0);
  ASSERT_EQ(expected.size(), 127u);
  EXPECT_EQ(test::readBytes(dir.file("Folders.dat")), expected);
}

void writeStepwise(File& file, const FieldList& record) {
  forEachWritePiece(record, [&](const WritePiece& piece) {
    Bytes bytes(piece.data, piece.data + piece.dataSize);
    bytes.resize(piece.size, 0);
    ASSERT_TRUE(file.write(bytes.data(), piece.size));
  });
}

// The store writes each record at once; the same records written step by
// step, one write per integer, text and padding run, give the same file.
TEST(FieldEncoding, OneWritePerRecordGivesTheBytesOfOneWritePerStep) {
  test::Catalogue cat;
  FieldList odd = test::trackRecord("title!");
  odd.slots[3].text = std::string("a\0b", 3);  // written back with its data length
  odd.slots[3].dataLength = 5;
  odd.slots[0].blockLength += 9;  // capacity gained by an earlier rewrite
  odd.computeSize();
  const std::vector<FieldList> records = {test::trackRecord("a"), odd, test::trackRecord("a longer title")};
  for (const FieldList& record : records) ASSERT_NE(cat.store.append(record), 0);
  ASSERT_EQ(cat.store.updateById(test::trackRecord(""), 2), 2);
  cat.store.close();

  const std::string stepwise = cat.dir.file("Stepwise.dat");
  const Bytes whole = cat.bytes();
  test::writeBytes(stepwise, Bytes(whole.begin(), whole.begin() + 147));
  File file;
  ASSERT_TRUE(file.open(stepwise, kAccessReadWrite, kShareNone, kOpenExisting));
  ASSERT_TRUE(file.seek(0, kSeekEnd));
  int id = 2;
  for (FieldList record : records) {
    record.id = id++;
    writeStepwise(file, record);
  }
  FieldList rewritten = test::trackRecord("");
  rewritten.id = 2;
  rewritten.slots[0].blockLength += static_cast<int>(recordSizeOf(records[0]) - recordSizeOf(rewritten));
  rewritten.computeSize();
  ASSERT_TRUE(file.seek(147, kSeekBegin));
  writeStepwise(file, rewritten);
  ASSERT_TRUE(file.seek(27, kSeekBegin));
  const uint8_t counter[4] = {4, 0, 0, 0};
  ASSERT_TRUE(file.write(counter, 4));
  file.close();
  EXPECT_EQ(test::readBytes(stepwise), whole);
}

TEST(FieldDecoding, TextStopsAtAZeroByteInsideItsData) {
  Bytes record;
  for (int word : {8 + 20, 4, 0, 16, FIELD_TEXT, 9, 4}) appendInt(record, word);
  record.insert(record.end(), {'a', 'b', 0, 'c'});
  EXPECT_EQ(decode(record).slots[0].text, "ab");
}

TEST(FieldDecoding, RecordOfSizeEightHasNoFields) {
  Bytes record;
  for (int word : {8, 4, 0}) appendInt(record, word);
  EXPECT_EQ(decode(record).count, 0);
}

TEST(FieldDecoding, EnlargedFirstTextBlockGivesTheSameTexts) {
  FieldList list = test::trackRecord("Song");
  FieldList enlarged = list;
  enlarged.slots[0].blockLength += 37;
  enlarged.computeSize();
  FieldList back = decode(encodeRecordBytes(enlarged));
  ASSERT_EQ(back.count, list.count);
  EXPECT_EQ(back.slots[0].blockLength, list.slots[0].blockLength + 37);
  for (int i = 0; i < list.count; ++i) {
    EXPECT_EQ(back.slots[i].text, list.slots[i].text);
    EXPECT_EQ(back.slots[i].value, list.slots[i].value);
  }
}

TEST(FieldDecoding, DecodedTextWithAZeroIsWrittenBackWithItsDataLength) {
  FieldList list;
  list.addText(1, "abcd");
  list.slots[0].text = "ab";  // as decoding gives "ab\0d"
  list.computeSize();
  Bytes bytes = encodeRecordBytes(list);
  EXPECT_EQ(bytes.size(), 12u + 16 + 8);
  EXPECT_EQ(test::intAt(bytes, 12 + 12), 4);
  EXPECT_EQ(decode(bytes).slots[0].text, "ab");
}

// Bodies that lie about their lengths are refused, never read past.
TEST(FieldDecoding, RefusesBlocksThatDoNotFitTheirRecord) {
  Bytes outside;
  for (int word : {100, FIELD_INT, 1, 4, 5}) appendInt(outside, word);
  EXPECT_EQ(decodeRecordBody(outside.data(), outside.size(), nullptr), kFieldOutsideRecord);

  Bytes tooShortBlock;
  for (int word : {8, FIELD_INT, 1}) appendInt(tooShortBlock, word);
  EXPECT_EQ(decodeRecordBody(tooShortBlock.data(), tooShortBlock.size(), nullptr), kFieldOutsideRecord);

  Bytes negativeBlock;
  for (int word : {-20, FIELD_INT, 1, 4, 5}) appendInt(negativeBlock, word);
  EXPECT_EQ(decodeRecordBody(negativeBlock.data(), negativeBlock.size(), nullptr), kFieldOutsideRecord);

  Bytes dataTooLong;
  for (int word : {16, FIELD_TEXT, 1, 5, 0}) appendInt(dataTooLong, word);
  EXPECT_EQ(decodeRecordBody(dataTooLong.data(), dataTooLong.size(), nullptr), kFieldDataTooLong);

  Bytes negativeData;
  for (int word : {16, FIELD_TEXT, 1, -1, 0}) appendInt(negativeData, word);
  EXPECT_EQ(decodeRecordBody(negativeData.data(), negativeData.size(), nullptr), kFieldDataTooLong);

  Bytes strayTail;
  for (int word : {16, FIELD_INT, 1, 4, 5}) appendInt(strayTail, word);
  strayTail.insert(strayTail.end(), {1, 2});
  EXPECT_EQ(decodeRecordBody(strayTail.data(), strayTail.size(), nullptr), kFieldOutsideRecord);
}

TEST(FieldDecoding, RefusesMoreThanSixteenFields) {
  Bytes body;
  for (int i = 0; i < 17; ++i) appendIntField(body, i, i);
  FieldList list;
  EXPECT_EQ(decodeRecordBody(body.data(), body.size(), &list), kTooManyFields);
  EXPECT_EQ(list.count, 0);
  body.resize(body.size() - 20);
  EXPECT_EQ(decodeRecordBody(body.data(), body.size(), &list), kRecordWhole);
  EXPECT_EQ(list.count, 16);
}

TEST(FieldDecoding, FieldOfAnotherTypeDecodesWithoutText) {
  Bytes body;
  for (int word : {16, 7, 44, 4}) appendInt(body, word);
  appendText(body, "abcd");
  FieldList list;
  ASSERT_EQ(decodeRecordBody(body.data(), body.size(), &list), kRecordWhole);
  EXPECT_EQ(list.slots[0].type, 7);
  EXPECT_TRUE(list.slots[0].text.empty());
}

}  // namespace
}  // namespace tuho
