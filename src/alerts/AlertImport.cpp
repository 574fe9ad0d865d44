// Turning the old price limits of portfolio positions into alerts.
#include "alerts/AlertNames.h"
#include "alerts/AlertSystem.h"
#include "core/Log.h"
#include "core/Portfolio.h"

#include <vector>

namespace {

struct PositionLimits {
  std::string symbol;
  float low;
  float high;
};

// The limits, in portfolio and position order, copied under "PORT" so that
// the store lock is never taken while the portfolio lock is held.
std::vector<PositionLimits> CollectLimits() {
  std::vector<PositionLimits> limits;
  MyLockGuard guard(PortListLock, "ALIMP");
  if (!guard.Owns())
    throw EAlertStoreBusy("The portfolio list is busy (ALIMP)");
  for (int p = 1; p <= PortfolioList.Count(); ++p)
    for (const PortPosition &position : PortfolioList[p].Positions)
      if (position.LowLimit != 0 || position.HighLimit != 0)
        limits.push_back({position.Symbol, position.LowLimit, position.HighLimit});
  return limits;
}

std::unique_ptr<TAlertRecord> LimitAlert(const std::string &symbol, int type, std::int32_t color,
                                         float limit) {
  std::unique_ptr<TAlertRecord> alert = TAlertRecord::Create();
  alert->Symbol = symbol;
  alert->AlertType = std::uint8_t(type);
  alert->HighlightColor = color;
  alert->P1 = limit;
  alert->P2 = 1.0; // the last price; P3 stays 0: only when crossed
  return alert;
}

} // namespace

void AlertSystemClass::ImportPortfolioLimits() {
  const std::vector<PositionLimits> limits = CollectLimits();
  ClearAll();
  for (const PositionLimits &position : limits) {
    if (position.low != 0)
      AddAlert(LimitAlert(position.symbol, AlertTypeLowPrice, 255, position.low));
    if (position.high != 0)
      AddAlert(LimitAlert(position.symbol, AlertTypeHighPrice, 65280, position.high));
  }
  if (LoggingOn)
    WriteLog("Imported portfolio limits: " + std::to_string(Count()) + " alerts", 0);
}
