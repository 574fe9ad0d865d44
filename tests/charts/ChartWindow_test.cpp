// The intraday chart window: the ticks it reads from the store, the fast line
// it fills with them, and the timer that appends the ticks that arrive.
#include "charts/ChartWindow.h"

#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/FastLineSeries.h"
#include "core/StockInfo.h"
#include "core/StockStore.h"
#include "platform/DateTime.h"
#include "support/EventWait.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

const TDateTime kDay = EncodeDate(2024, 3, 8);

TDateTime At(int hour, int minute) { return kDay + EncodeTime(hour, minute, 0, 0); }

void Tick(const std::string &symbol, double last, TDateTime time) {
  QuoteFields q;
  q.Last = last;
  q.Bid = last - 0.01;
  q.Ask = last + 0.01;
  q.QuoteTime = time;
  q.DayStamp = kDay;
  ASSERT_GE(StoreQuote(symbol, q), 0);
}

class ChartWindowTest : public ::testing::Test {
protected:
  void SetUp() override { ResetStockStore(); }
  void TearDown() override {
    for (QWidget *w : QApplication::topLevelWidgets())
      if (qobject_cast<TdlgChart *>(w))
        delete w;
    TdlgChart::RefreshIntervalMs = 2000;
    ResetStockStore();
  }

  std::unique_ptr<TdlgChart> Window(const std::string &symbol) {
    auto window = std::make_unique<TdlgChart>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->SetSymbol(symbol);
    return window;
  }

  static void ExpectPoints(TFastLineSeries &series,
                           const std::vector<std::pair<TDateTime, double>> &points) {
    ASSERT_EQ(series.Count(), int(points.size()));
    for (int i = 0; i < series.Count(); ++i) {
      EXPECT_DOUBLE_EQ(series.XValues().Value(i), points[std::size_t(i)].first) << i;
      EXPECT_DOUBLE_EQ(series.YValues().Value(i), points[std::size_t(i)].second) << i;
    }
  }
};

TEST_F(ChartWindowTest, ReadingTicksCopiesTimesAndPricesFromAnIndexOn) {
  Tick("AAA", 10.25, At(9, 30));
  Tick("AAA", 0, At(9, 31)); // a tick without a price is left out
  Tick("AAA", 10.5, At(9, 32));

  ChartTickRead all = ReadChartTicks("aaa", 0);
  EXPECT_TRUE(all.Ok);
  EXPECT_EQ(all.Count, 3);
  ASSERT_EQ(all.Ticks.size(), 2u);
  EXPECT_DOUBLE_EQ(all.Ticks[0].Time, At(9, 30));
  EXPECT_DOUBLE_EQ(all.Ticks[0].Last, 10.25);
  EXPECT_DOUBLE_EQ(all.Ticks[1].Time, At(9, 32));
  EXPECT_DOUBLE_EQ(all.Ticks[1].Last, 10.5);

  ChartTickRead later = ReadChartTicks("AAA", 2);
  EXPECT_EQ(later.Count, 3);
  ASSERT_EQ(later.Ticks.size(), 1u);
  EXPECT_DOUBLE_EQ(later.Ticks[0].Last, 10.5);

  ChartTickRead none = ReadChartTicks("AAA", 3);
  EXPECT_TRUE(none.Ok);
  EXPECT_EQ(none.Count, 3);
  EXPECT_TRUE(none.Ticks.empty());
}

TEST_F(ChartWindowTest, ReadingTicksOfSymbolsWithoutTicks) {
  FundData fund;
  fund.CompanyName = "Fund only";
  StoreFundamentals("FUND", fund);
  for (const char *symbol : {"NOPE", "$CASH", "", "FUND", "|99"}) {
    const ChartTickRead read = ReadChartTicks(symbol, 0);
    EXPECT_TRUE(read.Ok) << symbol;
    EXPECT_EQ(read.Count, 0) << symbol;
    EXPECT_TRUE(read.Ticks.empty()) << symbol;
  }
}

TEST_F(ChartWindowTest, AFlatChartTitledWithTheSymbolWithoutLegend) {
  Tick("AAA", 10, At(10, 0));
  auto window = Window("AAA");
  TChart *chart = window->Chart1();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(window->findChild<TChart *>(QStringLiteral("Chart1")), chart);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("AAA"));
  EXPECT_EQ(chart->Title().Text(), std::vector<std::string>{"AAA"});
  EXPECT_FALSE(chart->Legend().Visible());
  EXPECT_FALSE(chart->View3D());
  ASSERT_EQ(chart->SeriesCount(), 1);
  EXPECT_EQ(chart->GetSeries(0), window->Series1());
  EXPECT_TRUE(window->Series1()->XValues().DateTime());
  // Time labels are written by their step, not by one fixed pattern.
  EXPECT_EQ(chart->BottomAxis()->DateTimeFormat(), "");
  EXPECT_TRUE(chart->BottomAxis()->IsDateTime());
}

