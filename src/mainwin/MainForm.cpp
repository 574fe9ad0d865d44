#include "mainwin/MainForm.h"

#include "acquisition/QuoteIntake.h"
#include "acquisition/UpdatedSymbols.h"
#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/Portfolio.h"
#include "core/SaveFailureReport.h"
#include "core/StockStore.h"
#include "mainwin/ProgramServices.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"
#include "views/ViewStore.h"
#include "views/WatchForm.h"
#include "views/stockgrid/AutoFitSetting.h"
#include "views/stockgrid/CellTextsFormat.h"
#include "views/stockgrid/ColorScheme.h"
#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <unordered_set>

TmForm::TmForm(QWidget *parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("mForm"));
  setWindowTitle(QStringLiteral("Tickvane"));

  InitStockGridUnit();
  // Settings the grid paints and lays out with.
  LoadColorSchemes();
  SelectColorSchemeFromSettings(SettingsFile());
  LoadDisplaySettings();
  LoadColumnViews(SettingsFile());
  m_autoFit = AutoFitOn(SettingsFile());

  auto *central = new QWidget(this);
  auto *layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  auto *bar = new QHBoxLayout;
  auto *label = new QLabel(QStringLiteral("Portfolio:"), central);
  cbPortfolio = new QComboBox(central);
  cbPortfolio->setObjectName(QStringLiteral("cbPortfolio"));
  cbPortfolio->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  label->setBuddy(cbPortfolio);
  bar->addWidget(label);
  bar->addWidget(cbPortfolio);
  bar->addStretch(1);
  layout->addLayout(bar);

  GridPanel = new QWidget(central);
  GridPanel->setObjectName(QStringLiteral("GridPanel"));
  auto *panelLayout = new QVBoxLayout(GridPanel);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(GridPanel, 1);
  setCentralWidget(central);

  lbFont = new QLabel(QStringLiteral("A"), this);
  lbFont->setObjectName(QStringLiteral("lbFont"));
  lbFont->hide();
  STPopup = new QMenu(this);
  STPopup->setObjectName(QStringLiteral("STPopup"));
  QAction *refresh = STPopup->addAction(QStringLiteral("Refresh"));
  refresh->setObjectName(QStringLiteral("pmRefresh"));
  connect(refresh, &QAction::triggered, this, [this] { PopupRefreshClick(); });

  // The grid: hidden until set up, in the grid panel's whole client area.
  StockGrid = new TStockGrid(GridPanel);
  StockGrid->setObjectName(QStringLiteral("StockGrid"));
  StockGrid->hide();
  panelLayout->addWidget(StockGrid);
  StockGrid->MeasureLabel = lbFont;
  StockGrid->GridKind = gkMainGrid;
  StockGrid->GridPopup = STPopup;
  StockGrid->View = &CurrentView;
  StockGrid->OnGridMouseDown = [this](TStockGrid *, TMouseButton, TShiftState, int X, int Y) {
    GridMouseDown(X, Y);
  };
  // The area below the rows takes the scheme's row colour, as the watch list's does.
  StockGrid->SetColor(CurrentScheme.NoStripeRow);
  StockGrid->SetGridLineColor(CurrentScheme.InterLine);
  StockGrid->show();

  BuildMenus();
  BuildCommandMenus();
  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  lbTotal = new QLabel(statusBar());
  lbTotal->setObjectName(QStringLiteral("lbTotal"));
  statusBar()->addPermanentWidget(lbTotal);
  // Status messages of any thread, time-stamped, on the status line.
  SetStatusMsgHook([this](const std::string &message) {
    const QString text =
        QString::fromStdString(FormatDateTime("hh:nn:ss", AppClock().Now()) + " " + message);
    QMetaObject::invokeMethod(
        this, [this, text] { statusBar()->showMessage(text); }, Qt::QueuedConnection);
  });

  Timer2 = new QTimer(this);
  Timer2->setObjectName(QStringLiteral("Timer2"));
  Timer2->setInterval(HeartbeatIntervalMs);
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
  Timer2->start();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(RefreshIntervalMs());
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  Timer1->start();

  connect(cbPortfolio, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!m_filling)
      ShowPortfolio(i + 1);
  });
  // The quotes of quotes.csv are there for the first fill, not only after
  // the first refresh interval.
  RunShowingErrors("FormCreate", [] { AppQuoteIntake().Refresh(); });
  FillPortfolioChoices();
}

TmForm::~TmForm() {
  SetStatusMsgHook(nullptr);
  disconnect(cbPortfolio, nullptr, this, nullptr);
  Timer1->stop();
  Timer2->stop();
  if (m_services)
    m_services->Stop();
}

