#pragma once
#include "platform/Exceptions.h"

// Raised by the chart engine when a property is given a value it refuses;
// the message is a text of the engine's catalogue and the old value stays.
class ChartException : public Exception {
public:
  using Exception::Exception;
};

class AxisException : public ChartException {
public:
  using ChartException::ChartException;
};

class LegendException : public ChartException {
public:
  using ChartException::ChartException;
};

// Bar series' refusals stand apart from the other chart exceptions: a
// handler of ChartException does not take them.
class BarException : public Exception {
public:
  using Exception::Exception;
};

class PieException : public ChartException {
public:
  using ChartException::ChartException;
};
