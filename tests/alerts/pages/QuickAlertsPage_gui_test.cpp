#include "alerts/pages/QuickAlertsPage.h"

#include "alerts/AlertFile.h"
#include "alerts/pages/PageTestSupport.h"
#include "platform/StringGridTestEvents.h"
#include "prefs/PrefDialog.h"
#include "support/TestPaths.h"
#include "views/StringAlignGrid.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>

namespace {

using gridtest::Click;
using gridtest::Key;

void TypeText(QWidget *w, const QString &text) {
  for (QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
    QApplication::sendEvent(w, &press);
  }
}

class QuickAlertsPageTest : public PageTest {
protected:
  void SetUp() override {
    PageTest::SetUp();
    TOQuickAlerts::ShownPortfolio() = -1;
    AddPortfolio("Growth", "GROW", {"MSFT", "IBM", "$CASH"});
    AddPortfolio("Income", "INC", {"T", "IBM"});
  }
  void TearDown() override {
    page.reset();
    TOQuickAlerts::ShownPortfolio() = -1;
    PageTest::TearDown();
  }

  TOQuickAlerts *Open() {
    page = std::make_unique<TOQuickAlerts>();
    page->resize(TdlgPref::PageWidth, TdlgPref::PageHeight);
    page->show();
    page->activateWindow();
    EXPECT_TRUE(ProcessEventsUntil([this] { return page->isActiveWindow(); }));
    page->FormShow();
    grid = page->tbAlerts;
    return page.get();
  }

  int RowOf(const std::string &symbol) const {
    for (int r = 1; r < grid->RowCount(); ++r)
      if (grid->Cells(0, r) == symbol)
        return r;
    return -1;
  }
  QPoint Centre(int c, int r) const { return ToQRect(grid->CellRect(c, r)).center(); }

  // Clicks the cell, types the text over it and presses Enter.
  void Enter(int c, int r, const QString &text) {
    Click(grid->viewport(), Centre(c, r));
    ASSERT_TRUE(grid->EditorMode());
    ASSERT_EQ(grid->EditingCol(), c);
    ASSERT_EQ(grid->EditingRow(), r);
    grid->InplaceEditor()->selectAll();
    if (text.isEmpty())
      Key(grid->InplaceEditor(), Qt::Key_Delete);
    else
      TypeText(grid->InplaceEditor(), text);
    Key(grid->InplaceEditor(), Qt::Key_Return);
  }

  static void Grab(QWidget *w, const std::string &name) {
    QDir().mkpath(QString::fromStdString(TestArtifactPath("")));
    EXPECT_TRUE(w->grab().save(QString::fromStdString(TestArtifactPath(name))));
  }

  std::unique_ptr<TOQuickAlerts> page;
  TStringAlignGrid *grid = nullptr;
};

} // namespace

TEST_F(QuickAlertsPageTest, ShowListsThePortfoliosAndFillsTheFirst) {
  const std::string low = AddAlert("IBM", AlertTypeLowPrice, 95);
  AddAlert("IBM", AlertTypeColumn, ColumnVolume, 2500000);
  Open();
  ASSERT_EQ(page->lbPorts->count(), 3);
  EXPECT_EQ(page->lbPorts->item(0)->text(), QStringLiteral("***All Stocks***"));
  EXPECT_EQ(page->lbPorts->item(2)->text(), QStringLiteral("Income"));
  EXPECT_EQ(page->lbPorts->currentRow(), 1);
  EXPECT_EQ(TOQuickAlerts::ShownPortfolio(), 1);
  ASSERT_EQ(grid->RowCount(), 3);
  const std::vector<std::string> headers{"Symbol", "Low", "High", "News", "Volume"};
  for (int c = 0; c < 5; ++c)
    EXPECT_EQ(grid->Cells(c, 0), headers[std::size_t(c)]);
  EXPECT_EQ(grid->Cells(0, 1), "IBM");
  EXPECT_EQ(grid->Cells(1, 1), "95");
  EXPECT_EQ(grid->Cells(4, 1), "           2,500,000");
  EXPECT_EQ(grid->Cells(0, 2), "MSFT");
  EXPECT_EQ(grid->RowHeights(1), TOQuickAlerts::GridRowHeight);
  EXPECT_FALSE(grid->IsEditCol(QuickColNews));
  EXPECT_FALSE(grid->TabStops(QuickColNews));

  const int symbolWidth = grid->Canvas().TextWidth("WWWWW W");
  const int newsWidth = grid->Canvas().TextWidth("News ");
  const int unit = (grid->width() - 25 - symbolWidth - newsWidth) / 11;
  EXPECT_EQ(grid->ColWidths(0), symbolWidth);
  EXPECT_EQ(grid->ColWidths(3), newsWidth);
  EXPECT_EQ(grid->ColWidths(1), 3 * unit);
  EXPECT_EQ(grid->ColWidths(2), 3 * unit);
  EXPECT_EQ(grid->ColWidths(4), 5 * unit);
}

