#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartAxis.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/LineSeries.h"
#include "support/FileSizeLimit.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
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
