#include "core/NewsBulb.h"

#include "platform/Canvas.h"

#include <array>
#include <cmath>

namespace {

constexpr TColor kGrey = 0x808080;

// Keeps the caller's pen and brush.
class PenBrushKeeper {
public:
  explicit PenBrushKeeper(TCanvas &c) : m_canvas(c), m_pen(c.Pen()), m_brush(c.Brush()) {}
  ~PenBrushKeeper() {
    m_canvas.Pen() = m_pen;
    m_canvas.Brush() = m_brush;
  }

private:
  TCanvas &m_canvas;
  TPen m_pen;
  TBrush m_brush;
};

} // namespace

TColor BlendBulbColor(TColor a, TColor b, double t) {
  if (!(t > 0))
    t = 0;
  if (t > 1)
    t = 1;
  auto mix = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
             mix(GetBValue(a), GetBValue(b)));
}

TColor NewsBulbInnerColor(double age) {
  constexpr double halfHour = 30.0 / (24 * 60);
  return age < halfHour ? BlendBulbColor(clYellow, kGrey, age / halfHour) : clSilver;
}

TColor NewsBulbLargeInnerColor(double age) {
  return age < 0.5 ? BlendBulbColor(clYellow, kGrey, age / 0.5) : clSilver;
}

TColor NewsBulbLargeOutlineColor(double age) {
  if (age < 0.5)
    return clBlack;
  if (age <= 2.0)
    return BlendBulbColor(clBlack, kGrey, (age - 0.5) / 1.5);
  return kGrey;
}

void DrawNewsBulb(TCanvas &canvas, int x, int y, double age) {
  PenBrushKeeper keep(canvas);
  // Glass: a rounded head over a narrow neck.
  const std::array<TPoint, 11> glass = {
      TPoint(x + 1, y),     TPoint(x + 4, y),     TPoint(x + 5, y + 1), TPoint(x + 5, y + 3),
      TPoint(x + 4, y + 4), TPoint(x + 4, y + 6), TPoint(x + 1, y + 6), TPoint(x + 1, y + 4),
      TPoint(x, y + 3),     TPoint(x, y + 1),     TPoint(x + 1, y)};
  canvas.Pen() = TPen{clBlack, 1, psSolid, pmCopy};
  canvas.Brush().Bitmap.reset();
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = NewsBulbInnerColor(age);
  canvas.Polygon(glass);
  // Screw base.
  canvas.MoveTo(x + 2, y + 7);
  canvas.LineTo(x + 4, y + 7);
  canvas.MoveTo(x + 2, y + 8);
  canvas.LineTo(x + 4, y + 8);
}

void DrawNewsBulbLarge(TCanvas &canvas, int x, int y, double age) {
  PenBrushKeeper keep(canvas);
  const std::array<TPoint, 15> outline = {
      TPoint(x + 2, y),     TPoint(x + 5, y),      TPoint(x + 7, y + 2),  TPoint(x + 7, y + 4),
      TPoint(x + 5, y + 6), TPoint(x + 5, y + 10), TPoint(x + 4, y + 11), TPoint(x + 4, y + 8),
      TPoint(x + 3, y + 8), TPoint(x + 3, y + 11), TPoint(x + 2, y + 10), TPoint(x + 2, y + 6),
      TPoint(x, y + 4),     TPoint(x, y + 2),      TPoint(x + 2, y)};
  const std::array<TPoint, 13> inner = {
      TPoint(x + 1, y + 2), TPoint(x + 1, y + 4), TPoint(x + 2, y + 5), TPoint(x + 2, y + 1),
      TPoint(x + 3, y + 1), TPoint(x + 3, y + 7), TPoint(x + 4, y + 7), TPoint(x + 4, y + 1),
      TPoint(x + 5, y + 1), TPoint(x + 5, y + 5), TPoint(x + 6, y + 4), TPoint(x + 6, y + 2),
      TPoint(x + 1, y + 2)};
  canvas.Brush().Style = bsClear;
  canvas.Pen() = TPen{NewsBulbLargeOutlineColor(age), 1, psSolid, pmCopy};
  canvas.Polygon(outline);
  canvas.Pen().Color = NewsBulbLargeInnerColor(age);
  canvas.Polyline(inner);
}
