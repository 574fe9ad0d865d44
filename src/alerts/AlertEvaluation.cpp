#include "alerts/AlertEvaluation.h"
#include "alerts/AlertEvaluationBounds.h"

#include "acquisition/UpdatedSymbols.h"
#include "alerts/AlertLog.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertSystem.h"
#include "alerts/PendingAlertQueue.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/NewsStore.h"
#include "core/StockStore.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <unordered_map>

namespace {

constexpr double Tol = AlertValueTolerance;

// Price alerts: P2 names the tick field, P3 = 1.0 means "any time".
constexpr double BasedOnLast = 1.0;
constexpr double BasedOnBid = 2.0;
constexpr double BasedOnAsk = 3.0;
constexpr double AnyTime = 1.0;
// Column alerts: P2 0.0 greater / upward, 1.0 less / downward.
constexpr double Upward = 0.0;
constexpr double Downward = 1.0;

// The tick value a price alert reads, from its P2; tvCount for none.
TTickValue TickValueOf(double basedOn) {
  if (basedOn == BasedOnLast)
    return tvLast;
  if (basedOn == BasedOnBid)
    return tvBid;
  if (basedOn == BasedOnAsk)
    return tvAsk;
  return tvCount;
}

// The tick field a price alert reads, from its P2; null for none.
const float TickEntry::*TickMemberOf(double basedOn) {
  if (basedOn == BasedOnLast)
    return &TickEntry::Last;
  if (basedOn == BasedOnBid)
    return &TickEntry::Bid;
  if (basedOn == BasedOnAsk)
    return &TickEntry::Ask;
  return nullptr;
}

// Tick values are single precision: shown with the digits they carry.
std::string TickText(double v) { return FloatToStrF(v, ffGeneral, 7, 0); }

// The result of looking at one alert.
struct Check {
  bool Triggered = false;
  double Value = 0;
};

// Evaluates one alert. The caller holds the store lock and the tick-list lock
// of the alert's symbol.
class AlertStep {
public:
  AlertStep(TAlertRecord &alert, const StockInfoType &stock, int storeIndex, TTickBounds &bounds,
            TDateTime now, double repeatMinutes,
            const std::function<void(const std::string &)> &log, const Clock &clock)
      : m_alert(alert), m_stock(stock), m_storeIndex(storeIndex), m_bounds(bounds), m_now(now),
        m_repeatMinutes(repeatMinutes), m_log(log), m_clock(clock),
        m_low(alert.AlertType == AlertTypeLowPrice), m_anyTime(alert.P3 == AnyTime),
        m_member(TickMemberOf(alert.P2)), m_column(Round(alert.P1)),
        m_validColumn(IsValidColumnIndex(m_column)),
        m_crossingColumn(alert.P4 != 0 && IsCrossingColumn(m_column)),
        m_limitUp(alert.P1 + Tol), m_limitDown(alert.P1 - Tol) {}

  Check Evaluate() {
    const int count = m_stock.Ticks.Count();
    // A new or reset alert looks only at the newest tick.
    if (m_alert.TickIndex > count || m_alert.TickIndex < 0)
      m_alert.TickIndex = count - 1;
    switch (m_alert.AlertType) {
    case AlertTypeLowPrice:
    case AlertTypeHighPrice:
      if (count <= 0)
        return {};
      if (NoTickCanMeet(count))
        return SkipTicks(count);
      if (m_anyTime)
        return m_low ? WalkPrice<true, true>(count) : WalkPrice<true, false>(count);
      return m_low ? WalkPrice<false, true>(count) : WalkPrice<false, false>(count);
    case AlertTypeColumn:
      if (count <= 0)
        return {};
      if (m_alert.TickIndex < count && !AnyTickCanTrigger(count))
        return SkipTicks(count);
      if (NoTickCanMeet(count))
        return SkipTicks(count);
      return m_crossingColumn ? WalkColumn<true>(count) : WalkColumn<false>(count);
    case AlertTypeNews:
      return News();
    default:
      return {};
    }
  }

private:
  // A tick that meets the alert's condition; Zero marks a value that is no
  // real reading (a zero price, no volume) and so never triggers.
  struct Candidate {
    bool Met = false;
    bool Zero = false;
    double Value = 0;
  };
  bool Logging() const { return bool(m_log); }

