// The watch list beside the main window: the grids' shared pop-up menu, the
// symbols the user types and the colour scheme, as the user meets them.
#include "mainwin/ProgramWindowTest.h"

#include "alerts/AlertEditRequest.h"
#include "alerts/AlertSystem.h"
#include "alerts/news/NewsForm.h"
#include "alerts/news/NewsWindowOpener.h"
#include "alerts/pages/AlertsPage.h"
#include "platform/Prompt.h"
#include "prefs/PrefDialog.h"
#include "views/WatchForm.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

class WatchListWindowTest : public ProgramWindowTest {
protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    SetAppPrompt(&prompt);
    prompt.SetDefaultAnswer(mrNo);
    RegisterAlertsPage();
    TNewsWindowTimings news;
    news.CloseDelayMs = 0;
    news.CloseFinalDelayMs = 0;
    SetNewsWindowTimings(news);
  }
  void TearDown() override {
    if (watch)
      watch->close();
    for (int i = 0; i < 20; ++i)
      QCoreApplication::processEvents();
    if (TfrmNews *news = NewsWindow())
      news->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    AlertEditRequest().Clear();
    ProgramWindowTest::TearDown();
    SetNewsWindowTimings(TNewsWindowTimings());
    SetAppPrompt(nullptr);
  }

  // Opens the watch list from the Windows menu and waits for its rows.
  void OpenWatchList() {
    form->findChild<QAction *>(QStringLiteral("mnWatchList"))->trigger();
    watch = form->findChild<TwForm *>();
    if (!watch)
      for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<TwForm *>(w))
          watch = f;
    ASSERT_NE(watch, nullptr);
    ASSERT_TRUE(ProcessEventsUntil([&] { return watch->windowHandle() && watch->isVisible(); }));
    ASSERT_TRUE(SettleWatch());
  }
  bool SettleWatch() {
    return SettleGrid(watch->StockGrid, [&] { return !watch->StockGrid->RefreshPending(); });
  }
  int WatchRowOf(const std::string &symbol) const {
    for (int r = 1; r < watch->StockGrid->RowCount(); ++r)
      if (watch->StockGrid->Cells(0, r) == symbol)
        return r;
    return -1;
  }
  // A right click on a row of a grid: the grid opens the shared pop-up.
  static void RightClickRow(TStockGrid *g, int row) {
    const TRect r = g->CellRect(1, row);
    gridtest::Click(g->viewport(), QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2),
                    Qt::RightButton);
  }
  // Chooses a command of the open pop-up.
  void Choose(const char *name) {
    ASSERT_TRUE(ProcessEventsUntil([&] { return form->STPopup->isVisible(); }));
    QAction *action = form->findChild<QAction *>(QString::fromUtf8(name));
    ASSERT_NE(action, nullptr) << name;
    form->STPopup->hide();
    action->trigger();
  }
  // Chooses Create Alert... (or Edit Alerts...) and reads the symbol the
  // preferences dialog's alert editor opened with, then cancels the dialog.
  std::string AlertEditorSymbolAfter(const char *command) {
    std::string symbol;
    int polls = 0;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      TdlgPref *dialog = TdlgPref::OpenDialog();
      if (!dialog)
        return;
      // The alert page has carried out the request once it took it.
      auto *dfSymbol = dialog->findChild<QLineEdit *>(QStringLiteral("dfSymbol"));
      if ((dfSymbol && AlertEditRequest().Empty()) || ++polls > 500) {
        symbol = dfSymbol ? dfSymbol->text().toStdString() : "";
        poll.stop();
        dialog->pbCancel->click();
      }
    });
    poll.start();
    Choose(command); // returns when the modal dialog closes
    return symbol;
  }

  FakePrompt prompt;
  TwForm *watch = nullptr;
};

