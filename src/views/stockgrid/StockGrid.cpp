#include "views/stockgrid/StockGrid.h"

#include "acquisition/HTTPSite.h"
#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "platform/StringUtils.h"
#include "views/ViewStore.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <QCursor>
#include <QFontMetrics>
#include <algorithm>
#include <exception>

namespace {

// The destructor's wait for a fill told to stop: long enough for a pass to
// finish the row it is on, short enough not to stall the window.
constexpr int kDestroyWaitMs = 200;

constexpr int kInitialColCount = 20;
constexpr int kInitialRowCount = 100;
constexpr int kInitialColWidth = 24;
constexpr int kInitialRowHeight = 12;
constexpr int kMinMeasurableHeight = 4; // below it the window cannot measure text yet
constexpr int kSymbolPadding = 4 + 9;   // text margins and room for the news and alert bulbs
constexpr int kSeparatorColWidth = 4;
constexpr const char *kMinSymbolText = "WWAAAA";

// A text as wide as a field's usual contents: columns start this wide until
// they are fitted to what they show.
const char *SampleText(int field) {
  switch (field) {
  case gfValueChange:
  case gfGain:
    return "+00.00% 00,000";
  case gfCompanyName:
    return "Company Name Inc";
  case gfNote:
    return "A short note";
  case gfVolume:
  case gfAvgVol:
    return "00,000,000";
  case gfQuoteTime:
    return "00:00:00";
  case gfQuoteDate:
    return "00/00/0000";
  case gfChange:
    return "+ 00.00000";
  case gfSeparator:
    return "";
  default:
    return "0,000.00";
  }
}

} // namespace

// ---- Construction -------------------------------------------------------------------

TStockGrid::TStockGrid(QWidget *Owner) : TStringGrid(Owner), m_link(std::make_shared<TFillLink>()) {
  GridNow = EasternNow();
  View = &CurrentView;
  SetColCount(kInitialColCount);
  SetRowCount(kInitialRowCount);
  SetColor(clWhite);
  SetDefaultColWidth(kInitialColWidth);
  SetDefaultDrawing(false);
  SetDefaultRowHeight(kInitialRowHeight);
  SetFixedCols(1);
  SetFixedRows(1);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  OnDrawCell = [this](int ACol, int ARow, const TRect &Rect, TGridDrawState State) {
    GridDrawCell(Canvas(), ACol, ARow, Rect, State);
  };
  OnMouseDown = [this](TMouseButton Button, TShiftState Shift, int X, int Y) {
    GridMouseDown(Button, Shift, X, Y);
  };
  OnMouseUp = [this](TMouseButton Button, TShiftState Shift, int X, int Y) {
    GridMouseUp(Button, Shift, X, Y);
  };
  OnDblClick = [this] { GridDblClick(); };
  OnMouseMove = [this](TShiftState Shift, int X, int Y) { GridMouseMove(Shift, X, Y); };
  OnKeyDown = [this](int &Key, TShiftState Shift) { GridKeyDown(Key, Shift); };
  OnTopLeftChanged = [this] { GridTopLeftChanged(); };
  OnStartDrag = [this](std::unique_ptr<TDragObject> &Object) { GridStartDrag(Object); };
  OnDragOver = [this](TDragObject &Source, int X, int Y, TDragState State, bool &Accept) {
    GridDragOver(Source, X, Y, State, Accept);
  };
  OnDragDrop = [this](TDragObject &Source, int X, int Y) { GridDragDrop(Source, X, Y); };
  OnEndDrag = [this](QWidget *Target, int X, int Y) { GridEndDrag(Target, X, Y); };
  // Posting only: the fill calls this from its own thread.
  m_link->SetEndNotifier(
      [this] { QMetaObject::invokeMethod(this, "FillsEnded", Qt::QueuedConnection); });
  LoadColumnMap();
}

