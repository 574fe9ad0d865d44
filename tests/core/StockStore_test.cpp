#include "StoreTestSupport.h"

#include "core/MyStrList.h"

#include <cmath>

namespace {

using StockStoreTest = StoreTest;

TEST_F(StockStoreTest, SymbolIndexUpperCasesCutsAndKeepsIndexes) {
  const int a = StockList.Add("aapl");
  const int b = StockList.Add("VERYLONGSYMBOLNAME123");
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 1);
  EXPECT_EQ(StockList.Strings(0), "AAPL");
  EXPECT_EQ(StockList.Strings(1), "VERYLONGSYMBOLN");
  EXPECT_EQ(StockList.IndexOf("Aapl"), 0);
  EXPECT_EQ(StockList.IndexOf("verylongsymbolnXYZ"), 1);
  EXPECT_EQ(StockList.IndexOf("MSFT"), -1);
  EXPECT_EQ(StockList.Add("AAPL"), 0);
  EXPECT_EQ(StockList.Add(""), -1);
  StockInfoType *rec = StockList.Objects(0);
  for (int i = 0; i < 1000; ++i)
    StockList.Add("S" + std::to_string(i));
  EXPECT_EQ(StockList.Objects(0), rec) << "a record never moves";
  EXPECT_EQ(StockList.Objects(-1), nullptr);
  EXPECT_EQ(StockList.Objects(StockList.Count()), nullptr);
}

TEST_F(StockStoreTest, GetLast1Cash) {
  QuoteData q;
  EXPECT_EQ(GetLast1("$CASH", q), -1);
  EXPECT_EQ(q.Bid, 1.0);
  EXPECT_EQ(q.Ask, 1.0);
  EXPECT_EQ(q.Last, 1.0);
  EXPECT_EQ(q.High, 1.0);
  EXPECT_EQ(q.Low, 1.0);
  EXPECT_EQ(q.PrevClose, 1.0);
  EXPECT_EQ(q.Volume, 0.0);
  EXPECT_EQ(q.Change, 0.0);
  EXPECT_EQ(q.QuoteTime, EasternNow());
  EXPECT_EQ(q.TickText, "-");
  EXPECT_EQ(q.BidSize + q.AskSize + q.LastVolume + q.NumTrades + q.AvgTrade + q.OpenInterest, 0);
  EXPECT_EQ(StockList.Count(), 0) << "cash gets no record";
}

TEST_F(StockStoreTest, GetLast1UnknownSymbolAndBadIndexesGiveZeros) {
  StoreQuote("IBM", Quote(100, 99, 101, 98));
  for (const char *key : {"MSFT", "|-1", "|1", "|99999", "|x", "|", "|0x"}) {
    QuoteData q;
    q.Last = 5; // overwritten
    EXPECT_EQ(GetLast1(key, q), -1) << key;
    EXPECT_EQ(q.Last, 0.0) << key;
    EXPECT_EQ(q.Bid, 0.0) << key;
    EXPECT_EQ(q.TickText, "-") << key;
    EXPECT_EQ(q.BidMark, 0) << key;
    EXPECT_EQ(q.QuoteTime, 0.0) << key;
  }
}

TEST_F(StockStoreTest, GetLast1RecordWithoutQuoteGivesZerosAndItsIndex) {
  StoreQuote("IBM", Quote(100, 99, 101, 98));
  FundData f;
  f.CompanyName = "Acme";
  const int index = StoreFundamentals("ACME", f); // a record, no quote yet
  QuoteData q;
  EXPECT_EQ(GetLast1("acme", q), index);
  EXPECT_EQ(q.Last, 0.0);
  EXPECT_EQ(q.TickText, "-");
  EXPECT_EQ(q.QuoteTime, 0.0);
}

TEST_F(StockStoreTest, GetLast1WithEmptyTickListHasQuoteTimeZero) {
  QuoteFields in = Quote(50, 49.5, 50.5, 48);
  in.AddTick = false;
  const int index = StoreQuote("XYZ", in);
  QuoteData q;
  EXPECT_EQ(GetLast1("XYZ", q), index);
  EXPECT_FLOAT_EQ(q.Last, 50);
  EXPECT_EQ(q.QuoteTime, 0.0);
}

