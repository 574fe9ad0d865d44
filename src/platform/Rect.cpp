#include "platform/Rect.h"

#include <QPoint>
#include <QRect>
#include <algorithm>

TRect IntersectRect(const TRect& a, const TRect& b) {
  TRect r(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom));
  return r.IsEmpty() ? TRect() : r;
}

TRect UnionRect(const TRect& a, const TRect& b) {
  if (a.IsEmpty())
    return b;
  if (b.IsEmpty())
    return a;
  return TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
               std::max(a.Bottom, b.Bottom));
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
TRect FromQRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }
QPoint ToQPoint(const TPoint& p) { return QPoint(p.X, p.Y); }