TStockGrid::~TStockGrid() {
  // A fill keeps its own reference to the link and to the cell store: told
  // to stop, it ends at its next check and writes to nobody. After this no
  // fill can post to the grid; posted calls die with it.
  m_link->SetEndNotifier(nullptr);
  m_link->RequestStop();
  if (m_link->FillRunning.load())
    m_link->WaitIdle(kDestroyWaitMs);
  m_link.reset();
  if (DragSourceGrid == this)
    DragSourceGrid = nullptr;
  if (LastClickedGrid == this)
    LastClickedGrid = nullptr;
  if (GridPopupSource.Grid == this)
    GridPopupSource = TGridPopupSource();
  Symbols.Clear();
  WatchSymbols.clear();
}

bool TStockGrid::FillRunning() const { return m_link->FillRunning.load(); }
bool TStockGrid::StopFill() const { return m_link->StopFill.load(); }

// ---- Fill -------------------------------------------------------------------------------

bool TStockGrid::ShowStocks(const std::string &SymbolsText) {
  if (!isVisible() && GridKind != gkPrintGrid)
    return false;
  SavedSortCol.Set(GridKind, SortCol);
  SavedSortDown.Set(GridKind, SortDown);
  if (!isEnabled())
    return false;
  if (m_link->FillRunning.load()) {
    if (SymbolsText.empty())
      m_fillWaiting = true;
    return false;
  }

  TFillRequest request;
  request.GridKind = GridKind;
  request.WatchMode = WatchMode;
  request.PortfolioIndex = PortfolioIndex;
  request.ColPos = ColPos;
  request.Symbols.reserve(std::size_t(Symbols.Count()));
  for (int i = 0; i < Symbols.Count(); ++i)
    request.Symbols.push_back(Symbols[i]);
  if (RowsSorted)
    RowOrder = ValidRowOrder(RowOrder, Symbols.Count());
  request.RowsSorted = RowsSorted;
  request.RowOrder = RowOrder;
  request.ResetRowCount = ResetRowCount;
  request.Filter = SymbolsText;
  request.FillId = m_lastFillId + 1;
  TFillShape shape = CurrentShape();

  m_link->FillRunning.store(true);
  try {
    ShowStocksThread::Launch(std::move(request), std::make_unique<TStoreFillSink>(Store(), m_link),
                             m_link);
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), "SGShowAll");
    return false;
  }
  ++m_lastFillId;
  if (SymbolsText.empty()) {
    m_lastFullFill = std::move(shape);
    m_fillWaiting = false;
  } else if (!(shape == m_lastFullFill)) {
    // Some rows now hold another layout's texts than the others.
    m_lastFullFill = TFillShape();
  }
  ResetRowCount = false;
  return true;
}

// ---- Column map and view --------------------------------------------------------------

void TStockGrid::LoadColumnMap() {
  const int sortField = SortCol >= 0 ? FieldAtColumn(ColPos, SortCol) : -1;
  const bool hadMap = std::any_of(ColPos.begin(), ColPos.end(), [](int c) { return c != 0; });
  const ViewRecord &view = View ? *View : CurrentView;
  ColPos = BuildColumnMap(view.FieldCol, WatchMode, CurrentQuoteSite().ProvidedFields);
  if (hadMap)
    SortCol = sortField >= 0 ? ColPos[sortField] : -1;
}

TFont TStockGrid::ViewFont() const {
  const ViewRecord &view = View ? *View : CurrentView;
  TFont font = Font();
  font.Name = view.FontName.empty() ? std::string("Arial") : view.FontName;
  font.SetSize(view.FontSize > 0 ? view.FontSize : 8);
  font.Bold = view.Bold;
  font.Italic = view.Italic;
  return font;
}

TFont TStockGrid::FieldFont(int field) const {
  TFont font = ViewFont();
  const ViewRecord &view = View ? *View : CurrentView;
  if (field < 0 || field >= GridFieldCount)
    return font;
  const std::uint8_t style = view.FieldStyle[field];
  if (!(style & fsFieldKeepFont)) {
    font.Bold = (style & fsFieldBold) != 0;
    font.Italic = (style & fsFieldItalic) != 0;
  }
  return font;
}

