// Random scenes of 1-px lines, outlines and fills drawn by the canvas into an
// RGB32 picture (which it writes straight into where it can) and into an
// RGB888 one (which only the painter draws): self-crossing polylines, sharp
// polygons, every pen style, background mode and pen mode, brushes, points
// far out of the picture, clips, a moved painter and a painter's opacity.
// Every scene must give the same pixels.
#include "platform/QPainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 57;
constexpr int kHeight = 44;

enum class Clip { None, Rect, Polygon };

struct Case {
  const char *name;
  Clip clip;
  QPoint shift;   // the painter's translation
  qreal opacity;  // the painter's
};

struct Counts {
  quint64 lines = 0, fills = 0;
};

class Scene {
public:
  explicit Scene(unsigned seed) : m_rng(seed) {}

  // Draws the scene of the seed; adds the direct writes to counts.
  void Draw(QImage &image, const Case &c, Counts *counts) {
    m_rng.seed(m_seed);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(c.shift);
    painter.setOpacity(c.opacity);
    TQPainterCanvas cv(painter);
    if (c.clip == Clip::Rect)
      cv.SetClipRect(TRect(6, 4, 49, 39));
    else if (c.clip == Clip::Polygon)
      cv.SetClipPolygon({{3, 28}, {3, 7}, {14, 1}, {53, 2}, {54, 24}, {42, 42}});
    for (int shape = 0; shape < 6; ++shape)
      DrawShape(cv);
    if (counts) {
      counts->lines += cv.DirectLineCount();
      counts->fills += cv.DirectFillCount();
    }
  }
  void Next(unsigned seed) { m_seed = seed; }
  std::string Text() const { return "scene " + std::to_string(m_seed); }

private:
  int In(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
  TPoint Near() { return TPoint(In(-8, kWidth + 8), In(-8, kHeight + 8)); }
  // Mostly near the picture, now and then far out, up to the ends of the range.
  TPoint Anywhere() {
    switch (In(0, 11)) {
    case 0:
      return TPoint(In(0, 1) ? INT_MAX - In(0, 3) : INT_MIN + In(0, 3), In(-50000, 50000));
    case 1:
      return TPoint(In(-3000000, 3000000), In(0, 1) ? INT_MIN + In(0, 3) : INT_MAX - In(0, 3));
    case 2:
      return TPoint(In(-40000, 40000), In(-40000, 40000));
    default:
      return Near();
    }
  }

  void DrawShape(TQPainterCanvas &cv) {
    static constexpr TPenStyle kStyles[] = {psSolid, psDash, psDot,       psDashDot,
                                            psDashDotDot, psClear, psInsideFrame};
    static constexpr TPenMode kModes[] = {pmCopy, pmCopy, pmCopy, pmNotXor, pmXor, pmNot};
    static constexpr TBrushStyle kBrushes[] = {bsSolid, bsSolid, bsClear, bsFDiagonal, bsCross};
    cv.Pen().Style = kStyles[In(0, 6)];
    cv.Pen().Width = In(0, 5) == 0 ? 0 : 1;
    cv.Pen().Mode = kModes[In(0, 5)];
    cv.Pen().Color = TColor(In(0, 0xFFFFFF));
    cv.Brush().Style = kBrushes[In(0, 4)];
    cv.Brush().Color = TColor(In(0, 0xFFFFFF));
    cv.SetBkMode(In(0, 1) ? OPAQUE : TRANSPARENT);
    cv.SetBkColor(TColor(In(0, 0xFFFFFF)));
    std::vector<TPoint> pts(size_t(In(2, 9)));
    for (TPoint &p : pts)
      p = In(0, 3) == 0 ? Anywhere() : Near();
    // Turning back on itself and sharp corners: pixels passed twice.
    if (pts.size() >= 3 && In(0, 1))
      pts[2] = pts[0];
    switch (In(0, 4)) {
    case 0:
    case 1:
      cv.Polyline(pts);
      break;
    case 2:
      cv.Polygon(pts);
      break;
    case 3: {
      const TPoint a = Near(), b = Near();
      cv.Rectangle(a.X, a.Y, b.X, b.Y);
      break;
    }
    default:
      cv.MoveTo(pts[0].X, pts[0].Y);
      cv.LineTo(pts[1].X, pts[1].Y);
      break;
    }
  }

  std::mt19937 m_rng;
  unsigned m_seed = 0;
};

TEST(DirectWrites, RandomScenesMatchThePainterPixelForPixel) {
  const Case cases[] = {{"no clip", Clip::None, {0, 0}, 1.0},
                        {"rectangle clip", Clip::Rect, {0, 0}, 1.0},
                        {"polygon clip, moved", Clip::Polygon, {3, -2}, 1.0},
                        {"opacity 0.5", Clip::None, {0, 0}, 0.5},
                        {"opacity 0.3, rectangle clip, moved", Clip::Rect, {-2, 1}, 0.3}};
  QImage direct(kWidth, kHeight, QImage::Format_RGB32);
  QImage painted(kWidth, kHeight, QImage::Format_RGB888);
  Scene scene(0);
  for (const Case &c : cases) {
    Counts counts;
    int differing = 0;
    constexpr int kScenes = 3000;
    for (int i = 0; i < kScenes; ++i) {
      scene.Next(unsigned(i) * 7919u + 17u);
      scene.Draw(direct, c, &counts);
      scene.Draw(painted, c, nullptr);
      if (direct != painted.convertToFormat(QImage::Format_RGB32) && ++differing <= 3)
        ADD_FAILURE() << c.name << ": " << scene.Text() << " differs";
    }
    EXPECT_EQ(differing, 0) << c.name << ": of " << kScenes << " scenes";
    if (c.opacity == 1.0) {
      // Most went straight into the picture: both ways were compared.
      EXPECT_GT(counts.lines, quint64(kScenes)) << c.name;
      EXPECT_GT(counts.fills, quint64(kScenes / 50)) << c.name;
    }
  }
}

} // namespace
