// The projecting chart canvas: a scene of shaded 3-D boxes drawn off screen and
// copied out, in the orthogonal and the rotated view; and a 100,000-point line
// through the projection, point by point (LineToAtDepth) against projecting
// first and drawing one polyline, in the flat, orthogonal and rotated views;
// and a 3-D horizontal bar chart with its axes zoomed to a millionth of the
// data against the same chart unzoomed (lines and faces reaching far out of
// the picture are cut before they are stepped or filled).
#include "BenchRatio.h"
#include "chartengine/canvas/ChartCanvas3D.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/HorizBarSeries.h"
#include "platform/QPainterCanvas.h"
#include "chartengine/canvas/View3DOptions.h"
#include "platform/BitmapBuffer.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kPoints = 100000;

enum View { kFlat, kOrthogonal, kRotated };

void SetUpView(TView3DOptions &options, int view) {
  options.SetOrthogonal(view != kRotated);
  options.SetPerspective(view == kRotated ? 30 : 0);
}

const char *ViewName(int view) {
  return view == kFlat ? "flat" : (view == kOrthogonal ? "orthogonal" : "rotated");
}

// A price-like trace spread over the width.
const std::vector<TPoint> &Trace() {
  static const std::vector<TPoint> points = [] {
    std::vector<TPoint> p;
    p.reserve(kPoints);
    unsigned seed = 12345;
    for (int i = 0; i < kPoints; ++i) {
      seed = seed * 1103515245u + 12345u;
      const double jitter = int((seed >> 16) % 41) - 20;
      const double y = kHeight / 2.0 + 250.0 * std::sin(i * 0.0007) + jitter;
      p.emplace_back(int(i * double(kWidth - 1) / (kPoints - 1)), int(y));
    }
    return p;
  }();
  return points;
}

// 12 x 6 bars as boxes with dark sides, through the off-screen buffer.
void BM_BoxScene(benchmark::State &state) {
  const int view = static_cast<int>(state.range(0));
  TView3DOptions options;
  SetUpView(options, view);
  TBitmapBuffer window(kWidth, kHeight);
  TChartCanvas3D canvas;
  const TRect bounds(0, 0, kWidth, kHeight);
  for (auto _ : state) {
    const TRect r = canvas.BeginDraw(&window.Canvas(), &options, true, bounds);
    canvas.SetProjectionCentre(120, r);
    canvas.Brush() = TBrush{0xF0F0F0, bsSolid, nullptr};
    canvas.FillRect(r);
    canvas.Pen() = TPen{};
    for (int row = 0; row < 6; ++row)
      for (int col = 0; col < 12; ++col) {
        canvas.Brush().Color = 0x204080 + 0x101010 * ((row + col) % 8);
        const int left = 80 + col * 95, top = 120 + (col * 37 + row * 53) % 400;
        canvas.Box(left, left + 60, top, 640, row * 20, row * 20 + 18, true);
      }
    canvas.PresentBuffer(&window.Canvas(), nullptr, bounds);
    benchmark::DoNotOptimize(window.Image().constBits());
  }
  state.SetLabel(ViewName(view));
  state.SetItemsProcessed(state.iterations() * 72);
}
BENCHMARK(BM_BoxScene)->Arg(kOrthogonal)->Arg(kRotated)->Unit(benchmark::kMillisecond);

void BM_PolylinePointByPoint(benchmark::State &state) {
  const int view = static_cast<int>(state.range(0));
  TView3DOptions options;
  SetUpView(options, view);
  TBitmapBuffer picture(kWidth, kHeight);
  TChartCanvas3D canvas;
  canvas.SetBufferedDisplay(false);
  const TRect bounds(0, 0, kWidth, kHeight);
  canvas.BeginDraw(&picture.Canvas(), &options, view != kFlat, bounds);
  canvas.SetProjectionCentre(40, bounds);
  const std::vector<TPoint> &trace = Trace();
  for (auto _ : state) {
    canvas.MoveToAtDepth(trace[0].X, trace[0].Y, 20);
    for (std::size_t i = 1; i < trace.size(); ++i)
      canvas.LineToAtDepth(trace[i].X, trace[i].Y, 20);
    benchmark::DoNotOptimize(picture.Image().constBits());
  }
  state.SetLabel(ViewName(view));
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PolylinePointByPoint)
    ->Arg(kFlat)
    ->Arg(kOrthogonal)
    ->Arg(kRotated)
    ->Unit(benchmark::kMillisecond);

void BM_PolylineProjectedOnce(benchmark::State &state) {
  const int view = static_cast<int>(state.range(0));
  TView3DOptions options;
  SetUpView(options, view);
  TBitmapBuffer picture(kWidth, kHeight);
  TChartCanvas3D canvas;
  canvas.SetBufferedDisplay(false);
  const TRect bounds(0, 0, kWidth, kHeight);
  canvas.BeginDraw(&picture.Canvas(), &options, view != kFlat, bounds);
  canvas.SetProjectionCentre(40, bounds);
  const std::vector<TPoint> &trace = Trace();
  std::vector<TPoint> projected(trace.size());
  for (auto _ : state) {
    for (std::size_t i = 0; i < trace.size(); ++i)
      projected[i] = canvas.ProjectPoint(trace[i].X, trace[i].Y, 20);
    canvas.GetHandle()->Polyline(projected);
    benchmark::DoNotOptimize(picture.Image().constBits());
  }
  state.SetLabel(ViewName(view));
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_PolylineProjectedOnce)
    ->Arg(kFlat)
    ->Arg(kOrthogonal)
    ->Arg(kRotated)
    ->Unit(benchmark::kMillisecond);

// The chart of 12 horizontal bars in 3-D at 500 x 320, zoomed or not.
void DrawHorizBars3D(benchmark::State &state, bool zoomed) {
  TChart chart;
  // Drawn anew each time, not copied from the buffer of the last drawing.
  chart.SetBufferedDisplay(false);
  chart.SetView3D(true);
  THorizBarSeries bars;
  bars.SetParentChart(&chart);
  for (int i = 0; i < 12; ++i)
    bars.Add(60.0 + 17.0 * ((i * 7) % 12));
  if (zoomed) {
    chart.BottomAxis()->SetMinMax(150, 150.0001);
    chart.LeftAxis()->SetMinMax(9.5, 9.500019);
  }
  QImage picture(500, 320, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&picture);
    TQPainterCanvas canvas(painter);
    chart.DrawToCanvas(&canvas, TRect(0, 0, 500, 320));
    benchmark::DoNotOptimize(picture.constBits());
  }
}

void BM_HorizBars3DUnzoomed(benchmark::State &state) { DrawHorizBars3D(state, false); }
BENCHMARK(BM_HorizBars3DUnzoomed)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_HorizBars3DDeepZoom(benchmark::State &state) { DrawHorizBars3D(state, true); }
BENCHMARK(BM_HorizBars3DDeepZoom)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

const bool registered = [] {
  RegisterRatio("3-D horizontal bars zoomed to a millionth / unzoomed, 500 x 320",
                "BM_HorizBars3DDeepZoom", "BM_HorizBars3DUnzoomed", 2.0);
  return true;
}();

} // namespace
