#include "chartengine/engine/ChartAxisPainter.h"

#include "chartengine/canvas/ChartBrushRoutines.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartTextLines.h"
#include "chartengine/canvas/DateTimeSteps.h"
#include "chartengine/engine/AxisIncrement.h"
#include "chartengine/engine/AxisLabelGenerator.h"
#include "chartengine/engine/AxisLabelSpacing.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/ChartWalks.h"
#include "chartengine/engine/CustomAxisPanel.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {
// More depth rows than this are not labelled.
constexpr double MostDepthLabels = 10000.0;
} // namespace

void TCustomChartAxis::InternalDrawAxis(bool calcPosAxis) {
  if (m_chart != nullptr)
    TAxisPainter(*this, *m_chart).Draw(calcPosAxis);
}

TAxisPainter::TAxisPainter(TCustomChartAxis &axis, TCustomAxisPanel &chart)
    : m_axis(axis), m_chart(chart), m_canvas(chart.Canvas()), m_side(axis.Side()),
      m_z(axis.IsOppositeSide() && !axis.IsDepth() ? chart.DepthWidth() : 0) {}

void TAxisPainter::Draw(bool calcPosAxis) {
  // While drawn, labels keep apart as they appear in the view (3-D
  // projection included); the layout measures them flat.
  struct TProjected {
    bool &On;
    std::shared_ptr<const bool> Alive;
    ~TProjected() {
      if (*Alive)
        On = false;
    }
  } projected{m_axis.m_projectLabels, m_axis.LifeToken()};
  projected.On = true;
  double increment = m_axis.EffectiveIncrement();
  if (calcPosAxis) {
    const TRect &plot = m_chart.PlotRect();
    const int offset = AxisPositionOffset(plot, m_side, m_axis.m_positionPercent);
    m_axis.m_axisLinePos = MoveOutwards(RectEdge(plot, m_side), m_side, -offset);
  }
  DrawTitle();
  if (m_axis.ShowsDates() && m_axis.m_exactDateTime &&
      TimeStepIndexOf(m_axis.m_increment) != dtNone)
    increment = TAxisIncrement::RaiseToTableStep(increment);
  m_axis.m_labelStep = increment;
  const TAxisLabelStyle style = m_axis.ResolveLabelStyle();
  if (style != talNone) {
    if (m_axis.IsDepth())
      DrawDepthLabels();
    else if (style == talValue)
      DrawValueLabels(increment);
    else
      DrawSeriesLabels(style);
  }
  DrawAxisLine();
}

// ---- texts ----------------------------------------------------------------------------

void TAxisPainter::DrawTitle() {
  const TChartAxisTitle &title = *m_axis.m_title;
  if (title.Caption().empty())
    return;
  m_axis.AssignTextFont(title.Font().Font());
  const bool horizontal = m_axis.IsHorizontal();
  const int x = horizontal ? m_axis.CenterPixel() : m_axis.m_titlePos;
  const int y = horizontal ? m_axis.m_titlePos : m_axis.CenterPixel();
  const int z = m_axis.IsDepth() ? m_chart.DepthWidth() / 2 : m_z;
  WriteText(x, y, z, title.Caption(), title.Angle());
}

void TAxisPainter::DrawLabel(int p, const std::string &text) {
  m_axis.AssignTextFont(m_axis.m_labelsFont.Font());
  if (m_axis.IsDepth())
    WriteText(m_axis.m_labelsPos, m_chart.PlotRect().Bottom, p, text, m_axis.m_labelsAngle);
  else if (m_axis.IsHorizontal())
    WriteText(p, m_axis.m_labelsPos, m_z, text, m_axis.m_labelsAngle);
  else
    WriteText(m_axis.m_labelsPos, p, m_z, text, m_axis.m_labelsAngle);
}

void TAxisPainter::WriteText(int x, int y, int z, const std::string &text, int angle) {
  m_canvas.Brush().Style = bsClear;
  m_canvas.SetBackMode(TRANSPARENT);
  const std::vector<std::string> lines = SplitTextLines(text);
  const TAxisTextPlacement placement =
      AxisTextPlacement(m_side, angle, m_canvas.FontHeight(), static_cast<int>(lines.size()));
  m_canvas.SetTextAlign(placement.Align);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const TPoint &offset = placement.LineOffsets[k];
    const int lx = PixelAdd(x, offset.X);
    const int ly = PixelAdd(y, offset.Y);
    if (angle % 360 == 0)
      m_canvas.TextOutAtDepth(lx, ly, z, lines[k]);
    else
      m_canvas.TextOutRotated3D(lx, ly, z, lines[k], angle);
  }
  m_canvas.SetTextAlign(TA_LEFT);
}

// ---- label loops --------------------------------------------------------------------------