  // Ends where a walk that found nothing ends.
  Check SkipTicks(int count) {
    m_alert.TickIndex = count;
    return {};
  }

  // True when no tick after TickIndex can meet the alert's condition, by the
  // bounds of their values: a walk would find nothing, log nothing and end
  // at count. Only the tick's own value is checked (a crossing also needs
  // the tick before), so the answer errs towards walking.
  bool NoTickCanMeet(int count) {
    if (m_alert.TickIndex >= count)
      return false; // nothing to walk
    if (m_alert.AlertType != AlertTypeColumn) {
      const TTickValue v = TickValueOf(m_alert.P2);
      if (v == tvCount)
        return false;
      m_bounds.Cover(m_stock.Ticks, m_alert.TickIndex, count);
      return m_low ? m_bounds.Min(v) > m_limitUp : m_bounds.Max(v) < m_limitDown;
    }
    if (!m_validColumn)
      return false;
    TTickValue v = tvCount;
    double scale = 1.0;
    if (m_column == ColumnSpread) {
      v = tvSpread;
    } else if (m_column == ColumnVolume) {
      v = tvVolume;
    } else if (m_column == ColumnVolumePercent) {
      // The percentage grows with the volume only for a positive average.
      const double averageVolume = m_stock.AvgVolume;
      if (!(averageVolume >= Tol) || !std::isfinite(averageVolume))
        return false;
      v = tvVolume;
      scale = averageVolume;
    }
    if (v == tvCount)
      return false;
    m_bounds.Cover(m_stock.Ticks, m_alert.TickIndex, count);
    double low = m_bounds.Min(v);
    double high = m_bounds.Max(v);
    if (v == tvVolume && scale != 1.0) {
      low = low * 100.0 / scale;
      high = high * 100.0 / scale;
    }
    // A crossing reads a zero as 1.0.
    if (m_crossingColumn && low <= 0 && high >= 0) {
      low = std::min(low, 1.0);
      high = std::max(high, 1.0);
    }
    const double limit = m_alert.P3;
    if (m_alert.P2 == Upward)
      return high < limit - Tol;
    if (m_alert.P2 == Downward)
      return low > limit + Tol;
    return false;
  }
  std::string Prefix() const { return "Alert ID " + m_alert.ID + " "; }

  // Walks the ticks after TickIndex one at a time and stops at the first one
  // that triggers.
  template <class CandidateOf> Check WalkTicks(int count, CandidateOf &&candidateOf) {
    const TickEntry *entries = m_stock.Ticks.Entries().data();
    int index = m_alert.TickIndex;
    Check check;
    while (index < count) {
      index = std::min(index + 1, count);
      const TickEntry &tick = entries[index - 1];
      const TickEntry *previous = index >= 2 ? &entries[index - 2] : nullptr;
      const Candidate c = candidateOf(tick, previous, count);
      if (!c.Met || c.Zero)
        continue;
      if (WithinThreshold()) {
        if (Logging())
          m_log(Prefix() + "   ** cancelled - within the threshhold!");
        continue;
      }
      check = Check{true, c.Value};
      break;
    }
    m_alert.TickIndex = index;
    return check;
  }

  // False when the walk is known to find no candidate: a column alert on an
  // unknown column, or on a value of the symbol rather than of its ticks
  // (the same for every tick) that is not met or no real reading.
  bool AnyTickCanTrigger(int count) {
    if (!m_validColumn)
      return false;
    if (m_crossingColumn || m_column == ColumnSpread || m_column == ColumnVolume ||
        m_column == ColumnVolumePercent)
      return true;
    const TickEntry &newest = m_stock.Ticks.Entries()[std::size_t(count - 1)];
    const Candidate c = ColumnCandidate<false>(newest, nullptr, count);
    return c.Met && !c.Zero;
  }

  bool WithinThreshold() const {
    return m_repeatMinutes >= (m_now - m_alert.LastAlertTime) * HoursPerDay * 60.0;
  }

  // The walk of a price alert, made for its mode and direction.
  template <bool AnyTime, bool Low> Check WalkPrice(int count) {
    return WalkTicks(count, [this](const TickEntry &tick, const TickEntry *previous, int n) {
      return PriceCandidate<AnyTime, Low>(tick, previous, n);
    });
  }

