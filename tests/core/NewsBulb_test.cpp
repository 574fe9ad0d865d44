#include "core/NewsBulb.h"

#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

constexpr double Minute = 1.0 / (24 * 60);

struct ColorCase {
  double age;
  TColor inner;
};

TEST(NewsBulbTest, SmallBulbInnerColourOverThirtyMinutes) {
  const ColorCase cases[] = {
      {0, clYellow},
      {15 * Minute, RGB(0xC0, 0xC0, 0x40)},
      {29.99 * Minute, RGB(0x80, 0x80, 0x80)},
      {30 * Minute, clSilver},
      {3, clSilver},
  };
  for (const auto &c : cases)
    EXPECT_EQ(NewsBulbInnerColor(c.age), c.inner) << c.age / Minute << " min";
}

TEST(NewsBulbTest, LargeBulbColours) {
  EXPECT_EQ(NewsBulbLargeInnerColor(0), clYellow);
  EXPECT_EQ(NewsBulbLargeInnerColor(0.25), RGB(0xC0, 0xC0, 0x40));
  EXPECT_EQ(NewsBulbLargeInnerColor(0.5), clSilver);
  EXPECT_EQ(NewsBulbLargeOutlineColor(0.4), clBlack);
  EXPECT_EQ(NewsBulbLargeOutlineColor(0.5), clBlack);
  EXPECT_EQ(NewsBulbLargeOutlineColor(1.25), RGB(0x40, 0x40, 0x40));
  EXPECT_EQ(NewsBulbLargeOutlineColor(2.0), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(NewsBulbLargeOutlineColor(5), RGB(0x80, 0x80, 0x80));
}

TEST(NewsBulbTest, SmallBulbDrawsAnOutlinedGlassAndKeepsPenAndBrush) {
  TRecordingCanvas c;
  c.Pen().Color = clRed;
  c.Brush().Color = clBlue;
  DrawNewsBulb(c, 10, 20, 0);
  const auto polys = c.CallsNamed("Polygon");
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].Pen.Color, clBlack);
  EXPECT_EQ(polys[0].Brush.Color, clYellow);
  for (const TPoint &p : polys[0].Points) {
    EXPECT_GE(p.X, 10);
    EXPECT_LT(p.X, 10 + NewsBulbWidth);
    EXPECT_GE(p.Y, 20);
    EXPECT_LT(p.Y, 20 + NewsBulbHeight);
  }
  EXPECT_EQ(c.Pen().Color, clRed);
  EXPECT_EQ(c.Brush().Color, clBlue);

  c.Clear();
  DrawNewsBulb(c, 0, 0, 1.0);
  EXPECT_EQ(c.CallsNamed("Polygon")[0].Brush.Color, clSilver);
}

TEST(NewsBulbTest, LargeBulbUsesThePenOnly) {
  TRecordingCanvas c;
  c.Brush().Color = clBlue;
  DrawNewsBulbLarge(c, 4, 2, 1.25);
  const auto polys = c.CallsNamed("Polygon");
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].Brush.Style, bsClear);
  EXPECT_EQ(polys[0].Pen.Color, RGB(0x40, 0x40, 0x40));
  EXPECT_EQ(polys[0].Points.front(), TPoint(6, 2));
  const auto lines = c.CallsNamed("Polyline");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Pen.Color, clSilver);
  EXPECT_EQ(c.Brush().Color, clBlue);
  EXPECT_EQ(c.Brush().Style, bsSolid);
}

} // namespace
