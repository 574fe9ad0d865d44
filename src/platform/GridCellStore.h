#pragma once
// The texts and objects of a grid's cells, safe to read and write from any
// thread. The grid paints from it on the window thread while a worker fills
// it; every call takes the store's mutex for its own duration only.
//
// Repaints: a write that changes a cell marks its row damaged. Damage is
// reported to the window thread through one notification at a time (the
// notifier posts an event; further damage only accumulates until the window
// thread takes it), so a worker writing many cells causes one repaint per
// batch, never one per cell. BeginBatch/EndBatch hold the notification back
// until a whole batch is written.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TGridCellStore {
public:
  // Damage taken by the window thread.
  struct Damage {
    bool All = false;      // repaint everything
    bool Geometry = false; // the column or row count changed
    std::vector<int> Rows; // rows to repaint (when not All), ascending
  };

  TGridCellStore(int colCount, int rowCount);
  TGridCellStore(const TGridCellStore &) = delete;
  TGridCellStore &operator=(const TGridCellStore &) = delete;

  // ---- Size. Counts never fall below the fixed counts + 1; surviving cells
  // keep their texts and objects.
  int ColCount() const;
  int RowCount() const;
  void SetColCount(int n);
  void SetRowCount(int n);
  int FixedCols() const;
  int FixedRows() const;
  // All four under one lock.
  void Counts(int &cols, int &rows, int &fixedCols, int &fixedRows) const;
  // Sets the fixed counts (at least 0) and raises the counts when needed.
  void SetFixed(int fixedCols, int fixedRows);

  // ---- Cells. Reads outside the grid give "" and 0; writes outside it are
  // ignored and return false. A write returns true when it changed the cell.
  std::string Cell(int col, int row) const;
  bool SetCell(int col, int row, std::string_view text);
  std::intptr_t Object(int col, int row) const;
  bool SetObject(int col, int row, std::intptr_t object);
  // The texts of one row (ColCount entries; empty outside the grid).
  std::vector<std::string> RowTexts(int row) const;
  // The texts of column col in rows first..last (one entry per row; empty
  // outside the grid), under one lock.
  std::vector<std::string> ColumnTexts(int col, int first, int last) const;
  // Empties every cell of a row.
  void ClearRow(int row);
  // A number that changes whenever a text or object of the row changes
  // (also when the row or its columns are added); 0 outside the grid. Lets a
  // writer know that a row still holds what it wrote without reading it back.
  std::uint64_t RowVersion(int row) const;
  // The cells whose text changed after version `since` (a cell a resize
  // added counts as changed), with the counts and the version they were
  // taken at, all under one lock. since 0, or a version this store has not
  // reached: every cell. Only columns below `columns` are looked at.
  struct TextCounts {
    std::uint64_t Version = 0;
    int Cols = 0;
    int Rows = 0;
  };
  struct TextChanges : TextCounts {
    struct Cell {
      int Col;
      int Row;
      std::string Text;
    };
    std::vector<Cell> Cells;
  };
  TextChanges TextsChangedSince(std::uint64_t since, int columns = INT_MAX) const;
  // The same without copying a text: under the store's lock, counts(TextCounts)
  // once, then visit(col, row, std::string_view text) for each changed cell,
  // row by row. The view is valid during its call only; neither callable may
  // call into the store. Returns the counts.
  template <class OnCounts, class OnCell>
  TextCounts VisitTextsChangedSince(std::uint64_t since, int columns, OnCounts &&counts,
                                    OnCell &&visit) const;

  // ---- Repaint requests, from any thread.
  void RequestRepaint();
  void RequestRepaintRow(int row);
  // Batches nest; the notification goes out when the outermost one ends.
  void BeginBatch();
  void EndBatch();
  class Batch {
  public:
    explicit Batch(TGridCellStore &s) : m_store(s) { m_store.BeginBatch(); }
    ~Batch() { m_store.EndBatch(); }
    Batch(const Batch &) = delete;
    Batch &operator=(const Batch &) = delete;

  private:
    TGridCellStore &m_store;
  };

  // ---- Window-thread side.
  // Called, under the store's mutex, when damage appears and none is waiting
  // to be taken. It must only post (never call back into the store). An empty
  // notifier detaches the store from its window; once SetNotifier returns,
  // the old notifier is never called again.
  void SetNotifier(std::function<void()> notifier);
  // Takes and clears the damage; the next damage notifies again.
  Damage TakeDamage();
  bool HasPendingDamage() const;

private:
  struct Slot {
    std::string Text;
    std::intptr_t Object = 0;
    std::uint64_t TextVersion = 0; // version of the text's last change
  };

  bool InRange(int col, int row) const {
    return col >= 0 && row >= 0 && col < m_cols && row < m_rows;
  }
  void ResizeLocked(int cols, int rows);
  void DamageRowLocked(int row);
  void DamageAllLocked(bool geometry);
  void NotifyLocked();

  mutable std::mutex m_mutex;
  int m_cols = 0;
  int m_rows = 0;
  int m_fixedCols = 0;
  int m_fixedRows = 0;
  std::vector<std::vector<Slot>> m_cells; // [row][col]
  std::vector<std::uint64_t> m_rowVersion; // [row]
  std::uint64_t m_lastVersion = 0;

  std::function<void()> m_notifier;
  int m_batchDepth = 0;
  bool m_notified = false; // a notification is waiting to be taken
  Damage m_damage;
  std::vector<bool> m_rowDamaged;
};

template <class OnCounts, class OnCell>
TGridCellStore::TextCounts TGridCellStore::VisitTextsChangedSince(std::uint64_t since, int columns,
                                                                  OnCounts &&counts,
                                                                  OnCell &&visit) const {
  std::lock_guard lock(m_mutex);
  if (since > m_lastVersion)
    since = 0; // versions only grow: not this store's texts
  TextCounts taken;
  taken.Version = m_lastVersion;
  taken.Cols = m_cols;
  taken.Rows = m_rows;
  counts(std::as_const(taken));
  const std::size_t cols = static_cast<std::size_t>(std::max(std::min(m_cols, columns), 0));
  for (std::size_t r = 0; r < m_cells.size(); ++r) {
    // A row's version is at least that of each of its cells.
    if (since != 0 && m_rowVersion[r] <= since)
      continue;
    const Slot *row = m_cells[r].data();
    for (std::size_t c = 0; c < cols; ++c)
      if (since == 0 || row[c].TextVersion > since)
        visit(static_cast<int>(c), static_cast<int>(r), std::string_view(row[c].Text));
  }
  return taken;
}
