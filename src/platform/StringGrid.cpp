#include "platform/StringGrid.h"

#include "platform/UncaughtError.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QThread>
#include <QToolTip>
#include <algorithm>
#include <exception>

namespace {
constexpr int kInitialCols = 5;
constexpr int kInitialRows = 5;
constexpr int kInitialColWidth = 64;
constexpr int kInitialRowHeight = 24;
constexpr int kTextInset = 2; // default drawing writes at Left+2, Top+2

// The event a store posts when it has damage for the window thread.
QEvent::Type RepaintEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

bool ButtonOf(Qt::MouseButton b, TMouseButton &out) {
  switch (b) {
  case Qt::LeftButton:
    out = mbLeft;
    return true;
  case Qt::RightButton:
    out = mbRight;
    return true;
  case Qt::MiddleButton:
    out = mbMiddle;
    return true;
  default:
    return false;
  }
}
} // namespace

// ---- Construction ------------------------------------------------------------

TStringGrid::TStringGrid(QWidget *parent)
    : QAbstractScrollArea(parent),
      m_store(std::make_shared<TGridCellStore>(kInitialCols, kInitialRows)) {
  m_store->SetFixed(1, 1);
  m_layout.SetDefaultColWidth(kInitialColWidth);
  m_layout.SetDefaultRowHeight(kInitialRowHeight);
  m_layout.SetCounts(kInitialCols, kInitialRows, 1, 1);
  m_layout.SetLeftCol(1);
  m_layout.SetTopRow(1);
  m_canvas.Font() = m_font;

  // Repaints draw over what is there (no erase first).
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  viewport()->setAutoFillBackground(false);
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  horizontalScrollBar()->setTracking(true);
  verticalScrollBar()->setTracking(true);

  // Posting only: the store calls this under its mutex, from any thread. The
  // store's mutex, taken again when the damage is read, orders the writer's
  // work before the repaint.
  m_store->SetNotifier(
      [this] { QMetaObject::invokeMethod(this, "StoreChanged", Qt::QueuedConnection); });
  UpdateScrollBars();
}

TStringGrid::~TStringGrid() {
  // After this no thread can post to the grid; posted calls die with it.
  m_store->SetNotifier(nullptr);
}

bool TStringGrid::OnWindowThread() const { return QThread::currentThread() == thread(); }

void TStringGrid::StoreChanged() {
  QEvent repaint(RepaintEventType());
  QCoreApplication::sendEvent(this, &repaint);
}

// ---- Cells -------------------------------------------------------------------

std::string TStringGrid::Cells(int ACol, int ARow) const { return m_store->Cell(ACol, ARow); }

void TStringGrid::SetCells(int ACol, int ARow, const std::string &text) {
  m_store->SetCell(ACol, ARow, text);
}

std::intptr_t TStringGrid::Objects(int ACol, int ARow) const { return m_store->Object(ACol, ARow); }

void TStringGrid::SetObjects(int ACol, int ARow, std::intptr_t object) {
  m_store->SetObject(ACol, ARow, object);
}

// ---- Size --------------------------------------------------------------------

bool TStringGrid::SyncCounts() const {
  int cols = 0, rows = 0, fixedCols = 0, fixedRows = 0;
  m_store->Counts(cols, rows, fixedCols, fixedRows);
  if (cols == m_layout.ColCount() && rows == m_layout.RowCount() &&
      fixedCols == m_layout.FixedCols() && fixedRows == m_layout.FixedRows())
    return false;
  m_layout.SetCounts(cols, rows, fixedCols, fixedRows);
  return true;
}

int TStringGrid::ColCount() const { return m_store->ColCount(); }
int TStringGrid::RowCount() const { return m_store->RowCount(); }
int TStringGrid::FixedCols() const { return m_store->FixedCols(); }
int TStringGrid::FixedRows() const { return m_store->FixedRows(); }

void TStringGrid::SetColCount(int n) {
  m_store->SetColCount(n);
  if (OnWindowThread())
    ProcessPendingRepaints();
}

