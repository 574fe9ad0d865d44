#include "chartengine/engine/ChartFunction.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/canvas/DateTimeSteps.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "platform/Format.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// A period of X units may give this many results per source point (and
// always this many in all) before it is refused.
constexpr std::int64_t PeriodsPerSourcePoint = 10;
constexpr std::int64_t FewestPeriodsAllowed = 10000;
constexpr const char *PeriodTooSmallText =
    "Function Period %s is too small: the source's range would need more than %d periods";
} // namespace

const TChartComponentClass &TChartFunction::StaticClass() {
  static const TChartComponentClass cls("TChartFunction", nullptr, [](TChartComponent *owner) {
    return std::unique_ptr<TChartComponent>(std::make_unique<TChartFunction>(owner));
  });
  return cls;
}

TChartFunction::TChartFunction(TChartComponent *owner) : TChartComponent(owner) {}

void TChartFunction::Assign(const TChartFunction &source) {
  if (&source == this)
    return;
  BeginUpdate();
  SetPeriod(source.m_period);
  SetPeriodStyle(source.m_periodStyle);
  SetPeriodAlign(source.m_periodAlign);
  EndUpdate();
}

template <typename T> void TChartFunction::Store(T &field, const T &value) {
  if (field == value)
    return;
  const T old = field;
  field = value;
  try {
    Refill();
  } catch (const ChartException &) {
    // A refused setting leaves the function and its results as they were.
    field = old;
    try {
      Refill();
    } catch (const ChartException &) {
    }
    throw;
  }
}

void TChartFunction::SetPeriod(double value) {
  if (std::isnan(value) || value < 0)
    throw ChartException(ChartText(ctFunctionPeriod));
  Store(m_period, value);
}

void TChartFunction::SetPeriodStyle(TFunctionPeriodStyle value) { Store(m_periodStyle, value); }
void TChartFunction::SetPeriodAlign(TFunctionPeriodAlign value) { Store(m_periodAlign, value); }
void TChartFunction::SetMoving(bool value) { Store(m_moving, value); }

void TChartFunction::EndUpdate() {
  if (m_updating > 0 && --m_updating == 0)
    Refill();
}

void TChartFunction::Refill() {
  if (m_updating == 0 && m_owner != nullptr)
    m_owner->CheckDataSource();
}

TChartValueList &TChartFunction::ValueList(TChartSeries &series) {
  if (m_owner != nullptr) {
    const std::string &name = m_owner->MainValueList().ValueSource();
    if (!name.empty())
      return series.ValueListByName(name);
  }
  return series.MainValueList();
}

void TChartFunction::AppendResultPoint(TChartSeries &yMandatorySource, double x, double y) {
  if (m_owner == nullptr)
    return;
  if (!yMandatorySource.MainIsY())
    std::swap(x, y);
  m_owner->AppendPoint(x, y, {}, clTeeColor);
}

void TChartFunction::ValueRange(TChartSeries &series, int first, int last, int &from, int &to) {
  const int count = ValueList(series).Count();
  if (first == -1) {
    from = 0;
    to = count - 1;
  } else {
    from = std::max(0, first);
    to = std::min(last, count - 1);
  }
}

// A period shorter than one point still moves on by one point.
int TChartFunction::PeriodPoints() const {
  const std::int64_t points = Round(m_period);
  return static_cast<int>(std::clamp<std::int64_t>(points, 1, INT_MAX));
}

void TChartFunction::FillFromSources(TChartSeries *source) {
  if (source == nullptr || m_owner == nullptr)
    return;
  TChartSeries &parent = *m_owner;
  TChartValueList &notMandatory = source->MainIsY() ? source->XValues() : source->YValues();
  if (parent.DataSources().size() <= 1) {
    if (source->Count() == 0)
      return;
    if (m_moving)
      FillMoving(*source, notMandatory);
    else if (m_period == 0)
      FillEveryPoint(*source, notMandatory);
    else
      FillByPeriod(*source, notMandatory);
    return;
  }
  for (int t = 0; t < source->Count(); ++t) {
    const double x = notMandatory.Value(t);
    const double y = ComputeAcrossSources(parent.DataSources(), t);
    if (parent.MainIsY())
      parent.AppendPoint(x, y, source->PointLabel(t), clTeeColor);
    else
      parent.AppendPoint(y, x, source->PointLabel(t), clTeeColor);
  }
}

