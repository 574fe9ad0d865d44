// The range every series type gives its axes counts only the points it
// draws: a point whose position or value is no finite number widens no axis,
// and a series with nothing to draw adds nothing to its axes.
#include "ChartControlSupport.h"
#include "chartengine/series/AreaSeries.h"
#include "chartengine/series/BarSeries.h"
#include "chartengine/series/CandleSeries.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/HorizBarSeries.h"
#include "chartengine/series/LineSeries.h"
#include "chartengine/series/PointSeries.h"
#include "chartengine/series/VolumeSeries.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

struct SeriesType {
  const char *Name;
  std::function<std::unique_ptr<TChartSeries>()> Make;
  // Adds a point at a position (X, or Y for a horizontal bar) with a value.
  std::function<void(TChartSeries &, double, double)> Add;
};

template <class T> std::unique_ptr<TChartSeries> New() { return std::make_unique<T>(); }

void AddXY(TChartSeries &s, double position, double value) { s.AppendPoint(position, value); }

const SeriesType Types[] = {
    {"line", New<TLineSeries>, AddXY},
    {"point", New<TPointSeries>, AddXY},
    {"area", New<TAreaSeries>, AddXY},
    {"bar", New<TBarSeries>, AddXY},
    {"fast line", New<TFastLineSeries>, AddXY},
    {"volume", New<TVolumeSeries>, AddXY},
    {"horizontal bar", New<THorizBarSeries>,
     [](TChartSeries &s, double position, double value) { s.AppendPoint(value, position); }},
    {"candle", New<TCandleSeries>,
     [](TChartSeries &s, double position, double value) {
       static_cast<TCandleSeries &>(s).AddCandle(position, value, value + 0.25, value - 0.25,
                                                 value);
     }},
};

// The ranges the left and bottom axes take from their series, after a
// drawing (margins for bars or marks come on top of them).
using Ranges = std::vector<double>;

Ranges Draw(LayoutChart &chart) {
  chart.Draw();
  return {chart.LeftAxis()->Minimum(), chart.LeftAxis()->Maximum(), chart.BottomAxis()->Minimum(),
          chart.BottomAxis()->Maximum()};
}

// A price series: 20 points at positions 0 .. 19 with values 150 .. 151.
void FillPrices(const SeriesType &type, TChartSeries &s) {
  for (int t = 0; t < 20; ++t)
    type.Add(s, t, 150 + (t % 5) * 0.25);
}

TEST(SeriesAxisRange, PointsThatAreNotDrawnWidenNoAxis) {
  struct Extra {
    const char *Name;
    // Added to the price series itself (true) or to a second series of the type.
    bool OwnSeries;
    std::function<void(const SeriesType &, TChartSeries &)> Add;
  };
  const Extra extras[] = {
      {"a value that is no number far along", true,
       [](const SeriesType &type, TChartSeries &s) { type.Add(s, 1000, NaN); }},
      {"a position that is no number with a far value", true,
       [](const SeriesType &type, TChartSeries &s) { type.Add(s, NaN, 1000); }},
      {"infinite positions and values", true,
       [](const SeriesType &type, TChartSeries &s) {
         type.Add(s, Inf, 151);
         type.Add(s, -Inf, 150);
         type.Add(s, 5, -Inf);
         type.Add(s, 6, Inf);
       }},
      {"a second series without points", false, [](const SeriesType &, TChartSeries &) {}},
      {"a second series of gaps only", false,
       [](const SeriesType &type, TChartSeries &s) {
         for (int t = 0; t < 5; ++t)
           type.Add(s, t * 100, NaN);
         type.Add(s, NaN, 0);
       }},
  };
  for (const SeriesType &type : Types)
    for (const Extra &extra : extras)
      for (bool is3D : {false, true}) {
        LayoutChart alone;
        alone.SetView3D(is3D);
        std::unique_ptr<TChartSeries> prices = type.Make();
        prices->SetParentChart(&alone);
        FillPrices(type, *prices);
        const Ranges expected = Draw(alone);

        LayoutChart chart;
        chart.SetView3D(is3D);
        std::unique_ptr<TChartSeries> withGaps = type.Make();
        withGaps->SetParentChart(&chart);
        FillPrices(type, *withGaps);
        std::unique_ptr<TChartSeries> second;
        if (extra.OwnSeries) {
          extra.Add(type, *withGaps);
        } else {
          second = type.Make();
          second->SetParentChart(&chart);
          extra.Add(type, *second);
        }
        EXPECT_EQ(Draw(chart), expected) << type.Name << ", " << extra.Name << (is3D ? ", 3-D" : "")
                                         << " (left min, max, bottom min, max)";
      }
}

// A price axis at 150 .. 151 stays there with an empty or gap-only line
// beside the price line (it used to be pulled down to 0).
TEST(SeriesAxisRange, AnEmptyOrGapOnlySeriesLeavesAPriceAxisWhereItIs) {
  for (bool gaps : {false, true}) {
    LayoutChart chart;
    chart.SetView3D(false);
    TFastLineSeries prices;
    prices.SetParentChart(&chart);
    for (int t = 0; t < 20; ++t)
      prices.AppendPoint(t, 150 + (t % 5) * 0.25);
    TLineSeries other;
    other.SetParentChart(&chart);
    if (gaps)
      for (int t = 0; t < 3; ++t)
        other.AppendPoint(t, NaN);
    chart.Draw();
    EXPECT_EQ(chart.LeftAxis()->Minimum(), 150) << (gaps ? "gaps" : "empty");
    EXPECT_EQ(chart.LeftAxis()->Maximum(), 151) << (gaps ? "gaps" : "empty");
    EXPECT_GE(chart.LeftAxis()->CurMinimum(), 149) << (gaps ? "gaps" : "empty");
  }
}

} // namespace
