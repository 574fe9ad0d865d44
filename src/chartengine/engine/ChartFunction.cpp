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

bool TChartFunction::IsPoint(TChartSeries &series, int index) {
  if (index < 0 || index >= series.Count())
    return false;
  const TChartValueList &value = ValueList(series);
  return std::isfinite(series.XValues().Value(index)) &&
         std::isfinite(series.YValues().Value(index)) &&
         (index >= value.Count() || std::isfinite(value.Value(index)));
}

std::vector<int> TChartFunction::PointsOf(TChartSeries &series) {
  std::vector<int> points;
  points.reserve(series.Count());
  for (int t = 0; t < series.Count(); ++t)
    if (IsPoint(series, t))
      points.push_back(t);
  return points;
}

const std::vector<int> &TChartFunction::StoredPointsOf(TChartSeries &series) {
  for (const auto &[stored, points] : m_fillPoints)
    if (stored == &series)
      return points;
  m_scratchPoints = PointsOf(series);
  return m_scratchPoints;
}

int TChartFunction::PointAt(TChartSeries &series, int valueIndex) {
  const std::vector<int> &points = StoredPointsOf(series);
  return valueIndex >= 0 && valueIndex < static_cast<int>(points.size()) ? points[valueIndex] : -1;
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
  // Each series read is sized up once for the whole fill.
  struct FillStore {
    TChartFunction &Function;
    ~FillStore() { Function.m_fillPoints.clear(); }
  } store{*this};
  m_fillPoints.clear();
  m_fillPoints.emplace_back(source, PointsOf(*source));
  for (TChartComponent *component : parent.DataSources())
    if (auto *series = dynamic_cast<TChartSeries *>(component);
        series != nullptr && series != source)
      m_fillPoints.emplace_back(series, PointsOf(*series));
  const std::vector<int> points = m_fillPoints.front().second;
  TChartValueList &notMandatory = source->MainIsY() ? source->XValues() : source->YValues();
  if (parent.DataSources().size() <= 1) {
    if (points.empty())
      return;
    if (m_moving)
      FillMoving(*source, notMandatory);
    else if (m_period == 0)
      FillEveryPoint(*source, notMandatory);
    else
      FillByPeriod(*source, notMandatory);
    return;
  }
  // One result per point of the first source, over the points of all.
  const std::vector<TChartComponent *> sources = parent.DataSources();
  for (std::size_t k = 0; k < points.size(); ++k) {
    const int t = points[k];
    const double x = notMandatory.Value(t);
    const double y = ComputeAcrossSources(sources, static_cast<int>(k));
    if (parent.MainIsY())
      parent.AppendPoint(x, y, source->PointLabel(t), clTeeColor);
    else
      parent.AppendPoint(y, x, source->PointLabel(t), clTeeColor);
  }
}

void TChartFunction::CheckSource(TChartSeries &source) {
  // Only a fill by periods of one source is ever refused.
  if (m_owner == nullptr || m_owner->DataSources().size() > 1 || source.Count() == 0 || m_moving ||
      m_period == 0)
    return;
  CheckPeriodCount(source.MainIsY() ? source.XValues() : source.YValues(), PointsOf(source));
}

void TChartFunction::ComputePeriodPoint(TChartSeries &source, double x, int first, int last) {
  AppendResultPoint(source, x, ComputeOver(source, first, last));
}

void TChartFunction::FillEveryPoint(TChartSeries &source, TChartValueList &notMandatory) {
  const std::vector<int> points = StoredPointsOf(source);
  if (points.empty())
    return;
  const double result = ComputeOver(source, -1, -1);
  double smallest = notMandatory.Value(points.front());
  double largest = smallest;
  for (int t : points) {
    smallest = std::min(smallest, notMandatory.Value(t));
    largest = std::max(largest, notMandatory.Value(t));
  }
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

void TChartFunction::CheckPeriodCount(TChartValueList &notMandatory,
                                      const std::vector<int> &points) const {
  if (m_periodStyle != psRange || points.empty())
    return;
  // One result per period, empty ones included: a period tiny against the
  // points' range would add points until memory runs out.
  double smallest = notMandatory.Value(points.front());
  double largest = smallest;
  for (int t : points) {
    smallest = std::min(smallest, notMandatory.Value(t));
    largest = std::max(largest, notMandatory.Value(t));
  }
  const double periods = (largest - smallest) / m_period;
  const int most = MostPeriods(static_cast<int>(points.size()));
  if (!(periods <= most))
    throw ChartException(Format(PeriodTooSmallText, {FloatToStr(m_period), most}));
}

// Walks the source's points only (PointsOf): k, last and count number them.
void TChartFunction::FillByPeriod(TChartSeries &source, TChartValueList &notMandatory) {
  const std::vector<int> points = StoredPointsOf(source);
  const int count = static_cast<int>(points.size());
  if (count == 0)
    return;
  CheckPeriodCount(notMandatory, points);
  auto xAt = [&](std::int64_t k) {
    return notMandatory.Value(points[static_cast<std::size_t>(k)]);
  };
  const int periodPoints = PeriodPoints();
  const int stepIndex = TimeStepIndexOf(m_period);
  const TCustomChartAxis *axis = m_owner->HorizAxisObject();
  const bool exact = stepIndex >= dtHalfMonth && stepIndex < dtNone && axis != nullptr &&
                     axis->IsDateTime() && axis->ExactDateTime();
  std::int64_t k = 0;
  TDateTime periodEnd = xAt(0);
  do {
    std::int64_t last = 0;
    double firstX = 0;
    double lastX = 0;
    if (m_periodStyle == psNumPoints) {
      last = k + static_cast<std::int64_t>(periodPoints) - 1;
      firstX = xAt(k);
      lastX = last < count ? xAt(last) : 0;
    } else {
      firstX = periodEnd;
      StepDateTime(exact, true, periodEnd, stepIndex, m_period);
      // A period too small to move the end on would never finish.
      if (!(periodEnd > firstX))
        break;
      lastX = periodEnd - 0.001 * m_period;
      last = k;
      while (last < count - 1 && xAt(last + 1) < periodEnd)
        ++last;
    }
    const bool held = m_periodStyle == psNumPoints || xAt(k) < periodEnd;
    if (last < count) {
      const double x = m_periodAlign == paFirst  ? firstX
                       : m_periodAlign == paLast ? lastX
                                                 : (firstX + lastX) * 0.5;
      if (held)
        ComputePeriodPoint(source, x, points[static_cast<std::size_t>(k)],
                           points[static_cast<std::size_t>(last)]);
      else
        AppendResultPoint(source, x, 0);
    }
    // Every position is finite: an empty period moves the end on towards it.
    if (held)
      k = last + 1;
  } while (k <= count - 1);
}

void TChartFunction::FillMoving(TChartSeries &source, TChartValueList &notMandatory) {
  const std::vector<int> points = StoredPointsOf(source);
  const int period = PeriodPoints();
  for (std::size_t k = static_cast<std::size_t>(period) - 1; k < points.size(); ++k)
    AppendResultPoint(source, notMandatory.Value(points[k]),
                      ComputeOver(source, points[k + 1 - period], points[k]));
}

double TChartFunction::ComputeOver(TChartSeries &, int, int) { return 0.0; }

double TChartFunction::ComputeAcrossSources(const std::vector<TChartComponent *> &, int) {
  return 0.0;
}
