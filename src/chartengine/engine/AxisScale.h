#pragma once
#include <cmath>

class TAxisPixelMap;

// The value range an axis shows and the pixel span it occupies, with the
// conversions between the two: linear, logarithmic (natural logarithms) and
// into the chart's depth. Plain arithmetic: no chart, no canvas.
struct TAxisScale {
  double Minimum = 0.0; // the range in force for a drawing
  double Maximum = 0.0;
  int StartPixel = 0; // left or top end of the axis
  int EndPixel = 0;   // right or bottom end
  bool Horizontal = false;
  bool Inverted = false;
  bool Logarithmic = false;

  double Range() const { return Maximum - Minimum; }
  int SpanPixels() const;
  int CenterPixel() const;

  // Pixel of a value on a horizontal axis (grows rightwards) and on a
  // vertical one (grows upwards). An empty range, or a value so far out that
  // its offset leaves the pixel range, gives the centre pixel.
  int XValueToScreen(double value) const;
  int YValueToScreen(double value) const;
  int ValueToScreen(double value) const {
    return Horizontal ? XValueToScreen(value) : YValueToScreen(value);
  }
  // The value at a pixel (the inverse of ValueToScreen).
  double ScreenToValue(int pixel) const;
  // Pixels of many values in a row, as XValueToScreen (horizontal) or
  // YValueToScreen give them, at a few instructions per value.
  TAxisPixelMap Pixels(bool horizontal) const;
  // Depth pixel of a value over a depth of depthWidth pixels (front = 0).
  int DepthValueToScreen(double value, int depthWidth) const;

  // Sets StartPixel and EndPixel from the start and size of the plot in the
  // axis' direction and the start and end positions in percent.
  void SetSpan(int start, int size, double startPercent, double endPercent);

private:
  int LinearPosition(double value, bool growsFromStart) const;
  int LogPosition(double value, bool horizontal) const;
  double LogScreenToValue(int pixel) const;
};

// The pixels of values on a scale, as its XValueToScreen or YValueToScreen
// give them: on a linear scale one multiplication instead of the scale's
// division. Its last bits may differ from the division's, which matters only
// next to a half pixel (or far out): there, and on a logarithmic scale, the
// scale's own arithmetic decides. The scale must outlive the map.
class TAxisPixelMap {
public:
  TAxisPixelMap(const TAxisScale &scale, bool horizontal);

  int operator()(double value) const {
    if (m_linear) {
      const double t = Offset(value);
      const double rounded = (t + kRound) - kRound;
      if (std::fabs(t) < kFar && std::fabs(std::fabs(t - rounded) - 0.5) >= kNearHalf)
        return FromStart(static_cast<long long>(rounded));
    }
    return Exact(value);
  }

  // ---- for loops that fold many values before placing a few
  // A linear scale: Offset is defined and pixels follow it in order.
  bool Linear() const { return m_linear; }
  // The value's distance in pixels from the minimum, not rounded.
  double Offset(double value) const { return (value - m_minimum) * m_perPixel; }
  // Values at offsets lo..hi all lie on one pixel with the value at offset
  // t (lo > hi when that cannot be promised).
  void SamePixel(double t, double &lo, double &hi) const {
    const double rounded = (t + kRound) - kRound;
    lo = 1;
    hi = 0;
    if (std::fabs(t) < kFar && std::fabs(std::fabs(t - rounded) - 0.5) >= kNearHalf) {
      lo = rounded - 0.5 + kNearHalf;
      hi = rounded + 0.5 - kNearHalf;
    }
  }
  // Values at offsets within this many pixels of the minimum take pixels in
  // the order of the values (beyond, and for no number, the centre pixel).
  static constexpr double kFar = 1e6;

private:
  // Rounds half to even, as the scale does; exact below 2^51.
  static constexpr double kRound = 6755399441055744.0; // 1.5 * 2^52
  static constexpr double kNearHalf = 1e-7;

  int FromStart(long long offset) const;
  int Exact(double value) const;

  const TAxisScale *m_scale;
  bool m_horizontal;
  bool m_linear = false;
  bool m_fromStart = true;
  double m_minimum = 0;
  double m_perPixel = 0;
  long long m_origin = 0;
};
