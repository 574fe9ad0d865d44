#pragma once
// State the quote grids share across grids and passes: grid kinds, the time
// the painter measures news age against, the sort column each kind last
// used, and the per-kind news tables the fill writes and the painter reads.
#include "platform/DateTime.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class TStockGrid;

// Grid kinds: they index the per-kind tables below.
enum TGridKind {
  gkMainGrid = 1,  // the main window's grid
  gkWatchList = 2, // the watch list window's grid
  gkPrintGrid = 3, // the print dialog's grid (never shown)
  gkNewsWindow = 4 // the news window's symbol list
};
constexpr int GridKindCount = 4;
constexpr bool ValidGridKind(int kind) { return kind >= 1 && kind <= GridKindCount; }

// Market time of the last heartbeat (window thread).
extern TDateTime GridNow;

// One value per grid kind. Reads of another kind give the initial value;
// writes to another kind are ignored.
template <class T> class TGridKindTable {
public:
  explicit TGridKindTable(T initial = T()) : m_initial(initial) { m_values.fill(initial); }
  T Get(int kind) const { return ValidGridKind(kind) ? m_values[kind - 1] : m_initial; }
  void Set(int kind, T value) {
    if (ValidGridKind(kind))
      m_values[kind - 1] = value;
  }

private:
  T m_initial;
  std::array<T, GridKindCount> m_values;
};

// The sort column and direction each kind's grid had at its last show request.
extern TGridKindTable<int> SavedSortCol;
extern TGridKindTable<bool> SavedSortDown;

// One value per grid row and kind, sized to the rows in use: reads outside
// give the default value; a write grows the table up to MaxRows rows and is
// ignored beyond. Safe from any thread (the fill writes, the painter reads).
template <class T> class TGridRowTable {
public:
  static constexpr int MaxRows = 100000;

  TGridRowTable() {
    for (auto &g : m_generation)
      g.store(1, std::memory_order_relaxed);
  }

  // A number that changes whenever a value of the kind changes (0 for kinds
  // outside the tables); read without the lock.
  std::uint64_t Generation(int kind) const {
    return ValidGridKind(kind) ? m_generation[kind - 1].load(std::memory_order_acquire) : 0;
  }

  T Get(int kind, int row) const {
    std::lock_guard lock(m_mutex);
    if (!ValidGridKind(kind) || row < 0 || row >= int(m_rows[kind - 1].size()))
      return T();
    return m_rows[kind - 1][row];
  }
  // Stores value; true when it differed from what was there.
  bool Set(int kind, int row, T value) {
    std::lock_guard lock(m_mutex);
    if (!ValidGridKind(kind) || row < 0 || row >= MaxRows)
      return false;
    auto &rows = m_rows[kind - 1];
    if (row >= int(rows.size())) {
      if (value == T())
        return false;
      rows.resize(row + 1, T());
    }
    if (rows[row] == value)
      return false;
    rows[row] = value;
    Changed(kind);
    return true;
  }
  // Drops the rows from rowCount on.
  void Truncate(int kind, int rowCount) {
    std::lock_guard lock(m_mutex);
    if (!ValidGridKind(kind) || rowCount < 0)
      return;
    auto &rows = m_rows[kind - 1];
    if (int(rows.size()) > rowCount) {
      rows.resize(rowCount);
      Changed(kind);
    }
  }
  int Size(int kind) const {
    std::lock_guard lock(m_mutex);
    return ValidGridKind(kind) ? int(m_rows[kind - 1].size()) : 0;
  }
  void Clear() {
    std::lock_guard lock(m_mutex);
    for (auto &rows : m_rows)
      rows.clear();
    for (int kind = 1; kind <= GridKindCount; ++kind)
      Changed(kind);
  }

private:
  void Changed(int kind) { m_generation[kind - 1].fetch_add(1, std::memory_order_acq_rel); }

  mutable std::mutex m_mutex;
  std::array<std::vector<T>, GridKindCount> m_rows;
  std::array<std::atomic<std::uint64_t>, GridKindCount> m_generation;
};

// Per kind and row: the row's symbol has unread news, and the time of its
// newest unread item.
extern TGridRowTable<bool> NewsRows;
extern TGridRowTable<TDateTime> NewsRowTimes;

// The alert state a row was last asked to be painted with: the alert colour
// (-2 none) and whether an alert of its symbol is active (the alert bulb).
// The fill repaints a row whose state changed, even when its texts did not.
struct TAlertRowState {
  std::int32_t Color = -2;
  bool Active = false;
  bool operator==(const TAlertRowState &) const = default;
};
extern TGridRowTable<TAlertRowState> AlertRows;

// The grids' start-up, once per run before the first grid is made: logs
// "StrGrid Init" (when logging is on), scheme number 1 and GridNow.
void InitStockGridUnit();
// Debug tracing (the DEBUG switch): the grids show status texts of their steps.
bool GridDebugTracing();

// Column dragging and clicks across grids (window thread).
extern TStockGrid *DragSourceGrid;
extern TStockGrid *LastClickedGrid;
extern bool HideDragImage;

// Where a grid's pop-up menu was last opened: the grid (null once it is
// gone) and the symbol of the row under the mouse ("" on a title row or
// below the rows). Grids share one menu, so its commands read this.
struct TGridPopupSource {
  TStockGrid *Grid = nullptr;
  std::string Symbol;
};
extern TGridPopupSource GridPopupSource;