void TmForm::StartServices() {
  if (m_services)
    return;
  m_services = std::make_unique<TProgramServices>(TProgramServices::Hooks{
      // Not from inside the heartbeat's own handler: the dialog runs a modal loop.
      [this] { QTimer::singleShot(0, this, [this] { OpenPreferences(); }); },
      [this](int index) {
        m_filling = true;
        cbPortfolio->setCurrentIndex(index - 1);
        m_filling = false;
        ShowPortfolio(index);
      }});
  m_services->Start();
  AddHeartbeatHook([this] { m_services->Heartbeat(); });
}

void TmForm::closeEvent(QCloseEvent *event) {
  Timer1->stop();
  if (m_services)
    m_services->Stop();
  BackupSettingsFile();
  QMainWindow::closeEvent(event);
  // The watch list, ticker, news and log windows are top-level windows of
  // their own: closing the main window ends the program all the same.
  if (event->isAccepted())
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TmForm::BuildMenus() {
  QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);

  mnView = menuBar()->addMenu(QStringLiteral("&View"));
  mnView->setObjectName(QStringLiteral("mnView"));
  auto *views = new QActionGroup(mnView);
  for (int i = 0; i < ViewNameList.Count(); ++i) {
    QAction *a = mnView->addAction(QString::fromStdString(ViewNameList[i]));
    a->setCheckable(true);
    a->setChecked(ViewNameList[i] == CurrentView.Name);
    views->addAction(a);
    connect(a, &QAction::triggered, this, [this, i] { SelectViewIndex(i); });
  }

  mnScheme = menuBar()->addMenu(QStringLiteral("&Scheme"));
  mnScheme->setObjectName(QStringLiteral("mnScheme"));
  auto *schemes = new QActionGroup(mnScheme);
  for (int n = 1; n <= SchemeCount; ++n) {
    QAction *a = mnScheme->addAction(QString::fromStdString(Schemes[std::size_t(n - 1)].Name));
    a->setCheckable(true);
    a->setChecked(n == CurrentSchemeNumber);
    schemes->addAction(a);
    connect(a, &QAction::triggered, this, [this, n] { SelectScheme(n); });
  }
}

void TmForm::showEvent(QShowEvent *event) {
  QMainWindow::showEvent(event);
  if (m_shownOnce)
    return;
  m_shownOnce = true;
  RunShowingErrors("FormShow", [&] { StartServices(); });
  RunShowingErrors("FormShow", [&] {
    StockGrid->ApplyView(false);
    RefreshGrid();
  });
}

// ---- Portfolio choice ------------------------------------------------------------------

void TmForm::FillPortfolioChoices() {
  std::vector<std::string> names;
  {
    MyLockGuard port(PortListLock, "MPCH", true);
    if (!port.Owns())
      return;
    for (int i = 1; i <= PortfolioList.Count(); ++i)
      names.push_back(PortfolioList.DisplayName(i));
  }
  int current = CurrentPortfolio.load();
  if (current < 1 || current > int(names.size()))
    current = names.empty() ? 0 : 1;

  m_filling = true;
  cbPortfolio->clear();
  for (const std::string &name : names)
    cbPortfolio->addItem(QString::fromStdString(name));
  cbPortfolio->setCurrentIndex(current - 1);
  m_filling = false;
  ShowPortfolio(current);
}

void TmForm::ShowPortfolio(int index) {
  RunShowingErrors("ShowPortfolio", [&] {
    const int shownCurrent = CurrentPortfolio.load();
    const int shownIndex = StockGrid->PortfolioIndex;
    CurrentPortfolio.store(index);
    StockGrid->PortfolioIndex = index >= 1 ? index : -1;
    std::string list;
    if (!StockGrid->GetPortfolioSymbols(list)) {
      // The portfolio list stayed busy: the shown portfolio stays whole (its
      // rows with its totals), and the heartbeat asks again.
      CurrentPortfolio.store(shownCurrent);
      StockGrid->PortfolioIndex = shownIndex;
      m_pendingPortfolio = index;
      return;
    }
    m_pendingPortfolio.reset();
    StockGrid->ResetRowCount = true;
    StockGrid->HighlightTag = 0;
    StockGrid->FitSymbolPending = true;
    // The sort stays with the window: the new portfolio's rows start in list
    // order and are sorted by the same column once their texts are in.
    const int kind = StockGrid->GridKind;
    StockGrid->RowOrder.clear();
    if (SavedSortCol.Get(kind) >= 0 && StockGrid->SortCol < 0) {
      StockGrid->SortCol = SavedSortCol.Get(kind);
      StockGrid->SortDown = SavedSortDown.Get(kind);
    }
    StockGrid->RowsSorted = StockGrid->SortCol >= 0;
    RefreshGrid();
  });
}

void TmForm::RefreshGrid() { StockGrid->Refresh(m_autoFit); }

