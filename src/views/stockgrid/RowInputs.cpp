#include "views/stockgrid/RowInputs.h"

#include "acquisition/HTTPSite.h"
#include "core/DisplaySettings.h"
#include "core/Log.h"
#include "platform/StringUtils.h"

#include <atomic>
#include <exception>

bool SnapshotPortfolio(int portfolioIndex, PortfolioSnapshot &snapshot) {
  snapshot = PortfolioSnapshot();
  const PortType *p = PortfolioList.At(portfolioIndex);
  if (!p)
    return false;
  snapshot.Key = p->Key;
  snapshot.Positions = p->Positions;
  for (int g = 0; g < PortGroupCount; ++g)
    snapshot.Groups[std::size_t(g)] = GroupTotalsOf(*p, g);
  snapshot.DayLow = p->DayLow;
  snapshot.DayHigh = p->DayHigh;
  snapshot.TickText = p->TickText;
  snapshot.RecalcTime = p->RecalcTime;
  return true;
}

CellTextSettings CurrentCellTextSettings() {
  const TDisplaySettings d = CurrentDisplaySettings();
  CellTextSettings s;
  s.ValuationPrice = d.ValuationPrice;
  s.HighBidAsk = d.HighBidAsk;
  s.Fractions = d.Fractions;
  s.SiteOffset = CurrentQuoteSite().GMTOFFSET;
  return s;
}

FieldMask VisibleFields(const std::array<int, GridFieldCount> &colPos, int colCount) {
  FieldMask m;
  for (int f = 0; f < GridFieldCount; ++f) {
    const int c = colPos[std::size_t(f)];
    if (c >= 0 && c < colCount)
      m.set(std::size_t(f));
  }
  return m;
}

namespace {

CellTextInputs BaseInputs(const RowPlace &place, const CellTextSettings &settings) {
  CellTextInputs in;
  in.GridKind = place.GridKind;
  in.WatchMode = place.WatchMode;
  in.Visible = place.Visible;
  in.Settings = settings;
  return in;
}

// The row's position: the list entry when its symbol matches, else the
// first position with the symbol.
const PortPosition *FindPosition(const PortfolioSnapshot &portfolio, int listIndex,
                                 const std::string &symbol) {
  const std::vector<PortPosition> &list = portfolio.Positions;
  // Equal texts first: the usual case, and cheaper than comparing without case.
  if (listIndex >= 0 && listIndex < int(list.size()) &&
      (list[std::size_t(listIndex)].Symbol == symbol ||
       SameText(list[std::size_t(listIndex)].Symbol, symbol)))
    return &list[std::size_t(listIndex)];
  for (const PortPosition &p : list)
    if (SameText(p.Symbol, symbol))
      return &p;
  return nullptr;
}

std::uint64_t NextReadingSerial() {
  static std::atomic<std::uint64_t> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

} // namespace

CellTextInputs GatherListRow(const std::string &symbol, int listIndex, int group,
                             const RowPlace &place, const PortfolioSnapshot *portfolio,
                             const CellTextSettings &settings, int *storeIndex,
                             StoreReading *reading) {
  // A list row carries only the totals its texts read (% Port's base, a
  // separator's group), so that its inputs stay equal while its texts do.
  CellTextInputs in = BaseInputs(place, settings);
  if (portfolio)
    in.Whole.PctBase = portfolio->Groups[0].PctBase;
  in.Symbol = symbol;
  in.Kind = RowKindOfSymbol(symbol);
  if (storeIndex)
    *storeIndex = -1;
  if (in.Kind == rkSeparator) {
    if (portfolio && group >= 0 && group < PortGroupCount)
      in.Group = portfolio->Groups[std::size_t(group)];
    return in;
  }
  if (reading && reading->Symbol == symbol && StoreUnchanged(reading->Seen)) {
    in.Quote = reading->Quote;
    in.Fund = reading->Fund;
    if (storeIndex)
      *storeIndex = reading->StoreIndex;
  } else {
    if (reading)
      *reading = StoreReading();
    try {
      StoreSighting seen;
      const int index = GetLast1(symbol, in.Quote, seen);
      if (storeIndex)
        *storeIndex = index;
      // A failed fundamentals read is not kept: the next pass reads again.
      if (GetFund(StoreKey(index, symbol), in.Fund) && reading) {
        reading->Serial = NextReadingSerial();
        reading->Symbol = symbol;
        reading->Seen = seen;
        reading->StoreIndex = index;
        reading->Quote = in.Quote;
        reading->Fund = in.Fund;
      }
    } catch (const std::exception &e) {
      if (LoggingOn)
        WriteLog(std::string("Showit4.5 ") + e.what(), 0);
    }
  }
  if (portfolio && !place.WatchMode) {
    if (const PortPosition *p = FindPosition(*portfolio, listIndex, symbol)) {
      in.HasPosition = true;
      in.Position = *p;
    }
  }
  return in;
}

bool ListRowUnchanged(const CellTextInputs &last, std::uint64_t lastSerial,
                      const StoreReading &reading, const std::string &symbol, int listIndex,
                      const RowPlace &place, const PortfolioSnapshot *portfolio,
                      const CellTextSettings &settings) {
  // The kind follows from the symbol: last's is that of this symbol.
  if (last.Kind != rkStock || reading.Serial == 0 || lastSerial != reading.Serial ||
      last.Symbol != symbol || reading.Symbol != symbol)
    return false;
  if (last.GridKind != place.GridKind || last.WatchMode != place.WatchMode ||
      last.Visible != place.Visible || !(last.Settings == settings))
    return false;
  // last holds the reading's quote and fundamentals (same serial).
  if (!StoreUnchanged(reading.Seen))
    return false;
  const PortPosition *position = nullptr;
  if (portfolio && !place.WatchMode)
    position = FindPosition(*portfolio, listIndex, symbol);
  if (last.HasPosition != (position != nullptr))
    return false;
  return !position || *position == last.Position;
}

CellTextInputs GatherTotalRow(const RowPlace &place, const PortfolioSnapshot &portfolio,
                              const CellTextSettings &settings) {
  CellTextInputs in = BaseInputs(place, settings);
  in.Whole = portfolio.Groups[0];
  in.DayLow = portfolio.DayLow;
  in.DayHigh = portfolio.DayHigh;
  in.PortTickText = portfolio.TickText;
  in.RecalcTime = portfolio.RecalcTime;
  in.Kind = rkTotal;
  in.Symbol = "TOTAL";
  return in;
}
