#include "chartengine/canvas/ChartGeometry.h"

#include <algorithm>
#include <cstdlib>

bool IsNearSegment(const TPoint &p, int x0, int y0, int x1, int y1, int tolerance) {
  const long long dx = static_cast<long long>(x1) - x0;
  const long long dy = static_cast<long long>(y1) - y0;
  // Each factor needs 33 bits, so the cross product is taken in 128 bits.
  using Wide = __int128;
  Wide cross =
      Wide(dy) * (static_cast<long long>(p.X) - x0) - Wide(static_cast<long long>(p.Y) - y0) * dx;
  if (cross < 0)
    cross = -cross;
  if (cross >= Wide(std::max(std::llabs(dx), std::llabs(dy))))
    return false;
  const long long tol = tolerance;
  const long long minX = std::min(x0, x1), maxX = std::max(x0, x1);
  const long long minY = std::min(y0, y1), maxY = std::max(y0, y1);
  if (p.X > maxX + tol || minX > p.X + tol)
    return false;
  if (p.Y > maxY + tol || minY > p.Y + tol)
    return false;
  return true;
}

bool IsOnSegment(const TPoint &p, int x0, int y0, int x1, int y1) {
  return IsNearSegment(p, x0, y0, x1, y1, 0);
}

bool IsInsidePolygon(const TPoint &p, std::span<const TPoint> points) {
  bool inside = false;
  const std::size_t n = points.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const double xi = points[i].X, yi = points[i].Y;
    const double xj = points[j].X, yj = points[j].Y;
    if (((yi <= p.Y && p.Y < yj) || (yj <= p.Y && p.Y < yi)) &&
        p.X < (xj - xi) * (p.Y - yi) / (yj - yi) + xi)
      inside = !inside;
  }
  return inside;
}

bool IsInsideVertTriangle(const TPoint &p, int x0, int x1, int y0, int y1) {
  const TPoint pts[3] = {TPoint(x0, y0),
                         TPoint(static_cast<int>((static_cast<long long>(x0) + x1) / 2), y1),
                         TPoint(x1, y0)};
  return IsInsidePolygon(p, pts);
}

bool IsInsideHorizTriangle(const TPoint &p, int y0, int y1, int x0, int x1) {
  const TPoint pts[3] = {TPoint(x0, y0),
                         TPoint(x1, static_cast<int>((static_cast<long long>(y0) + y1) / 2)),
                         TPoint(x0, y1)};
  return IsInsidePolygon(p, pts);
}

bool IsInsideEllipse(const TPoint &p, const TRect &rect) {
  const long long cx = (static_cast<long long>(rect.Left) + rect.Right) / 2;
  const long long cy = (static_cast<long long>(rect.Top) + rect.Bottom) / 2;
  const double a = static_cast<double>(cx - rect.Left);
  const double b = static_cast<double>(cy - rect.Top);
  if (a == 0.0 || b == 0.0)
    return false;
  const double dx = static_cast<double>(p.X - cx);
  const double dy = static_cast<double>(p.Y - cy);
  return dx * dx / (a * a) + dy * dy / (b * b) <= 1.0;
}
