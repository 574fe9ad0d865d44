#include "core/PortfolioCalc.h"

#include "core/DisplaySettings.h"
#include "core/Log.h"

#include <cmath>
#include <exception>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

// The figures of a position as last computed, with what they were computed
// from: a recalculation reuses them while the position, the valuation and
// its record's stamp are unchanged, so only the positions whose quote
// changed read the store. The totals are still summed over every position
// in list order, so they are the same sums to the last bit.
struct FiguresMemo {
  std::string Symbol;
  double Quantity = 0;
  float PricePaid = 0;
  float Commission = 0;
  int Valuation = -1;
  StoreSighting Seen;
  PositionFigures Figures;
};

// Per portfolio (by address; entries are checked field by field, so a
// portfolio at an address once used by another only misses).
std::mutex g_memoMutex;
std::unordered_map<const PortType *, std::vector<FiguresMemo>> g_memos;
constexpr std::size_t kMaxMemos = 64;

bool SameInputs(const FiguresMemo &m, const PortPosition &pos, int valuation) {
  return m.Valuation == valuation && m.Quantity == pos.Quantity && m.PricePaid == pos.PricePaid &&
         m.Commission == pos.Commission && m.Symbol == pos.Symbol && StoreUnchanged(m.Seen);
}

// The figures of a stock position from the store, kept in its memo.
PositionFigures StockFigures(const PortPosition &pos, int valuation, FiguresMemo &memo) {
  QuoteData q;
  GetLast1(pos.Symbol, q, memo.Seen);
  memo.Symbol = pos.Symbol;
  memo.Quantity = pos.Quantity;
  memo.PricePaid = pos.PricePaid;
  memo.Commission = pos.Commission;
  memo.Valuation = valuation;
  memo.Figures = ComputePosition(pos, q, valuation);
  return memo.Figures;
}

} // namespace

PositionFigures ComputePosition(const PortPosition &pos, const QuoteData &q, int valuation) {
  PositionFigures f;
  if (pos.IsSeparator() || pos.Symbol.empty())
    return f;
  f.Cash = pos.IsCash();
  if (f.Cash) {
    f.Price = 1.0;
    f.Value = pos.Quantity;
    f.Cost = f.Value;
    f.PrevValue = f.Value;
    f.Counted = f.Value != 0;
    return f;
  }
  f.Price = valuation == vpBid ? q.Bid : valuation == vpAsk ? q.Ask : q.Last;
  f.Value = pos.Quantity * f.Price;
  double cost = std::fabs(pos.Quantity * double(pos.PricePaid));
  if (pos.Quantity < 0 && f.Value != 0) // a short position gains as the price falls
    f.Value = 2 * std::fabs(cost) - std::fabs(f.Value);
  cost += pos.Commission;
  f.Cost = cost;
  // Without a previous close the position has no day's change: it adds
  // neither to the change nor to the value it is measured against.
  const bool changeKnown = q.Last != 0 && q.PrevClose != 0;
  f.ChangeValue = changeKnown ? q.Change * pos.Quantity : 0;
  f.PrevValue = changeKnown ? f.Value - f.ChangeValue : 0;
  f.Gain = f.Value - f.Cost;
  f.Counted = f.Value != 0;
  return f;
}

bool RecalcPortfolioTotals(PortType &p, int valuation, TDateTime now) {
  MyLockGuard guard(p.Lock, "RCLC", true);
  if (!guard.Owns()) {
    if (LoggingOn)
      WriteLog("RecalcPortfolio Error: portfolio " + p.Key + " is busy", 0);
    return false;
  }
  const double before = p.Value[0];
  // paid: the cost of every position; valuedCost: of those with a value,
  // the base of the gain, so that an unquoted symbol does not show as a loss.
  PortGroupValues value{}, base{}, prev{}, change{}, gain{}, paid{}, valuedCost{};
  std::lock_guard memoLock(g_memoMutex);
  if (g_memos.size() >= kMaxMemos && !g_memos.count(&p))
    g_memos.clear();
  std::vector<FiguresMemo> &memos = g_memos[&p];
  memos.resize(p.Positions.size());
  int group = 1;
  for (std::size_t i = 0; i < p.Positions.size(); ++i) {
    const PortPosition &pos = p.Positions[i];
    // Only stock positions have a memo: one still current is neither a
    // separator nor cash.
    const bool known = SameInputs(memos[i], pos, valuation);
    if (!known && pos.IsSeparator()) {
      if (group < PortGroupCount - 1)
        ++group;
      continue;
    }
    const PositionFigures f = known          ? memos[i].Figures
                              : pos.IsCash() ? ComputePosition(pos, QuoteData(), valuation)
                                             : StockFigures(pos, valuation, memos[i]);
    if (!f.Counted) {
      // A position without a price yet was still paid for.
      if (!f.Cash && f.Price == 0 && !pos.IsSeparator())
        for (int g : {0, group})
          paid[g] += f.Cost;
      continue;
    }
    for (int g : {0, group}) {
      value[g] += f.Value;
      if (!(f.Cash && f.Value < 0))
        base[g] += f.Value;
      prev[g] += f.PrevValue;
      change[g] += f.ChangeValue;
      gain[g] += f.Gain;
      paid[g] += f.Cost;
      valuedCost[g] += f.Cost;
    }
  }
  for (int g = 0; g < PortGroupCount; ++g) {
    p.Value[g] = value[g];
    p.PctBase[g] = base[g];
    p.PrevValue[g] = prev[g];
    p.ValueChange[g] = change[g];
    p.ValueChangePct[g] = prev[g] != 0 ? change[g] * 100 / prev[g] : 0;
    p.Gain[g] = gain[g];
    p.PaidTotal[g] = paid[g];
    p.GainPct[g] = valuedCost[g] != 0 ? gain[g] * 100 / valuedCost[g] : 0;
  }

  const double v = value[0];
  if (v != 0) {
    const bool newDay = p.LowHighDay != DateOf(now);
    p.LowHighDay = DateOf(now);
    if (newDay || p.DayLow == 0 || v < p.DayLow)
      p.DayLow = v;
    if (newDay || p.DayHigh == 0 || v > p.DayHigh)
      p.DayHigh = v;
    if (before != 0 && v > before)
      p.TickText = "U";
    else if (before != 0 && v < before)
      p.TickText = "D";
  }
  p.RecalcTime = now;
  return true;
}

bool RecalcPortfolio(int index) {
  try {
    PortType *p = PortfolioList.At(index);
    if (!p)
      return false;
    return RecalcPortfolioTotals(*p, CurrentDisplaySettings().ValuationPrice, StoreNow());
  } catch (const std::exception &e) {
    if (LoggingOn)
      WriteLog(std::string("RecalcPortfolio Error: ") + e.what(), 0);
    return false;
  }
}
