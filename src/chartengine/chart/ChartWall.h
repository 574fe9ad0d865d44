#pragma once
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/engine/ChartBrush.h"
#include "platform/Color.h"

class TCustomChartPanel;

// One of the three walls of a chart (back, left, bottom): its fill, its
// outline and, in 3-D, its thickness. Color clTeeColor stands for the wall's
// default look.
class TChartWall {
public:
  // defaultColor is both the starting Color and the colour that is not stored.
  TChartWall(TCustomChartPanel *parent, TColor defaultColor);
  TChartWall(const TChartWall &) = delete;
  TChartWall &operator=(const TChartWall &) = delete;

  // Brush, Color, Dark3D, Pen and Size.
  void Assign(const TChartWall &source);

  TColor Color() const { return m_color; }
  void SetColor(TColor value);
  TChartBrush &Brush() { return m_brush; }
  const TChartBrush &Brush() const { return m_brush; }
  void SetBrush(const TChartBrush &value) { m_brush.Assign(value); }
  bool Dark3D() const { return m_dark3D; }
  void SetDark3D(bool value);
  TChartPen &Pen() { return m_pen; }
  const TChartPen &Pen() const { return m_pen; }
  void SetPen(const TChartPen &value) { m_pen.Assign(value); }
  int Size() const { return m_size; }
  void SetSize(int value);

  TColor DefaultColor() const { return m_defaultColor; }
  // Color is streamed only when it differs from the colour given at creation.
  bool IsColorStored() const { return m_color != m_defaultColor; }
  // Solid faces (neither clear nor a picture) get darker sides when Dark3D.
  bool Shaded() const;

private:
  void Repaint();

  TColor m_color;
  TChartBrush m_brush;
  bool m_dark3D = true;
  TChartPen m_pen;
  int m_size = 0;
  TCustomChartPanel *m_parent;
  TColor m_defaultColor;
};
