#pragma once
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/engine/ChartBrush.h"
#include "chartengine/engine/ChartSeries.h"

#include <functional>
#include <memory>

// The shape of a bar.
enum TBarStyle {
  bsRectangle,
  bsPyramid,
  bsInvPyramid,
  bsCilinder,
  bsEllipse,
  bsArrow,
  bsRectGradient
};

// How the bar series of one chart share a point: each on its own, side by
// side, stacked, or stacked to 100 %.
enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100 };

class TCustomBarSeries;

// May change the shape of one bar.
using TGetBarStyleEvent =
    std::function<void(TCustomBarSeries *sender, int valueIndex, TBarStyle &theBarStyle)>;

// The common base of vertical and horizontal bars: the bar width from the
// room per point, side-by-side placement of the bar series of a chart,
// stacking, the origin the bars grow from, the canvas set-up of a bar, the
// click test and the room the axes leave for bars and marks. The value axis
// is the axis of the bar lengths (MainValueList), the category axis the
// other one.
class TCustomBarSeries : public TChartSeries {
public:
  explicit TCustomBarSeries(TChartComponent *owner = nullptr);
  ~TCustomBarSeries() override;

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // Copies the bar settings from another bar series, then the series.
  void Assign(TChartSeries &source) override;

  // ---- geometry of the current drawing
  // The width of one bar (its height for horizontal bars) in pixels, as last
  // computed; RecalcBarSize computes it from the category axis.
  int BarSize() const { return m_barSize; }
  void RecalcBarSize();
  // This series' place among the chart's active bar series of its class
  // (from 1) and the number of bars per point (1 unless side by side).
  int BarSeriesPosition() const;
  int BarsPerPoint() const;
  // Screen position of the end of the bar of a point along the value axis,
  // and of the origin it grows from.
  int ValueEndPosition(int valueIndex);
  int OriginPosition(int valueIndex);
  // The rectangle of the bar of a point (left < right, top < bottom).
  TRect BarBounds(int valueIndex);
  // The shape of a point's bar (BarStyle as OnGetBarStyle leaves it).
  TBarStyle BarStyleOf(int valueIndex);

  // ---- series contract
  void DrawPoint(int valueIndex) override;
  int PointAtPosition(int x, int y) override;
  bool PointsDrawForward() override;
  bool SeriesDrawsForward(int valueIndex) override;
  void FireBeforeDrawValues() override;
  void AssignDepthIndex() override;
  // Stacked: the sum of the earlier bar series at the point; else YOrigin.
  double StackBaseAt(int valueIndex, bool sumAll) override;
  void PrepareSample(bool enabled) override;
  int SamplePointCount() override { return 6; }
  void DrawLegendFigure(int valueIndex, const TRect &rect) override;
  void SetUpLegendCanvas(int valueIndex, TColor &backColor, TBrushStyle &brushStyle) override;
  std::string EditorClassName() const override { return "TBarSeriesEditor"; }

  // ---- properties (a change repaints)
  bool AutoBarSize() const { return m_autoBarSize; }
  void SetAutoBarSize(bool value);
  bool AutoMarkPosition() const { return m_autoMarkPosition; }
  void SetAutoMarkPosition(bool value);
  TChartBrush &BarBrush() { return *m_barBrush; }
  const TChartBrush &BarBrush() const { return *m_barBrush; }
  void SetBarBrush(const TChartBrush &value) { m_barBrush->Assign(value); }
  TChartPen &BarPen() { return *m_barPen; }
  const TChartPen &BarPen() const { return *m_barPen; }
  void SetBarPen(const TChartPen &value) { m_barPen->Assign(value); }
  TBarStyle BarStyle() const { return m_barStyle; }
  void SetBarStyle(TBarStyle value);
  // 1 .. 100; others raise BarException and keep the value.
  int BarWidthPercent() const { return m_barWidthPercent; }
  void SetBarWidthPercent(int value);
  // A fixed bar size in pixels; 0 (or less) computes it.
  int CustomBarSize() const { return m_customBarSize; }
  void SetCustomBarSize(int value);
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool value);
  // Changing it changes every bar series of the chart of the same class
  // family, so that a group is side by side or stacked as a whole.
  TMultiBar MultiBar() const { return m_multiBar; }
  void SetMultiBar(TMultiBar value);
  // -100 .. 100; others raise BarException and keep the value.
  int OffsetPercent() const { return m_offsetPercent; }
  void SetOffsetPercent(int value);
  // Room for a whole bar group at both ends of the category axis; copied to
  // the other bar series of the chart of the same class family.
  bool SideMargins() const { return m_sideMargins; }
  void SetSideMargins(bool value);
  bool UseYOrigin() const { return m_useYOrigin; }
  void SetUseYOrigin(bool value);
  double YOrigin() const { return m_yOrigin; }
  void SetYOrigin(double value);

  TGetBarStyleEvent OnGetBarStyle;

protected:
  // Draws the bar of a point in the colour BarColor() between the value-axis
  // coordinates start < end; BarBounds of the point are in m_barBounds. The
  // shapes lie on their side when the bar lengths are the X values.
  virtual void DrawBar(int valueIndex, int start, int end);
  // The click p (already at the series' depth) lies in the bar of a point.
  virtual bool ClickedBar(int valueIndex, const TPoint &p);

  // The category-axis edge of a bar from the inherited screen position of
  // its point: side-by-side placement or centring, then OffsetPercent.
  int ApplyCategoryOffset(int position, bool horizontal);
  // The value range including stacks and the origin.
  double StackedLargest(double inherited);
  double StackedSmallest(double inherited);
  // Room along the category axis for the bars (both ends).
  void CategoryMargins(int &low, int &high);
  // Room a mark needs along the value axis (0 without marks); markWidth
  // selects the widest mark box instead of the font height.
  int MarkRoom(bool markWidth);
  // The canvas set for a bar: BarPen and the brush in the bar colour.
  void PrepareBarCanvas();
  // A flat rectangle as bars draw it: an empty one becomes a line, one
  // thinner than the pen is drawn by the pen alone.
  void FlatBarRectangle(int left, int top, int right, int bottom);
  bool Is3DChart() const;
  TColor BarColor() const { return m_barColor; }
  const TRect &CurrentBarBounds() const { return m_barBounds; }
  TCustomChartAxis *CategoryAxis() const;
  TCustomChartAxis *ValueAxis() const;

private:
  template <typename T> bool Changes(T &field, const T &value);
  // Calls fn for every series of the chart of the same class family.
  template <typename Fn> void ForEachSameClass(bool activeOnly, Fn fn) const;

  bool m_autoBarSize = false;
  bool m_autoMarkPosition = true;
  std::unique_ptr<TChartBrush> m_barBrush;
  std::unique_ptr<TChartPen> m_barPen;
  TBarStyle m_barStyle = bsRectangle;
  int m_barWidthPercent = 70;
  int m_customBarSize = 0;
  bool m_dark3D = true;
  TMultiBar m_multiBar = mbSide;
  int m_offsetPercent = 0;
  bool m_sideMargins = true;
  bool m_useYOrigin = true;
  double m_yOrigin = 0.0;

  // State of the current drawing.
  int m_barSize = 0;
  TRect m_barBounds;
  TColor m_barColor = clBlack;
};
