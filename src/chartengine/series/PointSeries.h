#pragma once
#include "chartengine/series/CustomSeries.h"

// A pointer at every point and no line.
class TPointSeries : public TCustomSeries {
public:
  explicit TPointSeries(TChartComponent *owner = nullptr);

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // Copies the series, then keeps the point look: pointers on, no area, no
  // line, no clicks on the line.
  void Assign(TChartSeries &source) override;
  // Turning per-point colours on makes the pointers' fill follow them.
  void SetColorEachPoint(bool value) override;
  // Larger pointers; the chart's second series shows triangles.
  void PrepareSample(bool enabled) override;
  std::string EditorClassName() const override { return "TSeriesPointerEditor"; }
};

// Enters the point series in the gallery ("Point" on "Standard").
void RegisterPointSeriesType();
