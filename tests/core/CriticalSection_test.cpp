#include "core/CriticalSection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<int> g_pauses{0};
std::atomic<int> g_lastPauseMs{-1};
void CountingSleeper(int ms) {
  g_pauses++;
  g_lastPauseMs = ms;
}

std::mutex g_reportMutex;
std::vector<std::string> g_reports;
void RecordReport(const std::string &text) {
  std::lock_guard<std::mutex> l(g_reportMutex);
  g_reports.push_back(text);
}

class CriticalSectionTest : public ::testing::Test {
protected:
  void SetUp() override {
    LockTimings t;
    t.retryIntervalMs = 12;
    t.giveUpTries = 5;
    t.deadlockTries = 9;
    t.sleeper = CountingSleeper;
    MyCriticalSection::SetTimings(t);
    MyCriticalSection::SetDeadlockReporter(RecordReport);
    g_pauses = 0;
    g_lastPauseMs = -1;
    g_reports.clear();
  }
  void TearDown() override {
    MyCriticalSection::ResetTimings();
    MyCriticalSection::SetDeadlockReporter(nullptr);
  }
};

} // namespace

TEST_F(CriticalSectionTest, DefaultTimingsAreTwelveMsThreeHundredAndSevenHundred) {
  MyCriticalSection::ResetTimings();
  const LockTimings t = MyCriticalSection::Timings();
  EXPECT_EQ(t.retryIntervalMs, 12);
  EXPECT_EQ(t.giveUpTries, 300);
  EXPECT_EQ(t.deadlockTries, 700);
  EXPECT_EQ(t.sleeper, nullptr);
}

TEST_F(CriticalSectionTest, OwnerTagVisibleWhileHeldAndEmptyAfter) {
  MyCriticalSection cs("PORT");
  EXPECT_EQ(cs.Owner(), "EMPTY");
  ASSERT_TRUE(cs.Lock("RCLC", false));
  EXPECT_EQ(cs.Owner(), "RCLC");
  EXPECT_TRUE(cs.IsHeld());
  cs.Unlock();
  EXPECT_EQ(cs.Owner(), "EMPTY");
  EXPECT_FALSE(cs.IsHeld());
  EXPECT_EQ(g_pauses, 0);
}

