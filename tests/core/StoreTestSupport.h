#pragma once
// Fresh market-data store, portfolio list and lock timings for each test.
#include "core/CriticalSection.h"
#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/MarketTime.h"
#include "core/NewsStore.h"
#include "core/Portfolio.h"
#include "core/StockStore.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

class StoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetAppClock(&clock);
    // Busy locks give up at once instead of after seconds.
    LockTimings t;
    t.retryIntervalMs = 0;
    t.giveUpTries = 3;
    t.deadlockTries = 5;
    MyCriticalSection::SetTimings(t);
    MyCriticalSection::SetDeadlockReporter([](const std::string &) {});
    SetNewsLockTimings(NewsLockTimings{3, 0});
    SetDisplaySettings(TDisplaySettings());
    SetErrorReportSink([this](const std::string &message, const std::string &place) {
      reports.emplace_back(message, place);
    });
    ResetStockStore();
    PortfolioList.Clear();
  }
  void TearDown() override {
    ResetStockStore();
    PortfolioList.Clear();
    SetErrorReportSink({});
    SetDisplaySettings(TDisplaySettings());
    SetNewsLockTimings(NewsLockTimings());
    MyCriticalSection::SetDeadlockReporter(nullptr);
    MyCriticalSection::ResetTimings();
    SetAppClock(nullptr);
  }

  // A quote with the given prices, stamped 2024-01-10 (45301) at 10:30.
  static QuoteFields Quote(double last, double bid, double ask, double prevClose) {
    QuoteFields q;
    q.Last = last;
    q.Bid = bid;
    q.Ask = ask;
    q.PrevClose = prevClose;
    q.High = last;
    q.Low = last;
    q.QuoteTime = 10.5 / 24;
    q.DayStamp = 45301;
    return q;
  }

  FakeClock clock{45301.5};
  std::vector<std::pair<std::string, std::string>> reports;
};
