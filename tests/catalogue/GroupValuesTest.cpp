#include <gtest/gtest.h>

#include "catalogue/GroupValues.h"

namespace tuho::test {
namespace {

TEST(GroupValues, AValueTurnsSomeReadyFromEitherSideAndKeepsItsFirstKind) {
  ValueList list;
  addGroupValue(list, "v", 1, 0);
  EXPECT_EQ(list.values[0].state, READY_ALL);
  addGroupValue(list, "v", 0, 0);
  EXPECT_EQ(list.values[0].state, READY_SOME);
  addGroupValue(list, "w", 0, 4);
  addGroupValue(list, "w", 1, 3);
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.values[1].state, READY_SOME);
  EXPECT_EQ(list.values[1].kind, 4);
}

// The walk's collector finds known values through a hash; it must give the
// list that adding the values one by one gives, order and states included.
TEST(GroupValues, CollectorGivesTheSameListInFirstSeenOrder) {
  const struct {
    const char* value;
    int ready;
    int kind;
  } tracks[] = {{"Rock", 1, 0}, {"rock", 0, 3}, {"Jazz", 0, 4}, {"Rock", 1, 4}, {"Jazz", 1, 0}, {"rock", 0, 0}};
  ValueList expected;
  GroupValueCollector collector;
  for (const auto& track : tracks) {
    addGroupValue(expected, track.value, track.ready, track.kind);
    collector.add(track.value, track.ready, track.kind);
  }
  ValueList collected = collector.take();
  ASSERT_EQ(collected.count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(collected.values[i].value, expected.values[i].value);
    EXPECT_EQ(collected.values[i].state, expected.values[i].state);
    EXPECT_EQ(collected.values[i].kind, expected.values[i].kind);
  }
}

}  // namespace
}  // namespace tuho::test
