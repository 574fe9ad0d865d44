#pragma once
#include "chartengine/engine/AxisLabelSpacing.h"
#include "chartengine/engine/CustomChartAxis.h"

#include <string>

class TChartCanvas3D;
class TChartPen;

// Draws one axis on its chart's canvas: the title, the labels with their
// ticks and grid lines, and the axis line. Made for one drawing.
class TAxisPainter {
public:
  TAxisPainter(TCustomChartAxis &axis, TCustomAxisPanel &chart);

  void Draw(bool calcPosAxis);

private:
  void DrawTitle();
  void DrawValueLabels(double increment);
  void DrawSeriesLabels(TAxisLabelStyle style);
  void DrawDepthLabels();
  void DrawAxisLine();
  // Admits the labels of one loop: apart from each other, inside the chart
  // and each text once.
  TAxisLabelSpacing LabelGate() const;

  // One label step at pixel p: ticks and grid unless only labels get them
  // and this label is left out; then the text when there is one.
  void Step(int p, const std::string *text, bool labelDrawn);
  void DrawTicksAndGrid(int p);
  void DrawGrid(int p);
  void DrawLabel(int p, const std::string &text);
  // Writes a text of one or more lines at an anchor by the side's rules.
  void WriteText(int x, int y, int z, const std::string &text, int angle);
  // A line across the axis at p from one offset off the axis line to
  // another (positive offsets point away from the plot).
  void AcrossLine(int p, int fromOffset, int toOffset);
  bool SelectPen(const TChartPen &pen);

  TCustomChartAxis &m_axis;
  TCustomAxisPanel &m_chart;
  TChartCanvas3D &m_canvas;
  TAxisSide m_side;
  // Depth of the axis line, ticks and labels (the depth axis: per label).
  int m_z;
  bool m_hasPrevious = false;
  int m_previousTick = 0;
};
