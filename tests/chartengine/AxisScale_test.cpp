#include "chartengine/engine/AxisScale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

TAxisScale Linear(double min, double max, int start, int end, bool horizontal, bool inverted) {
  TAxisScale s;
  s.Minimum = min;
  s.Maximum = max;
  s.StartPixel = start;
  s.EndPixel = end;
  s.Horizontal = horizontal;
  s.Inverted = inverted;
  return s;
}

struct MapCase {
  const char *Name;
  double Min, Max;
  bool Horizontal, Inverted, Log;
  double Value;
  int Pixel;
};

class AxisScaleMapping : public ::testing::TestWithParam<MapCase> {};

TEST_P(AxisScaleMapping, ValueToPixel) {
  const MapCase &c = GetParam();
  TAxisScale s = Linear(c.Min, c.Max, 10, 210, c.Horizontal, c.Inverted);
  s.Logarithmic = c.Log;
  EXPECT_EQ(s.ValueToScreen(c.Value), c.Pixel);
  EXPECT_EQ(s.Pixels(c.Horizontal)(c.Value), c.Pixel);
}

TEST(AxisScale, PixelMapGivesTheScalesPixelsAlsoNextToHalfPixels) {
  // Values on and a hair off every half pixel, and far out, on scales whose
  // pixel size has no short binary form.
  for (const bool horizontal : {true, false})
    for (const bool inverted : {false, true}) {
      const TAxisScale s = Linear(-3.7, 1234.1, 17, 1297, horizontal, inverted);
      const TAxisPixelMap map = s.Pixels(horizontal);
      const double perPixel = s.Range() / s.SpanPixels();
      for (int k = -40; k < 2600; ++k) {
        const double half = s.Minimum + (k * 0.5) * perPixel;
        for (const double v : {half, std::nextafter(half, -1e300), std::nextafter(half, 1e300),
                               half + perPixel * 1e-8, half * 1e9})
          ASSERT_EQ(map(v), s.ValueToScreen(v)) << v << " h " << horizontal << " i " << inverted;
      }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AxisScaleMapping,
    ::testing::Values(MapCase{"HorizontalQuarter", 0, 100, true, false, false, 25, 60},
                      MapCase{"HorizontalInverted", 0, 100, true, true, false, 25, 160},
                      MapCase{"VerticalQuarter", 0, 100, false, false, false, 25, 160},
                      MapCase{"VerticalInverted", 0, 100, false, true, false, 25, 60},
                      MapCase{"EmptyRangeIsCentre", 5, 5, true, false, false, 17, 110},
                      MapCase{"FarOutIsCentre", 0, 1, true, false, false, 1e12, 110},
                      MapCase{"NotANumberIsCentre", 0, 1, false, false, false, NAN, 110},
                      MapCase{"BelowRange", 0, 100, true, false, false, -50, -90},
                      MapCase{"LogMiddle", 1, 100, true, false, true, 10, 110},
                      MapCase{"LogMiddleVertical", 1, 100, false, false, true, 10, 110},
                      MapCase{"LogInvertedTenth", 1, 100, true, true, true, 100, 10},
                      MapCase{"LogZeroOnX", 1, 100, true, false, true, 0, 10},
                      MapCase{"LogNegativeOnInvertedX", 1, 100, true, true, true, -3, 210},
                      MapCase{"LogZeroOnY", 1, 100, false, false, true, 0, 210},
                      MapCase{"LogZeroOnInvertedY", 1, 100, false, true, true, 0, 10},
                      MapCase{"LogEmptyRange", 7, 7, true, false, true, 7, 110}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(AxisScale, LogarithmicOverPixelsZeroToTwoHundred) {
  TAxisScale s = Linear(1, 100, 0, 200, true, false);
  s.Logarithmic = true;
  EXPECT_EQ(s.XValueToScreen(10), 100);
  EXPECT_EQ(s.YValueToScreen(10), 100);
}

struct InverseCase {
  const char *Name;
  bool Horizontal, Inverted, Log;
};

class AxisScaleInverse : public ::testing::TestWithParam<InverseCase> {};

// Every pixel maps back to a value that maps to the same pixel.
TEST_P(AxisScaleInverse, PixelToValueAndBack) {
  const InverseCase &c = GetParam();
  TAxisScale s = Linear(c.Log ? 1 : -40, 1000, 10, 210, c.Horizontal, c.Inverted);
  s.Logarithmic = c.Log;
  for (int pixel = 10; pixel <= 210; pixel += 7)
    EXPECT_EQ(s.ValueToScreen(s.ScreenToValue(pixel)), pixel) << pixel;
}

INSTANTIATE_TEST_SUITE_P(Cases, AxisScaleInverse,
                         ::testing::Values(InverseCase{"Horizontal", true, false, false},
                                           InverseCase{"HorizontalInverted", true, true, false},
                                           InverseCase{"Vertical", false, false, false},
                                           InverseCase{"VerticalInverted", false, true, false},
                                           InverseCase{"LogHorizontal", true, false, true},
                                           InverseCase{"LogVerticalInverted", false, true, true}),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(AxisScale, ScreenToValueAtTheEnds) {
  const TAxisScale h = Linear(0, 100, 10, 210, true, false);
  EXPECT_DOUBLE_EQ(h.ScreenToValue(10), 0);
  EXPECT_DOUBLE_EQ(h.ScreenToValue(60), 25);
  const TAxisScale v = Linear(0, 100, 10, 210, false, false);
  EXPECT_DOUBLE_EQ(v.ScreenToValue(10), 100);
  EXPECT_DOUBLE_EQ(v.ScreenToValue(160), 25);
  const TAxisScale vi = Linear(0, 100, 10, 210, false, true);
  EXPECT_DOUBLE_EQ(vi.ScreenToValue(10), 0);

  TAxisScale log = Linear(1, 100, 0, 200, false, false);
  log.Logarithmic = true;
  EXPECT_DOUBLE_EQ(log.ScreenToValue(0), 100);
  EXPECT_DOUBLE_EQ(log.ScreenToValue(200), 1);
  EXPECT_NEAR(log.ScreenToValue(100), 10, 1e-9);
  log.Inverted = true;
  EXPECT_DOUBLE_EQ(log.ScreenToValue(0), 1);
  EXPECT_DOUBLE_EQ(log.ScreenToValue(200), 100);
}

TEST(AxisScale, NoSpanGivesZeroOrTheMinimum) {
  const TAxisScale s = Linear(3, 8, 50, 50, true, false);
  EXPECT_EQ(s.ScreenToValue(70), 0.0);
  TAxisScale log = Linear(3, 8, 50, 40, true, false);
  log.Logarithmic = true;
  EXPECT_EQ(log.ScreenToValue(70), 3.0);
}

TEST(AxisScale, DepthPositions) {
  TAxisScale s = Linear(0, 10, 0, 0, false, false);
  EXPECT_EQ(s.DepthValueToScreen(2.5, 100), 25);
  s.Inverted = true;
  EXPECT_EQ(s.DepthValueToScreen(2.5, 100), 75);
  s.Maximum = 0;
  EXPECT_EQ(s.DepthValueToScreen(2.5, 101), 50);
}

TEST(AxisScale, SpanFromPercentPositions) {
  TAxisScale s;
  s.SetSpan(10, 200, 10, 90);
  EXPECT_EQ(s.StartPixel, 30);
  EXPECT_EQ(s.EndPixel, 190);
  EXPECT_EQ(s.SpanPixels(), 160);
  EXPECT_EQ(s.CenterPixel(), 110);
  s.SetSpan(-7, 4, 0, 100);
  EXPECT_EQ(s.CenterPixel(), -5); // truncated towards zero
}

// Positions near the ends of the pixel range saturate instead of wrapping.
TEST(AxisScale, PixelsSaturate) {
  TAxisScale s = Linear(0, 1, INT_MAX - 10, INT_MAX, true, false);
  EXPECT_EQ(s.XValueToScreen(1e6), INT_MAX);
  TAxisScale log = Linear(1, 1 + 1e-9, 0, 1000, true, false);
  log.Logarithmic = true;
  EXPECT_EQ(log.XValueToScreen(1e300), INT_MAX);
  EXPECT_EQ(log.YValueToScreen(1e300), 1000 - INT_MAX);
  TAxisScale depth = Linear(0, 1e-300, 0, 0, false, false);
  EXPECT_EQ(depth.DepthValueToScreen(1, 1000), INT_MAX);
}

} // namespace