void TAxisPainter::DrawValueLabels(double increment) {
  TAxisLabelRequest request = m_axis.LabelRequest(increment);
  if (m_chart.OnGetNextAxisLabel)
    request.NextLabel = [this](int index, double &value, bool &stop) {
      CallOut([&] { m_chart.OnGetNextAxisLabel(&m_axis, index, value, stop); });
    };
  const TAxisLabelValues values = TAxisLabelGenerator(request).Generate();
  // A logarithmic axis that starts at 0 or below starts at its first label.
  m_axis.m_scale.Minimum = values.Minimum;
  // A label that would touch one drawn before, leave the chart or repeat a
  // text is left out: powers of a logarithmic axis may crowd, linear labels
  // may when no step keeps them apart (a squeezed plot draws what fits), and
  // so may the chart's own sequence; a range too fine for the format reads
  // alike at every step.
  TAxisLabelSpacing gate = LabelGate();
  for (double value : values.Values) {
    const std::string text = m_axis.ValueLabelText(value);
    const bool drawn = !m_axis.m_labels || gate.Accept(m_axis.LabelBox(value, text), text);
    Step(m_axis.PositionOf(value), &text, drawn);
  }
  if (!values.MinorTicks.empty() && SelectPen(m_axis.m_minorTicks)) {
    // Ticks that fall on a pixel already ticked add nothing.
    bool any = false;
    int last = 0;
    for (double value : values.MinorTicks) {
      const int p = m_axis.PositionOf(value);
      if (any && p == last)
        continue;
      AcrossLine(p, m_axis.m_minorTickLength, 0);
      any = true;
      last = p;
    }
  }
}

void TAxisPainter::DrawSeriesLabels(TAxisLabelStyle style) {
  // The chart's label and mark-text handlers may take series away or free
  // them: the label series are held as places in a walk, which blanks them.
  TCustomAxisPanel::TSeriesWalk walk(m_chart);
  std::vector<std::size_t> labelSeries;
  int first = INT_MAX;
  int last = -1;
  for (std::size_t t = 0; t < walk.Series.size(); ++t) {
    TChartSeries *s = walk.Series[t];
    if (!s->Active() || !s->IsOnAxis(&m_axis) || s->Count() == 0)
      continue;
    labelSeries.push_back(t);
    s->FindVisibleRange();
    if (s->FirstVisibleIndex() >= 0)
      first = std::min(first, s->FirstVisibleIndex());
    last = std::max(last, s->LastVisibleIndex());
  }
  if (last < 0 || first > last)
    return;
  const bool horizontal = m_axis.IsHorizontal();
  // A label that would reach into one drawn before (points need not come in
  // the order of their places), leave the chart or repeat a text is left out.
  TAxisLabelSpacing gate = LabelGate();
  for (int index = first; index <= last; ++index) {
    TChartSeries *s = nullptr;
    std::size_t place = 0;
    for (std::size_t candidate : labelSeries)
      if ((s = walk.WithPoint(candidate, index)) != nullptr) {
        place = candidate;
        break;
      }
    if (s == nullptr)
      continue;
    std::string text = style == talMark ? s->MarkText(index) : s->PointLabel(index);
    if (m_chart.OnGetAxisLabel && walk.WithPoint(place, index) != nullptr)
      CallOut([&] { m_chart.OnGetAxisLabel(&m_axis, s, index, text); });
    // A series gone, or emptied, has no label here any more.
    if (walk.WithPoint(place, index) == nullptr)
      continue;
    const double value = horizontal ? s->XValues().Value(index) : s->YValues().Value(index);
    if (!(value >= m_axis.CurMinimum() && value <= m_axis.CurMaximum()))
      continue;
    const bool drawn = !m_axis.m_labels || gate.Accept(m_axis.LabelBox(value, text), text);
    Step(m_axis.PositionOf(value), &text, drawn);
  }
}

void TAxisPainter::DrawDepthLabels() {
  if (m_chart.ActiveSeriesCount() == 0)
    return;
  const double max = m_axis.CurMaximum();
  const double low = std::trunc(m_axis.CurMinimum());
  const double high = std::trunc(max);
  // Also refuses ranges that are not finite.
  if (!(high - low <= MostDepthLabels))
    return;
  TAxisLabelSpacing gate = LabelGate();
  const int y = m_chart.PlotRect().Bottom;
  for (double i = low; i <= high; ++i) {
    const int p = m_axis.PositionOf(max - i - 0.5);
    if (!m_axis.m_tickOnLabelsOnly)
      DrawTicksAndGrid(p);
    if (!m_axis.m_labels)
      continue;
    const int depthIndex = static_cast<int>(i);
    std::string text = m_chart.SeriesTitleAtDepth(depthIndex);
    if (m_chart.OnGetAxisLabel)
      CallOut([&] { m_chart.OnGetAxisLabel(&m_axis, nullptr, depthIndex, text); });
    if (gate.Accept(m_axis.TextBoxAt(m_axis.m_labelsPos, y, p, text), text))
      DrawLabel(p, text);
  }
}

