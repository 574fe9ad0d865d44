// The drawing of a chart in its fixed order: background, titles and legend,
// layout of axes and depths, walls, axes and series.
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/ChartWalks.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"

#include <algorithm>
#include <limits>

namespace {
int ClampToInt(long long v) {
  return static_cast<int>(
      std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace

TCustomAxisPanel::TSeriesWalk::TSeriesWalk(TCustomAxisPanel &panel)
    : Series(panel.m_series), m_panel(panel) {
  m_panel.m_walks.push_back(this);
}

TCustomAxisPanel::TSeriesWalk::~TSeriesWalk() { std::erase(m_panel.m_walks, this); }

TChartSeries *TCustomAxisPanel::TSeriesWalk::WithPoint(std::size_t place, int index) const {
  TChartSeries *s = Series[place];
  return s != nullptr && index >= 0 && s->Count() > index ? s : nullptr;
}

void TCustomAxisPanel::DrawContents(const TRect &bounds) {
  // A handler that frees, removes or empties a series while the chart is
  // laid out or drawn starts the drawing over on what is left.
  const TRect plot = PlotRect();
  RunWalk([&] { DrawContentsOnce(bounds); },
          [&] {
            Canvas().ClearClip();
            Canvas().ResetToDefaults();
            SetPlotRect(plot);
            RecalcPlotRect();
          });
  Canvas().ClearClip();
  Canvas().ResetToDefaults();
}

void TCustomAxisPanel::DrawContentsOnce(const TRect &bounds) {
  PaintPanel(bounds);
  {
    TSeriesWalk walk(*this);
    for (TChartSeries *&s : walk.Series)
      if (s != nullptr && s->Active())
        s->FireBeforeDrawChart();
  }
  PaintTitlesAndLegend();
  CalcDepthOrder();
  LayoutAxes();
  CalcSeriesDepths();
  LayoutSeriesMargins();
  Canvas().SetProjectionCentre(DepthWidth(), PlotRect());
  PaintWalls();
  const bool behind = AxisPanelSwitches().AxisBehind;
  if (m_axisVisible && behind)
    DrawAxes();
  if (OnBeforeDrawSeries)
    CallOutBetweenSteps(OnBeforeDrawSeries);
  DrawAllSeries();
  if (m_axisVisible && !behind)
    DrawAxes();
  if (ZoomRecord().Active)
    ToggleZoomFrame();
  Canvas().ResetToDefaults();
  if (OnAfterDraw)
    CallOutBetweenSteps(OnAfterDraw);
}

// ---- layout -------------------------------------------------------------------------

void TCustomAxisPanel::LayoutAxes() {
  FitAxesToSeries();
  CalcDepthSizes();
  RecalcPlotRect();
  ReserveAxesRoom();
}

void TCustomAxisPanel::FitAxesToSeries() {
  for (TCustomChartAxis *axis : m_axes)
    axis->FitRangeToSeries();
}

void TCustomAxisPanel::CalcDepthSizes() {
  if (!View3D()) {
    m_depthOffsetX = m_depthOffsetY = 0;
    SetDepthWidth(0);
    SetDepthHeight(0);
    return;
  }
  double w = Chart3DPercent() * 0.001;
  if (!View3DOptions().Orthogonal())
    w *= 2;
  m_depthOffsetX = m_depthOffsetY = PixelRound(PlotWidth() * w);
  const long long n = DepthRows() ? std::max(1LL, static_cast<long long>(m_deepestIndex) + 1) : 1;
  SetDepthWidth(ClampToInt(m_depthOffsetX * n));
  SetDepthHeight(ClampToInt(m_depthOffsetY * n));
}

void TCustomAxisPanel::ReserveAxesRoom() {
  // The room of the labels depends on their step and the step on the span:
  // the spans are worked out before any room is measured, first from the
  // plot before the axes, then again from the plot they leave. Each drawing
  // so lays out alike, the first one and one after a resize included.
  const TRect start = PlotRect();
  for (TCustomChartAxis *axis : m_axes)
    axis->ComputePixelSpan();
  for (int pass = 0; pass < 2; ++pass) {
    SetPlotRect(start);
    RecalcPlotRect();
    for (std::size_t t = 0; t < m_axes.size(); ++t) {
      TCustomChartAxis *axis = m_axes[t];
      if (!IsAxisVisible(axis))
        continue;
      TRect room = PlotRect();
      // The five standard axes take their room; further axes only place themselves.
      axis->CalcRect(room, t < 5);
      if (!IntersectRect(room, PlotRect()).IsEmpty()) {
        SetPlotRect(room);
      } else {
        // Room the plot cannot give: the axis stands outside the plot as it
        // is, not over it.
        room = PlotRect();
        axis->CalcRect(room, false);
      }
    }
    RecalcPlotRect();
    KeepEndLabelsInside();
    for (TCustomChartAxis *axis : m_axes)
      axis->ComputePixelSpan();
  }
}

void TCustomAxisPanel::KeepEndLabelsInside() {
  TRect plot = PlotRect();
  const TRect bounds = AxisLabelsBounds();
  for (TCustomChartAxis *axis : m_axes) {
    // Labels at the back of a 3-D view stand beside the depth the plot left.
    if (!IsAxisVisible(axis) || axis->IsDepth() || (axis->IsOppositeSide() && View3D()))
      continue;
    int before = 0, after = 0;
    axis->EndLabelsReach(before, after);
    if (axis->IsHorizontal()) {
      plot.Left = std::max(plot.Left, PixelAdd(bounds.Left, before));
      plot.Right = std::min(plot.Right, PixelAdd(bounds.Right, -static_cast<long long>(after)));
    } else {
      plot.Top = std::max(plot.Top, PixelAdd(bounds.Top, before));
      plot.Bottom = std::min(plot.Bottom, PixelAdd(bounds.Bottom, -static_cast<long long>(after)));
    }
  }
  // Labels too wide for the panel are better cut than the plot gone.
  if (plot.Width() > 0 && plot.Height() > 0 && plot != PlotRect()) {
    SetPlotRect(plot);
    RecalcPlotRect();
  }
}

void TCustomAxisPanel::LayoutSeriesMargins() {
  for (TCustomChartAxis *axis : {TopAxis(), LeftAxis(), RightAxis(), BottomAxis()}) {
    if (axis == nullptr)
      continue;
    TRect margins;
    const bool horizontal = axis->IsHorizontal();
    for (TChartSeries *s : m_series) {
      if (!s->Active() || !s->IsOnAxis(axis))
        continue;
      int a = 0, b = 0;
      if (horizontal) {
        s->HorizMarginsNeeded(a, b);
        margins.Left = std::max(margins.Left, a);
        margins.Right = std::max(margins.Right, b);
      } else {
        s->VertMarginsNeeded(a, b);
        margins.Top = std::max(margins.Top, a);
        margins.Bottom = std::max(margins.Bottom, b);
      }
    }
    // Only automatic ends make room.
    if (horizontal) {
      if (!axis->AutomaticMinimum())
        margins.Left = 0;
      if (!axis->AutomaticMaximum())
        margins.Right = 0;
    } else {
      if (!axis->AutomaticMaximum())
        margins.Top = 0;
      if (!axis->AutomaticMinimum())
        margins.Bottom = 0;
    }
    if (margins != TRect())
      axis->FitRangeToRect(margins);
  }
}

// ---- depths -------------------------------------------------------------------------

void TCustomAxisPanel::CalcDepthOrder() {
  m_deepestIndex = 0;
  if (View3D() && DepthRows()) {
    m_deepestIndex = -1;
    for (TChartSeries *s : m_series)
      if (s->Active())
        s->AssignDepthIndex();
  }
}

void TCustomAxisPanel::CalcSeriesDepths() {
  for (TChartSeries *s : m_series) {
    if (!s->Active())
      continue;
    const long long depth =
        View3D() && DepthRows() ? static_cast<long long>(m_deepestIndex) - s->DepthIndex() : 0;
    const int front = ClampToInt(m_depthOffsetX * depth);
    const int back = PixelAdd(front, m_depthOffsetX);
    s->SetDepths(front, ClampToInt((static_cast<long long>(front) + back) / 2), back);
  }
}

// ---- axes and series ---------------------------------------------------------------

void TCustomAxisPanel::DrawAxes() {
  if (OnBeforeDrawAxes)
    CallOutBetweenSteps(OnBeforeDrawAxes);
  for (TCustomChartAxis *axis : std::vector<TCustomChartAxis *>(m_axes))
    if (IsAxisVisible(axis))
      axis->DrawAxis(true);
}

void TCustomAxisPanel::ClipToPlot() { Canvas().ClipToBox(PlotRect(), 0, DepthWidth()); }

void TCustomAxisPanel::DrawMarksOf(TChartSeries *series) {
  if (!series->Marks().Visible())
    return;
  const bool clip = series->Marks().Clip() && CanClip();
  if (clip)
    ClipToPlot();
  series->DrawAllMarks();
  if (clip)
    Canvas().ClearClip();
}

void TCustomAxisPanel::DrawAllSeries() {
  TSeriesWalk walk(*this);
  const std::vector<TChartSeries *> &list = walk.Series;
  std::vector<bool> done(list.size(), false);
  for (std::size_t t = 0; t < list.size(); ++t) {
    TChartSeries *s = list[t];
    if (s == nullptr || done[t] || !s->Active())
      continue;
    if (View3D() && s->SharesDepthWithOthers()) {
      std::vector<std::size_t> group;
      for (std::size_t u = t; u < list.size(); ++u)
        if (list[u] != nullptr && !done[u] && list[u]->Active() &&
            list[u]->DepthIndex() == s->DepthIndex()) {
          group.push_back(u);
          done[u] = true;
        }
      DrawSeriesSharingDepth(walk, group);
    } else {
      DrawSeries(walk, t);
    }
  }
}

void TCustomAxisPanel::DrawSeries(TSeriesWalk &walk, std::size_t index) {
  TChartSeries *series = walk.Series[index];
  series->FindVisibleRange();
  if (series->FirstVisibleIndex() == -1)
    return;
  series->FireBeforeDrawValues();
  // Its own handler may have taken the series away, or changed its points.
  if (walk.Series[index] == nullptr)
    return;
  series->FindVisibleRange();
  if (series->FirstVisibleIndex() != -1) {
    const bool clip = m_clipPoints && CanClip();
    if (clip)
      ClipToPlot();
    series->DrawAllPoints();
    if (clip)
      Canvas().ClearClip();
    DrawMarksOf(series);
  }
  if (walk.Series[index] != nullptr)
    series->FireAfterDrawValues();
}

void TCustomAxisPanel::DrawSeriesSharingDepth(TSeriesWalk &walk,
                                              const std::vector<std::size_t> &group) {
  const std::vector<TChartSeries *> &list = walk.Series;
  const bool clip = m_clipPoints && CanClip();
  bool clipped = false;
  int first = -1, last = -1;
  for (std::size_t u : group) {
    if (list[u] == nullptr)
      continue;
    list[u]->FindVisibleRange();
    if (clip && !clipped) {
      ClipToPlot();
      clipped = true;
    }
    list[u]->FireBeforeDrawValues();
    TChartSeries *s = list[u];
    if (s != nullptr)
      s->FindVisibleRange();
    if (s != nullptr && s->FirstVisibleIndex() != -1) {
      // From the smallest first index: no series loses its first points.
      first = first == -1 ? s->FirstVisibleIndex() : std::min(first, s->FirstVisibleIndex());
      last = std::max(last, s->LastVisibleIndex());
    }
  }
  TChartSeries *lead = nullptr;
  for (std::size_t u : group)
    if (lead == nullptr)
      lead = list[u];
  if (first != -1 && lead != nullptr) {
    const bool forward = lead->PointsDrawForward();
    const int step = forward ? 1 : -1;
    for (int index = forward ? first : last; forward ? index <= last : index >= first;
         index += step) {
      const bool reverse = lead->Count() > index && !lead->SeriesDrawsForward(index);
      const std::size_t n = group.size();
      for (std::size_t k = 0; k < n; ++k) {
        TChartSeries *s = list[group[reverse ? n - 1 - k : k]];
        if (s != nullptr && s->Count() > index)
          s->DrawPoint(index);
      }
    }
  }
  if (clipped)
    Canvas().ClearClip();
  for (std::size_t u : group) {
    if (list[u] == nullptr || list[u]->FirstVisibleIndex() == -1)
      continue;
    DrawMarksOf(list[u]);
    if (list[u] != nullptr)
      list[u]->FireAfterDrawValues();
  }
}
