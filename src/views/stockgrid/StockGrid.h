#pragma once
// TStockGrid: the quote grid. It shows one portfolio, or the watch list, one
// symbol per row and one of the 45 quote fields per column, in the layout of
// a view. Three windows create one each: the main window (kind 1), the watch
// list (kind 2, watch-list mode) and the print dialog (kind 3, never shown).
//
// The grid computes no texts itself: ShowStocks starts a one-shot fill thread
// (ShowStocksThread.h) that writes the changed cells into the grid's cell
// store; the grid lays out the columns from the view and paints the cells.
// Everything here runs on the window thread.
#include "core/DisplaySettings.h"
#include "platform/DateTime.h"
#include "platform/StringGrid.h"
#include "platform/StringList.h"
#include "views/ViewRecord.h"
#include "views/stockgrid/AutoFitMemo.h"
#include "views/stockgrid/ColumnMap.h"

#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TFillLink;
class TDragObject;
class QPaintEvent;

// Timings of the grid's mouse rules (milliseconds on the monotonic clock);
// tests may shorten them.
struct TGridTimings {
  int HighlightToggleAfterDblClickMs =
      100;                    // a click this soon after a double click toggles nothing
  int DragClickGapMs = 500;   // title clicks and new drags this soon after a drag do nothing
};
TGridTimings &GridTimings();