int TStockGrid::MeasureTextWidth(const std::string &text) const {
  const QFont font = MeasureLabel ? MeasureLabel->font() : ToQFont(Font());
  return QFontMetrics(font).horizontalAdvance(QString::fromStdString(text));
}

int TStockGrid::MeasureTextHeight(const std::string &text) const {
  (void)text; // every text of a font is as high as the font's cell
  const QFont font = MeasureLabel ? MeasureLabel->font() : ToQFont(Font());
  return QFontMetrics(font).height();
}

int TStockGrid::ApplyView(bool Resort) {
  if (MeasureTextHeight("A") < kMinMeasurableHeight)
    return 0;
  try {
    const int oldCols = ColCount();
    if (WidthsValid)
      for (int f = 0; f < GridFieldCount; ++f)
        if (ColPos[f] >= 0 && ColPos[f] < oldCols)
          ColWidth[f] = ColWidths(ColPos[f]);
    LoadColumnMap();
    WidthsValid = true;
    SetColCount(std::max(ShownFieldCount(ColPos), 2));

    const TFont font = ViewFont();
    SetFont(font);
    if (MeasureLabel)
      MeasureLabel->setFont(ToQFont(font));

    const int cols = ColCount();
    for (int f = 0; f < GridFieldCount; ++f) {
      const int c = ColPos[f];
      if (c < 0 || c >= cols)
        continue;
      if (ColWidth[f] <= 0) {
        // Never laid out: as wide as its title or usual contents.
        ColWidth[f] =
            std::max(MeasureTextWidth(FieldLongTitle(f)), MeasureTextWidth(SampleText(f))) + 6;
      }
      if (ColWidths(c) != ColWidth[f])
        SetColWidths(c, ColWidth[f]);
    }
    SetDefaultRowHeight(MeasureTextHeight("A"));

    FitSymbolColumn();
    if (ColPos[gfSeparator] >= 0 && ColPos[gfSeparator] < cols)
      SetColWidths(ColPos[gfSeparator], kSeparatorColWidth);
    if (Resort) {
      // The cells still hold the previous layout: the sort fills first. A
      // sort field the view hides leaves the rows in list order.
      if (SortCol < 0)
        RowsSorted = false;
      SortRows(SortCol, true, false);
    }
    ProcessPendingRepaints();
    FitSymbolColumn();
    // The texts of a fill still to come are fitted by the owner's timer.
    FitSymbolPending = true;
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), "ApplyView");
  }
  return 0;
}

void TStockGrid::InvalidateRow(int Row) {
  if (parentWidget() && !parentWidget()->isVisible())
    return;
  TStringGrid::InvalidateRow(Row);
}

void TStockGrid::FitSymbolColumn() {
  // Column 0 in the symbol field's font; only texts written since the last
  // fit are measured (AutoFitMemo.h).
  TFitKey key;
  key.ColPos.fill(-1);
  key.ColPos[gfSymbol] = 0;
  key.Cols = 1; // the other columns do not matter here
  key.FixedRows = FixedRows();
  key.Fonts[gfSymbol] = FieldFont(gfSymbol);
  m_symbolFitMemo.Update(*Store(), key, [&](int field, const std::string &cell) {
    TCellFit fit;
    const std::string text = Trim(cell);
    if (!text.empty())
      fit.Width = m_symbolFitMemo.TextWidth(field, text);
    fit.Data = fit.Width > 0;
    return fit;
  });
  const int widest = m_symbolFitMemo.Field(gfSymbol).Widest();

  const int w = widest + kSymbolPadding;
  if (w == ColWidths(0))
    return;
  ColWidth[0] = w;
  const int least = MeasureTextWidth(kMinSymbolText);
  if (w <= least)
    ColWidth[0] = least;
  SetColWidths(0, ColWidth[0]);
}
