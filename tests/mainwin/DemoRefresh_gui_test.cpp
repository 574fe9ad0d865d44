// With DEMO on, every refresh of the main window stores the quotes again with
// small moves, and the grid shows the new prices and totals.
#include "views/stockgrid/GridTestSupport.h"

#include "acquisition/QuoteIntake.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/PortfolioFile.h"
#include "core/ProgramFolder.h"
#include "mainwin/MainForm.h"
#include "support/EventWait.h"
#include "support/TestPaths.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGrid.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class DemoRefreshTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    for (const char *name : {"BOURSE.INI", "quotes.csv"})
      ASSERT_TRUE(QFile::copy(QString::fromStdString(TestDataPath(name)),
                              dir.filePath(QString::fromUtf8(name))));
    OpenSettingsFile();
    ASSERT_TRUE(LoadPortfolios(TestDataPath("port.dat")));
    AppQuoteIntake().Reset();
    AppQuoteIntake().SetDemo(true);
    QuoteIntake::SetQuoteReadWaitMs(60000); // a tick stores what the file holds
    // Every move is the largest upward one, so each refresh shows new prices.
    AppQuoteIntake().SetRandomSource([](int n) { return n - 1; });
  }
  void TearDown() override {
    form.reset();
    EXPECT_TRUE(PollUntil([] { return ShowStocksThread::RunningCount() == 0; }));
    AppQuoteIntake().Reset();
    AppQuoteIntake().SetDemo(false);
    AppQuoteIntake().SetRandomSource(nullptr);
    QuoteIntake::SetQuoteReadWaitMs(DefaultQuoteReadWaitMs);
    SetProgramFolder("");
    GridTest::TearDown();
  }

  // Runs one refresh tick and waits for the grid's fill to finish.
  bool Refresh() {
    form->Timer1Timer();
    return ProcessEventsUntil([&] {
      return !form->RefreshPending() && !grid->FillRunning() && grid->Cells(0, 7) == "TOTAL";
    });
  }
  std::string Field(int field, int row) const { return grid->Cells(grid->ColPos[field], row); }

  QTemporaryDir dir;
  std::unique_ptr<TmForm> form;
  TStockGrid *grid = nullptr;
};

TEST_F(DemoRefreshTest, PricesAndTotalsChangeEveryRefresh) {
  form = std::make_unique<TmForm>();
  form->resize(1180, 360);
  form->show();
  grid = form->StockGrid;

  ASSERT_TRUE(Refresh());
  const std::string last1 = Field(gfLast, 1);
  const std::string total1 = Field(gfValue, 7);
  grid->grab().save(QString::fromStdString(TestArtifactPath("demo_refresh_1.png")));

  ASSERT_TRUE(Refresh());
  const std::string last2 = Field(gfLast, 1);
  const std::string total2 = Field(gfValue, 7);
  grid->grab().save(QString::fromStdString(TestArtifactPath("demo_refresh_2.png")));

  EXPECT_FALSE(last1.empty());
  EXPECT_NE(last1, last2);
  EXPECT_NE(total1, total2);
}

// A refresh that holds the window thread longer than 20 ms is logged; here
// each demo move takes 10 ms on the test's clock.
TEST_F(DemoRefreshTest, LongRefreshIsLogged) {
  StartLogging(0);
  form = std::make_unique<TmForm>();
  form->show();
  grid = form->StockGrid;
  ASSERT_TRUE(Refresh());
  const auto logText = [] {
    QFile f(QString::fromStdString(ProgramFolder() + LogFileName));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
  };
  EXPECT_EQ(logText().find("Timer1Timer stall"), std::string::npos);

  AppQuoteIntake().SetRandomSource([this](int n) {
    clock.AdvanceMs(10);
    return n - 1;
  });
  ASSERT_TRUE(Refresh());
  const std::string log = logText();
  StopLogging();
  EXPECT_NE(log.find("Timer1Timer stall: the refresh held the window "), std::string::npos) << log;
}

} // namespace