TEST_F(WatchListWindowTest, PopUpCommandsActOnTheGridAndRowTheyWereOpenedOn) {
  for (const char *symbol : {"MSFT", "QQQ"}) {
    auto alert = std::make_unique<TAlertRecord>();
    alert->Symbol = symbol;
    alert->AlertType = 1;
    alert->P1 = 1000;
    AlertSystem().AddAlert(std::move(alert));
  }
  WriteQuotes(std::string(kSampleQuotesCsv) + "SPY,476.70,476.69,476.71,65120300,477.50,474.90,"
                                              "475.30,1200,900\n"
                                              "QQQ,409.50,409.49,409.52,40250100,410.80,406.70,"
                                              "407.90,800,700\n");
  ShowForm();
  ASSERT_TRUE(Refresh());
  OpenWatchList();
  // MSFT is chosen in the main grid; the user right-clicks SPY in the watch list.
  const int msft = RowOf("MSFT");
  ASSERT_GE(msft, 1);
  gridtest::Click(grid->viewport(),
                  QPoint(grid->CellRect(1, msft).Left + 3, grid->CellRect(1, msft).Top + 3));
  ASSERT_EQ(form->FocusedSymbol(), "MSFT");

  struct Case {
    const char *command;
    const char *row; // the watch-list row right-clicked
  };
  for (const Case c : {Case{"pmCreateAlert", "SPY"}, Case{"pmEditAlerts", "QQQ"}}) {
    const int row = WatchRowOf(c.row);
    ASSERT_GE(row, 1) << c.row;
    RightClickRow(watch->StockGrid, row);
    EXPECT_EQ(AlertEditorSymbolAfter(c.command), c.row) << c.command;
  }

  RightClickRow(watch->StockGrid, WatchRowOf("QQQ"));
  Choose("pmSeeNews");
  ASSERT_NE(NewsWindow(), nullptr);
  EXPECT_EQ(NewsWindow()->CurrentSymbol(), "QQQ");

  // The same menu opened on the main grid acts on the main grid's row.
  RightClickRow(grid, RowOf("AMZN"));
  Choose("pmSeeNews");
  EXPECT_EQ(NewsWindow()->CurrentSymbol(), "AMZN");
  EXPECT_EQ(form->FocusedSymbol(), "AMZN") << "the right click chose the row";
}

TEST_F(WatchListWindowTest, TypedSymbolsAreUpperCased) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  OpenWatchList();
  watch->edSymbols->setText(QStringLiteral("jnj  ko"));
  QMetaObject::invokeMethod(watch->edSymbols, "editingFinished");
  ASSERT_TRUE(SettleWatch());
  EXPECT_EQ(watch->edSymbols->text().toStdString(), "JNJ  KO");
  EXPECT_EQ(watch->StockGrid->Cells(0, 1), "JNJ");
  EXPECT_EQ(watch->StockGrid->Cells(0, 2), "KO");
  EXPECT_EQ(watch->StockGrid->Cells(watch->StockGrid->ColPos[gfLast], 1), "158.8")
      << "the quote of JNJ is found";
  EXPECT_EQ(SettingsFile().ReadString("Watch", "Symbols", ""), "JNJ  KO");
}

TEST_F(WatchListWindowTest, DarkSchemeFillsTheAreaBelowTheRowsOfBothGrids) {
  ASSERT_TRUE(QFile::copy(QString::fromStdString(TestDataPath("schemes.par")),
                          dir.filePath(QStringLiteral("schemes.par"))));
  ShowForm(1180, 420);
  ASSERT_TRUE(Refresh());
  OpenWatchList();
  watch->resize(760, 300);
  form->SelectScheme(2); // Midnight
  ASSERT_EQ(Schemes[1].Name, "Midnight");
  const QColor dark = ToQColor(Schemes[1].NoStripeRow);
  ASSERT_TRUE(Settle());
  ASSERT_TRUE(SettleWatch());
  for (int i = 0; i < 50; ++i)
    QCoreApplication::processEvents();

  // Below the last row of each grid.
  const auto emptyArea = [](TStockGrid *g) {
    const TRect last = g->CellRect(1, g->RowCount() - 1);
    const int top = last.Bottom + 4;
    return QRect(QPoint(last.Left, top), QPoint(last.Right - 1, g->viewport()->height() - 4));
  };
  const QRect mainArea = emptyArea(grid);
  ASSERT_GT(mainArea.height(), 10);
  const QImage mainImage = grid->viewport()->grab().toImage();
  EXPECT_EQ(Background(mainImage, mainArea), dark) << "main grid";
  const QRect watchArea = emptyArea(watch->StockGrid);
  ASSERT_GT(watchArea.height(), 10);
  const QImage watchImage = watch->StockGrid->viewport()->grab().toImage();
  EXPECT_EQ(Background(watchImage, watchArea), dark) << "watch list";
  SavePicture("program_dark_scheme.png");
}

} // namespace
