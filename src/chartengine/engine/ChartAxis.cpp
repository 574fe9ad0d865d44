#include "chartengine/engine/ChartAxis.h"

TChartAxis::TChartAxis(TCustomAxisPanel *chart, bool horizontal, bool oppositeSide)
    : TCustomChartAxis(chart) {
  SetHorizontal(horizontal);
  SetOppositeSide(oppositeSide);
}

void TChartAxis::DrawAxis(bool calcPosAxis) { InternalDrawAxis(calcPosAxis); }

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel *chart) : TCustomChartAxis(chart) {
  SetDepth(true);
  SetOppositeSide(true);
  SetVisible(false);
}

void TChartDepthAxis::DrawAxis(bool calcPosAxis) { InternalDrawAxis(calcPosAxis); }