TAxisLabelSpacing TAxisPainter::LabelGate() const {
  TAxisLabelSpacing gate(m_axis.IsHorizontal() && !m_axis.IsDepth(), m_axis.m_labelsSeparation);
  gate.KeepTextsDistinct();
  // Outside a drawing of the chart (an axis drawn on its own) there are no bounds.
  if (!m_chart.PanelBounds().IsEmpty())
    gate.KeepInside(m_chart.PanelBounds());
  return gate;
}

// ---- ticks, grid and line ------------------------------------------------------------------

void TAxisPainter::Step(int p, const std::string *text, bool labelDrawn) {
  if (!m_axis.m_tickOnLabelsOnly || labelDrawn)
    DrawTicksAndGrid(p);
  if (text != nullptr && m_axis.m_labels && labelDrawn)
    DrawLabel(p, *text);
}

bool TAxisPainter::SelectPen(const TChartPen &pen) {
  if (!pen.Visible())
    return false;
  m_canvas.AssignChartPen(pen);
  return true;
}

void TAxisPainter::AcrossLine(int p, int fromOffset, int toOffset) {
  const int pos = m_axis.m_axisLinePos;
  const int a = MoveOutwards(pos, m_side, fromOffset);
  const int b = MoveOutwards(pos, m_side, toOffset);
  if (m_axis.IsDepth())
    m_canvas.HorizLineAtDepth(a, b, m_chart.PlotRect().Bottom, p);
  else if (m_axis.IsHorizontal())
    m_canvas.VertLineAtDepth(p, a, b, m_z);
  else
    m_canvas.HorizLineAtDepth(a, b, p, m_z);
}

void TAxisPainter::DrawTicksAndGrid(int p) {
  if (m_axis.m_tickLength != 0 && SelectPen(m_axis.m_ticks))
    AcrossLine(p, m_axis.m_tickLength, 0);
  const bool centred = m_axis.m_gridCentered && m_hasPrevious;
  DrawGrid(centred ? static_cast<int>((static_cast<long long>(p) + m_previousTick) / 2) : p);
  if (m_axis.m_tickInnerLength != 0 && SelectPen(m_axis.m_ticksInner))
    AcrossLine(p, -m_axis.m_tickInnerLength, 0);
  const int count = m_axis.m_minorTickCount;
  if (m_hasPrevious && !m_axis.Logarithmic() && count > 0 && SelectPen(m_axis.m_minorTicks)) {
    const double gap = (static_cast<double>(p) - m_previousTick) / (count + 1);
    for (int k = 1; k <= count; ++k)
      AcrossLine(PixelRound(m_previousTick + k * gap), m_axis.m_minorTickLength, 0);
  }
  m_previousTick = p;
  m_hasPrevious = true;
}

void TAxisPainter::DrawGrid(int p) {
  const TDottedGrayPen &grid = m_axis.m_grid;
  if (!SelectPen(grid))
    return;
  TPen &pen = m_canvas.Pen();
  if (grid.Color() == clTeeColor)
    pen.Color = clGray;
  AdjustPenForPrinting(m_chart.Printing(), pen);
  m_canvas.Brush().Style = bsClear;
  m_canvas.SetBackMode(TRANSPARENT);
  const TRect &plot = m_chart.PlotRect();
  const int depth = m_chart.DepthWidth();
  if (m_axis.IsDepth()) {
    m_canvas.VertLineAtDepth(plot.Left, plot.Top, plot.Bottom, p);
    m_canvas.HorizLineAtDepth(plot.Left, plot.Right, plot.Bottom, p);
    return;
  }
  const bool horizontal = m_axis.IsHorizontal();
  if (!m_chart.View3D()) {
    if (horizontal)
      m_canvas.VertLine(p, plot.Top, plot.Bottom);
    else
      m_canvas.HorizLine(plot.Left, plot.Right, p);
    return;
  }
  int z = depth;
  if (!m_axis.IsOppositeSide()) {
    if (AxisPanelSwitches().AxisBehind) {
      // Along the wall to the back, then across the back wall.
      if (horizontal)
        m_canvas.DepthLine(p, plot.Bottom, depth, 0);
      else
        m_canvas.DepthLine(plot.Left, p, depth, 0);
    } else {
      z = 0;
    }
  }
  if (horizontal)
    m_canvas.VertLineAtDepth(p, plot.Top, plot.Bottom, z);
  else
    m_canvas.HorizLineAtDepth(plot.Left, plot.Right, p, z);
}

void TAxisPainter::DrawAxisLine() {
  if (!SelectPen(m_axis.m_axisPen))
    return;
  const int pos = m_axis.m_axisLinePos;
  if (m_axis.IsDepth())
    m_canvas.DepthLine(pos, m_chart.PlotRect().Bottom, 0, m_chart.DepthWidth());
  else if (m_axis.IsHorizontal())
    m_canvas.HorizLineAtDepth(m_axis.StartPixel(), m_axis.EndPixel(), pos, m_z);
  else
    m_canvas.VertLineAtDepth(pos, m_axis.StartPixel(), m_axis.EndPixel(), m_z);
}
