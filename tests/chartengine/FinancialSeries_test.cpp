#include "SeriesGeometryTestChart.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/series/CandleSeries.h"
#include "chartengine/series/LineSeries.h"
#include "chartengine/series/VolumeSeries.h"

#include <gtest/gtest.h>

namespace {

// Bottom axis 0 .. 10 over x 20 .. 420 (x = 20 + 40 v); left axis 0 .. 100
// over y 20 .. 320 (y = 320 - 3 v).
constexpr int X(double v) { return 20 + static_cast<int>(v * 40); }
constexpr int Y(double v) { return 320 - static_cast<int>(v * 3); }

class CandleSeriesTest : public ::testing::Test {
protected:
  CandleSeriesTest() : chart(TRect(20, 20, 420, 320), 0, 10, 0, 100) {
    candles.SetParentChart(&chart);
  }
  void Draw(bool is3D = false) {
    canvas.Clear();
    chart.DrawOn(canvas, is3D);
  }
  // What a flat candle at x with its four screen positions draws.
  std::vector<std::string> FlatCandle(int x, int openY, int highY, int lowY, int closeY, int left,
                                      int right) {
    return DrawnShapes(chart.Replay([&](TChartCanvas3D &c) {
      c.VertLineAtDepth(x, lowY, highY, 0);
      if (openY == closeY)
        c.HorizLineAtDepth(left, right, openY, 0);
      else
        c.RectangleAtDepth(TRect(left, openY, right, closeY), 0);
    }));
  }

  GeometryChart chart;
  TCandleSeries candles;
  TRecordingCanvas canvas;
};

TEST_F(CandleSeriesTest, UpCandleIsAWickUnderAWhiteBody) {
  candles.AddCandle(2, 20, 50, 10, 40);
  Draw();
  EXPECT_EQ(DrawnShapes(canvas), FlatCandle(X(2), Y(20), Y(50), Y(10), Y(40), X(2) - 2, X(2) + 3));
  const std::vector<TCanvasCall> bodies = canvas.CallsNamed("Polygon");
  ASSERT_EQ(bodies.size(), 1u);
  EXPECT_EQ(bodies[0].Brush.Color, clWhite);
  EXPECT_EQ(bodies[0].Pen.Color, clBlack) << "the pointer's pen outlines the body";
  EXPECT_EQ(canvas.CallsNamed("LineTo")[0].Pen.Color, clBlack) << "wick";
}

TEST_F(CandleSeriesTest, DownCandleIsRed) {
  candles.AddCandle(2, 40, 50, 10, 20);
  Draw();
  EXPECT_EQ(DrawnShapes(canvas), FlatCandle(X(2), Y(40), Y(50), Y(10), Y(20), X(2) - 2, X(2) + 3));
  EXPECT_EQ(canvas.CallsNamed("Polygon")[0].Brush.Color, clRed);
}

TEST_F(CandleSeriesTest, EvenWidthSplitsEvenlyOddWidthLeansRight) {
  struct Case {
    int Width;
    int Left;
    int Right;
  };
  candles.AddCandle(5, 20, 50, 10, 40);
  for (const Case c : {Case{6, 3, 3}, Case{5, 2, 3}, Case{1, 0, 1}}) {
    candles.SetCandleWidth(c.Width);
    Draw();
    EXPECT_EQ(DrawnShapes(canvas),
              FlatCandle(X(5), Y(20), Y(50), Y(10), Y(40), X(5) - c.Left, X(5) + c.Right))
        << c.Width;
  }
}

TEST_F(CandleSeriesTest, CandleColours) {
  struct Case {
    const char *Name;
    double PreviousClose;
    double Open;
    double Close;
    TColor Expected;
  };
  candles.SetSeriesColor(clBlue);
  const Case cases[] = {
      {"closed above its open", 30, 20, 40, clWhite},
      {"closed below its open", 30, 40, 20, clRed},
      {"doji after a lower close", 20, 30, 30, clWhite},
      {"doji after a higher close", 40, 30, 30, clRed},
      {"doji after an equal close", 30, 30, 30, clBlue},
  };
  for (const Case &c : cases) {
    candles.Clear();
    candles.AddCandle(1, 25, 60, 10, c.PreviousClose);
    candles.AddCandle(2, c.Open, 60, 10, c.Close);
    Draw();
    EXPECT_EQ(candles.CandleColor(1), c.Expected) << c.Name;
  }
  candles.Clear();
  candles.AddCandle(1, 30, 60, 10, 30);
  Draw();
  EXPECT_EQ(candles.CandleColor(0), clWhite) << "a first doji";
  // A doji is a line in the candle colour.
  const std::vector<TCanvasCall> lines = canvas.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].Pen.Color, clWhite);
  EXPECT_EQ(lines[1].Points,
            (std::vector<TPoint>{TPoint(X(1) - 2, Y(30)), TPoint(X(1) + 3, Y(30))}));
}

