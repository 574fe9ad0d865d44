#pragma once
// Portfolios: the positions of each portfolio, the global portfolio list
// (1-based), the display-name list and the "PORT" lock that guards them.
#include "core/CriticalSection.h"
#include "platform/DateTime.h"
#include "platform/StringList.h"

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

constexpr int PortGroupCount = 11; // group 0 is the whole portfolio, 1..10 the sections
constexpr std::size_t PortKeyMaxLength = 22;
constexpr std::size_t PortTextMaxLength = 255; // paid text, note, name

// One line of a portfolio: a holding, a "-" separator or the "$CASH" line.
struct PortPosition {
  std::string Symbol;   // up to 15 characters
  double Quantity = 0;  // negative for a short position
  std::string PaidText; // the price paid as entered
  float PricePaid = 0;  // StrToPrice(PaidText)
  float Commission = 0;
  std::string Note;
  float LowLimit = 0; // old price limits, turned into alerts on import
  float HighLimit = 0;

  bool IsSeparator() const; // the symbol is all "-"
  bool IsCash() const;      // "$CASH"
  friend bool operator==(const PortPosition &, const PortPosition &) = default;
};

// Per-group totals; index 0 the whole portfolio.
using PortGroupValues = std::array<double, PortGroupCount>;

// One portfolio. Positions and totals are changed under the "PORT" lock;
// RecalcPortfolio also takes the portfolio's own lock.
struct PortType {
  PortType(const std::string &name, const std::string &key);
  PortType(const PortType &) = delete;
  PortType &operator=(const PortType &) = delete;

  std::string Name; // display name
  std::string Key;  // up to 22 characters: the symbol its totals are stored under
  std::vector<PortPosition> Positions;
  int Count() const { return int(Positions.size()); }

  PortGroupValues Value{};          // valuation of the positions
  PortGroupValues PctBase{};        // Value without a negative cash line
  PortGroupValues PrevValue{};      // value at the previous close
  PortGroupValues ValueChange{};    // Value - PrevValue
  PortGroupValues ValueChangePct{}; // ValueChange * 100 / PrevValue (0 when PrevValue is 0)
  PortGroupValues Gain{};           // Value - PaidTotal
  PortGroupValues GainPct{};        // Gain * 100 / PaidTotal (0 when PaidTotal is 0)
  PortGroupValues PaidTotal{};      // cost including commissions
  double DayLow = 0;                // of Value[0] today
  double DayHigh = 0;
  TDateTime LowHighDay = 0;   // the day DayLow and DayHigh belong to
  std::string TickText = "-"; // "U" rose, "D" fell at the last recalculation
  TDateTime RecalcTime = 0;

  MyCriticalSection Lock;
};

// The global list of portfolios, indexed from 1. Not internally locked:
// callers hold PortListLock ("PORT").
class TPortfolioList {
public:
  int Count() const { return int(m_items.size()); }
  // Portfolio index (1-based); throws std::out_of_range outside 1..Count().
  PortType &operator[](int index) const;
  // nullptr outside 1..Count().
  PortType *At(int index) const;
  // Adds a portfolio at the end; returns its index. The key is cut to 22
  // characters; an empty or already used key becomes "PORT" + a number.
  // A "|" in the name becomes "/".
  int Add(const std::string &name, const std::string &key,
          const std::vector<PortPosition> &positions = {});
  void Delete(int index);
  void Clear();
  // Index of the portfolio with this key (letter case ignored), 0 when none.
  int IndexOfKey(const std::string &key) const;
  // The display name: the name-list entry cut before its first "|".
  std::string DisplayName(int index) const;
  // The portfolio display-name list: per portfolio (entry index - 1)
  // name + "|" + key.
  const TStringList &Names() const { return m_names; }

private:
  std::vector<std::unique_ptr<PortType>> m_items;
  TStringList m_names;
};

extern TPortfolioList PortfolioList;
extern MyCriticalSection PortListLock; // "PORT"
// The main window's current portfolio (1-based; below 1 when none).
extern std::atomic<int> CurrentPortfolio;

// The symbols of all portfolios as one comma-separated text, "$CASH" and
// separator lines left out. Call under "PORT".
std::string GetPortStocks();
