#include "chartengine/engine/AxisScale.h"

#include "chartengine/canvas/ChartMath.h"

#include <climits>
#include <cmath>

namespace {
// Offsets at or beyond this many pixels cannot be drawn.
constexpr double PixelLimit = 2147483647.0;

double LogOrZero(double value) { return value > 0 ? std::log(value) : 0.0; }
} // namespace

int TAxisScale::SpanPixels() const {
  return PixelAdd(EndPixel, -static_cast<long long>(StartPixel));
}

int TAxisScale::CenterPixel() const {
  return static_cast<int>((static_cast<long long>(StartPixel) + EndPixel) / 2);
}

int TAxisScale::LinearPosition(double value, bool growsFromStart) const {
  const double range = Range();
  if (range == 0 || std::isnan(value))
    return CenterPixel();
  const double t = (value - Minimum) * SpanPixels() / range;
  if (!(std::fabs(t) < PixelLimit))
    return CenterPixel();
  const int offset = PixelRound(t);
  return growsFromStart ? PixelAdd(StartPixel, offset) : PixelAdd(EndPixel, -offset);
}

int TAxisScale::LogPosition(double value, bool horizontal) const {
  const double logMax = LogOrZero(Maximum);
  const double logMin = LogOrZero(Minimum);
  const double logRange = logMax - logMin;
  if (logRange == 0 || std::isnan(value))
    return CenterPixel();
  if (value <= 0)
    return (horizontal != Inverted) ? StartPixel : EndPixel;
  const double t = Inverted ? logMax - std::log(value) : std::log(value) - logMin;
  const int p = PixelRound(SpanPixels() * t / logRange);
  return horizontal ? PixelAdd(StartPixel, p) : PixelAdd(EndPixel, -static_cast<long long>(p));
}

int TAxisScale::XValueToScreen(double value) const {
  return Logarithmic ? LogPosition(value, true) : LinearPosition(value, !Inverted);
}

int TAxisScale::YValueToScreen(double value) const {
  return Logarithmic ? LogPosition(value, false) : LinearPosition(value, Inverted);
}

double TAxisScale::LogScreenToValue(int pixel) const {
  const bool minAtStart = Horizontal != Inverted;
  if (pixel == StartPixel)
    return minAtStart ? Minimum : Maximum;
  if (pixel == EndPixel)
    return minAtStart ? Maximum : Minimum;
  const double logMax = LogOrZero(Maximum);
  const double logMin = LogOrZero(Minimum);
  const double logRange = logMax - logMin;
  const int span = SpanPixels();
  if (logRange == 0 || span < 1)
    return Minimum;
  const double offset =
      Inverted ? static_cast<double>(EndPixel) - pixel : static_cast<double>(pixel) - StartPixel;
  const double t = offset * logRange / span;
  return Horizontal ? std::exp(logMin + t) : std::exp(logMax - t);
}

double TAxisScale::ScreenToValue(int pixel) const {
  if (Logarithmic)
    return LogScreenToValue(pixel);
  const int span = SpanPixels();
  if (span < 1)
    return 0.0;
  const double offset =
      Inverted ? static_cast<double>(EndPixel) - pixel : static_cast<double>(pixel) - StartPixel;
  const double t = offset * Range() / span;
  return Horizontal ? Minimum + t : Maximum - t;
}

int TAxisScale::DepthValueToScreen(double value, int depthWidth) const {
  const double range = Range();
  if (range == 0)
    return depthWidth / 2;
  const double from = Inverted ? Maximum - value : value - Minimum;
  return PixelRound(depthWidth * from / range);
}

void TAxisScale::SetSpan(int start, int size, double startPercent, double endPercent) {
  StartPixel = PixelAdd(start, PixelRound(size * 0.01 * startPercent));
  EndPixel = PixelAdd(start, PixelRound(size * 0.01 * endPercent));
}

TAxisPixelMap TAxisScale::Pixels(bool horizontal) const { return TAxisPixelMap(*this, horizontal); }

TAxisPixelMap::TAxisPixelMap(const TAxisScale &scale, bool horizontal)
    : m_scale(&scale), m_horizontal(horizontal) {
  if (scale.Logarithmic || scale.Range() == 0)
    return;
  m_linear = true;
  m_minimum = scale.Minimum;
  m_perPixel = scale.SpanPixels() / scale.Range();
  m_fromStart = horizontal ? !scale.Inverted : scale.Inverted;
  m_origin = m_fromStart ? scale.StartPixel : scale.EndPixel;
}

int TAxisPixelMap::FromStart(long long offset) const {
  return PixelAdd(m_origin, m_fromStart ? offset : -offset);
}

int TAxisPixelMap::Exact(double value) const {
  return m_horizontal ? m_scale->XValueToScreen(value) : m_scale->YValueToScreen(value);
}
