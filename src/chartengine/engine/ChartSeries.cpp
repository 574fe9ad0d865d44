#include "chartengine/engine/ChartSeries.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/canvas/GalleryBitmaps.h"
#include "chartengine/engine/ChartFunction.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/engine/ChartWalks.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "platform/Format.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace {
// Sample values keep their Y span within the 32-bit range.
constexpr double MaxSampleSpan = 2147483647.0;
constexpr TColor SampleDisabledColor = clSilver;
} // namespace

const TChartComponentClass &TChartSeries::StaticClass() {
  static const TChartComponentClass cls("TChartSeries", nullptr, [](TChartComponent *owner) {
    return std::unique_ptr<TChartComponent>(std::make_unique<TChartSeries>(owner));
  });
  return cls;
}

TChartSeries::TChartSeries(TChartComponent *owner)
    : TChartComponent(owner),
      m_xValues(std::make_unique<TChartValueList>(this, ChartText(ctValuesX))),
      m_yValues(std::make_unique<TChartValueList>(this, ChartText(ctValuesY))),
      m_marks(std::make_unique<TSeriesMarks>(this)), m_seriesColor(clTeeColor),
      m_percentFormat(ChartText(ctPercentFormat)), m_valueFormat(ChartText(ctValueFormat)) {
  m_xValues->SetOrder(loAscending);
  m_yValues->SetOrder(loNone);
}

TChartSeries::~TChartSeries() {
  TChartChanges::Note();
  MarkDestroying();
  m_function.reset();
  // Neither the sources nor the dependents may keep a link to this series.
  UnlinkSources();
  // Each dependent refills from the sources it has left, or clears. One
  // freed meanwhile has left the list.
  while (!m_dependents.empty()) {
    TChartSeries *d = m_dependents.front();
    m_dependents.erase(m_dependents.begin());
    d->SourceFreed(this);
  }
  Clear();
  // Custom axes forget this series (an axis freed later would call it).
  if (m_customHorizAxis != nullptr)
    m_customHorizAxis->RemoveCustomUser(this);
  if (m_customVertAxis != nullptr && m_customVertAxis != m_customHorizAxis)
    m_customVertAxis->RemoveCustomUser(this);
  m_customHorizAxis = m_customVertAxis = nullptr;
  if (m_parentChart != nullptr)
    SetParentChart(nullptr);
}

bool TChartSeries::SameClass(const TChartSeries &other) const {
  return ClassType().InheritsFrom(&other.ClassType()) ||
         other.ClassType().InheritsFrom(&ClassType());
}

// ---- adding, deleting and clearing points ------------------------------------

int TChartSeries::Add(double value, const std::string &label, TColor color) {
  if (MainIsY())
    return AppendPoint(Count(), value, label, color);
  return AppendPoint(value, Count(), label, color);
}

int TChartSeries::AppendNullPoint(const std::string &label) { return Add(0, label, clNone); }

int TChartSeries::AppendNullPointAt(double x, double y, const std::string &label) {
  return AppendPoint(x, y, label, clNone);
}

int TChartSeries::AppendPoint(double x, double y, const std::string &label, TColor color) {
  m_xValues->ScratchValue = x;
  m_yValues->ScratchValue = y;
  if (OnBeforeAdd && !OnBeforeAdd(this))
    return -1;
  const int index = m_xValues->StoreValue(m_xValues->ScratchValue);
  m_yValues->InsertValueAt(index, m_yValues->ScratchValue);
  AddExtraValues(index);
  InsertPointExtras(index, label, color);
  m_drawnRange.PointInserted(m_valueLists, index);
  PointAdded(index);
  return index;
}

void TChartSeries::InsertPointExtras(int index, const std::string &label, TColor color) {
  m_colors.Insert(index, color);
  m_labels.Insert(index, label);
  m_marks->Positions().InsertEmpty(index);
}

void TChartSeries::AddExtraValues(int valueIndex) {
  for (int t = 2; t < m_valueLists.Count(); ++t) {
    TChartValueList &list = m_valueLists[t];
    list.InsertValueAt(valueIndex, list.ScratchValue);
  }
}

void TChartSeries::PointAdded(int valueIndex) {
  if (OnAfterAdd)
    OnAfterAdd(this, valueIndex);
  NotifyValueChange(snInsert, valueIndex);
  if (m_active)
    Repaint();
}

