#include "chartengine/canvas/ChartGradient.h"

void TCustomChartGradient::Changed() {
  if (m_onChange)
    m_onChange();
}

void TCustomChartGradient::Assign(const TCustomChartGradient &s) {
  if (&s == this)
    return;
  const bool changed = m_direction != s.m_direction || m_endColor != s.m_endColor ||
                       m_startColor != s.m_startColor || m_visible != s.m_visible;
  m_direction = s.m_direction;
  m_endColor = s.m_endColor;
  m_startColor = s.m_startColor;
  m_visible = s.m_visible;
  if (changed)
    Changed();
}

void TCustomChartGradient::SetDirection(TGradientDirection value) {
  if (m_direction != value) {
    m_direction = value;
    Changed();
  }
}

void TCustomChartGradient::SetEndColor(TColor value) {
  if (m_endColor != value) {
    m_endColor = value;
    Changed();
  }
}

void TCustomChartGradient::SetStartColor(TColor value) {
  if (m_startColor != value) {
    m_startColor = value;
    Changed();
  }
}

void TCustomChartGradient::SetVisible(bool value) {
  if (m_visible != value) {
    m_visible = value;
    Changed();
  }
}
