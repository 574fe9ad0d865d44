// Axis labels a reader can read: on the engine's own example charts (every
// registered series type with its sample values) in flat, orthogonal 3-D and
// rotated views, no two labels of an axis meet, labels stay inside the
// chart, date labels are written by their step, and the first drawing lays
// the chart out as every later one.
#include "AxisLabelBoxes.h"
#include "ChartControlSupport.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/engine/AxisLabelFormat.h"
#include "chartengine/engine/ChartComponentClass.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/LineSeries.h"
#include "chartengine/series/SeriesRegistration.h"
#include "platform/DateTime.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

enum class View { Flat, Orthogonal, Rotated };

const char *Name(View v) {
  return v == View::Flat ? "flat" : v == View::Orthogonal ? "orthogonal 3-D" : "rotated 3-D";
}

void SetView(TChart &chart, View view) {
  chart.SetView3D(view != View::Flat);
  chart.View3DOptions().SetOrthogonal(view == View::Orthogonal);
}

// Draws the chart twice: the plot must not move between the two drawings;
// then every visible axis' labels must keep apart and inside the chart.
void ExpectReadableAxes(LayoutChart &chart, int width, int height, const std::string &what) {
  const bool rotated = chart.View3D() && !chart.View3DOptions().Orthogonal();
  chart.Draw(width, height);
  const TRect first = chart.PlotRect();
  chart.Draw(width, height);
  EXPECT_EQ(chart.PlotRect(), first) << what << ": the second drawing moved the plot";
  const TRect bounds(0, 0, width, height);
  for (TCustomChartAxis *axis : chart.Axes()) {
    if (!chart.IsAxisVisible(axis))
      continue;
    const std::vector<DrawnLabel> labels = DrawnAxisTexts(chart, *axis);
    EXPECT_EQ(CrowdedLabels(labels), "") << what << ", axis on side " << axis->Side();
    // A rotated view turns the whole chart, labels included; flat and
    // orthogonal views keep every label inside.
    if (!rotated) {
      EXPECT_EQ(LabelsOutside(labels, bounds), "") << what << ", axis on side " << axis->Side();
    }
  }
}

class ExampleCharts : public ::testing::Test {
protected:
  void SetUp() override {
    FreeChartSeriesTypes();
    RegisterChartEngineTypes();
  }
  void TearDown() override { FreeChartSeriesTypes(); }

  static std::vector<const TChartComponentClass *> SeriesTypes() {
    std::vector<const TChartComponentClass *> types;
    const TChartSeriesTypes *list = ChartSeriesTypes();
    for (int t = 0; t < list->Count(); ++t)
      if (auto *cls = dynamic_cast<const TChartComponentClass *>(list->Item(t).SeriesClass))
        types.push_back(cls);
    return types;
  }
};

TEST_F(ExampleCharts, LabelsKeepApartAndInsideInEveryView) {
  const std::vector<const TChartComponentClass *> types = SeriesTypes();
  ASSERT_EQ(types.size(), 9u);
  for (const TChartComponentClass *cls : types)
    for (bool sample : {true, false})
      for (View view : {View::Flat, View::Orthogonal, View::Rotated})
        for (const TRect size : {TRect(0, 0, 400, 250), TRect(0, 0, 640, 420)}) {
          LayoutChart chart;
          std::unique_ptr<TChartComponent> made = cls->Create(nullptr);
          auto *series = dynamic_cast<TChartSeries *>(made.get());
          ASSERT_NE(series, nullptr);
          series->SetParentChart(&chart);
          SeedChartRandom(7);
          if (sample)
            series->PrepareSample(true);
          else
            series->FillSampleValues(series->SamplePointCount());
          SetView(chart, view);
          ExpectReadableAxes(chart, size.Width(), size.Height(),
                             cls->ClassName() + (sample ? " sample, " : " values, ") + Name(view) +
                                 ", " + std::to_string(size.Width()) + " wide");
        }
}

