#include "views/stockgrid/AutoFitMemo.h"

#include "platform/GridCellStore.h"

#include <algorithm>

void TFieldFits::Resize(int rows) {
  rows = std::max(rows, 0);
  for (int r = rows; r < int(m_rows.size()); ++r)
    Set(r, TCellFit());
  m_rows.resize(std::size_t(rows));
}

void TFieldFits::Set(int row, TCellFit fit) {
  if (row < 0)
    return;
  if (row >= int(m_rows.size()))
    m_rows.resize(std::size_t(row) + 1);
  fit.Width = std::max(fit.Width, 0);
  TCellFit &held = m_rows[std::size_t(row)];
  if (held.Width > 0)
    --m_rowsOfWidth[std::size_t(held.Width)];
  if (held.Data)
    --m_dataRows;
  held = fit;
  if (fit.Width > 0) {
    if (fit.Width >= int(m_rowsOfWidth.size()))
      m_rowsOfWidth.resize(std::size_t(fit.Width) + 1, 0);
    ++m_rowsOfWidth[std::size_t(fit.Width)];
    m_widest = std::max(m_widest, fit.Width);
  }
  if (fit.Data)
    ++m_dataRows;
}

int TFieldFits::Widest() const {
  while (m_widest > 0 && m_rowsOfWidth[std::size_t(m_widest)] == 0)
    --m_widest;
  return m_widest;
}

void TFitMemo::Clear() {
  for (auto &widths : m_widths)
    widths.clear();
  m_fonts = {};
  m_fontWidths.clear();
  ForgetCells();
}

std::shared_ptr<const TFitTextWidths> TFitMemo::WidthsOf(const TFont &font) {
  for (const auto &[known, widths] : m_fontWidths)
    if (known == font)
      return widths;
  if (m_fontWidths.size() >= kMaxFonts)
    m_fontWidths.erase(m_fontWidths.begin());
  m_fontWidths.emplace_back(font, std::make_shared<const TFitTextWidths>(font));
  return m_fontWidths.back().second;
}

int TFitMemo::TextWidth(int field, const std::string &text) {
  auto &font = m_fonts[std::size_t(field)];
  if (!font)
    font = WidthsOf(m_key.Fonts[std::size_t(field)]);
  int width = 0;
  if (font->Sum(text, width))
    return width;
  auto &known = m_widths[std::size_t(field)];
  if (const auto it = known.find(text); it != known.end())
    return it->second;
  if (known.size() >= kMaxWidths)
    known.clear();
  width = font->Measure(text);
  known.emplace(text, width);
  return width;
}

void TFitMemo::ForgetCells() {
  m_fields = {};
  m_store = nullptr;
  m_version = 0;
}

void TFitMemo::Update(const TGridCellStore &store, const TFitKey &key, const TMeasure &measure) {
  // Known text widths hold while their field's font does.
  for (int f = 0; f < GridFieldCount; ++f) {
    const TFont &font = key.Fonts[std::size_t(f)];
    auto &widths = m_fonts[std::size_t(f)];
    if (widths && font == m_key.Fonts[std::size_t(f)])
      continue;
    m_widths[std::size_t(f)].clear();
    widths = WidthsOf(font);
  }
  if (m_store != &store || !(key == m_key))
    ForgetCells();
  TGridCellStore::TextChanges changes =
      store.TextsChangedSince(m_store ? m_version : 0, key.Cols);
  if (m_store && changes.Version < m_version) {
    // Not the texts measured before: measure them all.
    ForgetCells();
    changes = store.TextsChangedSince(0, key.Cols);
  }
  m_store = &store;
  m_key = key;
  m_version = changes.Version;

  std::vector<int> fieldAt(std::size_t(std::max(changes.Cols, 0)), -1);
  for (int f = 0; f < GridFieldCount; ++f) {
    const int c = key.ColPos[std::size_t(f)];
    if (c >= 0 && c < key.Cols && c < changes.Cols)
      fieldAt[std::size_t(c)] = f;
  }
  for (auto &field : m_fields)
    field.Resize(changes.Rows);
  for (const auto &cell : changes.Cells) {
    if (cell.Row < key.FixedRows || cell.Col >= int(fieldAt.size()))
      continue;
    const int f = fieldAt[std::size_t(cell.Col)];
    if (f >= 0)
      m_fields[std::size_t(f)].Set(cell.Row, measure(f, cell.Text));
  }
}
