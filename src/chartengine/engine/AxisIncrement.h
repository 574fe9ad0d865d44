#pragma once
#include <functional>

// How the labels drawn at a step lie along their axis.
enum TAxisLabelsFit {
  lfApart,   // they keep apart
  lfCrowded, // some of them meet
  lfNone     // the step labels no value of the range
};

// What the label step of an axis depends on.
struct TAxisIncrementRequest {
  double Range = 0.0;        // the range in force (maximum - minimum)
  double Increment = 0.0;    // the smallest step asked for; 0 = automatic
  int SpanPixels = 0;        // pixels along the axis
  int LabelSize = 0;         // room of the larger end label along the axis
  int LabelsSeparation = 10; // percent of a label kept free between labels
  bool DateTime = false;     // steps follow the date-time step table
  // Optional: the room of the larger end label when the labels are stepped
  // by step (date labels are written by their step); LabelSize otherwise.
  std::function<int(double step)> LabelSizeAt;
  // Optional: how the labels as drawn at step lie. A step that passes the
  // count test but is not lfApart grows further.
  std::function<TAxisLabelsFit(double step)> Fits;
};

// Chooses the label step of an axis: the smallest round step (1, 2, 5 times a
// power of ten, or a date-time table step) at which the labels fit along the
// axis: the labels, Range / step + 1 of them, lie at least a label size (with
// its separation) apart. A step that labels no value is passed over while
// the axis has room for a label; when the steps that keep apart label
// nothing, the largest smaller step that labels values is taken (its drawing
// leaves out the labels that would meet). When less than one label fits,
// the step spans the whole range (at most one label is drawn then).
// Numeric steps are at least 1e-12, date-time steps at least a second.
class TAxisIncrement {
public:
  static double Calc(const TAxisIncrementRequest &request);

  // The number of labels that fit: span / (label size plus separation),
  // rounded; 1 without a label size.
  static int MaxLabels(const TAxisIncrementRequest &request);
  // The same unrounded, for a label of labelSize pixels: the most steps the
  // span holds.
  static double StepsRoom(const TAxisIncrementRequest &request, int labelSize);
  // A date-time step raised to the first table step not below it; steps
  // above the largest table step are kept.
  static double RaiseToTableStep(double step);
};