// Dates over two months, a candle-like axis of about 400 pixels; four days
// of hourly points; a few minutes of ticks.
TEST_F(ExampleCharts, DateAxesOfDaysWeeksAndMinutes) {
  struct Case {
    const char *What;
    TDateTime Start;
    double Step;
    int Count;
    int Width;
  };
  const TDateTime day = EncodeDate(2024, 2, 12);
  const Case cases[] = {
      {"59 days", day, 1.0, 60, 470},
      {"4 days hourly", EncodeDate(2024, 3, 13), 1.0 / 24, 97, 470},
      {"4 minutes of ticks", day + EncodeTime(5, 26, 40, 0), 5.0 / 86400, 49, 560},
      {"a day", day + EncodeTime(9, 30, 0, 0), 2.0 / 1440, 195, 640}};
  for (const Case &c : cases)
    for (View view : {View::Flat, View::Orthogonal, View::Rotated}) {
      LayoutChart chart;
      chart.Legend().SetVisible(false);
      TLineSeries line;
      line.XValues().SetDateTime(true);
      line.SetParentChart(&chart);
      for (int t = 0; t < c.Count; ++t)
        line.AppendPoint(c.Start + t * c.Step, 100 + (t % 7));
      SetView(chart, view);
      const std::string what = std::string(c.What) + ", " + Name(view);
      ExpectReadableAxes(chart, c.Width, 300, what);
      // Neighbouring date labels never read alike.
      const std::vector<DrawnLabel> labels = DrawnAxisTexts(chart, *chart.BottomAxis());
      ASSERT_GE(labels.size(), 3u) << what;
      for (std::size_t t = 1; t < labels.size(); ++t)
        EXPECT_NE(labels[t].Text, labels[t - 1].Text) << what;
    }
}

// A chart drawn at one size and then at another lays out as a chart drawn
// at the second size at once.
TEST_F(ExampleCharts, AResizedChartLaysOutAsANewOne) {
  auto chartOf = [](LayoutChart &chart, TLineSeries &line) {
    line.SetParentChart(&chart);
    for (int t = 0; t <= 40; ++t)
      line.AppendPoint(t * 0.25, 1000 + t * t * 37.5);
  };
  LayoutChart resized, fresh;
  TLineSeries a, b;
  chartOf(resized, a);
  chartOf(fresh, b);
  resized.Draw(300, 200);
  resized.Draw(700, 500);
  fresh.Draw(700, 500);
  EXPECT_EQ(resized.PlotRect(), fresh.PlotRect());
}

