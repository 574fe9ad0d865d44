// Geometry and colours of the grid's small shapes.
#include "platform/RecordingCanvas.h"
#include "views/stockgrid/GridShapes.h"

#include <gtest/gtest.h>

namespace {

using Points = std::vector<TPoint>;

TEST(BlendColor, MixesEveryChannel) {
  EXPECT_EQ(BlendColor(0x000000, 0x808080, 0.5), TColor(0x404040));
  EXPECT_EQ(BlendColor(0x00FFFF, 0x808080, 0.0), TColor(0x00FFFF));
  EXPECT_EQ(BlendColor(0x00FFFF, 0x808080, 1.0), TColor(0x808080));
}

TEST(BlendColor, ClampsChannelsForFactorsOutsideZeroToOne) {
  // A news time later than the grid's clock gives a negative age.
  EXPECT_EQ(BlendColor(0x00FFFF, 0x808080, -2.0), TColor(0x00FFFF));
  EXPECT_EQ(BlendColor(0x000000, 0x808080, -1.0), TColor(0x000000));
  EXPECT_EQ(BlendColor(0x000000, 0xFFFFFF, 3.0), TColor(0xFFFFFF));
}

TEST(GridShapes, TickArrows) {
  const TRect r(10, 20, 30, 40); // h = 14, cx = 18
  EXPECT_EQ(
      ArrowDownPoints(r),
      (Points{{18, 23}, {18, 33}, {16, 33}, {20, 37}, {24, 33}, {22, 33}, {22, 23}, {18, 23}}));
  EXPECT_EQ(
      ArrowUpPoints(r),
      (Points{{18, 37}, {18, 27}, {16, 27}, {20, 23}, {24, 27}, {22, 27}, {22, 37}, {18, 37}}));
}

TEST(GridShapes, SortAndDropMarks) {
  const TRect r(100, 0, 160, 16);
  EXPECT_EQ(SortMarkDownPoints(r), (Points{{149, 2}, {159, 2}, {154, 7}}));
  EXPECT_EQ(SortMarkUpPoints(r), (Points{{149, 7}, {159, 7}, {154, 2}}));
  EXPECT_EQ(InsertMarkPoints(r, 0),
            (Points{{99, -1}, {104, -1}, {99, 4}, {99, 11}, {104, 16}, {99, 16}, {99, -1}}));
  EXPECT_EQ(InsertMarkPoints(r, 1),
            (Points{{160, -2}, {155, -2}, {160, 3}, {160, 11}, {155, 16}, {160, 16}, {160, -1}}));
}

struct BulbCase {
  const char *name;
  double age;
  TColor outline;
  TColor inner;
};

class RowNewsBulbColours : public ::testing::TestWithParam<BulbCase> {};

TEST_P(RowNewsBulbColours, ByAge) {
  const BulbCase &c = GetParam();
  constexpr TColor bulbOutline = 0x123456;
  TRecordingCanvas canvas;
  canvas.Brush().Color = 0xABCDEF;
  DrawRowNewsBulb(canvas, 50, 4, c.age, bulbOutline);
  const auto polygons = canvas.CallsNamed("Polygon");
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(polygons[0].Pen.Color, c.outline);
  EXPECT_EQ(polygons[1].Pen.Color, c.inner);
  EXPECT_EQ(polygons[0].Brush.Color, TColor(0xABCDEF));
  EXPECT_EQ(polygons[0].Points, RowNewsBulbOutline(50, 4));
  EXPECT_EQ(polygons[0].Points.front(), TPoint(52, 4));
  EXPECT_EQ(polygons[1].Points, RowNewsBulbInner(50, 4));
}

INSTANTIATE_TEST_SUITE_P(
    Ages, RowNewsBulbColours,
    ::testing::Values(BulbCase{"Fresh", 0.0, 0x123456, 0x00FFFF},
                      BulbCase{"QuarterDay", 0.25, 0x123456, BlendColor(0x00FFFF, 0x808080, 0.5)},
                      BulbCase{"OneDay", 1.0, BlendColor(0, 0x808080, 1.0 / 3), 0xC0C0C0},
                      BulbCase{"ThreeDays", 3.0, 0x808080, 0xC0C0C0},
                      BulbCase{"FromTheFuture", -0.5, 0x123456, 0x00FFFF}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
