#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartAxis.h"
#include "chartengine/engine/SeriesMarks.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/LineSeries.h"
#include "ChartScreenSupport.h"
#include "support/EventWait.h"
#include "support/FileSizeLimit.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QScreen>
#include <algorithm>
#include <utility>
#include <gtest/gtest.h>

namespace {

void Save(const QImage &image, const std::string &name) {
  const QString path = QString::fromStdString(TestArtifactPath(name));
  QDir().mkpath(QFileInfo(path).absolutePath());
  EXPECT_TRUE(image.save(path));
}

void Fill(TChartSeries &s, const std::vector<double> &ys) {
  for (double y : ys)
    s.Add(y);
}

TEST(ChartPicture, TwoSeriesWithTitleLegendAndAxes) {
  TChart chart;
  chart.resize(480, 300);
  chart.Title().SetCaption("Two series");
  chart.Foot().SetCaption("foot line");
  TLineSeries line;
  line.SetTitle("Price");
  Fill(line, {12, 15, 14, 18, 21, 19, 24, 23, 27, 26});
  TFastLineSeries fast;
  fast.SetTitle("Average");
  Fill(fast, {10, 12, 13, 15, 17, 18, 20, 21, 23, 25});
  line.SetParentChart(&chart);
  fast.SetParentChart(&chart);
  const QImage image = chart.SaveToImage();
  Save(image, "chart_two_series_3d.png");

  chart.SetView3D(false);
  Save(chart.SaveToImage(), "chart_two_series_2d.png");
}

} // namespace

namespace {

TEST(ChartPicture, OneSeriesListsItsPointsInABottomLegend) {
  TChart chart;
  chart.resize(420, 280);
  chart.SetView3D(false);
  chart.Title().SetText({"Points of one series", "second title line"});
  chart.Legend().SetAlignment(laBottom);
  TLineSeries line;
  const char *labels[] = {"Mon", "Tue", "Wed", "Thu", "Fri"};
  const double values[] = {3.5, 4.25, 2, 5, 4.75};
  for (int t = 0; t < 5; ++t)
    line.Add(values[t], labels[t]);
  line.SetParentChart(&chart);
  Save(chart.SaveToImage(), "chart_bottom_legend.png");
  EXPECT_EQ(chart.Legend().ResolvedStyle(), lsValues);
  EXPECT_EQ(chart.LegendItemText(1), "4.25 Tue");
}

TEST(ChartWidget, PaintingShowsWhatSaveToImageDraws) {
  TChart chart;
  chart.resize(300, 200);
  chart.Title().SetCaption("Widget");
  TLineSeries line;
  Fill(line, {1, 3, 2, 5});
  line.SetParentChart(&chart);
  chart.SaveToImage(); // the off-screen picture exists from here on
  const QImage saved = chart.SaveToImage().convertToFormat(QImage::Format_RGB32);
  chart.Invalidate();
  const QImage grabbed = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(grabbed.size(), saved.size());
  int differing = 0;
  for (int y = 0; y < saved.height(); ++y)
    for (int x = 0; x < saved.width(); ++x)
      differing += grabbed.pixel(x, y) != saved.pixel(x, y);
  EXPECT_EQ(differing, 0);
  if (differing != 0) {
    Save(saved, "chart_widget_saved.png");
    Save(grabbed, "chart_widget_grabbed.png");
  }
}

TEST(ChartWidget, SaveToFileWritesAWholePicture) {
  TChart chart;
  chart.resize(200, 120);
  const std::string path = TestArtifactPath("chart_saved.png");
  QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
  ASSERT_TRUE(chart.SaveToFile(path));
  QImage back(QString::fromStdString(path));
  EXPECT_EQ(back.size(), QSize(200, 120));
  EXPECT_FALSE(chart.SaveToFile(TestArtifactPath("no-such-folder/x.png")));

  // A disk that fills up during the save reports it and keeps the old picture.
  chart.resize(400, 300);
  {
    FileSizeLimit limit(1024);
    ASSERT_TRUE(limit.Active());
    EXPECT_FALSE(chart.SaveToFile(path));
  }
  EXPECT_EQ(QImage(QString::fromStdString(path)).size(), QSize(200, 120));
}

} // namespace