// Charts squeezed, crowded or of odd ranges: every visible axis draws the
// labels that fit, none meeting another or the plot, and none leaving the
// chart.
TEST(AxisLabelLayout, AxesDrawWhatFitsBesideThePlot) {
  const TDateTime today = EncodeDate(2026, 12, 7) + EncodeTime(10, 15, 0, 0);
  struct Row {
    const char *Name;
    int Width, Height;
    std::function<void(LayoutChart &, TLineSeries &)> Fill;
    bool Bottom; // the axis whose labels are counted
    int LeastLabels;
    bool Inside; // every label stays inside the chart
  };
  const Row rows[] = {
      {"two ticks seconds apart", 400, 250,
       [&](LayoutChart &, TLineSeries &line) {
         line.XValues().SetDateTime(true);
         line.AppendPoint(today, 10);
         line.AppendPoint(today + 3.0 / 86400, 11);
       },
       true, 2, true},
      {"a range between round steps", 300, 44,
       [](LayoutChart &, TLineSeries &line) {
         line.AppendPoint(0, 0.51);
         line.AppendPoint(1, 0.59);
       },
       false, 1, true},
      {"a squeezed plot of a tiny range", 300, 28,
       [](LayoutChart &, TLineSeries &line) {
         line.AppendPoint(0, 0);
         line.AppendPoint(1, 2.5e-9);
       },
       false, 1, true},
      {"point labels at the ends", 400, 250,
       [](LayoutChart &, TLineSeries &line) {
         line.AppendPoint(0, 120, "Desk lamp");
         line.AppendPoint(1, 340, "Office chair");
         line.AppendPoint(2, 95, "Keyboard");
         line.AppendPoint(3, 210, "Monitor stand");
       },
       true, 2, true},
      // Labels wider than the room the plot can give are left out rather
      // than written over the chart's edge.
      {"a tall narrow chart with a wide legend", 115, 500,
       [](LayoutChart &chart, TLineSeries &line) {
         chart.Legend().SetVisible(true);
         chart.Legend().SetLegendStyle(lsSeries);
         line.SetTitle("Quotes");
         for (int t = 0; t < 8; ++t)
           line.AppendPoint(t, 1000000 + t * 125000.5);
       },
       false, 0, true},
  };
  for (const Row &row : rows) {
    LayoutChart chart;
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    TLineSeries line;
    line.SetParentChart(&chart);
    row.Fill(chart, line);
    chart.Draw(row.Width, row.Height);
    const TRect plot = chart.PlotRect();
    const TRect bounds(0, 0, row.Width, row.Height);
    for (TCustomChartAxis *axis : chart.Axes()) {
      if (!chart.IsAxisVisible(axis))
        continue;
      const std::vector<DrawnLabel> labels = DrawnAxisTexts(chart, *axis);
      const std::string what =
          std::string(row.Name) + ", axis on side " + std::to_string(axis->Side());
      EXPECT_EQ(CrowdedLabels(labels), "") << what;
      EXPECT_EQ(LabelsOverThePlot(labels, plot), "") << what;
      if (row.Inside) {
        EXPECT_EQ(LabelsOutside(labels, bounds), "") << what;
      }
      if (axis == (row.Bottom ? chart.BottomAxis() : chart.LeftAxis())) {
        EXPECT_GE(labels.size(), static_cast<std::size_t>(row.LeastLabels)) << what;
      }
    }
    std::string file = std::string("axis_layout_") + row.Name + ".png";
    std::replace(file.begin(), file.end(), ' ', '_');
    chart.SaveToImage(row.Width, row.Height).save(QString::fromStdString(TestArtifactPath(file)));
  }
}

TEST(DateTimeLabelFormat, WrittenByTheStep) {
  const double hour = 1.0 / 24;
  const double minute = hour / 60;
  const double second = minute / 60;
  struct Case {
    double Step;
    double Range;
    const char *Format;
  } cases[] = {
      {7, 59, "M/d/yyyy"},                  // weeks: dates
      {1, 4, "M/d/yyyy"},                   // days
      {12 * hour, 4, "M/d/yyyy h:nn AMPM"}, // half days over four days: date and time
      {2 * hour, 0.5, "h:nn AMPM"},         // hours of one day: no seconds
      {minute, 10 * minute, "h:nn AMPM"},   // minutes
      {15 * second, 2 * minute, "h:nn:ss AMPM"},
      {0, 4, "M/d/yyyy"}, // no step yet: by the range
      {0, 0.5, "h:nn:ss AMPM"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(DateTimeLabelFormat(c.Step, c.Range), c.Format) << c.Step << " over " << c.Range;
}

// The issue's own pictures: a 4-day page in 12-hour steps showed one date
// twice, and two-hour steps showed seconds.
TEST(DateAxisLabels, HoursOfOneDayShowNoSeconds) {
  LayoutChart chart;
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  TLineSeries line;
  line.XValues().SetDateTime(true);
  line.SetParentChart(&chart);
  const TDateTime day = EncodeDate(2024, 3, 15);
  for (int t = 0; t <= 12; ++t)
    line.AppendPoint(day + t * 2.0 / 24, t);
  chart.Draw(400, 250);
  for (const DrawnLabel &label : DrawnAxisTexts(chart, *chart.BottomAxis())) {
    EXPECT_EQ(label.Text.find(":00:00"), std::string::npos) << label.Text;
    EXPECT_NE(label.Text.find("M"), std::string::npos) << label.Text << " is a time";
  }
}

} // namespace
