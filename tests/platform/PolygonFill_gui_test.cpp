// Polygon fills (and their 1-px outlines) written straight into an RGB32
// picture against the painter's own drawing of the same polygon (an RGB888
// picture, which the canvas never writes directly): many thousands of random
// polygons, thin, degenerate, clipped and translated ones among them, must
// give the same pixels.
#include "platform/QPainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 61; // odd and even sizes both
constexpr int kHeight = 48;

enum class Clip { None, Rect, Polygon };

struct Case {
  std::string name;
  Clip clip;
  QPoint shift; // the painter's translation
};

// Draws the polygon filled in `colour`, outlined by a 1-px pen when `outline`.
void Draw(QImage &image, const Case &c, const std::vector<TPoint> &corners, TColor colour,
          bool outline, quint64 *directFills) {
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.translate(c.shift);
  TQPainterCanvas canvas(painter);
  if (c.clip == Clip::Rect)
    canvas.SetClipRect(TRect(7, 5, 50, 41));
  else if (c.clip == Clip::Polygon)
    canvas.SetClipPolygon({{4, 30}, {4, 8}, {15, 2}, {56, 3}, {57, 25}, {45, 44}});
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = colour;
  canvas.Pen().Style = outline ? psSolid : psClear;
  canvas.Pen().Color = 0x202020;
  canvas.Polygon(corners);
  if (directFills)
    *directFills += canvas.DirectFillCount();
}

// Random polygons of 3 to 8 corners in the shapes a chart draws most: a
// slanted parallelogram (a 3-D ribbon), one thinner than a pixel, a
// collinear one, a triangle, free corners and faces reaching far out of the
// picture.
std::vector<TPoint> RandomPolygon(std::mt19937 &rng) {
  const auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const TPoint p(in(-6, kWidth + 5), in(-6, kHeight + 5));
  switch (in(0, 6)) {
  case 6: // a face reaching far above or below the picture
    return {p, {p.X + in(-3, 3), in(0, 1) ? -40000 : 40000}, {p.X + in(-3, 3), p.Y + in(-9, 9)}};
  case 0: { // parallelogram: a segment moved along a depth direction
    const TPoint s(in(-4, 4), in(-20, 20)), d(in(-12, 12), in(-12, 12));
    return {p, {p.X + s.X, p.Y + s.Y}, {p.X + s.X + d.X, p.Y + s.Y + d.Y}, {p.X + d.X, p.Y + d.Y}};
  }
  case 1: { // a sliver: corners one pixel apart across a long edge
    const TPoint s(in(-30, 30), in(-30, 30));
    return {p,
            {p.X + s.X, p.Y + s.Y},
            {p.X + s.X + in(0, 1), p.Y + s.Y + in(0, 1)},
            {p.X + in(-1, 1), p.Y + in(-1, 1)}};
  }
  case 2: { // collinear corners
    const TPoint s(in(-5, 5), in(-5, 5));
    const int k = in(1, 4);
    return {
        p, {p.X + s.X, p.Y + s.Y}, {p.X + k * s.X, p.Y + k * s.Y}, {p.X + 2 * s.X, p.Y + 2 * s.Y}};
  }
  case 3:
    return {
        p, {in(-6, kWidth + 5), in(-6, kHeight + 5)}, {in(-6, kWidth + 5), in(-6, kHeight + 5)}};
  default: {
    std::vector<TPoint> pts;
    const int n = in(3, 8);
    for (int i = 0; i < n; ++i)
      pts.emplace_back(p.X + in(-25, 25), p.Y + in(-25, 25));
    return pts;
  }
  }
}

TEST(PolygonFillPicture, DirectFillsMatchThePainterPixelForPixel) {
  const std::array<Case, 4> cases = {{{"no clip", Clip::None, {0, 0}},
                                      {"rectangle clip", Clip::Rect, {0, 0}},
                                      {"polygon clip", Clip::Polygon, {0, 0}},
                                      {"translated, polygon clip", Clip::Polygon, {3, -2}}}};
  std::mt19937 rng(20261207);
  QImage direct(kWidth, kHeight, QImage::Format_RGB32);
  QImage painted(kWidth, kHeight, QImage::Format_RGB888);
  for (const Case &c : cases) {
    quint64 directFills = 0;
    int failures = 0;
    for (int i = 0; i < 20000 && failures < 3; ++i) {
      const std::vector<TPoint> corners = RandomPolygon(rng);
      const TColor colour = 0x102030u + unsigned(i % 200);
      const bool outline = i % 3 == 0;
      Draw(direct, c, corners, colour, outline, &directFills);
      Draw(painted, c, corners, colour, outline, nullptr);
      if (direct != painted.convertToFormat(QImage::Format_RGB32)) {
        ++failures;
        std::string text;
        for (const TPoint &p : corners)
          text += " (" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
        ADD_FAILURE() << c.name << ": polygon" << text << " differs";
      }
    }
    // Most of them took the direct route; the rest show the fallback agrees.
    EXPECT_GT(directFills, 4000u) << c.name << ": " << directFills;
  }
}

} // namespace