void TChartFunction::CheckSource(TChartSeries &source) const {
  // Only a fill by periods of one source is ever refused.
  if (m_owner == nullptr || m_owner->DataSources().size() > 1 || source.Count() == 0 || m_moving ||
      m_period == 0)
    return;
  CheckPeriodCount(source.MainIsY() ? source.XValues() : source.YValues(), source.Count());
}

void TChartFunction::ComputePeriodPoint(TChartSeries &source, double x, int first, int last) {
  AppendResultPoint(source, x, ComputeOver(source, first, last));
}

void TChartFunction::FillEveryPoint(TChartSeries &source, TChartValueList &notMandatory) {
  const double result = ComputeOver(source, -1, -1);
  const double smallest = notMandatory.SmallestValue();
  const double largest = notMandatory.LargestValue();
  if (m_owner->SinglePointResults) {
    const double x = smallest + (largest - smallest) * 0.5;
    if (m_owner->MainIsY() == source.MainIsY())
      AppendResultPoint(source, x, result);
    else
      m_owner->AppendPoint(x, result, {}, clTeeColor);
  } else {
    AppendResultPoint(source, smallest, result);
    AppendResultPoint(source, largest, result);
  }
}

int TChartFunction::MostPeriods(int sourceCount) {
  return static_cast<int>(std::clamp<std::int64_t>(
      std::int64_t(sourceCount) * PeriodsPerSourcePoint, FewestPeriodsAllowed, INT_MAX));
}

void TChartFunction::CheckPeriodCount(TChartValueList &notMandatory, int sourceCount) const {
  if (m_periodStyle != psRange)
    return;
  // One result per period, empty ones included: a period tiny against the
  // source's range would add points until memory runs out.
  const double periods = (notMandatory.LargestValue() - notMandatory.SmallestValue()) / m_period;
  const int most = MostPeriods(sourceCount);
  if (!(periods <= most))
    throw ChartException(Format(PeriodTooSmallText, {FloatToStr(m_period), most}));
}

void TChartFunction::FillByPeriod(TChartSeries &source, TChartValueList &notMandatory) {
  const int count = source.Count();
  CheckPeriodCount(notMandatory, count);
  const int periodPoints = PeriodPoints();
  const int stepIndex = TimeStepIndexOf(m_period);
  const TCustomChartAxis *axis = m_owner->HorizAxisObject();
  const bool exact = stepIndex >= dtHalfMonth && stepIndex < dtNone && axis != nullptr &&
                     axis->IsDateTime() && axis->ExactDateTime();
  int t = 0;
  TDateTime periodEnd = notMandatory.Value(0);
  do {
    std::int64_t last = 0;
    double firstX = 0;
    double lastX = 0;
    if (m_periodStyle == psNumPoints) {
      last = t + static_cast<std::int64_t>(periodPoints) - 1;
      firstX = notMandatory.Value(t);
      lastX = last < count ? notMandatory.Value(static_cast<int>(last)) : 0;
    } else {
      firstX = periodEnd;
      StepDateTime(exact, true, periodEnd, stepIndex, m_period);
      // A period too small to move the end on would never finish.
      if (!(periodEnd > firstX))
        break;
      lastX = periodEnd - 0.001 * m_period;
      last = t;
      while (last < count - 1 && notMandatory.Value(static_cast<int>(last) + 1) < periodEnd)
        ++last;
    }
    const bool held = m_periodStyle == psNumPoints || notMandatory.Value(t) < periodEnd;
    if (last < count) {
      const double x = m_periodAlign == paFirst  ? firstX
                       : m_periodAlign == paLast ? lastX
                                                 : (firstX + lastX) * 0.5;
      if (held)
        ComputePeriodPoint(source, x, t, static_cast<int>(last));
      else
        AppendResultPoint(source, x, 0);
    }
    if (held)
      t = static_cast<int>(std::min<std::int64_t>(last + 1, INT_MAX));
    else if (!(notMandatory.Value(t) >= periodEnd))
      break; // a value that is not a number never falls in a period
  } while (t <= count - 1);
}

void TChartFunction::FillMoving(TChartSeries &source, TChartValueList &notMandatory) {
  const int period = PeriodPoints();
  for (int t = period - 1; t < source.Count(); ++t)
    AppendResultPoint(source, notMandatory.Value(t), ComputeOver(source, t - period + 1, t));
}

double TChartFunction::ComputeOver(TChartSeries &, int, int) { return 0.0; }

double TChartFunction::ComputeAcrossSources(const std::vector<TChartComponent *> &, int) {
  return 0.0;
}
