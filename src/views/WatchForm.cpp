#include "views/WatchForm.h"

#include "acquisition/UpdatedSymbols.h"
#include "core/ErrorReport.h"
#include "core/IniFile.h"
#include "core/SaveFailureReport.h"
#include "platform/StringUtils.h"
#include "views/ViewStore.h"
#include "views/stockgrid/AutoFitSetting.h"
#include "views/stockgrid/ColorScheme.h"
#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

namespace {
constexpr const char *kWatchSection = "Watch";
constexpr const char *kSymbolsKey = "Symbols";
constexpr int kInitialWidth = 760;
constexpr int kInitialHeight = 260;

const ColorScheme &ChosenScheme() {
  const int n = ValidSchemeNumber(CurrentSchemeNumber);
  return n >= 1 && n <= int(Schemes.size()) ? Schemes[std::size_t(n - 1)] : BuiltInScheme();
}
} // namespace

TwForm::TwForm(QLabel *fontLabel, QMenu *popup, QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("wForm"));
  setWindowTitle(QStringLiteral("Watch List"));
  // Room for a few symbols with the usual quote columns.
  resize(kInitialWidth, kInitialHeight);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  edSymbols = new QLineEdit(this);
  edSymbols->setObjectName(QStringLiteral("edSymbols"));
  edSymbols->setPlaceholderText(QStringLiteral("Symbols separated by blanks"));
  layout->addWidget(edSymbols);

  if (!fontLabel) {
    m_ownLabel = new QLabel(QStringLiteral("A"), this);
    m_ownLabel->hide();
    fontLabel = m_ownLabel;
  }
  StockGrid = new TStockGrid(this);
  StockGrid->setObjectName(QStringLiteral("StockGrid"));
  StockGrid->PortfolioIndex = 0;
  StockGrid->WatchMode = true;
  StockGrid->GridKind = gkWatchList;
  StockGrid->MeasureLabel = fontLabel;
  StockGrid->GridPopup = popup;
  StockGrid->View = &CurrentView;
  ApplyScheme();
  layout->addWidget(StockGrid, 1);
  m_autoFit = AutoFitOn(SettingsFile());

  const std::string text = UpperCase(SettingsFile().ReadString(kWatchSection, kSymbolsKey, ""));
  edSymbols->setText(QString::fromStdString(text));
  StockGrid->WatchSymbols = text;
  connect(edSymbols, &QLineEdit::editingFinished, this,
          [this] { SetWatchText(edSymbols->text().toStdString()); });

  Timer1 = new QTimer(this);
  Timer1->setInterval(TimerIntervalMs);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  Timer1->start();
}

TwForm::~TwForm() {
  // The line edit may report an edit while the window goes away.
  disconnect(edSymbols, nullptr, this, nullptr);
  Timer1->stop();
}

std::string TwForm::WatchText() const { return StockGrid->WatchSymbols; }

void TwForm::ApplyScheme() {
  StockGrid->SetColor(ChosenScheme().NoStripeRow);
  StockGrid->SetGridLineColor(ChosenScheme().InterLine);
  StockGrid->InvalidateGrid();
}

void TwForm::SetWatchText(const std::string &text) {
  const std::string clean = UpperCase(Trim(text));
  // The line shows the symbols as the list holds them.
  if (edSymbols->text().toStdString() != clean)
    edSymbols->setText(QString::fromStdString(clean));
  if (clean == StockGrid->WatchSymbols)
    return;
  StockGrid->WatchSymbols = clean;
  CheckSettingsSave(SettingsFile().WriteString(kWatchSection, kSymbolsKey, clean),
                    "the watch list");
  StockGrid->ResetRowCount = true;
  StockGrid->FitSymbolPending = true;
  Refresh();
}

std::string TwForm::GetWatchSymbols() {
  std::string list;
  StockGrid->GetWatchSymbols(list);
  return list;
}

void TwForm::Refresh() {
  GetWatchSymbols();
  StockGrid->Refresh(m_autoFit);
}

void TwForm::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (m_shownOnce)
    return;
  m_shownOnce = true;
  StockGrid->ApplyView(false);
  Refresh();
}

void TwForm::Timer1Timer() {
  try {
    std::string text;
    bool refresh = false;
    if (TakeUpdatedSymbols(usWatchList, text, "WATCH")) {
      for (const std::string &symbol : ParseUpdatedSymbols(text)) {
        for (int i = 0; i < StockGrid->Symbols.Count() && !refresh; ++i)
          refresh = SameText(StockGrid->Symbols[i], symbol);
      }
    }
    if (refresh)
      Refresh();
    StockGrid->RunWaitingFills();
    if (!StockGrid->FillRunning() && StockGrid->FitAllPending) {
      StockGrid->FitAllPending = false;
      StockGrid->AutoFitColumns();
    } else if (!StockGrid->FillRunning() && StockGrid->FitSymbolPending) {
      StockGrid->FitSymbolColumn();
      StockGrid->FitSymbolPending = false;
    }
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), "WatchTimer");
  }
}