  // The price field the alert reads (P2), 0 for none.
  double Price(const TickEntry &tick) const { return m_member ? double(tick.*m_member) : 0.0; }

  template <bool AnyTime, bool Low>
  Candidate PriceCandidate(const TickEntry &tick, const TickEntry *previous, int count) {
    Candidate c;
    if constexpr (AnyTime) {
      const double v = Price(tick);
      c.Value = v;
      c.Zero = std::fabs(v) < Tol;
      c.Met = Low ? v <= m_limitUp : v >= m_limitDown;
      if (c.Met && Logging())
        LogPriceCandidate(" Current=" + TickText(v));
    } else {
      if (count <= 1 || !previous)
        return c;
      const double current = Price(tick);
      const double before = Price(*previous);
      c.Value = current;
      c.Met = current != before && (Low ? current <= m_limitUp && before >= m_limitDown
                                        : current >= m_limitDown && before <= m_limitUp);
      if (c.Met && Logging())
        LogPriceCandidate(" Current=" + TickText(current) + " Previous=" + TickText(before));
    }
    return c;
  }

  void LogPriceCandidate(const std::string &detail) const {
    m_log(Prefix() + FormatDateTime("hh:mm:ss", m_now) +
          (m_low ? " TRIGGERED LOW for " : " TRIGGERED HIGH for ") + m_alert.Symbol + "@" +
          FloatToStr(m_alert.P1) + detail);
  }

  // The walk of a column alert, made for crossing or any-time mode.
  template <bool Crossing> Check WalkColumn(int count) {
    return WalkTicks(count, [this](const TickEntry &tick, const TickEntry *previous, int n) {
      return ColumnCandidate<Crossing>(tick, previous, n);
    });
  }

  template <bool Crossing>
  Candidate ColumnCandidate(const TickEntry &tick, const TickEntry *previous, int count) {
    const long long column = m_column;
    const double limit = m_alert.P3;
    const double averageVolume = m_stock.AvgVolume;
    Candidate c;
    c.Value = tick.Last;
    if (!m_validColumn)
      return c;

    if constexpr (Crossing) {
      if (count <= 1 || !previous)
        return c;
      double current = 0;
      double before = 0;
      if (column == ColumnVolume) {
        current = tick.Volume;
        before = previous->Volume;
      } else if (column == ColumnVolumePercent) {
        // Without an average volume there is no percentage to cross.
        if (averageVolume == 0)
          return c;
        current = double(tick.Volume) * 100.0 / averageVolume;
        before = double(previous->Volume) * 100.0 / averageVolume;
      } else {
        current = double(tick.Ask) - tick.Bid;
        before = double(previous->Ask) - previous->Bid;
      }
      if (current == 0)
        current = 1.0;
      if (m_alert.P2 == Upward)
        c.Met = current >= limit - Tol && before <= limit - Tol && current != before;
      else if (m_alert.P2 == Downward)
        c.Met = current <= limit + Tol && before > limit + Tol && current != before;
      return c;
    }

    double v = 0;
    switch (column) {
    case ColumnChange:
      // No previous close: no change.
      if (std::fabs(m_stock.PrevClose) < Tol) {
        c.Zero = true;
        return c;
      }
      v = double(m_stock.Last) - m_stock.PrevClose;
      break;
    case ColumnChangePercent:
      // No previous close: no percentage change.
      if (std::fabs(m_stock.PrevClose) < Tol) {
        c.Zero = true;
        return c;
      }
      v = (double(m_stock.Last) - m_stock.PrevClose) * 100.0 / m_stock.PrevClose;
      break;
    case ColumnSpread:
      v = double(tick.Ask) - tick.Bid;
      break;
    case ColumnLow:
      v = m_stock.Low;
      break;
    case ColumnHigh:
      v = m_stock.High;
      break;
    case ColumnVolume:
      v = tick.Volume;
      break;
    case ColumnVolumePercent:
      if (std::fabs(averageVolume) < Tol)
        c.Zero = true;
      else
        v = double(tick.Volume) * 100.0 / averageVolume;
      break;
    case ColumnTrades:
      v = m_stock.NumTrades;
      break;
    default:
      return c;
    }
    if (column >= ColumnLow)
      c.Zero = c.Zero || std::fabs(v) < Tol;
    if (m_alert.P2 == Upward)
      c.Met = v >= limit - Tol;
    else if (m_alert.P2 == Downward)
      c.Met = v <= limit + Tol;
    return c;
  }

