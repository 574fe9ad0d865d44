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
#include "views/stockgrid/RowInputs.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

namespace {

constexpr int kWriteAttempts = 3;
constexpr int kLastGroup = PortGroupCount - 1; // later separators share group 10

// Writes are tried a few times; a failure is dropped. True when one went through.
template <class F> bool Attempt(F &&write) {
  for (int i = 0; i < kWriteAttempts; ++i) {
    try {
      write();
      return true;
    } catch (...) {
    }
  }
  return false;
}

std::string ReadCell(const TGridFillSink &sink, int col, int row) {
  try {
    return sink.Cell(col, row);
  } catch (...) {
    return sink.Cell(col, row);
  }
}

void LogErrors(const CellTexts &texts) {
  if (!LoggingOn)
    return;
  for (const std::string &e : texts.Errors)
    WriteLog(e, 0);
}

// Writes the fields of one row where their texts differ from the cells'.
// Changed() tells whether a cell read differed.
class RowWriter {
public:
  RowWriter(TGridFillSink &sink, const TColumnMap &colPos, int row)
      : m_sink(sink), m_colPos(colPos), m_row(row), m_colCount(sink.ColCount()),
        m_rowCount(sink.RowCount()) {}

  // PutCell: writes a field's text when its column exists and the text differs.
  void PutCell(int field, const std::string &text) {
    const int c = Column(field);
    if (c >= 0 && ReadCell(m_sink, c, m_row) != text)
      Write(c, text);
  }

  // The fields from firstField on that the texts set. Cells are read up to
  // the first that differs; from there on they are written without reading
  // (the grid keeps a cell that is given its own text as it is).
  void PutAll(const CellTexts &texts, int firstField) {
    for (int f = firstField; f < GridFieldCount; ++f) {
      if (!texts.Has(f))
        continue;
      if (!m_changed)
        PutCell(f, texts.Text[f]);
      else if (const int c = Column(f); c >= 0)
        Write(c, texts.Text[f]);
    }
  }

  // The same, for a row known to hold the texts before (where those set a
  // field): only the fields whose text differs from before's are written.
  void PutChanges(const CellTexts &before, const CellTexts &texts, int firstField) {
    for (int f = firstField; f < GridFieldCount; ++f) {
      if (!texts.Has(f))
        continue;
      if (!before.Has(f))
        PutCell(f, texts.Text[f]);
      else if (before.Text[f] != texts.Text[f])
        if (const int c = Column(f); c >= 0)
          Write(c, texts.Text[f]);
    }
  }

  bool Changed() const { return m_changed; }

private:
  int Column(int field) const {
    if (field < 0 || field >= GridFieldCount)
      return -1;
    const int c = m_colPos[field];
    if (c < 0 || c > m_colCount - 1 || m_row > m_rowCount - 1)
      return -1;
    return c;
  }
  void Write(int col, const std::string &text) {
    m_changed = true;
    Attempt([&] { m_sink.SetCell(col, m_row, text); });
  }

