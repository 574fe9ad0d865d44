// A clip polygon reaching far out of the picture (a zoomed 3-D box) is cut a
// good way outside the picture before it becomes a region: the region has no
// more rows than the picture and that margin, and inside the picture it is
// the polygon's own (up to a pixel along the edges).
#include "platform/QPainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Case {
  const char *name;
  std::vector<TPoint> corners;
};

TEST(ClipPolygonReach, FarCornersAreCutBeforeTheRegionIsMade) {
  constexpr int kW = 400, kH = 300;
  const Case cases[] = {
      {"3-D box seen in perspective",
       {{-120000, 260013}, {-120000, -90000}, {-80000, -130000}, {410, -130000}, {390, 150},
        {300007, 290000}}},
      {"slanted quad", {{-300000, -100003}, {250001, -90000}, {420, 160007}, {-60000, 310000}}},
      {"self-crossing", {{-90001, 40}, {90000, 260}, {90013, 20}, {-90000, 290}}},
  };
  for (const Case &c : cases) {
    QImage cut(kW, kH, QImage::Format_RGB32);
    cut.fill(Qt::white);
    QPainter painter(&cut);
    {
      TQPainterCanvas canvas(painter);
      canvas.SetClipPolygon(c.corners);
      EXPECT_LE(painter.clipRegion().rectCount(), kH + 2 * 2048) << c.name;
      canvas.Brush().Color = clNavy;
      canvas.FillRect(TRect(0, 0, kW, kH));
    }
    painter.end();
    // Each pixel whose centre lies clear of the edges is in exactly when the
    // polygon holds its centre (odd-even).
    int wrong = 0, inside = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        bool in = false, nearEdge = false;
        for (size_t i = 0; i < c.corners.size(); ++i) {
          const TPoint &a = c.corners[i], &b = c.corners[(i + 1) % c.corners.size()];
          const double ax = a.X, ay = a.Y, bx = b.X, by = b.Y;
          if ((ay > py) != (by > py) && px < ax + (py - ay) * (bx - ax) / (by - ay))
            in = !in;
          const double len = std::hypot(bx - ax, by - ay);
          const double t = std::clamp(((px - ax) * (bx - ax) + (py - ay) * (by - ay)) /
                                          (len * len), 0.0, 1.0);
          nearEdge = nearEdge || std::hypot(ax + t * (bx - ax) - px, ay + t * (by - ay) - py) < 1.5;
        }
        const bool filled = cut.pixel(x, y) != QColor(Qt::white).rgb();
        inside += filled;
        wrong += !nearEdge && filled != in;
      }
    EXPECT_GT(inside, 1000) << c.name;
    EXPECT_EQ(wrong, 0) << c.name;
  }
}

} // namespace