  // P5 holds the time of the newest item already seen: 0 before the first
  // look, 1.0 when there was none.
  Check News() {
    TDateTime lastCheck = 0;
    TDateTime newest = 0;
    const bool hasNews = GetNewNews(StoreKey(m_storeIndex, m_stock.Symbol), lastCheck, newest);
    Check check;
    if (m_alert.P5 == 0) {
      m_alert.P5 = hasNews ? newest : 1.0;
    } else if (hasNews) {
      const TDateTime easternNow = UtcToEastern(m_clock.NowUtc());
      if (newest > m_alert.P5 && easternNow - newest <= m_alert.P1 / HoursPerDay)
        check = Check{true, m_stock.Last};
      m_alert.P5 = newest;
    } else {
      m_alert.P5 = 1.0;
    }
    return check;
  }

  TAlertRecord &m_alert;
  const StockInfoType &m_stock;
  const int m_storeIndex;
  TTickBounds &m_bounds;
  const TDateTime m_now;
  const double m_repeatMinutes;
  const std::function<void(const std::string &)> &m_log;
  const Clock &m_clock;
  // What the alert's parameters mean, worked out once per alert.
  const bool m_low;
  const bool m_anyTime;
  const float TickEntry::*const m_member;
  const long long m_column;
  const bool m_validColumn;
  const bool m_crossingColumn;
  // A price alert's limit with the tolerance either way.
  const double m_limitUp;
  const double m_limitDown;
};

// An updated symbol and, once an alert asked for it, its store record.
// Records are never freed and keep their index, so a pass looks each symbol
// up once; a symbol not found is looked up again by its next alert.
struct UpdatedStock {
  bool Found = false;
  int StoreIndex = -1;
  StockInfoType *Stock = nullptr;
  // The bounds of the symbol's new ticks, shared by its alerts.
  TTickBounds Bounds;
};
// A symbol is the same whatever its letter case: an alert on "ko" follows the
// updates of "KO". Hash and compare without regard to case, copying nothing.
struct NoCaseHash {
  std::size_t operator()(const std::string &s) const noexcept {
    std::size_t h = 14695981039346656037ull;
    for (const char c : s) {
      h ^= static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
      h *= 1099511628211ull;
    }
    return h;
  }
};
struct NoCaseEqual {
  bool operator()(const std::string &a, const std::string &b) const { return SameText(a, b); }
};
using UpdatedStocks = std::unordered_map<std::string, UpdatedStock, NoCaseHash, NoCaseEqual>;

UpdatedStocks SymbolSet(const std::string &text) {
  UpdatedStocks stocks;
  for (std::string &symbol : ParseUpdatedSymbols(text))
    stocks.emplace(std::move(symbol), UpdatedStock{});
  return stocks;
}

// The record of an updated symbol; null when the store has none (an
// exception counts as none).
StockInfoType *Resolve(const std::string &symbol, UpdatedStock &entry) {
  if (entry.Found)
    return entry.Stock;
  try {
    entry.StoreIndex = StockList.IndexOf(symbol);
    entry.Stock = StockList.Objects(entry.StoreIndex);
  } catch (const std::exception &) {
    entry.Stock = nullptr;
  }
  entry.Found = entry.Stock != nullptr;
  return entry.Stock;
}

// What every step of one pass shares.
struct PassContext {
  AlertSystemClass &Store;
  TPendingAlertQueue &Queue;
  const Clock &ClockRef;
  UpdatedStocks &Symbols;
  const std::function<void(const std::string &)> &Log;
  TDateTime Now;
  double RepeatMinutes;
  AlertPassOutcome &Out;
  // The entry found for the previous alert: a symbol's alerts usually stand
  // together in the store.
  UpdatedStocks::iterator Previous = Symbols.end();