void TChartSeries::Delete(int valueIndex) {
  if (valueIndex < 0 || valueIndex >= Count())
    throw EValueListIndexError(valueIndex);
  TChartChanges::Note();
  for (int t = 0; t < m_valueLists.Count(); ++t)
    if (valueIndex < m_valueLists[t].Count())
      m_valueLists[t].Delete(valueIndex);
  m_colors.Delete(valueIndex);
  m_labels.Delete(valueIndex);
  m_marks->Positions().Delete(valueIndex);
  NotifyValueChange(snDelete, valueIndex);
  Repaint();
}

void TChartSeries::ClearLists() {
  if (Count() > 0 || m_labels.Count() > 0)
    TChartChanges::Note();
  for (int t = 0; t < m_valueLists.Count(); ++t)
    m_valueLists[t].Clear();
  m_colors.Clear();
  m_labels.Clear();
  m_marks->Positions().Clear();
}

void TChartSeries::Clear() {
  ClearLists();
  if (OnClearValues)
    OnClearValues(this);
  NotifyValueChange(snClear, -1);
  if (m_parentChart != nullptr && !m_parentChart->Destroying())
    Repaint();
}

void TChartSeries::ExchangePoints(int a, int b) {
  for (int t = 0; t < m_valueLists.Count(); ++t)
    m_valueLists[t].Exchange(a, b);
  if (a < 0 || b < 0 || a >= m_colors.Count() || b >= m_colors.Count() || a >= m_labels.Count() ||
      b >= m_labels.Count())
    throw std::out_of_range("TChartSeries::ExchangePoints");
  m_colors.Exchange(a, b);
  m_labels.Exchange(a, b);
  m_marks->Positions().Exchange(a, b);
}

int TChartSeries::AddSourceValue(TChartSeries &source, int valueIndex) {
  double x = source.XValues().Value(valueIndex);
  double y = source.YValues().Value(valueIndex);
  if (source.MainIsY() != MainIsY())
    std::swap(x, y);
  const int index = m_xValues->StoreValue(x);
  m_yValues->InsertValueAt(index, y);
  const TChartValueLists &theirs = source.AllValueLists();
  for (int t = 2; t < m_valueLists.Count(); ++t) {
    // A source without the column gives 0, so the lists stay aligned.
    const bool has = t < theirs.Count() && valueIndex < theirs[t].Count();
    m_valueLists[t].InsertValueAt(index, has ? theirs[t].Value(valueIndex) : 0.0);
  }
  return index;
}

void TChartSeries::AddValue(TChartSeries &source, int valueIndex) {
  const int index = AddSourceValue(source, valueIndex);
  const bool hasColor = valueIndex < source.m_colors.Count();
  const bool hasLabel = valueIndex < source.m_labels.Count();
  InsertPointExtras(index, hasLabel ? source.m_labels.At(valueIndex) : std::string(),
                    hasColor ? source.m_colors.At(valueIndex) : clTeeColor);
  m_drawnRange.PointInserted(m_valueLists, index);
  PointAdded(index);
}

void TChartSeries::CopyPointsFrom(TChartSeries &source) {
  if (!CanFeedSeries(&source))
    return;
  // A refused fill raises before anything is cleared: the results stay.
  if (m_function)
    m_function->CheckSource(source);
  Clear();
  if (m_function) {
    m_xValues->SetDateTime(source.XValues().DateTime());
    m_yValues->SetDateTime(source.YValues().DateTime());
    m_function->FillFromSources(&source);
  } else {
    for (int t = 0; t < source.Count(); ++t)
      AddValue(source, t);
  }
  NotifyValueChange(snRefresh, -1);
}

void TChartSeries::PointDeleted(TChartSeries &, int valueIndex) {
  // A dependent that refused some of the source's points may lack the index.
  if (valueIndex >= 0 && valueIndex < Count())
    Delete(valueIndex);
}

// ---- sample values --------------------------------------------------------------

