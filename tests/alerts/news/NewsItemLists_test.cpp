#include "NewsTestSupport.h"

#include "alerts/news/NewsItemLists.h"
#include "platform/DateTime.h"

namespace {

using NewsItemListsTest = NewsTest;

const TDateTime kDay = EncodeDate(2024, 1, 5);

TEST_F(NewsItemListsTest, HeadlinesNewestFirst) {
  AddItem("IBM", "Older", kDay + 9.0 / 24);
  AddItem("IBM", "Newest", kDay + 11.0 / 24, "Ledger");
  AddItem("IBM", "Middle", kDay + 10.0 / 24);
  TNewsItemLists items;
  items.Load("IBM");
  ASSERT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Titles[0], "Newest");
  EXPECT_EQ(items.Titles[1], "Middle");
  EXPECT_EQ(items.Titles[2], "Older");
  EXPECT_EQ(items.Sources[0], "Ledger");
  EXPECT_EQ(items.Dates[0], "Jan 05,2024, 11:00");
  EXPECT_EQ(items.LinkOfRow(1), "http://news.example/Newest");
  EXPECT_EQ(items.ReadFlags[0], "N");
}

TEST_F(NewsItemListsTest, MarkingRowsReachesTheStore) {
  const int older = AddItem("IBM", "Older", kDay + 9.0 / 24);
  const int newer = AddItem("IBM", "Newer", kDay + 10.0 / 24);
  TNewsItemLists items;
  items.Load("IBM");
  EXPECT_EQ(items.MarkRows(2, 1, true), 2);
  EXPECT_TRUE(items.RowRead(1));
  EXPECT_TRUE(items.RowRead(2));
  EXPECT_EQ(ReadNewsNumbers(), (std::vector<int>{newer, older}));
  EXPECT_TRUE(items.MarkRow(1, false));
  TNewsItemLists again;
  again.Load("IBM");
  EXPECT_EQ(again.ReadFlags[0], "N");
  EXPECT_EQ(again.ReadFlags[1], "Y");
}

TEST_F(NewsItemListsTest, RowsOutsideTheListAreLeftAlone) {
  AddItem("IBM", "One", kDay);
  TNewsItemLists items;
  items.Load("IBM");
  EXPECT_FALSE(items.MarkRow(0, true));
  EXPECT_FALSE(items.MarkRow(2, true));
  EXPECT_EQ(items.MarkRows(0, 50, true), 1);
  EXPECT_EQ(items.LinkOfRow(5), "");
  EXPECT_EQ(items.ItemNumberOfRow(-1), "");
}

TEST_F(NewsItemListsTest, RowOfItem) {
  AddItem("IBM", "A", kDay + 0.1);
  const int b = AddItem("IBM", "B", kDay + 0.2);
  TNewsItemLists items;
  items.Load("IBM");
  EXPECT_EQ(items.RowOfItem(std::to_string(b)), 1);
  EXPECT_EQ(items.RowOfItem("99999"), 0);
  EXPECT_EQ(items.RowOfItem(""), 0);
}

TEST_F(NewsItemListsTest, Captions) {
  EXPECT_EQ(NewsCaptionText(""), "News");
  EXPECT_EQ(NewsCaptionText("IBM"), "News for IBM - never checked yet");
  StoreQuote("IBM", QuoteFields{});
  EXPECT_EQ(NewsCaptionText("IBM"), "News for IBM - never checked yet");
  SetLastNewsCheck("IBM", kDay + 9.5 / 24);
  EXPECT_EQ(NewsCaptionText("IBM"), "News for IBM last checked on Jan 05, 2024 at 09:30");
  // A newer unread item wins; the display offset shifts the time.
  AddItem("IBM", "Late", kDay + 14.25 / 24);
  TDisplaySettings s = CurrentDisplaySettings();
  s.DisplayTimeOffset = 1.0 / 24;
  SetDisplaySettings(s);
  EXPECT_EQ(NewsCaptionText("IBM"), "News for IBM last checked on Jan 05, 2024 at 15:15");
}

} // namespace
