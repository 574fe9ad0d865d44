// The main window shows the sample portfolios of data/port.dat with quotes
// stored by the test, and saves pictures of them.
#include "views/stockgrid/GridTestSupport.h"

#include "core/IniFile.h"
#include "core/PortfolioFile.h"
#include "core/ProgramFolder.h"
#include "mainwin/MainForm.h"
#include "support/EventWait.h"
#include "support/TestPaths.h"
#include "views/stockgrid/CellTextsFormat.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGrid.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct SampleQuote {
  const char *Symbol;
  double Last, PrevClose, Low, High, Volume;
};

// A trading day of the sample portfolios' symbols.
const SampleQuote kQuotes[] = {
    {"AAPL", 189.25, 187.90, 187.40, 189.25, 48213500},
    {"MSFT", 374.50, 371.20, 370.80, 376.10, 21877300},
    {"AMZN", 146.80, 148.10, 146.80, 148.90, 39512000},
    {"GOOGL", 137.40, 136.95, 136.20, 138.10, 25410200},
    {"NVDA", 495.20, 488.00, 486.50, 498.70, 38120900},
    {"JPM", 169.30, 170.05, 168.90, 170.60, 9233100},
    {"JNJ", 156.20, 155.80, 155.10, 156.90, 6120400},
    {"PG", 150.10, 150.60, 149.70, 151.00, 5433800},
    {"KO", 59.40, 59.10, 58.95, 59.55, 11876000},
    {"XOM", 101.20, 102.40, 100.90, 102.80, 17654300},
    {"CVX", 147.60, 148.90, 147.10, 149.30, 8342100},
};

class MainFormTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    ASSERT_TRUE(QFile::copy(QString::fromStdString(TestDataPath("BOURSE.INI")),
                            dir.filePath(QStringLiteral("BOURSE.INI"))));
    OpenSettingsFile();
    ASSERT_TRUE(LoadPortfolios(TestDataPath("port.dat")));
    for (const SampleQuote &s : kQuotes) {
      QuoteFields q;
      q.Last = s.Last;
      q.Bid = s.Last - 0.02;
      q.Ask = s.Last + 0.02;
      q.PrevClose = s.PrevClose;
      q.Low = s.Low;
      q.High = s.High;
      q.Volume = s.Volume;
      q.QuoteTime = (15 * 60 + 59) / 1440.0;
      q.DayStamp = 45301;
      ASSERT_GE(StoreQuote(s.Symbol, q), 0);
    }
  }
  void TearDown() override {
    form.reset();
    EXPECT_TRUE(PollUntil([] { return ShowStocksThread::RunningCount() == 0; }));
    SetProgramFolder("");
    GridTest::TearDown();
  }

  void ShowForm() {
    form = std::make_unique<TmForm>();
    form->resize(1180, 360);
    form->show();
    grid = form->StockGrid;
  }

  // Waits until the grid shows count list rows and the TOTAL row.
  bool WaitForPortfolio(int count) {
    return ProcessEventsUntil([&] {
      return !grid->FillRunning() && !form->RefreshPending() &&
             grid->Cells(0, count + 1) == "TOTAL" && grid->RowCount() == count + 2;
    });
  }

  std::string Field(int field, int row) const { return grid->Cells(grid->ColPos[field], row); }

  QTemporaryDir dir;
  std::unique_ptr<TmForm> form;
  TStockGrid *grid = nullptr;
};

TEST_F(MainFormTest, ShowsTheSamplePortfolioWithItsTotals) {
  ShowForm();
  ASSERT_EQ(form->cbPortfolio->count(), 2);
  EXPECT_EQ(form->cbPortfolio->currentText(), "US Large Caps");
  ASSERT_TRUE(WaitForPortfolio(6));
  form->Timer2Timer();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning(); }));

  EXPECT_EQ(grid->GridKind, gkMainGrid);
  EXPECT_EQ(grid->MeasureLabel, form->lbFont);
  EXPECT_EQ(grid->GridPopup, form->STPopup);
  EXPECT_EQ(grid->parentWidget(), form->GridPanel);
  EXPECT_EQ(grid->View, &CurrentView);
  EXPECT_EQ(CurrentView.Name, "Standard");

  EXPECT_EQ(grid->Cells(0, 1), "AAPL");
  EXPECT_EQ(Field(gfQuantity, 1), "50");
  EXPECT_EQ(Field(gfValue, 1), WholeNumberText(50 * 189.25));
  EXPECT_EQ(Field(gfLast, 1), ">189.25"); // at the day's high
  EXPECT_EQ(Field(gfNote, 1), "");        // the note is not in the view
  EXPECT_EQ(grid->Cells(0, 7), "TOTAL");
  EXPECT_EQ(grid->Objects(0, 7), 12000);
  // The heartbeat took the portfolio key that the TOTAL row announced.
  EXPECT_EQ(form->LastUpdatedPortfolios(), std::vector<std::string>{"LARGECAPS"});
  EXPECT_TRUE(IsKindPSymbol("LARGECAPS"));
  EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("lbTotal"))->text().toStdString(),
            "US Large Caps " + WholeNumberText(PortfolioList[1].Value[0]) + " (" +
                SignedText(WholeNumberText(PortfolioList[1].ValueChange[0])) + ")");

  grid->grab().save(QString::fromStdString(TestArtifactPath("mainform_largecaps.png")));
}

