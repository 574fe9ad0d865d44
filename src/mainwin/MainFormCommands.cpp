// The main window's commands: the Alerts and Windows menus and the grid's
// pop-up menu entries that reach the alert, news, watch-list and ticker code.
#include "mainwin/MainForm.h"

#include "alerts/AlertEditRequest.h"
#include "alerts/AlertsModule.h"
#include "alerts/news/NewsWindowOpener.h"
#include "alerts/ui/AlertLogForm.h"
#include "core/ErrorReport.h"
#include "platform/StringUtils.h"
#include "prefs/PrefDialog.h"
#include "views/WatchForm.h"
#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"
#include "views/ticker/TickerForm.h"

#include <QMenu>
#include <QMenuBar>
#include <exception>

namespace {

// Grid texts may carry a leading "<" or ">" mark.
std::string SymbolOfCell(std::string text) {
  text = Trim(text);
  while (!text.empty() && (text.front() == '<' || text.front() == '>'))
    text.erase(0, 1);
  return Trim(text);
}

bool IsPortfolioRowSymbol(const std::string &symbol) {
  return !symbol.empty() && symbol != "-" && !SameText(symbol, "TOTAL") &&
         !SameText(symbol, "$CASH");
}

QAction *AddCommand(QMenu *menu, const char *name, const char *text) {
  QAction *action = menu->addAction(QString::fromUtf8(text));
  action->setObjectName(QString::fromUtf8(name));
  return action;
}

} // namespace

void TmForm::BuildCommandMenus() {
  QMenu *alerts = menuBar()->addMenu(QStringLiteral("&Alerts"));
  alerts->setObjectName(QStringLiteral("mnAlerts"));
  connect(AddCommand(alerts, "mnCreateAlert", "&Create Alert for Symbol..."), &QAction::triggered,
          this, [this] { PopAlertsAction('!'); });
  connect(AddCommand(alerts, "mnEditAlerts", "&Edit Alerts of Symbol..."), &QAction::triggered,
          this, [this] { PopAlertsAction('~'); });
  QAction *turnOff = AddCommand(alerts, "mnTurnOffAlerts", "&Turn Off Alerts of Symbol");
  connect(turnOff, &QAction::triggered, this, [this] { PopTurnOffAlertsClick(); });
  connect(alerts, &QMenu::aboutToShow, this, [this, turnOff] {
    const std::string symbol = FocusedSymbol();
    turnOff->setEnabled(!symbol.empty() && AlertSystem().HasActiveAlert(symbol));
  });
  alerts->addSeparator();
  connect(AddCommand(alerts, "mnAlertLog", "Alert &Log"), &QAction::triggered, this,
          [] { RunShowingErrors("AlertLog", [] { ShowAlertLogWindow(); }); });

  QMenu *windows = menuBar()->addMenu(QStringLiteral("&Windows"));
  windows->setObjectName(QStringLiteral("mnWindows"));
  connect(AddCommand(windows, "mnNews", "&News"), &QAction::triggered, this,
          [this] { PopSeeNewsClick(); });
  connect(AddCommand(windows, "mnWatchList", "&Watch List"), &QAction::triggered, this,
          [this] { ShowWatchList(); });
  connect(AddCommand(windows, "mnTicker", "&Ticker"), &QAction::triggered, this,
          [this] { ShowTicker(); });
  windows->addSeparator();
  connect(AddCommand(windows, "mnPreferences", "&Preferences..."), &QAction::triggered, this,
          [this] { OpenPreferences(); });

  // The pop-up is shared by the main grid and the watch list: its commands
  // act on the grid and row it was opened on.
  STPopup->addSeparator();
  connect(AddCommand(STPopup, "pmSeeNews", "See &News"), &QAction::triggered, this,
          [this] { OpenNewsFor(PopupSymbol()); });
  connect(AddCommand(STPopup, "pmCreateAlert", "&Create Alert..."), &QAction::triggered, this,
          [this] { AlertsActionFor('!', PopupSymbol()); });
  connect(AddCommand(STPopup, "pmEditAlerts", "&Edit Alerts..."), &QAction::triggered, this,
          [this] { AlertsActionFor('~', PopupSymbol()); });
}

std::string TmForm::FocusedSymbol() const {
  if (!StockGrid)
    return "";
  std::string symbol = StockGrid->HighlightTag > 0 ? StockGrid->HighlightSymbol : "";
  if (symbol.empty() && StockGrid->Row() >= 1)
    symbol = SymbolOfCell(StockGrid->Cells(0, StockGrid->Row()));
  return IsPortfolioRowSymbol(symbol) ? symbol : "";
}

TStockGrid *TmForm::PopupGrid() const {
  return GridPopupSource.Grid ? GridPopupSource.Grid : StockGrid;
}

std::string TmForm::PopupSymbol() const {
  if (!GridPopupSource.Grid)
    return FocusedSymbol();
  const std::string symbol = SymbolOfCell(GridPopupSource.Symbol);
  return IsPortfolioRowSymbol(symbol) ? symbol : "";
}

void TmForm::PopupRefreshClick() {
  RunShowingErrors("PopRefresh", [&] {
    if (m_watchForm && PopupGrid() == m_watchForm->StockGrid)
      m_watchForm->Refresh();
    else
      RefreshGrid();
  });
}

void TmForm::PopSeeNewsClick() { OpenNewsFor(FocusedSymbol()); }

void TmForm::OpenNewsFor(const std::string &symbol) {
  RunShowingErrors("PopSeeNews", [&] { OpenNewsWindow(symbol); });
}

void TmForm::PopAlertsAction(char action) { AlertsActionFor(action, FocusedSymbol()); }

void TmForm::AlertsActionFor(char action, const std::string &symbol) {
  RunShowingErrors("PopAlerts", [&] {
    if (symbol.empty())
      AlertEditRequest().Clear();
    else
      AlertEditRequest().Set(std::string(1, action) + symbol);
    OpenPreferences();
  });
}

void TmForm::PopTurnOffAlertsClick() {
  RunShowingErrors("TurnOffAlerts", [&] {
    const std::string symbol = FocusedSymbol();
    if (!symbol.empty())
      AlertSystem().TurnOffSymbolAlerts(symbol);
  });
}

void TmForm::OpenPreferences() {
  RunShowingErrors("Preferences", [&] { ShowPreferences(this); });
}

void TmForm::ShowWatchList() {
  RunShowingErrors("WatchList", [&] {
    if (!m_watchForm) {
      m_watchForm = new TwForm(lbFont, STPopup, nullptr);
      m_watchForm->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_watchForm->show();
    m_watchForm->raise();
    m_watchForm->activateWindow();
  });
}

void TmForm::ShowTicker() {
  RunShowingErrors("Ticker", [&] {
    if (!m_ticker) {
      m_ticker = new TfrmNewTick(nullptr);
      m_ticker->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_ticker->show();
    m_ticker->raise();
  });
}
