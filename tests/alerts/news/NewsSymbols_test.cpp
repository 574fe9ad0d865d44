#include "NewsTestSupport.h"

#include "alerts/news/NewsSymbols.h"
#include "platform/DateTime.h"

namespace {

using NewsSymbolsTest = NewsTest;

std::vector<std::string> Names(const std::vector<TNewsSymbolEntry> &entries) {
  std::vector<std::string> names;
  for (const auto &e : entries)
    names.push_back(e.Symbol);
  return names;
}

TEST_F(NewsSymbolsTest, ListsStockSymbolsSortedWithTheirBulbs) {
  AddItem("MSFT", "m", 45296.4);
  AddItem("IBM", "i", 45296.3);
  StoreQuote("AAPL", QuoteFields{});
  AddSnap("MYPORT", 'P', "-", 100, 1, 1, 45296.5, -1);
  SetNewNews("IBM", true);
  const auto entries = LoadNewsSymbols();
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"AAPL", "IBM", "MSFT"}));
  // Table indexes follow the store's order: MSFT 0, IBM 1, AAPL 2.
  EXPECT_EQ(entries[0].TableIndex, 2);
  EXPECT_EQ(entries[1].TableIndex, 1);
  EXPECT_EQ(entries[2].TableIndex, 0);
  EXPECT_TRUE(NewsBulbLit(1));
  EXPECT_DOUBLE_EQ(NewsBulbTime(1), 45296.3);
  EXPECT_FALSE(NewsBulbLit(0));
  EXPECT_DOUBLE_EQ(NewsBulbTime(0), 45296.4) << "the newest unread item's time";
}

TEST_F(NewsSymbolsTest, TablesOfTheNewsWindowAreNotThePrintGrids) {
  EXPECT_NE(NewsWindowKind(), int(gkPrintGrid));
  AddItem("IBM", "i", 45296.3);
  SetNewNews("IBM", true);
  LoadNewsSymbols();
  NewsRows.Truncate(gkPrintGrid, 0); // a print grid's fill
  EXPECT_TRUE(NewsBulbLit(0));
}

TEST_F(NewsSymbolsTest, LoadingEmptiesTheNewsWindowsSetAndRefreshTakesIt) {
  MarkSymbolUpdated(usNewsWindow, "IBM");
  LoadNewsSymbols();
  EXPECT_TRUE(TakeChangedNewsSymbols().empty());
  MarkSymbolUpdated(usNewsWindow, "IBM");
  MarkSymbolUpdated(usNewsWindow, "MSFT");
  EXPECT_EQ(TakeChangedNewsSymbols(), (std::vector<std::string>{"IBM", "MSFT"}));
  EXPECT_TRUE(TakeChangedNewsSymbols().empty());
}

TEST_F(NewsSymbolsTest, RefreshReadsOneBulb) {
  AddItem("IBM", "i", 45296.3);
  EXPECT_FALSE(RefreshNewsBulb("IBM", 4));
  SetNewNews("IBM", true);
  EXPECT_TRUE(RefreshNewsBulb("IBM", 4));
  EXPECT_TRUE(NewsBulbLit(4));
  EXPECT_DOUBLE_EQ(NewsBulbTime(4), 45296.3);
}

TEST_F(NewsSymbolsTest, ClearingABulbTellsEveryView) {
  AddItem("IBM", "i", 45296.3);
  SetNewNews("IBM", true);
  ClearNewsBulb("IBM");
  TDateTime check = 0, unread = 0;
  EXPECT_FALSE(GetNewNews("IBM", check, unread));
  for (int kind : {usMainGrid, usWatchList, usNewsWindow, usTicker})
    EXPECT_EQ(TakeUpdatedSymbolList(kind), std::vector<std::string>{"IBM"}) << kind;
  EXPECT_TRUE(TakeUpdatedSymbolList(usAlerts).empty());
}

TEST_F(NewsSymbolsTest, FetchRequestsGoToTheForceListOnce) {
  EXPECT_TRUE(RequestNewsFetch({"IBM"}, false));
  EXPECT_EQ(ForceListText(), "IBM");
  EXPECT_TRUE(RequestNewsFetch({"IBM"}, false));
  EXPECT_EQ(ForceListText(), "IBM");
  EXPECT_TRUE(RequestNewsFetch({"AAPL", " IBM ", "IB", "MSFT"}, true));
  EXPECT_EQ(ForceListText(), "IBM AAPL IB MSFT") << "IB is not IBM";
  EXPECT_TRUE(RequestNewsFetch({}, false));
  EXPECT_EQ(ForceListText(), "IBM AAPL IB MSFT");
}

TEST_F(NewsSymbolsTest, FetchRequestUsesTheTagsOfTheWindow) {
  MyLockGuard held(ForceLock, "NEWSTHREAD", false);
  ASSERT_TRUE(held.Owns());
  EXPECT_FALSE(RequestNewsFetch({"IBM"}, false)) << "a busy force lock is given up";
}

} // namespace
