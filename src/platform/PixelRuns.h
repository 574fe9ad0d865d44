#pragma once
#include <QRgb>
#include <QtGlobal>
#include <algorithm>
#include <cstring>

// Runs of pixels written straight into a 32-bit picture.
namespace PixelRuns {

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
