// The fast line's goals, measured side by side in one run (1280 x 720,
// offscreen, medians of 7 runs) and printed with their ratios:
// - a 1,000,000-point fast line, the whole chart drawn, flat and in 3-D,
//   against Qt Charts' QLineSeries, a raw QPainter polyline of every point,
//   and the limit: min/max per pixel column, then one polyline;
// - one point appended to it and shown (AutoRepaint on), against Qt Charts;
// - heap bytes per point of a shown series, against Qt Charts;
// - a 100,000-point general line series in 3-D against the same flat.
#include "PriceTrace.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/LineSeries.h"
#include "platform/BitmapBuffer.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <benchmark/benchmark.h>

#ifdef TV_BENCH_QTCHARTS
#include <QApplication>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kMillion = 1000000;
constexpr int kLinePoints = 100000;
constexpr int kRuns = 7;
// Qt Charts works out a stroke of the whole line on every change, which
// takes from seconds to minutes for a million points: one run, no warm-up.
constexpr int kQtRuns = 1;

// Median of runs timings of fn, in milliseconds; with more than one run, one
// run before them warms up.
double MedianMs(const std::function<void()> &fn, int runs = kRuns) {
  if (runs > 1)
    fn();
  std::vector<double> ms;
  for (int r = 0; r < runs; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    fn();
    const auto t1 = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

// Bytes the heap hands out now (small blocks and mapped ones).
double HeapBytes() {
  const struct mallinfo2 m = mallinfo2();
  return static_cast<double>(m.uordblks + m.hblkhd);
}

struct OurChart {
  explicit OurChart(bool is3D) {
    chart.resize(kWidth, kHeight);
    chart.SetBufferedDisplay(false);
    chart.SetView3D(is3D);
    // A legend of series: a legend of a million values would measure them all.
    chart.Legend().SetLegendStyle(lsSeries);
  }
  void Draw() { chart.DrawToCanvas(&picture.Canvas(), TRect(0, 0, kWidth, kHeight)); }
  TChart chart;
  TBitmapBuffer picture{kWidth, kHeight};
};

double OurWholeRepaint(bool is3D) {
  OurChart c(is3D);
  TFastLineSeries fast;
  FillPrices(fast, kMillion);
  fast.SetParentChart(&c.chart);
  return MedianMs([&] { c.Draw(); });
}

double OurAppendAndShow() {
  OurChart c(false);
  c.chart.SetBufferedDisplay(true);
  TFastLineSeries fast;
  FillPrices(fast, kMillion);
  fast.SetParentChart(&c.chart);
  c.Draw();
  int i = kMillion;
  return MedianMs([&] {
    fast.AppendPoint(i, Price(i));
    ++i;
    c.Draw();
  });
}

// Heap growth from a drawn empty chart to the same chart drawn with the
// points, per point.
double OurBytesPerPoint() {
  OurChart c(false);
  auto fast = std::make_unique<TFastLineSeries>();
  fast->SetParentChart(&c.chart);
  c.Draw();
  const double before = HeapBytes();
  FillPrices(*fast, kMillion);
  c.Draw();
  return (HeapBytes() - before) / kMillion;
}

double LineSeriesRepaint(bool is3D) {
  OurChart c(is3D);
  TLineSeries line;
  FillPrices(line, kLinePoints);
  line.SetParentChart(&c.chart);
  return MedianMs([&] { c.Draw(); });
}

// Every point mapped and drawn as one QPainter polyline.
double RawPolyline() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  std::vector<double> ys(kMillion);
  for (int i = 0; i < kMillion; ++i)
    ys[static_cast<size_t>(i)] = Price(i);
  const auto [lo, hi] = std::minmax_element(ys.begin(), ys.end());
  const double sx = (kWidth - 1.0) / (kMillion - 1), sy = (kHeight - 1.0) / (*hi - *lo);
  QPolygon poly(kMillion);
  return MedianMs([&] {
    image.fill(Qt::white);
    for (int i = 0; i < kMillion; ++i)
      poly[i] = QPoint(static_cast<int>(i * sx + 0.5),
                       static_cast<int>((*hi - ys[static_cast<size_t>(i)]) * sy + 0.5));
    QPainter p(&image);
    p.setPen(QPen(Qt::red, 1));
    p.drawPolyline(poly);
  });
}

// The limit: every point mapped to its pixel column, each column cut to its
// first, lowest, highest and last point, then one polyline.
double MinMaxLimit() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  std::vector<double> ys(kMillion);
  for (int i = 0; i < kMillion; ++i)
    ys[static_cast<size_t>(i)] = Price(i);
  const auto [lo, hi] = std::minmax_element(ys.begin(), ys.end());
  const double sx = (kWidth - 1.0) / (kMillion - 1), sy = (kHeight - 1.0) / (*hi - *lo);
  QPolygon poly;
  return MedianMs([&] {
    image.fill(Qt::white);
    poly.clear();
    int column = -1, first = 0, low = 0, high = 0, last = 0;
    const auto flush = [&] {
      if (column < 0)
        return;
      poly << QPoint(column, first) << QPoint(column, low) << QPoint(column, high)
           << QPoint(column, last);
    };
    const double top = *hi;
    for (int i = 0; i < kMillion; ++i) {
      // Both are never negative: rounding is adding a half and truncating.
      const int x = static_cast<int>(i * sx + 0.5);
      const int y = static_cast<int>((top - ys[static_cast<size_t>(i)]) * sy + 0.5);
      if (x != column) {
        flush();
        column = x;
        first = low = high = y;
      }
      low = std::min(low, y);
      high = std::max(high, y);
      last = y;
    }
    flush();
    QPainter p(&image);
    p.setPen(QPen(Qt::red, 1));
    p.drawPolyline(poly);
  });
}

