#include "ChartTestSupport.h"
#include "chartengine/canvas/GradientBands.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

TEST(GradientBands, LinearBandCountIsCappedAt256) {
  EXPECT_EQ(ComputeGradientBands(TRect(0, 0, 50, 1000), clBlack, clWhite, gdTopBottom).size(),
            256u);
  EXPECT_EQ(ComputeGradientBands(TRect(0, 0, 50, 100), clBlack, clWhite, gdTopBottom).size(), 100u);
  EXPECT_EQ(ComputeGradientBands(TRect(0, 0, 1000, 5), clBlack, clWhite, gdLeftRight).size(), 256u);
}

TEST(GradientBands, TopBottomStartsAtTheBottomEdge) {
  const auto bands = ComputeGradientBands(TRect(10, 20, 60, 120), clBlack, 0x0000C8, gdTopBottom);
  ASSERT_EQ(bands.size(), 100u);
  EXPECT_EQ(bands.front(), (TGradientBand{TRect(10, 119, 60, 120), clBlack}));
  EXPECT_EQ(bands.back(), (TGradientBand{TRect(10, 20, 60, 21), 0x0000C8u}));
  // Band i: start + MulDiv(i, 200, 99) in red.
  EXPECT_EQ(bands[50].Color, 101u);
}

TEST(GradientBands, LinearBandsTileTheRectangle) {
  const TRect r(0, 0, 7, 1000);
  const auto bands = ComputeGradientBands(r, clRed, clBlue, gdBottomTop);
  int covered = 0;
  int expectedBottom = r.Bottom;
  for (const TGradientBand &b : bands) {
    EXPECT_EQ(b.Rect.Bottom, expectedBottom);
    expectedBottom = b.Rect.Top;
    covered += b.Rect.Height();
  }
  EXPECT_EQ(covered, 1000);
  EXPECT_EQ(expectedBottom, r.Top);
}

TEST(GradientBands, LeftRightStartsAtTheRightEdge) {
  const auto bands = ComputeGradientBands(TRect(0, 0, 300, 10), clWhite, clBlack, gdLeftRight);
  EXPECT_EQ(bands.front().Rect.Right, 300);
  EXPECT_EQ(bands.front().Color, clWhite);
  EXPECT_EQ(bands.back().Rect.Left, 0);
  EXPECT_EQ(bands.back().Color, clBlack);
}

TEST(GradientBands, DegenerateRectsGiveOneBandOfTheStartColour) {
  for (TGradientDirection d : {gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter,
                               gdFromTopLeft, gdFromBottomLeft}) {
    const auto empty = ComputeGradientBands(TRect(5, 5, 5, 40), clRed, clBlue, d);
    ASSERT_EQ(empty.size(), 1u) << d;
    EXPECT_EQ(empty[0].Color, clRed) << d;
  }
  const auto onePixel = ComputeGradientBands(TRect(0, 0, 40, 1), clRed, clBlue, gdTopBottom);
  ASSERT_EQ(onePixel.size(), 1u);
  EXPECT_EQ(onePixel[0], (TGradientBand{TRect(0, 0, 40, 1), clRed}));
  const auto oneWide = ComputeGradientBands(TRect(0, 0, 1, 40), clRed, clBlue, gdRightLeft);
  ASSERT_EQ(oneWide.size(), 1u);
  EXPECT_EQ(oneWide[0].Color, clRed);
}

TEST(GradientBands, RectIsNormalisedAndSystemColoursResolved) {
  const auto bands = ComputeGradientBands(TRect(60, 120, 10, 20), clBtnFace, clWhite, gdTopBottom);
  EXPECT_EQ(bands.front().Rect, TRect(10, 119, 60, 120));
  EXPECT_EQ(bands.front().Color, ColorToRGB(clBtnFace));
}

// Every pixel of the rect gets painted by the two-dimensional gradients.
void ExpectCovers(const TRect &r, TGradientDirection d) {
  std::set<std::pair<int, int>> painted;
  for (const TGradientBand &b : ComputeGradientBands(r, clBlack, clWhite, d)) {
    EXPECT_GE(b.Rect.Left, r.Left);
    EXPECT_LE(b.Rect.Right, r.Right);
    EXPECT_GE(b.Rect.Top, r.Top);
    EXPECT_LE(b.Rect.Bottom, r.Bottom);
    for (int x = b.Rect.Left; x < b.Rect.Right; ++x)
      for (int y = b.Rect.Top; y < b.Rect.Bottom; ++y)
        painted.insert({x, y});
  }
  EXPECT_EQ(painted.size(), std::size_t(r.Width()) * r.Height()) << d;
}

TEST(GradientBands, TwoDimensionalGradientsCoverTheRect) {
  for (const TRect &r : {TRect(0, 0, 30, 20), TRect(3, 4, 8, 41), TRect(0, 0, 17, 17)})
    for (TGradientDirection d : {gdFromCenter, gdFromTopLeft, gdFromBottomLeft})
      ExpectCovers(r, d);
}

TEST(GradientBands, FromCenterRunsFromTheEdgeToTheMiddle) {
  const auto bands = ComputeGradientBands(TRect(0, 0, 40, 40), clBlack, 0x0000FF, gdFromCenter);
  EXPECT_EQ(bands.front().Color, clBlack);
  EXPECT_EQ(bands.front().Rect, TRect(0, 0, 40, 2));
  EXPECT_GT(GetRValue(bands.back().Color), 200);
}

TEST(GradientBands, FromTopLeftStartsAtTheCorner) {
  const auto bands = ComputeGradientBands(TRect(0, 0, 30, 40), clBlack, 0x0000FF, gdFromTopLeft);
  EXPECT_EQ(bands.front(), (TGradientBand{TRect(0, 0, 1, 1), clBlack}));
  const auto up = ComputeGradientBands(TRect(0, 0, 30, 40), clBlack, 0x0000FF, gdFromBottomLeft);
  EXPECT_EQ(up.front(), (TGradientBand{TRect(0, 39, 1, 40), clBlack}));
}

} // namespace
