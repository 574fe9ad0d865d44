#include "platform/GridCellStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <map>
#include <string>
#include <thread>
#include <utility>

TEST(GridCellStore, CellsSurviveCountChanges) {
  TGridCellStore s(3, 3);
  s.SetCell(0, 0, "a");
  s.SetCell(2, 2, "c");
  s.SetObject(2, 2, 42);
  s.SetColCount(10);
  s.SetRowCount(100);
  EXPECT_EQ(s.Cell(0, 0), "a");
  EXPECT_EQ(s.Cell(2, 2), "c");
  EXPECT_EQ(s.Object(2, 2), 42);
  s.SetCell(9, 99, "far");
  // Shrinking drops the cells cut off; growing again brings empty ones.
  s.SetColCount(2);
  s.SetRowCount(2);
  EXPECT_EQ(s.Cell(0, 0), "a");
  EXPECT_EQ(s.Cell(2, 2), "");
  s.SetColCount(10);
  s.SetRowCount(100);
  EXPECT_EQ(s.Cell(2, 2), "");
  EXPECT_EQ(s.Object(2, 2), 0);
  EXPECT_EQ(s.Cell(9, 99), "");
  EXPECT_EQ(s.Cell(0, 0), "a");
}

TEST(GridCellStore, OutsideTheGridReadsEmptyAndIgnoresWrites) {
  TGridCellStore s(2, 2);
  struct Case {
    int col, row;
  } cases[] = {{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {1000, 1000}};
  for (const Case &c : cases) {
    EXPECT_FALSE(s.SetCell(c.col, c.row, "x")) << c.col << "," << c.row;
    EXPECT_FALSE(s.SetObject(c.col, c.row, 7));
    EXPECT_EQ(s.Cell(c.col, c.row), "");
    EXPECT_EQ(s.Object(c.col, c.row), 0);
  }
  EXPECT_EQ(s.RowTexts(5), std::vector<std::string>(2));
}

TEST(GridCellStore, CountsStayAboveTheFixedCounts) {
  TGridCellStore s(5, 5);
  s.SetFixed(1, 1);
  s.SetColCount(1);
  s.SetRowCount(0);
  EXPECT_EQ(s.ColCount(), 2);
  EXPECT_EQ(s.RowCount(), 2);
  s.SetFixed(3, 2);
  EXPECT_EQ(s.ColCount(), 4);
  EXPECT_EQ(s.RowCount(), 3);
}

TEST(GridCellStore, WriteReportsWhetherItChangedTheCell) {
  TGridCellStore s(2, 2);
  EXPECT_TRUE(s.SetCell(1, 1, "x"));
  EXPECT_FALSE(s.SetCell(1, 1, "x"));
  EXPECT_TRUE(s.SetCell(1, 1, ""));
}

TEST(GridCellStore, DamageNotifiesOnceUntilTaken) {
  TGridCellStore s(3, 10);
  int notes = 0;
  s.SetNotifier([&] { ++notes; });
  s.SetCell(0, 4, "a");
  s.SetCell(1, 4, "b");
  s.SetCell(0, 2, "c");
  s.SetCell(0, 2, "c"); // unchanged: no damage
  s.SetObject(0, 7, 5); // objects are not drawn
  EXPECT_EQ(notes, 1);
  TGridCellStore::Damage d = s.TakeDamage();
  EXPECT_FALSE(d.All);
  EXPECT_FALSE(d.Geometry);
  EXPECT_EQ(d.Rows, (std::vector<int>{2, 4}));
  s.RequestRepaintRow(9);
  EXPECT_EQ(notes, 2);
  EXPECT_EQ(s.TakeDamage().Rows, std::vector<int>{9});
  s.SetRowCount(20);
  d = s.TakeDamage();
  EXPECT_TRUE(d.All);
  EXPECT_TRUE(d.Geometry);
  EXPECT_EQ(notes, 3);
}

TEST(GridCellStore, BatchHoldsTheNotificationBack) {
  TGridCellStore s(3, 10);
  int notes = 0;
  s.SetNotifier([&] { ++notes; });
  {
    TGridCellStore::Batch batch(s);
    for (int r = 0; r < 10; ++r)
      s.SetCell(1, r, "v" + std::to_string(r));
    EXPECT_EQ(notes, 0);
  }
  EXPECT_EQ(notes, 1);
  EXPECT_EQ(s.TakeDamage().Rows.size(), 10u);
}

TEST(GridCellStore, ManyRowsBecomeOneFullRepaint) {
  TGridCellStore s(1, 1000);
  for (int r = 0; r < 1000; ++r)
    s.SetCell(0, r, "x");
  TGridCellStore::Damage d = s.TakeDamage();
  EXPECT_TRUE(d.All);
  EXPECT_TRUE(d.Rows.empty());
}

TEST(GridCellStore, DetachedNotifierIsNeverCalled) {
  TGridCellStore s(2, 2);
  int notes = 0;
  s.SetNotifier([&] { ++notes; });
  s.SetNotifier(nullptr);
  s.SetCell(0, 0, "x");
  EXPECT_EQ(notes, 0);
  EXPECT_EQ(s.Cell(0, 0), "x");
}

TEST(GridCellStore, ClearRowEmptiesTextsAndObjects) {
  TGridCellStore s(3, 3);
  s.SetCell(0, 1, "a");
  s.SetCell(2, 1, "b");
  s.SetObject(0, 1, 9);
  s.SetCell(0, 2, "keep");
  s.ClearRow(1);
  EXPECT_EQ(s.RowTexts(1), std::vector<std::string>(3));
  EXPECT_EQ(s.Object(0, 1), 0);
  EXPECT_EQ(s.Cell(0, 2), "keep");
}

// The texts a fit reads in place: the cells changed since a version, every
// cell for a version the store never reached, and whole texts while a worker
// writes (run under the thread sanitizer too).
TEST(GridCellStore, VisitsTheTextsChangedSinceAVersionInPlace) {
  TGridCellStore s(3, 4);
  s.SetCell(1, 1, "a");
  using Visited = std::map<std::pair<int, int>, std::string>;
  const auto visit = [&](std::uint64_t since, int columns, TGridCellStore::TextCounts &counts) {
    Visited cells;
    counts = s.VisitTextsChangedSince(
        since, columns, [&](const TGridCellStore::TextCounts &) {},
        [&](int col, int row, std::string_view text) { cells[{col, row}] = std::string(text); });
    return cells;
  };
  TGridCellStore::TextCounts counts;
  EXPECT_EQ(visit(0, INT_MAX, counts).size(), 12u);
  const std::uint64_t seen = counts.Version;
  s.SetCell(2, 3, "b");
  s.SetCell(0, 1, "c");
  s.SetCell(1, 1, "a"); // unchanged
  struct Case {
    const char *name;
    std::uint64_t since;
    int columns;
    std::size_t cells;
  };
  for (const Case &c : {Case{"since the last look", seen, INT_MAX, 2},
                        Case{"below column 2", seen, 2, 1},
                        Case{"a version never reached", seen + 1000, INT_MAX, 12}}) {
    SCOPED_TRACE(c.name);
    const Visited cells = visit(c.since, c.columns, counts);
    EXPECT_EQ(cells.size(), c.cells);
    EXPECT_EQ(counts.Cols, 3);
    EXPECT_EQ(counts.Rows, 4);
    EXPECT_GT(counts.Version, seen);
    EXPECT_EQ(cells.count({0, 1}) ? cells.at({0, 1}) : "c", "c");
    if (c.columns > 2) {
      EXPECT_EQ(cells.at({2, 3}), "b");
    }
    // The copying form gives the same cells.
    const auto changes = s.TextsChangedSince(c.since, c.columns);
    EXPECT_EQ(changes.Cells.size(), c.cells);
    EXPECT_EQ(changes.Version, counts.Version);
  }

  // A worker writes long and short texts; every text read is whole.
  const std::string longText(100, 'x');
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (int i = 0; !stop; ++i)
      s.SetCell(i % 3, 1 + i % 3, i % 2 ? longText : "1.25");
  });
  std::uint64_t since = 0;
  for (int round = 0; round < 200; ++round)
    since = s.VisitTextsChangedSince(
                 since, INT_MAX, [](const TGridCellStore::TextCounts &) {},
                 [&](int, int row, std::string_view text) {
                   if (row > 0 && text.size() > 1) {
                     EXPECT_TRUE(text == longText || text == "1.25") << text;
                   }
                 })
                .Version;
  stop = true;
  writer.join();
}
