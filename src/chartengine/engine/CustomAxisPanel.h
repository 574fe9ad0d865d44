#pragma once
#include "chartengine/canvas/ChartPanelExtended.h"

#include <string>
#include <vector>

class TChartComponent;
class TChartSeries;
class TCustomChartAxis;

// The chart panel that knows series and axes: it lists its series in drawing
// order (without owning them), resolves a series' axes, answers the value
// ranges of the series on an axis, validates and reloads data sources, and
// keeps the per-drawing state series read (depth order, legend colour,
// clipping). The chart control builds on it.
class TCustomAxisPanel : public TCustomChartPanelExtended {
public:
  explicit TCustomAxisPanel(QWidget *parent = nullptr);
  // Detaches every series still listed (they are left without a chart).
  ~TCustomAxisPanel() override;

  // ---- series
  int SeriesCount() const { return static_cast<int>(m_series.size()); }
  // The series at a list position; nullptr outside the list.
  TChartSeries *GetSeries(int index) const;
  TChartSeries *Series(int index) const { return GetSeries(index); }
  int IndexOfSeries(const TChartSeries *series) const;
  int ActiveSeriesCount() const;
  // Lists the series (nothing when listed): an automatic series colour
  // becomes FreeSeriesColor, the series' ParentChart becomes this panel, a
  // series added at design time without a function gets sample values.
  virtual void AddSeries(TChartSeries *series);
  // Unlists the series and leaves it without a chart.
  virtual void RemoveSeries(TChartSeries *series);
  void RemoveAllSeries();
  // The first palette colour (0 .. 15) no series and no background uses;
  // palette colour 16 when all are taken.
  TColor FreeSeriesColor();
  // No series has the colour and, with checkBackground, it is not the
  // panel's colour.
  virtual bool IsColorUnused(TColor color, bool checkBackground);

  // ---- axes
  virtual TCustomChartAxis *TopAxis() const = 0;
  virtual TCustomChartAxis *BottomAxis() const = 0;
  virtual TCustomChartAxis *LeftAxis() const = 0;
  virtual TCustomChartAxis *RightAxis() const = 0;
  // The range of the active series associated with an axis, X or Y values.
  virtual double LargestX(TCustomChartAxis *axis) = 0;
  virtual double LargestY(TCustomChartAxis *axis) = 0;
  virtual double SmallestX(TCustomChartAxis *axis) = 0;
  virtual double SmallestY(TCustomChartAxis *axis) = 0;

  // ---- data sources
  // False for the series itself and for anything not a series; otherwise the
  // series' own CanTakeSourceFrom.
  virtual bool CanBeDataSource(TChartSeries *series, TChartComponent *component);
  // Reloads the series from its first source when that is a series and the
  // series is not being loaded.
  virtual void RefreshFromSource(TChartSeries *series);
  // The series lost its sources; source was the first of them.
  virtual void SeriesSourceRemoved(TChartSeries *series, TChartComponent *source);

  // ---- texts
  // The legend text of a point of a series (the text of a smsLegend mark).
  virtual std::string LegendValueText(TChartSeries *series, int valueIndex) = 0;

  // ---- state of a drawing
  // The largest series depth in use; series raise it when they take a depth.
  int DeepestIndex() const { return m_deepestIndex; }
  void SetDeepestIndex(int value) { m_deepestIndex = value; }
  // Series are clipped to PlotRect while drawn.
  bool ClipPoints() const { return m_clipPoints; }
  void SetClipPoints(bool value) { Store(m_clipPoints, value); }
  // The legend's colour in the current drawing (clTeeColor before a legend
  // was drawn); legend symbols are drawn against it.
  TColor LegendColor() const { return m_legendColor; }
  void SetLegendColor(TColor value) { m_legendColor = value; }
  // The panel is being destroyed: series no longer ask for repaints.
  bool Destroying() const { return m_destroying; }

private:
  std::vector<TChartSeries *> m_series;
  int m_deepestIndex = 0;
  bool m_clipPoints = true;
  TColor m_legendColor;
  bool m_destroying = false;
};
