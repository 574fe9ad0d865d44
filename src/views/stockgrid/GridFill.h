#pragma once
// One fill pass of a quote grid: for every row of the grid's symbol list the
// texts of its visible fields (CellTexts.h) are written into the grid, cell
// by cell, only where they changed; a portfolio grid ends with its TOTAL row.
//
// The pass reaches the grid only through a TGridFillSink (the grid's cell
// store, or a recording sink in tests) and works on a TFillRequest taken on
// the window thread when the fill was asked for, so it never reads the
// grid's own fields while the window thread may change them.
#include "core/FieldTitles.h"
#include "views/stockgrid/ColumnMap.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct PortfolioSnapshot;
class TFillMemo;

// The cells, cell objects, row count and repaints of the grid being filled.
class TGridFillSink {
public:
  virtual ~TGridFillSink() = default;

  virtual int ColCount() const = 0;
  virtual int RowCount() const = 0;
  virtual void SetRowCount(int rows) = 0;
  virtual std::string Cell(int col, int row) const = 0;
  virtual void SetCell(int col, int row, const std::string &text) = 0;
  virtual std::intptr_t Object(int col, int row) const = 0;
  virtual void SetObject(int col, int row, std::intptr_t object) = 0;
  // Changes whenever a text or the object of a cell of the row changes; 0
  // when the sink keeps no versions (the pass then computes every row).
  virtual std::uint64_t RowVersion(int row) const {
    (void)row;
    return 0;
  }
  virtual void RepaintRow(int row) = 0;
  // The pass's last step: one call into the window thread that waits until
  // the window thread has taken it. False when it gave up.
  virtual bool SyncPoint() = 0;
  // Around the writes of one row (the grid repaints once per batch).
  virtual void BeginBatch() {}
  virtual void EndBatch() {}
};

// What a pass fills, copied from the grid when the fill is asked for.
struct TFillRequest {
  int GridKind = 0;
  bool WatchMode = false;
  int PortfolioIndex = -1; // 1-based; -1 none, 0 the watch list
  TColumnMap ColPos{};
  std::vector<std::string> Symbols; // the grid's list, one row per entry
  bool RowsSorted = false;
  std::vector<int> RowOrder; // per display position, the 1-based list index
  bool ResetRowCount = false;
  // Empty for a full pass; else the refreshed symbols, each as "|" + symbol + "|".
  std::string Filter;
  // The grid's number for this fill, handed back with its end notice.
  std::uint64_t FillId = 0;
};

// Row tags: the object of a row's symbol cell.
constexpr std::intptr_t SeparatorRowTagBase = 10001;
constexpr std::intptr_t TotalRowTag = 12000;
constexpr std::intptr_t ListRowTag(int listIndex) { return listIndex + 1; }
constexpr std::intptr_t SeparatorRowTag(int row) { return SeparatorRowTagBase + (row - 1); }

// A display order for count rows: order itself when its first count entries
// are a permutation of 1..count and it has no more; otherwise 1..count.
std::vector<int> ValidRowOrder(const std::vector<int> &order, int count);
// The filter names the symbol ("|" + symbol + "|"), letter case ignored.
bool FilterSelects(const std::string &filter, const std::string &symbol);

// What a pass did.
struct TFillOutcome {
  bool Stopped = false;   // ended early by the stop flag
  int RowsWorkedOn = 0;   // list rows computed (and the TOTAL row)
  int LastWrittenRow = 0; // 0 when no row was written
  bool TotalWritten = false;
};

// One pass (the fill thread's ShowResults). portfolio is the snapshot of the
// grid's portfolio (null for the watch list or when there is none); stop,
// when given, ends the pass at the next check once set. memo, when given,
// is the grid's record of earlier passes: rows whose inputs did not change
// are neither computed nor read again (the writes and repaints are those of
// a pass without it). Never throws: failures are logged or reported.
TFillOutcome ShowResults(const TFillRequest &request, const PortfolioSnapshot *portfolio,
                         TGridFillSink &sink, const std::atomic<bool> *stop = nullptr,
                         TFillMemo *memo = nullptr);
