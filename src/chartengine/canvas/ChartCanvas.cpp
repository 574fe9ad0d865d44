#include "chartengine/canvas/ChartCanvas.h"

int TChartCanvas::TextWidth(const std::string &text) {
  TCanvas *target = GetHandle();
  if (target == nullptr)
    return 0;
  const int w = target->TextWidth(text);
  return w > 0 ? w : 0;
}

int TChartCanvas::TextHeight(const std::string &text) {
  TCanvas *target = GetHandle();
  if (target == nullptr)
    return 0;
  const int h = target->TextHeight(text);
  return h > 0 ? h : 0;
}
