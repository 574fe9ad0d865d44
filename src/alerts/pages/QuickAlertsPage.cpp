#include "alerts/pages/QuickAlertsPage.h"

#include "alerts/AlertFile.h"
#include "alerts/AlertsModule.h"
#include "alerts/pages/QuickAlertsPageDrawing.h"
#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "platform/Prompt.h"
#include "views/StringAlignGrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace {

template <class F> void Guard(const char *where, F &&f) {
  try {
    f();
  } catch (const std::exception &e) {
    WriteLog(std::string(where) + " Error: " + e.what());
    MessageDlg(std::string(where) + ": " + e.what(), "Quick Alerts", mtError, mbOK);
  } catch (...) {
    WriteLog(std::string(where) + " Error: unknown exception");
  }
}

bool IsLimitColumn(int col) {
  return col == QuickColLow || col == QuickColHigh || col == QuickColVolume;
}

} // namespace

int &TOQuickAlerts::ShownPortfolio() {
  static int shown = -1;
  return shown;
}

TOQuickAlerts::TOQuickAlerts(QWidget *parent) : TOptionPage(parent) {
  setObjectName(QStringLiteral("OQuickAlerts"));
  BuildControls();
}

TOQuickAlerts::~TOQuickAlerts() {
  // The grid outlives this object's members by a moment; it must not call back.
  tbAlerts->OnBeforeEdit = nullptr;
  tbAlerts->OnAfterEdit = nullptr;
  tbAlerts->OnSetEditText = nullptr;
  tbAlerts->OnMouseDown = nullptr;
  tbAlerts->OnDrawCell = nullptr;
  tbAlerts->OnTopLeftChanged = nullptr;
}

void TOQuickAlerts::BuildControls() {
  auto *page = new QHBoxLayout(this);

  auto *left = new QVBoxLayout();
  auto *portsLabel = new QLabel(QStringLiteral("Choose a portfolio,\nor All Stocks:"), this);
  lbPorts = new QListWidget(this);
  lbPorts->setObjectName(QStringLiteral("lbPorts"));
  portsLabel->setBuddy(lbPorts);
  left->addWidget(portsLabel);
  left->addWidget(lbPorts, 1);
  lbPorts->setFixedWidth(lbPorts->fontMetrics().horizontalAdvance(QStringLiteral("W")) * 14);
  page->addLayout(left);

  auto *right = new QVBoxLayout();
  auto *gridLabel = new QLabel(QStringLiteral("Alerts:"), this);
  tbAlerts = new TStringAlignGrid(this);
  tbAlerts->setObjectName(QStringLiteral("tbAlerts"));
  gridLabel->setBuddy(tbAlerts);
  right->addWidget(gridLabel);
  right->addWidget(tbAlerts, 1);
  page->addLayout(right, 1);

  connect(lbPorts, &QListWidget::currentRowChanged, this, [this] { lbPortsClick(); });
  tbAlerts->OnBeforeEdit = [this](int c, int r) { tbAlertsBeforeEdit(c, r); };
  tbAlerts->OnAfterEdit = [this](int c, int r) { tbAlertsAfterEdit(c, r); };
  tbAlerts->OnSetEditText = [this](int c, int r, const std::string &v) {
    tbAlertsSetEditText(c, r, v);
  };
  tbAlerts->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) {
    tbAlertsMouseDown(b, s, x, y);
  };
  tbAlerts->OnDrawCell = [this](int c, int r, const TRect &rect, TGridDrawState state) {
    tbAlertsDrawCell(c, r, rect, state);
  };
  tbAlerts->OnTopLeftChanged = [this] { tbAlertsTopLeftChanged(); };
}

void TOQuickAlerts::SetUpGrid() {
  TStringAlignGrid *g = tbAlerts;
  g->SetColCount(QuickColCount);
  g->SetFixedCols(1);
  g->SetFixedRows(1);
  g->SetDefaultRowHeight(GridRowHeight);
  g->SetDefaultDrawing(false);
  g->SetColSizing(false);
  g->SetEditing(true);
  g->SetAlwaysShowEditor(true);
  g->SetTabs(true);
  g->SetStopAtLastCell(true);
  g->SetSelectedColor(clBlue);
  g->SetSelectedFontColor(clYellow);
  for (int col : {QuickColLow, QuickColHigh, QuickColVolume})
    g->SetColAlignment(col, caRight);
  for (int col = 0; col < QuickColCount; ++col)
    g->SetCells(col, 0, TQuickAlertsModel::Headers[col]);
  SizeColumns();
}

void TOQuickAlerts::SizeColumns() {
  TCanvas &c = tbAlerts->Canvas();
  c.Font() = tbAlerts->Font();
  const TQuickAlertsModel::TWidths w = TQuickAlertsModel::ColumnWidths(
      tbAlerts->width(), c.TextWidth("WWWWW W"), c.TextWidth("News "));
  tbAlerts->SetColWidths(QuickColSymbol, w.Symbol);
  tbAlerts->SetColWidths(QuickColLow, w.Low);
  tbAlerts->SetColWidths(QuickColHigh, w.High);
  tbAlerts->SetColWidths(QuickColNews, w.News);
  tbAlerts->SetColWidths(QuickColVolume, w.Volume);
}

void TOQuickAlerts::resizeEvent(QResizeEvent *event) {
  TOptionPage::resizeEvent(event);
  if (tbAlerts->ColCount() == QuickColCount)
    SizeColumns();
}

// ---- Showing and closing -----------------------------------------------------------

