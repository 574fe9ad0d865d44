#pragma once
#include "platform/Rect.h"

#include <span>

// Hit tests of chart shapes. Arithmetic is done in 64 bits, so coordinates
// anywhere in the int range are safe.

// True when p lies on the line through the segment closer than about one
// pixel, and not beyond either end by more than tolerance in x or in y.
bool IsNearSegment(const TPoint &p, int x0, int y0, int x1, int y1, int tolerance);
bool IsOnSegment(const TPoint &p, int x0, int y0, int x1, int y1);

// Even-odd rule.
bool IsInsidePolygon(const TPoint &p, std::span<const TPoint> points);
// Triangles with their base on y0 (vertical) or x0 (horizontal) and the apex
// at the middle of the other side.
bool IsInsideVertTriangle(const TPoint &p, int x0, int x1, int y0, int y1);
bool IsInsideHorizTriangle(const TPoint &p, int y0, int y1, int x0, int x1);
// The ellipse inscribed in rect; false for a rect without width or height.
bool IsInsideEllipse(const TPoint &p, const TRect &rect);