TChartSeries::TRandomBounds TChartSeries::CalcRandomBounds(int numValues) {
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  bool fromChart = false;
  if (m_parentChart != nullptr && HorizAxisObject() != nullptr && VertAxisObject() != nullptr) {
    for (int t = 0; t < m_parentChart->SeriesCount(); ++t) {
      TChartSeries *s = m_parentChart->Series(t);
      if (s->Active() && s->Count() > 0) {
        fromChart = true;
        break;
      }
    }
  }
  if (fromChart) {
    minY = m_parentChart->SmallestY(VertAxisObject());
    maxY = m_parentChart->LargestY(VertAxisObject());
    minX = m_parentChart->SmallestX(HorizAxisObject());
    maxX = m_parentChart->LargestX(HorizAxisObject());
    if (maxY == minY)
      maxY = minY == 0 ? 1000 : 2 * minY;
    if (maxX == minX)
      maxX = minX == 0 ? numValues : 2 * minX;
  } else {
    minY = 0;
    maxY = 1000;
    if (m_xValues->DateTime()) {
      minX = DateOf(SystemNow());
      maxX = minX + numValues - 1;
    } else {
      minX = 0;
      maxX = numValues - 1;
    }
  }
  TRandomBounds b;
  b.StartX = minX;
  b.StepX = numValues > 1 ? (maxX - minX) / (numValues - 1) : maxX - minX;
  b.MinY = minY;
  b.DifY = std::clamp(maxY - minY, -MaxSampleSpan, MaxSampleSpan);
  return b;
}

void TChartSeries::FillSampleValues(int numValues) {
  if (numValues < 1)
    throw ChartException(ChartText(ctFillSample));
  Clear();
  const TRandomBounds b = CalcRandomBounds(numValues);
  const auto span = static_cast<int>(Round(b.DifY));
  double x = b.StartX;
  double y = b.MinY + ChartRandom(span);
  // Repaints are held while the points go in.
  const bool wasCreated = m_parentChart != nullptr && m_parentChart->IsCreated();
  if (m_parentChart != nullptr)
    m_parentChart->SetCreated(false);
  struct Restore {
    TCustomAxisPanel *Chart;
    bool Created;
    ~Restore() {
      if (Chart != nullptr)
        Chart->SetCreated(Created);
    }
  };
  {
    Restore restore{m_parentChart, wasCreated};
    for (int t = 0; t < numValues; ++t) {
      const int q = span / 4;
      y = std::fabs(y + ChartRandom(q) - q / 2);
      AppendPoint(x, y, {}, clTeeColor);
      x += b.StepX;
    }
  }
  Repaint();
}

void TChartSeries::PrepareSample(bool enabled) {
  FillSampleValues(4);
  m_marks->SetVisible(false);
  SetColorEachPoint(false);
  if (!enabled)
    SetSeriesColor(SampleDisabledColor);
}

// ---- per-point queries ------------------------------------------------------------

TColor TChartSeries::StoredPointColor(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= m_colors.Count())
    return clTeeColor;
  return m_colors.At(valueIndex);
}

void TChartSeries::SetPointColor(int valueIndex, TColor color) {
  if (valueIndex < 0 || valueIndex >= m_colors.Count())
    throw EValueListIndexError(valueIndex);
  if (m_colors.At(valueIndex) == color)
    return;
  m_colors.Set(valueIndex, color);
  Repaint();
}

bool TChartSeries::HasDrawnPoints() {
  m_drawnRange.Update(m_valueLists);
  return m_drawnRange.Any();
}

double TChartSeries::DrawnLargest(const TChartValueList &list) {
  m_drawnRange.Update(m_valueLists);
  return m_drawnRange.Largest(m_valueLists.IndexOf(&list));
}

double TChartSeries::DrawnSmallest(const TChartValueList &list) {
  m_drawnRange.Update(m_valueLists);
  return m_drawnRange.Smallest(m_valueLists.IndexOf(&list));
}

bool TChartSeries::HasFiniteValues(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= Count())
    return true;
  for (int t = 0; t < m_valueLists.Count(); ++t) {
    const TChartValueList &list = m_valueLists[t];
    if (valueIndex < list.Count() && !std::isfinite(list.Value(valueIndex)))
      return false;
  }
  return true;
}

