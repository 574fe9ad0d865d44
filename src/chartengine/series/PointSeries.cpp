#include "chartengine/series/PointSeries.h"

#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/CustomAxisPanel.h"

namespace {
constexpr int SamplePointerSize = 6;
} // namespace

const TChartComponentClass &TPointSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TPointSeries", &TCustomSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TPointSeries>(owner));
      });
  return cls;
}

TPointSeries::TPointSeries(TChartComponent *owner) : TCustomSeries(owner) {
  SetLineVisible(false);
  SetClickableLine(false);
  Pointer().SetVisible(true);
  Marks().SetArrowLength(0);
}

void TPointSeries::Assign(TChartSeries &source) {
  TCustomSeries::Assign(source);
  Pointer().SetVisible(true);
  SetDrawArea(false);
  SetLineVisible(false);
  SetClickableLine(false);
}

void TPointSeries::SetColorEachPoint(bool value) {
  TCustomSeries::SetColorEachPoint(value);
  if (value)
    Pointer().Brush().SetColor(clTeeColor);
}

void TPointSeries::PrepareSample(bool enabled) {
  TCustomSeries::PrepareSample(enabled);
  Pointer().SetHorizSize(SamplePointerSize);
  Pointer().SetVertSize(SamplePointerSize);
  if (ParentChart() != nullptr && ParentChart()->IndexOfSeries(this) == 1)
    Pointer().SetStyle(psTriangle);
}

void RegisterPointSeriesType() {
  RegisterSeriesType(&TPointSeries::StaticClass(), ChartText(ctSeriesPoint),
                     ChartText(ctGalleryStandard), 2);
}
