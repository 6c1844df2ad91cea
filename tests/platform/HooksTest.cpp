// The test hooks themselves: the fault plan and the alert sink that every
// error-path test above the platform layer relies on.
#include <gtest/gtest.h>

#include "platform/Alert.h"
#include "platform/FaultPlan.h"
#include "platform/File.h"
#include "platform/Win32Error.h"
#include "support/TestFiles.h"

namespace tuho {
namespace {

TEST(FaultPlan, FailsExactlyTheNthOperationWithItsCode) {
  test::TempDir dir;
  File file;
  ASSERT_TRUE(file.open(dir.file("f"), kAccessReadWrite, kShareReadWrite, kCreateAlways));
  FaultPlan plan;
  plan.fail(kFaultWrite, 2, kErrDiskFull);
  EXPECT_TRUE(file.write("a", 1));
  EXPECT_FALSE(file.write("b", 1));
  EXPECT_EQ(lastError(), kErrDiskFull);
  EXPECT_TRUE(file.write("c", 1));
  EXPECT_EQ(plan.seen(kFaultWrite), 3);
}

TEST(FaultPlan, AndAfterKeepsFailing) {
  test::TempDir dir;
  FaultPlan plan;
  plan.fail(kFaultOpen, 1, kErrSharingViolation, true);
  File file;
  EXPECT_FALSE(file.open(dir.file("f"), kAccessRead, kShareRead, kOpenAlways));
  EXPECT_FALSE(file.open(dir.file("f"), kAccessRead, kShareRead, kOpenAlways));
  EXPECT_EQ(lastError(), kErrSharingViolation);
}

TEST(FaultPlan, GoneWhenItsScopeEnds) {
  test::TempDir dir;
  {
    FaultPlan plan;
    plan.fail(kFaultOpen, 1, kErrAccessDenied, true);
  }
  File file;
  EXPECT_TRUE(file.open(dir.file("f"), kAccessRead, kShareRead, kOpenAlways));
}

TEST(AlertSink, RecordsBoxesAndGivesTheSafeAnswer) {
  AlertSink sink;
  EXPECT_EQ(alert("text", "Caption"), kAnswerOk);
  EXPECT_EQ(alert("again?", "Caption", kAlertRetryCancel), kAnswerCancel);
  ASSERT_EQ(sink.count(), 2u);
  EXPECT_EQ(sink.records()[0].text, "text");
  EXPECT_EQ(sink.captions(), (std::vector<std::string>{"Caption", "Caption"}));
}

TEST(AlertSink, AnswersAsTheTestChooses) {
  AlertSink sink;
  int asked = 0;
  sink.answer = [&](const AlertRecord&) { return ++asked < 3 ? kAnswerRetry : kAnswerCancel; };
  EXPECT_EQ(alert("a", "b", kAlertRetryCancel), kAnswerRetry);
  EXPECT_EQ(alert("a", "b", kAlertRetryCancel), kAnswerRetry);
  EXPECT_EQ(alert("a", "b", kAlertRetryCancel), kAnswerCancel);
}

TEST(AlertSink, InnerSinkTakesBoxesUntilItEnds) {
  AlertSink outer;
  {
    AlertSink inner;
    alert("x", "inner");
    EXPECT_EQ(inner.count(), 1u);
  }
  alert("y", "outer");
  EXPECT_EQ(outer.captions(), std::vector<std::string>{"outer"});
}

}  // namespace
}  // namespace tuho