void TOQuickAlerts::FormShow() {
  tbAlerts->SetEditCol(QuickColNews, false);
  tbAlerts->SetTabStops(QuickColNews, false);
  {
    const QSignalBlocker quiet(lbPorts);
    lbPorts->clear();
    for (const std::string &entry : TQuickAlertsModel::PortfolioEntries())
      lbPorts->addItem(QString::fromStdString(entry));
  }
  SetUpGrid();
  m_lastEditCol = -1;
  m_lastEditRow = -1;

  int entry = ShownPortfolio() < 0 ? 1 : ShownPortfolio();
  ShownPortfolio() = -1;
  // Without portfolios (or when the remembered one is gone) all stocks are shown.
  if (entry >= lbPorts->count())
    entry = 0;
  {
    const QSignalBlocker quiet(lbPorts);
    lbPorts->setCurrentRow(entry);
  }
  lbPortsClick();
}

void TOQuickAlerts::FormClose() {
  Guard("QuickAlerts FormClose", [&] {
    if (tbAlerts->EditorMode())
      tbAlerts->CommitEdit();
    if (m_pending.Col >= 0) {
      tbAlerts->SetCells(m_pending.Col, m_pending.Row, m_pending.Text);
      m_pending = {};
    }
    if (ShownPortfolio() >= 0)
      SaveQuickAlerts();
  });
  SaveAlertFileReporting(AlertSystem(), ProgramFolder() + AlertFileName);
}

// ---- Portfolios --------------------------------------------------------------------------

void TOQuickAlerts::lbPortsClick() {
  const int entry = lbPorts->currentRow();
  if (entry < 0)
    return;
  Guard("QuickAlerts", [&] {
    if (tbAlerts->EditorMode())
      tbAlerts->CommitEdit();
    if (ShownPortfolio() >= 0)
      SaveQuickAlerts();
    ShownPortfolio() = entry;
    FillGrid(entry);
  });
}

void TOQuickAlerts::FillGrid(int entry) {
  m_pending = {};
  m_model.Fill(AlertSystem(), TQuickAlertsModel::CollectSymbols(entry));
  const int rows = m_model.Count();
  tbAlerts->BeginBatch();
  tbAlerts->SetRowCount(rows + 1);
  for (int r = 0; r < rows; ++r) {
    const TQuickAlertRow &row = m_model.Rows()[std::size_t(r)];
    for (int col = 0; col < QuickColCount; ++col)
      tbAlerts->SetCells(col, r + 1, row.Shown[std::size_t(col)]);
  }
  // A portfolio without stocks keeps one blank row, which takes no input.
  if (rows == 0)
    for (int col = 0; col < QuickColCount; ++col)
      tbAlerts->SetCells(col, 1, "");
  tbAlerts->SetEditing(rows > 0);
  tbAlerts->EndBatch();
  tbAlerts->ProcessPendingRepaints();
  tbAlerts->SetTopRow(1);
  tbAlerts->SetRow(1);
  tbAlerts->SetCol(QuickColLow);
}

bool TOQuickAlerts::SaveQuickAlerts() {
  std::vector<TQuickAlertTexts> texts(std::size_t(m_model.Count()));
  for (int r = 0; r < m_model.Count(); ++r)
    for (int col = 0; col < QuickColCount; ++col)
      texts[std::size_t(r)][std::size_t(col)] = tbAlerts->Cells(col, r + 1);
  m_model.Save(AlertSystem(), texts);
  return true;
}

// ---- Grid events ---------------------------------------------------------------------------

void TOQuickAlerts::tbAlertsBeforeEdit(int ACol, int ARow) {
  if (ACol == QuickColNews)
    return;
  m_lastEditCol = ACol;
  m_lastEditRow = ARow;
}

void TOQuickAlerts::tbAlertsAfterEdit(int ACol, int ARow) {
  if (ACol == QuickColNews)
    return;
  m_pending = {};
  tbAlerts->SetCells(ACol, ARow,
                     TQuickAlertsModel::NormalizeEdit(ACol, tbAlerts->Cells(ACol, ARow)));
}

void TOQuickAlerts::tbAlertsSetEditText(int ACol, int ARow, const std::string &Value) {
  m_pending.Text = Value;
  m_pending.Col = ACol;
  m_pending.Row = ARow;
}

void TOQuickAlerts::tbAlertsMouseDown(TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft || m_model.Count() == 0)
    return;
  int col = -1, row = -1;
  tbAlerts->MouseToCell(X, Y, col, row);
  if (row < 1 || row >= tbAlerts->RowCount())
    return;
  if (col == QuickColNews) {
    const bool on = tbAlerts->Cells(col, row) == TQuickAlertsModel::NewsYes;
    tbAlerts->SetCells(col, row, on ? "" : TQuickAlertsModel::NewsYes);
    if (IsLimitColumn(m_lastEditCol))
      tbAlerts->SetCol(m_lastEditCol);
  } else if (col > 0) {
    tbAlerts->SetCol(col);
    tbAlerts->SetRow(row);
    tbAlerts->ShowEditor();
  }
}

void TOQuickAlerts::tbAlertsDrawCell(int ACol, int ARow, const TRect &Rect, TGridDrawState State) {
  TQuickCellColors colors;
  colors.Selected = tbAlerts->SelectedColor();
  colors.SelectedText = tbAlerts->SelectedFontColor();
  DrawQuickAlertCell(tbAlerts->Canvas(), ACol, ARow, Rect, tbAlerts->Cells(ACol, ARow), State,
                     colors);
}

void TOQuickAlerts::tbAlertsTopLeftChanged() {
  const int top = tbAlerts->TopRow();
  const int last = top + std::max(1, tbAlerts->VisibleRowCount()) - 1;
  if (tbAlerts->Row() < top)
    tbAlerts->SetRow(top);
  else if (tbAlerts->Row() > last)
    tbAlerts->SetRow(last);
}
