#include "AlertUiTestSupport.h"

#include "alerts/AlertActivation.h"
#include "alerts/AlertDialogHooks.h"
#include "alerts/AlertFile.h"
#include "alerts/PendingAlertQueue.h"
#include "core/SaveFailureReport.h"
#include "core/StandIns.h"
#include "platform/Prompt.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

#include <thread>

namespace {

using AlertDlgTest = AlertUiTest;

QPushButton *Button(TAlertDlg *dlg, const char *name) {
  return dlg->findChild<QPushButton *>(QString::fromLatin1(name));
}

QLabel *Label(TAlertDlg *dlg, const char *name) {
  return dlg->findChild<QLabel *>(QString::fromLatin1(name));
}

std::string Text(QLabel *label) { return label->text().toStdString(); }

int AlertsInFile(const std::string &path) {
  AlertSystemClass store;
  LoadAlertFile(store, path);
  return store.Count();
}

std::string AlertFilePath() { return ProgramFolder() + AlertFileName; }

// ---- Contents

TEST_F(AlertDlgTest, ShowsTheTriggeredAlert) {
  FundData fund;
  fund.CompanyName = "Intl Business Mach";
  fund.Exchange = "NYSE";
  StoreFundamentals("IBM", fund);
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 105.5, 105.75);
  TAlertDlg *dlg = Trigger(id);
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(Text(Label(dlg, "lbSymb")), "IBM");
  EXPECT_EQ(Text(Label(dlg, "lbPrice")), "105.75");
  EXPECT_EQ(Text(Label(dlg, "lbDesc")), "IBM: High Last Price at 105.5");
  EXPECT_EQ(Text(Label(dlg, "lbName")), GetFundText("IBM"));
  EXPECT_FALSE(Text(Label(dlg, "lbName")).empty());
  EXPECT_EQ(dlg->windowTitle().toStdString(), "High Price alert");
  EXPECT_EQ(dlg->ID, id);
  EXPECT_FLOAT_EQ(dlg->Limit, 105.5f);
  EXPECT_TRUE(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize()); // a fixed border
  EXPECT_EQ(dlg->HelpContext, 5);
}

TEST_F(AlertDlgTest, CaptionBeforeActivationIsAlert) {
  TAlertDlg dlg;
  EXPECT_EQ(dlg.windowTitle().toStdString(), "ALERT");
  EXPECT_TRUE(dlg.ID.empty());
}

TEST_F(AlertDlgTest, PriceColourByAlertType) {
  struct Row {
    int type;
    QColor colour;
  };
  const Row rows[] = {{AlertTypeHighPrice, QColor(0, 0x80, 0)},
                      {AlertTypeLowPrice, QColor(0xFF, 0, 0)},
                      {AlertTypeNews, QColor(0, 0, 0)},
                      {AlertTypeColumn, QColor(0, 0, 0)}};
  for (const Row &row : rows) {
    TAlertDlg *dlg = Trigger(AddAlert("MSFT", row.type, 1));
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->lbPrice->palette().color(QPalette::WindowText), row.colour) << row.type;
    EXPECT_EQ(dlg->windowTitle().toStdString(), AlertTypeNames()[row.type] + " alert");
  }
}

TEST_F(AlertDlgTest, ButtonsTextsAndHints) {
  struct Row {
    const char *name;
    const char *text;
    const char *hint;
  };
  const Row rows[] = {
      {"pbTurnOff", "Turn Off", "Turn off alert."},
      {"pbClear", "&Delete", "Erase the Alert"},
      {"pbClose", "&Close", "Close this dialog, leaving the alert intact"},
      {"pbDisable", "Di&sable", ""},
      {"pbEdit", "&Edit", "Edit the Alert"},
      {"pbPortfolio", "Portfolio", ""},
  };
  TAlertDlg dlg;
  for (const Row &row : rows) {
    QPushButton *button = Button(&dlg, row.name);
    ASSERT_NE(button, nullptr) << row.name;
    EXPECT_EQ(button->text().toStdString(), row.text) << row.name;
    EXPECT_EQ(button->toolTip().toStdString(), row.hint) << row.name;
  }
  EXPECT_NE(dlg.findChild<QMenu *>("Pop"), nullptr);
  EXPECT_NE(Label(&dlg, "Image1"), nullptr);
  EXPECT_FALSE(Label(&dlg, "Image1")->pixmap().isNull());
}

// ---- Buttons

