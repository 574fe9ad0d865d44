#include "views/stockgrid/GridShapes.h"

#include "core/ErrorReport.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

constexpr TColor kBulbGrey = 0x808080;
constexpr TColor kBulbYellow = 0x00FFFF;
constexpr TColor kBulbSilver = 0xC0C0C0;
constexpr double kBulbFreshDays = 0.5;
constexpr double kBulbOldDays = 2.0;

template <class F> void Reported(const char *place, F &&draw) {
  try {
    draw();
  } catch (const std::exception &e) {
    ShowErrorReport(e.what(), place);
  } catch (...) {
    ShowErrorReport("unknown error", place);
  }
}

int Channel(int a, int b, double t) {
  const double v = std::round(a + (b - a) * t);
  if (!(v > 0))
    return 0;
  return v > 255 ? 255 : int(v);
}

} // namespace

TColor BlendColor(TColor a, TColor b, double t) {
  return RGB(Channel(GetRValue(a), GetRValue(b), t), Channel(GetGValue(a), GetGValue(b), t),
             Channel(GetBValue(a), GetBValue(b), t));
}

std::vector<TPoint> ArrowDownPoints(const TRect &r) {
  const int h = int(std::lround(0.7 * (r.Bottom - r.Top)));
  const int cx = (r.Left + r.Right - 4) / 2;
  const int y0 = (r.Top + r.Bottom - h) / 2;
  return {{cx, y0},
          {cx, y0 + h - 4},
          {cx - 2, y0 + h - 4},
          {cx + 2, y0 + h},
          {cx + 6, y0 + h - 4},
          {cx + 4, y0 + h - 4},
          {cx + 4, y0},
          {cx, y0}};
}

std::vector<TPoint> ArrowUpPoints(const TRect &r) {
  const int h = int(std::lround(0.7 * (r.Bottom - r.Top)));
  const int cx = (r.Left + r.Right - 4) / 2;
  const int yb = (r.Top + r.Bottom + h) / 2;
  return {{cx, yb},
          {cx, yb - h + 4},
          {cx - 2, yb - h + 4},
          {cx + 2, yb - h},
          {cx + 6, yb - h + 4},
          {cx + 4, yb - h + 4},
          {cx + 4, yb},
          {cx, yb}};
}

std::vector<TPoint> SortMarkDownPoints(const TRect &r) {
  const int x0 = r.Right - 11, y0 = r.Top + 2;
  return {{x0, y0}, {x0 + 10, y0}, {x0 + 5, y0 + 5}};
}

std::vector<TPoint> SortMarkUpPoints(const TRect &r) {
  const int x0 = r.Right - 11, y0 = r.Top + 2;
  return {{x0, y0 + 5}, {x0 + 10, y0 + 5}, {x0 + 5, y0}};
}

std::vector<TPoint> InsertMarkPoints(const TRect &r, int side) {
  const int b = r.Bottom;
  if (side == 0) {
    const int l = r.Left - 1, t = r.Top - 1;
    return {{l, t}, {l + 5, t}, {l, t + 5}, {l, b - 5}, {l + 5, b}, {l, b}, {l, t}};
  }
  const int rt = r.Right, t = r.Top - 1;
  return {{rt, t - 1}, {rt - 5, t - 1}, {rt, t + 4}, {rt, b - 5}, {rt - 5, b}, {rt, b}, {rt, t}};
}

std::vector<TPoint> RowNewsBulbOutline(int x, int y) {
  return {{x + 2, y},      {x + 5, y},      {x + 7, y + 2}, {x + 7, y + 4}, {x + 5, y + 6},
          {x + 5, y + 10}, {x + 4, y + 11}, {x + 4, y + 8}, {x + 3, y + 8}, {x + 3, y + 11},
          {x + 2, y + 10}, {x + 2, y + 6},  {x, y + 4},     {x, y + 2},     {x + 2, y}};
}

