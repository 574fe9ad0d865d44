#include "platform/GridCellStore.h"

#include <algorithm>

namespace {
// Past this many damaged rows one full repaint is cheaper than row rectangles.
constexpr std::size_t kMaxDamagedRows = 128;
} // namespace

TGridCellStore::TGridCellStore(int colCount, int rowCount) {
  ResizeLocked(std::max(colCount, 1), std::max(rowCount, 1));
}

int TGridCellStore::ColCount() const {
  std::lock_guard lock(m_mutex);
  return m_cols;
}

int TGridCellStore::RowCount() const {
  std::lock_guard lock(m_mutex);
  return m_rows;
}

int TGridCellStore::FixedCols() const {
  std::lock_guard lock(m_mutex);
  return m_fixedCols;
}

int TGridCellStore::FixedRows() const {
  std::lock_guard lock(m_mutex);
  return m_fixedRows;
}

void TGridCellStore::Counts(int &cols, int &rows, int &fixedCols, int &fixedRows) const {
  std::lock_guard lock(m_mutex);
  cols = m_cols;
  rows = m_rows;
  fixedCols = m_fixedCols;
  fixedRows = m_fixedRows;
}

void TGridCellStore::SetColCount(int n) {
  std::lock_guard lock(m_mutex);
  n = std::max(n, m_fixedCols + 1);
  if (n == m_cols)
    return;
  ResizeLocked(n, m_rows);
  DamageAllLocked(true);
}

void TGridCellStore::SetRowCount(int n) {
  std::lock_guard lock(m_mutex);
  n = std::max(n, m_fixedRows + 1);
  if (n == m_rows)
    return;
  ResizeLocked(m_cols, n);
  DamageAllLocked(true);
}

void TGridCellStore::SetFixed(int fixedCols, int fixedRows) {
  std::lock_guard lock(m_mutex);
  m_fixedCols = std::max(fixedCols, 0);
  m_fixedRows = std::max(fixedRows, 0);
  ResizeLocked(std::max(m_cols, m_fixedCols + 1), std::max(m_rows, m_fixedRows + 1));
  DamageAllLocked(true);
}

void TGridCellStore::ResizeLocked(int cols, int rows) {
  if (rows != m_rows) {
    m_cells.resize(static_cast<std::size_t>(rows));
    m_rowVersion.resize(static_cast<std::size_t>(rows), 0);
  }
  for (std::size_t r = 0; r < m_cells.size(); ++r) {
    auto &row = m_cells[r];
    const std::size_t had = row.size();
    if (had != static_cast<std::size_t>(cols)) {
      row.resize(static_cast<std::size_t>(cols));
      m_rowVersion[r] = ++m_lastVersion;
      for (std::size_t c = had; c < row.size(); ++c)
        row[c].TextVersion = m_lastVersion;
    }
  }
  m_cols = cols;
  m_rows = rows;
}

std::uint64_t TGridCellStore::RowVersion(int row) const {
  std::lock_guard lock(m_mutex);
  if (row < 0 || row >= m_rows)
    return 0;
  return m_rowVersion[static_cast<std::size_t>(row)];
}

TGridCellStore::TextChanges TGridCellStore::TextsChangedSince(std::uint64_t since,
                                                              int columns) const {
  TextChanges changes;
  static_cast<TextCounts &>(changes) = VisitTextsChangedSince(
      since, columns, [](const TextCounts &) {},
      [&](int col, int row, std::string_view text) {
        changes.Cells.push_back({col, row, std::string(text)});
      });
  return changes;
}

std::string TGridCellStore::Cell(int col, int row) const {
  std::lock_guard lock(m_mutex);
  if (!InRange(col, row))
    return {};
  return m_cells[row][col].Text;
}

bool TGridCellStore::SetCell(int col, int row, std::string_view text) {
  std::lock_guard lock(m_mutex);
  if (!InRange(col, row))
    return false;
  std::string &slot = m_cells[row][col].Text;
  if (slot == text)
    return false;
  slot.assign(text);
  m_rowVersion[static_cast<std::size_t>(row)] = ++m_lastVersion;
  m_cells[row][col].TextVersion = m_lastVersion;
  DamageRowLocked(row);
  return true;
}

std::intptr_t TGridCellStore::Object(int col, int row) const {
  std::lock_guard lock(m_mutex);
  if (!InRange(col, row))
    return 0;
  return m_cells[row][col].Object;
}

