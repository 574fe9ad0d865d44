#include "acquisition/UpdatedSymbols.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

class UpdatedSymbolsTest : public ::testing::Test {
protected:
  void SetUp() override {
    LockTimings t;
    t.retryIntervalMs = 0;
    t.giveUpTries = 3;
    t.deadlockTries = 5;
    MyCriticalSection::SetTimings(t);
    ClearUpdatedSymbolSets();
  }
  void TearDown() override {
    ClearUpdatedSymbolSets();
    MyCriticalSection::ResetTimings();
  }
};

TEST_F(UpdatedSymbolsTest, MarksOnceAndTakesAndEmpties) {
  EXPECT_TRUE(MarkSymbolUpdated(usAlerts, "IBM"));
  EXPECT_TRUE(MarkSymbolUpdated(usAlerts, "MSFT"));
  EXPECT_TRUE(MarkSymbolUpdated(usAlerts, "IBM"));
  EXPECT_TRUE(MarkSymbolUpdated(usMainGrid, "IBM"));
  EXPECT_TRUE(UpdatedSymbolSets.MayHaveSymbols(usAlerts));
  EXPECT_FALSE(UpdatedSymbolSets.MayHaveSymbols(usTicker));

  std::string text;
  EXPECT_TRUE(TakeUpdatedSymbols(usAlerts, text, "ALRTS"));
  EXPECT_EQ(text, "|IBM||MSFT|");
  EXPECT_FALSE(UpdatedSymbolSets.MayHaveSymbols(usAlerts));
  EXPECT_TRUE(TakeUpdatedSymbols(usAlerts, text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(TakeUpdatedSymbolList(usMainGrid), std::vector<std::string>{"IBM"});
  EXPECT_TRUE(TakeUpdatedSymbolList(usMainGrid).empty());
}

TEST_F(UpdatedSymbolsTest, TextWrittenDirectlyIsWhatTheNextMarkSees) {
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 3000; ++i)
      MarkSymbolUpdated(usTicker, "S" + std::to_string(i));
  EXPECT_EQ(TakeUpdatedSymbolList(usTicker).size(), 3000u);

  MarkSymbolUpdated(usTicker, "IBM");
  {
    MyLockGuard guard(UpdatedSymbolSets.Lock, "TEST");
    UpdatedSymbolSets.Text(usTicker) = "|MSFT|";
    UpdatedSymbolSets.Changed(usTicker);
  }
  MarkSymbolUpdated(usTicker, "MSFT");
  MarkSymbolUpdated(usTicker, "IBM");
  std::string text;
  EXPECT_TRUE(TakeUpdatedSymbols(usTicker, text));
  EXPECT_EQ(text, "|MSFT||IBM|");
}

TEST_F(UpdatedSymbolsTest, SymbolContainedInAnotherIsStillAdded) {
  MarkSymbolUpdated(usTicker, "IBMX");
  MarkSymbolUpdated(usTicker, "IBM");
  EXPECT_EQ(TakeUpdatedSymbolList(usTicker), (std::vector<std::string>{"IBMX", "IBM"}));
}

TEST_F(UpdatedSymbolsTest, RefusesUnknownSetsAndBadSymbols) {
  EXPECT_FALSE(MarkSymbolUpdated(0, "IBM"));
  EXPECT_FALSE(MarkSymbolUpdated(UpdatedSetCount + 1, "IBM"));
  EXPECT_FALSE(MarkSymbolUpdated(usAlerts, ""));
  EXPECT_FALSE(MarkSymbolUpdated(usAlerts, "A|B"));
  std::string text = "x";
  EXPECT_FALSE(TakeUpdatedSymbols(9, text));
  EXPECT_EQ(text, "");
  EXPECT_THROW(UpdatedSymbolSets.Text(0), std::out_of_range);
}

TEST_F(UpdatedSymbolsTest, BusyLockGivesUpAndAddsNothing) {
  ASSERT_TRUE(UpdatedSymbolSets.Lock.Lock("NEWS", false));
  EXPECT_FALSE(MarkSymbolUpdated(usNewsWindow, "IBM"));
  std::string text;
  EXPECT_FALSE(TakeUpdatedSymbols(usNewsWindow, text));
  EXPECT_EQ(UpdatedSymbolSets.Lock.Owner(), "NEWS") << "a lock not taken is not released";
  EXPECT_EQ(UpdatedSymbolSets.Text(usNewsWindow), "");
  UpdatedSymbolSets.Lock.Unlock();
  EXPECT_TRUE(TakeUpdatedSymbols(usNewsWindow, text));
  EXPECT_EQ(text, "");
}

TEST(ParseUpdatedSymbolsTest, Texts) {
  EXPECT_EQ(ParseUpdatedSymbols("|A||BB||C.D|"), (std::vector<std::string>{"A", "BB", "C.D"}));
  EXPECT_TRUE(ParseUpdatedSymbols("").empty());
  EXPECT_EQ(ParseUpdatedSymbols("A|B"), (std::vector<std::string>{"A", "B"}));
}

TEST(UpdatedSymbolsConcurrencyTest, ConcurrentWritersAndAReaderLoseNothing) {
  // Real retry timings, short enough that no writer gives up in practice.
  LockTimings t;
  t.retryIntervalMs = 0;
  t.giveUpTries = 1000000;
  t.deadlockTries = 2000000;
  MyCriticalSection::SetTimings(t);
  ClearUpdatedSymbolSets();

  constexpr int kWriters = 6;
  constexpr int kSymbols = 150;
  std::atomic<int> running{kWriters};
  std::atomic<int> failures{0};
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w)
    writers.emplace_back([w, &running, &failures] {
      // Every writer marks every symbol, in its own order, in two sets.
      for (int i = 0; i < kSymbols; ++i) {
        const int n = (i * 7 + w * 13) % kSymbols;
        if (!MarkSymbolUpdated(usAlerts, "S" + std::to_string(n)))
          ++failures;
        if (!MarkSymbolUpdated(usMainGrid, "S" + std::to_string(n)))
          ++failures;
      }
      --running;
    });

  // The reader takes set 5 while the writers run; set 1 is taken at the end.
  std::vector<std::string> taken;
  while (running.load() > 0) {
    auto part = TakeUpdatedSymbolList(usAlerts, "ALRTS");
    taken.insert(taken.end(), part.begin(), part.end());
    std::this_thread::yield();
  }
  for (auto &th : writers)
    th.join();
  auto rest = TakeUpdatedSymbolList(usAlerts, "ALRTS");
  taken.insert(taken.end(), rest.begin(), rest.end());

  EXPECT_EQ(failures.load(), 0);
  const std::set<std::string> distinct(taken.begin(), taken.end());
  EXPECT_EQ(distinct.size(), std::size_t(kSymbols));

  const auto grid = TakeUpdatedSymbolList(usMainGrid);
  EXPECT_EQ(grid.size(), std::size_t(kSymbols)) << "no duplicates within one set";
  EXPECT_EQ(std::set<std::string>(grid.begin(), grid.end()).size(), std::size_t(kSymbols));
  MyCriticalSection::ResetTimings();
}

} // namespace
