#include "chartengine/series/HorizBarSeries.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"

const TChartComponentClass &THorizBarSeries::StaticClass() {
  static const TChartComponentClass cls(
      "THorizBarSeries", &TCustomBarSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<THorizBarSeries>(owner));
      });
  return cls;
}

THorizBarSeries::THorizBarSeries(TChartComponent *owner) : TCustomBarSeries(owner) {
  // The base named the Y list; the bar lengths are the X list here.
  YValues().SetName(ChartText(ctValuesY));
  XValues().SetName(ChartText(ctValuesBar));
  XValues().SetOrder(loNone);
}

int THorizBarSeries::PointScreenY(int valueIndex) {
  return ApplyCategoryOffset(TChartSeries::PointScreenY(valueIndex), true);
}

void THorizBarSeries::HorizMarginsNeeded(int &left, int &right) {
  TChartSeries::HorizMarginsNeeded(left, right);
  const int room = MarkRoom(true);
  if (room <= 0)
    return;
  const TCustomChartAxis *axis = HorizAxisObject();
  const bool inverted = axis != nullptr && axis->Inverted();
  if (UseYOrigin() && SmallestX() < YOrigin())
    left += room + 1;
  if (!(UseYOrigin() && LargestX() <= YOrigin()))
    (inverted ? left : right) += room + 1;
}

void THorizBarSeries::VertMarginsNeeded(int &top, int &bottom) {
  TChartSeries::VertMarginsNeeded(top, bottom);
  CategoryMargins(top, bottom);
}

void THorizBarSeries::DrawPointMark(int valueIndex, const std::string &text,
                                    TSeriesMarkPosition &position) {
  const int length = Marks().ArrowLength();
  const int shift =
      OriginPosition(valueIndex) > position.ArrowStart.X ? -(length + position.Width) : length;
  position.ArrowEnd.X += shift;
  position.TopLeftCorner.X += shift + position.Width / 2;
  const int half = BarSize() / 2;
  position.ArrowStart.Y += half;
  position.ArrowEnd.Y += half;
  position.TopLeftCorner.Y += half + position.Height / 2;
  TChartSeries::DrawPointMark(valueIndex, text, position);
}

void THorizBarSeries::FillSampleValues(int numValues) {
  if (numValues < 1)
    throw BarException(ChartText(ctFillSample));
  Clear();
  const TCustomChartAxis *axis = VertAxisObject();
  double y = axis != nullptr ? axis->Minimum() : 0.0;
  double x = 1000 + ChartRandom(1000);
  for (int t = 0; t < numValues; ++t) {
    x += ChartRandom(500) - 250;
    AppendPoint(x, y, {}, clTeeColor);
    y += 1;
  }
  NotifyValueChange(snRefresh, -1);
}

void RegisterHorizBarSeriesType() {
  RegisterSeriesType(&THorizBarSeries::StaticClass(), ChartText(ctSeriesHorizBar),
                     ChartText(ctGalleryStandard), 2);
}
