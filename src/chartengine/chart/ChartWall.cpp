#include "chartengine/chart/ChartWall.h"

#include "chartengine/canvas/ChartPanel.h"

TChartWall::TChartWall(TCustomChartPanel *parent, TColor defaultColor)
    : m_color(defaultColor), m_brush([this] { Repaint(); }), m_pen([this] { Repaint(); }),
      m_parent(parent), m_defaultColor(defaultColor) {}

void TChartWall::Repaint() {
  if (m_parent != nullptr)
    m_parent->RepaintChart();
}

void TChartWall::Assign(const TChartWall &s) {
  if (&s == this)
    return;
  m_brush.Assign(s.m_brush);
  SetColor(s.m_color);
  SetDark3D(s.m_dark3D);
  m_pen.Assign(s.m_pen);
  SetSize(s.m_size);
}

void TChartWall::SetColor(TColor value) {
  if (m_color != value) {
    m_color = value;
    Repaint();
  }
}

void TChartWall::SetDark3D(bool value) {
  if (m_dark3D != value) {
    m_dark3D = value;
    Repaint();
  }
}

void TChartWall::SetSize(int value) {
  if (m_size != value) {
    m_size = value;
    Repaint();
  }
}

bool TChartWall::Shaded() const {
  return m_dark3D && m_brush.Style() != bsClear && m_brush.Bitmap() == nullptr;
}
