#pragma once
#include "chartengine/canvas/ChartPanelExtended.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class TChartComponent;
class TChartSeries;
class TCustomChartAxis;

// Engine-wide switches of the axis panel.
struct TAxisPanelSwitches {
  // Axes are drawn before the series (behind them); else after them.
  bool AxisBehind = true;
};
TAxisPanelSwitches &AxisPanelSwitches();

// Events of the axis panel.
// A label text of an axis may be changed (series null and valueIndex -1 for
// value labels).
using TAxisOnGetLabel = std::function<void(TCustomChartAxis *sender, TChartSeries *series,
                                           int valueIndex, std::string &labelText)>;
// Supplies the value of label labelIndex; leaving stop true ends the labels.
using TAxisOnGetNextLabel =
    std::function<void(TCustomChartAxis *sender, int labelIndex, double &labelValue, bool &stop)>;
using TChartNotifyEvent = std::function<void()>;

// The chart panel that knows series and axes. It lists its series in drawing
// order (without owning them), owns its axes (the five standard ones and any
// further axes that register themselves), answers the value ranges of the
// series on an axis, pages through long series, assigns depths to series in a
// 3-D view and runs the drawing of a chart in a fixed order. The chart
// control builds on it and supplies titles, legend, walls and layout.
class TCustomAxisPanel : public TCustomChartPanelExtended {
public:
  explicit TCustomAxisPanel(QWidget *parent = nullptr);
  // Detaches every series still listed (they are left without a chart) and
  // frees every axis.
  ~TCustomAxisPanel() override;

  // ---- series
  int SeriesCount() const { return static_cast<int>(m_series.size()); }
  // The series at a list position; nullptr outside the list.
  TChartSeries *GetSeries(int index) const;
  TChartSeries *Series(int index) const { return GetSeries(index); }
  int IndexOfSeries(const TChartSeries *series) const;
  int ActiveSeriesCount() const;
  // The index-th active series shown in the legend; nullptr when none.
  TChartSeries *ActiveLegendSeries(int index) const;
  // Lists the series (nothing when listed): an automatic series colour
  // becomes FreeSeriesColor, the series' ParentChart becomes this panel, a
  // series added at design time without a function gets sample values.
  virtual void AddSeries(TChartSeries *series);
  // Unlists the series and leaves it without a chart; when the chart shows
  // the series' cursor, the chart's own cursor comes back.
  virtual void RemoveSeries(TChartSeries *series);
  void RemoveAllSeries();
  // The first palette colour (0 .. 15) no series and no background uses;
  // palette colour 16 when all are taken.
  TColor FreeSeriesColor();
  // No series has the colour and, with checkBackground, it is not the
  // panel's colour.
  virtual bool IsColorUnused(TColor color, bool checkBackground);
  // Every series, for streaming them with the chart.
  void GetChildren(const std::function<void(TChartSeries *)> &proc) const;

