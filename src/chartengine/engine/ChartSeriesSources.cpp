// Data sources, dependents, the series function, copying and streaming.
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartFiler.h"
#include "chartengine/engine/ChartFunction.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomAxisPanel.h"

#include <algorithm>

namespace {
// Notifications may nest (a dependent's handler changing its source) but not
// without end.
constexpr int MaxNotifyDepth = 32;

template <typename C, typename V> bool Contains(const C &list, const V *value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}
} // namespace

// ---- links ----------------------------------------------------------------------

void TChartSeries::LinkSource(TChartComponent *value) {
  m_sources.push_back(value);
  if (auto *series = dynamic_cast<TChartSeries *>(value))
    series->m_dependents.push_back(this);
  else
    value->FreeNotification(this);
}

void TChartSeries::UnlinkSources() {
  const std::vector<TChartComponent *> sources = std::move(m_sources);
  m_sources.clear();
  for (TChartComponent *source : sources) {
    if (auto *series = dynamic_cast<TChartSeries *>(source))
      std::erase(series->m_dependents, this);
    else
      source->RemoveFreeNotification(this);
  }
}

bool TChartSeries::DependsOn(const TChartSeries &series) const {
  // Every series this one is fed from, directly or through others.
  std::vector<const TChartSeries *> pending{this};
  std::vector<const TChartSeries *> seen;
  while (!pending.empty()) {
    const TChartSeries *s = pending.back();
    pending.pop_back();
    if (s == &series)
      return true;
    if (Contains(seen, s))
      continue;
    seen.push_back(s);
    for (TChartComponent *source : s->m_sources)
      if (auto *fed = dynamic_cast<const TChartSeries *>(source))
        pending.push_back(fed);
  }
  return false;
}

void TChartSeries::CheckNotCircular(TChartSeries &source) const {
  if (source.DependsOn(*this))
    throw ChartException(ChartText(ctCircularSeries));
}

void TChartSeries::AddSourceChecked(TChartComponent *value, bool replace) {
  if (m_parentChart == nullptr)
    throw ChartException(ChartText(ctNoParentChart));
  if (!m_parentChart->CanBeDataSource(this, value))
    throw ChartException(ChartTextFormat(ctNoValidDataSource, {value->Name()}));
  if (Contains(m_sources, value))
    return;
  if (auto *series = dynamic_cast<TChartSeries *>(value))
    CheckNotCircular(*series);
  if (replace && !Loading())
    UnlinkSources();
  LinkSource(value);
  if (!Loading())
    RefreshFromSource();
}

void TChartSeries::SetDataSource(TChartComponent *value) {
  if (value != nullptr) {
    AddSourceChecked(value, true);
    return;
  }
  if (m_parentChart != nullptr && !m_sources.empty())
    m_parentChart->SeriesSourceRemoved(this, m_sources.front());
  UnlinkSources();
  if (Designing())
    FillSampleValues(SamplePointCount());
  else
    Clear();
  Repaint();
}

void TChartSeries::AddDataSource(TChartComponent *value) {
  if (value == nullptr)
    return;
  AddSourceChecked(value, false);
}

void TChartSeries::RemoveDataSource(TChartComponent *value) {
  if (!Contains(m_sources, value))
    return;
  if (m_sources.size() == 1) {
    SetDataSource(nullptr);
    return;
  }
  std::erase(m_sources, value);
  if (auto *series = dynamic_cast<TChartSeries *>(value))
    std::erase(series->m_dependents, this);
  else
    value->RemoveFreeNotification(this);
  RefreshFromSource();
}

void TChartSeries::SourceFreed(TChartComponent *source) {
  if (!Contains(m_sources, source))
    return;
  // A chart freeing all of its series refills none of them.
  if (m_parentChart != nullptr && m_parentChart->Destroying()) {
    std::erase(m_sources, source);
    return;
  }
  // The source has unlinked itself already: it goes as a removed one does,
  // refilling from the sources left or clearing when none is left.
  try {
    RemoveDataSource(source);
  } catch (const ChartException &) {
    // A function that refuses the sources left keeps its results.
  }
}

void TChartSeries::Notification(TChartComponent *component, TOperation operation) {
  TChartComponent::Notification(component, operation);
  if (operation == opRemove)
    SourceFreed(component);
}

void TChartSeries::RefreshFromSource() {
  if (m_parentChart != nullptr)
    m_parentChart->RefreshFromSource(this);
}

// ---- notifications ----------------------------------------------------------------

void TChartSeries::NotifyValueChange(TSeriesNotifyKind kind, int index) {
  if (m_dependents.empty() || m_notifying >= MaxNotifyDepth)
    return;
  struct Depth {
    int &Count;
    explicit Depth(int &c) : Count(c) { ++Count; }
    ~Depth() { --Count; }
  } depth(m_notifying);
  const std::vector<TChartSeries *> dependents = m_dependents;
  for (TChartSeries *d : dependents) {
    // A dependent unlinked by an earlier one's reaction is left alone.
    if (!Contains(m_dependents, d) || !Contains(d->m_sources, this))
      continue;
    const TSeriesRecalcOptions options = d->m_recalcOptions;
    switch (kind) {
    case snClear:
      // A function over several sources is refilled from those left with points.
      if ((options & rOnClear) && d->m_function)
        RefillDependent(*d);
      else if (options & rOnClear)
        d->Clear();
      break;
    case snInsert:
      if ((options & rOnInsert) && !d->m_function)
        d->AddValue(*this, index);
      break;
    case snDelete:
      if ((options & rOnDelete) && !d->m_function)
        d->PointDeleted(*this, index);
      break;
    case snRefresh:
      RefillDependent(*d);
      break;
    case snModify:
      if (options & rOnModify)
        RefillDependent(*d);
      break;
    }
  }
}