#ifdef TV_BENCH_QTCHARTS
struct QtChart {
  QtChart() {
    series = new QLineSeries;
    chart = new QChart;
    chart->legend()->hide();
    view = std::make_unique<QChartView>(chart);
    view->resize(kWidth, kHeight);
    // Laid out as a shown window is (offscreen).
    view->show();
    QCoreApplication::processEvents();
  }
  void Attach() {
    chart->addSeries(series);
    chart->createDefaultAxes();
    QCoreApplication::processEvents();
  }
  void Render() {
    QCoreApplication::processEvents();
    QPainter p(&image);
    view->render(&p);
  }
  QLineSeries *series;
  QChart *chart;
  std::unique_ptr<QChartView> view;
  QImage image{kWidth, kHeight, QImage::Format_RGB32};
};

void FillQt(QLineSeries *s, int count) {
  QList<QPointF> points;
  points.reserve(count);
  for (int i = 0; i < count; ++i)
    points.append(QPointF(i, Price(i)));
  s->append(points);
}

double QtWholeRepaint() {
  QtChart q;
  FillQt(q.series, kMillion);
  q.Attach();
  return MedianMs([&] { q.Render(); }, kQtRuns);
}

double QtAppendAndShow() {
  QtChart q;
  FillQt(q.series, kMillion);
  q.Attach();
  q.Render();
  int i = kMillion;
  return MedianMs(
      [&] {
        q.series->append(i, Price(i));
        ++i;
        q.Render();
      },
      kQtRuns);
}

// Heap growth from a shown empty chart to the same chart showing the points
// (filled before they join the chart: appended to a shown series, each point
// would lay the whole line out again).
double QtBytesPerPoint() {
  QtChart q;
  q.Render();
  const double before = HeapBytes();
  auto *series = new QLineSeries;
  FillQt(series, kMillion);
  q.chart->addSeries(series);
  q.chart->createDefaultAxes();
  q.Render();
  return (HeapBytes() - before) / kMillion;
}
#endif