TEST_F(QuickAlertsPageTest, TypingInTheGridCreatesUpdatesAndDeletesAlerts) {
  const std::string low = AddAlert("IBM", AlertTypeLowPrice, 95);
  Activate(low);
  Open();
  const int ibm = RowOf("IBM");
  const int msft = RowOf("MSFT");
  Enter(QuickColHigh, ibm, QStringLiteral("130.50"));
  EXPECT_EQ(grid->Cells(QuickColHigh, ibm), "130.5") << "rewritten as a price";
  Enter(QuickColVolume, msft, QStringLiteral("1500000"));
  EXPECT_EQ(grid->Cells(QuickColVolume, msft), "           1,500,000");
  Enter(QuickColLow, msft, QStringLiteral("0"));
  EXPECT_EQ(grid->Cells(QuickColLow, msft), "") << "0 empties the cell";
  Enter(QuickColLow, ibm, QString());
  EXPECT_EQ(grid->Cells(QuickColLow, ibm), "");
  page->FormClose();

  EXPECT_FALSE(Stored(low)) << "clearing the low cell deleted the alert";
  EXPECT_EQ(StoreSummary(), (std::vector<std::string>{"IBM 1 130.5 0", "MSFT 3 5 1.5e+06"}));
  // The alert file holds what the store holds.
  AlertSystem().ClearAll();
  const AlertFileReport report = LoadAlertFile(AlertSystem(), Folder() + "ALERTS.DAT");
  EXPECT_TRUE(report.opened);
  EXPECT_EQ(report.added, 2);
}

TEST_F(QuickAlertsPageTest, ChangingALimitEndsTheAlertsActionsAndStoresIt) {
  const std::string low = AddAlert("IBM", AlertTypeLowPrice, 95);
  Activate(low);
  Open();
  Enter(QuickColLow, RowOf("IBM"), QStringLiteral("90"));
  page->FormClose();
  const auto stored = Stored(low);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->P1, 90);
  EXPECT_TRUE(stored->ActiveActions.Empty());
}

TEST_F(QuickAlertsPageTest, ClickingTheNewsColumnTogglesTheFlag) {
  Open();
  const int ibm = RowOf("IBM");
  Enter(QuickColHigh, ibm, QStringLiteral("120"));
  EXPECT_EQ(page->LastEditCol(), QuickColHigh);
  Click(grid->viewport(), Centre(QuickColNews, ibm));
  EXPECT_EQ(grid->Cells(QuickColNews, ibm), "Y");
  EXPECT_EQ(grid->Col(), QuickColHigh) << "the cursor goes back to the column last edited";
  EXPECT_EQ(grid->Row(), ibm);
  EXPECT_FALSE(grid->EditorMode() && grid->EditingCol() == QuickColNews);
  Click(grid->viewport(), Centre(QuickColNews, ibm));
  EXPECT_EQ(grid->Cells(QuickColNews, ibm), "");
  Click(grid->viewport(), Centre(QuickColNews, ibm));
  page->FormClose();
  EXPECT_EQ(StoreSummary(), (std::vector<std::string>{"IBM 1 120 0", "IBM 2 2 0"}));
}

