#include "chartengine/canvas/GradientBands.h"

#include "chartengine/canvas/ChartMath.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

TColor GradientStepColor(TColor startRgb, TColor endRgb, int i, int n) {
  if (n <= 0)
    return startRgb;
  auto step = [&](int s, int e) { return std::clamp(s + MulDiv(i, e - s, n), 0, 255); };
  return RGB(step(GetRValue(startRgb), GetRValue(endRgb)),
             step(GetGValue(startRgb), GetGValue(endRgb)),
             step(GetBValue(startRgb), GetBValue(endRgb)));
}

namespace {

TRect Normalised(const TRect &r) {
  return TRect(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
               std::max(r.Top, r.Bottom));
}

void Linear(std::vector<TGradientBand> &out, const TRect &r, TColor s, TColor e, bool vertical) {
  const int size = vertical ? r.Height() : r.Width();
  const int n = std::min(256, size);
  if (n <= 1) {
    out.push_back({r, s});
    return;
  }
  out.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int from = MulDiv(i, size, n);
    const int to = MulDiv(i + 1, size, n);
    const TColor c = GradientStepColor(s, e, i, n - 1);
    if (vertical)
      out.push_back({TRect(r.Left, r.Bottom - to, r.Right, r.Bottom - from), c});
    else
      out.push_back({TRect(r.Right - to, r.Top, r.Right - from, r.Bottom), c});
  }
}

void FromCenter(std::vector<TGradientBand> &out, const TRect &r, TColor s, TColor e) {
  const int w = r.Width(), h = r.Height();
  const int hw = w / 2, hh = h / 2;
  const int total = hw + hh;
  int i = 0, j = 0;
  // Rings two pixels thick from the edge inwards. The ring that reaches the
  // middle is drawn too, so that odd sizes get their centre pixel.
  for (;;) {
    if (w - 2 * j > 0 && h - 2 * i > 0) {
      const TColor c = GradientStepColor(s, e, i + j, total);
      const int l = r.Left + j, t = r.Top + i;
      const int rr = r.Right - j, b = r.Bottom - i;
      out.push_back({TRect(l, t, rr, std::min(b, t + 2)), c});
      out.push_back({TRect(l, std::max(t, b - 2), rr, b), c});
      out.push_back({TRect(l, t, std::min(rr, l + 2), b), c});
      out.push_back({TRect(std::max(l, rr - 2), t, rr, b), c});
    }
    if (i >= hh && j >= hw)
      break;
    if (i < hh)
      i += 2;
    if (j < hw)
      j += 2;
  }
}

// Nested corner shapes growing from the left corner: a row out to column j
// and a column from that row back to the start edge, one pixel each.
void FromCorner(std::vector<TGradientBand> &out, const TRect &r, TColor s, TColor e, bool top) {
  const int w = r.Width(), h = r.Height();
  const int total = static_cast<int>(std::lround(std::sqrt(double(w) * w + double(h) * h)));
  const int rounds = std::max(w, h);
  for (int k = 0; k < rounds; ++k) {
    const int j = std::min(k, w - 1);
    const int row = std::min(k, h - 1);
    const TColor c = GradientStepColor(s, e, j, total);
    const int y = top ? r.Top + row : r.Bottom - 1 - row;
    if (k < h) // each row once, as far as the columns reached so far
      out.push_back({TRect(r.Left, y, r.Left + j + 1, y + 1), c});
    if (k < w) {
      const int x = r.Left + j;
      out.push_back({top ? TRect(x, r.Top, x + 1, y + 1) : TRect(x, y, x + 1, r.Bottom), c});
    }
  }
}

} // namespace

std::vector<TGradientBand> ComputeGradientBands(const TRect &rect, TColor startColor,
                                                TColor endColor, TGradientDirection direction) {
  const TRect r = Normalised(rect);
  const TColor s = ColorToRGB(startColor);
  const TColor e = ColorToRGB(endColor);
  std::vector<TGradientBand> out;
  if (r.IsEmpty()) {
    // Nothing to spread the colours over: one band of the start colour.
    out.push_back({r, s});
    return out;
  }
  switch (direction) {
  case gdTopBottom:
  case gdBottomTop:
    Linear(out, r, s, e, true);
    break;
  case gdLeftRight:
  case gdRightLeft:
    Linear(out, r, s, e, false);
    break;
  case gdFromCenter:
    FromCenter(out, r, s, e);
    break;
  case gdFromTopLeft:
  case gdFromBottomLeft:
    FromCorner(out, r, s, e, direction == gdFromTopLeft);
    break;
  }
  return out;
}
