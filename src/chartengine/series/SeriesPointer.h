#pragma once
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/engine/ChartBrush.h"
#include "platform/Rect.h"

class TChartSeries;

enum TSeriesPointerStyle {
  psRectangle,
  psCircle,
  psTriangle,
  psDownTriangle,
  psCross,
  psDiagCross,
  psStar,
  psDiamond,
  psSmallDot
};

// The marker a line-type series draws at its points, flat or (rectangles and
// triangles as boxes and pyramids) in 3-D. It belongs to its owner series and
// takes the chart, the canvas and the depths from it; changes repaint the
// owner.
class TSeriesPointer {
public:
  explicit TSeriesPointer(TChartSeries *owner);
  TSeriesPointer(const TSeriesPointer &) = delete;
  TSeriesPointer &operator=(const TSeriesPointer &) = delete;

  // Every setting (pen and brush by value), not the owner.
  void Assign(const TSeriesPointer &source);

  // ---- drawing on the owner's chart canvas
  // Selects Pen and Brush; their automatic colours become color.
  void PrepareCanvas(TColor color);
  // The marker at (x, y) in the chart's view (flat or 3-D) at its own sizes.
  void Draw(int x, int y, TColor color, TSeriesPointerStyle style);
  // The marker with explicit half sizes; flat shapes of a 3-D drawing lie at
  // the owner's front depth, boxes and pyramids span front to back depth.
  void DrawPointer(bool is3D, int x, int y, int horizSize, int vertSize, TColor color,
                   TSeriesPointerStyle style);
  // The legend symbol: flat, centred in rect, smaller when a line crosses it.
  void DrawLegendFigure(TColor color, const TRect &rect, bool withLine);
  void DrawLegendFigure(TColor color, const TRect &rect, bool withLine, TSeriesPointerStyle style);

  // The room the axes leave at both ends for the marker (visible and
  // InflateMargins): each margin becomes at least the half size + 1.
  void CalcHorizMargins(int &left, int &right) const;
  void CalcVertMargins(int &top, int &bottom) const;

  // ---- properties (a change repaints the owner)
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool value);
  bool Draw3D() const { return m_draw3D; }
  void SetDraw3D(bool value);
  TChartBrush &Brush() { return m_brush; }
  const TChartBrush &Brush() const { return m_brush; }
  void SetBrush(const TChartBrush &value) { m_brush.Assign(value); }
  // Half width and half height in pixels; below 1 raises ChartException
  // "Pointer size must be greater than zero" and keeps the size.
  int HorizSize() const { return m_horizSize; }
  void SetHorizSize(int value);
  int VertSize() const { return m_vertSize; }
  void SetVertSize(int value);
  bool InflateMargins() const { return m_inflateMargins; }
  void SetInflateMargins(bool value);
  TChartPen &Pen() { return m_pen; }
  const TChartPen &Pen() const { return m_pen; }
  void SetPen(const TChartPen &value) { m_pen.Assign(value); }
  TSeriesPointerStyle Style() const { return m_style; }
  void SetStyle(TSeriesPointerStyle value);
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);

  TChartSeries *OwnerSeries() const { return m_owner; }

private:
  template <typename T> void Store(T &field, const T &value);
  void Changed();

  TChartSeries *m_owner;
  bool m_dark3D = true;
  bool m_draw3D = true;
  TChartBrush m_brush;
  int m_horizSize = 4;
  bool m_inflateMargins = true;
  TChartPen m_pen;
  TSeriesPointerStyle m_style = psRectangle;
  int m_vertSize = 4;
  bool m_visible = true;
};