TEST_F(CandleSeriesTest, BarStyleDrawsTicksInTheCandleColour) {
  candles.SetCandleStyle(csCandleBar);
  candles.AddCandle(2, 40, 50, 10, 20);
  Draw();
  EXPECT_EQ(DrawnShapes(canvas), DrawnShapes(chart.Replay([](TChartCanvas3D &c) {
              c.VertLineAtDepth(X(2), Y(10), Y(50), 0);
              c.HorizLineAtDepth(X(2), X(2) - 2, Y(40), 0);
              c.HorizLineAtDepth(X(2), X(2) + 3, Y(20), 0);
            })));
  for (const TCanvasCall &c : canvas.CallsNamed("LineTo"))
    EXPECT_EQ(c.Pen.Color, clRed);
  candles.SetShowOpenTick(false);
  candles.SetShowCloseTick(false);
  Draw();
  EXPECT_EQ(DrawnShapes(canvas), DrawnShapes(chart.Replay([](TChartCanvas3D &c) {
              c.VertLineAtDepth(X(2), Y(10), Y(50), 0);
            })));
}

TEST_F(CandleSeriesTest, ThreeDChartKeepsFlatCandlesUnlessDraw3D) {
  candles.AddCandle(2, 20, 50, 10, 40);
  EXPECT_FALSE(candles.Draw3D());
  EXPECT_TRUE(candles.Dark3D());
  Draw(true);
  const int z = candles.MidDepth();
  EXPECT_EQ(DrawnShapes(canvas), DrawnShapes(chart.Replay([&](TChartCanvas3D &c) {
              c.VertLineAtDepth(X(2), Y(10), Y(50), z);
              c.RectangleAtDepth(TRect(X(2) - 2, Y(20), X(2) + 3, Y(40)), z);
            })));
  candles.SetDraw3D(true);
  Draw(true);
  EXPECT_EQ(DrawnShapes(canvas), DrawnShapes(chart.Replay([&](TChartCanvas3D &c) {
              c.VertLineAtDepth(X(2), Y(20), Y(10), z);
              c.Box(X(2) - 2, X(2) + 3, Y(40), Y(20), candles.FrontDepth(), candles.BackDepth(),
                    true);
              c.VertLineAtDepth(X(2), Y(40), Y(50), z);
            })));
}

TEST_F(CandleSeriesTest, PointWithoutColourIsNotDrawn) {
  candles.AddCandle(2, 20, 50, 10, 40);
  candles.SetPointColor(0, clNone);
  Draw();
  EXPECT_TRUE(DrawnShapes(canvas).empty());
}

