#include "chartengine/series/BarSeries.h"

#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"

const TChartComponentClass &TBarSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TBarSeries", &TCustomBarSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TBarSeries>(owner));
      });
  return cls;
}

TBarSeries::TBarSeries(TChartComponent *owner) : TCustomBarSeries(owner) {}

int TBarSeries::PointScreenX(int valueIndex) {
  return ApplyCategoryOffset(TChartSeries::PointScreenX(valueIndex), false);
}

void TBarSeries::HorizMarginsNeeded(int &left, int &right) {
  TChartSeries::HorizMarginsNeeded(left, right);
  CategoryMargins(left, right);
}

void TBarSeries::VertMarginsNeeded(int &top, int &bottom) {
  TChartSeries::VertMarginsNeeded(top, bottom);
  const int room = MarkRoom(false);
  if (room <= 0)
    return;
  const TCustomChartAxis *axis = VertAxisObject();
  const bool inverted = axis != nullptr && axis->Inverted();
  // Marks of bars below the origin hang under them.
  if (UseYOrigin() && SmallestY() < YOrigin())
    (inverted ? top : bottom) += room + 1;
  if (!(UseYOrigin() && LargestY() <= YOrigin()))
    (inverted ? bottom : top) += room + 1;
}

void TBarSeries::DrawPointMark(int valueIndex, const std::string &text,
                               TSeriesMarkPosition &position) {
  const int half = BarSize() / 2;
  position.ArrowStart.X += half;
  position.ArrowEnd.X += half;
  position.TopLeftCorner.X += half;
  const int length = Marks().ArrowLength();
  if (OriginPosition(valueIndex) < position.ArrowStart.Y) {
    position.ArrowEnd.Y += length + position.Height;
    position.TopLeftCorner.Y += length + position.Height;
  } else {
    position.ArrowEnd.Y -= length;
    position.TopLeftCorner.Y -= length;
  }
  TChartSeries::DrawPointMark(valueIndex, text, position);
}

void RegisterBarSeriesType() {
  RegisterSeriesType(&TBarSeries::StaticClass(), ChartText(ctSeriesBar),
                     ChartText(ctGalleryStandard), 2);
}
