#include "chartengine/chart/SeriesTypePictures.h"

#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/GalleryBitmaps.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartComponentClass.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/engine/ChartSeries.h"

#include <memory>

namespace {
// Samples look the same every time they are drawn.
constexpr unsigned SampleSeed = 1;

const TChartComponentClass *RegisteredSeriesClass(const std::string &className) {
  const TChartSeriesTypes *types = ChartSeriesTypes();
  if (types == nullptr)
    return nullptr;
  for (int t = 0; t < types->Count(); ++t) {
    TChartClassRef cls = types->Item(t).SeriesClass;
    if (cls != nullptr && cls->ClassName() == className)
      return dynamic_cast<const TChartComponentClass *>(cls);
  }
  return nullptr;
}
} // namespace

QImage DrawSeriesTypeSample(const std::string &className) {
  const TChartComponentClass *cls = RegisteredSeriesClass(className);
  if (cls == nullptr)
    return {};
  std::unique_ptr<TChartComponent> made = cls->Create(nullptr);
  auto *series = dynamic_cast<TChartSeries *>(made.get());
  if (series == nullptr)
    return {};
  TChart chart;
  chart.SetAxisVisible(false);
  chart.Legend().SetVisible(false);
  chart.Title().SetVisible(false);
  chart.Foot().SetVisible(false);
  for (int side = 0; side < 4; ++side)
    chart.SetMargin(side, 4);
  series->SetParentChart(&chart);
  SeedChartRandom(SampleSeed);
  series->PrepareSample(true);
  QImage picture = chart.SaveToImage(SeriesTypePictureWidth, SeriesTypePictureHeight);
  // The series leaves the chart before the chart goes.
  made.reset();
  return picture;
}

void InstallSeriesTypePictures() { SetGalleryPictureMaker(DrawSeriesTypeSample); }
