#include "platform/Delay.h"
#include "platform/WindowThread.h"

#include <QTimer>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

using SteadyClock = std::chrono::steady_clock;

long long ElapsedMs(SteadyClock::time_point since) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - since).count();
}

TEST(Delay, OnTheWindowThreadProcessesEventsWhileWaiting) {
  bool posted = false;
  bool timer = false;
  PostToWindowThread([&] { posted = true; });
  QTimer::singleShot(0, [&] { timer = true; });
  const auto start = SteadyClock::now();
  Delay(20);
  EXPECT_GE(ElapsedMs(start), 20);
  EXPECT_TRUE(posted);
  EXPECT_TRUE(timer);
}

TEST(Delay, ZeroProcessesPendingEventsOnce) {
  bool posted = false;
  PostToWindowThread([&] { posted = true; });
  Delay(0);
  EXPECT_TRUE(posted);
}

TEST(Delay, OnAnotherThreadIsAPlainSleep) {
  long long elapsed = 0;
  std::thread t([&] {
    const auto start = SteadyClock::now();
    Delay(15);
    elapsed = ElapsedMs(start);
  });
  t.join();
  EXPECT_GE(elapsed, 15);
}

} // namespace
