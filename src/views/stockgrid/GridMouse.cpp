// The quote grid's mouse and key handlers: the highlighted row (click, drag
// with the button held, arrow keys, first-letter jumps), charts and news
// windows opened from a row, the pop-up menu, and column dragging along the
// title row.
#include "alerts/news/NewsWindowOpener.h"
#include "charts/ChartWindow.h"
#include "core/ErrorReport.h"
#include "core/IniFile.h"
#include "core/SaveFailureReport.h"
#include "core/StringRoutines.h"
#include "platform/AsciiText.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"
#include "views/ViewStore.h"
#include "views/stockgrid/ColumnMove.h"
#include "views/stockgrid/GridDragObject.h"
#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <QCursor>
#include <cctype>
#include <cstdlib>
#include <exception>

namespace {

constexpr int kBulbHitWidth = 12; // right end of a symbol cell that opens its news
constexpr int kDragStartDx = 3;   // movement that starts a column drag
constexpr int kDragStartDy = 2;
constexpr std::size_t kSymbolMax = 15;

std::int64_t MonotonicNow() { return AppClock().MonotonicMs(); }

bool OpensNothing(const std::string &symbol) {
  return symbol.empty() || IsAllDashes(symbol) || symbol == "$CASH";
}

} // namespace

TGridTimings &GridTimings() {
  static TGridTimings timings;
  return timings;
}

// ---- Helpers -------------------------------------------------------------------------------

int TStockGrid::HighlightedRow() const {
  if (HighlightTag <= 0)
    return -1;
  const int rows = RowCount();
  for (int r = FixedRows(); r < rows; ++r)
    if (Objects(0, r) == HighlightTag)
      return r;
  return -1;
}

void TStockGrid::MoveHighlightTo(int row) {
  const int old = HighlightedRow();
  HighlightTag = int(Objects(0, row));
  HighlightSymbol = Trim(Cells(0, row)).substr(0, kSymbolMax);
  if (old >= 0)
    InvalidateRow(old);
  InvalidateRow(row);
  const int top = TopRow();
  const int visible = std::max(1, VisibleRowCount());
  if (row < top)
    SetTopRow(row);
  else if (row >= top + visible)
    SetTopRow(row - visible + 1);
}

bool TStockGrid::OpenRowNews(const std::string &symbol) {
  if (OpensNothing(symbol))
    return false;
  OpenNewsWindow(symbol);
  return true;
}

void TStockGrid::RepaintTitleRow() {
  for (int r = 0; r < FixedRows(); ++r)
    TStringGrid::InvalidateRow(r);
}

void TStockGrid::ShowSymbolChart(const std::string &Symbol) {
  if (Trim(Symbol).empty())
    return;
  ShowChartWindow(Trim(Symbol));
}

// ---- Mouse ---------------------------------------------------------------------------------

void TStockGrid::GridMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  MouseDownX = X;
  MouseDownY = Y;
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  MouseCol = col;
  MouseRow = row;
  const bool dataRow = row >= FixedRows() && row < RowCount();
  MouseOnBulb = col == 0 && row >= 0 && X >= CellRect(0, row).Right - kBulbHitWidth;

  if (MouseOnBulb && dataRow && View && View->BulbSingleClick && NewsRows.Get(GridKind, row)) {
    if (OpenRowNews(Trim(Cells(0, row))))
      return;
  }

  Sizing = IsSizing();
  const int oldRow = HighlightedRow();
  MouseDownRow = row;
  if (dataRow && col >= 0) {
    const int tag = int(Objects(0, row));
    if (tag == HighlightTag && tag > 0) {
      const bool afterDblClick =
          MonotonicNow() - LastDblClickMs <= GridTimings().HighlightToggleAfterDblClickMs;
      if (Button == mbLeft && !afterDblClick && !(Shift & ssDouble))
        HighlightSymbolOnly = !HighlightSymbolOnly;
    } else {
      HighlightTag = tag;
      HighlightSymbolOnly = false;
      HighlightSymbol = Trim(Cells(0, row)).substr(0, kSymbolMax);
    }
  }
  if (oldRow >= 0)
    InvalidateRow(oldRow);
  if (row >= 0)
    InvalidateRow(row);

  LastClickedGrid = this;
  if (OnGridMouseDown)
    OnGridMouseDown(this, Button, Shift, X, Y);
  if (Button == mbRight && GridPopup) {
    GridPopupSource.Grid = this;
    GridPopupSource.Symbol = dataRow && col >= 0 ? Trim(Cells(0, row)).substr(0, kSymbolMax) : "";
    GridPopup->popup(QCursor::pos());
  }
}

