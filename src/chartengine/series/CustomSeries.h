#pragma once
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/series/SeriesPointer.h"

#include <functional>
#include <memory>
#include <vector>

class TCustomSeries;

using TOnClickPointer = std::function<void(TCustomSeries *sender, int valueIndex, int x, int y)>;
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries *sender, int valueIndex)>;

// The line-type series: consecutive points joined by a line, by stairs or, in
// 3-D, by a ribbon; optionally the area down to an origin filled; a pointer
// drawn at each point. The line, point and area series are its faces, and
// the financial series build on it.
class TCustomSeries : public TChartSeries {
public:
  explicit TCustomSeries(TChartComponent *owner = nullptr);
  ~TCustomSeries() override;

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // Copies the line, area and pointer settings, then the series.
  void Assign(TChartSeries &source) override;

  // ---- drawing
  // The visible points in order. In a 3-D view a plain ribbon that the
  // ribbons drawn after it on its pixel column cover whole is left out:
  // dense lines lay dozens of ribbons over each other on one column.
  void DrawAllPoints() override;
  void DrawPoint(int valueIndex) override;
  void DrawPointMark(int valueIndex, const std::string &text,
                     TSeriesMarkPosition &position) override;
  void HorizMarginsNeeded(int &left, int &right) override;
  void VertMarginsNeeded(int &top, int &bottom) override;

  // ---- clicks: a pointer, a point, or the line (or area) between two points
  int PointAtPosition(int x, int y) override;
  // The click (x, y) lies in the pointer drawn at (px, py).
  bool ClickedPointer(int valueIndex, int px, int py, int x, int y) const;

  // ---- legend
  void DrawLegendFigure(int valueIndex, const TRect &rect) override;

  std::string EditorClassName() const override { return "TCustomSeriesEditor"; }

  // ---- properties (a change repaints)
  TBrushStyle AreaBrush() const { return m_areaBrush; }
  void SetAreaBrush(TBrushStyle value);
  // clTeeColor: the point colour.
  TColor AreaColor() const { return m_areaColor; }
  void SetAreaColor(TColor value);
  // The outline of the area and the vertical lines between its segments.
  TChartPen &AreaLinesPen() { return *m_areaLinesPen; }
  const TChartPen &AreaLinesPen() const { return *m_areaLinesPen; }
  void SetAreaLinesPen(const TChartPen &value) { m_areaLinesPen->Assign(value); }
  // Clicks on the line between two points count.
  bool ClickableLine() const { return m_clickableLine; }
  void SetClickableLine(bool value);
  // Steep parts of a 3-D ribbon are shaded darker.
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool value);
  bool DrawArea() const { return m_drawArea; }
  void SetDrawArea(bool value);
  // A line joins the points.
  bool LineVisible() const { return m_lineVisible; }
  void SetLineVisible(bool value);
  // Stairs go vertical first.
  bool InvertedStairs() const { return m_invertedStairs; }
  void SetInvertedStairs(bool value);
  // Fill of the 3-D ribbon.
  TBrushStyle LineBrush() const { return m_lineBrush; }
  void SetLineBrush(TBrushStyle value);
  // Thickness of a 3-D line drawn as a slab (0: a plain ribbon).
  int LineHeight() const { return m_lineHeight; }
  void SetLineHeight(int value);
  TChartPen &LinePen() { return *m_linePen; }
  const TChartPen &LinePen() const { return *m_linePen; }
  void SetLinePen(const TChartPen &value) { m_linePen->Assign(value); }
  TSeriesPointer &Pointer() { return *m_pointer; }
  const TSeriesPointer &Pointer() const { return *m_pointer; }
  void SetPointer(const TSeriesPointer &value) { m_pointer->Assign(value); }
  bool Stairs() const { return m_stairs; }
  void SetStairs(bool value);

  // A pointer was clicked (PointAtPosition).
  TOnClickPointer OnClickPointer;
  // The pointer style of each point; Pointer().Style() when unset.
  TOnGetPointerStyle OnGetPointerStyle;

protected:
  // Screen position of the area's origin under point valueIndex: the
  // vertical axis' far end.
  virtual int OriginPosition(int valueIndex);
  // The pointer of a point, in its colour and style.
  // The dot of a series of one point drawn without pointers.
  void DrawLonePoint(int x, int y, TColor color);
  void DrawPointerAt(int x, int y, TColor color, int valueIndex);
  // The colour an area or ribbon is filled with for a point of colour color.
  TColor AreaFillColor(TColor color) const;
  bool Is3DChart() const;
  // The bottom end pixel of the vertical axis' span; 0 without an axis.
  int VertAxisEndPixel() const;

private:
  struct TScreenPoint {
    int X = 0;
    int Y = 0;
  };
  void DrawSegment(const TScreenPoint &current, TColor color, int valueIndex, bool withPointers);
  void DrawRibbon(const TScreenPoint &current, TColor color, int valueIndex);
  // The ribbons are plain solid faces with a thin solid outline or none, and
  // no pointers are drawn over them.
  bool PlainRibbons();
  // The ribbon from the point before to current lies whole within the
  // ribbons drawn over it later on the same pixel column.
  bool RibbonCoveredLater(const TScreenPoint &current, int valueIndex);
  // Looks at the points from valueIndex on that lie on pixel column x.
  void LookAtColumn(int valueIndex, int x);
  void DrawAreaSegment(const TScreenPoint &current, TColor color, int valueIndex);
  void DrawLine(const TScreenPoint &current, TColor color, bool atDepth);
  // Shades the canvas brush as solid shapes shade a face.
  void DarkenBrush(TColor base);
  // Where the segment from valueIndex-1 to valueIndex meets the plot's near edge.
  TScreenPoint EdgePoint(int valueIndex, int y);
  bool SegmentHit(const TPoint &p, const TScreenPoint &from, const TScreenPoint &to) const;

  TBrushStyle m_areaBrush = bsSolid;
  TColor m_areaColor;
  std::unique_ptr<TChartPen> m_areaLinesPen;
  bool m_clickableLine = true;
  bool m_dark3D = true;
  bool m_drawArea = false;
  bool m_lineVisible = false;
  bool m_invertedStairs = false;
  TBrushStyle m_lineBrush = bsSolid;
  int m_lineHeight = 0;
  std::unique_ptr<TChartPen> m_linePen;
  std::unique_ptr<TSeriesPointer> m_pointer;
  bool m_stairs = false;

  // State of one drawing: the current point's origin and the point drawn before.
  int m_origin = 0;
  TScreenPoint m_previous;
  int m_previousOrigin = 0;
  int m_previousIndex = -1;
  TColor m_previousColor;
  // DrawAllPoints is drawing the points in order: ribbons may look ahead.
  bool m_skipCoveredRibbons = false;
  // The points of a pixel column looked at ahead by its ribbons, from index
  // m_columnFirst on: their place and colour, and the lowest and highest
  // height the ribbons from each on reach (RibbonsOn: there are such).
  struct TColumnPoint {
    int X = 0;
    int Y = 0;
    TColor Color = 0;
    int LowOn = 0;
    int HighOn = 0;
    bool RibbonsOn = false;
  };
  std::vector<TColumnPoint> m_column;
  int m_columnFirst = -1;
  double m_darkSlope = 0.0;
};
