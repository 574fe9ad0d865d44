#pragma once
#include "chartengine/series/CustomBarSeries.h"

// Vertical bars: one bar per point standing at the point's X, growing from
// the origin to the point's Y (stacked on the bars of the series before it
// when MultiBar says so), in one of seven shapes.
class TBarSeries : public TCustomBarSeries {
public:
  explicit TBarSeries(TChartComponent *owner = nullptr);

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // The left edge of the bar of a point and the screen Y of its value end.
  int PointScreenX(int valueIndex) override;
  int PointScreenY(int valueIndex) override { return ValueEndPosition(valueIndex); }
  // Stacked 100 %: 0 .. 100; stacked: up to the top of the stack; with
  // UseYOrigin the range includes YOrigin.
  double LargestY() override { return StackedLargest(TChartSeries::LargestY()); }
  double SmallestY() override { return StackedSmallest(TChartSeries::SmallestY()); }
  // Room for the bar groups left and right, and for the marks above (and,
  // for bars below the origin, below).
  void HorizMarginsNeeded(int &left, int &right) override;
  void VertMarginsNeeded(int &top, int &bottom) override;
  // The mark stands above the middle of the bar, or below a hanging bar.
  void DrawPointMark(int valueIndex, const std::string &text,
                     TSeriesMarkPosition &position) override;

  int CustomBarWidth() const { return CustomBarSize(); }
  void SetCustomBarWidth(int value) { SetCustomBarSize(value); }
};

// Enters the bar series in the gallery ("Bar" on "Standard").
void RegisterBarSeriesType();