TEST_F(CriticalSectionTest, NameIsCutToTwentyCharacters) {
  MyCriticalSection cs("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(cs.Name(), "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(CriticalSectionTest, GivesUpAfterTheGiveUpTriesWhenAllowed) {
  MyCriticalSection cs("UDST");
  ASSERT_TRUE(cs.Lock("FIRST", false));
  EXPECT_FALSE(cs.Lock("SECOND", true));
  // Five attempts, four pauses of the retry interval between them.
  EXPECT_EQ(g_pauses, 4);
  EXPECT_EQ(g_lastPauseMs, 12);
  EXPECT_TRUE(g_reports.empty());
  EXPECT_EQ(cs.Owner(), "FIRST");
  cs.Unlock();
}

TEST_F(CriticalSectionTest, ReportsDeadlockWithNameAndOwnerAndFails) {
  MyCriticalSection cs("STLIST");
  ASSERT_TRUE(cs.Lock("GLAST", false));
  EXPECT_FALSE(cs.Lock("GLST", false));
  EXPECT_EQ(g_pauses, 8);
  ASSERT_EQ(g_reports.size(), 1u);
  EXPECT_EQ(g_reports[0].rfind("DEADLOCK!", 0), 0u);
  EXPECT_NE(g_reports[0].find("STLIST"), std::string::npos);
  EXPECT_NE(g_reports[0].find("GLAST"), std::string::npos);
  // The holder keeps the lock.
  EXPECT_EQ(cs.Owner(), "GLAST");
  cs.Unlock();
}

TEST_F(CriticalSectionTest, IsNotReentrant) {
  MyCriticalSection cs("SPORT");
  ASSERT_TRUE(cs.Lock("A", false));
  EXPECT_FALSE(cs.Lock("A", true));
  EXPECT_FALSE(cs.Lock("B", false));
  EXPECT_EQ(g_reports.size(), 1u);
  cs.Unlock();
  EXPECT_TRUE(cs.Lock("B", false));
  cs.Unlock();
}

TEST_F(CriticalSectionTest, WaitsUntilAnotherThreadReleases) {
  MyCriticalSection cs("NEWS");
  LockTimings t = MyCriticalSection::Timings();
  t.sleeper = nullptr;
  t.retryIntervalMs = 1;
  t.deadlockTries = 1000000;
  MyCriticalSection::SetTimings(t);
  ASSERT_TRUE(cs.Lock("HOLDER", false));
  std::atomic<bool> taken{false};
  std::thread waiter([&] { taken = cs.Lock("WAITER", false); });
  cs.Unlock();
  waiter.join();
  EXPECT_TRUE(taken);
  EXPECT_EQ(cs.Owner(), "WAITER");
  cs.Unlock();
}

// A waiter takes the lock when it is released, not at its next retry: the
// window thread waiting on a lock a worker holds for microseconds must not
// sleep a whole interval. The interval here is longer than the test waits.
TEST_F(CriticalSectionTest, AWaiterTakesTheLockAtItsRelease) {
  MyCriticalSection cs("ALRT");
  LockTimings t = MyCriticalSection::Timings();
  t.sleeper = nullptr;
  t.retryIntervalMs = 60000;
  MyCriticalSection::SetTimings(t);
  ASSERT_TRUE(cs.Lock("HOLDER", false));
  std::promise<bool> taken;
  std::future<bool> result = taken.get_future();
  std::thread waiter([&] {
    const bool got = cs.Lock("WAITER", false);
    taken.set_value(got);
    if (got)
      cs.Unlock();
  });
  // Lets the waiter make its first attempt (no answer comes while the holder
  // holds); released earlier, the waiter takes the lock at once either way.
  EXPECT_EQ(result.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  cs.Unlock();
  const bool inTime = result.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  EXPECT_TRUE(inTime) << "the waiter slept through the release";
  waiter.join();
  if (inTime)
    EXPECT_TRUE(result.get());
}

TEST_F(CriticalSectionTest, UnlockOfAFreeLockKeepsItFree) {
  MyCriticalSection cs("X");
  cs.Unlock();
  EXPECT_EQ(cs.Owner(), "EMPTY");
  EXPECT_TRUE(cs.Lock("T", true));
  cs.Unlock();
}

TEST_F(CriticalSectionTest, GuardUnlocksOnlyWhatItTook) {
  MyCriticalSection cs("PORT");
  {
    MyLockGuard first(cs, "ONE");
    ASSERT_TRUE(first.Owns());
    {
      MyLockGuard second(cs, "TWO", true);
      EXPECT_FALSE(second.Owns());
    }
    // The failed guard must not have released the first one's lock.
    EXPECT_EQ(cs.Owner(), "ONE");
  }
  EXPECT_EQ(cs.Owner(), "EMPTY");
}

TEST_F(CriticalSectionTest, GuardEarlyUnlock) {
  MyCriticalSection cs("PORT");
  MyLockGuard guard(cs, "ONE");
  ASSERT_TRUE(guard);
  guard.Unlock();
  EXPECT_FALSE(guard.Owns());
  EXPECT_EQ(cs.Owner(), "EMPTY");
  ASSERT_TRUE(cs.Lock("OTHER", true));
  guard.Unlock(); // no effect on someone else's hold
  EXPECT_EQ(cs.Owner(), "OTHER");
  cs.Unlock();
}

TEST_F(CriticalSectionTest, ConcurrentCountersStayExact) {
  LockTimings t = MyCriticalSection::Timings();
  t.sleeper = nullptr;
  t.retryIntervalMs = 0;
  t.deadlockTries = 100000000;
  MyCriticalSection::SetTimings(t);
  MyCriticalSection cs("COUNT");
  int counter = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      for (int n = 0; n < 2000; ++n) {
        MyLockGuard g(cs, "INC");
        if (g.Owns())
          ++counter;
      }
    });
  for (auto &th : threads)
    th.join();
  EXPECT_EQ(counter, 8000);
  EXPECT_EQ(cs.Owner(), "EMPTY");
}
