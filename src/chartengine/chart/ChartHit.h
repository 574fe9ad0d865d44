#pragma once

class TChartSeries;
class TCustomChartAxis;

// The parts of a chart a point can lie on.
enum ChartHitKind { NoPart, LegendPart, AxisPart, SeriesPart, TitlePart, FootPart, PlotPart };

// What lies under a point of a chart.
struct ChartHit {
  ChartHitKind HitKind = NoPart;
  // The point of a series, or the position in the legend; -1 when none.
  int HitIndex = -1;
  TChartSeries *HitSeries = nullptr;
  TCustomChartAxis *HitAxis = nullptr;
};
