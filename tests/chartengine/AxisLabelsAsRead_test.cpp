// Labels of an axis as a reader sees them: whatever order the labels come
// in, at any angle and in any chart size, no two of an axis meet, none
// leaves the chart, and no axis writes one text twice.
#include "AxisLabelBoxes.h"
#include "ChartControlSupport.h"
#include "chartengine/series/BarSeries.h"
#include "chartengine/series/LineSeries.h"
#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Row {
  const char *Name;
  int Width, Height;
  bool View3D;
  std::function<void(LayoutChart &, TLineSeries &)> Fill;
  bool Bottom;     // the axis whose labels are counted
  int LeastLabels; // it still writes this many
};

TEST(AxisLabelsAsRead, KeepApartInsideTheChartAndSayEachTextOnce) {
  const TDateTime day = EncodeDate(2026, 3, 9);
  const Row rows[] = {
      // The walk meets the points in list order, not in the order of their
      // places: x 1 is written after x 10, beside x 0.
      {"point labels out of order", 400, 250, false,
       [](LayoutChart &, TLineSeries &line) {
         line.XValues().SetOrder(loNone);
         const double xs[] = {0, 10, 1, 9, 2, 8, 5};
         const char *names[] = {"Phones1", "Lamps", "Phones2", "Cars", "Tables", "Chairs", "Pens"};
         for (int t = 0; t < 7; ++t)
           line.AppendPoint(xs[t], 10 + t, names[t]);
       },
       true, 4},
      {"point labels out of order in 3-D", 625, 331, true,
       [](LayoutChart &, TLineSeries &line) {
         line.XValues().SetOrder(loNone);
         const double xs[] = {0, 12, 0.6, 11, 6, 1.3, 5.4};
         const char *names[] = {"Phones1", "Lamps", "Phones2", "Cars", "Tables", "Chairs", "Pens"};
         for (int t = 0; t < 7; ++t)
           line.AppendPoint(xs[t], 10 + t, names[t]);
       },
       true, 4},
      {"points that repeat a name", 400, 250, false,
       [](LayoutChart &, TLineSeries &line) {
         const char *names[] = {"Q1", "Q2", "Q3", "Q4"};
         for (int t = 0; t < 8; ++t)
           line.AppendPoint(t, 10 + t, names[t % 4]);
       },
       true, 4},
      {"a time at the right end of a small chart", 200, 163, false,
       [&](LayoutChart &, TLineSeries &line) {
         line.XValues().SetDateTime(true);
         line.AppendPoint(day, 100);
         line.AppendPoint(day + 1.0 / 1440, 101);
       },
       true, 1},
      {"dates turned 90 degrees at the bottom of a small chart", 169, 163, false,
       [&](LayoutChart &chart, TLineSeries &line) {
         chart.BottomAxis()->SetLabelsAngle(90);
         line.XValues().SetDateTime(true);
         for (int t = 0; t < 13; ++t)
           line.AppendPoint(day + t / 24.0, 100 + t % 5);
       },
       true, 2},
      {"labels turned 270 degrees on the left", 300, 320, false,
       [](LayoutChart &chart, TLineSeries &line) {
         chart.LeftAxis()->SetLabelsAngle(270);
         for (int t = 0; t <= 20; ++t)
           line.AppendPoint(t, 1000000 + t * 250000.125);
       },
       false, 2},
      {"value labels wider than the room beside the plot", 70, 200, false,
       [](LayoutChart &, TLineSeries &line) {
         for (int t = 0; t <= 8; ++t)
           line.AppendPoint(t, -4201780716.5 + t * 1000000.25);
       },
       true, 1},
      {"a tiny range beside large values", 400, 250, false,
       [](LayoutChart &, TLineSeries &line) {
         line.AppendPoint(0, -4201780.71642);
         line.AppendPoint(1, -4201780.71618);
         line.AppendPoint(2, -4201780.71631);
       },
       false, 1},
  };
  for (const Row &row : rows) {
    LayoutChart chart;
    chart.SetView3D(row.View3D);
    chart.Legend().SetVisible(false);
    TLineSeries line;
    line.SetParentChart(&chart);
    row.Fill(chart, line);
    chart.Draw(row.Width, row.Height);
    const TRect bounds(0, 0, row.Width, row.Height);
    for (TCustomChartAxis *axis : chart.Axes()) {
      if (!chart.IsAxisVisible(axis))
        continue;
      const std::vector<DrawnLabel> labels = DrawnAxisTexts(chart, *axis);
      const std::string what =
          std::string(row.Name) + ", axis on side " + std::to_string(axis->Side());
      EXPECT_EQ(CrowdedLabels(labels), "") << what;
      EXPECT_EQ(LabelsOutside(labels, bounds), "") << what;
      EXPECT_EQ(RepeatedTexts(labels), "") << what;
      if (axis == (row.Bottom ? chart.BottomAxis() : chart.LeftAxis())) {
        EXPECT_GE(labels.size(), static_cast<std::size_t>(row.LeastLabels)) << what;
      }
    }
  }
}

} // namespace