TEST_F(AlertDlgTest, TurnOffEndsTheActionsAndCloses) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  Activate(id);
  QPointer<TAlertDlg> dlg = Trigger(id);
  Button(dlg, "pbTurnOff")->click();
  EXPECT_TRUE(dlg->Closed());
  EXPECT_FALSE(dlg->isVisible());
  FreeClosed();
  EXPECT_TRUE(dlg.isNull());
  const TAlertRecord alert = Stored(id);
  EXPECT_EQ(alert.ID, id);
  EXPECT_TRUE(alert.ActiveActions.Empty());
  EXPECT_TRUE(alert.Enabled);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(AlertFilePath()))); // nothing saved
}

TEST_F(AlertDlgTest, DisableTurnsOffDisablesAndSaves) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  Activate(id);
  TAlertDlg *dlg = Trigger(id);
  Button(dlg, "pbDisable")->click();
  EXPECT_TRUE(dlg->Closed());
  const TAlertRecord alert = Stored(id);
  EXPECT_TRUE(alert.ActiveActions.Empty());
  EXPECT_FALSE(alert.Enabled);
  EXPECT_EQ(alert.LastAlertTime, 0);
  EXPECT_EQ(alert.ActivationTimes[ActionPopup], 0);
  EXPECT_EQ(AlertsInFile(AlertFilePath()), 1);
  EXPECT_TRUE(reports.empty());
}

TEST_F(AlertDlgTest, DeleteRemovesTheAlertAndWritesTheFile) {
  const std::string keep = AddAlert("MSFT", AlertTypeLowPrice, 20);
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  Activate(id);
  TAlertDlg *dlg = Trigger(id);
  Button(dlg, "pbClear")->click();
  EXPECT_TRUE(dlg->Closed());
  EXPECT_EQ(AlertSystem().AlertIDs(), std::vector<std::string>{keep});
  EXPECT_EQ(AlertsInFile(AlertFilePath()), 1);
}

TEST_F(AlertDlgTest, CloseLeavesTheAlertActive) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  Activate(id);
  TAlertDlg *dlg = Trigger(id);
  Button(dlg, "pbClose")->click();
  EXPECT_TRUE(dlg->Closed());
  EXPECT_TRUE(Stored(id).ActiveActions.Contains(ActionHighlightRow));
  bool active = false;
  TDateTime age = 0;
  EXPECT_EQ(AlertSystem().GetRowHighlight("IBM", active, age), 255);
  EXPECT_TRUE(active);
}

TEST_F(AlertDlgTest, EscapeIsTheCloseButton) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  Activate(id);
  TAlertDlg *dlg = Trigger(id);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(dlg, &escape);
  EXPECT_TRUE(dlg->Closed());
  EXPECT_FALSE(Stored(id).ActiveActions.Empty());
}

TEST_F(AlertDlgTest, EditLeavesTheBareIdForTheMainWindow) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  TAlertDlg *dlg = Trigger(id);
  Button(dlg, "pbEdit")->click();
  EXPECT_TRUE(dlg->Closed());
  EXPECT_EQ(AlertEditRequest().Get(), id);
  EXPECT_TRUE(PromoteBareAlertEditRequest());
  EXPECT_EQ(AlertEditRequest().Get(), "=" + id);
  EXPECT_FALSE(PromoteBareAlertEditRequest());
}

TEST_F(AlertDlgTest, ButtonsOfADeletedAlertChangeNothing) {
  const std::string keep = AddAlert("MSFT", AlertTypeLowPrice, 20);
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  TAlertDlg *off = Trigger(id);
  TAlertDlg *del = Trigger(id);
  TAlertDlg *dis = Trigger(id);
  AlertSystem().DeleteAlert(id, false); // pop-ups stay open
  ASSERT_EQ(TAlertDlg::OpenDialogs().size(), 3u);
  Button(off, "pbTurnOff")->click();
  Button(del, "pbClear")->click();
  Button(dis, "pbDisable")->click();
  EXPECT_TRUE(off->Closed() && del->Closed() && dis->Closed());
  EXPECT_EQ(AlertSystem().AlertIDs(), std::vector<std::string>{keep});
  EXPECT_TRUE(Stored(keep).Enabled);
  EXPECT_EQ(AlertsInFile(AlertFilePath()), 1);
  EXPECT_TRUE(reports.empty());
}

TEST_F(AlertDlgTest, AFailedSaveIsReported) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  // The data folder is gone: the file cannot be written.
  SetProgramFolder(dir.path().toStdString() + "/missing/deeper");
  TAlertDlg *dlg = Trigger(id);
  // A save the user's click caused: told in a message box, as the alerts pages do.
  FakePrompt prompt;
  SetAppPrompt(&prompt);
  ResetSaveFailureReports();
  Button(dlg, "pbClear")->click();
  SetAppPrompt(nullptr);
  ResetSaveFailureReports();
  EXPECT_TRUE(dlg->Closed());
  EXPECT_EQ(AlertSystem().Count(), 0);
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].caption, "Alerts");
  EXPECT_EQ(prompt.Questions()[0].text.rfind("The alerts could not be saved: ", 0), 0u);
}