void TStringGrid::SetRowCount(int n) {
  m_store->SetRowCount(n);
  if (OnWindowThread())
    ProcessPendingRepaints();
}

void TStringGrid::SetFixedCols(int n) {
  m_store->SetFixed(n, m_store->FixedRows());
  ProcessPendingRepaints();
}

void TStringGrid::SetFixedRows(int n) {
  m_store->SetFixed(m_store->FixedCols(), n);
  ProcessPendingRepaints();
}

int TStringGrid::DefaultColWidth() const { return m_layout.DefaultColWidth(); }
int TStringGrid::DefaultRowHeight() const { return m_layout.DefaultRowHeight(); }

void TStringGrid::SetDefaultColWidth(int w) {
  SyncCounts();
  m_layout.SetDefaultColWidth(w);
  UpdateScrollBars();
  viewport()->update();
}

void TStringGrid::SetDefaultRowHeight(int h) {
  SyncCounts();
  m_layout.SetDefaultRowHeight(h);
  UpdateScrollBars();
  viewport()->update();
}

int TStringGrid::ColWidths(int ACol) const {
  SyncCounts();
  return m_layout.ColWidth(ACol);
}

int TStringGrid::RowHeights(int ARow) const {
  SyncCounts();
  return m_layout.RowHeight(ARow);
}

void TStringGrid::SetColWidths(int ACol, int w) {
  SyncCounts();
  if (ACol < 0 || ACol >= m_layout.ColCount() || m_layout.ColWidth(ACol) == w)
    return;
  m_layout.SetColWidth(ACol, w);
  UpdateScrollBars();
  viewport()->update();
}

void TStringGrid::SetRowHeights(int ARow, int h) {
  SyncCounts();
  if (ARow < 0 || ARow >= m_layout.RowCount() || m_layout.RowHeight(ARow) == h)
    return;
  m_layout.SetRowHeight(ARow, h);
  UpdateScrollBars();
  viewport()->update();
}

int TStringGrid::GridLineWidth() const { return m_layout.GridLineWidth(); }

void TStringGrid::SetGridLineWidth(int w) {
  m_layout.SetGridLineWidth(w);
  UpdateScrollBars();
  viewport()->update();
}

void TStringGrid::SetGridLineColor(TColor c) {
  m_lineColor = c;
  viewport()->update();
}

void TStringGrid::SetColor(TColor c) {
  m_color = c;
  viewport()->update();
}

void TStringGrid::SetFixedColor(TColor c) {
  m_fixedColor = c;
  viewport()->update();
}

void TStringGrid::SetDefaultDrawing(bool on) {
  m_defaultDrawing = on;
  viewport()->update();
}

void TStringGrid::SetFont(const TFont &f) {
  m_font = f;
  if (!m_inPaint)
    m_canvas.Font() = f;
  viewport()->update();
}

// ---- Geometry and scrolling --------------------------------------------------------

TRect TStringGrid::CellRect(int ACol, int ARow) const {
  SyncCounts();
  m_layout.SetClientSize(viewport()->width(), viewport()->height());
  return m_layout.CellRect(ACol, ARow);
}

void TStringGrid::MouseToCell(int X, int Y, int &ACol, int &ARow) const {
  SyncCounts();
  m_layout.SetClientSize(viewport()->width(), viewport()->height());
  ACol = m_layout.XToCol(X);
  ARow = m_layout.YToRow(Y);
}

int TStringGrid::LeftCol() const {
  SyncCounts();
  return m_layout.LeftCol();
}

int TStringGrid::TopRow() const {
  SyncCounts();
  return m_layout.TopRow();
}

int TStringGrid::VisibleColCount() const {
  SyncCounts();
  m_layout.SetClientSize(viewport()->width(), viewport()->height());
  return m_layout.VisibleColCount();
}

int TStringGrid::VisibleRowCount() const {
  SyncCounts();
  m_layout.SetClientSize(viewport()->width(), viewport()->height());
  return m_layout.VisibleRowCount();
}

void TStringGrid::SetLeftCol(int col) { SetTopLeft(col, TopRow()); }

void TStringGrid::SetTopRow(int row) { SetTopLeft(LeftCol(), row); }

