// The check that pixels written straight into a picture are the painter's
// own: the direct writers reproduce the raster engine's rules, and another
// Qt may fill differently.
#include "platform/QPainterCanvas.h"

#include <QImage>
#include <QtGlobal>
#include <climits>
#include <vector>

bool TQPainterCanvas::DirectWritesAgree() {
  constexpr int kW = 61, kH = 48;
  // Polygons in the shapes a chart fills most (3-D faces, slivers, triangles,
  // free ones, some reaching far out) and 1-px lines, solid, styled on an
  // opaque background (crossing themselves) and in a raster mode, some
  // running far out, under no clip, a rectangle and a polygon.
  const auto draw = [](QImage &image, DirectWrites writes, int clip) {
    image.fill(Qt::white);
    TQPainterCanvas cv(&image);
    cv.m_directWrites = writes;
    const TPoint hexagon[] = {{4, 30}, {4, 8}, {15, 2}, {56, 3}, {57, 25}, {45, 44}};
    if (clip == 1)
      cv.SetClipRect(TRect(7, 5, 50, 41));
    else if (clip == 2)
      cv.SetClipPolygon(hexagon);
    unsigned seed = 20261207u;
    const auto in = [&](int lo, int hi) {
      seed = seed * 1103515245u + 12345u;
      return lo + int((seed >> 8) % unsigned(hi - lo + 1));
    };
    static constexpr TPenStyle kStyles[] = {psDash, psDot, psDashDot, psDashDotDot};
    cv.SetBkColor(clYellow);
    cv.SetBkMode(OPAQUE);
    std::vector<TPoint> corners;
    for (int k = 0; k < 160; ++k) {
      const TPoint p(in(-6, kW + 5), in(-6, kH + 5));
      switch (k % 5) {
      case 0: {
        const TPoint s(in(-4, 4), in(-20, 20)), d(in(-12, 12), in(-12, 12));
        corners = {p, {p.X + s.X, p.Y + s.Y}, {p.X + s.X + d.X, p.Y + s.Y + d.Y},
                   {p.X + d.X, p.Y + d.Y}};
        break;
      }
      case 1: {
        const TPoint s(in(-30, 30), in(-30, 30));
        corners = {p, {p.X + s.X, p.Y + s.Y}, {p.X + s.X + in(0, 1), p.Y + s.Y + in(0, 1)}};
        break;
      }
      case 2:
        corners = {p, {p.X + in(-3, 3), k % 2 ? -40000 : 40000}, {p.X + in(-3, 3), p.Y + in(-9, 9)}};
        break;
      default:
        corners.assign(size_t(in(3, 8)), p);
        for (TPoint &q : corners)
          q = TPoint(p.X + in(-25, 25), p.Y + in(-25, 25));
        break;
      }
      cv.Brush().Color = 0x102030u + unsigned(k);
      cv.Pen().Style = k % 3 == 0 ? psSolid : (k % 3 == 1 ? psClear : kStyles[k % 4]);
      cv.Pen().Color = 0x203040u + unsigned(k) * 0x010203u;
      cv.Polygon(corners);
      cv.Pen().Style = k % 4 == 0 ? psDot : psSolid;
      cv.Pen().Mode = k % 7 == 0 ? pmNotXor : pmCopy;
      cv.MoveTo(in(-8, kW + 8), in(-8, kH + 8));
      // Some lines run far out of the picture, to the ends of the range.
      if (k % 11 == 0)
        cv.LineTo(k % 2 ? INT_MIN + in(0, 9) : INT_MAX - in(0, 9), in(-40000, 40000));
      else
        cv.LineTo(in(-8, kW + 8), in(-8, kH + 8));
      cv.Pen().Mode = pmCopy;
      // A styled polyline that crosses itself and turns back on itself: the
      // pixels passed twice show the dash.
      corners.assign(size_t(in(3, 7)), p);
      for (TPoint &q : corners)
        q = TPoint(in(-6, kW + 5), in(-6, kH + 5));
      corners[2] = corners[0];
      cv.Pen().Style = kStyles[k % 4];
      cv.Polyline(corners);
    }
  };
  QImage direct(kW, kH, QImage::Format_RGB32), painted(kW, kH, QImage::Format_RGB32);
  for (int clip = 0; clip < 3; ++clip) {
    draw(direct, DirectWrites::Forced, clip);
    draw(painted, DirectWrites::Off, clip);
    if (direct != painted) {
      qWarning("Pixels written straight into pictures differ from the painter's: the painter "
               "draws them all");
      return false;
    }
  }
  return true;
}