  UpdatedStocks::iterator Find(const std::string &symbol) {
    if (Previous == Symbols.end() || !SameText(Previous->first, symbol))
      Previous = Symbols.find(symbol);
    return Previous;
  }
};

// Takes a tick list's lock into guard; a failure of any kind counts as not
// taken.
bool LockTicks(StockInfoType &stock, std::optional<MyLockGuard> &guard) {
  try {
    guard.emplace(stock.Ticks.LockObject(), "ALRT1", true);
    return guard->Owns();
  } catch (const std::exception &) {
  }
  return false;
}

// One step of the walk: the alert at index, under the store lock.
void EvaluateAt(PassContext &pass, int index) {
  MyLockGuard storeGuard(pass.Store.Lock, "EXEC");
  if (!storeGuard.Owns())
    throw EAlertStoreBusy("alert store lock not taken");
  // Alerts deleted since the walk began move the rest down: the index is
  // checked against the count under the lock.
  if (index >= pass.Store.CountLocked())
    return;
  TAlertRecord *alert = pass.Store.AlertAt(index);
  if (!alert || !alert->Enabled)
    return;
  const auto updated = pass.Find(alert->Symbol);
  if (updated == pass.Symbols.end())
    return;
  // An alert that triggered recently is not even evaluated.
  if (pass.RepeatMinutes >= (pass.Now - alert->LastAlertTime) * HoursPerDay * 60.0)
    return;
  if (alert->ActiveActions.Contains(ActionFlashWindow))
    pass.Out.Flash = true;

  StockInfoType *stock = Resolve(updated->first, updated->second);
  if (!stock)
    return;
  const int storeIndex = updated->second.StoreIndex;
  std::optional<MyLockGuard> tickGuard;
  if (!LockTicks(*stock, tickGuard))
    return;

  ++pass.Out.Evaluated;
  const int tickCount = stock->Ticks.Count();
  const Check check =
      AlertStep(*alert, *stock, storeIndex, updated->second.Bounds, pass.Now, pass.RepeatMinutes,
                pass.Log, pass.ClockRef)
          .Evaluate();
  if (check.Triggered) {
    if (pass.Log)
      pass.Log("Alert ID " + alert->ID + " Activating!!!");
    pass.Out.Triggered.push_back(alert->ID);
    if (!pass.Queue.Push(alert->ID)) {
      pass.Out.Dropped.push_back(alert->ID);
      if (pass.Log)
        pass.Log("Alert ID " + alert->ID + " dropped: " +
                 std::to_string(TPendingAlertQueue::Capacity) + " alerts already waiting");
    }
    alert->TriggerValue = check.Value;
    alert->LastAlertTime = pass.Now;
    AddAlertLogLine("Alert \"" + alert->ShortDescription() + "\" TRIGGERED");
  }
  alert->TickIndex = tickCount;
}

} // namespace

TAlertPass::TAlertPass(AlertSystemClass &store, TPendingAlertQueue &queue, const Clock &clock)
    : m_store(store), m_queue(queue), m_clock(clock) {}

AlertPassOutcome TAlertPass::Run(const std::string &updatedSymbols, int repeatMinutes) {
  AlertPassOutcome out;
  UpdatedStocks symbols = SymbolSet(updatedSymbols);
  if (symbols.empty())
    return out;

  std::function<void(const std::string &)> log = OnLog;
  if (!log && LoggingOn)
    log = [](const std::string &line) { WriteLog(line, 0); };
  PassContext pass{m_store, m_queue, m_clock, symbols, log, m_clock.Now(), double(repeatMinutes),
                   out};

  int index = -1;
  try {
    int count = 0;
    {
      MyLockGuard guard(m_store.Lock, "EXEC");
      if (!guard.Owns())
        throw EAlertStoreBusy("alert store lock not taken");
      count = m_store.CountLocked();
    }
    for (index = count - 1; index >= 0; --index) {
      EvaluateAt(pass, index);
      if (AfterStep)
        AfterStep(index);
    }
  } catch (const std::exception &e) {
    out.Aborted = true;
    WriteLog(std::string("AlertProcessThread Error: ") + e.what() + " at alert " +
                 std::to_string(index),
             0);
  } catch (...) {
    out.Aborted = true;
    WriteLog("AlertProcessThread Error: unknown exception at alert " + std::to_string(index), 0);
  }
  return out;
}
