// The watch list window: a kind-2 grid in watch-list mode over the symbols
// of [Watch] Symbols.
#include "views/stockgrid/GridTestSupport.h"

#include "core/IniFile.h"
#include "core/ProgramFolder.h"
#include "platform/StringUtils.h"
#include "support/EventWait.h"
#include "support/TestPaths.h"
#include "views/WatchForm.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGrid.h"

#include "acquisition/QuoteIntake.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QSaveFile>
#include <QTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class WatchFormTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    SetProgramFolder(dir.path().toStdString());
    OpenSettingsFile();
    SettingsFile().WriteString("Watch", "Symbols", "AAA BBB AAA");
    StoreLast("AAA", 12.5, 12);
    StoreLast("BBB", 20, 21);
    StoreLast("CCC", 5, 4);
  }
  void TearDown() override {
    form.reset();
    EXPECT_TRUE(PollUntil([] { return ShowStocksThread::RunningCount() == 0; }));
    SetProgramFolder("");
    GridTest::TearDown();
  }

  QTemporaryDir dir;
  std::unique_ptr<TwForm> form;
};

TEST_F(WatchFormTest, ShowsTheWatchListWithoutPositionFields) {
  form = std::make_unique<TwForm>(nullptr, nullptr);
  form->resize(700, 200);
  form->show();
  TStockGrid *grid = form->StockGrid;
  EXPECT_TRUE(grid->WatchMode);
  EXPECT_EQ(grid->GridKind, gkWatchList);
  EXPECT_EQ(grid->PortfolioIndex, 0);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning() && grid->RowCount() == 3; }));
  EXPECT_EQ(grid->Cells(0, 1), "AAA");
  EXPECT_EQ(grid->Cells(0, 2), "BBB");
  EXPECT_EQ(grid->ColPos[gfQuantity], -1);
  EXPECT_EQ(grid->ColPos[gfValue], -1);
  EXPECT_EQ(grid->Cells(grid->ColPos[gfValueChange], 1), "+4.17%");
  EXPECT_EQ(form->GetWatchSymbols(), "AAA,BBB");

  form->edSymbols->setText(QStringLiteral("CCC"));
  form->SetWatchText("CCC");
  ASSERT_TRUE(ProcessEventsUntil([&] {
    return !grid->FillRunning() && !form->StockGrid->Cells(0, 1).empty() && grid->RowCount() == 2;
  }));
  EXPECT_EQ(grid->Cells(0, 1), "CCC");
  EXPECT_EQ(SettingsFile().ReadString("Watch", "Symbols", ""), "CCC");
  form->grab().save(QString::fromStdString(TestArtifactPath("watchform.png")));
}

TEST_F(WatchFormTest, ColumnsAreFittedToLongTextsAfterARefresh) {
  ViewRecord view = CurrentView;
  view.FieldCol.fill(-1);
  view.FieldCol[gfSymbol] = 0;
  view.FieldCol[gfLast] = 1;
  view.FieldCol[gfCompanyName] = 2;
  CurrentView = view;
  const std::string name = "Aardvark Holdings In";
  QSaveFile csv(dir.filePath(QStringLiteral("quotes.csv")));
  ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
  csv.write(("Symbol,Last,PrevClose,CompanyName\nAAA,12.75,12.5," + name + "\n").c_str());
  ASSERT_TRUE(csv.commit());
  AppQuoteIntake().Reset();

  form = std::make_unique<TwForm>(nullptr, nullptr);
  form->resize(700, 200);
  form->show();
  form->Timer1->stop();
  TStockGrid *grid = form->StockGrid;
  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning() && grid->RowCount() == 3; }));

  QuoteIntake::SetQuoteReadWaitMs(60000); // the refresh stores what the file holds
  const std::vector<std::string> stored = AppQuoteIntake().Refresh();
  QuoteIntake::SetQuoteReadWaitMs(DefaultQuoteReadWaitMs);
  ASSERT_EQ(stored, std::vector<std::string>{"AAA"});
  form->Timer1Timer(); // the updated symbol refreshes the grid
  ASSERT_TRUE(ProcessEventsUntil([&] {
    return !grid->FillRunning() && grid->Cells(grid->ColPos[gfCompanyName], 1) == name;
  }));
  for (int i = 0; i < 20; ++i)
    QCoreApplication::processEvents();
  form->Timer1Timer(); // the timer fits what the refresh showed
  const QFontMetrics fm(ToQFont(grid->FieldFont(gfCompanyName)));
  EXPECT_GE(grid->ColWidths(grid->ColPos[gfCompanyName]),
            fm.horizontalAdvance(QString::fromStdString(name)) + 4);
  AppQuoteIntake().Reset();
}

TEST_F(WatchFormTest, ASymbolEnteredInLowerCaseFollowsItsQuotes) {
  const auto writeQuotes = [this](const char *text) {
    QSaveFile csv(dir.filePath(QStringLiteral("quotes.csv")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(text);
    ASSERT_TRUE(csv.commit());
  };
  writeQuotes("Symbol,Last,PrevClose\nKO,61.5,61\n");
  AppQuoteIntake().Reset();
  ASSERT_EQ(AppQuoteIntake().Refresh(), std::vector<std::string>{"KO"});
  form = std::make_unique<TwForm>(nullptr, nullptr);
  form->Timer1->setInterval(10);
  form->resize(700, 200);
  form->show();
  form->edSymbols->setText(QStringLiteral("ko"));
  form->SetWatchText("ko");
  TStockGrid *grid = form->StockGrid;
  const int last = grid->ColPos[gfLast];
  ASSERT_GE(last, 0);
  ASSERT_TRUE(ProcessEventsUntil([&] {
    return !grid->FillRunning() && grid->RowCount() == 2 && Trim(grid->Cells(last, 1)) == "61.5";
  })) << grid->RowCount()
      << " [" << grid->Cells(0, 1) << "] [" << grid->Cells(last, 1) << "]";

  writeQuotes("Symbol,Last,PrevClose\nKO,62.25,61\n");
  ASSERT_EQ(AppQuoteIntake().Refresh(), std::vector<std::string>{"KO"});
  EXPECT_TRUE(ProcessEventsUntil([&] { return Trim(grid->Cells(last, 1)) == "62.25"; }))
      << grid->Cells(last, 1);
  AppQuoteIntake().Reset();
}

} // namespace
