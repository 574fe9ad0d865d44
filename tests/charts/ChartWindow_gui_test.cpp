// A picture of the intraday chart window with a day of ticks.
#include "charts/ChartWindow.h"

#include "chartengine/AxisLabelBoxes.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/FastLineSeries.h"
#include "core/StockStore.h"
#include "platform/DateTime.h"
#include "support/EventWait.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QScreen>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

void Save(const QImage &image, const std::string &name) {
  const QString path = QString::fromStdString(TestArtifactPath(name));
  QDir().mkpath(QFileInfo(path).absolutePath());
  EXPECT_TRUE(image.save(path));
}

bool IsDark(QRgb p) { return qRed(p) < 120 && qGreen(p) < 120 && qBlue(p) < 120; }
bool IsInk(QRgb p) { return qRed(p) < 200 || qGreen(p) < 200 || qBlue(p) < 200; }
// The line: clearly more blue than red and green.
bool IsLine(QRgb p) { return qBlue(p) > 100 && qRed(p) < 90 && qGreen(p) < 90; }

int Count(const QImage &image, const TRect &r, bool (*test)(QRgb)) {
  int n = 0;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, image.height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, image.width()); ++x)
      n += test(image.pixel(x, y));
  return n;
}

TEST(ChartWindowPicture, ADayOfTicks) {
  ResetStockStore();
  const TDateTime day = EncodeDate(2024, 3, 8);
  const int ticks = 200;
  for (int i = 0; i < ticks; ++i) {
    QuoteFields q;
    q.Last = 152.4 + 1.8 * std::sin(i / 17.0) + 0.6 * std::sin(i / 3.1) + i * 0.01;
    q.QuoteTime = EncodeTime(9, 30, 0, 0) + i * 2.0 / (24 * 60); // every two minutes
    q.DayStamp = day;
    ASSERT_GE(StoreQuote("MSFT", q), 0);
  }

  TdlgChart *window = ShowChartWindow("MSFT");
  ASSERT_NE(window, nullptr);
  window->resize(640, 380);
  ASSERT_EQ(window->Series1()->Count(), ticks);
  const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  Save(image, "chart_window_msft.png");

  TChart &chart = *window->Chart1();
  const TRect plot = chart.PlotRect();
  ASSERT_GT(plot.Right - plot.Left, 300);
  ASSERT_GT(plot.Bottom - plot.Top, 150);
  // The price line runs across most of the plot.
  EXPECT_GT(Count(image, plot, IsLine), 300);
  int columnsWithLine = 0;
  for (int x = plot.Left; x < plot.Right; ++x)
    columnsWithLine += Count(image, TRect(x, plot.Top, x + 1, plot.Bottom), IsLine) > 0;
  EXPECT_GT(columnsWithLine, (plot.Right - plot.Left) * 9 / 10);
  // Time labels under the plot, price labels left of it, the title above.
  EXPECT_GT(Count(image, TRect(plot.Left, plot.Bottom + 2, plot.Right, image.height()), IsDark),
            80);
  EXPECT_GT(Count(image, TRect(0, plot.Top, plot.Left - 2, plot.Bottom), IsDark), 80);
  EXPECT_GT(Count(image, TRect(0, 0, image.width(), plot.Top - 2), IsInk), 20);
  // Labels show times of the trading day, each its own.
  TCustomChartAxis &bottom = *chart.BottomAxis();
  EXPECT_GE(bottom.Minimum(), day + EncodeTime(9, 29, 0, 0));
  EXPECT_LE(bottom.Maximum(), day + EncodeTime(16, 11, 0, 0));
  const std::vector<DrawnLabel> times = DrawnAxisTexts(chart, bottom);
  ASSERT_GE(times.size(), 3u);
  EXPECT_EQ(CrowdedLabels(times), "");
  for (std::size_t t = 1; t < times.size(); ++t)
    EXPECT_NE(times[t].Text, times[t - 1].Text);

  delete window;
  ResetStockStore();
}

