// Sorting the quote grid's rows: the display order is computed from the
// sort column's texts, group by group between separator rows, and a fill
// writes the rows in that order. A click on a column title sorts by it; a
// refresh sorts again once its own fill has ended. The texts sort the rows
// only when a finished fill wrote them for the list, order and columns the
// grid has now.
#include "core/ErrorReport.h"
#include "platform/Clock.h"
#include "platform/StringUtils.h"
#include "views/stockgrid/GridFill.h"
#include "views/stockgrid/RowSorting.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <exception>
#include <numeric>

namespace {

class ScopedFlag {
public:
  explicit ScopedFlag(bool &flag) : m_flag(flag) { m_flag = true; }
  ~ScopedFlag() { m_flag = false; }

private:
  bool &m_flag;
};

} // namespace

void TStockGrid::SortRows(int Column, bool Force, bool Reset) {
  // A sort asked for from inside this one does nothing.
  if (m_sorting)
    return;
  ScopedFlag sorting(m_sorting);
  try {
    if (Column == -1) {
      ShowStocks("");
      return;
    }
    auto lastDataRow = [this] {
      int last = RowCount() - 1;
      if (last >= FixedRows() && Trim(Cells(0, last)) == "TOTAL")
        --last;
      return last;
    };
    const int entries = Symbols.Count();
    if (!RowsSorted || Reset) {
      RowOrder.resize(std::size_t(entries));
      std::iota(RowOrder.begin(), RowOrder.end(), 1);
      RowsSorted = true;
    }
    if (Force || lastDataRow() != entries) {
      // A fill asked for earlier may write another layout's texts: the
      // sort reads the texts of a fill of its own. The window goes on while
      // it runs; the rows are sorted when it has ended (ResortIfDue).
      m_resortWaiting = m_resortWaiting || Column == SortCol;
      ShowStocks("");
      return;
    }
    const int field = FieldAtColumn(ColPos, Column);
    if (field < 0 || SortKindOf(field) == TSortKind::None) {
      ShowStocks("");
      return;
    }
    if (!CellsShowCurrentRows()) {
      // The cells hold texts of other rows, or a fill is still writing
      // them: the rows are sorted once a finished fill has written them.
      m_resortWaiting = m_resortWaiting || Column == SortCol;
      ShowStocks("");
      return;
    }
    // Only rows that hold entries take part.
    RowOrder = ValidRowOrder(RowOrder, entries);
    const int lastRow = std::min(lastDataRow(), entries);
    SortRowOrder(*Store(), Column, field, lastRow, SortDown, RowOrder);
    ShowStocks("");
  } catch (const std::exception &e) {
    ShowStocks("");
    ShowErrorReport(e.what(), "SGShowAll");
  }
}

// ---- Refresh and its re-sort --------------------------------------------------------

TStockGrid::TFillShape TStockGrid::CurrentShape() const {
  TFillShape shape;
  shape.Valid = true;
  const int count = Symbols.Count();
  shape.Symbols.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i)
    shape.Symbols.push_back(Symbols[i]);
  shape.Order = ValidRowOrder(RowsSorted ? RowOrder : std::vector<int>(), count);
  shape.ColPos = ColPos;
  return shape;
}

bool TStockGrid::CellsShowCurrentRows() const {
  return !FillRunning() && m_lastFullFill.Valid && m_lastFullFill == CurrentShape();
}

void TStockGrid::Refresh(bool autoFit) {
  m_refreshAutoFit = autoFit;
  m_refreshWaiting = !ShowStocks("");
  if (!m_refreshWaiting)
    m_refreshFillId = m_lastFillId;
}

bool TStockGrid::RefreshPending() const {
  return m_refreshWaiting || m_fillWaiting || m_resortWaiting || m_refreshFillId != 0;
}

void TStockGrid::FillsEnded() {
  try {
    for (const std::uint64_t fillId : m_link->TakeEndedFills()) {
      if (fillId == 0 || fillId != m_refreshFillId)
        continue;
      m_refreshFillId = 0;
      m_resortWaiting = m_resortWaiting || (RowsSorted && SortCol >= 0);
      if (m_refreshAutoFit)
        FitAllPending = true;
    }
    RunWaitingFills();
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), "FillsEnded");
  }
}

void TStockGrid::RunWaitingFills() {
  if (!FillRunning()) {
    if (m_refreshWaiting)
      Refresh(m_refreshAutoFit);
    else if (m_fillWaiting)
      ShowStocks("");
  }
  ResortIfDue();
}

void TStockGrid::ResortIfDue() {
  // A sort waiting for its fill sorts with the texts it waits for.
  if (!m_resortWaiting || m_sorting)
    return;
  if (!RowsSorted || SortCol < 0) {
    m_resortWaiting = false;
    return;
  }
  if (!CellsShowCurrentRows()) {
    // Sorted at the end of the fill that writes the rows as they are.
    if (!FillRunning() && !m_refreshWaiting)
      ShowStocks("");
    return;
  }
  m_resortWaiting = false;
  SortRows(SortCol, false, false);
}

void TStockGrid::GridMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  (void)Shift;
  if (IsSizing() || Sizing) {
    // The release that ends a resize does not sort.
    Sizing = false;
    return;
  }
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  const bool afterDrag = AppClock().MonotonicMs() - LastDragMs <= GridTimings().DragClickGapMs;
  if (afterDrag || row != 0 || TDragManager::Instance().Dragging() || col != MouseCol ||
      row != MouseRow || col < 0)
    return;
  if (GridDebugTracing())
    ShowStatusMsg("Start Sort");
  const int field = FieldAtColumn(ColPos, col);
  if (field == gfSeparator || field == gfChart)
    return;
  MouseDownRow = -1;
  if (Button == mbLeft) {
    if (col != SortCol)
      SortCol = col;
    else
      SortDown = !SortDown;
    SortRows(col, true, false);
  }
  RepaintTitleRow();
}
