#include "views/stockgrid/GridFill.h"

#include "alerts/AlertsModule.h"
#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/NewsStore.h"
#include "core/StockStore.h"
#include "platform/StringUtils.h"
#include "views/stockgrid/CellTexts.h"
#include "views/stockgrid/FillMemo.h"
#include "views/stockgrid/LazyBatchSink.h"
#include "views/stockgrid/RowFill.h"
#include "views/stockgrid/RowInputs.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

namespace {

constexpr int kLastGroup = PortGroupCount - 1; // later separators share group 10

void RepaintRow(TGridFillSink &sink, int row) {
  AttemptWrite([&] { sink.RepaintRow(row); });
}

// The alert colour and active flag the painter will find for the symbol.
TAlertRowState AlertStateOf(const std::string &symbol) {
  TAlertRowState state;
  TDateTime age = 0;
  state.Color = AlertSystem().GetRowHighlight(Trim(symbol), state.Active, age, 0);
  return state;
}

// True when the table holds value for the row: unchanged since it was last
// found holding it (seen, its generation then), else compared; seen takes
// the generation of a successful comparison.
template <class T>
bool TableHolds(const TGridRowTable<T> &table, int kind, int row, const T &value,
                std::uint64_t &seen) {
  const std::uint64_t generation = table.Generation(kind);
  if (seen != 0 && generation == seen)
    return true;
  if (!(table.Get(kind, row) == value))
    return false;
  seen = generation;
  return true;
}

// Drops the per-row tables of the rows from rowCount on.
void TruncateRowTables(int kind, int rowCount) {
  NewsRows.Truncate(kind, rowCount);
  NewsRowTimes.Truncate(kind, rowCount);
  AlertRows.Truncate(kind, rowCount);
}

class BatchScope {
public:
  explicit BatchScope(TGridFillSink &sink) : m_sink(sink) { m_sink.BeginBatch(); }
  ~BatchScope() { m_sink.EndBatch(); }

private:
  TGridFillSink &m_sink;
};

// One pass, step by step: the list's rows in display order (separators and
// list entries), the TOTAL row, the rows a longer list left, the sync point.
class FillPass {
public:
  FillPass(const TFillRequest &request, const PortfolioSnapshot *portfolio, TGridFillSink &target,
           const std::atomic<bool> *stop, TFillMemo *memo)
      : m_request(request), m_portfolio(portfolio), m_sink(target), m_stop(stop),
        m_rows(m_sink, memo, request.ColPos), m_kind(request.GridKind),
        m_count(int(request.Symbols.size())) {}

  TFillOutcome Run() {
    try {
      if (!ValidGridKind(m_kind))
        return m_out;
      if (m_count == 0) {
        FillEmptyList();
        return m_out;
      }
      BeginRows();
      if (!FillListRows() || Stopped())
        return m_out;
      FillTotalRow();
      if (Stopped())
        return m_out;
      DropRowsBelow();
      m_label = "15";
      if (Stopped())
        return m_out;
      m_sink.SyncPoint();
    } catch (const std::exception &e) {
      ShowErrorReport(std::string(m_label) + " " + e.what(), "TSShowResults");
    } catch (...) {
      ShowErrorReport(std::string(m_label) + " unknown error", "TSShowResults");
    }
    return m_out;
  }

private:
  bool Stopped() {
    if (m_stop && m_stop->load(std::memory_order_acquire)) {
      m_out.Stopped = true;
      return true;
    }
    return false;
  }

  // An emptied list shows no stale rows; a refresh of some symbols has
  // nothing to do.
  void FillEmptyList() {
    if (!m_request.Filter.empty() || Stopped())
      return;
    BatchScope batch(m_sink);
    AttemptWrite([&] { m_sink.SetRowCount(2); });
    // Every column, shown or not.
    const int cols = m_sink.ColCount();
    for (int c = 0; c < cols; ++c)
      if (!m_sink.Cell(c, 1).empty())
        AttemptWrite([&] { m_sink.SetCell(c, 1, ""); });
    m_rows.BeginRow(1);
    m_rows.PutTag(0);
    RepaintRow(m_sink, 1);
    TruncateRowTables(m_kind, 1);
    m_out.LastWrittenRow = 1;
  }