// ---- Keys

TEST_F(AlertDlgTest, KeysReachTheCommonKeyHandlerOnce) {
  std::vector<int> keys;
  SetGlobalKeyHandler([&](int key, Qt::KeyboardModifiers) { keys.push_back(key); });
  TAlertDlg *dlg = Trigger(AddAlert("IBM", AlertTypeHighPrice, 100));
  dlg->activateWindow();
  dlg->pbEdit->setFocus();
  QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
  QCoreApplication::sendEvent(
      QApplication::focusWidget() ? QApplication::focusWidget() : static_cast<QWidget *>(dlg), &f2);
  SetGlobalKeyHandler(nullptr);
  EXPECT_EQ(keys, std::vector<int>{Qt::Key_F2});
  EXPECT_FALSE(dlg->Closed());
}

// ---- Portfolio menu

TEST_F(AlertDlgTest, PortfolioMenuChecksThePortfoliosHoldingTheSymbol) {
  AddPortfolio("Growth", "GROW", {"MSFT", "IBM"});
  AddPortfolio("Income", "INC", {"T", "VZ"});
  AddPortfolio("Tech", "TECH", {"IBM"});
  TAlertDlg *dlg = Trigger(AddAlert("IBM", AlertTypeHighPrice, 100));
  for (int pass = 0; pass < 2; ++pass) { // rebuilt, not added to, each time
    dlg->PopPopup();
    const QList<QAction *> items = dlg->Pop->actions();
    ASSERT_EQ(items.size(), 3);
    const char *captions[] = {"Growth", "Income", "Tech"};
    const bool checked[] = {true, false, true};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(items[i]->text().toStdString(), captions[i]);
      EXPECT_EQ(items[i]->isChecked(), checked[i]) << captions[i];
      EXPECT_TRUE(items[i]->isEnabled());
      EXPECT_EQ(items[i]->data().toInt(), i);
    }
    EXPECT_EQ(dlg->Keys, (std::vector<std::string>{"GROW", "INC", "TECH"}));
  }
}

TEST_F(AlertDlgTest, PortfolioItemAsksForTheWholeKey) {
  const std::string key = "RETIREMENT-ACCOUNT-IRA"; // 22 characters
  ASSERT_EQ(key.size(), 22u);
  AddPortfolio("Short", "S1", {"IBM"});
  AddPortfolio("Retirement", key, {"IBM"});
  TAlertDlg *dlg = Trigger(AddAlert("IBM", AlertTypeHighPrice, 100));
  dlg->PopPopup();
  dlg->Pop->actions().at(1)->trigger();
  EXPECT_EQ(PortfolioRequest().Get(), key);
  EXPECT_TRUE(dlg->Closed());
  FreeClosed(); // the clicked item is freed after its click
  EXPECT_EQ(PortfolioRequest().MaxLength(), PortKeyMaxLength);
}

TEST_F(AlertDlgTest, PortfolioMenuOpensBelowTheButton) {
  AddPortfolio("Growth", "GROW", {"IBM"});
  TAlertDlg *dlg = Trigger(AddAlert("IBM", AlertTypeHighPrice, 100));
  int shown = 0;
  QObject::connect(dlg->Pop, &QMenu::aboutToShow, [&] { ++shown; });
  dlg->pbPortfolioMouseDown();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(dlg->Pop->actions().size(), 1);
  EXPECT_EQ(dlg->PortfolioMenuPoint(),
            dlg->mapToGlobal(dlg->pbPortfolio->geometry().bottomLeft() + QPoint(0, 1)));
  dlg->Pop->hide();
}

// ---- Opened by activation

TEST_F(AlertDlgTest, ActivationOpensOnePopupUntilTurnedOff) {
  const std::string id = AddAlert("IBM", AlertTypeLowPrice, 90, 89.5);
  TPendingAlertQueue queue;
  TAlertRecord work;
  queue.Push(id);
  queue.Push(id); // triggered twice before the heartbeat
  ActivatePendingAlerts(AlertSystem(), queue, work);
  auto open = TAlertDlg::OpenDialogs();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0]->ID, id);
  EXPECT_EQ(open[0]->lbPrice->text().toStdString(), "89.5");
  EXPECT_EQ(open[0]->windowTitle().toStdString(), "Low Price alert");
  Button(open[0], "pbTurnOff")->click();
  queue.Push(id);
  ActivatePendingAlerts(AlertSystem(), queue, work);
  open = TAlertDlg::OpenDialogs();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_FALSE(open[0]->Closed());
}

// ---- Closing through the store's hooks