void Row(const char *work, double ours, const char *peer, double peerValue, const char *goal,
         bool holds) {
  std::printf("%-44s %10.2f   %-34s %10.2f   %-40s %s\n", work, ours, peer, peerValue, goal,
              holds ? "holds" : "MISSED");
}

void BM_FastLineGoals(benchmark::State &state) {
  for (auto _ : state) {
    const double flat = OurWholeRepaint(false);
    const double deep = OurWholeRepaint(true);
    const double append = OurAppendAndShow();
    const double bytes = OurBytesPerPoint();
    const double lineFlat = LineSeriesRepaint(false);
    const double line3D = LineSeriesRepaint(true);
    const double raw = RawPolyline();
    const double limit = MinMaxLimit();
    std::fprintf(stderr,
                 "ours: flat %.2f ms, 3-D %.2f ms, append %.2f ms, %.2f bytes/point, line "
                 "series flat %.2f ms, 3-D %.2f ms; raw polyline %.2f ms, limit %.2f ms\n",
                 flat, deep, append, bytes, lineFlat, line3D, raw, limit);
#ifdef TV_BENCH_QTCHARTS
    const double qtRepaint = QtWholeRepaint();
    std::fprintf(stderr, "Qt Charts whole repaint %.2f ms\n", qtRepaint);
    const double qtAppend = QtAppendAndShow();
    std::fprintf(stderr, "Qt Charts append %.2f ms\n", qtAppend);
    const double qtBytes = QtBytesPerPoint();
#else
    const double qtRepaint = 0, qtAppend = 0, qtBytes = 0;
#endif
    std::printf("\nFast line goals (%d x %d, medians of %d runs; ms unless noted)\n", kWidth,
                kHeight, kRuns);
    std::printf("raw QPainter polyline of 1M points: %.2f ms; min/max limit: %.2f ms%s\n", raw,
                limit,
#ifdef TV_BENCH_QTCHARTS
                ""
#else
                " (Qt Charts not built in: its figures are 0)"
#endif
    );
    char text[160];
    std::snprintf(text, sizeof text, "limit %.2f: x%.2f (<= 2); QtCharts/ours %.1f (>= 30)",
                  limit, flat / limit, qtRepaint / flat);
    Row("1M fast line, whole repaint, flat", flat, "Qt Charts QLineSeries", qtRepaint, text,
        flat <= 2 * limit && qtRepaint >= 30 * flat);
    std::snprintf(text, sizeof text, "3-D/flat x%.2f (<= 1.3)", deep / flat);
    Row("same, 3-D", deep, "flat", flat, text, deep <= 1.3 * flat);
    std::snprintf(text, sizeof text, "/(2 x limit) x%.2f (<= 3)", append / (2 * limit));
    Row("append one point and show it (1M)", append, "Qt Charts append", qtAppend, text,
        append <= 3 * 2 * limit);
    std::snprintf(text, sizeof text, "<= 24 bytes (x and y: 16)");
    Row("bytes per point", bytes, "Qt Charts bytes per point", qtBytes, text, bytes <= 24);
    std::snprintf(text, sizeof text, "3-D/flat x%.2f (<= 3)", line3D / lineFlat);
    Row("100k general line series, 3-D", line3D, "same, flat", lineFlat, text,
        line3D <= 3 * lineFlat);
    std::printf("\n");
    std::fflush(stdout);
    state.counters["flat_ms"] = flat;
    state.counters["flat_per_limit"] = flat / limit;
    state.counters["deep_per_flat"] = deep / flat;
    state.counters["append_ms"] = append;
    state.counters["bytes_per_point"] = bytes;
    state.counters["line3d_per_flat"] = line3D / lineFlat;
    if (qtRepaint > 0)
      state.counters["qt_per_flat"] = qtRepaint / flat;
  }
}
BENCHMARK(BM_FastLineGoals)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
