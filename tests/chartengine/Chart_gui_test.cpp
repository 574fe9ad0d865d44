#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartAxis.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/LineSeries.h"
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
