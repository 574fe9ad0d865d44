#include "StoreTestSupport.h"

#include "core/PortfolioCalc.h"

namespace {

using PortfolioTest = StoreTest;

PortPosition Pos(const std::string &symbol, double quantity = 0, float paid = 0,
                 float commission = 0) {
  PortPosition p;
  p.Symbol = symbol;
  p.Quantity = quantity;
  p.PricePaid = paid;
  p.PaidText = paid != 0 ? std::to_string(paid) : "";
  p.Commission = commission;
  return p;
}

class PortfolioTotalsTest : public StoreTest {
protected:
  void SetUp() override {
    StoreTest::SetUp();
    StoreQuote("AAA", Quote(10, 9.9, 10.1, 9.5));
    StoreQuote("BBB", Quote(20, 19.8, 20.2, 21));
    StoreQuote("CCC", Quote(5, 4.9, 5.1, 5.5));
    // Group 1: AAA, BBB; group 2: a short CCC and cash.
    index = PortfolioList.Add("Test", "TESTPORT",
                              {Pos("AAA", 100, 8, 10), Pos("BBB", 50, 22), Pos("-"),
                               Pos("CCC", -100, 6, 5), Pos("$CASH", 1000)});
  }
  int index = 0;
};

TEST_F(PortfolioTotalsTest, GroupsShortPositionAndCashByHand) {
  ASSERT_TRUE(RecalcPortfolio(index));
  const PortType &p = PortfolioList[index];
  // AAA: V 1000, cost 810, CV 50, PV 950, G 190.
  // BBB: V 1000, cost 1100, CV -50, PV 1050, G -100.
  EXPECT_DOUBLE_EQ(p.Value[1], 2000);
  EXPECT_DOUBLE_EQ(p.PrevValue[1], 2000);
  EXPECT_DOUBLE_EQ(p.ValueChange[1], 0);
  EXPECT_DOUBLE_EQ(p.ValueChangePct[1], 0);
  EXPECT_DOUBLE_EQ(p.PaidTotal[1], 1910);
  EXPECT_DOUBLE_EQ(p.Gain[1], 90);
  EXPECT_NEAR(p.GainPct[1], 90 * 100.0 / 1910, 1e-9);
  // CCC short: cost 600, V = 2*600 - 500 = 700, cost 605, CV = -0.5 * -100 = 50,
  // PV 650, G 95. Cash: V 1000, cost 1000, G 0.
  EXPECT_DOUBLE_EQ(p.Value[2], 1700);
  EXPECT_DOUBLE_EQ(p.PrevValue[2], 1650);
  EXPECT_DOUBLE_EQ(p.ValueChange[2], 50);
  EXPECT_NEAR(p.ValueChangePct[2], 50 * 100.0 / 1650, 1e-9);
  EXPECT_DOUBLE_EQ(p.PaidTotal[2], 1605);
  EXPECT_DOUBLE_EQ(p.Gain[2], 95);
  EXPECT_NEAR(p.GainPct[2], 95 * 100.0 / 1605, 1e-9);
  // Whole portfolio.
  EXPECT_DOUBLE_EQ(p.Value[0], 3700);
  EXPECT_DOUBLE_EQ(p.PctBase[0], 3700);
  EXPECT_DOUBLE_EQ(p.PrevValue[0], 3650);
  EXPECT_DOUBLE_EQ(p.ValueChange[0], 50);
  EXPECT_NEAR(p.ValueChangePct[0], 50 * 100.0 / 3650, 1e-9);
  EXPECT_DOUBLE_EQ(p.PaidTotal[0], 3515);
  EXPECT_DOUBLE_EQ(p.Gain[0], 185);
  EXPECT_NEAR(p.GainPct[0], 185 * 100.0 / 3515, 1e-9);
  for (int g = 3; g < PortGroupCount; ++g)
    EXPECT_EQ(p.Value[g], 0.0) << g;
  EXPECT_DOUBLE_EQ(p.DayLow, 3700);
  EXPECT_DOUBLE_EQ(p.DayHigh, 3700);
  EXPECT_EQ(p.TickText, "-");
  EXPECT_EQ(p.RecalcTime, EasternNow());
}

TEST_F(PortfolioTotalsTest, ValuationAtBidAndAsk) {
  TDisplaySettings s;
  s.ValuationPrice = TDisplaySettings::PriceBid;
  SetDisplaySettings(s);
  RecalcPortfolio(index);
  // AAA 990, BBB 990, CCC 2*600 - 490 = 710, cash 1000.
  // Prices are stored as singles, so 9.9 is only close to 9.9.
  EXPECT_NEAR(PortfolioList[index].Value[0], 990 + 990 + 710 + 1000, 1e-3);
  s.ValuationPrice = TDisplaySettings::PriceAsk;
  SetDisplaySettings(s);
  RecalcPortfolio(index);
  // AAA 1010, BBB 1010, CCC 2*600 - 510 = 690, cash 1000.
  EXPECT_NEAR(PortfolioList[index].Value[0], 1010 + 1010 + 690 + 1000, 1e-3);
}

TEST_F(PortfolioTotalsTest, NegativeCashIsLeftOutOfThePercentageBase) {
  PortfolioList[index].Positions.back().Quantity = -500;
  RecalcPortfolio(index);
  const PortType &p = PortfolioList[index];
  EXPECT_DOUBLE_EQ(p.Value[0], 2700 - 500);
  EXPECT_DOUBLE_EQ(p.PctBase[0], 2700);
  EXPECT_DOUBLE_EQ(p.PctBase[2], 700);
}

TEST_F(PortfolioTotalsTest, TickTextAndDayRange) {
  PortType &p = PortfolioList[index];
  RecalcPortfolio(index);
  StoreQuote("AAA", Quote(11, 10.9, 11.1, 9.5)); // +100
  RecalcPortfolio(index);
  EXPECT_EQ(p.TickText, "U");
  EXPECT_DOUBLE_EQ(p.DayHigh, 3800);
  EXPECT_DOUBLE_EQ(p.DayLow, 3700);
  RecalcPortfolio(index);
  EXPECT_EQ(p.TickText, "U") << "unchanged value keeps the last direction";
  StoreQuote("AAA", Quote(9, 8.9, 9.1, 9.5)); // -200 from there
  RecalcPortfolio(index);
  EXPECT_EQ(p.TickText, "D");
  EXPECT_DOUBLE_EQ(p.DayLow, 3600);
  EXPECT_DOUBLE_EQ(p.DayHigh, 3800);
  clock.AdvanceMs(24 * 3600 * 1000); // next day: the range starts afresh
  RecalcPortfolio(index);
  EXPECT_DOUBLE_EQ(p.DayLow, 3600);
  EXPECT_DOUBLE_EQ(p.DayHigh, 3600);
}

// A position without a quote was paid for, but it has no value, change or
// gain: it shows in the paid total only, never as a loss.
TEST_F(PortfolioTotalsTest, PositionsWithoutQuotesAddOnlyTheirCost) {
  RecalcPortfolio(index);
  const double gain = PortfolioList[index].Gain[0];
  const double gainPct = PortfolioList[index].GainPct[0];
  const double changePct = PortfolioList[index].ValueChangePct[0];
  PortfolioList[index].Positions.push_back(Pos("NOQUOTE", 10, 50, 1));
  RecalcPortfolio(index);
  const PortType &p = PortfolioList[index];
  EXPECT_DOUBLE_EQ(p.Value[0], 3700);
  EXPECT_DOUBLE_EQ(p.PaidTotal[0], 3515 + 10 * 50 + 1);
  EXPECT_DOUBLE_EQ(p.Gain[0], gain);
  EXPECT_DOUBLE_EQ(p.GainPct[0], gainPct);
  EXPECT_DOUBLE_EQ(p.ValueChangePct[0], changePct);
}

TEST_F(PortfolioTotalsTest, LaterSeparatorsShareGroupTen) {
  std::vector<PortPosition> positions;
  for (int g = 1; g <= 12; ++g) {
    positions.push_back(Pos("AAA", g));
    positions.push_back(Pos("-"));
  }
  const int i = PortfolioList.Add("Many", "MANY", positions);
  RecalcPortfolio(i);
  const PortType &p = PortfolioList[i];
  EXPECT_DOUBLE_EQ(p.Value[1], 10);
  EXPECT_DOUBLE_EQ(p.Value[9], 90);
  EXPECT_DOUBLE_EQ(p.Value[10], (10 + 11 + 12) * 10.0);
  EXPECT_DOUBLE_EQ(p.Value[0], 78 * 10.0);
}

TEST_F(PortfolioTotalsTest, BusyPortfolioKeepsItsTotals) {
  RecalcPortfolio(index);
  PortType &p = PortfolioList[index];
  ASSERT_TRUE(p.Lock.Lock("HOLD", false));
  StoreQuote("AAA", Quote(11, 10.9, 11.1, 9.5));
  EXPECT_FALSE(RecalcPortfolio(index));
  EXPECT_DOUBLE_EQ(p.Value[0], 3700);
  EXPECT_EQ(p.Lock.Owner(), "HOLD");
  p.Lock.Unlock();
  EXPECT_FALSE(RecalcPortfolio(0));
  EXPECT_FALSE(RecalcPortfolio(PortfolioList.Count() + 1));
}

TEST(ComputePositionTest, QuantityZeroAndSeparator) {
  QuoteData q;
  q.Last = 10;
  q.Change = 1;
  const PositionFigures zero = ComputePosition(Pos("AAA", 0, 5), q, vpLast);
  EXPECT_FALSE(zero.Counted);
  EXPECT_EQ(zero.Value, 0.0);
  EXPECT_FALSE(ComputePosition(Pos("---"), q, vpLast).Counted);
  const PositionFigures shortNoQuote = ComputePosition(Pos("AAA", -10, 5), QuoteData(), vpLast);
  EXPECT_EQ(shortNoQuote.Value, 0.0) << "a short without a quote is not turned into 2 x cost";
}

TEST_F(PortfolioTest, ListIsOneBasedWithNamesAndUniqueKeys) {
  EXPECT_EQ(PortfolioList.Add("Growth", "GROW"), 1);
  EXPECT_EQ(PortfolioList.Add("Income|old", "grow"), 2);
  EXPECT_EQ(PortfolioList.Add("Third", ""), 3);
  EXPECT_EQ(PortfolioList.Count(), 3);
  EXPECT_EQ(PortfolioList[1].Key, "GROW");
  EXPECT_EQ(PortfolioList[2].Key, "PORT2");
  EXPECT_EQ(PortfolioList[3].Key, "PORT3");
  EXPECT_EQ(PortfolioList.DisplayName(2), "Income/old");
  EXPECT_EQ(PortfolioList.Names()[0], "Growth|GROW");
  EXPECT_EQ(PortfolioList.IndexOfKey("port3"), 3);
  EXPECT_EQ(PortfolioList.At(0), nullptr);
  EXPECT_EQ(PortfolioList.At(4), nullptr);
  EXPECT_THROW(PortfolioList[4], std::out_of_range);
  PortfolioList.Delete(1);
  EXPECT_EQ(PortfolioList.DisplayName(1), "Income/old");
  EXPECT_EQ(PortfolioList.Add("Key too long", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"), 3);
  EXPECT_EQ(PortfolioList[3].Key, "ABCDEFGHIJKLMNOPQRSTUV");
}

TEST_F(PortfolioTest, PortStocksLeaveOutCashAndSeparators) {
  PortfolioList.Add("One", "ONE", {Pos("IBM", 1), Pos("-"), Pos("$CASH", 5), Pos("MSFT", 2)});
  PortfolioList.Add("Two", "TWO", {Pos("AAPL", 1), Pos("$cash", 5)});
  EXPECT_EQ(GetPortStocks(), "IBM,MSFT,AAPL");
}

} // namespace
