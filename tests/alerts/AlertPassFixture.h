#pragma once
// Shared set-up of the evaluation and activation tests: a fresh alert store,
// market-data store and pending queue on a fake clock.
#include "acquisition/UpdatedSymbols.h"
#include "alerts/AlertEvaluation.h"
#include "alerts/AlertLog.h"
#include "alerts/AlertRecord.h"
#include "alerts/AlertSystem.h"
#include "alerts/PendingAlertQueue.h"
#include "core/AlertDefaults.h"
#include "core/CriticalSection.h"
#include "core/NewsStore.h"
#include "core/StockStore.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class AlertPassFixture : public ::testing::Test {
protected:
  void SetUp() override {
    clock.SetUtc(EncodeDateTime(2024, 1, 10, 15, 30, 5, 0));
    SetAppClock(&clock);
    SetAlertDefaults(TAlertDefaults{});
    ResetStockStore();
    ClearUpdatedSymbolSets();
    ClearAlertLog();
  }
  void TearDown() override {
    ResetStockStore();
    ClearUpdatedSymbolSets();
    MyCriticalSection::ResetTimings();
    SetAppClock(nullptr);
  }

  // One quote (and tick) for the symbol.
  static void Tick(const std::string &symbol, double last, double bid = 0, double ask = 0,
                   double volume = 0) {
    QuoteFields q;
    q.Last = last;
    q.Bid = bid;
    q.Ask = ask;
    q.Volume = volume;
    ASSERT_GE(StoreQuote(symbol, q), 0);
  }
  static int TickCount(const std::string &symbol) {
    StockInfoType *rec = StockList.Find(symbol);
    return rec ? rec->Ticks.CountNoLock() : 0;
  }

  // A bare alert (no actions) positioned after the symbol's present ticks.
  static std::unique_ptr<TAlertRecord> Alert(const std::string &symbol, int type, double p1,
                                             double p2 = 1.0, double p3 = 0, double p4 = 0) {
    auto a = std::make_unique<TAlertRecord>();
    a->Symbol = symbol;
    a->AlertType = std::uint8_t(type);
    a->P1 = p1;
    a->P2 = p2;
    a->P3 = p3;
    a->P4 = p4;
    a->TickIndex = TickCount(symbol);
    return a;
  }
  std::string Add(std::unique_ptr<TAlertRecord> a) { return store.AddAlert(std::move(a)); }

  // A copy of the stored alert.
  TAlertRecord Stored(const std::string &id) {
    MyLockGuard guard(store.Lock, "TEST");
    const TAlertRecord *a = store.FindByID(id);
    EXPECT_NE(a, nullptr) << id;
    return a ? *a : TAlertRecord();
  }
  template <class Fn> void Change(const std::string &id, Fn &&fn) {
    MyLockGuard guard(store.Lock, "TEST");
    TAlertRecord *a = store.FindByID(id);
    ASSERT_NE(a, nullptr) << id;
    fn(*a);
  }

  AlertPassOutcome Run(const std::string &symbols, int repeatMinutes = 0) {
    TAlertPass pass(store, queue, clock);
    pass.OnLog = [this](const std::string &line) { log.push_back(line); };
    return pass.Run(symbols, repeatMinutes);
  }

  FakeClock clock;
  AlertSystemClass store;
  TPendingAlertQueue queue;
  std::vector<std::string> log;
};