  // ---- axes
  // The five standard axes (the depth axis starts hidden).
  virtual TCustomChartAxis *TopAxis() const { return m_topAxis; }
  virtual TCustomChartAxis *BottomAxis() const { return m_bottomAxis; }
  virtual TCustomChartAxis *LeftAxis() const { return m_leftAxis; }
  virtual TCustomChartAxis *RightAxis() const { return m_rightAxis; }
  TCustomChartAxis *DepthAxis() const { return m_depthAxis; }
  // Copy the settings of another axis into the owned one.
  void SetTopAxis(const TCustomChartAxis &value);
  void SetBottomAxis(const TCustomChartAxis &value);
  void SetLeftAxis(const TCustomChartAxis &value);
  void SetRightAxis(const TCustomChartAxis &value);
  void SetDepthAxis(const TCustomChartAxis &value);
  // Every axis of the chart, standard ones first, in drawing order.
  const std::vector<TCustomChartAxis *> &Axes() const { return m_axes; }
  int AxisCount() const { return static_cast<int>(m_axes.size()); }
  // A new axis registers itself here; the panel then frees it. Adding an
  // axis twice lists it once.
  void AddAxis(TCustomChartAxis *axis);
  // An axis freed by its creator unregisters itself (the panel forgets it).
  void RemoveAxis(TCustomChartAxis *axis);
  // The first active series associated with the axis; nullptr when none.
  TChartSeries *FirstSeriesOnAxis(const TCustomChartAxis *axis) const;
  // The range of the active series associated with an axis, X or Y values
  // (one page of them while paging); 0 when no series has points there.
  virtual double LargestX(TCustomChartAxis *axis);
  virtual double LargestY(TCustomChartAxis *axis);
  virtual double SmallestX(TCustomChartAxis *axis);
  virtual double SmallestY(TCustomChartAxis *axis);
  // AxisVisible and the axis' own Visible; the depth axis only in 3-D; the
  // other axes when a series uses them or no series uses axes at all.
  bool IsAxisVisible(const TCustomChartAxis *axis) const;
  bool AxisVisible() const { return m_axisVisible; }
  void SetAxisVisible(bool value) { Store(m_axisVisible, value); }
  // Thickness of the wall along an axis in a 3-D view (0 without walls).
  virtual int WallSizeForAxis(const TCustomChartAxis * /*axis*/) { return 0; }
  bool View3DWalls() const { return m_view3DWalls; }
  void SetView3DWalls(bool value) { Store(m_view3DWalls, value); }

  // ---- paging
  // The page shown, from 1.
  int Page() const { return m_page; }
  // Limited to 1 .. PageCount; a change repaints and fires OnPageChange.
  virtual void SetPage(int value);
  // Points per page; 0 shows all points.
  int MaxPointsPerPage() const { return m_maxPointsPerPage; }
  // Negative values raise ChartException "MaxPointsPerPage must be >= 0".
  void SetMaxPointsPerPage(int value);
  // The last page is scaled as its points; else like a full page.
  bool ScaleLastPage() const { return m_scaleLastPage; }
  void SetScaleLastPage(bool value) { Store(m_scaleLastPage, value); }
  int PageCount() const;

  // ---- data sources
  // False for the series itself and for anything not a series; otherwise the
  // series' own CanTakeSourceFrom.
  virtual bool CanBeDataSource(TChartSeries *series, TChartComponent *component);
  // Reloads the series from its first source when that is a series and the
  // series is not being loaded.
  virtual void RefreshFromSource(TChartSeries *series);
  // The series lost its sources; source was the first of them.
  virtual void SeriesSourceRemoved(TChartSeries *series, TChartComponent *source);

  // ---- texts and sizes
  // The legend text of a point of a series (the text of a smsLegend mark).
  virtual std::string LegendValueText(TChartSeries *series, int valueIndex) = 0;
  // The title of the index-th active legend series: its Title, else its
  // name, else "Series <index>"; empty when there is no such series.
  std::string LegendSeriesTitle(int index) const;
  // The title of the first active series at a depth index (depth axis labels).
  std::string SeriesTitleAtDepth(int depthIndex) const;
  // Widest point label of all active series and widest mark text of the
  // active series, measured with the canvas font in force.
  int WidestSeriesTitle();
  int WidestMark();

  // ---- drawing
  // Background, titles and legend, layout, walls, axes and series in order.
  void DrawContents(const TRect &bounds) override;
  int DepthOffsetX() const { return m_depthOffsetX; }
  int DepthOffsetY() const { return m_depthOffsetY; }
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

  // ---- cursor (ids of ChartCursors.h)
  int Cursor() const { return m_cursor; }
  void SetCursor(int value);
  // The chart's own cursor, shown again after a series' cursor.
  int SavedCursor() const { return m_savedCursor; }
  void RestoreCursor() { SetCursor(m_savedCursor); }
  // Remembers the cursor as the chart's own.
  void Loaded() override;

  // AxisVisible, the five axes, ClipPoints, MaxPointsPerPage, Page,
  // ScaleLastPage, View3DWalls, then the panel's settings.
  void Assign(const TCustomAxisPanel &source);