namespace {

QRgb Rgb(TColor c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

int PixelsOf(const QImage &image, TColor color) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      n += (image.pixel(x, y) & 0xFFFFFF) == (Rgb(color) & 0xFFFFFF);
  return n;
}

// The bottom axis names the points by their labels, through the chart's
// label handler; the handler frees series while the chart lays out and
// draws those labels (the series whose label it is given among them). The
// window goes on to show the series that is left, with its labels.
TEST(ChartWidget, AxisLabelHandlerMayFreeSeries) {
  TChart chart;
  chart.resize(480, 300);
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  auto add = [&](TChartSeries &s, int count, const char *name, TColor color) {
    for (int t = 0; t < count; ++t)
      s.AppendPoint(t, 10 + (t * 7) % 5, name + std::to_string(t));
    s.SetSeriesColor(color);
    s.SetParentChart(&chart);
  };
  // Labels 0 .. 4 come from the first series, 5 .. 9 from the kept one and
  // 10, 11 from the last: the last one's label is measured at the right end.
  TChartSeries *first = new TFastLineSeries;
  TFastLineSeries kept;
  TChartSeries *last = new TFastLineSeries;
  add(*first, 5, "r", clRed);
  add(kept, 10, "k", clBlue);
  add(*last, 12, "g", clGreen);
  std::vector<std::string> asked;
  chart.OnGetAxisLabel = [&](TCustomChartAxis *, TChartSeries *series, int index,
                             std::string &text) {
    if (series == nullptr)
      return;
    asked.push_back(text);
    if (series == first && index == 0 && last != nullptr) {
      delete last;
      last = nullptr;
    } else if (series == first && index == 2) {
      delete first;
      first = nullptr;
    }
  };
  chart.show();
  // The drawing goes on with the kept series: it names the points from 3 on.
  const std::vector<std::string> keptLabels = {"k3", "k4", "k5", "k6", "k7", "k8", "k9"};
  QImage shown;
  const auto onlyTheKeptSeries = [&] {
    shown = ShownPicture(chart);
    return asked.size() >= keptLabels.size() &&
           std::equal(keptLabels.begin(), keptLabels.end(), asked.end() - 7) &&
           PixelsOf(shown, clBlue) > 100 && PixelsOf(shown, clRed) == 0 &&
           PixelsOf(shown, clGreen) == 0;
  };
  const bool shownInTime = ProcessEventsUntil(onlyTheKeptSeries);
  Save(shown, "chart_label_handler_frees_series.png");
  EXPECT_TRUE(shownInTime) << ::testing::PrintToString(asked);
  EXPECT_EQ(first, nullptr);
  EXPECT_EQ(last, nullptr);
  EXPECT_EQ(chart.SeriesCount(), 1);
  delete first;
  delete last;
}

// Marks that show the x value pass it through the chart's label handler,
// which frees the series while its marks are drawn: the drawing ends well.
TEST(ChartWidget, LabelHandlerMayFreeTheSeriesWhoseMarksAreDrawn) {
  TChart chart;
  chart.resize(400, 300);
  auto *marked = new TLineSeries;
  for (int t = 0; t < 5; ++t)
    marked->AppendPoint(t, t);
  marked->Marks().SetVisible(true);
  marked->Marks().SetStyle(smsXValue);
  marked->SetParentChart(&chart);
  // Axes are drawn before the series: from its drawing on, the values asked
  // for are those of its marks.
  bool drawing = false;
  marked->BeforeDrawValues = [&](TChartSeries *) { drawing = true; };
  chart.OnGetAxisLabel = [&](TCustomChartAxis *, TChartSeries *series, int, std::string &) {
    if (drawing && series == nullptr && marked != nullptr) {
      delete marked;
      marked = nullptr;
    }
  };
  int drawn = 0;
  chart.OnAfterDraw = [&] { drawn += marked == nullptr; };
  chart.show();
  EXPECT_TRUE(ProcessEventsUntil([&] { return drawn > 0; }));
  EXPECT_EQ(chart.SeriesCount(), 0);
  delete marked;
}

// A handler that the drawing calls may change what is drawn already: the window then
// shows the changed chart once the paint is over. A handler that changes the
// chart on every call does not keep it repainting.
TEST(ChartWidget, ChangeMadeByAHandlerWhileDrawingIsShown) {
  TChart chart;
  chart.resize(400, 300);
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  TFastLineSeries line;
  Fill(line, {12, 15, 14, 18, 21, 19, 24, 23, 27, 26});
  line.SetSeriesColor(clRed);
  line.SetParentChart(&chart);
  bool changeOnce = true;
  bool changeAlways = false;
  // Called once the line is drawn, while the chart is drawn on.
  line.AfterDrawValues = [&](TChartSeries *) {
    if (std::exchange(changeOnce, false))
      line.SetSeriesColor(clBlue);
    else if (changeAlways)
      line.SetSeriesColor(line.SeriesColor() == clBlue ? clGreen : clBlue);
  };
  PaintCounter counter;
  chart.installEventFilter(&counter);
  chart.show();
  QImage shown;
  const auto blueShown = [&] {
    shown = ShownPicture(chart);
    return PixelsOf(shown, clBlue) > 50 && PixelsOf(shown, clRed) == 0;
  };
  const bool shownInTime = ProcessEventsUntil(blueShown, 2000);
  Save(shown, "chart_changed_while_drawing.png");
  EXPECT_TRUE(shownInTime) << counter.paints << " paints";

  changeAlways = true;
  ProcessEventsUntil([] { return false; }, 50);
  counter.paints = 0;
  chart.RepaintChart();
  ProcessEventsUntil([] { return false; }, 200);
  // The asked paint and one that shows what its handlers changed.
  EXPECT_GE(counter.paints, 1);
  EXPECT_LE(counter.paints, 2);
  line.SetParentChart(nullptr);
}

} // namespace