void TStringGrid::SetTopLeft(int col, int row) {
  SyncCounts();
  m_layout.SetClientSize(viewport()->width(), viewport()->height());
  col = std::clamp(col, m_layout.FixedCols(), m_layout.MaxLeftCol());
  row = std::clamp(row, m_layout.FixedRows(), m_layout.MaxTopRow());
  const int oldCol = m_layout.LeftCol();
  const int oldRow = m_layout.TopRow();
  if (col == oldCol && row == oldRow)
    return;
  m_layout.SetLeftCol(col);
  m_layout.SetTopRow(row);
  TopLeftMoved(oldCol, oldRow);
}

void TStringGrid::TopLeftMoved(int oldCol, int oldRow) {
  (void)oldCol, (void)oldRow;
  viewport()->update();
  UpdateScrollBars();
  if (OnTopLeftChanged)
    RunReportingErrors("TopLeftChanged", [&] { OnTopLeftChanged(); });
}

void TStringGrid::UpdateScrollBars() {
  if (m_updatingScrollBars)
    return;
  m_updatingScrollBars = true;
  // Showing or hiding a bar resizes the viewport; settle in a few rounds.
  for (int round = 0; round < 3; ++round) {
    SyncCounts();
    const QSize before = viewport()->size();
    m_layout.SetClientSize(before.width(), before.height());
    const int oldCol = m_layout.LeftCol();
    const int oldRow = m_layout.TopRow();
    // A larger window shows rows (columns) above (left of) the top (left) one
    // rather than empty space below (right).
    m_layout.SetLeftCol(std::min(m_layout.LeftCol(), m_layout.MaxLeftCol()));
    m_layout.SetTopRow(std::min(m_layout.TopRow(), m_layout.MaxTopRow()));

    QScrollBar *h = horizontalScrollBar();
    h->setRange(m_layout.FixedCols(), m_layout.MaxLeftCol());
    h->setPageStep(std::max(1, m_layout.VisibleColCount()));
    h->setSingleStep(1);
    h->setValue(m_layout.LeftCol());
    QScrollBar *v = verticalScrollBar();
    v->setRange(m_layout.FixedRows(), m_layout.MaxTopRow());
    v->setPageStep(std::max(1, m_layout.VisibleRowCount()));
    v->setSingleStep(1);
    v->setValue(m_layout.TopRow());

    if (oldCol != m_layout.LeftCol() || oldRow != m_layout.TopRow()) {
      viewport()->update();
      if (OnTopLeftChanged)
        RunReportingErrors("TopLeftChanged", [&] { OnTopLeftChanged(); });
    }
    if (viewport()->size() == before)
      break;
  }
  m_updatingScrollBars = false;
}

