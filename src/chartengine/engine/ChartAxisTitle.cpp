#include "chartengine/engine/ChartAxisTitle.h"

#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartTexts.h"

TChartAxisTitle::TChartAxisTitle(TCustomChartPanel *parent, TCustomChartAxis *axis,
                                 int defaultAngle)
    : TChartFontObject(parent), m_axis(axis), m_angle(defaultAngle), m_defaultAngle(defaultAngle) {}

void TChartAxisTitle::Assign(const TChartAxisTitle &source) {
  if (&source == this)
    return;
  SetAngle(source.m_angle);
  SetCaption(source.m_caption);
  TChartFontObject::Assign(source);
}

void TChartAxisTitle::SetAngle(int value) {
  ValidateAngle(value, ChartText(ctAxisTitle));
  if (m_angle == value)
    return;
  m_angle = value;
  Repaint();
}

void TChartAxisTitle::SetCaption(const std::string &value) {
  if (m_caption == value)
    return;
  m_caption = value;
  Repaint();
}
