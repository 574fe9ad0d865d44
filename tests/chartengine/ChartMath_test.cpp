#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartPalette.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

TEST(ChartMath, NextRoundStep) {
  const struct {
    double In, Want;
  } cases[] = {{3, 5}, {12, 20},   {0.5, 1}, {5, 10},    {0.02, 0.05}, {1, 2},         {1.99, 2},
               {2, 5}, {9.99, 10}, {10, 20}, {150, 200}, {700, 1000},  {0.001, 0.002}, {1e6, 2e6}};
  for (const auto &c : cases)
    EXPECT_DOUBLE_EQ(NextRoundStep(c.In), c.Want) << c.In;
}

TEST(ChartMath, NextRoundStepOfNonFiniteOrNonPositiveEnds) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(NextRoundStep(inf), inf);
  EXPECT_EQ(NextRoundStep(std::nan("")), inf);
  EXPECT_EQ(NextRoundStep(0.0), inf);
  EXPECT_EQ(NextRoundStep(-3.0), inf);
  EXPECT_GT(NextRoundStep(std::numeric_limits<double>::denorm_min()), 0.0);
  EXPECT_GT(NextRoundStep(std::numeric_limits<double>::max()), 1e308);
}

TEST(ChartMath, DarkenColor) {
  EXPECT_EQ(DarkenColor(0x90A0B0, 64), 0x506070u);
  EXPECT_EQ(DarkenColor(0x103040, 0x30), 0x000010u) << "components at or below the amount go to 0";
  EXPECT_EQ(DarkenColor(clBtnFace, 64), DarkenColor(ColorToRGB(clBtnFace), 64));
  EXPECT_EQ(DarkenColor(0x000000, -300), 0xFFFFFFu) << "no wrap-around";
}

TEST(ChartMath, PixelConversionsSaturate) {
  EXPECT_EQ(PixelRound(1e12), INT_MAX);
  EXPECT_EQ(PixelRound(-1e12), INT_MIN);
  EXPECT_EQ(PixelRound(std::nan("")), 0);
  EXPECT_EQ(PixelRound(2.5), 2);
  EXPECT_EQ(PixelRound(-3.5), -4);
  EXPECT_EQ(PixelAdd(INT_MAX, 5), INT_MAX);
  EXPECT_EQ(PixelAdd(INT_MIN, -5), INT_MIN);
}

TEST(ChartPalette, ColoursAndHatchesWrap) {
  EXPECT_EQ(SeriesPaletteColor(0), clRed);
  EXPECT_EQ(SeriesPaletteColor(15), clBlack);
  EXPECT_EQ(SeriesPaletteColor(16), clRed);
  EXPECT_EQ(SeriesPaletteColor(13), clSilver);
  EXPECT_EQ(HatchPatternFor(0), bsHorizontal);
  EXPECT_EQ(HatchPatternFor(5), bsDiagCross);
  EXPECT_EQ(HatchPatternFor(6), bsHorizontal);
  EXPECT_EQ(SeriesPaletteColor(-1), clBlack);
}

} // namespace
