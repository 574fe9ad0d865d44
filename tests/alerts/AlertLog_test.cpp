#include "alerts/AlertLog.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

class AlertLogTest : public ::testing::Test {
protected:
  void SetUp() override {
    clock.SetUtc(45296.5); // 12:00:00
    SetAppClock(&clock);
    ClearAlertLog();
  }
  void TearDown() override { SetAppClock(nullptr); }
  FakeClock clock;
};

TEST_F(AlertLogTest, LinesCarryTheTimeOfDay) {
  clock.AdvanceMs(((1 * 60) + 2) * 1000 + 3 * 3600 * 1000); // 15:01:02
  AddAlertLogLine("--- Mailer Thread Started");
  const auto lines = AlertLogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "15:01:02 --- Mailer Thread Started");
}

TEST_F(AlertLogTest, ClearingLeavesOneLine) {
  AddAlertLogLine("a");
  AddAlertLogLine("b");
  ClearAlertLog();
  const auto lines = AlertLogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "12:00:00 --- Log Cleared");
}

TEST_F(AlertLogTest, LinesFromAnIndex) {
  AddAlertLogLine("a");
  AddAlertLogLine("b");
  EXPECT_EQ(AlertLogLinesFrom(1), (std::vector<std::string>{"12:00:00 a", "12:00:00 b"}));
  EXPECT_TRUE(AlertLogLinesFrom(3).empty());
  // A window that still shows more lines than the log (cleared elsewhere) gets nothing.
  EXPECT_TRUE(AlertLogLinesFrom(10).empty());
}

TEST_F(AlertLogTest, WritersOnSeveralThreads) {
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t)
    writers.emplace_back([] {
      for (int i = 0; i < 250; ++i)
        AddAlertLogLine("x");
    });
  for (auto &w : writers)
    w.join();
  EXPECT_EQ(AlertLogCount(), 1001u);
}

} // namespace
