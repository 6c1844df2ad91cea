#include <gtest/gtest.h>

#include "catalogue/GroupValues.h"
#include "catalogue/TextPool.h"

namespace tuho::test {
namespace {

TEST(GroupValues, AValueTurnsSomeReadyFromEitherSideAndKeepsItsFirstKind) {
  ValueList list;
  addGroupValue(list, "v", 1, MediaType::kLocalFolder);
  EXPECT_EQ(list.values[0].state, ReadyState::kAll);
  addGroupValue(list, "v", 0, MediaType::kLocalFolder);
  EXPECT_EQ(list.values[0].state, ReadyState::kSome);
  addGroupValue(list, "w", 0, MediaType::kRewritable);
  addGroupValue(list, "w", 1, MediaType::kWriteOnce);
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.values[1].state, ReadyState::kSome);
  EXPECT_EQ(list.values[1].kind, MediaType::kRewritable);
}

// The collectors find known values through a hash or by their pool number;
// each must give the list that adding the values one by one gives, order and
// states included.
TEST(GroupValues, CollectorGivesTheSameListInFirstSeenOrder) {
  const struct {
    const char* value;
    int ready;
    MediaType kind;
  } tracks[] = {{"Rock", 1, MediaType::kLocalFolder}, {"rock", 0, MediaType::kWriteOnce},
                {"Jazz", 0, MediaType::kRewritable},  {"Rock", 1, MediaType::kRewritable},
                {"Jazz", 1, MediaType::kLocalFolder}, {"rock", 0, MediaType::kLocalFolder}};
  ValueList expected;
  GroupValueCollector byText, byNumber;
  TextPool pool;
  pool.intern("Pop");  // numbers need not start at the first value
  for (const auto& track : tracks) {
    addGroupValue(expected, track.value, track.ready, track.kind);
    byText.add(track.value, track.ready, track.kind);
    byNumber.addNumbered(pool.intern(track.value), track.value, track.ready, track.kind);
  }
  for (ValueList collected : {byText.take(), byNumber.take()}) {
    ASSERT_EQ(collected.count(), 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(collected.values[i].value, expected.values[i].value);
      EXPECT_EQ(collected.values[i].state, expected.values[i].state);
      EXPECT_EQ(collected.values[i].kind, expected.values[i].kind);
    }
  }
}

// Through many growths of its table, every text keeps its number and is
// found again exactly: case, the empty text and embedded zero bytes count.
TEST(GroupValues, TextPoolKeepsEachTextOnceUnderItsFirstNumber) {
  TextPool pool;
  std::vector<std::string> texts = {"", std::string("a\0b", 3), std::string("a\0c", 3), "Rock", "rock"};
  for (int i = 0; i < 20000; ++i) texts.push_back("Album " + std::to_string(i));
  for (size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(pool.intern(texts[i]), i) << i;
  for (size_t i = 0; i < texts.size(); i += 7) ASSERT_EQ(pool.intern(texts[i]), i) << i;
  ASSERT_EQ(pool.size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(pool.text(static_cast<uint32_t>(i)), texts[i]);
    ASSERT_EQ(pool.find(texts[i]), std::optional<uint32_t>(static_cast<uint32_t>(i)));
  }
  EXPECT_FALSE(pool.find("Album 20000"));
  pool.clear();
  EXPECT_FALSE(pool.find("Rock"));
  EXPECT_EQ(pool.intern("Jazz"), 0u);
}

}  // namespace
}  // namespace tuho::test
