#pragma once
#include "platform/Canvas.h"

#include <algorithm>
#include <climits>
#include <span>

// The pixels of 1-px lines as the canvas draws them, whatever draws them in
// the end (the painter or a direct write into a picture).

// A box of pixels, edges included.
struct TPixelBox {
  int Left = INT_MIN, Top = INT_MIN, Right = INT_MAX, Bottom = INT_MAX;
};

// The pixels of the line from a towards b, leaving out b, whatever the
// direction. Along the longer direction each step moves one pixel; across,
// the line has moved round(i * minor / major) pixels after i steps, kept as
// the numerator 2*i*minor + major so that it stays exact. Any step can be
// worked out at once, so a line that runs far outside a box is stepped only
// where it crosses the box.
class TLineSteps {
public:
  TLineSteps(const TPoint &a, const TPoint &b)
      : m_x0(a.X), m_y0(a.Y), m_x1(b.X), m_y1(b.Y), m_sx(b.X >= a.X ? 1 : -1),
        m_sy(b.Y >= a.Y ? 1 : -1) {
    const long long dx = m_sx * (static_cast<long long>(b.X) - a.X);
    const long long dy = m_sy * (static_cast<long long>(b.Y) - a.Y);
    m_alongX = dx >= dy;
    m_major = m_alongX ? dx : dy;
    m_minor = m_alongX ? dy : dx;
  }

  // Steps (pixels) of the whole line.
  long long Count() const { return m_major; }

  // The steps from <= i < to whose pixels lie inside the box: one run, since
  // the line moves the same way all along.
  void Within(const TPixelBox &box, long long &from, long long &to) const {
    from = 0;
    to = m_major;
    if (m_major == 0)
      return;
    const long long x0 = m_x0, y0 = m_y0;
    // Both ends inside (most lines): all of it.
    if (std::min(x0, m_x1) >= box.Left && std::max(x0, m_x1) <= box.Right &&
        std::min(y0, m_y1) >= box.Top && std::max(y0, m_y1) <= box.Bottom)
      return;
    // Offsets from the start, counted in the direction the line moves.
    const auto offsets = [](long long start, int sign, int lo, int hi, long long &a,
                            long long &b) {
      a = sign > 0 ? lo - start : start - hi;
      b = sign > 0 ? hi - start : start - lo;
    };
    long long alongLo, alongHi, acrossLo, acrossHi;
    if (m_alongX) {
      offsets(x0, m_sx, box.Left, box.Right, alongLo, alongHi);
      offsets(y0, m_sy, box.Top, box.Bottom, acrossLo, acrossHi);
    } else {
      offsets(y0, m_sy, box.Top, box.Bottom, alongLo, alongHi);
      offsets(x0, m_sx, box.Left, box.Right, acrossLo, acrossHi);
    }
    from = std::max(from, alongLo);
    to = std::min(to, alongHi + 1);
    if (m_minor == 0) {
      if (acrossLo > 0 || acrossHi < 0)
        to = from;
    } else {
      // Across(i) >= lo from i >= ceil((2 lo - 1) major / (2 minor)); across(i)
      // <= hi while i < (2 hi + 1) major / (2 minor).
      const __int128 twoMinor = 2 * static_cast<__int128>(m_minor);
      from = Clamp(std::max<__int128>(from, CeilDiv((2 * static_cast<__int128>(acrossLo) - 1) *
                                                        m_major,
                                                    twoMinor)));
      to = Clamp(std::min<__int128>(
          to, CeilDiv((2 * static_cast<__int128>(acrossHi) + 1) * m_major, twoMinor)));
    }
    if (to < from)
      to = from;
  }

