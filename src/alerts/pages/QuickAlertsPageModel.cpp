#include "alerts/pages/QuickAlertsPageModel.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "alerts/AlertSystem.h"
#include "core/Portfolio.h"
#include "core/PriceText.h"
#include "core/StockStore.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace {

constexpr int kSpareWidth = 25; // the grid's width less this is shared out
constexpr int kUnits = 11;      // Low 3, High 3, Volume 5

// New alerts made from a cell.
constexpr std::int32_t kLowColor = 255;
constexpr std::int32_t kOtherColor = 32768;
constexpr double kNewsHours = 2.0;

bool IsValueColumn(int col) {
  return col == QuickColLow || col == QuickColHigh || col == QuickColVolume;
}

// A copy of the stored alert, or nothing when the ID is not (or no longer) stored.
std::optional<TAlertRecord> StoredCopy(AlertSystemClass &store, const std::string &id) {
  if (id.empty())
    return std::nullopt;
  MyLockGuard guard(store.Lock, "QALRT");
  if (!guard.Owns())
    throw EAlertStoreBusy("The alert store is busy");
  const TAlertRecord *alert = store.FindByID(id);
  if (!alert)
    return std::nullopt;
  TAlertRecord copy;
  copy.AssignFixed(*alert);
  return copy;
}

std::unique_ptr<TAlertRecord> NewAlertOf(int col, const std::string &symbol, double value) {
  auto alert = TAlertRecord::Create();
  alert->Symbol = symbol.substr(0, TAlertRecord::SymbolMax);
  switch (col) {
  case QuickColLow:
    alert->AlertType = AlertTypeLowPrice;
    alert->HighlightColor = kLowColor;
    alert->P1 = value;
    alert->P2 = 1.0; // last price
    break;
  case QuickColHigh:
    alert->AlertType = AlertTypeHighPrice;
    alert->HighlightColor = kOtherColor;
    alert->P1 = value;
    alert->P2 = 1.0;
    break;
  case QuickColNews:
    alert->AlertType = AlertTypeNews;
    alert->HighlightColor = kOtherColor;
    alert->P1 = kNewsHours;
    break;
  default:
    alert->AlertType = AlertTypeColumn;
    alert->HighlightColor = kOtherColor;
    alert->P1 = ColumnVolume;
    alert->P2 = 0;     // above
    alert->P3 = value; // the limit
    alert->P4 = 1.0;   // only when crossed
    break;
  }
  return alert;
}

} // namespace

// ---- Listing -------------------------------------------------------------------------

std::vector<std::string> TQuickAlertsModel::PortfolioEntries() {
  std::vector<std::string> entries{AllStocksEntry};
  MyLockGuard guard(PortListLock, "QALRT");
  for (int i = 1; i <= PortfolioList.Count(); ++i)
    entries.push_back(PortfolioList.DisplayName(i));
  return entries;
}

std::vector<std::string> TQuickAlertsModel::CollectSymbols(int entry) {
  std::vector<std::string> symbols;
  {
    MyLockGuard guard(PortListLock, "QALRT");
    const int first = entry == 0 ? 1 : entry;
    const int last = entry == 0 ? PortfolioList.Count() : entry;
    for (int i = first; i <= last; ++i) {
      const PortType *port = PortfolioList.At(i);
      if (!port)
        continue;
      for (const PortPosition &p : port->Positions)
        symbols.push_back(p.Symbol);
    }
  }
  symbols.erase(std::remove_if(symbols.begin(), symbols.end(),
                               [](const std::string &s) { return !IsStockSymbol(s); }),
                symbols.end());
  // Sorted and each once, letter case ignored; the first spelling met stays.
  std::stable_sort(symbols.begin(), symbols.end(), [](const std::string &a, const std::string &b) {
    return UpperCase(a) < UpperCase(b);
  });
  symbols.erase(std::unique(symbols.begin(), symbols.end(),
                            [](const std::string &a, const std::string &b) {
                              return UpperCase(a) == UpperCase(b);
                            }),
                symbols.end());
  return symbols;
}

// ---- Cell texts ----------------------------------------------------------------------

std::string TQuickAlertsModel::FormatVolume(double value) { return Format("%20.0n", {value}); }