TEST_F(AlertDlgTest, CloseAlertDialogsByIdAndAll) {
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 100);
  const std::string b = AddAlert("MSFT", AlertTypeLowPrice, 20);
  QPointer<TAlertDlg> a1 = Trigger(a), a2 = Trigger(a), b1 = Trigger(b);
  CloseAlertDialogs(a);
  EXPECT_TRUE(a1->Closed() && a2->Closed());
  EXPECT_FALSE(b1->Closed());
  EXPECT_EQ(TAlertDlg::OpenDialogs(), std::vector<TAlertDlg *>{b1.data()});
  CloseAlertDialogs("ALL");
  EXPECT_TRUE(b1->Closed());
  FreeClosed();
  EXPECT_TRUE(a1.isNull() && a2.isNull() && b1.isNull());
}

TEST_F(AlertDlgTest, CloseSymbolAlertDialogsBySymbolLabel) {
  QPointer<TAlertDlg> ibm1 = Trigger(AddAlert("IBM", AlertTypeHighPrice, 100));
  QPointer<TAlertDlg> ibm2 = Trigger(AddAlert("IBM", AlertTypeLowPrice, 90));
  QPointer<TAlertDlg> ibmx = Trigger(AddAlert("IBMX", AlertTypeLowPrice, 90));
  CloseSymbolAlertDialogs("IBM");
  EXPECT_TRUE(ibm1->Closed() && ibm2->Closed());
  EXPECT_FALSE(ibmx->Closed());
}

TEST_F(AlertDlgTest, StoreOperationsCloseTheirPopups) {
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 100);
  const std::string b = AddAlert("IBM", AlertTypeLowPrice, 90);
  const std::string c = AddAlert("MSFT", AlertTypeLowPrice, 20);
  TAlertDlg *pa = Trigger(a);
  TAlertDlg *pb = Trigger(b);
  TAlertDlg *pc = Trigger(c);
  AlertSystem().TurnOffAlert(a, false); // without closing dialogs
  EXPECT_FALSE(pa->Closed());
  AlertSystem().DeleteAlert(a, true);
  EXPECT_TRUE(pa->Closed());
  AlertSystem().TurnOffSymbolAlerts("IBM");
  EXPECT_TRUE(pb->Closed());
  EXPECT_FALSE(pc->Closed());
  AlertSystem().ClearAll();
  EXPECT_TRUE(pc->Closed());
}

TEST_F(AlertDlgTest, ClosingFromAnotherThreadIsPassedToTheWindowThread) {
  QPointer<TAlertDlg> dlg = Trigger(AddAlert("IBM", AlertTypeHighPrice, 100));
  std::thread worker([] { CloseAlertDialogs("ALL"); });
  worker.join(); // returned without waiting for the window thread
  EXPECT_TRUE(ProcessEventsUntil([] { return TAlertDlg::OpenDialogs().empty(); }));
  EXPECT_TRUE(dlg.isNull() || dlg->Closed());
}

TEST_F(AlertDlgTest, UninstalledWindowsOpenNoPopup) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  QPointer<TAlertDlg> dlg = Trigger(id);
  UninstallAlertPopupWindows(); // closes what is open
  EXPECT_TRUE(dlg->Closed());
  EXPECT_FALSE(ShowAlertPopup(MakeAlertPopupInfo(Stored(id), id)));
  EXPECT_TRUE(TAlertDlg::OpenDialogs().empty());
  InstallAlertPopupWindows();
}

// ---- Requests

TEST(AlertEditRequestTest, CutToItsLength) {
  AlertEditRequest().Set("=ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(AlertEditRequest().Get(), "=ABCDEFGHIJKLMN");
  EXPECT_EQ(AlertEditRequest().Take(), "=ABCDEFGHIJKLMN");
  EXPECT_TRUE(AlertEditRequest().Empty());
  PortfolioRequest().Set(std::string(30, 'K'));
  EXPECT_EQ(PortfolioRequest().Take(), std::string(22, 'K'));
}

TEST(AlertEditRequestTest, OnlyABareIdIsPromoted) {
  struct Row {
    const char *request;
    bool promoted;
    const char *after;
  };
  const Row rows[] = {
      {"", false, ""},
      {"QWERTY", true, "=QWERTY"},
      {"=QWERTY", false, "=QWERTY"},
      {"~IBM", false, "~IBM"},
      {"!IBM", false, "!IBM"},
      {"qwerty", false, "qwerty"},
      {"ABCDEFGHIJKLMNO", true, "=ABCDEFGHIJKLMN"},
  };
  for (const Row &row : rows) {
    AlertEditRequest().Set(row.request);
    EXPECT_EQ(PromoteBareAlertEditRequest(), row.promoted) << row.request;
    EXPECT_EQ(AlertEditRequest().Get(), row.after) << row.request;
  }
  AlertEditRequest().Clear();
}

} // namespace