void TStockGrid::GridDblClick() {
  HighlightSymbolOnly = false;
  LastDblClick = AppClock().Now();
  LastDblClickMs = MonotonicNow();
  // Only a double click on a data row opens anything.
  if (MouseDownRow < FixedRows() || MouseDownRow >= RowCount())
    return;
  const std::string symbol = Trim(HighlightSymbol);
  if (OpensNothing(symbol))
    return;
  if (symbol == "TOTAL") {
    ShowSymbolChart(PortfolioKey);
    return;
  }
  if (MouseOnBulb && View && !View->BulbSingleClick && NewsRows.Get(GridKind, MouseDownRow))
    OpenRowNews(symbol);
  else
    ShowSymbolChart(symbol);
}

void TStockGrid::GridMouseMove(TShiftState Shift, int X, int Y) {
  if (IsSizing())
    Sizing = true;
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  const bool dragging = TDragManager::Instance().Dragging();

  if ((Shift & ssLeft) && !dragging && !Sizing && row == 0 && row < FixedRows() && col >= 1 &&
      col == MouseCol && row == MouseRow &&
      (std::abs(X - MouseDownX) >= kDragStartDx || std::abs(Y - MouseDownY) >= kDragStartDy)) {
    DragCol = col;
    const std::int64_t now = MonotonicNow();
    const bool mayBegin = now - LastDragMs > GridTimings().DragClickGapMs;
    if (GridDebugTracing()) {
      // With the seconds since the last drag, when there was one.
      const bool earlier = LastDragMs > INT64_MIN / 2;
      ShowStatusMsg(mayBegin && earlier
                        ? "BeginDrag " + FormatFloat("0.0", double(now - LastDragMs) / 1000)
                        : std::string("BeginDrag"));
    }
    LastDragTime = AppClock().Now();
    LastDragMs = now;
    if (mayBegin) {
      DragSourceGrid = this;
      try {
        BeginDrag(true);
      } catch (const std::exception &e) {
        ShowErrorReport(std::string(TDragManager::Instance().Dragging() ? "D" : "ND") + e.what(),
                        "TGBeginDrag");
      }
    }
    return;
  }
  if (dragging)
    return;

  const bool dataRow = row >= FixedRows() && row < RowCount();
  if (dataRow && (Shift & ssLeft)) {
    const int tag = int(Objects(0, row));
    const int old = HighlightedRow();
    if (old >= 0)
      InvalidateRow(old);
    if (tag != HighlightTag) {
      HighlightTag = tag;
      HighlightSymbolOnly = false;
      HighlightSymbol = Trim(Cells(0, row)).substr(0, kSymbolMax);
    }
    InvalidateRow(row);
  } else if (dataRow && !(Shift & (ssLeft | ssRight | ssMiddle))) {
    const bool overBulb =
        col == 0 && X >= CellRect(0, row).Right - kBulbHitWidth && NewsRows.Get(GridKind, row);
    if (overBulb)
      viewport()->setCursor(Qt::PointingHandCursor);
    else if (viewport()->cursor().shape() == Qt::PointingHandCursor)
      viewport()->unsetCursor();
  }
}

// ---- Keys ----------------------------------------------------------------------------------

void TStockGrid::GridKeyDown(int &Key, TShiftState Shift) {
  if (Key == VK_RETURN) {
    Key = 0;
    const int row = HighlightedRow();
    if (row < 0)
      return;
    const std::string symbol = Trim(Cells(0, row));
    if (symbol == "TOTAL")
      ShowSymbolChart(PortfolioKey);
    else if (!OpensNothing(symbol))
      ShowSymbolChart(symbol);
    return;
  }
  if (Key == VK_UP || Key == VK_DOWN) {
    const int up = Key == VK_UP;
    Key = 0;
    const int row = HighlightedRow();
    if (HighlightTag <= 0 || row < 0)
      return;
    const int next = up ? row - 1 : row + 1;
    if (next < FixedRows() || next >= RowCount())
      return;
    MoveHighlightTo(next);
    return;
  }
  const bool letter = (Key >= 'A' && Key <= 'Z') || (Key >= 'a' && Key <= 'z');
  if (letter && !(Shift & (ssAlt | ssCtrl))) {
    const char wanted = char(AsciiUpper(Key));
    Key = 0;
    const int first = FixedRows();
    const int rows = RowCount();
    const int count = rows - first;
    if (count <= 0)
      return;
    const int start = std::max(HighlightedRow(), first - 1);
    // One round: every row once, starting after the highlighted one.
    for (int step = 1; step <= count; ++step) {
      const int r = first + (start - first + step) % count;
      const std::string symbol = TrimLeft(Cells(0, r));
      if (!symbol.empty() && AsciiUpper(symbol[0]) == wanted) {
        if (r != HighlightedRow())
          MoveHighlightTo(r);
        return;
      }
    }
  }
}

