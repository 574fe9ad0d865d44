#include "chartengine/engine/AxisGeometry.h"

#include "ChartTestSupport.h"
#include "platform/Canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

struct PlacementCase {
  const char *Name;
  TAxisSide Side;
  int Angle;
  unsigned Align;
  int Dx, Dy;
};

class AxisLabelPlacement : public ::testing::TestWithParam<PlacementCase> {};

// One line, font height 14 (half 7).
TEST_P(AxisLabelPlacement, OneLine) {
  const PlacementCase &c = GetParam();
  const TAxisTextPlacement p = AxisTextPlacement(c.Side, c.Angle, 14, 1);
  EXPECT_EQ(p.Align, c.Align);
  EXPECT_THAT(p.LineOffsets, ElementsAre(TPoint(c.Dx, c.Dy)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, AxisLabelPlacement,
    ::testing::Values(PlacementCase{"Left0", asLeft, 0, TA_RIGHT, 0, -7},
                      PlacementCase{"Right0", asRight, 0, TA_LEFT, 0, -7},
                      PlacementCase{"Bottom0", asBottom, 0, TA_CENTER, 0, 0},
                      PlacementCase{"Top0", asTop, 0, TA_CENTER | TA_BOTTOM, 0, 0},
                      PlacementCase{"Left90", asLeft, 90, TA_CENTER | TA_BOTTOM, 0, 0},
                      PlacementCase{"Right90", asRight, 90, TA_CENTER, 0, 0},
                      PlacementCase{"Bottom90", asBottom, 90, TA_RIGHT, -7, 0},
                      PlacementCase{"Top90", asTop, 90, TA_LEFT, -7, 0},
                      PlacementCase{"Left180", asLeft, 180, TA_LEFT, 0, 7},
                      PlacementCase{"Right180", asRight, 180, TA_RIGHT, 0, 7},
                      PlacementCase{"Bottom180", asBottom, 180, TA_CENTER | TA_BOTTOM, 0, 0},
                      PlacementCase{"Top180", asTop, 180, TA_CENTER, 0, 0},
                      PlacementCase{"Left270", asLeft, 270, TA_CENTER, 0, 0},
                      PlacementCase{"Right270", asRight, 270, TA_CENTER | TA_BOTTOM, 0, 0},
                      PlacementCase{"Bottom270", asBottom, 270, TA_LEFT, 7, 0},
                      PlacementCase{"Top270", asTop, 270, TA_RIGHT, 7, 0},
                      PlacementCase{"Left45", asLeft, 45, TA_LEFT, 0, 0},
                      PlacementCase{"Bottom300", asBottom, 300, TA_LEFT, 0, 0},
                      PlacementCase{"Bottom360", asBottom, 360, TA_CENTER, 0, 0}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(AxisTextPlacement, LinesGrowAwayFromTheAxis) {
  EXPECT_THAT(AxisTextPlacement(asBottom, 0, 10, 3).LineOffsets,
              ElementsAre(TPoint(0, 0), TPoint(0, 10), TPoint(0, 20)));
  EXPECT_THAT(AxisTextPlacement(asTop, 0, 10, 3).LineOffsets,
              ElementsAre(TPoint(0, -20), TPoint(0, -10), TPoint(0, 0)));
  // Turned text on the left: the last line stands next to the axis.
  EXPECT_THAT(AxisTextPlacement(asLeft, 90, 10, 2).LineOffsets,
              ElementsAre(TPoint(-10, 0), TPoint(0, 0)));
  EXPECT_THAT(AxisTextPlacement(asLeft, 270, 10, 2).LineOffsets,
              ElementsAre(TPoint(0, 0), TPoint(-10, 0)));
  EXPECT_THAT(AxisTextPlacement(asRight, 90, 10, 2).LineOffsets,
              ElementsAre(TPoint(0, 0), TPoint(10, 0)));
}

TEST(AxisTextPlacement, LinesAlongTheAxisAreCentred) {
  EXPECT_THAT(AxisTextPlacement(asLeft, 0, 10, 3).LineOffsets,
              ElementsAre(TPoint(0, -15), TPoint(0, -5), TPoint(0, 5)));
  EXPECT_THAT(AxisTextPlacement(asBottom, 90, 10, 2).LineOffsets,
              ElementsAre(TPoint(-10, 0), TPoint(0, 0)));
  EXPECT_THAT(AxisTextPlacement(asRight, 180, 10, 2).LineOffsets,
              ElementsAre(TPoint(0, 10), TPoint(0, 0)));
}

TAxisRoomRequest Room(TAxisSide side) {
  TAxisRoomRequest r;
  r.Side = side;
  r.HasTitle = true;
  r.TitleSize = 15;
  r.Labels = true;
  r.LabelsSize = 13;
  r.TicksSize = 6;
  r.ExtraMargin = 2;
  return r;
}

const TRect Plot(50, 20, 350, 220);

struct RoomCase {
  const char *Name;
  TAxisSide Side;
  TRect Rect;
  int AxisLine, Labels, Title;
};

class AxisShrink : public ::testing::TestWithParam<RoomCase> {};

TEST_P(AxisShrink, TitleLabelsAndTicksLeaveThePlot) {
  const RoomCase &c = GetParam();
  const TAxisRoom room = ShrinkForAxis(Plot, Room(c.Side));
  EXPECT_EQ(room.Rect, c.Rect);
  EXPECT_EQ(room.AxisLinePos, c.AxisLine);
  EXPECT_EQ(room.LabelsPos, c.Labels);
  EXPECT_EQ(room.TitlePos, c.Title);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, AxisShrink,
    ::testing::Values(RoomCase{"Bottom", asBottom, TRect(50, 20, 350, 184), 184, 192, 205},
                      RoomCase{"Top", asTop, TRect(50, 56, 350, 220), 56, 48, 35},
                      RoomCase{"Left", asLeft, TRect(86, 20, 350, 220), 86, 78, 65},
                      RoomCase{"Right", asRight, TRect(50, 20, 314, 220), 314, 322, 335}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(AxisRoom, PositionPercentMovesEverythingInside) {
  TAxisRoomRequest r = Room(asBottom);
  r.PositionPercent = 10;
  const TAxisRoom room = ShrinkForAxis(Plot, r);
  // 10 % of the 164 pixels left: 16.
  EXPECT_EQ(room.Rect, TRect(50, 20, 350, 184));
  EXPECT_EQ(room.AxisLinePos, 168);
  EXPECT_EQ(room.LabelsPos, 176);
  EXPECT_EQ(room.TitlePos, 189);
}

TEST(AxisRoom, WithoutTitleAndLabels) {
  TAxisRoomRequest r = Room(asLeft);
  r.HasTitle = false;
  r.Labels = false;
  const TAxisRoom room = ShrinkForAxis(Plot, r);
  EXPECT_EQ(room.Rect, TRect(58, 20, 350, 220));
  EXPECT_EQ(room.TitlePos, 50);
  EXPECT_EQ(room.LabelsPos, 50);
  r.TicksSize = 0;
  r.ExtraMargin = 0;
  EXPECT_EQ(ShrinkForAxis(Plot, r).Rect, Plot);
}

TEST(AxisRoom, DepthAxisKeepsItsTitleAtTheRightEdge) {
  TAxisRoomRequest r = Room(asRight);
  r.Depth = true;
  const TAxisRoom room = ShrinkForAxis(Plot, r);
  EXPECT_EQ(room.TitlePos, 350);
  EXPECT_EQ(room.LabelsPos, 337);
  EXPECT_EQ(room.Rect, TRect(50, 20, 329, 220));
}

TEST(AxisRoom, PlacingOnlyGoesOutwards) {
  TAxisRoomRequest r = Room(asBottom);
  TAxisRoom room = PlaceAlongRect(Plot, r);
  EXPECT_EQ(room.Rect, Plot);
  EXPECT_EQ(room.AxisLinePos, 220);
  EXPECT_EQ(room.LabelsPos, 226);
  EXPECT_EQ(room.TitlePos, 239);
  r.Side = asTop;
  r.PositionPercent = 50;
  room = PlaceAlongRect(Plot, r);
  EXPECT_EQ(room.AxisLinePos, 120);
  EXPECT_EQ(room.LabelsPos, 114);
  EXPECT_EQ(room.TitlePos, 101);
}

TEST(AxisRoom, Edges) {
  EXPECT_EQ(RectEdge(Plot, asLeft), 50);
  EXPECT_EQ(RectEdge(Plot, asTop), 20);
  EXPECT_EQ(RectEdge(Plot, asRight), 350);
  EXPECT_EQ(RectEdge(Plot, asBottom), 220);
  EXPECT_EQ(MoveOutwards(100, asLeft, 5), 95);
  EXPECT_EQ(MoveOutwards(100, asBottom, -5), 95);
  EXPECT_EQ(AxisPositionOffset(Plot, asLeft, 50), 150);
  EXPECT_EQ(AxisPositionOffset(Plot, asTop, 50), 100);
}

} // namespace
