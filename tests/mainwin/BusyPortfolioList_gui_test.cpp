// A portfolio chosen while another thread holds the portfolio list longer
// than the window waits for it: the grid keeps the shown portfolio whole, and
// the next heartbeat shows the chosen one.
#include "mainwin/ProgramWindowTest.h"

#include "core/CriticalSection.h"
#include "core/Portfolio.h"

#include <QComboBox>

#include <atomic>
#include <thread>

namespace {

class BusyPortfolioListTest : public ProgramWindowTest {
protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    LockTimings locks; // the window gives up after about 20 ms
    locks.retryIntervalMs = 1;
    locks.giveUpTries = 20;
    MyCriticalSection::SetTimings(locks);
  }
  void TearDown() override {
    Release();
    ProgramWindowTest::TearDown();
    MyCriticalSection::SetTimings(LockTimings());
  }

  // Another thread takes the portfolio list and holds it until Release.
  void Hold() {
    m_holder = std::thread([this] {
      MyLockGuard guard(PortListLock, "HOLD");
      m_held = true;
      while (!m_release)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    ASSERT_TRUE(PollUntil([this] { return m_held.load(); }));
  }
  void Release() {
    m_release = true;
    if (m_holder.joinable())
      m_holder.join();
  }

  std::thread m_holder;
  std::atomic<bool> m_held{false};
  std::atomic<bool> m_release{false};
};

TEST_F(BusyPortfolioListTest, APortfolioChosenWhileTheListIsBusyIsShownAtTheNextHeartbeat) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  ASSERT_TRUE(Heartbeat());
  ASSERT_EQ(SymbolsShown(2), (std::vector<std::string>{"AAPL", "MSFT"}));

  Hold();
  form->cbPortfolio->setCurrentIndex(1); // Income, as the user picks it
  // The list stayed busy: the shown portfolio stays, rows and totals alike.
  EXPECT_EQ(CurrentPortfolio.load(), 1);
  EXPECT_EQ(grid->PortfolioIndex, 1);
  EXPECT_EQ(SymbolsShown(2), (std::vector<std::string>{"AAPL", "MSFT"}));
  // Still busy at a heartbeat: asked again, shown later.
  form->Timer2Timer();
  EXPECT_EQ(CurrentPortfolio.load(), 1);
  Release();

  ASSERT_TRUE(Heartbeat());
  EXPECT_EQ(CurrentPortfolio.load(), 2);
  ASSERT_TRUE(ProcessEventsUntil([&] { return RowOf("JNJ") == 1 && RowOf("AAPL") < 0; }))
      << grid->Cells(0, 1);
  EXPECT_EQ(SymbolsShown(3), (std::vector<std::string>{"JNJ", "PG", "KO"}));
  EXPECT_EQ(form->cbPortfolio->currentIndex(), 1);
  // Shown once: later heartbeats leave it alone.
  ASSERT_TRUE(Heartbeat());
  EXPECT_EQ(RowOf("JNJ"), 1);
  SavePicture("busy_portfolio_list.png");
}

} // namespace