  // plot(x, y, i) for the steps from <= i < to.
  template <typename Plot> void Run(long long from, long long to, Plot &&plot) const {
    if (from >= to)
      return;
    const long long twoMajor = 2 * m_major, twoMinor = 2 * m_minor;
    long long acc = m_major, across = 0;
    if (from != 0) {
      const __int128 start = m_major + static_cast<__int128>(from) * twoMinor;
      acc = static_cast<long long>(start % twoMajor);
      across = static_cast<long long>(start / twoMajor);
    }
    int x = static_cast<int>(m_x0 + m_sx * (m_alongX ? from : across));
    int y = static_cast<int>(m_y0 + m_sy * (m_alongX ? across : from));
    for (long long i = from; i < to; ++i) {
      plot(x, y, i);
      acc += twoMinor;
      const bool step = acc >= twoMajor;
      if (step)
        acc -= twoMajor;
      if (m_alongX) {
        x += m_sx;
        y += step ? m_sy : 0;
      } else {
        y += m_sy;
        x += step ? m_sx : 0;
      }
    }
  }

  // The pixel of step i.
  TPoint At(long long i) const {
    const long long across =
        static_cast<long long>((m_major + static_cast<__int128>(i) * 2 * m_minor) / (2 * m_major));
    return m_alongX ? TPoint(static_cast<int>(m_x0 + m_sx * i), static_cast<int>(m_y0 + m_sy * across))
                    : TPoint(static_cast<int>(m_x0 + m_sx * across), static_cast<int>(m_y0 + m_sy * i));
  }

private:
  static __int128 CeilDiv(__int128 n, __int128 d) { // d > 0
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
  }
  static long long Clamp(__int128 v) {
    return static_cast<long long>(std::clamp<__int128>(v, LLONG_MIN / 4, LLONG_MAX / 4));
  }

  long long m_x0, m_y0, m_x1, m_y1;
  int m_sx, m_sy;
  bool m_alongX = true;
  long long m_major = 0, m_minor = 0;
};

// Steps pixel by pixel along the line from (x0, y0) towards (x1, y1) and
// leaves out (x1, y1): plot(x, y) for each pixel.
template <typename Plot> void StepLine(int x0, int y0, int x1, int y1, Plot &&plot) {
  const TLineSteps line(TPoint(x0, y0), TPoint(x1, y1));
  line.Run(0, line.Count(), [&](int x, int y, long long) { plot(x, y); });
}

// The on and off pixels of a 1-px styled pen (dash, dot, ...), counted from
// the start of a line; a solid pen has no pattern (Period 0).
struct TDashPattern {
  explicit TDashPattern(TPenStyle style);
  bool On[32] = {};
  int Period = 0;
};

// Visits the pixels inside the box of the 1-px lines through the points (and
// back to the first when closed), each line leaving out its end pixel, with
// the dash pattern running on from line to line: visit(x, y, on). Pixels
// outside the box are not stepped. line(first, last) is told of the first and
// the last pixel a line has inside the box before its pixels.
template <typename Visit, typename Line>
void WalkLines(std::span<const TPoint> points, bool closed, const TDashPattern &dash,
               const TPixelBox &box, Visit &&visit, Line &&line) {
  long long phase = 0; // of the dash pattern at the start of a line
  const auto walk = [&](const TPoint &a, const TPoint &b) {
    const TLineSteps steps(a, b);
    long long from = 0, to = 0;
    steps.Within(box, from, to);
    if (from < to) {
      line(steps.At(from), steps.At(to - 1));
      if (dash.Period == 0) {
        steps.Run(from, to, [&](int x, int y, long long) { visit(x, y, true); });
      } else {
        int k = static_cast<int>((phase + from) % dash.Period);
        steps.Run(from, to, [&](int x, int y, long long) {
          visit(x, y, dash.On[k]);
          if (++k == dash.Period)
            k = 0;
        });
      }
    }
    if (dash.Period != 0)
      phase = (phase + steps.Count()) % dash.Period;
  };
  for (size_t i = 0; i + 1 < points.size(); ++i)
    walk(points[i], points[i + 1]);
  if (closed && !points.empty())
    walk(points.back(), points[0]);
}

template <typename Visit>
void WalkLines(std::span<const TPoint> points, bool closed, const TDashPattern &dash,
               const TPixelBox &box, Visit &&visit) {
  WalkLines(points, closed, dash, box, visit, [](const TPoint &, const TPoint &) {});
}
