// The fast line series with 100,000 points in a 1280 x 720 chart:
// - the whole chart drawn, flat and in 3-D, against the same points in a
//   general line series;
// - a chart zoomed onto the last 5 % of the points (the drawing visits only
//   the visible range);
// - live points appended one by one: only the new segment drawn into the
//   shown picture (AutoRepaint off) against a whole drawing per point.
#include "PriceTrace.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/LineSeries.h"
#include "platform/BitmapBuffer.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kPoints = 100000;
constexpr int kAppended = 1000;

struct BenchChart {
  explicit BenchChart(bool is3D) {
    chart.resize(kWidth, kHeight);
    chart.SetBufferedDisplay(false);
    chart.SetView3D(is3D);
    // A legend of series: a legend of 100,000 values would measure them all.
    chart.Legend().SetLegendStyle(lsSeries);
  }
  void Draw() { chart.DrawToCanvas(&picture.Canvas(), TRect(0, 0, kWidth, kHeight)); }
  TChart chart;
  TBitmapBuffer picture{kWidth, kHeight};
};

// The whole chart with one 100,000-point series; range(0): 3-D, range(1):
// the general line series instead of the fast line.
void BM_DrawChart(benchmark::State &state) {
  const bool is3D = state.range(0) != 0;
  const bool general = state.range(1) != 0;
  BenchChart c(is3D);
  TFastLineSeries fast;
  TLineSeries line;
  TChartSeries &series = general ? static_cast<TChartSeries &>(line) : fast;
  if (general)
    FillPrices(line, kPoints);
  else
    FillPrices(fast, kPoints);
  series.SetParentChart(&c.chart);
  for (auto _ : state)
    c.Draw();
  state.SetLabel(std::string(general ? "line series" : "fast line") + (is3D ? ", 3-D" : ", flat"));
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_DrawChart)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// The chart zoomed onto the last 5,000 points: only they are visited.
void BM_DrawZoomed(benchmark::State &state) {
  BenchChart c(false);
  TFastLineSeries fast;
  FillPrices(fast, kPoints);
  fast.SetParentChart(&c.chart);
  c.chart.BottomAxis()->SetMinMax(kPoints - 5000, kPoints - 1);
  for (auto _ : state)
    c.Draw();
  state.SetLabel("last 5 % visible");
}
BENCHMARK(BM_DrawZoomed)->Unit(benchmark::kMillisecond);

// Live points appended to a drawn 100,000-point line, one per iteration;
// range(0) 1: the point draws its segment into the shown picture (what the
// window then copies); 0: the whole chart is drawn again for it.
void BM_AppendLive(benchmark::State &state) {
  const bool segmentOnly = state.range(0) != 0;
  BenchChart c(false);
  c.chart.SetBufferedDisplay(true);
  TFastLineSeries fast;
  FillPrices(fast, kPoints);
  fast.SetParentChart(&c.chart);
  // Room on the axis for the points to come.
  c.chart.BottomAxis()->SetMinMax(0, kPoints + kAppended);
  c.Draw();
  fast.AutoRepaint = !segmentOnly;
  int i = kPoints;
  for (auto _ : state) {
    fast.AppendPoint(i, Price(i));
    ++i;
    if (!segmentOnly)
      c.Draw();
  }
  state.SetLabel(segmentOnly ? "segment into the picture" : "whole chart per point");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendLive)->Arg(1)->Iterations(kAppended)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AppendLive)->Arg(0)->Iterations(20)->Unit(benchmark::kMicrosecond);

} // namespace
