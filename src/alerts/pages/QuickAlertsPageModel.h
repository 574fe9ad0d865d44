#pragma once
// The rows of the quick alerts page apart from its grid: which symbols a
// portfolio entry lists, what each quick alert cell shows, and how the cells
// are applied to the alert store (creating, changing or deleting the first
// low, high, news and volume alert of each symbol).
#include <array>
#include <string>
#include <vector>

class AlertSystemClass;
class TAlertRecord;

// Grid columns.
constexpr int QuickColSymbol = 0;
constexpr int QuickColLow = 1;
constexpr int QuickColHigh = 2;
constexpr int QuickColNews = 3;
constexpr int QuickColVolume = 4;
constexpr int QuickColCount = 5;

using TQuickAlertTexts = std::array<std::string, QuickColCount>;

// One symbol's row: the texts it was filled with and the alerts behind them.
struct TQuickAlertRow {
  std::string Symbol;
  TQuickAlertTexts Shown;   // the texts as filled from the store (Shown[0] = symbol)
  TQuickAlertTexts AlertID; // the alert behind each quick alert cell; "" = none
};

class TQuickAlertsModel {
public:
  static constexpr const char *AllStocksEntry = "***All Stocks***";
  static constexpr const char *Headers[QuickColCount] = {"Symbol", "Low", "High", "News", "Volume"};
  static constexpr const char *NewsYes = "Y";

  // The portfolio list: "***All Stocks***", then every portfolio's name.
  static std::vector<std::string> PortfolioEntries();
  // The stock symbols of a list entry (0: every portfolio; i: portfolio i),
  // sorted without regard to letter case, each once. Takes the portfolio
  // lock.
  static std::vector<std::string> CollectSymbols(int entry);

  // The cell text of an alert in a quick alert column.
  static std::string CellTextOf(int col, const TAlertRecord &alert);
  // A volume limit as the grid shows it: grouped, no decimals, right-aligned
  // in 20 characters.
  static std::string FormatVolume(double value);
  // An edited price or volume cell rewritten in the column's form; a text
  // that is no value (or 0) becomes empty.
  static std::string NormalizeEdit(int col, const std::string &text);

  // Reads the first alert of each kind for every symbol.
  void Fill(AlertSystemClass &store, const std::vector<std::string> &symbols);
  void Clear() { m_rows.clear(); }
  const std::vector<TQuickAlertRow> &Rows() const { return m_rows; }
  int Count() const { return int(m_rows.size()); }

  // Applies the cell texts (one entry per row, in row order; missing rows
  // are left alone) to the store:
  //  - an alert whose cell is empty, or holds no value, is turned off (its
  //    pop-ups closed) and deleted;
  //  - an alert whose price or volume cell was changed is turned off and
  //    gets the new limit;
  //  - a cell with a value and no alert behind it creates the alert (with
  //    the user's default actions).
  // The rows then describe the store as it is.
  void Save(AlertSystemClass &store, const std::vector<TQuickAlertTexts> &texts);

  // Column widths for a grid of the given width: the symbol and news
  // columns as measured, the rest of the width less 25 pixels split 3:3:5.
  struct TWidths {
    int Symbol = 0, Low = 0, High = 0, News = 0, Volume = 0;
  };
  static TWidths ColumnWidths(int gridWidth, int symbolWidth, int newsWidth);

private:
  std::vector<TQuickAlertRow> m_rows;
};
