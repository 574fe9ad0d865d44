#pragma once
#include "chartengine/series/CustomSeries.h"

// Points joined by a line (stairs or a 3-D ribbon); pointers hidden at first.
class TLineSeries : public TCustomSeries {
public:
  explicit TLineSeries(TChartComponent *owner = nullptr);

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // Copies the series, then keeps the line look: line on, no area, no pointers.
  void Assign(TChartSeries &source) override;
  // The legend symbol takes the line pen and the ribbon's fill.
  void SetUpLegendCanvas(int valueIndex, TColor &backColor, TBrushStyle &brushStyle) override;
};

// Enters the line series in the gallery ("Line" on "Standard").
void RegisterLineSeriesType();
