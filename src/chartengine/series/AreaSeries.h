#pragma once
#include "chartengine/series/CustomSeries.h"

enum TMultiArea { maNone, maStacked, maStacked100 };

// The area under the points filled down to the vertical axis' far end, or,
// stacked, onto the areas of the same kind listed before it.
class TAreaSeries : public TCustomSeries {
public:
  explicit TAreaSeries(TChartComponent *owner = nullptr);

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // Copies the series and MultiArea, then keeps the area look: area and
  // line on, no pointers.
  void Assign(TChartSeries &source) override;
  // The legend symbol takes the area's outline pen and fill style, against
  // the area colour.
  void SetUpLegendCanvas(int valueIndex, TColor &backColor, TBrushStyle &brushStyle) override;
  std::string EditorClassName() const override { return "TAreaSeriesEditor"; }

  // Stacked areas share one depth.
  void AssignDepthIndex() override;
  // Stacked: the top of the stack at the point.
  int PointScreenY(int valueIndex) override;
  // Stacked 100 %: 0 .. 100; stacked: up to the top of the stack.
  double LargestY() override;
  double SmallestY() override;

  // Changing it changes every area series of the chart of this class or an
  // ancestor class, so that a stack is stacked as a whole.
  TMultiArea MultiArea() const { return m_multiArea; }
  void SetMultiArea(TMultiArea value);

protected:
  int OriginPosition(int valueIndex) override;

private:
  // Screen position of value stacked on the areas before this one at valueIndex.
  int StackedPosition(int valueIndex, double value);

  TMultiArea m_multiArea = maNone;
};

// Enters the area series in the gallery ("Area" on "Standard").
void RegisterAreaSeriesType();
