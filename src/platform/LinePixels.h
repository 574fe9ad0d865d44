#pragma once
#include "platform/Canvas.h"

#include <cstdlib>
#include <span>

// The pixels of 1-px lines as the canvas draws them, whatever draws them in
// the end (the painter or a direct write into a picture).

// Steps pixel by pixel along the line from (x0, y0) towards (x1, y1) and
// leaves out (x1, y1), whatever the direction: plot(x, y) for each pixel.
// Along the longer direction each step moves one pixel; across, the line
// has moved round(i * minor / major) pixels after i steps, kept as the
// numerator 2*i*minor + major so that it stays exact.
template <typename Plot> void StepLine(int x0, int y0, int x1, int y1, Plot &&plot) {
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
  const bool alongX = dx >= dy;
  const int major = alongX ? dx : dy, minor = alongX ? dy : dx;
  long long acc = major;
  int x = x0, y = y0;
  for (int i = 0; i < major; ++i) {
    plot(x, y);
    acc += 2LL * minor;
    const bool across = acc >= 2LL * major;
    if (across)
      acc -= 2LL * major;
    if (alongX) {
      x += sx;
      y += across ? sy : 0;
    } else {
      y += sy;
      x += across ? sx : 0;
    }
  }
}

// The on and off pixels of a 1-px styled pen (dash, dot, ...), counted from
// the start of a line; a solid pen has no pattern (Period 0).
struct TDashPattern {
  explicit TDashPattern(TPenStyle style);
  bool On[32] = {};
  int Period = 0;
};

// Visits the pixels of the 1-px lines through the points (and back to the
// first when closed), each line leaving out its end pixel, with the dash
// pattern running on from line to line: visit(x, y, on). line(a, b) is told
// of each line before its pixels.
template <typename Visit, typename Line>
void WalkLines(std::span<const TPoint> points, bool closed, const TDashPattern &dash,
               Visit &&visit, Line &&line) {
  int step = 0;
  const auto styled = [&](int x, int y) {
    if (dash.Period == 0) {
      visit(x, y, true);
      return;
    }
    visit(x, y, dash.On[step]);
    if (++step == dash.Period)
      step = 0;
  };
  const auto walk = [&](const TPoint &a, const TPoint &b) {
    line(a, b);
    StepLine(a.X, a.Y, b.X, b.Y, styled);
  };
  for (size_t i = 0; i + 1 < points.size(); ++i)
    walk(points[i], points[i + 1]);
  if (closed && !points.empty())
    walk(points.back(), points[0]);
}

template <typename Visit>
void WalkLines(std::span<const TPoint> points, bool closed, const TDashPattern &dash,
               Visit &&visit) {
  WalkLines(points, closed, dash, visit, [](const TPoint &, const TPoint &) {});
}
