#pragma once
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/engine/ChartSeries.h"

#include <cstddef>
#include <memory>
#include <vector>

// A series drawn as one polyline with one pen and nothing else, cheap for
// long price and indicator lines: only the visible points are visited,
// repeated pixels are skipped, and with AutoRepaint off an added point draws
// just its new segment.
class TFastLineSeries : public TChartSeries {
public:
  explicit TFastLineSeries(TChartComponent *owner = nullptr);
  ~TFastLineSeries() override;

  static const TChartComponentClass &StaticClass();
  const TChartComponentClass &ClassType() const override { return StaticClass(); }

  // AutoRepaint and LinePen from another fast line, then the series.
  void Assign(TChartSeries &source) override;
  // The pen's colour follows the series colour.
  void SetSeriesColor(TColor value) override;

  // ---- drawing
  void DrawAllPoints() override;
  // The segment that ends at the point (or the pen moved to it).
  void DrawPoint(int valueIndex) override;
  void DrawPointMark(int valueIndex, const std::string &text,
                     TSeriesMarkPosition &position) override;
  void DrawLegendFigure(int valueIndex, const TRect &rect) override;
  // The point, or the segment after it, under a screen position; -1 when none.
  int PointAtPosition(int x, int y) override;
  std::string EditorClassName() const override { return "TFastLineSeriesEditor"; }

  // The pen of the line; setting it sets the series colour to its colour.
  TChartPen &LinePen() { return *m_linePen; }
  const TChartPen &LinePen() const { return *m_linePen; }
  void SetLinePen(const TChartPen &value);

  // True: an added point repaints the chart (events and dependents as
  // usual). False: it only draws its segment onto the chart's picture.
  bool AutoRepaint = true;

protected:
  void PointAdded(int valueIndex) override;

private:
  // The pen of the line selected, brush clear.
  void PrepareCanvas();
  // A solid 1-pixel pen in copy mode: a path cut to the pixel columns draws
  // the same pixels as every point.
  bool CanDrawReduced() const;
  // The visible points as one path of at most four points per pixel column
  // (one path per stretch between points that are no points).
  void DrawReduced();
  // The point's x and y are finite; any other point leaves a gap.
  bool IsPoint(int valueIndex);

  std::unique_ptr<TChartPen> m_linePen;
  int m_lastX = 0;
  int m_lastY = 0;
  // Where this series left the canvas pen (screen pixels).
  TPoint m_penPosition;
  // The reduced path of the last drawing and a part of it (kept for their room).
  std::vector<TPoint> m_path;
  std::vector<TPoint> m_cut;
  // Where each stretch of the path ends (the last one at its size).
  std::vector<std::size_t> m_starts;
};

// Enters the fast line series in the gallery ("Fast Line" on "Standard").
void RegisterFastLineSeriesType();
