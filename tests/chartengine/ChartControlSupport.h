#pragma once
// A chart that draws straight onto a recording canvas and remembers its plot
// rectangle after each layout step, and a simple series with points that can
// be clicked, for tests of the chart control, its legend and its axis panel.
#include "ChartTestSupport.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartAxis.h"
#include "chartengine/engine/ChartSeries.h"
#include "platform/RecordingCanvas.h"

#include <QFontMetrics>
#include <cstdlib>
#include <string>
#include <vector>

class LayoutChart : public TChart {
public:
  LayoutChart() {
    SetBufferedDisplay(false);
    resize(400, 250);
  }

  void Draw(int width = 400, int height = 250) {
    Rec.Clear();
    DrawToCanvas(&Rec, TRect(0, 0, width, height));
  }

  TRect BeforeTitles, AfterTitles, AfterAxes;
  TRecordingCanvas Rec;

  using TCustomChart::CalcDepthSizes;

protected:
  void PaintTitlesAndLegend() override {
    BeforeTitles = PlotRect();
    TChart::PaintTitlesAndLegend();
    AfterTitles = PlotRect();
  }
  void LayoutAxes() override {
    TChart::LayoutAxes();
    AfterAxes = PlotRect();
  }
};

// Points that are hit within 3 pixels of their screen position; drawing a
// point records its index.
class DotSeries : public TChartSeries {
public:
  using TChartSeries::TChartSeries;
  void DrawPoint(int valueIndex) override { Drawn.push_back(valueIndex); }
  int PointAtPosition(int x, int y) override {
    if (ParentChart() == nullptr)
      return -1;
    for (int t = 0; t < Count(); ++t)
      if (std::abs(PointScreenX(t) - x) <= 3 && std::abs(PointScreenY(t) - y) <= 3)
        return t;
    return -1;
  }
  std::vector<int> Drawn;
};

inline int LineHeightOf(const TFont &font) { return QFontMetrics(ToQFont(font)).height(); }
inline int TextWidthOf(const TFont &font, const std::string &text) {
  return QFontMetrics(ToQFont(font)).horizontalAdvance(QString::fromStdString(text));
}