// The window as a user first sees it: one tick, then a few in the same
// minute, then prices within one unit. Always a dot or a line, at least
// three price labels and time labels that never repeat.
TEST(ChartWindowPicture, FirstTicksOfASymbol) {
  ResetStockStore();
  const TDateTime day = EncodeDate(2024, 3, 8);
  auto tick = [&](double last, TDateTime time, const char *symbol = "IBM") {
    QuoteFields q;
    q.Last = last;
    q.QuoteTime = time;
    q.DayStamp = day;
    ASSERT_GE(StoreQuote(symbol, q), 0);
  };
  tick(187.25, EncodeTime(5, 27, 3, 0));
  TdlgChart *window = ShowChartWindow("IBM");
  ASSERT_NE(window, nullptr);
  EXPECT_GE(window->minimumWidth(), 300);
  EXPECT_GE(window->minimumHeight(), 180);
  window->resize(560, 340);
  TChart &chart = *window->Chart1();
  auto look = [&](const std::string &name, int(&counts)[2]) {
    const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Save(image, name);
    const std::vector<DrawnLabel> prices = DrawnAxisTexts(chart, *chart.LeftAxis());
    const std::vector<DrawnLabel> times = DrawnAxisTexts(chart, *chart.BottomAxis());
    EXPECT_GE(prices.size(), 3u) << name;
    EXPECT_GE(times.size(), 2u) << name;
    EXPECT_EQ(CrowdedLabels(prices), "") << name;
    EXPECT_EQ(CrowdedLabels(times), "") << name;
    for (const auto *labels : {&prices, &times})
      for (std::size_t t = 1; t < labels->size(); ++t)
        EXPECT_NE((*labels)[t].Text, (*labels)[t - 1].Text) << name;
    counts[0] = Count(image, chart.PlotRect(), IsLine);
    counts[1] = static_cast<int>(prices.size());
  };
  int lone[2] = {0, 0};
  look("chart_window_first_tick.png", lone);
  EXPECT_GT(lone[0], 12) << "the lone tick shows as a dot";

  for (int s = 1; s <= 12; ++s)
    tick(187.25 + 0.05 * (s % 4), EncodeTime(5, 27, 3, 0) + s * 5.0 / 86400);
  window->Timer1Timer();
  int minute[2] = {0, 0};
  look("chart_window_first_minute.png", minute);
  EXPECT_GT(minute[0], 40) << "a line through the ticks";

  // A penny stock between 1.2 and 1.8.
  for (int s = 0; s < 30; ++s)
    tick(1.2 + 0.02 * s, EncodeTime(10, 0, 0, 0) + s * 30.0 / 86400, "PNNY");
  window->SetSymbol("PNNY");
  int cheap[2] = {0, 0};
  look("chart_window_small_prices.png", cheap);

  delete window;
  ResetStockStore();
}

// The second tick of a symbol comes a few seconds after the first: once the
// window's own timer has read it, the window shows the two times under the
// plot (read from what the window put on screen).
TEST(ChartWindowPicture, TwoTicksSecondsApartShowTheirTimes) {
  ResetStockStore();
  struct ShortRefresh {
    int Saved = TdlgChart::RefreshIntervalMs;
    ShortRefresh() { TdlgChart::RefreshIntervalMs = 10; }
    ~ShortRefresh() { TdlgChart::RefreshIntervalMs = Saved; }
  } shortRefresh;
  const TDateTime day = EncodeDate(2026, 12, 7);
  auto tick = [&](double last, int second) {
    QuoteFields q;
    q.Last = last;
    q.QuoteTime = EncodeTime(14, 2, second, 0);
    q.DayStamp = day;
    ASSERT_GE(StoreQuote("AAPL", q), 0);
  };
  tick(231.40, 5);
  TdlgChart *window = ShowChartWindow("AAPL");
  ASSERT_NE(window, nullptr);
  window->resize(560, 340);
  tick(231.55, 8);
  ASSERT_TRUE(ProcessEventsUntil([&] { return window->Series1()->Count() == 2; }));

  TChart &chart = *window->Chart1();
  QImage shown;
  auto timesShown = [&] {
    shown = window->screen()
                ->grabWindow(window->winId())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
    const TRect plot = chart.PlotRect();
    return Count(shown, TRect(plot.Left, plot.Bottom + 2, plot.Right, shown.height()), IsDark) > 40;
  };
  const bool shownInTime = ProcessEventsUntil(timesShown);
  Save(shown, "chart_window_two_ticks.png");
  EXPECT_TRUE(shownInTime) << "no time labels under the plot";
  const std::vector<DrawnLabel> times = DrawnAxisTexts(chart, *chart.BottomAxis());
  std::vector<std::string> texts;
  for (const DrawnLabel &label : times)
    texts.push_back(label.Text);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "2:02:05 PM"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "2:02:08 PM"), texts.end());
  EXPECT_EQ(CrowdedLabels(times), "");

  delete window;
  ResetStockStore();
}

} // namespace