TEST_F(CandleSeriesTest, AssignAndSampleSettings) {
  TCandleSeries source;
  source.SetCandleWidth(9);
  source.SetCandleStyle(csCandleBar);
  source.SetUpCloseColor(clGreen);
  source.SetDownCloseColor(clBlack);
  source.SetShowOpenTick(false);
  source.SetShowCloseTick(false);
  source.SetDraw3D(true);
  candles.Assign(source);
  EXPECT_EQ(candles.CandleWidth(), 9);
  EXPECT_EQ(candles.CandleStyle(), csCandleBar);
  EXPECT_EQ(candles.UpCloseColor(), clGreen);
  EXPECT_EQ(candles.DownCloseColor(), clBlack);
  EXPECT_FALSE(candles.ShowOpenTick());
  EXPECT_FALSE(candles.ShowCloseTick());
  EXPECT_TRUE(candles.Draw3D()) << "the pointer's settings come with the series";

  candles.PrepareSample(true);
  EXPECT_EQ(candles.Count(), 4);
  EXPECT_TRUE(candles.ColorEachPoint());
  EXPECT_EQ(candles.UpCloseColor(), TColor(0xFF0000));
  EXPECT_EQ(candles.Pen().Width(), 2);
  EXPECT_EQ(candles.CandleWidth(), 12);
  candles.PrepareSample(false);
  EXPECT_EQ(candles.UpCloseColor(), clSilver);
  EXPECT_EQ(candles.DownCloseColor(), clSilver);
  EXPECT_EQ(candles.Pen().Color(), TColor(0x808080));
  EXPECT_EQ(candles.EditorClassName(), "TCandleEditor");
}

// ---- OHLC values ----------------------------------------------------------------------

TEST(OHLCSeriesTest, ListsAreNamedAndDatesAreDates) {
  TOHLCSeries s;
  ASSERT_EQ(s.AllValueLists().Count(), 5);
  const char *names[] = {"Date", "Open", "High", "Low", "Close"};
  for (int t = 0; t < 5; ++t)
    EXPECT_EQ(s.AllValueLists()[t].Name(), names[t]);
  EXPECT_TRUE(s.DateValues().DateTime());
  EXPECT_EQ(&s.DateValues(), &s.XValues());
  EXPECT_EQ(&s.OpenValues(), &s.YValues());
  EXPECT_EQ(&s.HighValues(), &s.AllValueLists()[2]);
  EXPECT_EQ(s.SamplePointCount(), 40);
}

TEST(OHLCSeriesTest, CandlesArrivingOutOfOrderKeepTheirValuesTogether) {
  TCandleSeries s;
  EXPECT_EQ(s.AddCandle(3, 13, 23, 3, 33), 0);
  EXPECT_EQ(s.AddCandle(1, 11, 21, 1, 31), 0);
  EXPECT_EQ(s.AddCandle(2, 12, 22, 2, 32), 1);
  for (int t = 0; t < 3; ++t) {
    EXPECT_DOUBLE_EQ(s.DateValues().Value(t), t + 1);
    EXPECT_DOUBLE_EQ(s.OpenValues().Value(t), 11 + t);
    EXPECT_DOUBLE_EQ(s.HighValues().Value(t), 21 + t);
    EXPECT_DOUBLE_EQ(s.LowValues().Value(t), 1 + t);
    EXPECT_DOUBLE_EQ(s.CloseValues().Value(t), 31 + t);
  }
}

TEST(OHLCSeriesTest, AfterAddHandlerSeesAllFiveValues) {
  TOHLCSeries s;
  double seen = 0;
  s.OnAfterAdd = [&](TChartSeries *, int index) { seen = s.CloseValues().Value(index); };
  s.AddOHLC(1, 2, 3, 0.5, 2.5);
  EXPECT_DOUBLE_EQ(seen, 2.5);
  s.OnBeforeAdd = [](TChartSeries *) { return false; };
  EXPECT_EQ(s.AddOHLC(2, 2, 3, 1, 2), -1);
  EXPECT_EQ(s.CloseValues().Count(), 1);
}

TEST(OHLCSeriesTest, VerticalRangeCoversLowsAndHighs) {
  TOHLCSeries s;
  s.AddOHLC(1, 20, 50, 10, 40);
  s.AddOHLC(2, 30, 45, 25, 26);
  EXPECT_DOUBLE_EQ(s.LargestY(), 50);
  EXPECT_DOUBLE_EQ(s.SmallestY(), 10);
}

TEST(OHLCSeriesTest, OnlyOtherOHLCSeriesFeedIt) {
  TOHLCSeries s;
  TCandleSeries candles;
  TLineSeries line;
  EXPECT_TRUE(s.CanFeedSeries(&candles));
  EXPECT_FALSE(s.CanFeedSeries(&line));
  EXPECT_FALSE(s.CanFeedSeries(&s));
}

