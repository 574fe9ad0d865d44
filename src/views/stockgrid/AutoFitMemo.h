#pragma once
// What the column fit measured in each row of a quote grid, kept between
// fits: a fit measures again only the rows whose texts changed since (their
// cell-store version moved) and takes each column's widest from the kept
// widths, so the widths are those of measuring every row.
//
// Window thread only (the fit runs there).
#include "core/FieldTitles.h"
#include "platform/Canvas.h"
#include "views/stockgrid/ColumnMap.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// What the measurements depend on besides the texts.
struct TFitKey {
  TColumnMap ColPos{};
  int Cols = 0;
  bool WatchMode = false;
  std::array<TFont, GridFieldCount> Fonts{};
  friend bool operator==(const TFitKey &, const TFitKey &) = default;
};

// One row's measurements.
struct TFitRow {
  std::uint64_t Version = 0; // 0: not measured
  // Per field: a plain field's text width with its padding, a two-value
  // field's widest part (0 without two parts).
  std::array<int, GridFieldCount> Width{};
  std::bitset<GridFieldCount> HasData;
};

class TFitMemo {
public:
  // Starts a fit over rows rows: forgets every row when the key differs.
  void Begin(const TFitKey &key, int rows);
  // The kept measurements of a row (below the count Begin was given).
  TFitRow &Row(int row) { return m_rows[std::size_t(row)]; }
  // The width of a text in a field's font: measured with measure(text)
  // the first time, then known (a width depends only on font and text).
  template <class Measure> int TextWidth(int field, const std::string &text, Measure &&measure) {
    auto &widths = m_widths[std::size_t(field)];
    if (const auto it = widths.find(text); it != widths.end())
      return it->second;
    if (widths.size() >= kMaxWidths)
      widths.clear();
    const int w = measure(text);
    widths.emplace(text, w);
    return w;
  }

private:
  static constexpr std::size_t kMaxWidths = 4096; // per field
  std::array<std::unordered_map<std::string, int>, GridFieldCount> m_widths;
  TFitKey m_key{};
  bool m_valid = false;
  std::vector<TFitRow> m_rows;
};
