#include "platform/StopSignal.h"
#include "platform/UncaughtError.h"
#include "platform/WindowThread.h"

#include "support/EventWait.h"

#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

TEST(WindowThread, KnowsWhichThreadIsTheWindowThread) {
  EXPECT_TRUE(IsWindowThread());
  bool other = true;
  std::thread t([&] { other = IsWindowThread(); });
  t.join();
  EXPECT_FALSE(other);
}

TEST(WindowThread, PostedCallsRunInTheOrderPosted) {
  std::vector<int> order; // window thread only
  std::thread t([&] {
    for (int i = 0; i < 50; ++i)
      PostToWindowThread([&order, i] { order.push_back(i); });
  });
  t.join();
  ASSERT_TRUE(ProcessEventsUntil([&] { return order.size() == 50; }));
  for (int i = 0; i < 50; ++i)
    EXPECT_EQ(order[std::size_t(i)], i);
}

// A call that runs an event loop of its own (a modal dialog, Delay) must not hold up
// the calls behind it.
TEST(WindowThread, CallsBehindACallWithANestedLoopStillRun) {
  bool second = false;
  bool secondRanInsideFirst = false;
  PostToWindowThread([&] { secondRanInsideFirst = ProcessEventsUntil([&] { return second; }); });
  PostToWindowThread([&] { second = true; });
  ASSERT_TRUE(ProcessEventsUntil([&] { return second; }));
  EXPECT_TRUE(secondRanInsideFirst);
}

TEST(WindowThread, AnExceptionInAPostedCallIsReportedAndGoesNoFurther) {
  std::vector<std::string> reported;
  SetUncaughtErrorHandler([&](const std::string &m) { reported.push_back(m); });
  bool after = false;
  PostToWindowThread([] { throw std::runtime_error("grid gone"); });
  PostToWindowThread([&] { after = true; });
  const bool done = ProcessEventsUntil([&] { return after; });
  SetUncaughtErrorHandler(nullptr);
  ASSERT_TRUE(done);
  EXPECT_EQ(reported,
            std::vector<std::string>{"Exception in a call on the window thread: grid gone"});
}

TEST(WindowThread, RunOnWindowThreadFromTheWindowThreadRunsAtOnce) {
  bool ran = false;
  EXPECT_TRUE(RunOnWindowThread([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST(WindowThread, RunOnWindowThreadWaitsForTheCall) {
  std::atomic<int> result{-1};
  bool ran = false;
  std::atomic<bool> finished{false};
  std::thread t([&] {
    result = RunOnWindowThread([&] { ran = true; }) ? 1 : 0;
    finished = true;
  });
  EXPECT_TRUE(ProcessEventsUntil([&] { return finished.load(); }));
  t.join();
  EXPECT_EQ(result.load(), 1);
  EXPECT_TRUE(ran);
}

TEST(WindowThread, RunOnWindowThreadGivesUpWhenStopped) {
  auto stop = std::make_shared<TStopSignal>();
  stop->Stop();
  bool ran = false;
  bool result = true;
  std::thread t([&] { result = RunOnWindowThread([&] { ran = true; }, stop); });
  t.join();
  QCoreApplication::processEvents();
  EXPECT_FALSE(result);
  EXPECT_FALSE(ran);
}

TEST(WindowThread, ACallToADestroyedContextIsDropped) {
  auto context = std::make_unique<QObject>();
  bool ran = false;
  bool after = false;
  PostToWindowThread(context.get(), [&] { ran = true; });
  PostToWindowThread([&] { after = true; });
  context.reset();
  ASSERT_TRUE(ProcessEventsUntil([&] { return after; }));
  EXPECT_FALSE(ran);
}

} // namespace