class TStockGrid : public TStringGrid {
  Q_OBJECT

public:
  using TGridMouseEvent =
      std::function<void(TStockGrid *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

  // ---- Construction. Callers then set the parent, GridKind, MeasureLabel,
  // GridPopup, View and, for the watch list, WatchMode and PortfolioIndex := 0.
  explicit TStockGrid(QWidget *Owner = nullptr);
  // Stops a running fill and lets go of it; never waits on the window
  // thread's events.
  ~TStockGrid() override;

  // ---- Fields
  bool WatchMode = false;   // the position fields are removed from the column map
  std::string WatchSymbols; // the watch list, symbols separated by blanks
  int GridKind = 0;         // TGridKind: 1 main window, 2 watch list, 3 print dialog
  int DropCol = -1;         // column a dragged column would be dropped before; -1 none
  int SortCol = -1;         // column the rows are sorted by; -1 none
  bool SortDown = false;
  int HighlightTag = 0; // row tag of the highlighted row; 0 or less: none
  bool HighlightSymbolOnly = false;
  int MouseDownRow = -1;
  std::string HighlightSymbol;                // up to 15 characters
  TColumnMap ColPos{};                        // grid column of each field; -1 hidden
  std::array<int, GridFieldCount> ColWidth{}; // remembered width of each field's column
  int PortfolioIndex = -1;                    // 1-based in PortfolioList; -1 none, 0 the watch list
  bool RowsSorted = false;                    // RowOrder holds the display order
  // Per display position (0-based) the 1-based list index shown there. A
  // fill uses it only when it is a permutation of the list's indexes.
  std::vector<int> RowOrder;
  QPointer<QLabel> MeasureLabel; // carries the view font and measures texts
  QPointer<QMenu> GridPopup;     // shown on a right click
  TStringList Symbols;           // the shown list's symbols, in list order
  bool Sizing = false;           // a column is being resized
  int DragCol = -1;
  int MouseCol = -1;
  int MouseRow = -1;
  bool MouseOnBulb = false; // the last mouse-down hit the news bulb of a symbol cell
  int MouseDownX = 0;
  int MouseDownY = 0;
  TDateTime LastDblClick = 0;
  TDragObject *DragObject = nullptr;
  int LastLeftCol = 0;
  bool ResetRowCount = false;      // the next fill sizes the grid afresh
  bool FitAllPending = false;      // the owner's timer fits every column
  bool FitSymbolPending = true;    // the owner's timer fits the symbol column
  bool WidthsValid = false;        // ColWidth holds widths taken from the grid
  ViewRecord *View = nullptr;      // the layout in use (not owned)
  TGridMouseEvent OnGridMouseDown; // after every mouse-down
  TDateTime LastDragTime = 0;
  // The same two moments on the monotonic clock (the rules measure these).
  std::int64_t LastDblClickMs = INT64_MIN / 2;
  std::int64_t LastDragMs = INT64_MIN / 2;
  // Key of the shown portfolio, taken with its symbols; empty when the grid
  // shows no valid portfolio (the TOTAL row's small graph draws it).
  std::string PortfolioKey;

  // A fill thread works on the grid.
  bool FillRunning() const;
  // Posted by a fill that ended: takes the numbers ShowStocks gave the fills
  // that ended, runs the fill or refresh that was refused while they ran,
  // and the re-sort of a refresh once the texts of a finished fill show the
  // current rows.
  Q_INVOKABLE void FillsEnded();
  // Set once the grid is being destroyed.
  bool StopFill() const;

  // ---- Operations
  // Starts a fill unless one runs, the grid is disabled, or it is hidden
  // (print grids are never shown and always fill). Symbols: empty for a full
  // pass, else the refreshed symbols as "|A||B|". Returns whether a fill
  // started. A full pass refused because a fill runs is run when that ends.
  bool ShowStocks(const std::string &SymbolsText = "");
  // A refresh: a full fill whose end sorts the rows again by the sort
  // column (new quotes may change the order) and, with autoFit, has the
  // owner's timer fit every column (FitAllPending). Refused while a fill
  // runs, it starts when that fill ends.
  void Refresh(bool autoFit);
  // A refresh, or its re-sort, or a refused fill is still to come.
  bool RefreshPending() const;
  // For the owner's timer: starts what still waits for a fill that ended
  // (should its end notice not come) and re-sorts when that is due.
  void RunWaitingFills();
  // Rebuilds ColPos from the view.
  void LoadColumnMap();
  // Lays the grid out from the view (column count and widths, font, row
  // height, symbol column). Does nothing before text can be measured.
  // Returns 0.
  int ApplyView(bool Resort);
  // Repaints one row when the grid's parent is visible.
  void InvalidateRow(int Row);
  // Fits the symbol column to its texts (at least as wide as "WWAAAA").
  void FitSymbolColumn();
  // The watch list's symbols (refreshing Symbols on the way) as a
  // comma-separated text for the quote request.
  void GetWatchSymbols(std::string &List);
  // The shown portfolio's symbols (refreshing Symbols on the way);
  // "MSFT," while the main window shows no portfolio. False (List empty,
  // Symbols kept) when the portfolio list stayed busy: the caller asks again.
  bool GetPortfolioSymbols(std::string &List);
  // Sorts the rows by a column (Force: even when unchanged; Reset: back to
  // list order). Column -1 only refills. A call made while a sort waits for
  // its fill does nothing.
  void SortRows(int Column, bool Force, bool Reset);
  // Fits every column to its title and texts (after a fill). Measures only
  // the cells whose texts changed since the last fit.
  void AutoFitColumns();
  // The next fit measures every cell again.
  void ForgetFitMeasurements() {
    m_fitMemo.Clear();
    m_symbolFitMemo.Clear();
  }
  // Moves the field shown in grid column FromCol before the one in ToCol (or
  // after the last when ToCol holds none) in the view's map. False, with
  // nothing changed, when the columns or the view's map don't allow it.
  bool MoveColumn(int FromCol, int ToCol);
  // Opens (or finds, restores and raises) the chart window of a symbol.
  void ShowSymbolChart(const std::string &Symbol);

  // ---- Painting: one cell on any canvas (the grid's own while it paints).
  void GridDrawCell(TCanvas &canvas, int ACol, int ARow, const TRect &Rect, TGridDrawState State);

  // ---- Event handlers (bound to the grid's events; tests may call them).
  void GridMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void GridMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  void GridDblClick();
  void GridMouseMove(TShiftState Shift, int X, int Y);
  void GridKeyDown(int &Key, TShiftState Shift);
  void GridTopLeftChanged();
  void GridStartDrag(std::unique_ptr<TDragObject> &Object);
  void GridDragOver(TDragObject &Source, int X, int Y, TDragState State, bool &Accept);
  void GridDragDrop(TDragObject &Source, int X, int Y);
  void GridEndDrag(QWidget *Target, int X, int Y);

  // ---- Measuring on MeasureLabel's font (the grid's font without a label).
  int MeasureTextWidth(const std::string &text) const;
  int MeasureTextHeight(const std::string &text) const;
  // The view's font (name, size, bold, italic).
  TFont ViewFont() const;
  // The font a field's cells are drawn with: the view font with the
  // field's style bits unless it keeps the font's own style.
  TFont FieldFont(int field) const;

protected:
  void paintEvent(QPaintEvent *e) override;

private:
  // The row whose tag is HighlightTag, -1 when none.
  int HighlightedRow() const;
  // Highlights row (its tag), repaints it with the old one and scrolls it into view.
  void MoveHighlightTo(int row);
  // Opens the news window for a row's symbol unless it is all dashes or "$CASH".
  bool OpenRowNews(const std::string &symbol);
  void RepaintTitleRow();

  // What a fill writes where: the list, the display order and the columns.
  struct TFillShape {
    bool Valid = false;
    std::vector<std::string> Symbols;
    std::vector<int> Order;
    TColumnMap ColPos{};
    friend bool operator==(const TFillShape &, const TFillShape &) = default;
  };
  // The shape a full fill started now would write.
  TFillShape CurrentShape() const;
  // The cells hold what a finished fill wrote for the rows as they are now
  // (no fill runs or waits): only then do their texts sort the rows.
  bool CellsShowCurrentRows() const;
  // Sorts again by the sort column when a re-sort is due and the cells allow it.
  void ResortIfDue();

  std::shared_ptr<TFillLink> m_link;
  std::uint64_t m_lastFillId = 0;    // the number of the last fill started
  std::uint64_t m_refreshFillId = 0; // the fill of a refresh whose re-sort is due at its end
  bool m_refreshWaiting = false;     // a refresh waits for the running fill
  bool m_refreshAutoFit = false;
  bool m_fillWaiting = false;   // a full fill waits for the running one
  bool m_resortWaiting = false; // a refresh's re-sort waits for texts of the rows as they are
  TFillShape m_lastFullFill;    // what the last full fill started wrote
  // Settings and clock read once per paint (null outside a paint).
  std::unique_ptr<TDisplaySettings> m_paintSettings;
  TDateTime m_paintNow = 0;
  // What every cell of a row shares, read at its first cell in a paint
  // (Row -1: nothing read yet).
  struct TRowPaint {
    int Row = -1;
    std::string Symbol;        // the symbol cell's text as painted
    std::string TrimmedSymbol; // and trimmed
    std::int32_t AlertColor = 0;
    bool AlertActive = false;
    TDateTime AlertAge = 0;
    std::intptr_t Tag = 0; // the symbol cell's object
  };
  TRowPaint m_rowPaint;
  // The fonts of the fields, then the view font, made once per paint.
  std::array<TFont, GridFieldCount + 1> m_paintFonts{};
  TFontStyles m_paintViewStyle = 0; // the view font's style
  bool m_sorting = false; // a sort waits for its fill
  TFitMemo m_fitMemo;       // what AutoFitColumns measured
  TFitMemo m_symbolFitMemo; // what FitSymbolColumn measured
};
