#pragma once
#include <functional>
#include <vector>

// What decides the values an axis labels.
struct TAxisLabelRequest {
  double Minimum = 0.0; // the range in force
  double Maximum = 0.0;
  double Increment = 1.0;      // the label step in force
  bool LabelsOnAxis = true;    // values exactly at the ends are labelled
  bool RoundFirstLabel = true; // labels fall on multiples of the step
  bool DateTime = false;
  bool ExactDateTime = true; // dates step by the calendar
  bool Logarithmic = false;
  int LogarithmicBase = 10;
  int MinorTickCount = 3; // minor ticks after each logarithmic label
  // The chart's own label sequence, when it has one: called with the label
  // index and the previous value (the minimum at first); it sets the next
  // value and clears stop to have it labelled.
  std::function<void(int labelIndex, double &value, bool &stop)> NextLabel;
};

// The values labelled, in the order they are drawn.
struct TAxisLabelValues {
  std::vector<double> Values;
  // Minor ticks of a logarithmic axis (linear axes space them between labels).
  std::vector<double> MinorTicks;
  // The minimum in force: a logarithmic axis starting at 0 or below moves it
  // to the first label.
  double Minimum = 0.0;
  // The values are the chart's own sequence.
  bool Custom = false;
};

// Walks an axis' range the way its labels are drawn: linear steps from the
// top of the range downwards (calendar steps for exact dates), powers of the
// base for a logarithmic axis, or the chart's own sequence.
class TAxisLabelGenerator {
public:
  explicit TAxisLabelGenerator(TAxisLabelRequest request) : m_r(std::move(request)) {}

  TAxisLabelValues Generate() const;

private:
  void LinearValues(TAxisLabelValues &out) const;
  void LogarithmicValues(TAxisLabelValues &out) const;
  // False when the sequence stopped at once (the linear values apply).
  bool CustomValues(TAxisLabelValues &out) const;

  TAxisLabelRequest m_r;
};
