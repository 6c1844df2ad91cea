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

}  // namespace
}  // namespace tuho::test
