// The fast line's goals, measured side by side in one run (1280 x 720,
// offscreen, no legend, medians of 7 runs after one warm-up) on two traces,
// today's price wave and a random walk, and printed with their ratios:
// - a 1,000,000-point fast line, the whole chart drawn, flat and in 3-D,
//   against Qt Charts' QLineSeries drawn with the same 1-px cosmetic pen, and
//   the limit: min/max per pixel column, then one polyline;
// - heap bytes per point of a shown series;
// - one point appended to it and shown (AutoRepaint on);
// - a 100,000-point general line series in 3-D against the same flat.
// Exits non-zero when a goal is missed.
#include "BenchRatio.h"
#include "PriceTrace.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/LineSeries.h"
#include "platform/BitmapBuffer.h"

#include <QImage>
#include <QPainter>
#include <QPen>
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
// An appended point makes Qt Charts work out a stroke of the whole line,
// which takes seconds for a million points: one run, no warm-up.
constexpr int kQtAppendRuns = 1;

struct Trace {
  const char *Name;
  double (*At)(int);
};
const Trace kTraces[] = {{"price wave", Price}, {"random walk", WalkPrice}};

bool g_missed = false;

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
    chart.Legend().SetVisible(false);
  }
  void Draw() { chart.DrawToCanvas(&picture.Canvas(), TRect(0, 0, kWidth, kHeight)); }
  TChart chart;
  TBitmapBuffer picture{kWidth, kHeight};
};

double OurWholeRepaint(bool is3D, const Trace &trace) {
  OurChart c(is3D);
  TFastLineSeries fast;
  FillPrices(fast, kMillion, trace.At);
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
double OurBytesPerPoint(const Trace &trace) {
  OurChart c(false);
  auto fast = std::make_unique<TFastLineSeries>();
  fast->SetParentChart(&c.chart);
  c.Draw();
  const double before = HeapBytes();
  FillPrices(*fast, kMillion, trace.At);
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

std::vector<double> Values(const Trace &trace) {
  std::vector<double> ys(kMillion);
  for (int i = 0; i < kMillion; ++i)
    ys[static_cast<size_t>(i)] = trace.At(i);
  return ys;
}

// Every point mapped and drawn as one QPainter polyline.
double RawPolyline(const Trace &trace) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  const std::vector<double> ys = Values(trace);
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
double MinMaxLimit(const Trace &trace) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  const std::vector<double> ys = Values(trace);
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
    // Our fast line's pen: 1 px, cosmetic.
    QPen pen(Qt::red, 1);
    pen.setCosmetic(true);
    series->setPen(pen);
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

void FillQt(QLineSeries *s, int count, double (*price)(int)) {
  QList<QPointF> points;
  points.reserve(count);
  for (int i = 0; i < count; ++i)
    points.append(QPointF(i, price(i)));
  s->append(points);
}

double QtWholeRepaint(const Trace &trace, bool &openGL) {
  QtChart q;
  FillQt(q.series, kMillion, trace.At);
  q.Attach();
  openGL = q.series->useOpenGL();
  return MedianMs([&] { q.Render(); });
}

double QtAppendAndShow() {
  QtChart q;
  FillQt(q.series, kMillion, Price);
  q.Attach();
  q.Render();
  int i = kMillion;
  return MedianMs(
      [&] {
        q.series->append(i, Price(i));
        ++i;
        q.Render();
      },
      kQtAppendRuns);
}
#endif

void Row(const char *work, double ours, const char *peer, double peerValue, const char *goal,
         bool holds) {
  std::printf("%-46s %10.2f   %-30s %10.2f   %-36s %s\n", work, ours, peer, peerValue, goal,
              holds ? "holds" : "MISSED");
  if (!holds) {
    g_missed = true;
    MarkGoalMissed();
  }
}

void TraceRows(const Trace &trace, double raw) {
  const double flat = OurWholeRepaint(false, trace);
  const double deep = OurWholeRepaint(true, trace);
  const double bytes = OurBytesPerPoint(trace);
  const double limit = MinMaxLimit(trace);
  bool openGL = false;
#ifdef TV_BENCH_QTCHARTS
  const double qt = QtWholeRepaint(trace, openGL);
#else
  const double qt = 0;
#endif
  std::fprintf(stderr, "%s: flat %.2f ms, 3-D %.2f ms, limit %.2f ms, Qt Charts %.2f ms\n",
               trace.Name, flat, deep, limit, qt);
  std::printf("\n%s: raw QPainter polyline of 1M points %.2f ms; Qt Charts: %s, OpenGL %s\n",
              trace.Name, raw,
#ifdef TV_BENCH_QTCHARTS
              "1-px cosmetic pen, warmed, median of 7",
#else
              "not built in (its figures are 0)",
#endif
              openGL ? "on" : "off");
  char work[96], text[96];
  std::snprintf(work, sizeof work, "1M fast line, whole repaint, flat (%s)", trace.Name);
  std::snprintf(text, sizeof text, "x%.2f (<= 2)", flat / limit);
  Row(work, flat, "min/max limit", limit, text, flat <= 2 * limit);
  std::snprintf(text, sizeof text, "Qt Charts/ours %.1f (>= 30)", qt / flat);
  Row("  same", flat, "Qt Charts QLineSeries", qt, text, qt >= 30 * flat);
  std::snprintf(text, sizeof text, "3-D/flat x%.2f (<= 1.3)", deep / flat);
  Row("  same, 3-D", deep, "flat", flat, text, deep <= 1.3 * flat);
  Row("  bytes per point", bytes, "", 0, "<= 24 bytes (x and y: 16)", bytes <= 24);
}

void BM_FastLineGoals(benchmark::State &state) {
  for (auto _ : state) {
    std::printf("\nFast line goals (%d x %d, no legend; ms unless noted)\n", kWidth, kHeight);
    for (const Trace &trace : kTraces)
      TraceRows(trace, RawPolyline(trace));
    const double append = OurAppendAndShow();
    const double limit = MinMaxLimit(kTraces[0]);
    const double lineFlat = LineSeriesRepaint(false);
    const double line3D = LineSeriesRepaint(true);
#ifdef TV_BENCH_QTCHARTS
    const double qtAppend = QtAppendAndShow();
#else
    const double qtAppend = 0;
#endif
    std::printf("\n");
    char text[96];
    std::snprintf(text, sizeof text, "/(2 x limit) x%.2f (<= 3)", append / (2 * limit));
    Row("append one point and show it (1M, price wave)", append, "Qt Charts append (1 run)",
        qtAppend, text, append <= 3 * 2 * limit);
    std::snprintf(text, sizeof text, "3-D/flat x%.2f (<= 3)", line3D / lineFlat);
    Row("100k general line series, 3-D", line3D, "same, flat", lineFlat, text,
        line3D <= 3 * lineFlat);
    std::printf("\n%s\n", g_missed ? "A goal was MISSED." : "Every goal holds.");
    std::fflush(stdout);
  }
}
BENCHMARK(BM_FastLineGoals)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
