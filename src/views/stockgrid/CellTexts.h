#pragma once
// The texts of one quote-grid row: every field of a stock, cash, separator or
// TOTAL row, in portfolio and watch-list mode, as a pure function of the row's
// inputs. The texts are final: they carry the display marks ("<" at the day's
// low or a falling bid/ask, ">" at the high or a rising bid/ask, "-" no data,
// "--" cannot be computed) and the cash row's "-" masks, so the fill writes
// them as they are. RowInputs.h gathers the inputs from the stores.
#include "core/FieldTitles.h"
#include "core/Portfolio.h"
#include "core/StockStore.h"
#include "platform/DateTime.h"

#include <array>
#include <bitset>
#include <string>
#include <vector>

// One bit per grid field (0..44).
using FieldMask = std::bitset<GridFieldCount>;
FieldMask AllFields();

// What a grid row shows.
enum TCellRowKind {
  rkStock,     // any symbol of the list that is not one of the others
  rkCash,      // "$CASH"
  rkSeparator, // a symbol of "-" characters only
  rkTotal,     // the portfolio's TOTAL row below the list
};
// The kind of a list row from its symbol (never rkTotal).
TCellRowKind RowKindOfSymbol(const std::string &symbol);

// The totals of one portfolio group as RecalcPortfolio leaves them.
struct GroupTotals {
  double Value = 0;
  double PctBase = 0; // Value without a negative cash line
  double PrevValue = 0;
  double ValueChange = 0;
  double ValueChangePct = 0;
  double Gain = 0;
  double GainPct = 0;
  double PaidTotal = 0;
  friend bool operator==(const GroupTotals &, const GroupTotals &) = default;
};
// Group g (0 the whole portfolio, 1..10 the sections; others give zeros).
GroupTotals GroupTotalsOf(const PortType &portfolio, int group);

// The display settings the texts depend on.
struct CellTextSettings {
  int ValuationPrice = 0;  // TValuationPrice: 0 last, 1 bid, 2 ask
  bool HighBidAsk = false; // "Dynamic Bid/Ask Highlight": mark bid and ask ticks
  bool Fractions = false;  // prices as whole numbers and fractions
  double SiteOffset = 0;   // the quote site's GMTOFFSET, days added to quote times
  friend bool operator==(const CellTextSettings &, const CellTextSettings &) = default;
};

// Everything one row's texts are computed from. The members a fill pass
// looks at on every row come first, close together.
struct CellTextInputs {
  TCellRowKind Kind = rkStock;
  std::string Symbol;
  int GridKind = 1; // 1 main window, 2 watch list, 3 print grid
  bool WatchMode = false;
  // Fields shown by the grid; the others are neither computed nor written.
  FieldMask Visible = AllFields();
  CellTextSettings Settings;

  // Portfolio grids: the row's position. Without one the position fields
  // are emptied.
  bool HasPosition = false;
  PortPosition Position;

  // Portfolio totals.
  GroupTotals Whole; // group 0: % Port's base and the TOTAL row
  GroupTotals Group; // separator rows: the group the separator closes
  double DayLow = 0; // of the whole portfolio's value (TOTAL row)
  double DayHigh = 0;
  std::string PortTickText = "-";
  TDateTime RecalcTime = 0;

  // Stock and cash rows.
  QuoteData Quote; // as GetLast1 gives it
  FundData Fund;   // as GetFund gives it

  // Equal inputs give equal texts.
  friend bool operator==(const CellTextInputs &, const CellTextInputs &) = default;
};

// The texts of one row.
struct CellTexts {
  std::array<std::string, GridFieldCount> Text;
  // Fields to write; the others keep what their cell holds (hidden fields,
  // the Chart field of stock rows, fields whose text failed).
  FieldMask Set;
  // A TOTAL row with a value: the portfolio's key goes into the
  // updated-portfolios text (AppendUpdatedPortfolio).
  bool AnnouncePortfolio = false;
  // "label message" of each field that failed, for the log.
  std::vector<std::string> Errors;

  bool Has(int field) const { return field >= 0 && field < GridFieldCount && Set.test(field); }
};

// The texts of a row; never throws. Texts are cut to 255 characters.
CellTexts ComputeCellTexts(const CellTextInputs &in);
// The one text of a stock or cash row that depends on the whole portfolio,
// % Port, before formatting: Shown when ComputeCellTexts sets a % Port text;
// that text is empty without a position, else the share of the position's
// Value in the percentage base (ShareText).
struct ShareSource {
  bool Shown = false;
  bool HasPosition = false;
  double Value = 0;
};
ShareSource PortShareSource(const CellTextInputs &in);
// The share of a position worth value in a portfolio whose percentage base
// is base, in percent; false when there is none (a value of 0, a base of 0,
// a result out of range), and the text is then "--".
bool ShareValue(double value, double base, double &share);
// % Port of a position worth value: the share with one decimal, or "--".
std::string ShareText(double value, double base);

// Separator rows show their group's subtotal (and the grid a TOTAL row) in
// the main window's and the print dialog's grids outside watch-list mode.
bool ShowsPortfolioTotals(int gridKind, bool watchMode);
// A TOTAL row is shown unless the portfolio's value and paid total are both 0.
bool TotalRowShown(const GroupTotals &whole);
