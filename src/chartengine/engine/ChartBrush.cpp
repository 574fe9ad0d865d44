#include "chartengine/engine/ChartBrush.h"

#include "chartengine/canvas/ChartPalette.h"

TChartBrush::TChartBrush(std::function<void()> onChange) : m_onChange(std::move(onChange)) {
  m_brush.Color = clTeeColor;
}

void TChartBrush::Assign(const TChartBrush &source) {
  if (&source == this || m_brush == source.m_brush)
    return;
  m_brush = source.m_brush;
  Changed();
}

void TChartBrush::SetColor(TColor value) {
  if (m_brush.Color == value)
    return;
  m_brush.Color = value;
  Changed();
}

void TChartBrush::SetStyle(TBrushStyle value) {
  if (m_brush.Style == value)
    return;
  m_brush.Style = value;
  Changed();
}

void TChartBrush::SetBitmap(std::shared_ptr<const QImage> value) {
  if (m_brush.Bitmap == value)
    return;
  m_brush.Bitmap = std::move(value);
  Changed();
}

void TChartBrush::Changed() {
  if (m_onChange)
    m_onChange();
}
