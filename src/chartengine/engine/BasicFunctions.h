#pragma once
#include "chartengine/engine/ChartFunction.h"

// The basic series functions: sum, difference, product, quotient, highest,
// lowest and average, over a whole source, over periods of it, or point by
// point across several sources. Points whose value or position is no number
// take no part; a range without points gives 0.

class TAddFunction : public TChartFunction {
public:
  using TChartFunction::TChartFunction;
  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

protected:
  double ComputeOver(TChartSeries &series, int first, int last) override;
  double ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                              int valueIndex) override;
};

// Folds the values at an index across the sources, in list order.
class TManySeriesFunction : public TChartFunction {
public:
  using TChartFunction::TChartFunction;
  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

protected:
  double ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                              int valueIndex) override;
  virtual double CalculateValue(double result, double value) = 0;
};

class TSubtractFunction : public TManySeriesFunction {
public:
  using TManySeriesFunction::TManySeriesFunction;
  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

protected:
  double CalculateValue(double result, double value) override { return result - value; }
};

class TMultiplyFunction : public TManySeriesFunction {
public:
  using TManySeriesFunction::TManySeriesFunction;
  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

protected:
  double CalculateValue(double result, double value) override { return result * value; }
};

// A zero divisor leaves the running result as it is.
class TDivideFunction : public TManySeriesFunction {
public:
  using TManySeriesFunction::TManySeriesFunction;
  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

protected:
  double CalculateValue(double result, double value) override {
    return value == 0 ? result : result / value;
  }
};

class THighFunction : public TChartFunction {
public:
  using TChartFunction::TChartFunction;
  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

protected:
  double ComputeOver(TChartSeries &series, int first, int last) override;
  double ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                              int valueIndex) override;
};

class TLowFunction : public TChartFunction {
public:
  using TChartFunction::TChartFunction;
  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

protected:
  double ComputeOver(TChartSeries &series, int first, int last) override;
  double ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                              int valueIndex) override;
};

// An empty range averages to 0.
class TAverageFunction : public TChartFunction {
public:
  using TChartFunction::TChartFunction;
  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

protected:
  double ComputeOver(TChartSeries &series, int first, int last) override;
  double ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                              int valueIndex) override;
};

// Enters the seven functions in the gallery ("Add", "Subtract", "Multiply",
// "Divide", "High", "Low", "Average", in that order) and in the streaming
// registry. Called once at start-up.
void RegisterBasicFunctions();
