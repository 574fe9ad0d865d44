#include "chartengine/series/VolumeSeries.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/SeriesRegistration.h"
#include "platform/Format.h"

#include <algorithm>

namespace {
constexpr int SampleVolumeCount = 26;
// Sample volumes stay below this share of the sample span.
constexpr int SampleVolumeDivisor = 15;
} // namespace

const TChartComponentClass &TVolumeSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TVolumeSeries", &TCustomSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TVolumeSeries>(owner));
      });
  return cls;
}

TVolumeSeries::TVolumeSeries(TChartComponent *owner) : TCustomSeries(owner) {
  SetDrawArea(false);
  Pointer().SetVisible(false);
}

void TVolumeSeries::DrawPoint(int valueIndex) {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr || valueIndex < 0 || valueIndex >= Count())
    return;
  const TColor color = PointColor(valueIndex);
  if (color == clNone)
    return;
  TChartCanvas3D &canvas = chart->Canvas();
  canvas.AssignChartPen(LinePen());
  canvas.Pen().Color = color;
  canvas.SetBackMode(TRANSPARENT);
  // The end of the axis where its minimum lies.
  const TCustomChartAxis *axis = VertAxisObject();
  const int base = axis == nullptr ? 0 : (axis->Inverted() ? axis->StartPixel() : axis->EndPixel());
  canvas.VertLineAtDepth(PointScreenX(valueIndex), PointScreenY(valueIndex), base, MidDepth());
}

void TVolumeSeries::FillSampleValues(int numValues) {
  if (numValues < 1)
    throw ChartException(ChartText(ctFillSample));
  Clear();
  const TRandomBounds b = CalcRandomBounds(numValues);
  const auto span = static_cast<int>(std::clamp<std::int64_t>(Round(b.DifY), 0, 2147483647LL));
  double x = b.StartX;
  for (int t = 0; t < numValues; ++t) {
    AppendPoint(x, ChartRandom(span / SampleVolumeDivisor), {}, clTeeColor);
    x += b.StepX;
  }
  NotifyValueChange(snRefresh, -1);
}

void TVolumeSeries::PrepareSample(bool enabled) {
  TCustomSeries::PrepareSample(enabled);
  FillSampleValues(SampleVolumeCount);
  Pointer().SetInflateMargins(true);
}

void RegisterVolumeSeriesType() {
  RegisterSeriesType(&TVolumeSeries::StaticClass(), SeriesText(ftSeriesVolume),
                     ChartText(ctGalleryExtended), 1);
}
