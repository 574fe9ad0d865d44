#include "AlertPassFixture.h"

#include "alerts/AlertNames.h"
#include "platform/Format.h"

#include <stdexcept>
#include <thread>

namespace {

using AlertPass = AlertPassFixture;

bool Contains(const std::vector<std::string> &lines, const std::string &part) {
  for (const std::string &line : lines)
    if (line.find(part) != std::string::npos)
      return true;
  return false;
}

// ---- Price alerts: crossing versus any time

struct PriceCase {
  const char *name;
  int type;
  double basedOn; // P2
  double anyTime; // P3
  double limit;
  double before;  // the tick already evaluated (field named by P2)
  double current; // the new tick
  bool triggers;
};

class PriceAlerts : public AlertPassFixture, public ::testing::WithParamInterface<PriceCase> {};

TEST_P(PriceAlerts, TriggerOnTheNewTick) {
  const PriceCase &c = GetParam();
  Tick("IBM", c.before, c.before, c.before);
  const std::string id = Add(Alert("IBM", c.type, c.limit, c.basedOn, c.anyTime));
  Tick("IBM", c.current, c.current, c.current);

  const AlertPassOutcome out = Run("|IBM|");

  EXPECT_EQ(out.Evaluated, 1);
  const TAlertRecord a = Stored(id);
  EXPECT_EQ(a.TickIndex, 2);
  if (c.triggers) {
    EXPECT_EQ(out.Triggered, std::vector<std::string>{id});
    EXPECT_EQ(queue.IDs(), std::vector<std::string>{id});
    EXPECT_FLOAT_EQ(float(a.TriggerValue), float(c.current));
    EXPECT_EQ(a.LastAlertTime, clock.Now());
  } else {
    EXPECT_TRUE(out.Triggered.empty());
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(a.LastAlertTime, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PriceAlerts,
    ::testing::Values(PriceCase{"LowAnyTimeBelow", 0, 1.0, 1.0, 10, 9.0, 9.5, true},
                      PriceCase{"LowAnyTimeAtLimit", 0, 1.0, 1.0, 10, 11, 10, true},
                      PriceCase{"LowAnyTimeAbove", 0, 1.0, 1.0, 10, 9.0, 10.2, false},
                      PriceCase{"LowCrossedDownward", 0, 1.0, 0.0, 10, 10.5, 9.8, true},
                      PriceCase{"LowAlreadyBelow", 0, 1.0, 0.0, 10, 9.8, 9.5, false},
                      PriceCase{"LowCrossingUnchanged", 0, 1.0, 0.0, 10, 10, 10, false},
                      PriceCase{"HighCrossedUpward", 1, 1.0, 0.0, 105, 104, 106, true},
                      PriceCase{"HighAlreadyAbove", 1, 1.0, 0.0, 105, 106, 107, false},
                      PriceCase{"HighAnyTimeAbove", 1, 1.0, 1.0, 105, 106, 107, true},
                      PriceCase{"HighAnyTimeOnBid", 1, 2.0, 1.0, 105, 104, 105.5, true},
                      PriceCase{"HighCrossingOnAsk", 1, 3.0, 0.0, 105, 104, 105, true},
                      PriceCase{"LowAnyTimeZeroPrice", 0, 1.0, 1.0, 10, 11, 0, false},
                      PriceCase{"UnknownFieldReadsZero", 0, 7.0, 1.0, 10, 11, 5, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(AlertPass, AnyTimeLowOnAZeroPriceLogsButDoesNotActivate) {
  Tick("IBM", 11);
  const std::string id = Add(Alert("IBM", 0, 10, 1.0, 1.0));
  Tick("IBM", 0);
  Run("|IBM|");
  EXPECT_TRUE(Contains(log, "Alert ID " + id + " " + FormatDateTime("hh:mm:ss", clock.Now()) +
                                " TRIGGERED LOW for IBM@10 Current=0"))
      << testing::PrintToString(log);
  EXPECT_FALSE(Contains(log, "Activating!!!"));
  EXPECT_EQ(queue.Count(), 0);
}

TEST_F(AlertPass, ZeroPriceTickDoesNotHideALaterTriggerInTheSameBatch) {
  Tick("IBM", 11);
  const std::string id = Add(Alert("IBM", 0, 10, 1.0, 1.0));
  Tick("IBM", 0);
  Tick("IBM", 9.5);
  Run("|IBM|");
  EXPECT_EQ(queue.IDs(), std::vector<std::string>{id});
  EXPECT_FLOAT_EQ(float(Stored(id).TriggerValue), 9.5f);
}

TEST_F(AlertPass, LogAndAlertLogTextsOfATrigger) {
  Tick("IBM", 104);
  const std::string id = Add(Alert("IBM", 1, 105.5, 1.0, 0.0));
  Tick("IBM", 106.25);
  Run("|IBM|");
  const std::string time = FormatDateTime("hh:mm:ss", clock.Now());
  EXPECT_EQ(log, (std::vector<std::string>{
                     "Alert ID " + id + " " + time +
                         " TRIGGERED HIGH for IBM@105.5 Current=106.25 Previous=104",
                     "Alert ID " + id + " Activating!!!"}));
  const std::vector<std::string> lines = AlertLogLines();
  ASSERT_EQ(lines.size(), 2u);
  const std::string stamp = FormatDateTime("hh:mm:ss ", clock.Now());
  EXPECT_EQ(lines[1], stamp + "Alert \"IBM: High Last Price at 105.5\" TRIGGERED");
}

// ---- The tick walk

TEST_F(AlertPass, NewAlertLooksOnlyAtTheNewestTick) {
  for (int i = 0; i < 100; ++i)
    Tick("IBM", i == 50 ? 5 : 20); // the old dip below 10 is not looked at
  auto a = Alert("IBM", 0, 10, 1.0, 1.0);
  a->TickIndex = -1;
  const std::string id = Add(std::move(a));
  Run("|IBM|");
  EXPECT_EQ(queue.Count(), 0);
  EXPECT_EQ(Stored(id).TickIndex, 100);

  Tick("IBM", 9);
  Run("|IBM|");
  EXPECT_EQ(queue.IDs(), std::vector<std::string>{id});
}

TEST_F(AlertPass, NewCrossingAlertComparesTheNewestTickWithItsPredecessor) {
  Tick("IBM", 10.5);
  Tick("IBM", 9.5);
  auto a = Alert("IBM", 0, 10, 1.0, 0.0);
  a->TickIndex = -1;
  const std::string id = Add(std::move(a));
  Run("|IBM|");
  EXPECT_EQ(queue.IDs(), std::vector<std::string>{id});
}

TEST_F(AlertPass, CrossingNeedsTwoTicks) {
  auto a = Alert("IBM", 0, 10, 1.0, 0.0);
  const std::string id = Add(std::move(a));
  Tick("IBM", 9.5);
  Run("|IBM|");
  EXPECT_EQ(queue.Count(), 0);
  EXPECT_EQ(Stored(id).TickIndex, 1);
}

TEST_F(AlertPass, WalksOnlyTheTicksAfterTickIndexAndStopsAtTheFirstTrigger) {
  for (double p : {20.0, 8.0, 20.0, 20.0, 20.0}) // the dip at tick 2 was seen before
    Tick("IBM", p);
  const std::string id = Add(Alert("IBM", 0, 10, 1.0, 0.0)); // positioned at 5
  for (double p : {15.0, 9.0, 12.0, 7.0, 11.0})
    Tick("IBM", p);
  Run("|IBM|");
  const TAlertRecord a = Stored(id);
  EXPECT_EQ(queue.IDs(), std::vector<std::string>{id});
  EXPECT_FLOAT_EQ(float(a.TriggerValue), 9.0f) << "the first crossing of the batch";
  EXPECT_EQ(a.TickIndex, 10);
}

// The alerts of a symbol share what its new ticks hold; an alert that
// starts earlier than the one before it still sees its own, earlier ticks.
TEST_F(AlertPass, AlertsOfOneSymbolEachWalkTheirOwnTicks) {
  for (double p : {10.0, 20.0, 11.0, 12.0})
    Tick("IBM", p);
  auto early = Alert("IBM", AlertTypeHighPrice, 15, 1.0, 1.0); // any time, on the last
  early->TickIndex = 0;
  auto late = Alert("IBM", AlertTypeHighPrice, 16, 1.0, 1.0);
  late->TickIndex = 2;
  const std::string earlyId = Add(std::move(early));
  const std::string lateId = Add(std::move(late)); // evaluated first: the walk runs downward
  Run("|IBM|");
  EXPECT_EQ(queue.IDs(), std::vector<std::string>{earlyId});
  EXPECT_FLOAT_EQ(float(Stored(earlyId).TriggerValue), 20.0f);
  EXPECT_EQ(Stored(lateId).TickIndex, 4);
}

TEST_F(AlertPass, TickIndexBeyondTheListStartsAgainAtTheNewestTick) {
  Tick("IBM", 20);
  Tick("IBM", 9);
  auto a = Alert("IBM", 0, 10, 1.0, 0.0);
  a->TickIndex = 50; // the list was emptied and refilled
  const std::string id = Add(std::move(a));
  Run("|IBM|");
  EXPECT_EQ(queue.IDs(), std::vector<std::string>{id});
  EXPECT_EQ(Stored(id).TickIndex, 2);
}

TEST_F(AlertPass, EmptyTickListIsNotEvaluatedButPositioned) {
  QuoteFields q;
  q.Last = 5;
  q.AddTick = false;
  StoreQuote("IBM", q);
  auto a = Alert("IBM", 0, 10, 1.0, 1.0);
  a->TickIndex = -1;
  const std::string id = Add(std::move(a));
  Run("|IBM|");
  EXPECT_EQ(queue.Count(), 0);
  EXPECT_EQ(Stored(id).TickIndex, 0);
}

// ---- Which alerts are evaluated

TEST_F(AlertPass, OnlyEnabledAlertsOfUpdatedSymbolsInTheStore) {
  Tick("IBM", 20);
  Tick("MSFT", 20);
  const std::string ibm = Add(Alert("IBM", 0, 10, 1.0, 1.0));
  const std::string msft = Add(Alert("MSFT", 0, 10, 1.0, 1.0));
  auto off = Alert("IBM", 0, 11, 1.0, 1.0);
  off->Enabled = false;
  const std::string disabled = Add(std::move(off));
  const std::string unknown = Add(Alert("NONE", 0, 10, 1.0, 1.0));
  const std::string lower = Add(Alert("ibm", 0, 12, 1.0, 1.0));
  Tick("IBM", 5);
  Tick("MSFT", 5);

  const AlertPassOutcome out = Run("|IBM||NONE||XYZ|");
  // An alert on "ibm" follows IBM: symbols are matched without regard to case.
  EXPECT_EQ(out.Triggered, (std::vector<std::string>{lower, ibm}));
  EXPECT_EQ(out.Evaluated, 2);
  EXPECT_EQ(Stored(msft).TickIndex, 1) << "not in the updated set: untouched";
  EXPECT_EQ(Stored(disabled).TickIndex, 1);
  EXPECT_EQ(Stored(unknown).TickIndex, 0);

  EXPECT_TRUE(Run("").Triggered.empty());
}

TEST_F(AlertPass, RepeatThresholdSkipsRecentlyTriggeredAlertsWithoutALogLine) {
  Tick("IBM", 20);
  auto a = Alert("IBM", 0, 10, 1.0, 1.0);
  a->LastAlertTime = clock.Now() - 3.0 / MinsPerDay;
  const std::string id = Add(std::move(a));
  Tick("IBM", 5);

  AlertPassOutcome out = Run("|IBM|", 5);
  EXPECT_EQ(out.Evaluated, 0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(queue.Count(), 0);
  EXPECT_EQ(Stored(id).TickIndex, 1) << "the walk waits for the threshold";

  clock.AdvanceMs(3 * 60 * 1000); // six minutes since the trigger
  out = Run("|IBM|", 5);
  EXPECT_EQ(out.Triggered, std::vector<std::string>{id});
  EXPECT_EQ(Stored(id).LastAlertTime, clock.Now());

  Tick("IBM", 4);
  clock.AdvanceMs(1000);
  EXPECT_TRUE(Run("|IBM|", 5).Triggered.empty()) << "just triggered";
  EXPECT_EQ(Run("|IBM|", 0).Triggered, std::vector<std::string>{id}) << "no threshold";
}

TEST_F(AlertPass, QueueHoldsThirtyAndDropsTheRestOfThePass) {
  Tick("IBM", 20);
  std::vector<std::string> ids;
  for (int i = 0; i < 31; ++i)
    ids.push_back(Add(Alert("IBM", 0, 10 + i * 0.01, 1.0, 1.0)));
  Tick("IBM", 5);

  const AlertPassOutcome out = Run("|IBM|");
  ASSERT_EQ(out.Triggered.size(), 31u);
  EXPECT_EQ(out.Triggered.front(), ids.back()) << "walked from the last alert down";
  EXPECT_EQ(out.Dropped, std::vector<std::string>{ids.front()});
  EXPECT_EQ(queue.Count(), TPendingAlertQueue::Capacity);
  EXPECT_EQ(Stored(ids.front()).LastAlertTime, clock.Now()) << "dropped, yet recorded";
}

TEST_F(AlertPass, FlashWhileAnEvaluatedAlertHasItsFlashInEffect) {
  Tick("IBM", 20);
  auto a = Alert("IBM", 0, 10, 1.0, 1.0);
  a->ActiveActions.Include(ActionFlashWindow);
  Add(std::move(a));
  EXPECT_TRUE(Run("|IBM|").Flash);
  EXPECT_FALSE(Run("|MSFT|").Flash);
  EXPECT_TRUE(Run("|IBM|", 0).Flash) << "no new tick, still evaluated";
}

// ---- News alerts

class NewsAlerts : public AlertPassFixture {
protected:
  void AddItem(const std::string &title, TDateTime date) {
    IncomingNews n;
    n.Title = title;
    n.Source = "Wire";
    n.Link = "https://news.example/" + title;
    n.Date = date;
    ASSERT_GT(AddNews("IBM", n, {}), 0);
    SetNewNews("IBM", true);
  }
  TDateTime MarketNow() const { return EncodeDateTime(2024, 1, 10, 10, 30, 5, 0); }
};

TEST_F(NewsAlerts, FirstLookOnlyRecordsTheNewestItem) {
  Tick("IBM", 50);
  const TDateTime item = MarketNow() - 0.5 / HoursPerDay;
  AddItem("Earnings", item);
  const std::string id = Add(Alert("IBM", 2, 2.0));
  EXPECT_TRUE(Run("|IBM|").Triggered.empty());
  EXPECT_DOUBLE_EQ(Stored(id).P5, item);
}

TEST_F(NewsAlerts, FirstLookWithoutNewsRecordsNone) {
  Tick("IBM", 50);
  const std::string id = Add(Alert("IBM", 2, 2.0));
  Run("|IBM|");
  EXPECT_EQ(Stored(id).P5, 1.0);
}

TEST_F(NewsAlerts, NewerItemWithinTheAgeTriggers) {
  Tick("IBM", 50);
  AddItem("Old", MarketNow() - 1.0 / HoursPerDay);
  const std::string id = Add(Alert("IBM", 2, 2.0));
  Run("|IBM|");

  const TDateTime fresh = MarketNow() - 0.25 / HoursPerDay;
  AddItem("Fresh", fresh);
  const AlertPassOutcome out = Run("|IBM|");
  EXPECT_EQ(out.Triggered, std::vector<std::string>{id});
  const TAlertRecord a = Stored(id);
  EXPECT_DOUBLE_EQ(a.P5, fresh);
  EXPECT_EQ(a.TriggerValue, 50);

  EXPECT_TRUE(Run("|IBM|").Triggered.empty()) << "nothing newer since";
}

TEST_F(NewsAlerts, ItemOlderThanTheAgeOnlyMovesTheMark) {
  Tick("IBM", 50);
  AddItem("Old", MarketNow() - 5.0 / HoursPerDay);
  const std::string id = Add(Alert("IBM", 2, 2.0));
  Run("|IBM|");
  const TDateTime stale = MarketNow() - 3.0 / HoursPerDay;
  AddItem("Stale", stale);
  EXPECT_TRUE(Run("|IBM|").Triggered.empty());
  EXPECT_DOUBLE_EQ(Stored(id).P5, stale);

  SetNewNews("IBM", false);
  Run("|IBM|");
  EXPECT_EQ(Stored(id).P5, 1.0);
}

// ---- Column alerts

struct ColumnCase {
  const char *name;
  int column;     // P1
  double dir;     // P2: 0 up, 1 down
  double limit;   // P3
  double crossed; // P4
  // Record and ticks: the first tick is already evaluated, the second is new.
  double prevClose, low, high;
  int trades;
  double avgVolume;
  double bid1, ask1, vol1;
  double last2, bid2, ask2, vol2;
  bool triggers;
};

void PrintTo(const ColumnCase &c, std::ostream *os) { *os << c.name; }
void PrintTo(const PriceCase &c, std::ostream *os) { *os << c.name; }

class ColumnAlerts : public AlertPassFixture, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(ColumnAlerts, Trigger) {
  const ColumnCase &c = GetParam();
  FundData f;
  f.AvgVolume = c.avgVolume;
  StoreFundamentals("IBM", f);
  QuoteFields q;
  q.Last = 10;
  q.Bid = c.bid1;
  q.Ask = c.ask1;
  q.Volume = c.vol1;
  q.PrevClose = c.prevClose;
  StoreQuote("IBM", q);
  const std::string id = Add(Alert("IBM", 3, c.column, c.dir, c.limit, c.crossed));
  q.Last = c.last2;
  q.Bid = c.bid2;
  q.Ask = c.ask2;
  q.Volume = c.vol2;
  q.Low = c.low;
  q.High = c.high;
  q.NumTrades = c.trades;
  StoreQuote("IBM", q);

  const AlertPassOutcome out = Run("|IBM|");
  EXPECT_EQ(!out.Triggered.empty(), c.triggers);
  if (c.triggers) {
    EXPECT_FLOAT_EQ(float(Stored(id).TriggerValue), float(c.last2)) << "the tick's last";
  }
  EXPECT_FALSE(Contains(log, "TRIGGERED")) << "column alerts log no TRIGGERED line";
}

// name, col, dir, limit, crossed, prevClose, low, high, trades, avgVol,
//   bid1, ask1, vol1, last2, bid2, ask2, vol2, triggers
INSTANTIATE_TEST_SUITE_P(
    Table, ColumnAlerts,
    ::testing::Values(
        ColumnCase{"ChangeAbove", 0, 0, 1.5, 0, 10, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, true},
        ColumnCase{"ChangeNotBelow", 0, 1, -1, 0, 10, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, false},
        ColumnCase{"ChangePercentUp", 1, 0, 15, 0, 10, 0, 0, 0, 0, 0, 0, 0, 11.5, 0, 0, 0, true},
        ColumnCase{"ChangePercentDown", 1, 1, -5, 0, 10, 0, 0, 0, 0, 0, 0, 0, 9.4, 0, 0, 0, true},
        ColumnCase{"ChangePercentNoPrevClose", 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0,
                   false},
        ColumnCase{"ChangePercentNoPrevCloseDown", 1, 1, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                   false},
        ColumnCase{"SpreadAnyTime", 2, 0, 0.4, 0, 0, 0, 0, 0, 0, 9.9, 10, 0, 10, 9.7, 10.2, 0,
                   true},
        ColumnCase{"SpreadCrossedUp", 2, 0, 0.4, 1, 0, 0, 0, 0, 0, 9.9, 10.1, 0, 10, 9.75, 10.25, 0,
                   true},
        ColumnCase{"SpreadAlreadyWide", 2, 0, 0.4, 1, 0, 0, 0, 0, 0, 9.5, 10.5, 0, 10, 9.7, 10.3, 0,
                   false},
        ColumnCase{"SpreadZeroCountsAsOne", 2, 0, 0.8, 1, 0, 0, 0, 0, 0, 9.75, 10.25, 0, 10, 10, 10,
                   0, true},
        ColumnCase{"SpreadCrossedDown", 2, 1, 0.3, 1, 0, 0, 0, 0, 0, 9.5, 10.5, 0, 10, 9.9, 10.1, 0,
                   true},
        ColumnCase{"LowBelow", 3, 1, 9.5, 0, 0, 9, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, true},
        ColumnCase{"LowZero", 3, 1, 9.5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, false},
        ColumnCase{"HighAbove", 4, 0, 11, 0, 0, 0, 11.5, 0, 0, 0, 0, 0, 10, 0, 0, 0, true},
        ColumnCase{"HighZero", 4, 1, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, false},
        ColumnCase{"VolumeAnyTime", 5, 0, 500000, 0, 0, 0, 0, 0, 0, 0, 0, 1e5, 10, 0, 0, 1e6, true},
        ColumnCase{"VolumeCrossedUp", 5, 0, 500000, 1, 0, 0, 0, 0, 0, 0, 0, 4e5, 10, 0, 0, 6e5,
                   true},
        ColumnCase{"VolumeAlreadyAbove", 5, 0, 500000, 1, 0, 0, 0, 0, 0, 0, 0, 6e5, 10, 0, 0, 7e5,
                   false},
        ColumnCase{"VolumeCrossedDown", 5, 1, 500000, 1, 0, 0, 0, 0, 0, 0, 0, 6e5, 10, 0, 0, 4e5,
                   true},
        ColumnCase{"VolumeZeroAnyTimeDown", 5, 1, 500000, 0, 0, 0, 0, 0, 0, 0, 0, 6e5, 10, 0, 0, 0,
                   false},
        ColumnCase{"VolPercentAnyTime", 6, 0, 120, 0, 0, 0, 0, 0, 1e6, 0, 0, 0, 10, 0, 0, 1.5e6,
                   true},
        ColumnCase{"VolPercentNoAverage", 6, 0, 120, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 1.5e6,
                   false},
        ColumnCase{"VolPercentNoAverageDown", 6, 1, 120, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 1.5e6,
                   false},
        ColumnCase{"VolPercentCrossedUp", 6, 0, 120, 1, 0, 0, 0, 0, 1e6, 0, 0, 1e6, 10, 0, 0, 1.3e6,
                   true},
        ColumnCase{"VolPercentCrossedNoAverage", 6, 0, 0.5, 1, 0, 0, 0, 0, 0, 0, 0, 1e6, 10, 0, 0,
                   1.3e6, false},
        ColumnCase{"TradesAbove", 7, 0, 100, 0, 0, 0, 0, 150, 0, 0, 0, 0, 10, 0, 0, 0, true},
        ColumnCase{"TradesNone", 7, 1, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, false},
        ColumnCase{"CrossingOnlyForSpreadVolumes", 3, 1, 9.5, 1, 0, 9, 0, 0, 0, 0, 0, 0, 10, 0, 0,
                   0, true},
        ColumnCase{"UnknownColumn", 9, 0, -100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, false}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- Faults mended: locks and indexes

TEST_F(AlertPass, AlertsDeletedDuringThePassAreSkipped) {
  Tick("IBM", 20);
  std::vector<std::string> ids;
  for (int i = 0; i < 5; ++i)
    ids.push_back(Add(Alert("IBM", 0, 10 + i * 0.01, 1.0, 1.0)));
  Tick("IBM", 5);

  TAlertPass pass(store, queue, clock);
  pass.AfterStep = [&](int index) {
    if (index == 4)
      for (int i = 0; i < 3; ++i)
        store.DeleteAlert(ids[std::size_t(i)], false);
  };
  const AlertPassOutcome out = pass.Run("|IBM|", 0);
  EXPECT_FALSE(out.Aborted);
  // Index 4 ran before the deletion; indexes 3 and 2 no longer exist; the two
  // survivors now sit at 1 and 0 (the second of them was evaluated already).
  EXPECT_EQ(out.Triggered, (std::vector<std::string>{ids[4], ids[3]}));
  EXPECT_EQ(store.Count(), 2);
}

TEST_F(AlertPass, BothLocksAreReleasedWhenAStepFails) {
  Tick("IBM", 11);
  Add(Alert("IBM", 0, 10, 1.0, 1.0));
  Tick("IBM", 9);
  TAlertPass pass(store, queue, clock);
  pass.OnLog = [](const std::string &) { throw std::runtime_error("log failed"); };
  const AlertPassOutcome out = pass.Run("|IBM|", 0);
  EXPECT_TRUE(out.Aborted);
  EXPECT_FALSE(store.Lock.IsHeld());
  EXPECT_FALSE(StockList.Find("IBM")->Ticks.LockObject().IsHeld());
}

TEST_F(AlertPass, BusyTickListSkipsTheAlertForThisPass) {
  LockTimings t;
  t.retryIntervalMs = 0;
  t.giveUpTries = 2;
  MyCriticalSection::SetTimings(t);
  Tick("IBM", 11);
  const std::string id = Add(Alert("IBM", 0, 10, 1.0, 1.0));
  Tick("IBM", 9);
  MyCriticalSection &ticks = StockList.Find("IBM")->Ticks.LockObject();
  ASSERT_TRUE(ticks.Lock("TEST", false));
  EXPECT_EQ(Run("|IBM|").Evaluated, 0);
  ticks.Unlock();
  EXPECT_EQ(Run("|IBM|").Triggered, std::vector<std::string>{id});
}

TEST_F(AlertPass, APassNeverWaitsForTheWindowThread) {
  // The window thread (this one) is blocked in join() while the pass runs.
  Tick("IBM", 11);
  const std::string id = Add(Alert("IBM", 0, 10, 1.0, 1.0));
  Tick("IBM", 9);
  AlertPassOutcome out;
  std::thread worker([&] {
    TAlertPass pass(store, queue, clock);
    out = pass.Run("|IBM|", 0);
  });
  worker.join();
  EXPECT_EQ(queue.IDs(), std::vector<std::string>{id});
  EXPECT_EQ(out.Triggered, std::vector<std::string>{id});
}

} // namespace
