#include "StoreTestSupport.h"

#include "core/SmallGraph.h"
#include "platform/RecordingCanvas.h"

namespace {

using SmallGraphTest = StoreTest;

TEST(SmallGraphPointsTest, SpreadsFewPricesOverTheWidth) {
  // Drawing area 1..10 x 1..10 inside (0,0,12,12).
  const auto pts = SmallGraphPoints({10, 20, 15}, TRect(0, 0, 12, 12));
  ASSERT_EQ(pts.size(), 3u);
  EXPECT_EQ(pts[0], TPoint(1, 10)); // lowest at the bottom
  EXPECT_EQ(pts[1], TPoint(6, 1));  // highest at the top
  EXPECT_EQ(pts[2], TPoint(10, 5)); // halfway, rounded up
}

TEST(SmallGraphPointsTest, OnePointPerColumnForManyPrices) {
  std::vector<double> prices;
  for (int i = 0; i < 1000; ++i)
    prices.push_back(i);
  const auto pts = SmallGraphPoints(prices, TRect(0, 0, 22, 12));
  ASSERT_EQ(pts.size(), 20u);
  EXPECT_EQ(pts.front().X, 1);
  EXPECT_EQ(pts.back(), TPoint(20, 1)); // the last price, the highest
}

TEST(SmallGraphPointsTest, FlatAndDegenerateInput) {
  const auto flat = SmallGraphPoints({5, 5, 5}, TRect(0, 0, 12, 12));
  ASSERT_EQ(flat.size(), 3u);
  EXPECT_EQ(flat[0].Y, 1 + 9 / 2);
  EXPECT_TRUE(SmallGraphPoints({5}, TRect(0, 0, 12, 12)).empty());
  EXPECT_TRUE(SmallGraphPoints({5, 6}, TRect(0, 0, 3, 12)).empty());
}

TEST_F(SmallGraphTest, DrawsBackgroundAreaAndLineInTheSchemeColours) {
  StoreQuote("IBM", Quote(100, 99, 101, 98));
  StoreQuote("IBM", Quote(102, 99, 101, 98));
  StoreQuote("IBM", Quote(101, 99, 101, 98));
  SmallGraphColors colors{0x111111, 0x222222, 0x333333};
  TRecordingCanvas c;
  c.Pen().Color = clRed;
  EXPECT_TRUE(DrawSmallGraph("IBM", c, TRect(10, 10, 40, 26), 0, colors));
  const auto fills = c.CallsNamed("FillRect");
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].Brush.Color, 0x111111u);
  EXPECT_EQ(fills[0].Args, (std::vector<int>{10, 10, 40, 26}));
  const auto areas = c.CallsNamed("FillPolygon");
  ASSERT_EQ(areas.size(), 1u);
  EXPECT_EQ(areas[0].Brush.Color, 0x333333u);
  const auto lines = c.CallsNamed("Polyline");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Pen.Color, 0x222222u);
  EXPECT_EQ(lines[0].Points.size(), 3u);
  EXPECT_EQ(c.Pen().Color, clRed);
}

TEST_F(SmallGraphTest, NothingToDrawLeavesTheBackground) {
  StoreQuote("ONE", Quote(100, 99, 101, 98));
  for (const char *symbol : {"NONE", "$CASH", "ONE"}) {
    TRecordingCanvas c;
    EXPECT_FALSE(DrawSmallGraph(symbol, c, TRect(0, 0, 30, 16), 0)) << symbol;
    EXPECT_EQ(c.CountOf("FillRect"), 1) << symbol;
    EXPECT_EQ(c.CountOf("Polyline"), 0) << symbol;
  }
}

} // namespace
