#include "platform/PolygonCut.h"

#include <cmath>

namespace {

// One side of the rectangle: keeps the points with axis value on the kept
// side of the limit (min: value >= limit, else value <= limit).
QPolygon CutBySide(const QPolygon &in, bool alongX, bool min, int limit) {
  QPolygon out;
  const int n = int(in.size());
  if (n == 0)
    return out;
  out.reserve(n + 4);
  const auto value = [&](const QPoint &p) { return alongX ? p.x() : p.y(); };
  const auto kept = [&](const QPoint &p) { return min ? value(p) >= limit : value(p) <= limit; };
  const auto crossing = [&](const QPoint &a, const QPoint &b) {
    // Where the edge a-b meets the limit, the other coordinate rounded.
    const double t = (double(limit) - value(a)) / (double(value(b)) - value(a));
    const double other = alongX ? a.y() + t * (double(b.y()) - a.y())
                                : a.x() + t * (double(b.x()) - a.x());
    const int o = int(std::lround(other));
    return alongX ? QPoint(limit, o) : QPoint(o, limit);
  };
  QPoint prev = in[n - 1];
  bool prevKept = kept(prev);
  for (int i = 0; i < n; ++i) {
    const QPoint cur = in[i];
    const bool curKept = kept(cur);
    if (curKept != prevKept)
      out.append(crossing(prev, cur));
    if (curKept)
      out.append(cur);
    prev = cur;
    prevKept = curKept;
  }
  return out;
}

} // namespace

QPolygon CutPolygonToRect(const QPolygon &polygon, const QRect &rect) {
  QPolygon p = CutBySide(polygon, true, true, rect.left());
  p = CutBySide(p, true, false, rect.right());
  p = CutBySide(p, false, true, rect.top());
  return CutBySide(p, false, false, rect.bottom());
}
