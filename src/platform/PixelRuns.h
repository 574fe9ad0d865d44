#pragma once
#include <QRgb>
#include <QtGlobal>
#include <algorithm>
#include <cstdlib>
#include <cstring>

// Runs and lines of pixels written straight into a 32-bit picture.
namespace PixelRuns {

// The pixels of the 1-px line from (x0, y0) towards (x1, y1), its end pixel
// left out, written into a 32-bit picture that holds every one of them: `at`
// is the start pixel, `stride` the row step in pixels. Rounds as the canvas'
// other line stepping does.
inline void WriteLine(QRgb *at, qsizetype stride, int x0, int y0, int x1, int y1, QRgb colour) {
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const qsizetype sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? stride : -stride;
  if (dx >= dy) {
    long long acc = dx;
    for (int i = 0; i < dx; ++i, at += sx) {
      *at = colour;
      acc += 2LL * dy;
      if (acc >= 2LL * dx) {
        acc -= 2LL * dx;
        at += sy;
      }
    }
  } else {
    long long acc = dy;
    for (int i = 0; i < dy; ++i, at += sy) {
      *at = colour;
      acc += 2LL * dx;
      if (acc >= 2LL * dy) {
        acc -= 2LL * dy;
        at += sx;
      }
    }
  }
}

// Sets n >= 1 pixels. Short runs (a 3-D face is a few pixels wide on each
// row) are written in a few stores that may overlap, instead of a loop whose
// end the processor keeps guessing wrong.
inline void FillRun(QRgb *p, int n, QRgb colour) {
  const QRgb four[4] = {colour, colour, colour, colour};
  if (n <= 3) {
    p[0] = colour;
    p[n >> 1] = colour;
    p[n - 1] = colour;
  } else if (n <= 8) {
    std::memcpy(p, four, sizeof four);
    std::memcpy(p + n - 4, four, sizeof four);
  } else if (n <= 16) {
    std::memcpy(p, four, sizeof four);
    std::memcpy(p + 4, four, sizeof four);
    std::memcpy(p + n - 8, four, sizeof four);
    std::memcpy(p + n - 4, four, sizeof four);
  } else {
    std::fill(p, p + n, colour);
  }
}

} // namespace PixelRuns
