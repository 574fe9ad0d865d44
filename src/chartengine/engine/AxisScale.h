#pragma once

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