TEST_F(MainFormTest, PickingAPortfolioShowsItsSeparatorsAndCash) {
  ShowForm();
  ASSERT_TRUE(WaitForPortfolio(6));
  form->cbPortfolio->setCurrentIndex(1);
  ASSERT_TRUE(WaitForPortfolio(8));
  form->Timer2Timer();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning(); }));

  EXPECT_EQ(CurrentPortfolio.load(), 2);
  EXPECT_EQ(grid->PortfolioIndex, 2);
  EXPECT_EQ(grid->Cells(0, 4), "-");
  EXPECT_EQ(grid->Objects(0, 4), 10004);
  EXPECT_EQ(grid->Cells(0, 8), "$CASH");
  EXPECT_EQ(Field(gfValue, 8), "5,000");
  EXPECT_EQ(Field(gfLast, 8), "-");
  EXPECT_EQ(grid->Cells(0, 9), "TOTAL");
  // The first separator shows the subtotal of the three positions above it.
  EXPECT_EQ(Field(gfValue, 4), WholeNumberText(60 * 156.20 + 50 * 150.10 + 120 * 59.40));

  form->grab().save(QString::fromStdString(TestArtifactPath("mainform_income.png")));
}

TEST_F(MainFormTest, RefreshTimerRefillsWhenAShownSymbolIsUpdated) {
  ShowForm();
  ASSERT_TRUE(WaitForPortfolio(6));
  const std::string total = Field(gfValue, 7);

  QuoteFields q;
  q.Last = 200;
  q.PrevClose = 187.90;
  q.Low = 187.40;
  q.High = 201;
  q.QuoteTime = 16.0 / 24;
  q.DayStamp = 45301;
  StoreQuote("AAPL", q);
  MarkSymbolUpdated(usMainGrid, "IBM"); // not shown: no refresh
  form->Timer1Timer();
  EXPECT_FALSE(form->RefreshPending());
  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning(); }));
  EXPECT_EQ(Field(gfValue, 1), WholeNumberText(50 * 189.25));

  MarkSymbolUpdated(usMainGrid, "aapl");
  form->Timer1Timer();
  ASSERT_TRUE(ProcessEventsUntil(
      [&] { return !grid->FillRunning() && Field(gfValue, 1) == WholeNumberText(50 * 200.0); }));
  EXPECT_NE(Field(gfValue, 7), total);
}

TEST_F(MainFormTest, SchemeDisplayAndRefreshSettingsAreRead) {
  SettingsFile().WriteString("Bourse", "Scheme", "7");
  SettingsFile().WriteInteger("Bourse", "GridRefresh", 9);
  SettingsFile().WriteString("Misc", "HighBidAsk", "NO");
  SettingsFile().WriteString("Misc", "NoSign", "YES");
  ShowForm();
  EXPECT_FALSE(CurrentDisplaySettings().HighBidAsk);
  EXPECT_TRUE(CurrentDisplaySettings().NoSign);
  EXPECT_EQ(CurrentSchemeNumber, 1); // above the scheme count
  EXPECT_EQ(form->Timer1->interval(), 9000);
  EXPECT_EQ(form->Timer2->interval(), 500);
  ASSERT_TRUE(WaitForPortfolio(6));
}

TEST_F(MainFormTest, HeartbeatSetsGridNowAndRunsItsHooks) {
  ShowForm();
  ASSERT_TRUE(WaitForPortfolio(6));
  int calls = 0;
  form->AddHeartbeatHook([&] { ++calls; });
  GridNow = 0;
  form->Timer2Timer();
  EXPECT_EQ(calls, 1);
  EXPECT_NE(GridNow, 0);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning(); }));
}

} // namespace
