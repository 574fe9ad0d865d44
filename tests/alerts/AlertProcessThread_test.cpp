#include "AlertPassFixture.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertProcessThread.h"
#include "alerts/AlertsModule.h"
#include "platform/WindowFlash.h"

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

namespace {

using Ms = std::chrono::milliseconds;

// Waits for a condition, up to a deadline; with pump the window thread's
// posted calls run meanwhile.
bool WaitUntil(const std::function<bool()> &done, bool pump, int deadlineMs = 10000) {
  const auto end = std::chrono::steady_clock::now() + Ms(deadlineMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end)
      return false;
    if (pump)
      QCoreApplication::processEvents();
    std::this_thread::sleep_for(Ms(1));
  }
  return true;
}

class AlertThread : public AlertPassFixture {
protected:
  void SetUp() override {
    AlertPassFixture::SetUp();
    SetAppWindowFlash(&flash);
    ResetAlertFlashToggle();
  }
  void TearDown() override {
    QCoreApplication::processEvents(); // posted flash steps of stopped threads
    SetAppWindowFlash(nullptr);
    AlertPassFixture::TearDown();
  }
  FakeWindowFlash flash;
};

TEST_F(AlertThread, QueuesTriggeredAlertsWithoutTheWindowThread) {
  Tick("IBM", 11);
  const std::string id = Add(Alert("IBM", 0, 10, 1.0, 1.0));
  Tick("IBM", 9);
  MarkSymbolUpdated(usAlerts, "IBM");

  TAlertProcessThread thread(store, queue, AlertProcessTimings{0, 2});
  thread.Start();
  // This (window) thread runs no events while it waits: the pass must not need it.
  EXPECT_TRUE(WaitUntil([&] { return queue.Count() == 1; }, false));
  EXPECT_EQ(queue.IDs(), std::vector<std::string>{id});
  EXPECT_TRUE(AlertThreadRunning);
  thread.Terminate();
  EXPECT_TRUE(thread.WaitFor(5000));
  EXPECT_FALSE(AlertThreadRunning);
  EXPECT_EQ(Stored(id).LastAlertTime, clock.Now());
  EXPECT_EQ(TakeUpdatedSymbolList(usAlerts), std::vector<std::string>{}) << "set 5 was taken";

  const std::vector<std::string> lines = AlertLogLines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string &l) {
    return l.find("--- Alert Thread Started") != std::string::npos;
  }));
}

TEST_F(AlertThread, EveryPassPostsAFlashStep) {
  Tick("IBM", 20);
  auto a = Alert("IBM", 0, 10, 1.0, 1.0);
  a->ActiveActions.Include(ActionFlashWindow);
  Add(std::move(a));

  TAlertProcessThread thread(store, queue, AlertProcessTimings{0, 2});
  thread.Start();
  ASSERT_TRUE(thread.WaitForPasses(2, 10000));
  ASSERT_TRUE(WaitUntil([&] { return !flash.Calls().empty(); }, true));
  for (bool invert : flash.Calls())
    EXPECT_FALSE(invert) << "no quote for the flashing alert: the window is put back";

  flash.Clear();
  MarkSymbolUpdated(usAlerts, "IBM");
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto calls = flash.Calls();
        return std::find(calls.begin(), calls.end(), true) != calls.end();
      },
      true));
  thread.Terminate();
  EXPECT_TRUE(thread.WaitFor(5000));
}

TEST_F(AlertThread, StopDuringTheStartDelay) {
  TAlertProcessThread thread(store, queue, AlertProcessTimings{600000, 1000});
  thread.Start();
  ASSERT_TRUE(WaitUntil([] { return AlertThreadRunning.load(); }, false));
  thread.Terminate();
  EXPECT_TRUE(thread.WaitFor(5000));
  EXPECT_EQ(thread.PassCount(), 0);
  EXPECT_FALSE(AlertThreadRunning);
}

TEST_F(AlertThread, FlashStepBlinksWhileOnAndPutsTheWindowBack) {
  AlertFlashStep(true);
  AlertFlashStep(true);
  AlertFlashStep(true);
  AlertFlashStep(false);
  AlertFlashStep(true);
  EXPECT_EQ(flash.Calls(), (std::vector<bool>{true, false, true, false, false}));
}

TEST(PendingAlertQueue, HoldsThirtyInOrderAndTakesFromTheFront) {
  TPendingAlertQueue q;
  for (int i = 0; i < 30; ++i)
    EXPECT_TRUE(q.Push("ID" + std::to_string(100 + i)));
  EXPECT_FALSE(q.Push("LATE"));
  EXPECT_EQ(q.Count(), 30);
  std::string id;
  ASSERT_TRUE(q.TakeFirst(id));
  EXPECT_EQ(id, "ID100");
  q.PutBack(id);
  EXPECT_EQ(q.IDs().front(), "ID100");
  q.Clear();
  EXPECT_FALSE(q.TakeFirst(id));
  EXPECT_TRUE(q.Push("ABCDEFGH"));
  EXPECT_EQ(q.IDs(), std::vector<std::string>{"ABCDEF"});
}

} // namespace
