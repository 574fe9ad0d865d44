#pragma once

// What the label step of an axis depends on.
struct TAxisIncrementRequest {
  double Range = 0.0;        // the range in force (maximum - minimum)
  double Increment = 0.0;    // the smallest step asked for; 0 = automatic
  int SpanPixels = 0;        // pixels along the axis
  int LabelSize = 0;         // room of the larger end label along the axis
  int LabelsSeparation = 10; // percent of a label kept free between labels
  bool DateTime = false;     // steps follow the date-time step table
};

// Chooses the label step of an axis: the smallest round step (1, 2, 5 times a
// power of ten, or a date-time table step) at which the labels fit along the
// axis. Numeric steps are at least 1e-12, date-time steps at least a second.
class TAxisIncrement {
public:
  static double Calc(const TAxisIncrementRequest &request);

  // The number of labels that fit: span / (label size plus separation).
  static int MaxLabels(const TAxisIncrementRequest &request);
  // A date-time step raised to the first table step not below it; steps
  // above the largest table step are kept.
  static double RaiseToTableStep(double step);
};
