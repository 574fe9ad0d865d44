#include "chartengine/canvas/ChartGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

TEST(ChartGeometry, NearSegment) {
  // Horizontal segment (0,0)-(10,0).
  EXPECT_TRUE(IsOnSegment(TPoint(5, 0), 0, 0, 10, 0));
  EXPECT_FALSE(IsOnSegment(TPoint(5, 1), 0, 0, 10, 0));
  EXPECT_FALSE(IsOnSegment(TPoint(12, 0), 0, 0, 10, 0));
  EXPECT_TRUE(IsNearSegment(TPoint(12, 0), 0, 0, 10, 0, 2));
  EXPECT_FALSE(IsNearSegment(TPoint(13, 0), 0, 0, 10, 0, 2));
  EXPECT_TRUE(IsNearSegment(TPoint(-2, 0), 10, 0, 0, 0, 2)) << "either direction";
  // Diagonal.
  EXPECT_TRUE(IsOnSegment(TPoint(3, 3), 0, 0, 10, 10));
  EXPECT_FALSE(IsOnSegment(TPoint(3, 5), 0, 0, 10, 10));
  // A segment of no length is never hit.
  EXPECT_FALSE(IsNearSegment(TPoint(1, 1), 1, 1, 1, 1, 3));
}

TEST(ChartGeometry, SegmentTestsDoNotOverflow) {
  // Products of these differences exceed 64 bits' half range in 32-bit maths.
  EXPECT_TRUE(IsOnSegment(TPoint(0, 0), INT_MIN, INT_MIN, INT_MAX, INT_MAX));
  EXPECT_FALSE(IsOnSegment(TPoint(INT_MIN, INT_MAX), INT_MIN, INT_MIN, INT_MAX, INT_MAX));
  EXPECT_FALSE(IsNearSegment(TPoint(INT_MAX, INT_MIN), INT_MIN, 0, INT_MAX, 0, INT_MAX));
}

TEST(ChartGeometry, InsidePolygonEvenOdd) {
  const std::vector<TPoint> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(IsInsidePolygon(TPoint(5, 5), square));
  EXPECT_FALSE(IsInsidePolygon(TPoint(15, 5), square));
  EXPECT_FALSE(IsInsidePolygon(TPoint(5, -1), square));
  EXPECT_FALSE(IsInsidePolygon(TPoint(1, 1), std::vector<TPoint>{}));
  // A star drawn as a self-crossing pentagram leaves its centre outside.
  const std::vector<TPoint> star = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
  EXPECT_FALSE(IsInsidePolygon(TPoint(50, 50), star));
  EXPECT_TRUE(IsInsidePolygon(TPoint(50, 10), star));
}

TEST(ChartGeometry, Triangles) {
  // Base on y = 20 from x 0 to 10, apex at (5, 0).
  EXPECT_TRUE(IsInsideVertTriangle(TPoint(5, 15), 0, 10, 20, 0));
  EXPECT_FALSE(IsInsideVertTriangle(TPoint(1, 2), 0, 10, 20, 0));
  // Base on x = 0 from y 0 to 10, apex at (20, 5).
  EXPECT_TRUE(IsInsideHorizTriangle(TPoint(5, 5), 0, 10, 0, 20));
  EXPECT_FALSE(IsInsideHorizTriangle(TPoint(18, 1), 0, 10, 0, 20));
}

TEST(ChartGeometry, InsideEllipse) {
  const TRect r(0, 0, 20, 10);
  EXPECT_TRUE(IsInsideEllipse(TPoint(10, 5), r));
  EXPECT_TRUE(IsInsideEllipse(TPoint(0, 5), r));
  EXPECT_FALSE(IsInsideEllipse(TPoint(1, 1), r));
  EXPECT_FALSE(IsInsideEllipse(TPoint(5, 5), TRect(5, 0, 5, 10))) << "no width";
}

} // namespace
