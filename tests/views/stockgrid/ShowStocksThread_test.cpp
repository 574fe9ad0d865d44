// The fill thread on a bare cell store: it ends by itself, stops when told,
// and survives the grid letting go of it.
#include "views/stockgrid/GridTestSupport.h"

#include "platform/GridCellStore.h"
#include "platform/StopSignal.h"
#include "support/EventWait.h"
#include "views/stockgrid/ShowStocksThread.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ShowStocksThreadTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    StoreLast("AAA", 12.5, 12);
    StoreLast("BBB", 20, 21);
    index = PortfolioList.Add("Test", "TESTPORT", {Pos("AAA", 100, 10), Pos("BBB")});
    request = PortfolioRequest(index);
  }
  void TearDown() override {
    EXPECT_TRUE(PollUntil([] { return ShowStocksThread::RunningCount() == 0; }));
    GridTest::TearDown();
  }

  void Launch() {
    link->FillRunning = true;
    ShowStocksThread::Launch(request, std::make_unique<TStoreFillSink>(store, link), link);
  }

  int index = 0;
  TFillRequest request;
  std::shared_ptr<TGridCellStore> store = std::make_shared<TGridCellStore>(GridFieldCount, 2);
  std::shared_ptr<TFillLink> link = std::make_shared<TFillLink>();
};

TEST_F(ShowStocksThreadTest, FillsTheStoreAndEnds) {
  const int started = ShowStocksThread::StartedCount();
  Launch();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !link->FillRunning.load(); }));
  EXPECT_EQ(ShowStocksThread::StartedCount(), started + 1);
  EXPECT_EQ(store->Cell(0, 1), "AAA");
  EXPECT_EQ(store->Cell(0, 3), "TOTAL");
  EXPECT_EQ(store->Object(0, 3), 12000);
  EXPECT_EQ(store->RowCount(), 4);
}

TEST_F(ShowStocksThreadTest, StopGivesUpTheWaitForTheWindowThread) {
  Launch();
  // The window thread takes no calls: the pass waits for it at its end.
  ASSERT_TRUE(PollUntil([&] { return store->Cell(0, 3) == "TOTAL" && store->RowCount() == 4; }));
  link->RequestStop();
  EXPECT_TRUE(link->WaitIdle(10000));
  EXPECT_FALSE(link->FillRunning.load());
}

TEST_F(ShowStocksThreadTest, FillOutlivesTheGridLettingGoOfIt) {
  LockTimings t;
  t.retryIntervalMs = 1;
  t.giveUpTries = 1000000;
  t.deadlockTries = 2000000;
  MyCriticalSection::SetTimings(t);
  ASSERT_TRUE(PortListLock.Lock("TEST", false));
  const int running = ShowStocksThread::RunningCount();
  Launch();
  link->RequestStop();
  std::weak_ptr<TFillLink> weak = link;
  link.reset();
  store.reset();
  PortListLock.Unlock();
  EXPECT_TRUE(PollUntil([&] { return ShowStocksThread::RunningCount() == running; }));
  EXPECT_TRUE(PollUntil([&] { return weak.expired(); }));
  EXPECT_FALSE(IsKindPSymbol("TESTPORT")); // stopped before the recalculation
}

TEST_F(ShowStocksThreadTest, StopBeforeTheThreadStartsIsKept) {
  TFillLink fresh;
  fresh.RequestStop();
  auto signal = std::make_shared<TStopSignal>();
  fresh.SetStop(signal);
  EXPECT_TRUE(signal->Stopped());
}

} // namespace
