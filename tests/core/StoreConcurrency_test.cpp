#include "StoreTestSupport.h"

#include "core/PortfolioCalc.h"

#include <atomic>
#include <thread>

namespace {

class StoreConcurrencyTest : public StoreTest {
protected:
  void SetUp() override {
    StoreTest::SetUp();
    // Contended locks retry without pausing and never give up in this test.
    LockTimings t;
    t.retryIntervalMs = 0;
    t.giveUpTries = 10000000;
    t.deadlockTries = 20000000;
    MyCriticalSection::SetTimings(t);
    SetNewsLockTimings(NewsLockTimings{10000000, 0});
  }
};

TEST_F(StoreConcurrencyTest, WritersAndReadersOnOtherThreads) {
  constexpr int kSymbols = 40;
  constexpr int kRounds = 25;
  std::vector<PortPosition> positions;
  for (int s = 0; s < kSymbols; ++s) {
    PortPosition p;
    p.Symbol = "S" + std::to_string(s);
    p.Quantity = 10;
    positions.push_back(p);
  }
  const int port = PortfolioList.Add("All", "ALL", positions);

  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int r = 0; r < kRounds; ++r)
      for (int s = 0; s < kSymbols; ++s) {
        const std::string symbol = "S" + std::to_string(s);
        StoreQuote(symbol, Quote(10 + r, 9 + r, 11 + r, 10));
        IncomingNews n;
        n.Title = "Item " + std::to_string(r);
        n.Source = "Wire";
        n.Link = "L" + std::to_string(r);
        n.Date = 45301 + r * 0.001;
        AddNews(symbol, n, {});
      }
    done = true;
  });
  std::thread quoteReader([&] {
    QuoteData q;
    while (!done)
      for (int s = 0; s < kSymbols; ++s) {
        GetLast1("S" + std::to_string(s), q);
        TDateTime check, newest;
        GetNewNews("|" + std::to_string(s), check, newest);
      }
  });
  std::thread newsReader([&] {
    int number = 1;
    while (!done) {
      GetNewsItems("S1");
      MarkNewsRead(number++ % kRounds + 1, true);
    }
  });
  std::thread portfolio([&] {
    while (!done) {
      MyLockGuard guard(PortListLock, "SRES", false);
      RecalcPortfolio(port);
    }
  });
  writer.join();
  quoteReader.join();
  newsReader.join();
  portfolio.join();

  for (int s = 0; s < kSymbols; ++s) {
    StockInfoType *rec = StockList.Find("S" + std::to_string(s));
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->Ticks.CountNoLock(), kRounds);
    EXPECT_EQ(rec->News.CountNoLock(), kRounds);
  }
  MyLockGuard guard(PortListLock, "TEST", false);
  ASSERT_TRUE(RecalcPortfolio(port));
  EXPECT_DOUBLE_EQ(PortfolioList[port].Value[0], kSymbols * 10.0 * (10 + kRounds - 1));
}

} // namespace
