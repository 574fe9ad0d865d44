#pragma once
#include "chartengine/engine/CustomChartAxis.h"

// The left, top, right and bottom axes of a chart, and further axes a chart
// window adds. The title's angle follows the side: 90 on the left, 270 on
// the right, 0 on top and bottom.
class TChartAxis : public TCustomChartAxis {
public:
  explicit TChartAxis(TCustomAxisPanel *chart = nullptr, bool horizontal = false,
                      bool oppositeSide = false);

  void DrawAxis(bool calcPosAxis) override;
};

// The axis into the depth of a 3-D chart: one label per series depth
// (the series titles) or the series' depth values. Created hidden.
class TChartDepthAxis : public TCustomChartAxis {
public:
  explicit TChartDepthAxis(TCustomAxisPanel *chart = nullptr);

  void DrawAxis(bool calcPosAxis) override;
};
