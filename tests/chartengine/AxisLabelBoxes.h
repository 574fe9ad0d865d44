#pragma once
// The boxes of the texts an axis draws, read back from a recording canvas,
// for checks that labels keep apart and stay inside their chart.
#include "ChartTestSupport.h"
#include "chartengine/canvas/ChartCanvas3D.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "platform/Canvas.h"
#include "platform/RecordingCanvas.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

struct DrawnLabel {
  std::string Text;
  TRect Box;
};

// The box of a text written at (x, y) with a canvas alignment, turned by
// the font's orientation (tenths of degrees, counter-clockwise) about that
// point as the painter turns it.
inline TRect WrittenTextBox(const TCanvasCall &call) {
  const QFontMetrics fm(ToQFont(call.Font));
  const int w = fm.horizontalAdvance(QString::fromStdString(call.Text));
  const int h = fm.height();
  const int x = call.Args.at(0);
  const int y = call.Args.at(1);
  int left = 0;
  if ((call.TextAlign & TA_CENTER) == TA_CENTER)
    left = -w / 2;
  else if (call.TextAlign & TA_RIGHT)
    left = -w;
  const int top = (call.TextAlign & TA_BOTTOM) ? -h : 0;
  const int tenths = ((call.Font.Orientation % 3600) + 3600) % 3600;
  if (tenths == 0)
    return TRect(x + left, y + top, x + left + w, y + top + h);
  const double a = tenths / 10.0 * 3.14159265358979323846 / 180.0;
  const double c = std::round(std::cos(a) * 1e9) / 1e9;
  const double s = std::round(std::sin(a) * 1e9) / 1e9;
  double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
  for (const int cx : {left, left + w})
    for (const int cy : {top, top + h}) {
      // Counter-clockwise on a screen whose y grows downwards.
      const double sx = cx * c + cy * s;
      const double sy = -cx * s + cy * c;
      minX = std::min(minX, sx);
      maxX = std::max(maxX, sx);
      minY = std::min(minY, sy);
      maxY = std::max(maxY, sy);
    }
  return TRect(x + static_cast<int>(std::floor(minX)), y + static_cast<int>(std::floor(minY)),
               x + static_cast<int>(std::ceil(maxX)), y + static_cast<int>(std::ceil(maxY)));
}

// The texts the axis writes, drawn once more on its own after a drawing of
// its chart (which laid it out and set the 3-D view).
inline std::vector<DrawnLabel> DrawnAxisTexts(TCustomAxisPanel &chart, TCustomChartAxis &axis) {
  TRecordingCanvas rec;
  TChartCanvas3D &canvas = chart.Canvas();
  TCanvas *const old = canvas.TargetCanvas();
  canvas.SetTargetCanvas(&rec);
  axis.DrawAxis(true);
  canvas.SetTargetCanvas(old);
  std::vector<DrawnLabel> labels;
  for (const TCanvasCall &c : rec.CallsNamed("TextOut"))
    labels.push_back({c.Text, WrittenTextBox(c)});
  return labels;
}

// Overlapping or touching pairs of boxes, as readable text ("" when none).
inline std::string CrowdedLabels(const std::vector<DrawnLabel> &labels) {
  std::ostringstream out;
  int pairs = 0;
  for (std::size_t a = 0; a < labels.size(); ++a)
    for (std::size_t b = a + 1; b < labels.size(); ++b) {
      // Touching counts: the boxes grown by a pixel must not meet.
      const TRect grown = labels[a].Box.Inflate(1, 1);
      if (!IntersectRect(grown, labels[b].Box).IsEmpty() && ++pairs <= 5)
        out << "\"" << labels[a].Text << "\" meets \"" << labels[b].Text << "\"; ";
    }
  if (pairs > 5)
    out << pairs << " pairs in all";
  return out.str();
}

// Boxes that leave the rect, as readable text ("" when none).
inline std::string LabelsOutside(const std::vector<DrawnLabel> &labels, const TRect &bounds) {
  std::ostringstream out;
  for (const DrawnLabel &l : labels)
    if (l.Box.Left < bounds.Left || l.Box.Top < bounds.Top || l.Box.Right > bounds.Right ||
        l.Box.Bottom > bounds.Bottom)
      out << "\"" << l.Text << "\" leaves the chart; ";
  return out.str();
}

// Texts written more than once, as readable text ("" when none).
inline std::string RepeatedTexts(const std::vector<DrawnLabel> &labels) {
  std::ostringstream out;
  for (std::size_t a = 0; a < labels.size(); ++a)
    for (std::size_t b = a + 1; b < labels.size(); ++b)
      if (labels[a].Text == labels[b].Text) {
        out << "\"" << labels[a].Text << "\" twice; ";
        break;
      }
  return out.str();
}

// Boxes that meet the plot, as readable text ("" when none).
inline std::string LabelsOverThePlot(const std::vector<DrawnLabel> &labels, const TRect &plot) {
  std::ostringstream out;
  for (const DrawnLabel &l : labels)
    if (!IntersectRect(l.Box, plot).IsEmpty())
      out << "\"" << l.Text << "\" lies over the plot; ";
  return out.str();
}