TColor TChartSeries::PointColor(int valueIndex) {
  const TColor stored = StoredPointColor(valueIndex);
  // A null point stays undrawn whether or not points have their own colours;
  // so does a point with a value that is not a number or not finite.
  if (stored == clNone || !HasFiniteValues(valueIndex))
    return clNone;
  if (!m_colorEachPoint || valueIndex < 0 || valueIndex >= m_colors.Count())
    return m_seriesColor;
  return stored == clTeeColor ? SeriesPaletteColor(valueIndex) : stored;
}

std::string TChartSeries::PointLabel(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= m_labels.Count())
    return {};
  return m_labels.At(valueIndex);
}

void TChartSeries::SetPointLabel(int valueIndex, const std::string &label) {
  if (valueIndex < 0 || valueIndex >= m_labels.Count())
    throw EValueListIndexError(valueIndex);
  if (m_labels.At(valueIndex) == label)
    return;
  m_labels.Set(valueIndex, label);
  Repaint();
}

TChartValueList &TChartSeries::ValueListByName(const std::string &name) {
  const QString wanted = QString::fromStdString(name).toUpper();
  for (int t = 2; t < m_valueLists.Count(); ++t)
    if (QString::fromStdString(m_valueLists[t].Name()).toUpper() == wanted)
      return m_valueLists[t];
  return *m_yValues;
}

double TChartSeries::StackBaseAt(int valueIndex, bool sumAll) {
  double sum = 0;
  if (m_parentChart == nullptr)
    return sum;
  for (int t = 0; t < m_parentChart->SeriesCount(); ++t) {
    TChartSeries *s = m_parentChart->Series(t);
    if (!sumAll && s == this)
      break;
    if (s->Active() && SameClass(*s) && s->Count() > valueIndex)
      sum += s->OriginValueOf(valueIndex);
  }
  return sum;
}

double TChartSeries::LargestStackedTop(double from) {
  double result = from;
  TChartValueList &values = MainValueList();
  for (int t = 0; t < Count(); ++t) {
    if (!HasFiniteValues(t))
      continue;
    const double top = StackBaseAt(t, false) + values.Value(t);
    if (std::isfinite(top))
      result = std::max(result, top);
  }
  return result;
}

// ---- screen positions -----------------------------------------------------------

int TChartSeries::XValueToScreen(double value) const {
  const TCustomChartAxis *axis = HorizAxisObject();
  return axis != nullptr ? axis->XValueToScreen(value) : 0;
}

int TChartSeries::YValueToScreen(double value) const {
  const TCustomChartAxis *axis = VertAxisObject();
  return axis != nullptr ? axis->YValueToScreen(value) : 0;
}

int TChartSeries::ValueToScreen(double value) {
  return MainIsY() ? YValueToScreen(value) : XValueToScreen(value);
}

double TChartSeries::XScreenToValue(int pixel) const {
  const TCustomChartAxis *axis = HorizAxisObject();
  return axis != nullptr ? axis->ScreenToValue(pixel) : 0.0;
}

double TChartSeries::YScreenToValue(int pixel) const {
  const TCustomChartAxis *axis = VertAxisObject();
  return axis != nullptr ? axis->ScreenToValue(pixel) : 0.0;
}

int TChartSeries::PointAtPosition(int, int) { return -1; }

// ---- chart and axes ---------------------------------------------------------------

void TChartSeries::SetParentChart(TCustomAxisPanel *value) {
  if (m_parentChart == value)
    return;
  TCustomAxisPanel *old = m_parentChart;
  m_parentChart = nullptr;
  if (old != nullptr)
    old->RemoveSeries(this);
  m_parentChart = value;
  if (value != nullptr)
    value->AddSeries(this);
}

TCustomChartAxis *TChartSeries::HorizAxisObject() const {
  if (m_parentChart == nullptr)
    return nullptr;
  if (m_horizAxis == aTopAxis)
    return m_parentChart->TopAxis();
  if (m_horizAxis == aCustomHorizAxis && m_customHorizAxis != nullptr)
    return m_customHorizAxis;
  return m_parentChart->BottomAxis();
}

TCustomChartAxis *TChartSeries::VertAxisObject() const {
  if (m_parentChart == nullptr)
    return nullptr;
  if (m_vertAxis == aRightAxis)
    return m_parentChart->RightAxis();
  if (m_vertAxis == aCustomVertAxis && m_customVertAxis != nullptr)
    return m_customVertAxis;
  return m_parentChart->LeftAxis();
}

