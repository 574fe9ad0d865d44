#pragma once
#include "chartengine/series/CustomBarSeries.h"

// Horizontal bars: the bar lengths are the X values (the main list, named
// "Bar"), the bars stand at the points' Y and grow from the origin along the
// horizontal axis; the shapes of the vertical bars lie on their side.
class THorizBarSeries : public TCustomBarSeries {
public:
  explicit THorizBarSeries(TChartComponent *owner = nullptr);

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  TChartValueList &MainValueList() override { return XValues(); }

  // The screen X of a point's value end and the top edge of its bar.
  int PointScreenX(int valueIndex) override { return ValueEndPosition(valueIndex); }
  int PointScreenY(int valueIndex) override;
  double LargestX() override { return StackedLargest(TChartSeries::LargestX()); }
  double SmallestX() override { return StackedSmallest(TChartSeries::SmallestX()); }
  // Room for the marks beside the bars, and for the bar groups above and below.
  void HorizMarginsNeeded(int &left, int &right) override;
  void VertMarginsNeeded(int &top, int &bottom) override;
  // The mark stands right of the bar's end, or left of a bar growing leftward.
  void DrawPointMark(int valueIndex, const std::string &text,
                     TSeriesMarkPosition &position) override;
  // Bars of random length from the vertical axis' minimum upwards; fewer
  // than one raises BarException.
  void FillSampleValues(int numValues) override;

  int CustomBarHeight() const { return CustomBarSize(); }
  void SetCustomBarHeight(int value) { SetCustomBarSize(value); }
};

// Enters the horizontal bar series in the gallery ("Horiz. Bar" on "Standard").
void RegisterHorizBarSeriesType();
