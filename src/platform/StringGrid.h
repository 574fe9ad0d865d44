#pragma once
// TStringGrid: a grid of text cells on a scroll area, with fixed title rows
// and columns that stay in place, per-column widths and per-row heights,
// cells drawn by the owner (OnDrawCell) or plainly, mouse and key events in
// the classic order, column sizing on the title row and in-process dragging.
//
// Threads: everything is window-thread only, except the cell texts, objects,
// counts and repaint requests, which any thread may use. They live in a
// shared, mutex-guarded TGridCellStore (Store()); a worker writes it and the
// grid repaints once per batch of changes. A worker may keep the store after
// the grid is gone: its writes then reach nobody.
#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/DragManager.h"
#include "platform/GridCellStore.h"
#include "platform/QPainterCanvas.h"
#include "platform/Rect.h"
#include "platform/StringGridLayout.h"
#include "platform/StringGridTypes.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TStringGrid : public QAbstractScrollArea, public TDragControl {
  Q_OBJECT

public:
  // ---- Event types
  using TDrawCellEvent =
      std::function<void(int ACol, int ARow, const TRect &Rect, TGridDrawState State)>;
  using TMouseEvent = std::function<void(TMouseButton Button, TShiftState Shift, int X, int Y)>;
  using TMouseMoveEvent = std::function<void(TShiftState Shift, int X, int Y)>;
  using TNotifyEvent = std::function<void()>;
  using TKeyEvent = std::function<void(int &Key, TShiftState Shift)>;
  using TColumnEvent = std::function<void(int ACol)>;
  using THintEvent = std::function<std::string(int ACol, int ARow)>;
  using TStartDragEvent = std::function<void(std::unique_ptr<TDragObject> &DragObject)>;
  using TDragOverEvent =
      std::function<void(TDragObject &Source, int X, int Y, TDragState State, bool &Accept)>;
  using TDragDropEvent = std::function<void(TDragObject &Source, int X, int Y)>;
  using TEndDragEvent = std::function<void(QWidget *Target, int X, int Y)>;

  // ---- Construction: 5 x 5 cells, one fixed row and column, 64 x 24 cells.
  explicit TStringGrid(QWidget *parent = nullptr);
  ~TStringGrid() override;

  // ---- Cells (any thread). Reads outside the grid give "" and 0; writes
  // outside it are ignored.
  std::string Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const std::string &text);
  std::intptr_t Objects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, std::intptr_t object);
  // The store itself, for workers (it outlives the grid while they hold it).
  const std::shared_ptr<TGridCellStore> &Store() const { return m_store; }

  // ---- Size (counts: any thread; the rest: window thread). Counts stay above
  // the fixed counts; surviving cells keep their texts.
  int ColCount() const;
  int RowCount() const;
  void SetColCount(int n);
  void SetRowCount(int n);
  int FixedCols() const;
  int FixedRows() const;
  void SetFixedCols(int n);
  void SetFixedRows(int n);

  int DefaultColWidth() const;
  int DefaultRowHeight() const;
  // Sizes every column (row) afresh.
  void SetDefaultColWidth(int w);
  void SetDefaultRowHeight(int h);
  int ColWidths(int ACol) const;
  int RowHeights(int ARow) const;
  void SetColWidths(int ACol, int w);
  void SetRowHeights(int ARow, int h);
  int GridLineWidth() const;
  void SetGridLineWidth(int w);
  TColor GridLineColor() const { return m_lineColor; }
  void SetGridLineColor(TColor c);
  // Background of the cells drawn by default and of the area beyond the last
  // cell; FixedColor is that of fixed cells drawn by default.
  TColor Color() const { return m_color; }
  void SetColor(TColor c);
  TColor FixedColor() const { return m_fixedColor; }
  void SetFixedColor(TColor c);

  // ---- Drawing
  bool DefaultDrawing() const { return m_defaultDrawing; }
  void SetDefaultDrawing(bool on);
  // The grid's font; the canvas starts every paint with it.
  const TFont &Font() const { return m_font; }
  void SetFont(const TFont &f);
  // During OnDrawCell: the canvas painting the grid. Otherwise a canvas that
  // only measures text (with the grid's font until changed).
  TCanvas &Canvas() { return m_canvas; }
  // The cell without its lines, right and bottom exclusive; empty when the
  // cell is not visible.
  TRect CellRect(int ACol, int ARow) const;
  // A picture of what the grid shows in a cell, grown by grow pixels on every
  // side (for drag images); null when the cell is not visible.
  QPixmap CellPicture(int ACol, int ARow, int grow = 0);
  // Repaint without erasing first (any thread).
  void InvalidateCell(int ACol, int ARow);
  void InvalidateRow(int ARow);
  void InvalidateGrid();
  // Any thread: a whole repaint; and batches that hold the repaint requests
  // of many writes back until the batch ends (they nest).
  void RequestRepaint() { m_store->RequestRepaint(); }
  void BeginBatch() { m_store->BeginBatch(); }
  void EndBatch() { m_store->EndBatch(); }
  // Window thread only: carries out at once the repaints and count changes
  // the store has collected (otherwise done by the event the store posts).
  void ProcessPendingRepaints();

  // ---- State
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool on) { setEnabled(on); }
  bool Visible() const { return isVisible(); }
  void SetVisible(bool on) { setVisible(on); }

  // ---- Scrolling
  int LeftCol() const;
  int TopRow() const;
  void SetLeftCol(int col);
  void SetTopRow(int row);
  int VisibleColCount() const;
  int VisibleRowCount() const;

  // ---- Current cell (moved by clicks and the default key navigation)
  int Col() const { return m_col; }
  int Row() const { return m_row; }
  void SetCol(int c);
  void SetRow(int r);

  // ---- Mouse
  // The cell under a client point; each coordinate -1 outside the cells.
  void MouseToCell(int X, int Y, int &ACol, int &ARow) const;
  TGridState GridState() const { return m_gridState; }
  // A column is being sized with the mouse.
  bool IsSizing() const { return m_gridState == gsColSizing; }
  // Whether title boundaries can be dragged to size columns (on by default).
  bool ColSizing() const { return m_colSizing; }
  void SetColSizing(bool on) { m_colSizing = on; }
  // The pop-up menu shown on a right click (not owned; may be null).
  void SetPopupMenu(QMenu *menu) { m_popup = menu; }
  QMenu *PopupMenu() const { return m_popup; }
  // Hints: OnGetHint, when set, gives the text for the cell under the mouse;
  // otherwise Hint is shown. Nothing is shown while ShowHint is off.
  void SetHint(const std::string &hint) { m_hint = hint; }
  const std::string &Hint() const { return m_hint; }
  void SetShowHint(bool on) { m_showHint = on; }
  bool ShowHint() const { return m_showHint; }

  // ---- Dragging
  // Starts dragging this grid (normally from OnMouseDown or OnMouseMove with
  // the left button down). Threshold < 0: the manager's default.
  void BeginDrag(bool Immediate, int Threshold = -1);
  // A drag from this grid is running.
  bool Dragging() const;
  // Ends a drag from this grid as Esc does.
  void CancelDrag();

  // ---- Events
  TDrawCellEvent OnDrawCell;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  // Before the default key handling; setting Key to 0 consumes the key.
  TKeyEvent OnKeyDown;
  TNotifyEvent OnTopLeftChanged;
  // A column was given another width with the mouse (after OnMouseUp).
  TColumnEvent OnColumnResized;
  THintEvent OnGetHint;
  TStartDragEvent OnStartDrag;
  // Accept starts true; without a handler nothing is accepted.
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

  // Pixels either side of a title boundary that start column sizing.
  static constexpr int kSizingMargin = 3;

