#include "platform/PolygonSpans.h"

#include <algorithm>

bool TPolygonSpans::Prepare(const QPoint *corners, int count, int top, int bottom) {
  m_count = 0;
  m_top = 0;
  m_bottom = -1;
  if (count > kMaxCorners || count < 1)
    return false;
  int minY = corners[0].y(), maxY = corners[0].y();
  for (int i = 1; i < count; ++i) {
    minY = std::min(minY, corners[i].y());
    maxY = std::max(maxY, corners[i].y());
  }
  // Rows whose centre lies between the highest and the lowest corner.
  m_top = std::max(top, minY);
  m_bottom = std::min(bottom, maxY - 1);
  if (m_top > m_bottom)
    return true;
  constexpr qint64 kHalf = 1 << 15;
  for (int i = 0; i < count; ++i) {
    QPoint a = corners[i];
    QPoint b = corners[i + 1 < count ? i + 1 : 0];
    if (a.y() > b.y())
      std::swap(a, b);
    const int edgeTop = std::max(m_top, a.y());
    const int edgeBottom = std::min(m_bottom, b.y() - 1);
    if (edgeTop > edgeBottom)
      continue;
    const qint64 ax = kHalf + (qint64(a.x()) << 16);
    Edge &e = m_edges[m_count++];
    e.top = edgeTop;
    e.bottom = edgeBottom;
    if (a.x() == b.x()) {
      e.x = ax;
      e.delta = 0;
      continue;
    }
    // The slope in floating point, cut to 16.16 towards zero, and the first
    // row's crossing from it, as the engine computes them.
    e.delta = Slope(b.x() - a.x(), b.y() - a.y());
    const qint64 dy = (qint64(edgeTop) << 16) + kHalf - (qint64(a.y()) << 16);
    e.x = ax + ((e.delta * dy) >> 16);
  }
  return true;
}

qint64 TPolygonSpans::Slope(int run, int rise) {
  // Faces drawn one after another share slopes (a ribbon's depth edges all
  // run the same way): the last two are kept.
  for (int k = 0; k < 2; ++k) {
    Slope16 &c = m_slopes[k];
    if (c.valid && c.run == run && c.rise == rise) {
      m_lastSlope = k;
      return c.delta;
    }
  }
  const int k = 1 - m_lastSlope;
  m_slopes[k] = {run, rise, qint64(double(run) / double(rise) * 65536.0), true};
  m_lastSlope = k;
  return m_slopes[k].delta;
}
