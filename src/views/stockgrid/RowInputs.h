#pragma once
// Gathers the inputs of a grid row's texts (CellTexts.h) from the stores: the
// quote (GetLast1), the fundamentals (GetFund), the row's position and the
// portfolio totals (a snapshot of the portfolio taken once per pass) and the
// display settings. Safe to call from the fill thread.
#include "views/stockgrid/CellTexts.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A copy of one portfolio for a fill pass.
struct PortfolioSnapshot {
  std::string Key;
  std::vector<PortPosition> Positions;
  std::array<GroupTotals, PortGroupCount> Groups{}; // 0 the whole portfolio
  double DayLow = 0;
  double DayHigh = 0;
  std::string TickText = "-";
  TDateTime RecalcTime = 0;
};

// Copies PortfolioList[portfolioIndex] (1-based). False, and an empty
// snapshot, outside the list. The caller holds the "PORT" lock.
bool SnapshotPortfolio(int portfolioIndex, PortfolioSnapshot &snapshot);

// The display settings and the current quote site's time offset, read once
// per pass.
CellTextSettings CurrentCellTextSettings();

// The fields a grid shows: those with a column in 0..colCount-1.
FieldMask VisibleFields(const std::array<int, GridFieldCount> &colPos, int colCount);

// Where a row is shown.
struct RowPlace {
  int GridKind = 1;
  bool WatchMode = false;
  FieldMask Visible = AllFields();
};

// What GatherListRow read from the store for one row, kept between passes:
// while the symbol is the same and its record was not written since, the
// row's quote and fundamentals are taken from here instead of the store.
struct StoreReading {
  std::string Symbol;
  StoreSighting Seen; // no record: read again every time
  int StoreIndex = -1;
  // Unique in the process for each reading taken (0 none): inputs gathered
  // from a reading with this serial hold its quote and fundamentals.
  std::uint64_t Serial = 0;
  // The row's news look-up: what it gave, under which store index and at
  // which NewsGeneration; NewsGeneration 0 when not looked up since this
  // reading.
  std::uint64_t NewsGeneration = 0;
  int NewsStoreIndex = -1;
  bool NewsUnread = false;
  TDateTime NewsNewestUnread = 0;
  // The same for the row's alert state (AlertSystemClass::RowStateGeneration).
  std::uint64_t AlertGeneration = 0;
  TAlertRowState Alert;
  // The generations of the row tables (NewsRows, NewsRowTimes, AlertRows)
  // at which they were last found holding the values above; 0 unknown.
  std::uint64_t NewsRowsSeen = 0;
  std::uint64_t NewsTimesSeen = 0;
  std::uint64_t AlertRowsSeen = 0;
  // Last: a pass that finds the row unchanged does not look at them.
  QuoteData Quote;
  FundData Fund;
};

// The inputs of a list row; its kind follows from the symbol (stock, cash or
// separator). listIndex is the row's 0-based entry in the grid's list, which
// in a portfolio grid is the position's index (a position whose symbol does
// not match is looked up by symbol). group is the group counter of the pass
// (used by separator rows). portfolio is null in the watch list. storeIndex,
// when given, receives GetLast1's store index (-1 for separators and
// symbols without a record). A failed read is logged ("Showit4.5 ") and the
// row goes on with what was read. reading, when given, is the row's last
// reading: used when still current, else renewed.
CellTextInputs GatherListRow(const std::string &symbol, int listIndex, int group,
                             const RowPlace &place, const PortfolioSnapshot *portfolio,
                             const CellTextSettings &settings, int *storeIndex = nullptr,
                             StoreReading *reading = nullptr);

// True when GatherListRow would give last again but for % Port's base
// (Whole.PctBase): a stock row of the same symbol and place, with the same
// position, gathered from reading (lastSerial is the Serial of the reading
// last was gathered from), whose record was not written since. Reads no
// store. Cash rows (their quote time is the clock's) and separators are
// never known.
bool ListRowUnchanged(const CellTextInputs &last, std::uint64_t lastSerial,
                      const StoreReading &reading, const std::string &symbol, int listIndex,
                      const RowPlace &place, const PortfolioSnapshot *portfolio,
                      const CellTextSettings &settings);

// The inputs of the TOTAL row of a portfolio.
CellTextInputs GatherTotalRow(const RowPlace &place, const PortfolioSnapshot &portfolio,
                              const CellTextSettings &settings);