  // What every row of the pass reads.
  void BeginRows() {
    m_label = "0.33";
    if (m_request.ResetRowCount)
      AttemptWrite([&] { m_sink.SetRowCount(m_count + 2); });
    m_order = m_request.RowsSorted ? ValidRowOrder(m_request.RowOrder, m_count)
                                   : ValidRowOrder({}, m_count);
    m_settings = CurrentCellTextSettings();
    m_place.GridKind = m_kind;
    m_place.WatchMode = m_request.WatchMode;
    m_place.Visible = VisibleFields(m_request.ColPos, m_sink.ColCount());
    m_rows.BeginPass();
    // Read before any row's news look-up (NewsStore.h).
    m_newsGeneration = NewsGeneration();
    m_alertGeneration = AlertSystem().RowStateGeneration();
  }

  // The rows of the list in display order; false when the pass ends here.
  bool FillListRows() {
    try {
      for (int i = 0; i < m_count; ++i) {
        m_label = "9.1";
        if (Stopped())
          return false;
        const int listIndex = m_order[std::size_t(i)] - 1;
        std::string symbol = m_request.Symbols[std::size_t(listIndex)];
        if (symbol.empty())
          symbol = " ";
        const int row = i + 1;
        if (row > m_sink.RowCount() - 1)
          AttemptWrite([&] { m_sink.SetRowCount(i + 2); });

        const TCellRowKind rowKind = RowKindOfSymbol(symbol);
        bool selected = false;
        if (!m_request.Filter.empty()) {
          try {
            selected = rowKind == rkSeparator || FilterSelects(m_request.Filter, symbol);
          } catch (...) {
            selected = true;
          }
          if (!selected)
            continue; // keeps its cells
        }
        if (Stopped())
          return false;
        ++m_out.RowsWorkedOn;
        m_out.LastWrittenRow = row;
        BatchScope batch(m_sink);
        m_rows.BeginRow(row);
        if (rowKind == rkSeparator)
          FillSeparatorRow(row, symbol, listIndex);
        else
          FillEntryRow(row, symbol, listIndex, selected);
      }
    } catch (const std::exception &e) {
      ShowErrorReport(std::string(m_label) + " " + e.what(), "SGShow Results ");
      return false;
    }
    return true;
  }

  // A separator shows the totals of the group it closes.
  void FillSeparatorRow(int row, const std::string &symbol, int listIndex) {
    m_label = "9.15";
    const CellTextInputs inputs =
        GatherListRow(symbol, listIndex, m_group, m_place, m_portfolio, m_settings);
    m_rows.PutTag(SeparatorRowTag(row));
    m_rows.PutTexts(&inputs, 0, 0, true);
    RepaintRow(m_sink, row);
    NewsRows.Set(m_kind, row, false);
    AlertRows.Set(m_kind, row, TAlertRowState());
    if (m_group < kLastGroup)
      ++m_group;
  }

