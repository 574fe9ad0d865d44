#pragma once
// What the column fit measured in the cells of a quote grid, kept between
// fits: a fit measures only the cells whose text changed since the last one
// (the cell store knows them) and keeps, per field, how many rows have each
// width, so the widest is known at once also when the widest cell narrows
// or its row goes. The widths are those of measuring every cell.
//
// Window thread only (the fit runs there).
#include "core/FieldTitles.h"
#include "platform/Canvas.h"
#include "views/stockgrid/ColumnMap.h"
#include "views/stockgrid/FitTextWidths.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class TGridCellStore;

// What the measurements depend on besides the texts.
struct TFitKey {
  TColumnMap ColPos{};
  int Cols = 0;
  int FixedRows = 0;
  bool WatchMode = false;
  std::array<TFont, GridFieldCount> Fonts{};
  friend bool operator==(const TFitKey &, const TFitKey &) = default;
};

// What one cell contributes to its field's fit: a width (0: none) and
// whether it holds data.
struct TCellFit {
  int Width = 0;
  bool Data = false;
};

// One field's cells, row by row, and the widest of them.
class TFieldFits {
public:
  // Rows past the new count give up what they held; new rows hold nothing.
  void Resize(int rows);
  void Set(int row, TCellFit fit);
  // The widest width of any row; 0 when none has one.
  int Widest() const;
  // Some row holds data.
  bool AnyData() const { return m_dataRows > 0; }

private:
  std::vector<TCellFit> m_rows;
  std::vector<int> m_rowsOfWidth; // [width]: rows of that width (width > 0)
  mutable int m_widest = 0;       // no row is wider; lowered when asked
  int m_dataRows = 0;
};

class TFitMemo {
public:
  using TMeasure = std::function<TCellFit(int field, const std::string &text)>;

  // Brings the kept fits up to the store's texts: measures the cells of
  // shown fields (data rows only, columns below key.Cols) whose text changed
  // since the last update, every cell when the key or the store differs.
  void Update(const TGridCellStore &store, const TFitKey &key, const TMeasure &measure);
  const TFieldFits &Field(int field) const { return m_fields[std::size_t(field)]; }
  // Forgets every measurement; the next update measures every cell.
  void Clear();

  // The width of a text in a field's font (as of the last update): numbers
  // summed from their characters (FitTextWidths.h), other texts measured
  // the first time, then known.
  int TextWidth(int field, const std::string &text);

private:
  void ForgetCells();
  std::shared_ptr<const TFitTextWidths> WidthsOf(const TFont &font);

  static constexpr std::size_t kMaxWidths = 4096; // per field
  std::array<std::unordered_map<std::string, int>, GridFieldCount> m_widths;
  // Per field the widths of its font; fields of one font share them.
  std::array<std::shared_ptr<const TFitTextWidths>, GridFieldCount> m_fonts;
  // The widths of the fonts used lately (reading a font's takes a while).
  static constexpr std::size_t kMaxFonts = 8;
  std::vector<std::pair<TFont, std::shared_ptr<const TFitTextWidths>>> m_fontWidths;
  std::array<TFieldFits, GridFieldCount> m_fields;
  TFitKey m_key{};
  const TGridCellStore *m_store = nullptr; // the store measured; null: nothing kept
  std::uint64_t m_version = 0;             // the store's version measured
};
