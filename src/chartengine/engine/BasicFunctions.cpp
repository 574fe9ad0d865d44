#include "chartengine/engine/BasicFunctions.h"

#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartSeries.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

template <class T>
const TChartComponentClass &FunctionClass(const char *name, const TChartComponentClass *parent) {
  static const TChartComponentClass cls(name, parent, [](TChartComponent *owner) {
    if constexpr (std::is_abstract_v<T>)
      return std::unique_ptr<TChartComponent>();
    else
      return std::unique_ptr<TChartComponent>(std::make_unique<T>(owner));
  });
  return cls;
}

// The values at valueIndex (counted over each source's points) of the
// sources that have a point there, in list order.
template <class Fn>
void ForEachValueAt(TChartFunction &function, const std::vector<TChartComponent *> &sources,
                    int valueIndex, Fn fn) {
  for (TChartComponent *component : sources) {
    auto *series = dynamic_cast<TChartSeries *>(component);
    if (series == nullptr)
      continue;
    const int index = function.PointAt(*series, valueIndex);
    if (index >= 0)
      fn(function.ValueList(*series).Value(index));
  }
}

// Folds the values at an index; 0 when no source has a point there.
double FoldAt(TChartFunction &function, const std::vector<TChartComponent *> &sources,
              int valueIndex, const std::function<double(double, double)> &combine) {
  bool any = false;
  double result = 0;
  ForEachValueAt(function, sources, valueIndex, [&](double v) {
    result = any ? combine(result, v) : v;
    any = true;
  });
  return result;
}

// The sum, count, largest and smallest value of the points from..to.
struct TPointValues {
  double Sum = 0;
  int Count = 0;
  double Largest = 0;
  double Smallest = 0;
};

TPointValues PointValues(TChartFunction &function, TChartSeries &series, int from, int to) {
  TChartValueList &list = function.ValueList(series);
  TPointValues out;
  for (int t = from; t <= to; ++t) {
    if (!function.IsPoint(series, t))
      continue;
    const double v = list.Value(t);
    out.Largest = out.Count == 0 ? v : std::max(out.Largest, v);
    out.Smallest = out.Count == 0 ? v : std::min(out.Smallest, v);
    out.Sum += v;
    ++out.Count;
  }
  return out;
}

} // namespace

// ---- class references ---------------------------------------------------------------

const TChartComponentClass &TAddFunction::StaticClass() {
  return FunctionClass<TAddFunction>("TAddFunction", &TChartFunction::StaticClass());
}
const TChartComponentClass &TManySeriesFunction::StaticClass() {
  return FunctionClass<TManySeriesFunction>("TManySeriesFunction", &TChartFunction::StaticClass());
}
const TChartComponentClass &TSubtractFunction::StaticClass() {
  return FunctionClass<TSubtractFunction>("TSubtractFunction", &TManySeriesFunction::StaticClass());
}
const TChartComponentClass &TMultiplyFunction::StaticClass() {
  return FunctionClass<TMultiplyFunction>("TMultiplyFunction", &TManySeriesFunction::StaticClass());
}
const TChartComponentClass &TDivideFunction::StaticClass() {
  return FunctionClass<TDivideFunction>("TDivideFunction", &TManySeriesFunction::StaticClass());
}
const TChartComponentClass &THighFunction::StaticClass() {
  return FunctionClass<THighFunction>("THighFunction", &TChartFunction::StaticClass());
}
const TChartComponentClass &TLowFunction::StaticClass() {
  return FunctionClass<TLowFunction>("TLowFunction", &TChartFunction::StaticClass());
}
const TChartComponentClass &TAverageFunction::StaticClass() {
  return FunctionClass<TAverageFunction>("TAverageFunction", &TChartFunction::StaticClass());
}

// ---- whole series and periods -----------------------------------------------------
// First -1 takes every point; a range without points gives 0.

double TAddFunction::ComputeOver(TChartSeries &series, int first, int last) {
  int from = 0, to = -1;
  ValueRange(series, first, last, from, to);
  return PointValues(*this, series, from, to).Sum;
}

double THighFunction::ComputeOver(TChartSeries &series, int first, int last) {
  int from = 0, to = -1;
  ValueRange(series, first, last, from, to);
  return PointValues(*this, series, from, to).Largest;
}

double TLowFunction::ComputeOver(TChartSeries &series, int first, int last) {
  int from = 0, to = -1;
  ValueRange(series, first, last, from, to);
  return PointValues(*this, series, from, to).Smallest;
}

double TAverageFunction::ComputeOver(TChartSeries &series, int first, int last) {
  int from = 0, to = -1;
  ValueRange(series, first, last, from, to);
  const TPointValues values = PointValues(*this, series, from, to);
  return values.Count == 0 ? 0.0 : values.Sum / values.Count;
}

// ---- across sources -------------------------------------------------------------------

double TAddFunction::ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                                          int valueIndex) {
  double sum = 0;
  ForEachValueAt(*this, sources, valueIndex, [&](double v) { sum += v; });
  return sum;
}

double TManySeriesFunction::ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                                                 int valueIndex) {
  return FoldAt(*this, sources, valueIndex,
                [this](double result, double value) { return CalculateValue(result, value); });
}

double THighFunction::ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                                           int valueIndex) {
  return FoldAt(*this, sources, valueIndex, [](double a, double b) { return std::max(a, b); });
}

double TLowFunction::ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                                          int valueIndex) {
  return FoldAt(*this, sources, valueIndex, [](double a, double b) { return std::min(a, b); });
}

double TAverageFunction::ComputeAcrossSources(const std::vector<TChartComponent *> &sources,
                                              int valueIndex) {
  double sum = 0;
  int count = 0;
  ForEachValueAt(*this, sources, valueIndex, [&](double v) {
    sum += v;
    ++count;
  });
  return count == 0 ? 0.0 : sum / count;
}

// ---- registration ---------------------------------------------------------------------

void RegisterBasicFunctions() {
  RegisterBasicFunction(&TAddFunction::StaticClass(), ChartText(ctFunctionAdd));
  RegisterBasicFunction(&TSubtractFunction::StaticClass(), ChartText(ctFunctionSubtract));
  RegisterBasicFunction(&TMultiplyFunction::StaticClass(), ChartText(ctFunctionMultiply));
  RegisterBasicFunction(&TDivideFunction::StaticClass(), ChartText(ctFunctionDivide));
  RegisterBasicFunction(&THighFunction::StaticClass(), ChartText(ctFunctionHigh));
  RegisterBasicFunction(&TLowFunction::StaticClass(), ChartText(ctFunctionLow));
  RegisterBasicFunction(&TAverageFunction::StaticClass(), ChartText(ctFunctionAverage));
}