TEST_F(ChartWindowTest, TheSeriesHoldsTheStoresTicks) {
  Tick("AAA", 10.25, At(9, 30));
  Tick("AAA", 10.5, At(9, 45));
  Tick("AAA", 10.125, At(10, 5));
  Tick("BBB", 99, At(9, 30));
  auto window = Window("aaa");
  ExpectPoints(*window->Series1(), {{At(9, 30), 10.25}, {At(9, 45), 10.5}, {At(10, 5), 10.125}});
}

TEST_F(ChartWindowTest, TheTimerAppendsOnlyTheNewTicks) {
  Tick("AAA", 10, At(9, 30));
  auto window = Window("AAA");
  TFastLineSeries &series = *window->Series1();
  ASSERT_EQ(series.Count(), 1);

  window->Timer1Timer(); // nothing new: nothing added
  EXPECT_EQ(series.Count(), 1);

  Tick("AAA", 11, At(9, 31));
  Tick("AAA", 12, At(9, 32));
  window->Timer1Timer();
  window->Timer1Timer();
  ExpectPoints(series, {{At(9, 30), 10}, {At(9, 31), 11}, {At(9, 32), 12}});
}

TEST_F(ChartWindowTest, TheRunningTimerPicksUpTicksThatArrive) {
  TdlgChart::RefreshIntervalMs = 5;
  Tick("AAA", 10, At(9, 30));
  auto window = Window("AAA");
  EXPECT_EQ(window->Timer1()->interval(), 5);
  EXPECT_TRUE(window->Timer1()->isActive());
  Tick("AAA", 10.5, At(9, 35));
  ASSERT_TRUE(ProcessEventsUntil([&] { return window->Series1()->Count() == 2; }));
  ExpectPoints(*window->Series1(), {{At(9, 30), 10}, {At(9, 35), 10.5}});
}

TEST_F(ChartWindowTest, AShorterTickListIsReadAgainFromTheStart) {
  Tick("AAA", 10, At(9, 30));
  Tick("AAA", 11, At(9, 31));
  Tick("AAA", 12, At(9, 32));
  auto window = Window("AAA");
  ASSERT_EQ(window->Series1()->Count(), 3);

  StockInfoType *rec = FindStoreRecord("AAA");
  ASSERT_NE(rec, nullptr);
  ASSERT_TRUE(rec->Ticks.Lock("TEST"));
  rec->Ticks.Clear();
  rec->Ticks.Unlock();
  Tick("AAA", 20, At(9, 40));
  window->Timer1Timer();
  ExpectPoints(*window->Series1(), {{At(9, 40), 20}});
}

TEST_F(ChartWindowTest, AnEmptyTickListShowsAnEmptyChart) {
  FundData fund;
  StoreFundamentals("EMPTY", fund);
  for (const char *symbol : {"EMPTY", "UNKNOWN", "$CASH"}) {
    auto window = Window(symbol);
    window->resize(400, 260);
    EXPECT_EQ(window->Series1()->Count(), 0) << symbol;
    window->Timer1Timer();
    EXPECT_EQ(window->Series1()->Count(), 0) << symbol;
    const QImage image = window->Chart1()->SaveToImage(400, 260);
    EXPECT_EQ(image.size(), QSize(400, 260)) << symbol;
  }
  // Ticks that come later show up.
  Tick("EMPTY", 5, At(11, 0));
  auto window = Window("EMPTY");
  window->Timer1Timer();
  EXPECT_EQ(window->Series1()->Count(), 1);
}

TEST_F(ChartWindowTest, AnotherSymbolReplacesThePoints) {
  Tick("AAA", 10, At(9, 30));
  Tick("BBB", 20, At(9, 31));
  Tick("BBB", 21, At(9, 32));
  auto window = Window("AAA");
  window->SetSymbol("BBB");
  EXPECT_EQ(window->Chart1()->Title().Text(), std::vector<std::string>{"BBB"});
  ExpectPoints(*window->Series1(), {{At(9, 31), 20}, {At(9, 32), 21}});
}

TEST_F(ChartWindowTest, OneWindowPerSymbolFoundAgainIgnoringCase) {
  TdlgChart *first = ShowChartWindow("AAA");
  ASSERT_NE(first, nullptr);
  first->showMinimized();
  EXPECT_EQ(FindChartWindow("aaa"), first);
  EXPECT_EQ(ShowChartWindow("aAa"), first);
  EXPECT_FALSE(first->windowState() & Qt::WindowMinimized);
  TdlgChart *second = ShowChartWindow("BBB");
  EXPECT_NE(second, first);
  EXPECT_EQ(FindChartWindow("CCC"), nullptr);
}

} // namespace