protected:
  // Draws one cell: the default drawing when on, then OnDrawCell.
  virtual void DrawCell(int ACol, int ARow, const TRect &rect, TGridDrawState state);

  // Qt
  bool event(QEvent *e) override;
  bool viewportEvent(QEvent *e) override;
  void paintEvent(QPaintEvent *e) override;
  void resizeEvent(QResizeEvent *e) override;
  void mousePressEvent(QMouseEvent *e) override;
  void mouseReleaseEvent(QMouseEvent *e) override;
  void mouseDoubleClickEvent(QMouseEvent *e) override;
  void mouseMoveEvent(QMouseEvent *e) override;
  void keyPressEvent(QKeyEvent *e) override;
  void contextMenuEvent(QContextMenuEvent *e) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent *e) override;

  // TDragControl
  QWidget *DragClient() override;
  void DoStartDrag(std::unique_ptr<TDragObject> &obj) override;
  bool DoDragOver(TDragObject &source, int x, int y, TDragState state) override;
  void DoDragDrop(TDragObject &source, int x, int y) override;
  void DoEndDrag(QWidget *target, int x, int y) override;

private:
  // Brings the layout's counts up to the store's; true when they changed.
  bool SyncCounts() const;
  void UpdateScrollBars();
  void SetTopLeft(int col, int row);
  void TopLeftMoved(int oldCol, int oldRow);
  void ScrollIntoView(int col, int row);
  void MoveCurrent(int col, int row);
  void InvalidateClientRect(const TRect &r);
  void HandleMousePress(QMouseEvent *e, bool isDouble);
  // The grid's own key handling; false for keys it leaves alone.
  bool DefaultKeyDown(int key, TShiftState shift);
  bool OnWindowThread() const;
  // Queued by the store's notifier (by name, so that Qt makes the call event
  // and nothing the writer allocated is read here); sends the repaint event.
  Q_INVOKABLE void StoreChanged();

  std::shared_ptr<TGridCellStore> m_store;
  mutable TGridLayout m_layout; // counts follow the store lazily
  TQPainterCanvas m_canvas;
  TFont m_font;
  TColor m_color = clWindow;
  TColor m_fixedColor = clBtnFace;
  TColor m_lineColor = clSilver;
  bool m_defaultDrawing = true;
  bool m_colSizing = true;
  bool m_inPaint = false;
  bool m_updatingScrollBars = false;

  int m_col = 1;
  int m_row = 1;

  // Mouse
  TGridState m_gridState = gsNormal;
  int m_sizingCol = -1;
  int m_sizingStartX = 0;
  int m_sizingStartWidth = 0;
  bool m_buttonDown = false; // a press of ours awaits its release
  bool m_pressWasDouble = false;
  QPoint m_lastGlobal;
  QPointer<QMenu> m_popup;
  std::string m_hint;
  bool m_showHint = true;
};