void TChartSeries::RefillFromSources() {
  // A function reads every source, each point of the first giving one result.
  for (TChartComponent *component : m_sources)
    if (auto *series = dynamic_cast<TChartSeries *>(component)) {
      CopyPointsFrom(*series);
      return;
    }
  Clear();
}

void TChartSeries::RefillDependent(TChartSeries &dependent) {
  try {
    if (dependent.m_function)
      dependent.RefillFromSources();
    else
      dependent.CopyPointsFrom(*this);
  } catch (const ChartException &) {
    // A function that refuses the edited source (a period now too small for
    // its range) keeps its results; the edit itself stands.
  }
}

// ---- function -------------------------------------------------------------------

void TChartSeries::SetFunction(std::unique_ptr<TChartFunction> value) {
  if (m_function)
    m_function->AttachTo(nullptr);
  m_function = std::move(value);
  if (m_function)
    m_function->AttachTo(this);
  RefreshFromSource();
}

std::unique_ptr<TChartFunction> TChartSeries::ReleaseFunction() {
  if (m_function)
    m_function->AttachTo(nullptr);
  return std::move(m_function);
}

// ---- copying and streaming ------------------------------------------------------

void TChartSeries::Assign(TChartSeries &source) {
  if (&source == this)
    return;
  SetTag(source.Tag());
  SetDataSource(nullptr);
  if (MainIsY() == source.MainIsY()) {
    m_xValues->Assign(source.XValues());
    m_yValues->Assign(source.YValues());
  } else {
    m_xValues->Assign(source.YValues());
    m_yValues->Assign(source.XValues());
  }
  m_xLabelsSource = source.m_xLabelsSource;
  m_colorSource = source.m_colorSource;
  const int lists = std::min(m_valueLists.Count(), source.m_valueLists.Count());
  for (int t = 2; t < lists; ++t)
    m_valueLists[t].Assign(source.m_valueLists[t]);
  if (source.m_function && !m_function)
    SetFunction(source.ReleaseFunction());
  if (!source.m_sources.empty()) {
    for (TChartComponent *s : source.m_sources) {
      auto *series = dynamic_cast<TChartSeries *>(s);
      if (s == this || Contains(m_sources, s) || (series != nullptr && series->DependsOn(*this)))
        continue;
      LinkSource(s);
    }
  } else if (!source.Designing()) {
    CopyPointsFrom(source);
  }
  m_marks->Assign(*source.m_marks);
  m_seriesColor = source.m_seriesColor;
  m_colorEachPoint = source.m_colorEachPoint;
  m_title = source.m_title;
  m_valueFormat = source.m_valueFormat;
  m_percentFormat = source.m_percentFormat;
  m_active = source.m_active;
  m_horizAxis = source.m_horizAxis;
  m_vertAxis = source.m_vertAxis;
  m_recalcOptions = source.m_recalcOptions;
  m_cursor = source.m_cursor;
  m_showInLegend = source.m_showInLegend;
  m_style = source.m_style;
  m_identifier = source.m_identifier;
  RefreshFromSource();
  Repaint();
}

void TChartSeries::Loaded() {
  TChartComponent::Loaded();
  if (m_streamedSourceNames.empty())
    return;
  UnlinkSources();
  for (const std::string &name : m_streamedSourceNames) {
    TChartComponent *c = Owner() != nullptr ? Owner()->FindComponent(name) : nullptr;
    if (c == nullptr || c == this || Contains(m_sources, c))
      continue;
    // A stream naming a loop of sources would feed the series endlessly.
    auto *series = dynamic_cast<TChartSeries *>(c);
    if (series != nullptr && series->DependsOn(*this))
      continue;
    LinkSource(c);
  }
  std::vector<std::string>().swap(m_streamedSourceNames);
  RefreshFromSource();
}

void TChartSeries::DefineProperties(TChartFiler &filer) {
  filer.DefineStrings(
      "DataSources",
      [this](const std::vector<std::string> &names) { m_streamedSourceNames = names; },
      [this] {
        std::vector<std::string> names;
        for (TChartComponent *s : m_sources)
          names.push_back(s->Name());
        return names;
      },
      !m_sources.empty());
  filer.DefineString(
      "Identifier", [this](const std::string &text) { m_identifier = text; },
      [this] { return m_identifier; }, !m_identifier.empty());
  filer.DefineInteger(
      "Style", [this](int flags) { SetStyle(static_cast<TSeriesStyleFlags>(flags)); },
      [this] { return static_cast<int>(m_style); }, m_style != 0);
}
