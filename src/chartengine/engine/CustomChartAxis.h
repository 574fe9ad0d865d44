#pragma once
#include <string>

// An axis of a chart as a series sees it: the mapping between values and
// screen pixels along the axis and the label text of a value. The chart's
// axes implement it.
class TCustomChartAxis {
public:
  TCustomChartAxis() = default;
  TCustomChartAxis(const TCustomChartAxis &) = delete;
  TCustomChartAxis &operator=(const TCustomChartAxis &) = delete;
  virtual ~TCustomChartAxis() = default;

  // Pixel of a value on a horizontal axis (grows rightwards) and on a
  // vertical one (grows upwards, so the pixel falls).
  virtual int XValueToScreen(double value) const = 0;
  virtual int YValueToScreen(double value) const = 0;
  // The value at a pixel along the axis.
  virtual double ScreenToValue(int pixel) const = 0;
  virtual bool IsHorizontal() const = 0;
  virtual bool Inverted() const = 0;
  // The axis shows date-times, and steps them by the calendar when exact.
  virtual bool IsDateTime() const = 0;
  virtual bool ExactDateTime() const = 0;
  // The text of the axis label of a value.
  virtual std::string ValueLabelText(double value) const = 0;

  int ValueToScreen(double value) const {
    return IsHorizontal() ? XValueToScreen(value) : YValueToScreen(value);
  }
};
