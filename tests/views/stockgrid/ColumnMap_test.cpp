#include "views/stockgrid/ColumnMap.h"

#include "acquisition/HTTPSite.h"

#include <gtest/gtest.h>

namespace {

TColumnMap Hidden() {
  TColumnMap m;
  m.fill(-1);
  return m;
}

TEST(ColumnMap, WatchModeRemovesPositionFieldsAndClosesTheGaps) {
  TColumnMap view = Hidden();
  view[gfSymbol] = 0;
  view[gfLast] = 1;
  view[gfBid] = 2;
  view[gfQuantity] = 3;
  view[gfValue] = 4;
  view[gfVolume] = 5;
  const TColumnMap map = BuildColumnMap(view, true, DefaultProvidedFields());
  EXPECT_EQ(map[gfQuantity], -1);
  EXPECT_EQ(map[gfValue], -1);
  EXPECT_EQ(map[gfVolume], 3); // the field of column 5 shows in column 3
  EXPECT_EQ(map[gfLast], 1);
  EXPECT_EQ(ShownFieldCount(map), 4);
  EXPECT_EQ(FieldAtColumn(map, 3), gfVolume);
  EXPECT_EQ(FieldAtColumn(map, 4), -1);
}

TEST(ColumnMap, PortfolioGridKeepsPositionFields) {
  TColumnMap view = Hidden();
  view[gfSymbol] = 0;
  view[gfQuantity] = 1;
  view[gfNote] = 2;
  const TColumnMap map = BuildColumnMap(view, false, DefaultProvidedFields());
  EXPECT_EQ(map[gfQuantity], 1);
  EXPECT_EQ(map[gfNote], 2);
}

TEST(ColumnMap, FieldsTheSiteDoesNotProvideAreRemoved) {
  TColumnMap view = Hidden();
  view[gfSymbol] = 0;
  view[gfTick] = 1;
  view[gfBidSize] = 2;
  view[gfLast] = 3;
  const TColumnMap map = BuildColumnMap(view, false, {"bidsizecol"});
  EXPECT_EQ(map[gfTick], -1);
  EXPECT_EQ(map[gfBidSize], 1);
  EXPECT_EQ(map[gfLast], 2);
}

TEST(ColumnMap, NegativeEntriesCountAsHidden) {
  TColumnMap view = Hidden();
  view[gfSymbol] = 0;
  view[gfLast] = -7;
  const TColumnMap map = BuildColumnMap(view, false, DefaultProvidedFields());
  EXPECT_EQ(map[gfLast], -1);
  EXPECT_EQ(ShownFieldCount(map), 1);
}

TEST(ColumnMap, RemovingAHiddenFieldChangesNothing) {
  TColumnMap map = Hidden();
  map[gfSymbol] = 0;
  map[gfLast] = 1;
  const TColumnMap before = map;
  RemoveShownField(map, gfValue);
  RemoveShownField(map, -1);
  RemoveShownField(map, GridFieldCount);
  EXPECT_EQ(map, before);
}

} // namespace
