#pragma once
#include <string>

// How the value labels of an axis are written when the axis is given no
// pattern of its own.

// The date-time pattern of labels stepped by step days over a range of
// range days: dates for steps of a day or more; times for shorter steps
// (seconds only when the step is below a minute), with the date in front when
// the range spans a day or more. A step of 0 (not known yet) chooses by
// the range alone: dates above a day, else times.
std::string DateTimeLabelFormat(double step, double range);

// A label of a logarithmic axis: the value in format, or in powers of ten
// ("1E-10", "1E+300") when format would lose it (no significant digit shown)
// or write it with sixteen digits or more.
std::string LogarithmicLabelText(const std::string &format, double value);