bool TmForm::RefreshPending() const { return StockGrid->RefreshPending(); }

void TmForm::SelectScheme(int number) {
  bool saved = false;
  ChooseColorScheme(number, SettingsFile(), &saved);
  StockGrid->SetColor(CurrentScheme.NoStripeRow);
  StockGrid->SetGridLineColor(CurrentScheme.InterLine);
  StockGrid->InvalidateGrid();
  if (m_watchForm)
    m_watchForm->ApplyScheme();
  CheckSettingsSave(saved, "the colour scheme");
}

void TmForm::SelectViewIndex(int index) {
  if (!SelectView(index))
    return;
  StockGrid->ApplyView(true);
  RefreshGrid();
}

// ---- Timers ---------------------------------------------------------------------------------

void TmForm::Timer2Timer() {
  // A portfolio chosen while the portfolio list was busy.
  if (m_pendingPortfolio)
    ShowPortfolio(*m_pendingPortfolio);
  RunShowingErrors("Timer2Timer", [&] {
    GridNow = EasternNow();
    m_updatedPortfolios.clear();
    // Every fill since the last heartbeat announced its portfolio: each once.
    for (std::string &key : TakeUpdatedPortfolios())
      if (std::find(m_updatedPortfolios.begin(), m_updatedPortfolios.end(), key) ==
          m_updatedPortfolios.end())
        m_updatedPortfolios.push_back(std::move(key));
    if (!m_updatedPortfolios.empty())
      ShowPortfolioTotals(m_updatedPortfolios);
    StockGrid->RunWaitingFills();
    if (!StockGrid->FillRunning()) {
      if (StockGrid->FitAllPending) {
        StockGrid->FitAllPending = false;
        StockGrid->AutoFitColumns();
      }
      if (StockGrid->FitSymbolPending) {
        StockGrid->FitSymbolColumn();
        StockGrid->FitSymbolPending = false;
      }
    }
  });
  for (const auto &hook : m_heartbeatHooks)
    RunShowingErrors("Timer2Timer", hook);
  // An alert turned on or off by a hook marked its symbol updated: the row
  // shows its new colours within this heartbeat, not at the next refresh.
  RunShowingErrors("Timer2Timer", [&] { RefreshUpdatedSymbols(); });
}

void TmForm::Timer1Timer() {
  const std::int64_t started = AppClock().MonotonicMs();
  std::size_t quotes = 0;
  RunShowingErrors("Timer1Timer", [&] {
    quotes = AppQuoteIntake().Refresh().size(); // quotes.csv, and the demo moves
    RefreshUpdatedSymbols();
  });
  // The window does not answer while a refresh runs; say so when it is long.
  const std::int64_t took = AppClock().MonotonicMs() - started;
  if (took > RefreshStallLogMs && LoggingOn)
    WriteLog("Timer1Timer stall: the refresh held the window " + std::to_string(took) +
                 " ms (" + std::to_string(quotes) + " quotes)",
             0);
}

void TmForm::RefreshUpdatedSymbols() {
  std::string text;
  if (!TakeUpdatedSymbols(usMainGrid, text, "MAIN"))
    return; // the set is kept for the next tick
  bool refresh = false;
  const std::vector<std::string> updated = ParseUpdatedSymbols(text);
  if (!updated.empty()) {
    std::unordered_set<std::string> shown;
    for (int i = 0; i < StockGrid->Symbols.Count(); ++i)
      shown.insert(UpperCase(StockGrid->Symbols[i]));
    for (const std::string &symbol : updated)
      if (shown.count(UpperCase(symbol))) {
        refresh = true;
        break;
      }
  }
  // A full pass: the portfolio's totals change with any of its symbols.
  if (refresh) {
    StockGrid->FitSymbolPending = true;
    RefreshGrid();
  }
}

void TmForm::AddHeartbeatHook(std::function<void()> hook) {
  if (hook)
    m_heartbeatHooks.push_back(std::move(hook));
}

void TmForm::ShowPortfolioTotals(const std::vector<std::string> &keys) {
  std::string text;
  MyLockGuard port(PortListLock, "MTOT", true);
  if (!port.Owns())
    return;
  for (const std::string &key : keys) {
    const PortType *portfolio = PortfolioList.At(PortfolioList.IndexOfKey(key));
    if (!portfolio)
      continue;
    if (!text.empty())
      text += "   ";
    text += portfolio->Name + " " + WholeNumberText(portfolio->Value[0]) + " (" +
            SignedText(WholeNumberText(portfolio->ValueChange[0])) + ")";
  }
  port.Unlock();
  lbTotal->setText(QString::fromStdString(text));
}

void TmForm::GridMouseDown(int X, int Y) {
  (void)X, (void)Y;
  // The grid remembers the cell; nothing of the window depends on it yet.
}