void TChartSeries::SetHorizAxis(THorizAxis value) { Store(m_horizAxis, value); }
void TChartSeries::SetVertAxis(TVertAxis value) { Store(m_vertAxis, value); }
void TChartSeries::SetCustomHorizAxis(TCustomChartAxis *axis) {
  ChangeCustomAxis(m_customHorizAxis, axis);
}

void TChartSeries::SetCustomVertAxis(TCustomChartAxis *axis) {
  ChangeCustomAxis(m_customVertAxis, axis);
}

void TChartSeries::ChangeCustomAxis(TCustomChartAxis *&slot, TCustomChartAxis *axis) {
  if (slot == axis)
    return;
  TCustomChartAxis *old = slot;
  slot = axis;
  // The axis knows its users so that freeing it can detach them.
  if (old != nullptr && old != m_customHorizAxis && old != m_customVertAxis)
    old->RemoveCustomUser(this);
  if (axis != nullptr)
    axis->AddCustomUser(this);
  Repaint();
}

void TChartSeries::CustomAxisFreed(const TCustomChartAxis *axis) {
  if (axis == nullptr)
    return;
  bool changed = false;
  if (m_customHorizAxis == axis) {
    m_customHorizAxis = nullptr;
    changed = true;
  }
  if (m_customVertAxis == axis) {
    m_customVertAxis = nullptr;
    changed = true;
  }
  if (changed)
    Repaint();
}

bool TChartSeries::IsOnAxis(const TCustomChartAxis *axis) {
  if (!HasAxes() || axis == nullptr)
    return false;
  if (axis->IsHorizontal())
    return m_horizAxis == aBothHorizAxis || axis == HorizAxisObject();
  return m_vertAxis == aBothVertAxis || axis == VertAxisObject();
}

void TChartSeries::ChangeView3D(bool is3D) {
  if (m_parentChart == nullptr)
    return;
  m_parentChart->SetView3D(is3D);
  m_parentChart->SetClipPoints(!is3D);
}

void TChartSeries::Repaint() {
  if (m_parentChart != nullptr && !m_parentChart->Destroying())
    m_parentChart->RepaintChart();
}

// ---- properties -------------------------------------------------------------------

template <typename T> void TChartSeries::Store(T &field, const T &value) {
  if (field == value)
    return;
  field = value;
  Repaint();
}

void TChartSeries::SetActive(bool value) { Store(m_active, value); }
void TChartSeries::SetSeriesColor(TColor value) { Store(m_seriesColor, value); }
void TChartSeries::SetShowInLegend(bool value) { Store(m_showInLegend, value); }
void TChartSeries::SetTitle(const std::string &value) { Store(m_title, value); }
void TChartSeries::SetValueFormat(const std::string &value) { Store(m_valueFormat, value); }
void TChartSeries::SetPercentFormat(const std::string &value) { Store(m_percentFormat, value); }

bool TChartSeries::IsValueFormatStored() const { return m_valueFormat != ChartText(ctValueFormat); }

bool TChartSeries::IsPercentFormatStored() const {
  return m_percentFormat != ChartText(ctPercentFormat);
}

void TChartSeries::SetColorEachPoint(bool value) {
  if (m_colorEachPoint == value)
    return;
  m_colorEachPoint = value;
  if (!value)
    m_colors.Retain([](TColor c) { return c == clNone; });
  Repaint();
}

void TChartSeries::SetColorSource(const std::string &value) {
  if (m_colorSource == value)
    return;
  m_colorSource = value;
  RefreshFromSource();
}

void TChartSeries::SetXLabelsSource(const std::string &value) {
  if (m_xLabelsSource == value)
    return;
  m_xLabelsSource = value;
  RefreshFromSource();
}

void TChartSeries::SetDepthIndex(int value) { Store(m_depthIndex, value); }

void TChartSeries::SetDepths(int front, int mid, int back) {
  m_frontDepth = front;
  m_midDepth = mid;
  m_backDepth = back;
  m_marks->SetZPosition(mid);
}

bool TChartSeries::LoadTypeBitmap(QImage &bitmap) const {
  return LoadGalleryBitmap(ClassType().ClassName(), bitmap);
}