  // The series list as a drawing walks it. A handler called out to from
  // inside a walk (ChartWalks.h) starts the walk over when it changed the
  // chart; one called between steps (before and after a series' values are
  // drawn) lets the walk go on, which holds its series through one of these:
  // a series removed or freed turns to nullptr here, so the walk never
  // reaches it. Routines that may run outside a drawing check it too.
  class TSeriesWalk {
  public:
    explicit TSeriesWalk(TCustomAxisPanel &panel);
    ~TSeriesWalk();
    TSeriesWalk(const TSeriesWalk &) = delete;
    TSeriesWalk &operator=(const TSeriesWalk &) = delete;
    std::vector<TChartSeries *> Series;
    // The series at a place of the walk while it is still there and has the
    // point index; nullptr otherwise.
    TChartSeries *WithPoint(std::size_t place, int index) const;

  private:
    TCustomAxisPanel &m_panel;
  };

  // ---- events
  TAxisOnGetLabel OnGetAxisLabel;
  TAxisOnGetNextLabel OnGetNextAxisLabel;
  TChartNotifyEvent OnPageChange;
  TChartNotifyEvent OnBeforeDrawAxes;
  TChartNotifyEvent OnBeforeDrawSeries;

protected:
  // ---- drawing steps the chart control supplies
  virtual void PaintTitlesAndLegend() {}
  // Axis ranges, depth sizes, axis room and pixel spans.
  virtual void LayoutAxes();
  // Narrows the automatic ends of the four axes by the series' margins.
  virtual void LayoutSeriesMargins();
  virtual void PaintWalls() {}

  // ---- pieces of the layout
  // Every axis takes its automatic range from the series.
  void FitAxesToSeries();
  // DepthOffsetX/Y, DepthWidth and DepthHeight from PlotWidth.
  void CalcDepthSizes();
  // Each visible axis reserves its room in PlotRect; then every axis
  // computes its pixel span.
  void ReserveAxesRoom();
  // Narrows PlotRect so that the labels at the ends of the axes stay inside
  // AxisLabelsBounds (the last bottom label without a right axis beside it).
  void KeepEndLabelsInside();
  // Where axis labels may go: the panel (the chart leaves out its legend).
  virtual TRect AxisLabelsBounds() const { return PanelBounds(); }
  // DeepestIndex and the series' depth indexes.
  void CalcDepthOrder();
  // FrontDepth, MidDepth and BackDepth of every active series.
  void CalcSeriesDepths();
  void DrawAxes();
  void DrawAllSeries();

private:
  enum class RangeEnd { Smallest, Largest };
  double AxisRange(TCustomChartAxis *axis, bool isX, RangeEnd end);
  // One run of the drawing (DrawContents starts it over after a change).
  void DrawContentsOnce(const TRect &bounds);
  void CreateStandardAxes();
  // Draw the series at walk.Series[index], or those at the indexes of a
  // group that shares a depth.
  void DrawSeries(TSeriesWalk &walk, std::size_t index);
  void DrawSeriesSharingDepth(TSeriesWalk &walk, const std::vector<std::size_t> &group);
  void DrawMarksOf(TChartSeries *series);
  void ClipToPlot();

  std::vector<TChartSeries *> m_series;
  // The walks of drawings in progress (handlers may start a nested one).
  std::vector<TSeriesWalk *> m_walks;
  TCustomChartAxis *m_depthAxis = nullptr;
  TCustomChartAxis *m_topAxis = nullptr;
  TCustomChartAxis *m_bottomAxis = nullptr;
  TCustomChartAxis *m_leftAxis = nullptr;
  TCustomChartAxis *m_rightAxis = nullptr;
  bool m_view3DWalls = true;
  bool m_clipPoints = true;
  bool m_axisVisible = true;
  int m_page = 1;
  int m_maxPointsPerPage = 0;
  bool m_scaleLastPage = true;
  int m_deepestIndex = 0;
  int m_depthOffsetX = 0;
  int m_depthOffsetY = 0;
  std::vector<TCustomChartAxis *> m_axes;
  TColor m_legendColor;
  int m_cursor = 0;
  int m_savedCursor = 0;
  bool m_destroying = false;
};