std::string TQuickAlertsModel::CellTextOf(int col, const TAlertRecord &alert) {
  switch (col) {
  case QuickColLow:
  case QuickColHigh:
    return PriceToStr(alert.P1);
  case QuickColNews:
    return NewsYes;
  case QuickColVolume:
    return FormatVolume(alert.P3);
  default:
    return alert.Symbol;
  }
}

std::string TQuickAlertsModel::NormalizeEdit(int col, const std::string &text) {
  if (!IsValueColumn(col))
    return text;
  const double v = StrToPrice(text);
  if (v == 0)
    return {};
  return col == QuickColVolume ? FormatVolume(v) : PriceToStr(v);
}

// ---- Store ------------------------------------------------------------------------------

void TQuickAlertsModel::Fill(AlertSystemClass &store, const std::vector<std::string> &symbols) {
  m_rows.clear();
  m_rows.reserve(symbols.size());
  for (const std::string &symbol : symbols) {
    TQuickAlertRow row;
    row.Symbol = symbol;
    row.Shown[QuickColSymbol] = symbol;
    const TAlertRecord *found[QuickColCount] = {
        nullptr, store.FindAlertOfType(symbol, AlertTypeLowPrice),
        store.FindAlertOfType(symbol, AlertTypeHighPrice),
        store.FindAlertOfType(symbol, AlertTypeNews), store.FindVolumeAlert(symbol)};
    for (int col = QuickColLow; col < QuickColCount; ++col) {
      if (!found[col])
        continue;
      // Read the record under the lock: the evaluation thread writes its run-time fields.
      const std::optional<TAlertRecord> copy = StoredCopy(store, found[col]->ID);
      if (!copy)
        continue;
      row.AlertID[std::size_t(col)] = copy->ID;
      row.Shown[std::size_t(col)] = CellTextOf(col, *copy);
    }
    m_rows.push_back(std::move(row));
  }
}

void TQuickAlertsModel::Save(AlertSystemClass &store, const std::vector<TQuickAlertTexts> &texts) {
  const std::size_t count = std::min(texts.size(), m_rows.size());
  for (std::size_t r = 0; r < count; ++r) {
    TQuickAlertRow &row = m_rows[r];
    for (int col = QuickColLow; col < QuickColCount; ++col) {
      const auto c = std::size_t(col);
      const std::string text = texts[r][c];
      const bool untouched = Trim(text) == Trim(row.Shown[c]);
      const double value = IsValueColumn(col) ? StrToPrice(text) : 0;
      // A value cell that holds no value counts as cleared.
      const bool empty = Trim(text).empty() || (IsValueColumn(col) && value == 0);
      std::optional<TAlertRecord> alert = StoredCopy(store, row.AlertID[c]);

      if (alert && empty) {
        store.TurnOffAlert(alert->ID, true);
        store.DeleteAlert(alert->ID, true);
        row.AlertID[c].clear();
        row.Shown[c].clear();
      } else if (alert) {
        // An untouched cell leaves the alert as it is, also when its text
        // shows the limit rounded.
        if (col == QuickColNews || untouched)
          continue;
        const double limit = col == QuickColVolume ? alert->P3 : alert->P1;
        if (value != limit) {
          store.TurnOffAlert(alert->ID, true);
          // Read again: turning off changed the stored record.
          if (std::optional<TAlertRecord> off = StoredCopy(store, alert->ID)) {
            (col == QuickColVolume ? off->P3 : off->P1) = value;
            store.UpdateAlert(off->ID, *off);
          }
        }
        row.Shown[c] = text;
      } else if (!empty) {
        std::string id = store.AddAlert(NewAlertOf(col, row.Symbol, value));
        if (!id.empty() && id[0] == '=')
          id.erase(0, 1); // an equal alert was stored already
        row.AlertID[c] = id;
        row.Shown[c] = text;
      } else {
        row.AlertID[c].clear();
        row.Shown[c].clear();
      }
    }
  }
}

TQuickAlertsModel::TWidths TQuickAlertsModel::ColumnWidths(int gridWidth, int symbolWidth,
                                                           int newsWidth) {
  TWidths w;
  w.Symbol = symbolWidth;
  w.News = newsWidth;
  const int unit = std::max(0, (gridWidth - kSpareWidth - symbolWidth - newsWidth) / kUnits);
  w.Low = 3 * unit;
  w.High = 3 * unit;
  w.Volume = 5 * unit;
  return w;
}