TEST(OHLCSeriesTest, SampleCandlesHaveConsistentPrices) {
  SeedChartRandom(11);
  TCandleSeries s;
  s.FillSampleValues(40);
  ASSERT_EQ(s.Count(), 40);
  for (int t = 0; t < s.Count(); ++t) {
    const double open = s.OpenValues().Value(t);
    const double close = s.CloseValues().Value(t);
    EXPECT_GE(s.HighValues().Value(t), std::max(open, close)) << t;
    EXPECT_LE(s.LowValues().Value(t), std::min(open, close)) << t;
    EXPECT_DOUBLE_EQ(s.DateValues().Value(t), s.DateValues().Value(0) + t);
  }
  EXPECT_THROW(s.FillSampleValues(0), ChartException);
  // With a span of 1000: the close moves by up to 40 around the open less 20.
  for (int t = 0; t < 100; ++t) {
    const TOHLCSeries::TSampleCandle c = TOHLCSeries::SampleCandle(500, 1000);
    EXPECT_GE(c.Close, 480);
    EXPECT_LT(c.Close, 520);
    EXPECT_GE(c.High, std::max(500.0, c.Close));
    EXPECT_LE(c.Low, std::min(500.0, c.Close));
  }
}

// ---- volume ---------------------------------------------------------------------------

class VolumeSeriesTest : public ::testing::Test {
protected:
  VolumeSeriesTest() : chart(TRect(20, 20, 420, 320), 0, 10, 0, 100) {
    volume.SetParentChart(&chart);
  }
  GeometryChart chart;
  TVolumeSeries volume;
  TRecordingCanvas canvas;
};

TEST_F(VolumeSeriesTest, LinesRiseFromTheAxisBottomInThePointColour) {
  EXPECT_FALSE(volume.Pointer().Visible());
  EXPECT_FALSE(volume.DrawArea());
  volume.SetColorEachPoint(true);
  volume.AppendPoint(2, 40, "", clRed);
  volume.AppendPoint(3, 70, "", clBlue);
  volume.LinePen().SetWidth(3);
  chart.DrawOn(canvas);
  const std::vector<TCanvasCall> lines = canvas.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{TPoint(X(2), Y(40)), TPoint(X(2), Y(0))}));
  EXPECT_EQ(lines[0].Pen.Color, clRed);
  EXPECT_EQ(lines[0].Pen.Width, 3);
  EXPECT_EQ(lines[0].BkMode, TRANSPARENT);
  EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{TPoint(X(3), Y(70)), TPoint(X(3), Y(0))}));
  EXPECT_EQ(lines[1].Pen.Color, clBlue);
}

TEST_F(VolumeSeriesTest, InvertedAxisDrawsFromTheTop) {
  volume.AppendPoint(2, 40);
  chart.LeftAxis()->SetInverted(true);
  chart.DrawOn(canvas);
  const std::vector<TCanvasCall> lines = canvas.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 1u);
  // y = 20 + 3 v on the inverted axis.
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{TPoint(X(2), 140), TPoint(X(2), 20)}));
}

TEST_F(VolumeSeriesTest, SampleVolumes) {
  SeedChartRandom(3);
  EXPECT_EQ(volume.SamplePointCount(), 40);
  TVolumeSeries alone;
  alone.FillSampleValues(40);
  ASSERT_EQ(alone.Count(), 40);
  // The range with no other series is 0 .. 1000: volumes below 1000 div 15.
  for (int t = 0; t < 40; ++t) {
    EXPECT_GE(alone.VolumeValues().Value(t), 0);
    EXPECT_LT(alone.VolumeValues().Value(t), 66);
    EXPECT_DOUBLE_EQ(alone.XValues().Value(t), t);
  }
  EXPECT_THROW(alone.FillSampleValues(0), ChartException);
  alone.PrepareSample(true);
  EXPECT_EQ(alone.Count(), 26);
  EXPECT_TRUE(alone.Pointer().InflateMargins());
  EXPECT_EQ(alone.EditorClassName(), "TVolumeSeriesEditor");
}

} // namespace