  // A list entry: its inputs (not gathered again when known unchanged since
  // the last pass), tag, news bulb, alert colours, symbol and texts.
  void FillEntryRow(int row, const std::string &symbol, int listIndex, bool selected) {
    m_label = "9.2";
    int storeIndex = -1;
    StoreReading *reading = m_rows.Reading();
    const CellTextInputs *last = m_rows.KnownInputs();
    const bool known =
        last && reading &&
        ListRowUnchanged(*last, m_rows.KnownInputsSerial(), *reading, symbol, listIndex, m_place,
                         m_portfolio, m_settings);
    std::optional<CellTextInputs> gathered;
    if (known)
      storeIndex = reading->StoreIndex;
    else
      gathered.emplace(GatherListRow(symbol, listIndex, m_group, m_place, m_portfolio, m_settings,
                                     &storeIndex, reading));
    try {
      m_rows.PutTag(ListRowTag(listIndex));
    } catch (const std::exception &e) {
      if (LoggingOn)
        WriteLog(std::string("SetObj ") + e.what(), 0);
    }
    m_label = "9.3";
    UpdateNews(row, symbol, storeIndex, known ? reading : nullptr, reading);
    m_label = "9.35";
    UpdateAlert(row, symbol, known ? reading : nullptr, reading);

    m_label = "9.4";
    try {
      if (m_rows.PutSymbol(symbol, known))
        RepaintRow(m_sink, row);
    } catch (const std::exception &e) {
      if (LoggingOn)
        WriteLog(std::string("STGRID Mark 4 ") + e.what(), 0);
    }

    m_label = "9.5";
    const double pctBase = m_portfolio ? m_portfolio->Groups[0].PctBase : 0;
    if (m_rows.PutTexts(gathered ? &*gathered : nullptr, pctBase, 1) || selected)
      RepaintRow(m_sink, row);
  }

  // The row's news bulb. knownReading: the row is known unchanged and this
  // is its reading; a news look-up nothing changed since, whose bulb tables
  // still hold what it gave, is not made again (it would set and repaint
  // nothing). reading, when it reads the symbol, keeps what the look-up gave.
  void UpdateNews(int row, const std::string &symbol, int storeIndex, StoreReading *knownReading,
                  StoreReading *reading) {
    try {
      const bool newsKnown =
          knownReading && knownReading->NewsGeneration == m_newsGeneration &&
          knownReading->NewsStoreIndex == storeIndex &&
          TableHolds(NewsRows, m_kind, row, knownReading->NewsUnread, knownReading->NewsRowsSeen) &&
          TableHolds(NewsRowTimes, m_kind, row, knownReading->NewsNewestUnread,
                     knownReading->NewsTimesSeen);
      if (newsKnown)
        return;
      TDateTime lastCheck = 0, newestUnread = 0;
      const bool unread = GetNewNews(StoreKey(storeIndex, symbol), lastCheck, newestUnread);
      const bool bitChanged = NewsRows.Set(m_kind, row, unread);
      const bool timeChanged = NewsRowTimes.Set(m_kind, row, newestUnread);
      if (bitChanged || timeChanged)
        RepaintRow(m_sink, row);
      if (reading && reading->Symbol == symbol) {
        reading->NewsGeneration = m_newsGeneration;
        reading->NewsStoreIndex = storeIndex;
        reading->NewsUnread = unread;
        reading->NewsNewestUnread = newestUnread;
        reading->NewsRowsSeen = reading->NewsTimesSeen = 0;
      }
    } catch (const std::exception &e) {
      if (LoggingOn)
        WriteLog(std::string("Showit4.5 ") + e.what(), 0);
    }
  }

  // An alert turned on or off since the row was last painted changes its
  // colours and bulb, whether or not a text changed. Skipped, as the news
  // look-up, while nothing changed.
  void UpdateAlert(int row, const std::string &symbol, StoreReading *knownReading,
                   StoreReading *reading) {
    try {
      const bool alertKnown =
          knownReading && knownReading->AlertGeneration == m_alertGeneration &&
          TableHolds(AlertRows, m_kind, row, knownReading->Alert, knownReading->AlertRowsSeen);
      if (alertKnown)
        return;
      const TAlertRowState state = AlertStateOf(symbol);
      if (AlertRows.Set(m_kind, row, state))
        RepaintRow(m_sink, row);
      if (reading && reading->Symbol == symbol) {
        reading->AlertGeneration = m_alertGeneration;
        reading->Alert = state;
        reading->AlertRowsSeen = 0;
      }
    } catch (const std::exception &e) {
      if (LoggingOn)
        WriteLog(std::string("STGRID Alert ") + e.what(), 0);
    }
  }