TEST_F(QuickAlertsPageTest, SwitchingPortfoliosSavesTheRowsShownFirst) {
  Open();
  Enter(QuickColLow, RowOf("MSFT"), QStringLiteral("50"));
  page->lbPorts->setCurrentRow(2);
  EXPECT_EQ(StoreSummary(), (std::vector<std::string>{"MSFT 0 50 0"}));
  EXPECT_EQ(TOQuickAlerts::ShownPortfolio(), 2);
  ASSERT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->Cells(0, 1), "IBM");
  EXPECT_EQ(grid->Cells(0, 2), "T");
  page->lbPorts->setCurrentRow(0);
  ASSERT_EQ(grid->RowCount(), 4) << "IBM, held by both portfolios, is listed once";
  EXPECT_EQ(grid->Cells(0, 2), "MSFT");
  EXPECT_EQ(grid->Cells(1, 2), "50");
}

TEST_F(QuickAlertsPageTest, AnEditStillOpenIsSavedWhenThePageCloses) {
  Open();
  const int msft = RowOf("MSFT");
  Click(grid->viewport(), Centre(QuickColHigh, msft));
  ASSERT_TRUE(grid->EditorMode());
  TypeText(grid->InplaceEditor(), QStringLiteral("77"));
  page->FormClose();
  EXPECT_EQ(StoreSummary(), (std::vector<std::string>{"MSFT 1 77 0"}));
}

TEST_F(QuickAlertsPageTest, ThePageReopensOnThePortfolioShownLast) {
  Open();
  page->lbPorts->setCurrentRow(2);
  page->FormClose();
  page.reset();
  EXPECT_EQ(TOQuickAlerts::ShownPortfolio(), 2);
  Open();
  EXPECT_EQ(page->lbPorts->currentRow(), 2);
  EXPECT_EQ(grid->Cells(0, 2), "T");
}

TEST_F(QuickAlertsPageTest, WithoutPortfoliosAllStocksIsShown) {
  {
    MyLockGuard guard(PortListLock, "TEST");
    PortfolioList.Clear();
  }
  Open();
  EXPECT_EQ(page->lbPorts->count(), 1);
  EXPECT_EQ(page->lbPorts->currentRow(), 0);
  EXPECT_EQ(grid->RowCount(), 2);
  EXPECT_FALSE(grid->Editing()) << "the blank row takes no input";
  page->FormClose();
  EXPECT_EQ(AlertSystem().Count(), 0);
}

TEST_F(QuickAlertsPageTest, ARememberedPortfolioThatIsGoneShowsAllStocks) {
  TOQuickAlerts::ShownPortfolio() = 7;
  Open();
  EXPECT_EQ(page->lbPorts->currentRow(), 0);
}

TEST_F(QuickAlertsPageTest, ScrollingKeepsTheCurrentRowInSight) {
  std::vector<std::string> many;
  for (int i = 0; i < 60; ++i)
    many.push_back("S" + std::to_string(100 + i));
  AddPortfolio("Many", "MANY", many);
  TOQuickAlerts::ShownPortfolio() = 3;
  Open();
  ASSERT_EQ(grid->RowCount(), 61);
  grid->SetTopRow(30);
  EXPECT_EQ(grid->TopRow(), 30);
  EXPECT_EQ(grid->Row(), 30);
  grid->SetTopRow(1);
  EXPECT_EQ(grid->Row(), grid->VisibleRowCount());
}

TEST_F(QuickAlertsPageTest, AnAlertFileThatCannotBeWrittenIsReported) {
  Open();
  SetProgramFolder(Folder() + "missing/folder");
  page->FormClose();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text.rfind("The alerts could not be saved: ", 0), 0u);
  EXPECT_EQ(prompt.Questions()[0].caption, "Alerts");
}

TEST_F(QuickAlertsPageTest, Picture) {
  AddAlert("IBM", AlertTypeLowPrice, 95.25);
  AddAlert("IBM", AlertTypeNews, 2);
  AddAlert("MSFT", AlertTypeColumn, ColumnVolume, 12500000);
  Open();
  page->lbPorts->setCurrentRow(0);
  Click(grid->viewport(), Centre(QuickColHigh, RowOf("MSFT")));
  ASSERT_TRUE(grid->EditorMode());
  TypeText(grid->InplaceEditor(), QStringLiteral("41"));
  QApplication::processEvents();
  Grab(page.get(), "quick_alerts_page.png");
}
