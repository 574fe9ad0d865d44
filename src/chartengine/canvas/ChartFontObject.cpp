#include "chartengine/canvas/ChartFontObject.h"

#include "chartengine/canvas/ChartPanel.h"

TChartFontObject::TChartFontObject(TCustomChartPanel *parent)
    : m_parent(parent), m_font([this] { Repaint(); }) {}

void TChartFontObject::Repaint() {
  if (m_parent != nullptr)
    m_parent->RepaintChart();
}
