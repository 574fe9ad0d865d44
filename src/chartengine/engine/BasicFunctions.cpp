#include "chartengine/engine/BasicFunctions.h"

#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartSeries.h"

#include <algorithm>
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

// The values at valueIndex of the sources that have that index, in list order.
template <class Fn>
void ForEachValueAt(TChartFunction &function, const std::vector<TChartComponent *> &sources,
                    int valueIndex, Fn fn) {
  for (TChartComponent *component : sources) {
    auto *series = dynamic_cast<TChartSeries *>(component);
    if (series == nullptr)
      continue;
    TChartValueList &list = function.ValueList(*series);
    if (valueIndex >= 0 && valueIndex < list.Count())
      fn(list.Value(valueIndex));
  }
}

// Folds the values at an index; 0 when no source has it.
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

// The values from..to added up; 0 for an empty range.
double SumRange(TChartValueList &list, int from, int to) {
  double sum = 0;
  for (int t = from; t <= to; ++t)
    sum += list.Value(t);
  return sum;
}

// The values from..to folded in order; 0 for an empty range.
double FoldRange(TChartValueList &list, int from, int to,
                 const std::function<double(double, double)> &combine) {
  if (from > to)
    return 0;
  double result = list.Value(from);
  for (int t = from + 1; t <= to; ++t)
    result = combine(result, list.Value(t));
  return result;
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

double TAddFunction::ComputeOver(TChartSeries &series, int first, int last) {
  TChartValueList &list = ValueList(series);
  if (first == -1)
    return list.SumOfValues();
  int from = 0, to = -1;
  ValueRange(series, first, last, from, to);
  return SumRange(list, from, to);
}

double THighFunction::ComputeOver(TChartSeries &series, int first, int last) {
  TChartValueList &list = ValueList(series);
  if (first == -1)
    return list.LargestValue();
  int from = 0, to = -1;
  ValueRange(series, first, last, from, to);
  return FoldRange(list, from, to, [](double a, double b) { return std::max(a, b); });
}

double TLowFunction::ComputeOver(TChartSeries &series, int first, int last) {
  TChartValueList &list = ValueList(series);
  if (first == -1)
    return list.SmallestValue();
  int from = 0, to = -1;
  ValueRange(series, first, last, from, to);
  return FoldRange(list, from, to, [](double a, double b) { return std::min(a, b); });
}

double TAverageFunction::ComputeOver(TChartSeries &series, int first, int last) {
  TChartValueList &list = ValueList(series);
  if (first == -1)
    return list.Count() == 0 ? 0.0 : list.SumOfValues() / list.Count();
  int from = 0, to = -1;
  ValueRange(series, first, last, from, to);
  return from > to ? 0.0 : SumRange(list, from, to) / (to - from + 1);
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
