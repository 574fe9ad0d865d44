#include "chartengine/engine/CustomAxisPanel.h"

#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/engine/ChartSeries.h"

#include <algorithm>

TCustomAxisPanel::TCustomAxisPanel(QWidget *parent)
    : TCustomChartPanelExtended(parent), m_legendColor(clTeeColor) {}

TCustomAxisPanel::~TCustomAxisPanel() {
  m_destroying = true;
  RemoveAllSeries();
}

TChartSeries *TCustomAxisPanel::GetSeries(int index) const {
  if (index < 0 || index >= SeriesCount())
    return nullptr;
  return m_series[static_cast<std::size_t>(index)];
}

int TCustomAxisPanel::IndexOfSeries(const TChartSeries *series) const {
  const auto it = std::find(m_series.begin(), m_series.end(), series);
  return it == m_series.end() ? -1 : static_cast<int>(it - m_series.begin());
}

int TCustomAxisPanel::ActiveSeriesCount() const {
  return static_cast<int>(
      std::count_if(m_series.begin(), m_series.end(), [](TChartSeries *s) { return s->Active(); }));
}

void TCustomAxisPanel::AddSeries(TChartSeries *series) {
  if (series == nullptr || IndexOfSeries(series) >= 0)
    return;
  if (series->ParentChart() != this) {
    // The series leaves its former chart and comes back here.
    series->SetParentChart(this);
    return;
  }
  if (series->SeriesColor() == clTeeColor)
    series->SetSeriesColor(FreeSeriesColor());
  if (series->Designing() && series->SeriesFunction() == nullptr)
    series->FillSampleValues(series->SamplePointCount());
  m_series.push_back(series);
  RepaintChart();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries *series) {
  const int index = IndexOfSeries(series);
  if (index < 0)
    return;
  m_series.erase(m_series.begin() + index);
  if (series->ParentChart() == this)
    series->SetParentChart(nullptr);
  if (!m_destroying)
    RepaintChart();
}

void TCustomAxisPanel::RemoveAllSeries() {
  while (!m_series.empty())
    RemoveSeries(m_series.front());
}

TColor TCustomAxisPanel::FreeSeriesColor() {
  for (int t = 0; t < SeriesPaletteSize; ++t)
    if (IsColorUnused(SeriesPaletteColor(t), true))
      return SeriesPaletteColor(t);
  return SeriesPaletteColor(SeriesPaletteSize);
}

bool TCustomAxisPanel::IsColorUnused(TColor color, bool checkBackground) {
  for (TChartSeries *s : m_series)
    if (s->SeriesColor() == color)
      return false;
  return !(checkBackground && color == Color());
}

bool TCustomAxisPanel::CanBeDataSource(TChartSeries *series, TChartComponent *component) {
  if (component == nullptr || component == series)
    return false;
  auto *source = dynamic_cast<TChartSeries *>(component);
  return source != nullptr && series->CanTakeSourceFrom(source);
}

void TCustomAxisPanel::RefreshFromSource(TChartSeries *series) {
  if (series == nullptr || series->Loading())
    return;
  if (auto *source = dynamic_cast<TChartSeries *>(series->DataSource()))
    series->CopyPointsFrom(*source);
}

void TCustomAxisPanel::SeriesSourceRemoved(TChartSeries *, TChartComponent *) {}