  // A portfolio grid's TOTAL row below the list.
  void FillTotalRow() {
    m_label = "14.1";
    if (!m_portfolio || !ShowsPortfolioTotals(m_kind, m_request.WatchMode) ||
        !TotalRowShown(m_portfolio->Groups[0]))
      return;
    try {
      m_label = "14.5";
      const int row = m_count + 1;
      BatchScope batch(m_sink);
      // A grown list has just reached row count; the TOTAL row needs one more.
      if (m_sink.RowCount() < m_count + 2)
        AttemptWrite([&] { m_sink.SetRowCount(m_count + 2); });
      NewsRows.Set(m_kind, row, false);
      NewsRowTimes.Set(m_kind, row, 0);
      AlertRows.Set(m_kind, row, TAlertRowState());
      m_rows.BeginRow(row);
      m_rows.PutTag(TotalRowTag);
      const CellTexts texts = ComputeCellTexts(GatherTotalRow(m_place, *m_portfolio, m_settings));
      if (texts.AnnouncePortfolio)
        AppendUpdatedPortfolio(m_portfolio->Key, "PU");
      if (m_rows.PutUnkept(texts, 0))
        RepaintRow(m_sink, row);
      ++m_out.RowsWorkedOn;
      m_out.LastWrittenRow = row;
      m_out.TotalWritten = true;
    } catch (const std::exception &e) {
      if (LoggingOn)
        WriteLog(std::string("PORT SHOW PROBLEM: ") + m_label + " " + e.what(), 0);
    }
  }

  // Rows below the list (and its TOTAL row) are left from a longer list.
  // Only a full pass knows where the grid ends.
  void DropRowsBelow() {
    m_label = "14.9";
    if (m_request.Filter.empty() && m_out.LastWrittenRow > 0 &&
        m_sink.RowCount() > m_out.LastWrittenRow + 1) {
      AttemptWrite([&] { m_sink.SetRowCount(m_out.LastWrittenRow + 1); });
      TruncateRowTables(m_kind, m_out.LastWrittenRow + 1);
    }
  }

  const TFillRequest &m_request;
  const PortfolioSnapshot *m_portfolio;
  // Rows found unchanged open no batch on the grid.
  TLazyBatchSink m_sink;
  const std::atomic<bool> *m_stop;
  TRowFill m_rows;
  const int m_kind;
  const int m_count;
  TFillOutcome m_out;
  // A literal: set many times per row, read only when something failed.
  const char *m_label = "0.1";
  std::vector<int> m_order;
  CellTextSettings m_settings;
  RowPlace m_place;
  std::uint64_t m_newsGeneration = 0;
  std::uint64_t m_alertGeneration = 0;
  int m_group = 1;
};

} // namespace

std::vector<int> ValidRowOrder(const std::vector<int> &order, int count) {
  std::vector<int> identity(std::size_t(std::max(count, 0)));
  for (int i = 0; i < count; ++i)
    identity[std::size_t(i)] = i + 1;
  if (int(order.size()) != count)
    return identity;
  std::vector<bool> seen(std::size_t(count), false);
  for (int v : order) {
    if (v < 1 || v > count || seen[std::size_t(v - 1)])
      return identity;
    seen[std::size_t(v - 1)] = true;
  }
  return order;
}

bool FilterSelects(const std::string &filter, const std::string &symbol) {
  return UpperCase(filter).find("|" + UpperCase(symbol) + "|") != std::string::npos;
}

TFillOutcome ShowResults(const TFillRequest &request, const PortfolioSnapshot *portfolio,
                         TGridFillSink &target, const std::atomic<bool> *stop, TFillMemo *memo) {
  return FillPass(request, portfolio, target, stop, memo).Run();
}
