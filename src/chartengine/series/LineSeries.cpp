#include "chartengine/series/LineSeries.h"

#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/CustomAxisPanel.h"

const TChartComponentClass &TLineSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TLineSeries", &TCustomSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TLineSeries>(owner));
      });
  return cls;
}

TLineSeries::TLineSeries(TChartComponent *owner) : TCustomSeries(owner) {
  SetLineVisible(true);
  Pointer().SetVisible(false);
  // A whole-series function result is a level line of two points.
  SinglePointResults = false;
}

void TLineSeries::Assign(TChartSeries &source) {
  TCustomSeries::Assign(source);
  Pointer().SetVisible(false);
  SetDrawArea(false);
  SetLineVisible(true);
}

void TLineSeries::SetUpLegendCanvas(int, TColor &, TBrushStyle &brushStyle) {
  if (ParentChart() != nullptr)
    ParentChart()->Canvas().AssignChartPen(LinePen());
  brushStyle = LineBrush();
}

void RegisterLineSeriesType() {
  RegisterSeriesType(&TLineSeries::StaticClass(), ChartText(ctSeriesLine),
                     ChartText(ctGalleryStandard), 2);
}