bool TGridCellStore::SetObject(int col, int row, std::intptr_t object) {
  std::lock_guard lock(m_mutex);
  if (!InRange(col, row))
    return false;
  std::intptr_t &slot = m_cells[row][col].Object;
  if (slot == object)
    return false;
  // Objects are not drawn by the grid itself, so no repaint; but a writer
  // that knows a row by its version must see the change.
  slot = object;
  m_rowVersion[static_cast<std::size_t>(row)] = ++m_lastVersion;
  return true;
}

std::vector<std::string> TGridCellStore::RowTexts(int row) const {
  std::lock_guard lock(m_mutex);
  std::vector<std::string> texts(static_cast<std::size_t>(m_cols));
  if (row >= 0 && row < m_rows)
    for (int c = 0; c < m_cols; ++c)
      texts[c] = m_cells[row][c].Text;
  return texts;
}

std::vector<std::string> TGridCellStore::ColumnTexts(int col, int first, int last) const {
  std::lock_guard lock(m_mutex);
  std::vector<std::string> texts(static_cast<std::size_t>(std::max(last - first + 1, 0)));
  for (int r = std::max(first, 0); r <= last && r < m_rows; ++r)
    if (col >= 0 && col < m_cols)
      texts[static_cast<std::size_t>(r - first)] = m_cells[r][col].Text;
  return texts;
}

void TGridCellStore::ClearRow(int row) {
  std::lock_guard lock(m_mutex);
  if (row < 0 || row >= m_rows)
    return;
  bool changed = false;
  const std::uint64_t version = m_lastVersion + 1;
  for (Slot &s : m_cells[row]) {
    changed = changed || !s.Text.empty() || s.Object != 0;
    const std::uint64_t textVersion = s.Text.empty() ? s.TextVersion : version;
    s = Slot{};
    s.TextVersion = textVersion;
  }
  if (changed) {
    m_rowVersion[static_cast<std::size_t>(row)] = ++m_lastVersion;
    DamageRowLocked(row);
  }
}

// ---- Damage ----------------------------------------------------------------

void TGridCellStore::RequestRepaint() {
  std::lock_guard lock(m_mutex);
  DamageAllLocked(false);
}

void TGridCellStore::RequestRepaintRow(int row) {
  std::lock_guard lock(m_mutex);
  if (row >= 0)
    DamageRowLocked(row);
}

void TGridCellStore::BeginBatch() {
  std::lock_guard lock(m_mutex);
  ++m_batchDepth;
}

void TGridCellStore::EndBatch() {
  std::lock_guard lock(m_mutex);
  if (m_batchDepth > 0)
    --m_batchDepth;
  if (m_batchDepth == 0 && (m_damage.All || !m_damage.Rows.empty()))
    NotifyLocked();
}

void TGridCellStore::DamageRowLocked(int row) {
  if (!m_damage.All) {
    if (static_cast<std::size_t>(row) >= m_rowDamaged.size())
      m_rowDamaged.resize(static_cast<std::size_t>(row) + 1, false);
    if (!m_rowDamaged[row]) {
      m_rowDamaged[row] = true;
      m_damage.Rows.push_back(row);
      if (m_damage.Rows.size() > kMaxDamagedRows)
        m_damage.All = true;
    }
  }
  NotifyLocked();
}

void TGridCellStore::DamageAllLocked(bool geometry) {
  m_damage.All = true;
  m_damage.Geometry = m_damage.Geometry || geometry;
  NotifyLocked();
}

void TGridCellStore::NotifyLocked() {
  if (m_batchDepth > 0 || m_notified || !m_notifier)
    return;
  m_notified = true;
  m_notifier();
}

void TGridCellStore::SetNotifier(std::function<void()> notifier) {
  std::lock_guard lock(m_mutex);
  m_notifier = std::move(notifier);
  m_notified = false;
  if (m_notifier && (m_damage.All || !m_damage.Rows.empty()))
    NotifyLocked();
}

TGridCellStore::Damage TGridCellStore::TakeDamage() {
  std::lock_guard lock(m_mutex);
  Damage d = std::move(m_damage);
  m_damage = Damage{};
  m_rowDamaged.assign(m_rowDamaged.size(), false);
  m_notified = false;
  if (d.All)
    d.Rows.clear();
  else
    std::sort(d.Rows.begin(), d.Rows.end());
  return d;
}

bool TGridCellStore::HasPendingDamage() const {
  std::lock_guard lock(m_mutex);
  return m_damage.All || !m_damage.Rows.empty();
}
