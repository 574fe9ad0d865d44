// Moving a field within a view's map and carrying the column widths along.
#include "views/stockgrid/ColumnMove.h"

#include <gtest/gtest.h>

namespace {

using Map = std::array<int, GridFieldCount>;

// Symbol in 0 and A=Bid, B=Ask, C=Last, D=Change in 1..4.
Map Abcd() {
  Map m;
  m.fill(-1);
  m[gfSymbol] = 0;
  m[gfBid] = 1;
  m[gfAsk] = 2;
  m[gfLast] = 3;
  m[gfChange] = 4;
  return m;
}

std::vector<int> Order(const Map &m) {
  std::vector<int> fields(5, -1);
  for (int f = 0; f < GridFieldCount; ++f)
    if (m[f] >= 0 && m[f] < 5)
      fields[std::size_t(m[f])] = f;
  return fields;
}

TEST(MoveViewField, AOverCGivesBCAD) {
  Map m = Abcd();
  // Dropped before D (the gap between C and D).
  ASSERT_TRUE(MoveViewField(m, gfBid, gfChange, true));
  EXPECT_EQ(Order(m), (std::vector<int>{gfSymbol, gfAsk, gfLast, gfBid, gfChange}));
}

TEST(MoveViewField, DOverBGivesADBC) {
  Map m = Abcd();
  ASSERT_TRUE(MoveViewField(m, gfChange, gfAsk, true));
  EXPECT_EQ(Order(m), (std::vector<int>{gfSymbol, gfBid, gfChange, gfAsk, gfLast}));
}

TEST(MoveViewField, AfterTheLastColumnGivesBCDA) {
  Map m = Abcd();
  ASSERT_TRUE(MoveViewField(m, gfBid, gfChange, false));
  EXPECT_EQ(Order(m), (std::vector<int>{gfSymbol, gfAsk, gfLast, gfChange, gfBid}));
}

TEST(MoveViewField, RefusesWhatItCannotMove) {
  const Map original = Abcd();
  Map m = original;
  EXPECT_FALSE(MoveViewField(m, gfSymbol, gfAsk, true));
  EXPECT_FALSE(MoveViewField(m, gfVolume, gfAsk, true)); // not shown
  EXPECT_FALSE(MoveViewField(m, gfBid, gfVolume, true));
  EXPECT_FALSE(MoveViewField(m, gfBid, -1, true));
  EXPECT_EQ(m, original);

  Map duplicated = Abcd();
  duplicated[gfVolume] = 2;
  const Map keep = duplicated;
  EXPECT_FALSE(MoveViewField(duplicated, gfBid, gfChange, true));
  EXPECT_EQ(duplicated, keep);

  Map outOfRange = Abcd();
  outOfRange[gfVolume] = MaxViewColumn + 1;
  EXPECT_FALSE(ValidViewMap(outOfRange));
  EXPECT_FALSE(MoveViewField(outOfRange, gfBid, gfChange, true));
}

TEST(CarryColumnWidths, BothDirections) {
  std::vector<int> w{60, 10, 20, 30, 40};
  CarryColumnWidths(w, 1, 4); // A dropped before D
  EXPECT_EQ(w, (std::vector<int>{60, 20, 30, 10, 40}));
  std::vector<int> back{60, 10, 20, 30, 40};
  CarryColumnWidths(back, 4, 2); // D dropped before B
  EXPECT_EQ(back, (std::vector<int>{60, 10, 40, 20, 30}));
  std::vector<int> end{60, 10, 20, 30, 40};
  CarryColumnWidths(end, 1, 5); // A after the last
  EXPECT_EQ(end, (std::vector<int>{60, 20, 30, 40, 10}));
}

} // namespace
