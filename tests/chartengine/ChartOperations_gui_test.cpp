// Random sequences of what a user and a program do to a shown chart window:
// series of every type added, removed and changed to another type, zoom and
// pan by mouse, axes zoomed deep, pages, sizes from 1x1 to 4000x3000, 3-D,
// legend, marks, turned labels and their separation. After each paint of
// the window, every visible axis' labels keep apart and inside the chart,
// each text once. Each paint is timed; the slowest are printed with their
// seed and step so that a slow drawing can be replayed.
#include "AxisLabelBoxes.h"
#include "ChartScreenSupport.h"
#include "ChartTestSupport.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartAxis.h"
#include "chartengine/engine/ChartComponentClass.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/SeriesMarks.h"
#include "chartengine/series/SeriesRegistration.h"
#include "support/EventWait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <ctime>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Fixed seeds and steps per seed; the whole run stays well under a minute.
// TV_CHART_OPS_SEEDS (seeds separated by commas) replays others. Seeds 4,
// 6, 8, 11, 15, 17 and 19 zoom bars and lines deep enough that the lines run
// millions of pixels outside the picture.
constexpr unsigned DefaultSeeds[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                     13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
constexpr int StepsPerSeed = 40;
// No paint may take longer than this. It is counted in the processor time of
// the window thread, so that other work on a loaded machine does not count;
// the sanitizers slow every paint several times over.
#if defined(__SANITIZE_THREAD__)
constexpr double SlowPaintMs = 10000.0;
#elif defined(__SANITIZE_ADDRESS__)
constexpr double SlowPaintMs = 4000.0;
#else
constexpr double SlowPaintMs = 1000.0;
#endif

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

enum Op {
  opAdd,
  opRemove,
  opChangeType,
  opMouseZoom,
  opMousePan,
  opDeepZoom,
  opResetZoom,
  opPage,
  opResize,
  op3D,
  opLegend,
  opMarks,
  opAngle,
  opCount
};

const char *OpName(int op) {
  static const char *names[] = {"add",       "remove",     "change type", "mouse zoom", "mouse pan",
                                "deep zoom", "reset zoom", "page",        "resize",     "3-D",
                                "legend",    "marks",      "axis labels"};
  return names[op];
}

class Operations {
public:
  explicit Operations(unsigned seed) : m_rng(seed) {
    for (int t = 0; t < ChartSeriesTypes()->Count(); ++t)
      if (auto *cls =
              dynamic_cast<const TChartComponentClass *>(ChartSeriesTypes()->Item(t).SeriesClass))
        m_types.push_back(cls);
    m_chart.resize(480, 300);
    m_chart.SetAnimatedZoom(false);
    m_chart.installEventFilter(&m_paints);
    m_chart.show();
  }
  ~Operations() {
    for (auto &s : m_series)
      s.reset();
  }

  TChart &Chart() { return m_chart; }
  // Paints of the window (a chart that did not change shows its buffer).
  int Paints() const { return m_paints.paints; }

  int Run() {
    const int op = Pick(0, opCount - 1);
    switch (op) {
    case opAdd:
      Add();
      break;
    case opRemove:
      if (!m_series.empty())
        m_series.erase(m_series.begin() + Pick(0, static_cast<int>(m_series.size()) - 1));
      break;
    case opChangeType:
      ChangeType();
      break;
    case opMouseZoom:
    case opMousePan:
      Drag(op == opMouseZoom ? mbLeft : mbRight);
      break;
    case opDeepZoom:
      DeepZoom();
      break;
    case opResetZoom:
      m_chart.ResetZoom();
      break;
    case opPage:
      m_chart.SetMaxPointsPerPage(Pick(0, 3) == 0 ? 0 : Pick(1, 60));
      m_chart.SetPage(Pick(1, 5));
      break;
    case opResize:
      Resize();
      break;
    case op3D:
      m_chart.SetView3D(!m_chart.View3D());
      m_chart.SetChart3DPercent(Pick(1, 60));
      break;
    case opLegend:
      m_chart.Legend().SetVisible(!m_chart.Legend().Visible());
      m_chart.Legend().SetAlignment(static_cast<TLegendAlignment>(Pick(0, 3)));
      break;
    case opMarks:
      for (auto &s : m_series)
        s->Marks().SetVisible(Pick(0, 1) == 1);
      break;
    case opAngle: {
      const int angles[] = {0, 90, 180, 270, 45};
      TCustomChartAxis *axes[] = {m_chart.LeftAxis(), m_chart.BottomAxis(), m_chart.TopAxis(),
                                  m_chart.RightAxis()};
      TCustomChartAxis *axis = axes[Pick(0, 3)];
      axis->SetLabelsAngle(angles[Pick(0, 4)]);
      axis->SetLabelsSeparation(Pick(0, 2) * 25);
      break;
    }
    }
    return op;
  }

private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
  double Real(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(m_rng);
  }

  std::unique_ptr<TChartSeries> Make(const TChartComponentClass &cls) {
    std::unique_ptr<TChartComponent> made = cls.Create(nullptr);
    auto *series = dynamic_cast<TChartSeries *>(made.get());
    if (series == nullptr)
      return nullptr;
    made.release();
    return std::unique_ptr<TChartSeries>(series);
  }

  void Add() {
    if (m_series.size() >= 6 || m_types.empty())
      return;
    std::unique_ptr<TChartSeries> s = Make(*m_types[Pick(0, static_cast<int>(m_types.size()) - 1)]);
    if (!s)
      return;
    const int counts[] = {0, 1, 2, 7, 30, 300};
    const int count = counts[Pick(0, 5)];
    switch (Pick(0, 3)) {
    case 0:
      SeedChartRandom(static_cast<unsigned>(Pick(1, 1000)));
      if (count > 0)
        s->FillSampleValues(count);
      break;
    case 1: { // named points, places in any order
      static const char *names[] = {"Phones", "Lamps", "Cars", "Tables", "Chairs", "Keyboards"};
      s->XValues().SetOrder(loNone);
      for (int t = 0; t < count; ++t)
        s->AppendPoint(Real(0, count), Real(-50, 500),
                       std::string(names[Pick(0, 5)]) + std::to_string(t));
      break;
    }
    case 2: { // dates
      s->XValues().SetDateTime(true);
      const double start = 46000 + Real(0, 100);
      const double step = std::vector<double>{1.0 / 86400, 1.0 / 1440, 1.0 / 24, 1, 7}[Pick(0, 4)];
      for (int t = 0; t < count; ++t)
        s->AppendPoint(start + t * step, 100 + Real(-5, 5));
      break;
    }
    default: { // large values of a tiny spread
      const double base = Real(-5e6, 5e6);
      for (int t = 0; t < count; ++t)
        s->AppendPoint(t, base + Real(0, 1e-3));
      break;
    }
    }
    s->SetParentChart(&m_chart);
    m_series.push_back(std::move(s));
  }

  void ChangeType() {
    if (m_series.empty())
      return;
    const int at = Pick(0, static_cast<int>(m_series.size()) - 1);
    std::unique_ptr<TChartSeries> s = Make(*m_types[Pick(0, static_cast<int>(m_types.size()) - 1)]);
    if (!s)
      return;
    s->Assign(*m_series[at]);
    m_series[at].reset();
    s->SetParentChart(&m_chart);
    m_series[at] = std::move(s);
  }

  void Drag(TMouseButton button) {
    const TRect plot = m_chart.PlotRect();
    if (plot.Width() < 4 || plot.Height() < 4)
      return;
    const int x0 = Pick(plot.Left, plot.Right - 1), y0 = Pick(plot.Top, plot.Bottom - 1);
    const int x1 = Pick(plot.Left, plot.Right - 1), y1 = Pick(plot.Top, plot.Bottom - 1);
    m_chart.MouseDown(button, {}, x0, y0);
    m_chart.MouseMove({}, (x0 + x1) / 2, (y0 + y1) / 2);
    m_chart.MouseMove({}, x1, y1);
    m_chart.MouseUp(button, {}, x1, y1);
  }

  void DeepZoom() {
    TCustomChartAxis *axis = Pick(0, 1) ? m_chart.BottomAxis() : m_chart.LeftAxis();
    const double min = axis->CurMinimum();
    const double range = axis->CurRange();
    if (!(range > 0))
      return;
    const double depth = std::vector<double>{1e-1, 1e-3, 1e-5}[Pick(0, 2)];
    const double at = min + Real(0, 1) * range;
    axis->SetMinMax(at, at + range * depth);
  }

  void Resize() {
    const int widths[] = {1, 9, 60, 169, 320, 625, 1200, 4000};
    const int heights[] = {1, 7, 40, 163, 240, 331, 900, 3000};
    const int k = Pick(0, 7);
    // Mostly ordinary sizes, the extremes now and then.
    m_chart.resize(widths[k], heights[Pick(std::max(0, k - 1), std::min(7, k + 1))]);
  }

  std::mt19937 m_rng;
  std::vector<const TChartComponentClass *> m_types;
  PaintCounter m_paints;
  TChart m_chart;
  std::vector<std::unique_ptr<TChartSeries>> m_series;
};

struct SlowPaint {
  double Ms;
  unsigned Seed;
  int Step;
  std::string Op;
  int Width, Height;
};

std::vector<unsigned> Seeds() {
  std::vector<unsigned> seeds(std::begin(DefaultSeeds), std::end(DefaultSeeds));
  if (const char *asked = std::getenv("TV_CHART_OPS_SEEDS")) {
    seeds.clear();
    std::stringstream in(asked);
    std::string item;
    while (std::getline(in, item, ','))
      seeds.push_back(static_cast<unsigned>(std::stoul(item)));
  }
  return seeds;
}

class ChartOperations : public ::testing::Test {
protected:
  void SetUp() override {
    FreeChartSeriesTypes();
    RegisterChartEngineTypes();
  }
  void TearDown() override { FreeChartSeriesTypes(); }
};

TEST_F(ChartOperations, EveryPaintKeepsAxisLabelsApartAndInside) {
  std::vector<SlowPaint> paints;
  for (unsigned seed : Seeds()) {
    Operations ops(seed);
    TChart &chart = ops.Chart();
    for (int step = 0; step < StepsPerSeed; ++step) {
      const int op = ops.Run();
      const int before = ops.Paints();
      const double started = ThreadCpuMs();
      chart.repaint();
      const double ms = ThreadCpuMs() - started;
      const std::string where = "seed " + std::to_string(seed) + ", step " + std::to_string(step) +
                                " (" + OpName(op) + ") at " + std::to_string(chart.width()) + "x" +
                                std::to_string(chart.height());
      ASSERT_TRUE(ProcessEventsUntil([&] { return ops.Paints() > before; })) << where;
      EXPECT_LE(ms, SlowPaintMs) << where;
      paints.push_back({ms, seed, step, OpName(op), chart.width(), chart.height()});
      const TRect bounds(0, 0, chart.width(), chart.height());
      for (TCustomChartAxis *axis : chart.Axes()) {
        if (!chart.IsAxisVisible(axis))
          continue;
        const std::vector<DrawnLabel> labels = DrawnAxisTexts(chart, *axis);
        const std::string what = where + ", axis on side " + std::to_string(axis->Side());
        EXPECT_EQ(CrowdedLabels(labels), "") << what;
        EXPECT_EQ(LabelsOutside(labels, bounds), "") << what;
        EXPECT_EQ(RepeatedTexts(labels), "") << what;
      }
      if (::testing::Test::HasFailure())
        return;
    }
  }
  std::sort(paints.begin(), paints.end(),
            [](const SlowPaint &a, const SlowPaint &b) { return a.Ms > b.Ms; });
  double total = 0;
  std::map<unsigned, double> perSeed;
  for (const SlowPaint &p : paints) {
    total += p.Ms;
    perSeed[p.Seed] += p.Ms;
  }
  std::printf("%zu paints, %.0f ms in all; by seed:", paints.size(), total);
  for (const auto &[seed, ms] : perSeed)
    std::printf(" %u: %.0f ms;", seed, ms);
  std::printf("\nslowest:\n");
  for (std::size_t t = 0; t < std::min<std::size_t>(5, paints.size()); ++t)
    std::printf("  %.1f ms: seed %u, step %d (%s) at %dx%d%s\n", paints[t].Ms, paints[t].Seed,
                paints[t].Step, paints[t].Op.c_str(), paints[t].Width, paints[t].Height,
                paints[t].Ms > SlowPaintMs ? "  SLOW" : "");
}

} // namespace
