#include "chartengine/chart/ChartRegistration.h"

#include "chartengine/canvas/ChartClassInfo.h"
#include "chartengine/chart/SeriesTypePictures.h"
#include "chartengine/engine/BasicFunctions.h"

void RegisterChartControlClasses() {
  static const TChartClassInfo legend("TChartLegend");
  static const TChartClassInfo gradient("TChartGradient");
  static const TChartClassInfo wall("TChartWall");
  static const TChartClassInfo title("TChartTitle");
  for (TChartClassRef cls : {&legend, &gradient, &wall, &title})
    RegisterChartClass(cls);
  RegisterBasicFunctions();
  InstallSeriesTypePictures();
}
