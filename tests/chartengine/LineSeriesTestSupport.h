#pragma once
// A chart with fixed axis ranges over a fixed plot rectangle that draws only
// its series (no background, walls or axes), for geometry tests of the line,
// point, area and fast line series on a recording canvas.
//
// Bottom axis 0 .. 10 over x 50 .. 250 (x = 50 + 20 v), left axis 0 .. 100
// over y 20 .. 220 (y = 220 - 2 v). In 3-D each series row is 10 pixels deep.
#include "ChartTestSupport.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "platform/RecordingCanvas.h"

#include <string>
#include <vector>

class SeriesTestChart : public TCustomAxisPanel {
public:
  SeriesTestChart() {
    SetBufferedDisplay(false);
    // 5 % of the 200 pixel wide plot: 10 pixels of depth per series.
    SetChart3DPercent(50);
    BottomAxis()->SetMinMax(0, 10);
    LeftAxis()->SetMinMax(0, 100);
    TopAxis()->SetMinMax(0, 10);
    RightAxis()->SetMinMax(0, 100);
  }

  std::string LegendValueText(TChartSeries *, int valueIndex) override {
    return std::to_string(valueIndex);
  }

  void DrawContents(const TRect &) override {
    SetPlotRect(Plot);
    RecalcPlotRect();
    CalcDepthOrder();
    FitAxesToSeries();
    CalcDepthSizes();
    for (TCustomChartAxis *axis : Axes())
      axis->ComputePixelSpan();
    CalcSeriesDepths();
    Canvas().SetProjectionCentre(DepthWidth(), PlotRect());
    if (PaintBackground) {
      Canvas().Brush() = TBrush{clWhite, bsSolid, nullptr};
      Canvas().FillRect(TRect(0, 0, width(), height()));
    }
    DrawAllSeries();
  }

  void DrawOn(TRecordingCanvas &canvas, bool is3D = false) {
    SetView3D(is3D);
    DrawToCanvas(&canvas, TRect(0, 0, 300, 300));
  }

  // The screen point of a chart point in the last drawing's projection.
  TPoint Projected(int x, int y, int z) { return Canvas().ProjectPoint(x, y, z); }

  TRect Plot{50, 20, 250, 220};
  bool PaintBackground = false;
};

// Pixel of a bottom-axis value and of a left-axis value in SeriesTestChart.
constexpr int XPix(double v) { return 50 + static_cast<int>(v * 20); }
constexpr int YPix(double v) { return 220 - static_cast<int>(v * 2); }

// The lines drawn (MoveTo/LineTo pairs) as start and end points.
struct TSegment {
  TPoint From;
  TPoint To;
  friend bool operator==(const TSegment &, const TSegment &) = default;
};
inline void PrintTo(const TSegment &s, std::ostream *os) {
  *os << "(" << s.From.X << "," << s.From.Y << ")-(" << s.To.X << "," << s.To.Y << ")";
}

inline std::vector<TSegment> SegmentsOf(const TRecordingCanvas &canvas) {
  std::vector<TSegment> result;
  for (const TCanvasCall &c : canvas.Calls())
    if (c.Name == "LineTo")
      result.push_back({c.Points[0], c.Points[1]});
  return result;
}

inline std::vector<std::vector<TPoint>> PolygonsOf(const TRecordingCanvas &canvas) {
  std::vector<std::vector<TPoint>> result;
  for (const TCanvasCall &c : canvas.Calls())
    if (c.Name == "Polygon")
      result.push_back(c.Points);
  return result;
}

// The drawing calls only (no clipping), each as its name and arguments or points.
inline std::vector<std::string> ShapesOf(const TRecordingCanvas &canvas) {
  std::vector<std::string> result;
  for (const TCanvasCall &c : canvas.Calls()) {
    if (c.Name == "SetClipRect" || c.Name == "SetClipPolygon" || c.Name == "ClearClip" ||
        c.Name == "FillRect")
      continue;
    std::string s = c.Name;
    for (int a : c.Args)
      s += " " + std::to_string(a);
    for (const TPoint &p : c.Points)
      s += " (" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
    result.push_back(s);
  }
  return result;
}