std::vector<TPoint> RowNewsBulbInner(int x, int y) {
  return {{x + 1, y + 2}, {x + 1, y + 4}, {x + 2, y + 5}, {x + 2, y + 1}, {x + 3, y + 1},
          {x + 3, y + 7}, {x + 4, y + 7}, {x + 4, y + 1}, {x + 5, y + 1}, {x + 5, y + 5},
          {x + 6, y + 4}, {x + 6, y + 2}, {x + 1, y + 2}};
}

TColor RowNewsBulbOutlineColor(double age, TColor bulbOutline) {
  if (age < kBulbFreshDays)
    return bulbOutline;
  if (age <= kBulbOldDays)
    return BlendColor(clBlack, kBulbGrey, (age - kBulbFreshDays) / (kBulbOldDays - kBulbFreshDays));
  return kBulbGrey;
}

TColor RowNewsBulbInnerColor(double age) {
  return age < kBulbFreshDays ? BlendColor(kBulbYellow, kBulbGrey, age / kBulbFreshDays)
                              : kBulbSilver;
}

void SGDrawArrowDown(TCanvas &canvas, const TRect &rect) {
  Reported("SGDrawArrowDown", [&] { canvas.Polygon(ArrowDownPoints(rect)); });
}

void SGDrawArrowUp(TCanvas &canvas, const TRect &rect) {
  Reported("SGDrawArrowUp", [&] { canvas.Polygon(ArrowUpPoints(rect)); });
}

void SGDrawInsertRed(TCanvas &canvas, const TRect &rect, int side) {
  Reported("SGDrawInsertRed", [&] { canvas.Polygon(InsertMarkPoints(rect, side)); });
}

void SGDrawSortMarkDown(TCanvas &canvas, const TRect &rect) {
  Reported("SGDrawSortMarkDown", [&] { canvas.Polygon(SortMarkDownPoints(rect)); });
}

void SGDrawSortMarkUp(TCanvas &canvas, const TRect &rect) {
  Reported("SGDrawSortMarkUp", [&] { canvas.Polygon(SortMarkUpPoints(rect)); });
}

void SGDrawCellFrame(TCanvas &canvas, const TRect &rect, TColor color) {
  Reported("SGDrawCellFrame", [&] {
    // The stroke through x = a..c, y = b..d covers every pixel whose centre
    // lies within 1 px of it: the box one pixel around the corners, less
    // what lies over 2 px inside the box.
    const int a = rect.Left + 1, c = rect.Right - 1, b = rect.Top + 1, d = rect.Bottom - 1;
    if (a == c && b == d)
      return; // a stroke of no length draws nothing
    const TRect box(std::min(a, c) - 1, std::min(b, d) - 1, std::max(a, c) + 1,
                    std::max(b, d) + 1);
    const TBrush brush = canvas.Brush();
    canvas.Brush().Color = color;
    canvas.Brush().Style = bsSolid;
    canvas.Brush().Bitmap = nullptr;
    const int top = std::min(box.Top + 2, box.Bottom);
    const int bottom = std::max(box.Bottom - 2, top);
    canvas.FillRect(TRect(box.Left, box.Top, box.Right, top));
    canvas.FillRect(TRect(box.Left, bottom, box.Right, box.Bottom));
    const int left = std::min(box.Left + 2, box.Right);
    const int right = std::max(box.Right - 2, left);
    canvas.FillRect(TRect(box.Left, top, left, bottom));
    canvas.FillRect(TRect(right, top, box.Right, bottom));
    canvas.Brush() = brush;
  });
}

void DrawRowNewsBulb(TCanvas &canvas, int x, int y, double age, TColor bulbOutline) {
  Reported("DrawRowNewsBulb", [&] {
    const TColor pen = canvas.Pen().Color;
    canvas.Pen().Color = RowNewsBulbOutlineColor(age, bulbOutline);
    canvas.Polygon(RowNewsBulbOutline(x, y));
    canvas.Pen().Color = RowNewsBulbInnerColor(age);
    canvas.Polygon(RowNewsBulbInner(x, y));
    canvas.Pen().Color = pen;
  });
}
