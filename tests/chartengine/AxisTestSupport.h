#pragma once
// An axis panel drawn onto a recording canvas with a fixed plot rectangle,
// and the steps of a chart's layout for one axis, for tests of the axes.
#include "ChartTestSupport.h"
#include "chartengine/engine/ChartAxis.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "platform/RecordingCanvas.h"

#include <QFontMetrics>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class AxisTestPanel : public TCustomAxisPanel {
public:
  AxisTestPanel() {
    SetBufferedDisplay(false);
    SetView3D(false);
  }
  std::string LegendValueText(TChartSeries *, int) override { return {}; }
  void SetPlot(const TRect &rect) {
    SetPlotRect(rect);
    RecalcPlotRect();
  }
};

class AxisTest : public ::testing::Test {
protected:
  void SetUp() override {
    Panel.Canvas().SetTargetCanvas(&Rec);
    Panel.SetPlot(Plot);
  }
  void TearDown() override { Panel.Canvas().SetTargetCanvas(nullptr); }

  TCustomChartAxis &Left() { return *Panel.LeftAxis(); }
  TCustomChartAxis &Bottom() { return *Panel.BottomAxis(); }
  TCustomChartAxis &Top() { return *Panel.TopAxis(); }
  TCustomChartAxis &Right() { return *Panel.RightAxis(); }
  TCustomChartAxis &Depth() { return *Panel.DepthAxis(); }

  // A series on the chart with points (x, y).
  TChartSeries &AddSeries(const std::vector<std::pair<double, double>> &points) {
    Series.push_back(std::make_unique<TChartSeries>());
    TChartSeries &s = *Series.back();
    s.SetParentChart(&Panel);
    for (const auto &[x, y] : points)
      s.AppendPoint(x, y);
    return s;
  }

  // The chart's layout for one axis: range, room, span; then its drawing.
  void Layout(TCustomChartAxis &axis) {
    axis.FitRangeToSeries();
    TRect room = Panel.PlotRect();
    axis.CalcRect(room, true);
    Panel.SetPlot(room);
    axis.ComputePixelSpan();
  }
  void LayoutAndDraw(TCustomChartAxis &axis) {
    Layout(axis);
    Rec.Clear();
    axis.DrawAxis(true);
  }

  static QFontMetrics Metrics(const TFont &font) { return QFontMetrics(ToQFont(font)); }
  static int Width(const TFont &font, const std::string &text) {
    return Metrics(font).horizontalAdvance(QString::fromStdString(text));
  }

  // Lines drawn with a pen of the colour, as (from, to) pairs.
  std::vector<std::pair<TPoint, TPoint>> LinesIn(TColor color, TPenStyle style) const {
    std::vector<std::pair<TPoint, TPoint>> lines;
    for (const TCanvasCall &c : Rec.CallsNamed("LineTo"))
      if (c.Pen.Color == color && c.Pen.Style == style)
        lines.emplace_back(c.Points[0], c.Points[1]);
    return lines;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const TCanvasCall &c : Rec.CallsNamed("TextOut"))
      texts.push_back(c.Text);
    return texts;
  }

  const TRect Plot{50, 20, 350, 220};
  TRecordingCanvas Rec; // outlives the panel that draws on it
  AxisTestPanel Panel;
  std::vector<std::unique_ptr<TChartSeries>> Series;
};