TEST_F(StockStoreTest, GetLast1NormalCaseBySymbolAndByIndex) {
  QuoteFields in = Quote(101.25, 101, 101.5, 100);
  in.QuoteTime = 12345 + 14.25 / 24; // a date part that must not show
  in.Volume = 123456;
  in.High = 102;
  in.Low = 99.5;
  in.BidSize = 3;
  in.AskSize = 4;
  in.LastVolume = 200;
  in.NumTrades = 77;
  in.AvgTrade = 150;
  in.OpenInterest = 9;
  in.TickText = "+";
  StoreQuote("MSFT", Quote(1, 1, 1, 1));
  const int index = StoreQuote("IBM", in);
  ASSERT_EQ(index, 1);

  for (const std::string key : {"IBM", "ibm", "|1"}) {
    QuoteData q;
    EXPECT_EQ(GetLast1(key, q), 1) << key;
    EXPECT_DOUBLE_EQ(q.Last, 101.25);
    EXPECT_DOUBLE_EQ(q.Bid, 101);
    EXPECT_DOUBLE_EQ(q.Ask, 101.5);
    EXPECT_DOUBLE_EQ(q.PrevClose, 100);
    EXPECT_DOUBLE_EQ(q.Change, 1.25);
    EXPECT_DOUBLE_EQ(q.Volume, 123456);
    EXPECT_DOUBLE_EQ(q.High, 102);
    EXPECT_DOUBLE_EQ(q.Low, 99.5);
    EXPECT_NEAR(q.QuoteTime, 45301 + 14.25 / 24, 1e-9);
    EXPECT_EQ(q.TickText, "+");
    EXPECT_EQ(q.BidSize, 3);
    EXPECT_EQ(q.AskSize, 4);
    EXPECT_EQ(q.LastVolume, 200);
    EXPECT_EQ(q.NumTrades, 77);
    EXPECT_EQ(q.AvgTrade, 150);
    EXPECT_EQ(q.OpenInterest, 9);
  }

  // The long form gives the same values.
  std::string tick;
  double bid, ask, last, volume, high, low, prev, change;
  TDateTime time;
  std::int32_t bs, as, lv, nt, at, oi;
  char bm, am;
  EXPECT_EQ(GetLast1("IBM", tick, bid, ask, last, volume, high, low, prev, change, time, bs, as, lv,
                     nt, at, bm, am, oi),
            1);
  EXPECT_DOUBLE_EQ(last, 101.25);
  EXPECT_DOUBLE_EQ(change, 1.25);
  EXPECT_EQ(nt, 77);
}

TEST_F(StockStoreTest, BidAndAskMarksFollowTheLastChange) {
  StoreQuote("IBM", Quote(100, 99, 101, 98));
  QuoteData q;
  GetLast1("IBM", q);
  EXPECT_EQ(q.BidMark, 0) << "first quote has no direction";
  StoreQuote("IBM", Quote(100, 99.5, 100.5, 98));
  GetLast1("IBM", q);
  EXPECT_EQ(q.BidMark, 'U');
  EXPECT_EQ(q.AskMark, 'D');
  StoreQuote("IBM", Quote(100, 99.5, 100.5, 98));
  GetLast1("IBM", q);
  EXPECT_EQ(q.BidMark, 0);
  EXPECT_EQ(q.AskMark, 0);
}

TEST_F(StockStoreTest, StoreQuoteAppendsTicks) {
  StoreQuote("IBM", Quote(100, 99, 101, 98));
  QuoteFields second = Quote(100.5, 100, 101, 98);
  second.Volume = 5000;
  StoreQuote("IBM", second);
  StockInfoType *rec = StockList.Find("IBM");
  ASSERT_TRUE(rec->Ticks.Lock("TEST"));
  ASSERT_EQ(rec->Ticks.Count(), 2);
  EXPECT_FLOAT_EQ(rec->Ticks.Entry(1).Last, 100.5);
  EXPECT_FLOAT_EQ(rec->Ticks.Entry(1).Bid, 100);
  EXPECT_FLOAT_EQ(rec->Ticks.Entry(1).Ask, 101);
  EXPECT_FLOAT_EQ(rec->Ticks.Entry(1).Volume, 5000);
  EXPECT_NEAR(rec->Ticks.Entry(1).Time, 45301 + 10.5 / 24, 1e-9);
  rec->Ticks.Unlock();
}

TEST_F(StockStoreTest, BusyTickListGivesZerosAndTheIndex) {
  const int index = StoreQuote("IBM", Quote(100, 99, 101, 98));
  StockInfoType *rec = StockList.Find("IBM");
  ASSERT_TRUE(rec->Ticks.Lock("HOLD"));
  QuoteData q;
  EXPECT_EQ(GetLast1("IBM", q), index);
  EXPECT_EQ(q.Last, 0.0);
  EXPECT_EQ(rec->Ticks.LockObject().Owner(), "HOLD") << "a lock not taken is not released";
  rec->Ticks.Unlock();
  EXPECT_EQ(GetLast1("IBM", q), index);
  EXPECT_DOUBLE_EQ(q.Last, 100);
}

