#include "chartengine/series/AreaSeries.h"

#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/CustomAxisPanel.h"

#include <algorithm>

const TChartComponentClass &TAreaSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TAreaSeries", &TCustomSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TAreaSeries>(owner));
      });
  return cls;
}

TAreaSeries::TAreaSeries(TChartComponent *owner) : TCustomSeries(owner) {
  SetDrawArea(true);
  Pointer().SetVisible(false);
  SinglePointResults = false;
}

void TAreaSeries::Assign(TChartSeries &source) {
  TCustomSeries::Assign(source);
  if (auto *s = dynamic_cast<TAreaSeries *>(&source); s != nullptr)
    m_multiArea = s->m_multiArea;
  SetDrawArea(true);
  SetLineVisible(true);
  Pointer().SetVisible(false);
}

void TAreaSeries::SetUpLegendCanvas(int, TColor &backColor, TBrushStyle &brushStyle) {
  if (ParentChart() != nullptr)
    ParentChart()->Canvas().AssignChartPen(AreaLinesPen());
  brushStyle = AreaBrush();
  backColor = AreaColor();
}

void TAreaSeries::SetMultiArea(TMultiArea value) {
  if (m_multiArea == value)
    return;
  m_multiArea = value;
  if (TCustomAxisPanel *chart = ParentChart()) {
    for (int t = 0; t < chart->SeriesCount(); ++t) {
      auto *area = dynamic_cast<TAreaSeries *>(chart->Series(t));
      if (area != nullptr && ClassType().InheritsFrom(&area->ClassType()))
        area->m_multiArea = value;
    }
  }
  Repaint();
}

void TAreaSeries::AssignDepthIndex() {
  TCustomAxisPanel *chart = ParentChart();
  if (m_multiArea == maNone || chart == nullptr) {
    TCustomSeries::AssignDepthIndex();
    return;
  }
  // The first stacked area of the chart takes a depth of its own; the
  // others take the depth of the first one.
  const TAreaSeries *first = nullptr;
  for (int t = 0; t < chart->SeriesCount() && first == nullptr; ++t) {
    const TChartSeries *s = chart->Series(t);
    if (s == this)
      break;
    const auto *area = dynamic_cast<const TAreaSeries *>(s);
    if (area != nullptr && area->Active() && area->m_multiArea != maNone && SameClass(*area))
      first = area;
  }
  if (first == nullptr) {
    TCustomSeries::AssignDepthIndex();
    return;
  }
  // The inherited step raises the chart's depth by one and takes it.
  const int deepest = chart->DeepestIndex();
  chart->SetDeepestIndex(first->DepthIndex() - 1);
  TCustomSeries::AssignDepthIndex();
  chart->SetDeepestIndex(std::max(deepest, chart->DeepestIndex()));
}

int TAreaSeries::StackedPosition(int valueIndex, double value) {
  const double base = StackBaseAt(valueIndex, false);
  if (m_multiArea == maStacked100) {
    const double total = StackBaseAt(valueIndex, true);
    // Points whose stack adds up to nothing lie on the zero line.
    if (total == 0)
      return YValueToScreen(0);
    return YValueToScreen((base + value) * 100.0 / total);
  }
  return std::min(VertAxisEndPixel(), YValueToScreen(base + value));
}

int TAreaSeries::PointScreenY(int valueIndex) {
  if (m_multiArea == maNone)
    return TCustomSeries::PointScreenY(valueIndex);
  return StackedPosition(valueIndex, YValues().Value(valueIndex));
}

int TAreaSeries::OriginPosition(int valueIndex) {
  if (m_multiArea == maNone)
    return TCustomSeries::OriginPosition(valueIndex);
  return StackedPosition(valueIndex, 0);
}

double TAreaSeries::LargestY() {
  if (m_multiArea == maStacked100)
    return 100;
  double result = TCustomSeries::LargestY();
  if (m_multiArea == maStacked)
    result = LargestStackedTop(result);
  return result;
}

double TAreaSeries::SmallestY() {
  if (m_multiArea == maStacked100)
    return 0;
  return TCustomSeries::SmallestY();
}

void RegisterAreaSeriesType() {
  RegisterSeriesType(&TAreaSeries::StaticClass(), ChartText(ctSeriesArea),
                     ChartText(ctGalleryStandard), 2);
}