  TGridFillSink &m_sink;
  const TColumnMap &m_colPos;
  int m_row;
  int m_colCount;
  int m_rowCount;
  bool m_changed = false;
};

// True when the row has the tag now.
bool WriteTag(TGridFillSink &sink, int row, std::intptr_t tag) {
  return sink.Object(0, row) == tag || Attempt([&] { sink.SetObject(0, row, tag); });
}

// Gives the row its tag, unless the memo knows it has it: the passes are the
// only writers of row tags, so a row nobody wrote since the memo's last look
// (unchanged) still has the tag that look gave it.
void TagRow(TGridFillSink &sink, TFillMemo *memo, int row, std::intptr_t tag, bool unchanged) {
  if (!memo) {
    WriteTag(sink, row, tag);
    return;
  }
  if (unchanged && memo->Tag(row) == tag)
    return;
  memo->SetTag(row, TFillMemo::UnknownTag); // until known written
  if (WriteTag(sink, row, tag))
    memo->SetTag(row, tag);
}

void RepaintRow(TGridFillSink &sink, int row) {
  Attempt([&] { sink.RepaintRow(row); });
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

// The texts last computed in a pass, for the next row with equal inputs
// (the separators of one group show the same totals). Shared with the memo,
// which knows from them what those rows hold on the next pass.
struct LastTexts {
  bool Valid = false;
  CellTextInputs Inputs;
  std::shared_ptr<const CellTexts> Texts;
};

// Writes a row's texts from fields firstField on: none, only % Port, or all
// of them, as the memo allows; then remembers what the row holds. version
// is the row's version in the sink now (0 without a memo). gathered null:
// the row's inputs are the memo's with % Port's base pctBase (the pass
// found them unchanged, ListRowUnchanged). Returns whether a cell changed.
bool WriteRowTexts(TGridFillSink &sink, TFillMemo *memo, const TColumnMap &colPos, int row,
                   std::uint64_t version, const CellTextInputs *gathered, double pctBase,
                   int firstField, LastTexts *last = nullptr) {
  TFillMemo::TReuse reuse = TFillMemo::TReuse::None;
  if (memo)
    reuse =
        gathered ? memo->Check(row, *gathered, version) : memo->CheckKnown(row, pctBase, version);
  if (reuse == TFillMemo::TReuse::All)
    return false; // the memo already holds these inputs and this version
  const CellTextInputs &inputs = gathered ? *gathered : *memo->Inputs(row);
  if (reuse == TFillMemo::TReuse::ShareOnly) {
    const double base = inputs.Whole.PctBase;
    TFillMemo::TShareMemo &known = *memo->ShareMemo(row);
    if (!known.SourceKnown) {
      known.Source = PortShareSource(inputs);
      known.SourceKnown = true;
    }
    const ShareSource &source = known.Source;
    // The row holds the remembered % Port text (its version says so). A raw
    // share inside that text's range gives it again without formatting.
    const std::string *held = memo->Share(row);
    double raw = 0;
    const bool hasRaw = source.Shown && source.HasPosition && ShareValue(source.Value, base, raw);
    if (hasRaw && held && known.Range.Contains(raw)) {
      memo->Rebase(row, base, version, held, known.Range);
      return false;
    }
    std::string share;
    bool hasShare = source.Shown;
    try {
      if (hasShare && source.HasPosition)
        share = ShareText(source.Value, base);
    } catch (...) {
      hasShare = false;
    }
    const TShareRange range = hasShare && hasRaw ? ShareRangeOf(raw) : TShareRange();
    // An equal text needs no look at the cell.
    if (!hasShare || (held && *held == share)) {
      memo->Rebase(row, base, version, hasShare ? &share : nullptr, range);
      return false;
    }
    RowWriter writer(sink, colPos, row);
    writer.PutCell(gfPctPort, share);
    memo->Rebase(row, base, writer.Changed() ? sink.RowVersion(row) : version, &share, range);
    return writer.Changed();
  }
  RowWriter writer(sink, colPos, row);
  // The version the row has after the writes (re-read only when one was made).
  const auto versionAfter = [&] { return writer.Changed() ? sink.RowVersion(row) : version; };
  // What the row holds, when the memo has the texts of its last pass and
  // nobody wrote the row since: then only the texts that differ are written.
  std::shared_ptr<const CellTexts> before;
  if (last && memo && memo->Holds(row, version))
    before = memo->Texts(row);
  // Equal inputs give equal texts.
  if (last && !(last->Valid && last->Inputs == inputs)) {
    last->Texts = std::make_shared<const CellTexts>(ComputeCellTexts(inputs));
    last->Inputs = inputs;
    last->Valid = true;
  }
  CellTexts computed;
  if (!last)
    computed = ComputeCellTexts(inputs);
  const CellTexts &texts = last ? *last->Texts : computed;
  LogErrors(texts);
  if (before)
    writer.PutChanges(*before, texts, firstField);
  else
    writer.PutAll(texts, firstField);
  if (memo) {
    const std::string *share = texts.Has(gfPctPort) ? &texts.Text[gfPctPort] : nullptr;
    std::shared_ptr<const CellTexts> shared = last ? last->Texts : nullptr;
    // A row whose texts failed keeps no memo: it is computed (and logged) again.
    if (!texts.Errors.empty())
      memo->Forget(row);
    else if (gathered)
      memo->Remember(row, *gathered, versionAfter(), share, std::move(shared));
    else
      memo->Confirm(row, versionAfter(), share, std::move(shared));
  }
  return writer.Changed();
}

class BatchScope {
public:
  explicit BatchScope(TGridFillSink &sink) : m_sink(sink) { m_sink.BeginBatch(); }
  ~BatchScope() { m_sink.EndBatch(); }

private:
  TGridFillSink &m_sink;
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
  TFillOutcome out;
  // Rows found unchanged open no batch on the grid.
  TLazyBatchSink sink(target);
  const auto stopped = [&] {
    if (stop && stop->load(std::memory_order_acquire)) {
      out.Stopped = true;
      return true;
    }
    return false;
  };
  const int kind = request.GridKind;
  // A literal: set many times per row, read only when something failed.
  const char *label = "0.1";
  try {
    if (!ValidGridKind(kind))
      return out;
    const int count = int(request.Symbols.size());
    if (count == 0) {
      // An emptied list shows no stale rows; a refresh of some symbols has
      // nothing to do.
      if (request.Filter.empty() && !stopped()) {
        BatchScope batch(sink);
        Attempt([&] { sink.SetRowCount(2); });
        const int cols = sink.ColCount();
        for (int c = 0; c < cols; ++c)
          if (!sink.Cell(c, 1).empty())
            Attempt([&] { sink.SetCell(c, 1, ""); });
        TagRow(sink, memo, 1, 0, false);
        RepaintRow(sink, 1);
        TruncateRowTables(kind, 1);
        out.LastWrittenRow = 1;
      }
      return out;
    }

    label = "0.33";
    if (request.ResetRowCount)
      Attempt([&] { sink.SetRowCount(count + 2); });
    const std::vector<int> order =
        request.RowsSorted ? ValidRowOrder(request.RowOrder, count) : ValidRowOrder({}, count);
    const CellTextSettings settings = CurrentCellTextSettings();
    RowPlace place;
    place.GridKind = kind;
    place.WatchMode = request.WatchMode;
    place.Visible = VisibleFields(request.ColPos, sink.ColCount());
    if (memo)
      memo->BeginPass(request.ColPos, sink.ColCount());

    // Read before any row's news look-up (NewsStore.h).
    const std::uint64_t newsGeneration = NewsGeneration();
    const std::uint64_t alertGeneration = AlertSystem().RowStateGeneration();
    int group = 1;
    LastTexts lastSeparator;
    try {
      for (int i = 0; i < count; ++i) {
        label = "9.1";
        if (stopped())
          return out;
        const int listIndex = order[std::size_t(i)] - 1;
        std::string symbol = request.Symbols[std::size_t(listIndex)];
        if (symbol.empty())
          symbol = " ";
        const int row = i + 1;
        if (row > sink.RowCount() - 1)
          Attempt([&] { sink.SetRowCount(i + 2); });

        const TCellRowKind rowKind = RowKindOfSymbol(symbol);
        bool selected = false;
        if (!request.Filter.empty()) {
          try {
            selected = rowKind == rkSeparator || FilterSelects(request.Filter, symbol);
          } catch (...) {
            selected = true;
          }
          if (!selected)
            continue; // keeps its cells
        }
        if (stopped())
          return out;
        ++out.RowsWorkedOn;
        out.LastWrittenRow = row;
        BatchScope batch(sink);

        if (rowKind == rkSeparator) {
          label = "9.15";
          const CellTextInputs inputs =
              GatherListRow(symbol, listIndex, group, place, portfolio, settings);
          const std::uint64_t version = memo ? sink.RowVersion(row) : 0;
          TagRow(sink, memo, row, SeparatorRowTag(row), memo && memo->Holds(row, version));
          WriteRowTexts(sink, memo, request.ColPos, row, version, &inputs, 0, 0, &lastSeparator);
          RepaintRow(sink, row);
          NewsRows.Set(kind, row, false);
          AlertRows.Set(kind, row, TAlertRowState());
          if (group < kLastGroup)
            ++group;
          continue;
        }

        label = "9.2";
        // A row whose inputs are known unchanged since the last pass (its
        // record not written since) is not gathered again.
        int storeIndex = -1;
        StoreReading *reading = memo ? memo->Reading(row) : nullptr;
        const CellTextInputs *last = memo ? memo->Inputs(row) : nullptr;
        const bool known = last && reading &&
                           ListRowUnchanged(*last, memo->InputsSerial(row), *reading, symbol,
                                            listIndex, place, portfolio, settings);
        std::optional<CellTextInputs> gathered;
        if (known)
          storeIndex = reading->StoreIndex;
        else
          gathered.emplace(GatherListRow(symbol, listIndex, group, place, portfolio, settings,
                                         &storeIndex, reading));
        std::uint64_t version = memo ? sink.RowVersion(row) : 0;
        try {
          TagRow(sink, memo, row, ListRowTag(listIndex), known && memo->Holds(row, version));
        } catch (const std::exception &e) {
          if (LoggingOn)
            WriteLog(std::string("SetObj ") + e.what(), 0);
        }

        label = "9.3";
        try {
          // A known row whose news nothing changed since its last look-up, and
          // whose bulb tables still hold what that look-up gave, is not looked
          // up again: it would set and repaint nothing.
          const bool newsKnown =
              known && reading->NewsGeneration == newsGeneration &&
              reading->NewsStoreIndex == storeIndex &&
              TableHolds(NewsRows, kind, row, reading->NewsUnread, reading->NewsRowsSeen) &&
              TableHolds(NewsRowTimes, kind, row, reading->NewsNewestUnread,
                         reading->NewsTimesSeen);
          if (!newsKnown) {
            TDateTime lastCheck = 0, newestUnread = 0;
            const bool unread = GetNewNews(StoreKey(storeIndex, symbol), lastCheck, newestUnread);
            const bool bitChanged = NewsRows.Set(kind, row, unread);
            const bool timeChanged = NewsRowTimes.Set(kind, row, newestUnread);
            if (bitChanged || timeChanged)
              RepaintRow(sink, row);
            if (reading && reading->Symbol == symbol) {
              reading->NewsGeneration = newsGeneration;
              reading->NewsStoreIndex = storeIndex;
              reading->NewsUnread = unread;
              reading->NewsNewestUnread = newestUnread;
              reading->NewsRowsSeen = reading->NewsTimesSeen = 0;
            }
          }
        } catch (const std::exception &e) {
          if (LoggingOn)
            WriteLog(std::string("Showit4.5 ") + e.what(), 0);
        }

        // An alert turned on or off since the row was last painted changes
        // its colours and bulb, whether or not a text changed.
        label = "9.35";
        try {
          // Skipped, as the news look-up, while nothing changed.
          const bool alertKnown =
              known && reading->AlertGeneration == alertGeneration &&
              TableHolds(AlertRows, kind, row, reading->Alert, reading->AlertRowsSeen);
          if (!alertKnown) {
            const TAlertRowState state = AlertStateOf(symbol);
            if (AlertRows.Set(kind, row, state))
              RepaintRow(sink, row);
            if (reading && reading->Symbol == symbol) {
              reading->AlertGeneration = alertGeneration;
              reading->Alert = state;
              reading->AlertRowsSeen = 0;
            }
          }
        } catch (const std::exception &e) {
          if (LoggingOn)
            WriteLog(std::string("STGRID Alert ") + e.what(), 0);
        }

        label = "9.4";
        bool symbolWritten = false;
        try {
          // A known row not written since the last pass still shows its symbol.
          const bool symbolShown = known && memo->Holds(row, version);
          if (!symbolShown && ReadCell(sink, 0, row) != symbol) {
            symbolWritten = true;
            Attempt([&] { sink.SetCell(0, row, symbol); });
            RepaintRow(sink, row);
          }
        } catch (const std::exception &e) {
          if (LoggingOn)
            WriteLog(std::string("STGRID Mark 4 ") + e.what(), 0);
        }
        if (symbolWritten && memo)
          version = sink.RowVersion(row);

        label = "9.5";
        const double pctBase = portfolio ? portfolio->Groups[0].PctBase : 0;
        if (WriteRowTexts(sink, memo, request.ColPos, row, version, gathered ? &*gathered : nullptr,
                          pctBase, 1) ||
            selected)
          RepaintRow(sink, row);
      }
    } catch (const std::exception &e) {
      ShowErrorReport(std::string(label) + " " + e.what(), "SGShow Results ");
      return out;
    }

    label = "14.1";
    if (stopped())
      return out;
    if (portfolio && ShowsPortfolioTotals(kind, request.WatchMode) &&
        TotalRowShown(portfolio->Groups[0])) {
      try {
        label = "14.5";
        const int row = count + 1;
        BatchScope batch(sink);
        // A grown list has just reached row count; the TOTAL row needs one more.
        if (sink.RowCount() < count + 2)
          Attempt([&] { sink.SetRowCount(count + 2); });
        NewsRows.Set(kind, row, false);
        NewsRowTimes.Set(kind, row, 0);
        AlertRows.Set(kind, row, TAlertRowState());
        TagRow(sink, memo, row, TotalRowTag, false);
        const CellTexts texts = ComputeCellTexts(GatherTotalRow(place, *portfolio, settings));
        LogErrors(texts);
        if (texts.AnnouncePortfolio)
          AppendUpdatedPortfolio(portfolio->Key, "PU");
        RowWriter writer(sink, request.ColPos, row);
        writer.PutAll(texts, 0);
        if (writer.Changed())
          RepaintRow(sink, row);
        ++out.RowsWorkedOn;
        out.LastWrittenRow = row;
        out.TotalWritten = true;
      } catch (const std::exception &e) {
        if (LoggingOn)
          WriteLog(std::string("PORT SHOW PROBLEM: ") + label + " " + e.what(), 0);
      }
    }

    label = "14.9";
    if (stopped())
      return out;
    // Rows below the list (and its TOTAL row) are left from a longer list.
    // Only a full pass knows where the grid ends.
    if (request.Filter.empty() && out.LastWrittenRow > 0 &&
        sink.RowCount() > out.LastWrittenRow + 1) {
      Attempt([&] { sink.SetRowCount(out.LastWrittenRow + 1); });
      TruncateRowTables(kind, out.LastWrittenRow + 1);
    }

    label = "15";
    if (stopped())
      return out;
    sink.SyncPoint();
  } catch (const std::exception &e) {
    ShowErrorReport(std::string(label) + " " + e.what(), "TSShowResults");
  } catch (...) {
    ShowErrorReport(std::string(label) + " unknown error", "TSShowResults");
  }
  return out;
}