TEST_F(StockStoreTest, BusyStockListGivesMinusOneAndStaysHeld) {
  StoreQuote("IBM", Quote(100, 99, 101, 98));
  ASSERT_TRUE(StockListLock.Lock("HOLD", false));
  QuoteData q;
  EXPECT_EQ(GetLast1("IBM", q), -1);
  EXPECT_EQ(q.Last, 0.0);
  EXPECT_EQ(StockListLock.Owner(), "HOLD");
  StockListLock.Unlock();
  EXPECT_EQ(StockListLock.Owner(), "EMPTY");
}

TEST_F(StockStoreTest, StoreKeyNeverMakesMinusOne) {
  StoreQuote("IBM", Quote(100, 99, 101, 98));
  EXPECT_EQ(StoreKey(0, "IBM"), "|0");
  EXPECT_EQ(StoreKey(-1, "$CASH"), "$CASH");
  EXPECT_EQ(StoreKey(5, "XYZ"), "XYZ");
}

TEST_F(StockStoreTest, FundamentalsAndFundText) {
  FundData f;
  f.CompanyName = "International Business Machines";
  f.Exchange = "NYSE";
  f.PE = 21.456;
  f.Earnings = 6.75;
  f.Dividend = 6.64;
  f.Yield = 4.6;
  f.Low52 = 120.5;
  f.High52 = 166.3;
  f.MarketCap = "150.2B-extra";
  f.Open = 101;
  f.AvgVolume = 4000000;
  const int index = StoreFundamentals("IBM", f);

  FundData got;
  EXPECT_TRUE(GetFund("|" + std::to_string(index), got));
  EXPECT_EQ(got.CompanyName, "International Busine");
  EXPECT_EQ(got.MarketCap, "150.2B-e");
  EXPECT_DOUBLE_EQ(got.Open, 101);
  EXPECT_FLOAT_EQ(got.PE, 21.456f);
  EXPECT_EQ(GetFundText("IBM"), "International Busine (NYSE)  P/E 21.456  EPS 6.75  Div 6.64  "
                                "Yield 4.6  52w 120.5-166.3  Mkt Cap 150.2B-e");

  for (const char *key : {"MSFT", "|-1", "$CASH"}) {
    FundData none;
    none.CompanyName = "x";
    EXPECT_FALSE(GetFund(key, none)) << key;
    EXPECT_EQ(none.CompanyName, "") << key;
    EXPECT_EQ(none.PE, 0.0) << key;
    EXPECT_EQ(GetFundText(key), "") << key;
  }
}

TEST_F(StockStoreTest, LastPrice) {
  StoreQuote("IBM", Quote(100.5, 99, 101, 98));
  EXPECT_DOUBLE_EQ(GetLastPrice("IBM"), 100.5);
  EXPECT_EQ(GetLastPrice("NONE"), 0.0);
}

TEST_F(StockStoreTest, AddSnapStoresAPortfolioTotal) {
  const TDateTime t = 45301 + 11.0 / 24;
  const int index = AddSnap("MYPORT", KindPortfolio, "-", 25000, 500, 2.04, t, -1);
  QuoteData q;
  EXPECT_EQ(GetLast1("MYPORT", q), index);
  EXPECT_DOUBLE_EQ(q.Last, 25000);
  EXPECT_DOUBLE_EQ(q.Bid, 25000);
  EXPECT_DOUBLE_EQ(q.Ask, 25000);
  EXPECT_DOUBLE_EQ(q.Change, 500);
  EXPECT_DOUBLE_EQ(q.Volume, 0);
  EXPECT_NEAR(q.QuoteTime, t, 1e-9);
  EXPECT_TRUE(IsKindPSymbol("myport"));
  EXPECT_FALSE(IsStockSymbol("MYPORT"));

  AddSnap("MYPORT", KindPortfolio, "-", 24000, -500, -2, t + 0.01, -1);
  GetLast1("MYPORT", q);
  EXPECT_DOUBLE_EQ(q.High, 25000);
  EXPECT_DOUBLE_EQ(q.Low, 24000);
  EXPECT_EQ(StockList.Find("MYPORT")->Ticks.CountNoLock(), 2);
}

struct StockSymbolCase {
  const char *symbol;
  bool stock;
};

TEST_F(StockStoreTest, IsStockSymbolTable) {
  SetIndexSymbolsText("$INDU $COMPX SPX");
  StoreQuote("QQQ", Quote(1, 1, 1, 1));
  QuoteFields index = Quote(1, 1, 1, 1);
  index.Kind = KindIndex;
  StoreQuote("DJX", index);
  const StockSymbolCase cases[] = {
      {"IBM", true},    {"BRK.B", true}, {"qqq", true},  {"$CASH", false}, {"TOTAL", false},
      {"total", false}, {"---", false},  {"", false},    {"$INDU", false}, {"^DJI", false},
      {"SPX", false},   {"spx", false},  {"DJX", false}, {"A B", false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(IsStockSymbol(c.symbol), c.stock) << c.symbol;
  SetIndexSymbolsText("");
}

} // namespace