void TStringGrid::scrollContentsBy(int dx, int dy) {
  (void)dx, (void)dy;
  if (m_updatingScrollBars)
    return;
  SetTopLeft(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TStringGrid::resizeEvent(QResizeEvent *e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScrollBars();
}

void TStringGrid::ScrollIntoView(int col, int row) {
  SyncCounts();
  m_layout.SetClientSize(viewport()->width(), viewport()->height());
  int left = m_layout.LeftCol();
  int top = m_layout.TopRow();
  if (col >= m_layout.FixedCols()) {
    if (col < left)
      left = col;
    else
      left = std::max(left, m_layout.LeftColShowing(col));
  }
  if (row >= m_layout.FixedRows()) {
    if (row < top)
      top = row;
    else
      top = std::max(top, m_layout.TopRowShowing(row));
  }
  SetTopLeft(left, top);
}

// ---- Current cell -------------------------------------------------------------------

void TStringGrid::SetCol(int c) { MoveCurrent(c, m_row); }

void TStringGrid::SetRow(int r) { MoveCurrent(m_col, r); }

void TStringGrid::MoveCurrent(int col, int row) {
  SyncCounts();
  col = std::clamp(col, m_layout.FixedCols(), m_layout.ColCount() - 1);
  row = std::clamp(row, m_layout.FixedRows(), m_layout.RowCount() - 1);
  if (col != m_col || row != m_row) {
    InvalidateCell(m_col, m_row);
    m_col = col;
    m_row = row;
    InvalidateCell(m_col, m_row);
  }
  ScrollIntoView(col, row);
}

// ---- Repaints ------------------------------------------------------------------------

QPixmap TStringGrid::CellPicture(int ACol, int ARow, int grow) {
  const TRect r = CellRect(ACol, ARow);
  if (r.IsEmpty())
    return QPixmap();
  return viewport()->grab(ToQRect(r.Inflate(grow, grow)));
}

void TStringGrid::InvalidateClientRect(const TRect &r) {
  if (!r.IsEmpty())
    viewport()->update(ToQRect(r));
}

void TStringGrid::InvalidateCell(int ACol, int ARow) {
  if (!OnWindowThread()) {
    m_store->RequestRepaintRow(ARow);
    return;
  }
  // The cell with the lines after it.
  const TRect r = CellRect(ACol, ARow);
  const int lw = m_layout.GridLineWidth();
  InvalidateClientRect(TRect(r.Left, r.Top, r.Right + lw, r.Bottom + lw));
}

void TStringGrid::InvalidateRow(int ARow) {
  if (!OnWindowThread()) {
    m_store->RequestRepaintRow(ARow);
    return;
  }
  SyncCounts();
  m_layout.SetClientSize(viewport()->width(), viewport()->height());
  const int top = m_layout.RowTop(ARow);
  if (top < 0)
    return;
  // Across the whole width, down to the line below the row.
  const int bottom =
      top + std::max(m_layout.RowHeight(ARow), 0) + std::max(m_layout.GridLineWidth(), 1);
  viewport()->update(QRect(0, top, viewport()->width(), bottom - top));
}

void TStringGrid::InvalidateGrid() {
  if (!OnWindowThread()) {
    m_store->RequestRepaint();
    return;
  }
  viewport()->update();
}

void TStringGrid::ProcessPendingRepaints() {
  const TGridCellStore::Damage d = m_store->TakeDamage();
  if (d.Geometry) {
    SyncCounts();
    UpdateScrollBars();
    // The current cell follows the counts.
    m_col = std::clamp(m_col, m_layout.FixedCols(), m_layout.ColCount() - 1);
    m_row = std::clamp(m_row, m_layout.FixedRows(), m_layout.RowCount() - 1);
  }
  if (d.All) {
    viewport()->update();
    return;
  }
  for (int row : d.Rows)
    InvalidateRow(row);
}

bool TStringGrid::event(QEvent *e) {
  if (e->type() == RepaintEventType()) {
    ProcessPendingRepaints();
    return true;
  }
  return QAbstractScrollArea::event(e);
}

void TStringGrid::changeEvent(QEvent *e) {
  QAbstractScrollArea::changeEvent(e);
  if (e->type() == QEvent::EnabledChange)
    viewport()->update();
}

// ---- Painting ---------------------------------------------------------------------------

void TStringGrid::paintEvent(QPaintEvent *e) {
  // A disabled grid keeps the picture it has.
  if (!isEnabled())
    return;
  if (SyncCounts())
    QMetaObject::invokeMethod(
        this, [this] { UpdateScrollBars(); }, Qt::QueuedConnection);
  const int cw = viewport()->width();
  const int ch = viewport()->height();
  m_layout.SetClientSize(cw, ch);
  const QRegion &region = e->region();

  // The visible columns and rows with their positions.
  struct Span {
    int Index;
    int Pos;
  };
  std::vector<Span> cols, rows;
  const int lw = m_layout.GridLineWidth();
  auto collect = [&](std::vector<Span> &out, int fixed, int first, int count, int limit,
                     bool isCol) {
    int pos = 0;
    auto size = [&](int i) { return isCol ? m_layout.ColWidth(i) : m_layout.RowHeight(i); };
    for (int i = 0; i < fixed && i < count && pos < limit; ++i) {
      if (size(i) >= 0) {
        out.push_back({i, pos});
        pos += size(i) + lw;
      }
    }
    for (int i = first; i < count && pos < limit; ++i) {
      if (size(i) >= 0) {
        out.push_back({i, pos});
        pos += size(i) + lw;
      }
    }
    return std::min(pos, limit);
  };
  const int gridRight =
      collect(cols, m_layout.FixedCols(), m_layout.LeftCol(), m_layout.ColCount(), cw, true);
  const int gridBottom =
      collect(rows, m_layout.FixedRows(), m_layout.TopRow(), m_layout.RowCount(), ch, false);

  QPainter painter(viewport());
  m_canvas.Begin(painter);
  m_inPaint = true;
  try {
    m_canvas.ResetState();
    m_canvas.Font() = m_font;
    TCanvas &c = m_canvas;

    // Lines first: cells may draw over them.
    if (lw > 0) {
      c.Brush().Style = bsSolid;
      c.Brush().Color = m_lineColor;
      for (const Span &s : cols)
        c.FillRect(TRect(s.Pos + m_layout.ColWidth(s.Index), 0,
                         s.Pos + m_layout.ColWidth(s.Index) + lw, gridBottom));
      for (const Span &s : rows)
        c.FillRect(TRect(0, s.Pos + m_layout.RowHeight(s.Index), gridRight,
                         s.Pos + m_layout.RowHeight(s.Index) + lw));
    }
    // The area beyond the last cell.
    c.Brush().Color = m_color;
    if (gridRight < cw)
      c.FillRect(TRect(gridRight, 0, cw, ch));
    if (gridBottom < ch)
      c.FillRect(TRect(0, gridBottom, gridRight, ch));

    const bool focused = hasFocus();
    for (const Span &r : rows) {
      const int h = m_layout.RowHeight(r.Index);
      if (!region.intersects(QRect(0, r.Pos, cw, h + lw)))
        continue;
      for (const Span &col : cols) {
        const TRect rect(col.Pos, r.Pos, col.Pos + m_layout.ColWidth(col.Index), r.Pos + h);
        if (!region.intersects(QRect(rect.Left, rect.Top, rect.Width() + lw, rect.Height() + lw)))
          continue;
        TGridDrawState state = 0;
        if (col.Index < m_layout.FixedCols() || r.Index < m_layout.FixedRows())
          state |= gdFixed;
        else if (col.Index == m_col && r.Index == m_row)
          state |= gdSelected | (focused ? gdFocused : 0);
        c.Brush().Style = bsSolid;
        c.Brush().Color = (state & gdFixed) ? m_fixedColor : m_color;
        c.Font() = m_font;
        RunReportingErrors("DrawCell", [&] { DrawCell(col.Index, r.Index, rect, state); });
      }
    }
  } catch (...) {
    ReportUncaughtError("TStringGrid paint failed");
  }
  m_inPaint = false;
  m_canvas.End();
  m_canvas.ResetState();
  m_canvas.Font() = m_font;
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect &rect, TGridDrawState state) {
  if (m_defaultDrawing) {
    TCanvas &c = m_canvas;
    if ((state & gdSelected) && !(state & gdFixed)) {
      c.Brush().Color = clHighlight;
      c.Font().Color = clHighlightText;
    }
    c.SetBkMode(TRANSPARENT);
    c.TextRect(rect, rect.Left + kTextInset, rect.Top + kTextInset, Cells(ACol, ARow));
  }
  if (OnDrawCell)
    OnDrawCell(ACol, ARow, rect, state);
}

// ---- Mouse ----------------------------------------------------------------------------

void TStringGrid::HandleMousePress(QMouseEvent *e, bool isDouble) {
  TMouseButton button;
  if (!ButtonOf(e->button(), button))
    return;
  if (focusPolicy() != Qt::NoFocus)
    setFocus(Qt::MouseFocusReason);
  m_lastGlobal = e->globalPosition().toPoint();
  const int x = e->position().toPoint().x();
  const int y = e->position().toPoint().y();
  const TShiftState shift = ShiftStateOf(*e) | (isDouble ? ssDouble : 0);
  m_buttonDown = true;
  m_pressWasDouble = isDouble;

  SyncCounts();
  m_layout.SetClientSize(viewport()->width(), viewport()->height());
  if (button == mbLeft) {
    const int sc = m_colSizing ? m_layout.SizingColAt(x, y, kSizingMargin) : -1;
    if (sc >= 0) {
      // Set before OnMouseDown, so that the handler sees a sizing grid.
      m_gridState = gsColSizing;
      m_sizingCol = sc;
      m_sizingStartX = x;
      m_sizingStartWidth = m_layout.ColWidth(sc);
    } else {
      const int c = m_layout.XToCol(x);
      const int r = m_layout.YToRow(y);
      if (c >= m_layout.FixedCols() && r >= m_layout.FixedRows())
        MoveCurrent(c, r);
    }
  }
  if (OnMouseDown)
    RunReportingErrors("MouseDown", [&] { OnMouseDown(button, shift, x, y); });
}

void TStringGrid::mousePressEvent(QMouseEvent *e) {
  HandleMousePress(e, false);
  e->accept();
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent *e) {
  TMouseButton button;
  if (!ButtonOf(e->button(), button))
    return;
  e->accept();
  if (m_buttonDown) {
    // The second press has been handled already: only the double click is
    // left to report.
    m_pressWasDouble = true;
    if (OnDblClick)
      RunReportingErrors("DblClick", [&] { OnDblClick(); });
    return;
  }
  // The double click comes before the mouse-down of the second click.
  if (OnDblClick)
    RunReportingErrors("DblClick", [&] { OnDblClick(); });
  HandleMousePress(e, true);
}

void TStringGrid::mouseMoveEvent(QMouseEvent *e) {
  m_lastGlobal = e->globalPosition().toPoint();
  const int x = e->position().toPoint().x();
  const int y = e->position().toPoint().y();
  if (m_gridState == gsColSizing) {
    SetColWidths(m_sizingCol, std::max(0, m_sizingStartWidth + x - m_sizingStartX));
  } else if (e->buttons() == Qt::NoButton) {
    SyncCounts();
    m_layout.SetClientSize(viewport()->width(), viewport()->height());
    if (m_colSizing && m_layout.SizingColAt(x, y, kSizingMargin) >= 0)
      viewport()->setCursor(Qt::SplitHCursor);
    else if (viewport()->cursor().shape() == Qt::SplitHCursor)
      viewport()->unsetCursor();
  }
  if (OnMouseMove) {
    const TShiftState shift = ShiftStateOf(*e);
    RunReportingErrors("MouseMove", [&] { OnMouseMove(shift, x, y); });
  }
  e->accept();
}

void TStringGrid::mouseReleaseEvent(QMouseEvent *e) {
  TMouseButton button;
  if (!ButtonOf(e->button(), button))
    return;
  e->accept();
  m_lastGlobal = e->globalPosition().toPoint();
  const QPoint pos = e->position().toPoint();
  const bool hadPress = m_buttonDown;
  const bool wasDouble = m_pressWasDouble;
  m_buttonDown = false;
  m_pressWasDouble = false;
  if (OnMouseUp) {
    const TShiftState shift = ShiftStateOf(*e);
    RunReportingErrors("MouseUp", [&] { OnMouseUp(button, shift, pos.x(), pos.y()); });
  }
  // The sizing state lasts through OnMouseUp.
  const bool wasSizing = m_gridState == gsColSizing;
  const int sizedCol = m_sizingCol;
  m_gridState = gsNormal;
  m_sizingCol = -1;
  if (wasSizing) {
    if (OnColumnResized && ColWidths(sizedCol) != m_sizingStartWidth)
      RunReportingErrors("ColumnResized", [&] { OnColumnResized(sizedCol); });
  } else if (hadPress && !wasDouble && button == mbLeft && viewport()->rect().contains(pos)) {
    if (OnClick)
      RunReportingErrors("Click", [&] { OnClick(); });
  }
}

void TStringGrid::contextMenuEvent(QContextMenuEvent *e) {
  if (m_popup) {
    m_popup->popup(e->globalPos());
    e->accept();
    return;
  }
  e->ignore();
}

bool TStringGrid::viewportEvent(QEvent *e) {
  if (e->type() == QEvent::ToolTip) {
    auto *he = static_cast<QHelpEvent *>(e);
    std::string text;
    if (m_showHint) {
      if (OnGetHint) {
        int c = -1, r = -1;
        MouseToCell(he->pos().x(), he->pos().y(), c, r);
        RunReportingErrors("GetHint", [&] { text = OnGetHint(c, r); });
      } else {
        text = m_hint;
      }
    }
    if (text.empty())
      QToolTip::hideText();
    else
      QToolTip::showText(he->globalPos(), QString::fromStdString(text), viewport());
    return true;
  }
  return QAbstractScrollArea::viewportEvent(e);
}

// ---- Keys -----------------------------------------------------------------------------

void TStringGrid::keyPressEvent(QKeyEvent *e) {
  int key = VirtualKeyOf(*e);
  if (key == 0) {
    e->ignore();
    return;
  }
  const TShiftState shift = ShiftStateOf(*e);
  if (OnKeyDown)
    RunReportingErrors("KeyDown", [&] { OnKeyDown(key, shift); });
  // A handler that set the key to 0 has consumed it.
  if (key == 0 || DefaultKeyDown(key, shift))
    e->accept();
  else
    e->ignore();
}

bool TStringGrid::DefaultKeyDown(int key, TShiftState shift) {
  SyncCounts();
  m_layout.SetClientSize(viewport()->width(), viewport()->height());
  const int page = std::max(1, m_layout.VisibleRowCount());
  switch (key) {
  case VK_UP:
    MoveCurrent(m_col, m_row - 1);
    break;
  case VK_DOWN:
    MoveCurrent(m_col, m_row + 1);
    break;
  case VK_LEFT:
    MoveCurrent(m_col - 1, m_row);
    break;
  case VK_RIGHT:
    MoveCurrent(m_col + 1, m_row);
    break;
  case VK_PRIOR:
    MoveCurrent(m_col, m_row - page);
    break;
  case VK_NEXT:
    MoveCurrent(m_col, m_row + page);
    break;
  case VK_HOME:
    if (shift & ssCtrl)
      MoveCurrent(m_col, m_layout.FixedRows());
    else
      MoveCurrent(m_layout.FixedCols(), m_row);
    break;
  case VK_END:
    if (shift & ssCtrl)
      MoveCurrent(m_col, m_layout.RowCount() - 1);
    else
      MoveCurrent(m_layout.ColCount() - 1, m_row);
    break;
  default:
    return false;
  }
  return true;
}

// ---- Dragging ---------------------------------------------------------------------------

void TStringGrid::BeginDrag(bool Immediate, int Threshold) {
  TDragManager::Instance().BeginDrag(*this, Immediate, Threshold, m_lastGlobal);
}

bool TStringGrid::Dragging() const {
  const TDragManager &m = TDragManager::Instance();
  return m.Dragging() && m.IsSource(*this);
}

void TStringGrid::CancelDrag() {
  TDragManager &m = TDragManager::Instance();
  if (m.IsSource(*this))
    m.CancelDrag();
}

QWidget *TStringGrid::DragClient() { return viewport(); }

void TStringGrid::DoStartDrag(std::unique_ptr<TDragObject> &obj) {
  if (OnStartDrag)
    OnStartDrag(obj);
}

bool TStringGrid::DoDragOver(TDragObject &source, int x, int y, TDragState state) {
  if (!OnDragOver)
    return false;
  bool accept = true;
  OnDragOver(source, x, y, state, accept);
  return accept;
}

void TStringGrid::DoDragDrop(TDragObject &source, int x, int y) {
  if (OnDragDrop)
    OnDragDrop(source, x, y);
}

void TStringGrid::DoEndDrag(QWidget *target, int x, int y) {
  // The button went up inside the drag: no mouse-up reaches the grid.
  m_buttonDown = false;
  m_pressWasDouble = false;
  m_gridState = gsNormal;
  if (OnEndDrag)
    OnEndDrag(target, x, y);
}