void TStockGrid::GridTopLeftChanged() {
  if (LeftCol() != LastLeftCol) {
    LastLeftCol = LeftCol();
    InvalidateGrid();
  }
}

// ---- Column dragging -------------------------------------------------------------------------

void TStockGrid::GridStartDrag(std::unique_ptr<TDragObject> &Object) {
  auto object = std::make_unique<SGridCellDragObject>(this, DragCol, GridKind);
  DragObject = object.get();
  Object = std::move(object);
}

void TStockGrid::GridDragOver(TDragObject &Source, int X, int Y, TDragState State, bool &Accept) {
  auto *cell = dynamic_cast<SGridCellDragObject *>(&Source);
  Accept = cell && cell->GridKindText == std::to_string(GridKind);
  if (!Accept)
    return;
  if (State == dsDragLeave) {
    DropCol = -1;
    HideDragImage = false;
    RepaintTitleRow();
    return;
  }
  const int dragCol = cell->DragCol;
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  if (c < 0)
    c = ColCount() - 1; // right of the last column counts as the last column
  if (c == dragCol)
    DropCol = c;
  else if (c == 0)
    DropCol = LeftCol();
  else if (dragCol > c)
    DropCol = c;
  else
    DropCol = c + 1;
  HideDragImage = c == dragCol;
  RepaintTitleRow();
  ProcessPendingRepaints();
}

void TStockGrid::GridDragDrop(TDragObject &Source, int X, int Y) {
  (void)X, (void)Y;
  auto *cell = dynamic_cast<SGridCellDragObject *>(&Source);
  if (!cell && !dynamic_cast<TStringGrid *>(Source.Control()))
    return;
  if (DropCol == -1)
    return;
  TStockGrid *source = cell ? cell->SourceGrid() : DragSourceGrid;
  if (!source)
    return;
  const int dragCol = cell ? cell->DragCol : DragCol;
  const int dropCol = DropCol;
  try {
    if (!source->MoveColumn(dragCol, dropCol))
      return;
    std::vector<int> widths;
    for (int c = 0; c < source->ColCount(); ++c)
      widths.push_back(source->ColWidths(c));
    CarryColumnWidths(widths, dragCol, dropCol);
    for (int c = 0; c < int(widths.size()); ++c)
      if (source->ColWidths(c) != widths[std::size_t(c)])
        source->SetColWidths(c, widths[std::size_t(c)]);
    for (int f = 0; f < GridFieldCount; ++f) {
      const int c = source->ColPos[f];
      if (c >= 0 && c < int(widths.size()))
        source->ColWidth[f] = widths[std::size_t(c)];
    }
    if (source->View) {
      const int index = ViewNameList.IndexOf(source->View->Name);
      if (index >= 0) {
        StoreColumnView(*source->View, index, source->View->Name);
        CheckSettingsSave(SaveColumnViews(SettingsFile()), "the views");
      }
    }
    source->InvalidateGrid();
    source->ShowStocks("");
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), "MoveColumn");
  }
}

void TStockGrid::GridEndDrag(QWidget *Target, int X, int Y) {
  (void)Target, (void)X, (void)Y;
  DropCol = -1;
  HideDragImage = false;
  RepaintTitleRow();
  DragObject = nullptr; // the drag manager frees it
}

bool TStockGrid::MoveColumn(int FromCol, int ToCol) {
  try {
    if (!View || FromCol < 1 || ToCol < 1)
      return false;
    const int source = FieldAtColumn(ColPos, FromCol);
    int target = FieldAtColumn(ColPos, ToCol);
    const bool targetInDropColumn = target >= 0;
    if (!targetInDropColumn)
      target = FieldAtColumn(ColPos, ToCol - 1);
    if (source < 0 || target < 0)
      return false;
    if (!MoveViewField(View->FieldCol, source, target, targetInDropColumn))
      return false;
    LoadColumnMap();
    return true;
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), "MoveColumn");
    return false;
  }
}
