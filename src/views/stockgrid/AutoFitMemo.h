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
#include "platform/GridCellStore.h"
#include "views/stockgrid/ColumnMap.h"
#include "views/stockgrid/FitTextWidths.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>


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
  void Set(int row, TCellFit fit) {
    if (row < 0)
      return;
    if (row >= int(m_rows.size()))
      m_rows.resize(std::size_t(row) + 1);
    const int width = std::clamp(fit.Width, 0, kMaxWidth);
    std::uint32_t &held = m_rows[std::size_t(row)];
    if (const int heldWidth = int(held >> 1); heldWidth > 0)
      --m_rowsOfWidth[std::size_t(heldWidth)];
    m_dataRows -= int(held & 1);
    held = std::uint32_t(width) << 1 | std::uint32_t(fit.Data);
    if (width > 0) {
      if (width >= int(m_rowsOfWidth.size()))
        m_rowsOfWidth.resize(std::size_t(width) + 1, 0);
      ++m_rowsOfWidth[std::size_t(width)];
      m_widest = std::max(m_widest, width);
    }
    m_dataRows += int(fit.Data);
  }
  // The widest width of any row; 0 when none has one.
  int Widest() const;
  // Some row holds data.
  bool AnyData() const { return m_dataRows > 0; }

private:
  static constexpr int kMaxWidth = 1 << 20; // pixels; wider cells count as this wide
  std::vector<std::uint32_t> m_rows; // per row: width << 1 | data (small: read per cell)
  std::vector<int> m_rowsOfWidth;    // [width]: rows of that width (width > 0)
  mutable int m_widest = 0;          // no row is wider; lowered when asked
  int m_dataRows = 0;
};

class TFitMemo {
public:
  // Brings the kept fits up to the store's texts: measures the cells of
  // shown fields (data rows only, columns below key.Cols) whose text changed
  // since the last update, every cell when the key or the store differs.
  // measure(field, text) gives a cell's TCellFit; it is called under the
  // store's lock with the text in place, so it must not call into the store.
  // A measure that takes the text as a std::string gets a copy.
  template <class Measure>
  void Update(const TGridCellStore &store, const TFitKey &key, Measure &&measure);
  const TFieldFits &Field(int field) const { return m_fields[std::size_t(field)]; }
  // Forgets every measurement; the next update measures every cell.
  void Clear();

  // The width of a text in a field's font (as of the last update): numbers
  // summed from their characters, other texts measured the first time, then
  // known (FitTextWidths.h).
  int TextWidth(int field, std::string_view text) {
    const auto &font = m_fonts[std::size_t(field)];
    int width = 0;
    return font && font->Sum(text, width) ? width : OtherTextWidth(field, text);
  }

private:
  int OtherTextWidth(int field, std::string_view text);
  void ForgetCells();
  // Before the store is read: the fonts of the key; the version to measure
  // the changes since (0: every cell).
  std::uint64_t Prepare(const TGridCellStore &store, const TFitKey &key);
  // Under the store's lock, before the cells: the counts the changes were
  // taken at.
  void Begin(const TGridCellStore::TextCounts &taken, const TFitKey &key, std::uint64_t since);

  // Per field the widths of its font; fields of one font share them.
  std::array<std::shared_ptr<TFitTextWidths>, GridFieldCount> m_fonts;
  struct LastText {
    bool Known = false;
    std::string Text;
    int Width = 0;
  };
  std::array<LastText, GridFieldCount> m_last; // per field, in its font
  std::array<TFieldFits, GridFieldCount> m_fields;
  std::vector<int> m_fieldAt; // per column: the field shown there, -1 none
  TFitKey m_key{};
  const TGridCellStore *m_store = nullptr; // the store measured; null: nothing kept
  std::uint64_t m_version = 0;             // the store's version measured
};

template <class Measure>
void TFitMemo::Update(const TGridCellStore &store, const TFitKey &key, Measure &&measure) {
  const std::uint64_t since = Prepare(store, key);
  const auto taken = store.VisitTextsChangedSince(
      since, key.Cols,
      [&](const TGridCellStore::TextCounts &counts) { Begin(counts, key, since); },
      [&](int col, int row, std::string_view text) {
        if (row < key.FixedRows || col >= int(m_fieldAt.size()))
          return;
        const int f = m_fieldAt[std::size_t(col)];
        if (f < 0)
          return;
        if constexpr (std::is_invocable_r_v<TCellFit, Measure &, int, std::string_view>)
          m_fields[std::size_t(f)].Set(row, measure(f, text));
        else
          m_fields[std::size_t(f)].Set(row, measure(f, std::string(text)));
      });
  m_store = &store;
  m_key = key;
  m_version = taken.Version;
}
