#include "chartengine/canvas/ChartPen.h"

void TChartPen::Changed() {
  if (m_onChange)
    m_onChange();
}

void TChartPen::Assign(const TChartPen &s) {
  if (&s == this)
    return;
  const bool changed =
      m_smallDots != s.m_smallDots || m_visible != s.m_visible || !(m_pen == s.m_pen);
  m_smallDots = s.m_smallDots;
  m_visible = s.m_visible;
  m_pen = s.m_pen;
  if (changed)
    Changed();
}

void TChartPen::SetColor(TColor value) {
  if (m_pen.Color != value) {
    m_pen.Color = value;
    Changed();
  }
}

void TChartPen::SetWidth(int value) {
  if (m_pen.Width != value) {
    m_pen.Width = value;
    Changed();
  }
}

void TChartPen::SetStyle(TPenStyle value) {
  if (m_pen.Style != value) {
    m_pen.Style = value;
    Changed();
  }
}

void TChartPen::SetMode(TPenMode value) {
  if (m_pen.Mode != value) {
    m_pen.Mode = value;
    Changed();
  }
}

void TChartPen::SetSmallDots(bool value) {
  if (m_smallDots != value) {
    m_smallDots = value;
    Changed();
  }
}

void TChartPen::SetVisible(bool value) {
  if (m_visible != value) {
    m_visible = value;
    Changed();
  }
}

TChartHiddenPen::TChartHiddenPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  m_visible = false;
}

TDottedGrayPen::TDottedGrayPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  m_pen.Color = clGray;
  m_pen.Style = psDot;
}

TDarkGrayPen::TDarkGrayPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  m_pen.Color = clGray;
}

TChartAxisPen::TChartAxisPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  m_pen.Width = 2;
}

TChartArrowPen::TChartArrowPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
  m_pen.Color = clWhite;
}
