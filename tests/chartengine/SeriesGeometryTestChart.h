#pragma once
// An axis panel with fixed axis ranges over a fixed plot rectangle that runs
// the panel's own drawing steps (series preparation, depths, margins, series
// and marks) with its axes hidden, for geometry tests of the bar, pie and
// financial series on a recording canvas.
#include "ChartTestSupport.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "platform/RecordingCanvas.h"

#include <functional>
#include <string>
#include <vector>

class GeometryChart : public TCustomAxisPanel {
public:
  // Bottom axis xMin .. xMax over Plot's width, left axis yMin .. yMax over its height.
  GeometryChart(const TRect &plot, double xMin, double xMax, double yMin, double yMax)
      : Plot(plot) {
    SetBufferedDisplay(false);
    SetBevelOuter(bvNone);
    SetColor(clWhite);
    SetAxisVisible(false);
    BottomAxis()->SetMinMax(xMin, xMax);
    TopAxis()->SetMinMax(xMin, xMax);
    LeftAxis()->SetMinMax(yMin, yMax);
    RightAxis()->SetMinMax(yMin, yMax);
  }

  std::string LegendValueText(TChartSeries *, int valueIndex) override {
    return std::to_string(valueIndex);
  }

  void DrawOn(TRecordingCanvas &canvas, bool is3D = false) {
    SetView3D(is3D);
    DrawToCanvas(&canvas, Bounds);
  }

  // The calls a canvas operation makes under the projection of the last drawing.
  std::vector<TCanvasCall> Replay(const std::function<void(TChartCanvas3D &)> &draw) {
    TRecordingCanvas recording;
    Canvas().SetTargetCanvas(&recording);
    draw(Canvas());
    Canvas().SetTargetCanvas(nullptr);
    return recording.Calls();
  }

  TRect Plot;
  TRect Bounds{0, 0, 500, 400};

protected:
  void LayoutAxes() override {
    SetPlotRect(Plot);
    RecalcPlotRect();
    TCustomAxisPanel::LayoutAxes();
  }
};

// The drawing calls (no clipping or background), each as its name and its
// arguments or points.
inline std::vector<std::string> DrawnShapes(const std::vector<TCanvasCall> &calls) {
  std::vector<std::string> result;
  for (const TCanvasCall &c : calls) {
    if (c.Name == "SetClipRect" || c.Name == "SetClipPolygon" || c.Name == "ClearClip" ||
        c.Name == "FillRect" || c.Name == "SaveClip" || c.Name == "RestoreClip" ||
        c.Name == "ClipIntersectRect")
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
inline std::vector<std::string> DrawnShapes(const TRecordingCanvas &canvas) {
  return DrawnShapes(canvas.Calls());
}

// The calls of one name.
inline std::vector<TCanvasCall> CallsOf(const TRecordingCanvas &canvas, const std::string &name) {
  return canvas.CallsNamed(name);
}
