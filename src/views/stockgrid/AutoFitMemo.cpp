#include "views/stockgrid/AutoFitMemo.h"

#include "platform/GridCellStore.h"

#include <algorithm>

void TFieldFits::Resize(int rows) {
  rows = std::max(rows, 0);
  for (int r = rows; r < int(m_rows.size()); ++r)
    Set(r, TCellFit{});
  m_rows.resize(std::size_t(rows));
}

int TFieldFits::Widest() const {
  while (m_widest > 0 && m_rowsOfWidth[std::size_t(m_widest)] == 0)
    --m_widest;
  return m_widest;
}

void TFitMemo::Clear() {
  m_fonts = {};
  for (auto &last : m_last)
    last.Known = false;
  ForgetCells();
}

int TFitMemo::OtherTextWidth(int field, std::string_view text) {
  auto &font = m_fonts[std::size_t(field)];
  if (!font)
    font = TFitTextWidths::Of(m_key.Fonts[std::size_t(field)]);
  // Texts that are not numbers often repeat down a column (exchanges,
  // notes): the field's last one is known without a look-up.
  LastText &last = m_last[std::size_t(field)];
  if (!last.Known || last.Text != text) {
    last.Width = font->Width(text);
    last.Text.assign(text);
    last.Known = true;
  }
  return last.Width;
}

void TFitMemo::ForgetCells() {
  m_fields = {};
  m_store = nullptr;
  m_version = 0;
}

std::uint64_t TFitMemo::Prepare(const TGridCellStore &store, const TFitKey &key) {
  for (int f = 0; f < GridFieldCount; ++f) {
    const TFont &font = key.Fonts[std::size_t(f)];
    auto &widths = m_fonts[std::size_t(f)];
    if (!widths || !(font == m_key.Fonts[std::size_t(f)])) {
      widths = TFitTextWidths::Of(font);
      m_last[std::size_t(f)].Known = false;
    }
  }
  if (m_store != &store || !(key == m_key))
    ForgetCells();
  return m_store ? m_version : 0;
}

void TFitMemo::Begin(const TGridCellStore::TextCounts &taken, const TFitKey &key,
                     std::uint64_t since) {
  // Not the texts measured before: the store visits them all.
  if (taken.Version < since)
    ForgetCells();
  m_fieldAt.assign(std::size_t(std::max(taken.Cols, 0)), -1);
  for (int f = 0; f < GridFieldCount; ++f) {
    const int c = key.ColPos[std::size_t(f)];
    if (c >= 0 && c < key.Cols && c < taken.Cols)
      m_fieldAt[std::size_t(c)] = f;
  }
  for (auto &field : m_fields)
    field.Resize(taken.Rows);
}
