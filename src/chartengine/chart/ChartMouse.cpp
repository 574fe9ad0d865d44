// Mouse input of the chart control: clicks on its parts, zooming with a
// rubber-band frame, panning, series cursors, and the saved axis ranges.
#include "chartengine/canvas/ChartCursors.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "platform/UncaughtError.h"

#include <QMouseEvent>
#include <cmath>
#include <cstdlib>
#include <exception>

namespace {
bool ButtonOf(const QMouseEvent &e, TMouseButton &button) {
  switch (e.button()) {
  case Qt::LeftButton:
    button = mbLeft;
    return true;
  case Qt::RightButton:
    button = mbRight;
    return true;
  case Qt::MiddleButton:
    button = mbMiddle;
    return true;
  default:
    return false;
  }
}

bool HasAll(TShiftState shift, TShiftState wanted) { return (shift & wanted) == wanted; }
} // namespace

// ---- Qt events ----------------------------------------------------------------------

template <typename Fn> void TCustomChart::Guarded(const char *where, Fn &&fn) {
  try {
    fn();
  } catch (const std::exception &e) {
    ReportUncaughtError(std::string("TCustomChart.") + where + " Error: " + e.what());
  } catch (...) {
    ReportUncaughtError(std::string("TCustomChart.") + where + " Error: unknown exception");
  }
}

void TCustomChart::mousePressEvent(QMouseEvent *event) {
  TMouseButton button;
  if (!ButtonOf(*event, button))
    return;
  const QPoint p = event->position().toPoint();
  Guarded("MouseDown", [&] { MouseDown(button, ShiftStateOf(*event), p.x(), p.y()); });
}

void TCustomChart::mouseDoubleClickEvent(QMouseEvent *event) {
  TMouseButton button;
  if (!ButtonOf(*event, button))
    return;
  const QPoint p = event->position().toPoint();
  Guarded("MouseDown", [&] { MouseDown(button, ShiftStateOf(*event) | ssDouble, p.x(), p.y()); });
}

void TCustomChart::mouseMoveEvent(QMouseEvent *event) {
  const QPoint p = event->position().toPoint();
  Guarded("MouseMove", [&] { MouseMove(ShiftStateOf(*event), p.x(), p.y()); });
}

void TCustomChart::mouseReleaseEvent(QMouseEvent *event) {
  TMouseButton button;
  if (!ButtonOf(*event, button))
    return;
  const QPoint p = event->position().toPoint();
  Guarded("MouseUp", [&] { MouseUp(button, ShiftStateOf(*event), p.x(), p.y()); });
}

// ---- clicks -------------------------------------------------------------------------

bool TCustomChart::FireClick(const std::function<void()> &fire) {
  // A handler that clears the flag lets the default action go on.
  SetCancelMouse(true);
  fire();
  return CancelMouse();
}

bool TCustomChart::BackgroundClick(TMouseButton button, TShiftState shift, int x, int y) {
  if (!OnClickBackground)
    return false;
  return FireClick([&] { OnClickBackground(this, button, shift, x, y); });
}

bool TCustomChart::StartZoomOrPan(TMouseButton button, TShiftState shift, int x, int y) {
  const TChartMouseSettings &settings = ChartMouseSettings();
  bool handled = false;
  if (AllowZoom() && button == settings.ZoomButton && HasAll(shift, settings.ZoomShift)) {
    SetCursor(crDefault);
    ZoomRecord() = TZoomPanningRecord{true, x, y, x, y};
    ToggleZoomFrame();
    handled = true;
  }
  if (AllowPanning() != pmNone && button == settings.PanButton &&
      HasAll(shift, settings.PanShift)) {
    SetCursor(crDefault);
    PanningRecord() = TZoomPanningRecord{true, x, y, x, y};
    handled = true;
  }
  return handled;
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown)
    OnMouseDown(button, shift, x, y);
  if (ZoomRecord().Active || PanningRecord().Active)
    return;
  if (CancelMouse()) {
    SetCancelMouse(false);
    return;
  }
  const ChartHit hit = HitTest(x, y);
  bool handled = false;
  switch (hit.HitKind) {
  case LegendPart:
    if (OnClickLegend)
      handled = FireClick([&] { OnClickLegend(this, button, shift, x, y); });
    break;
  case AxisPart:
    if (OnClickAxis)
      handled = FireClick([&] { OnClickAxis(this, hit.HitAxis, button, shift, x, y); });
    if (!handled)
      handled = StartZoomOrPan(button, shift, x, y);
    break;
  case SeriesPart: {
    // The series' own handler may free it: the chart's handler then hears nothing of it.
    const std::shared_ptr<const bool> alive = hit.HitSeries->LifeToken();
    handled = hit.HitSeries->FireSeriesClick(hit.HitIndex, button, shift, x, y);
    if (OnClickSeries && *alive)
      handled =
          FireClick([&] { OnClickSeries(this, hit.HitSeries, hit.HitIndex, button, shift, x, y); });
    if (!handled)
      handled = StartZoomOrPan(button, shift, x, y);
    break;
  }
  case PlotPart:
    handled = BackgroundClick(button, shift, x, y);
    if (!handled)
      handled = StartZoomOrPan(button, shift, x, y);
    break;
  default:
    break;
  }
  // One background click per click: the plot already had its own.
  if (!handled && hit.HitKind != PlotPart)
    BackgroundClick(button, shift, x, y);
  SetCancelMouse(false);
}

// ---- moving -------------------------------------------------------------------------

void TCustomChart::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove)
    OnMouseMove(shift, x, y);
  TZoomPanningRecord &zoom = ZoomRecord();
  bool claimed = false;
  if (zoom.Active) {
    if (x != zoom.X1 || y != zoom.Y1) {
      ToggleZoomFrame();
      zoom.X1 = x;
      zoom.Y1 = y;
      ToggleZoomFrame();
    }
  } else if (PanningRecord().Active) {
    PanMove(x, y);
  } else {
    for (int t = 0; t < SeriesCount(); ++t) {
      TChartSeries *s = GetSeries(t);
      if (s->Active() && s->Cursor() != crDefault && s->PointAtPosition(x, y) != -1) {
        SetCursor(s->Cursor());
        claimed = true;
        break;
      }
    }
    std::vector<TChartSeries *> list;
    GetChildren([&](TChartSeries *s) { list.push_back(s); });
    for (TChartSeries *s : list)
      s->SeriesMouseMove(shift, x, y);
  }
  if (!claimed)
    RestoreCursor();
}

void TCustomChart::PanMove(int x, int y) {
  TZoomPanningRecord &pan = PanningRecord();
  if (!PlotRect().Contains(TPoint(x, y))) {
    pan.Active = false;
    return;
  }
  if (x == pan.X1 && y == pan.Y1)
    return;
  if (m_rangesNotSaved)
    SaveAxisRanges();
  m_axesMoved = false;
  PanAxes(true, x, pan.X1);
  PanAxes(false, y, pan.Y1);
  pan.X1 = x;
  pan.Y1 = y;
  if (m_axesMoved) {
    if (OnScroll)
      OnScroll();
    RepaintChart();
  }
}

void TCustomChart::PanAxes(bool horizontal, int newPos, int oldPos) {
  if (newPos == oldPos)
    return;
  const TPanningMode mode = AllowPanning();
  if (mode != pmBoth && mode != (horizontal ? pmHorizontal : pmVertical))
    return;
  for (TCustomChartAxis *axis : std::vector<TCustomChartAxis *>(Axes())) {
    if (axis->IsDepth() || axis->IsHorizontal() != horizontal)
      continue;
    const double delta = axis->ScreenToValue(oldPos) - axis->ScreenToValue(newPos);
    double min = axis->Minimum() + delta;
    double max = axis->Maximum() + delta;
    bool allow = true;
    if (OnAllowScroll)
      OnAllowScroll(axis, min, max, allow);
    // A range too wide to pan (its values are not finite) stays put.
    if (allow && std::isfinite(min) && std::isfinite(max))
      axis->SetMinMax(min, max);
  }
  m_axesMoved = true;
}

// ---- releasing ----------------------------------------------------------------------

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp)
    OnMouseUp(button, shift, x, y);
  std::vector<TChartSeries *> list;
  GetChildren([&](TChartSeries *s) { list.push_back(s); });
  for (TChartSeries *s : list)
    s->SeriesMouseUp(button, shift, x, y);
  TZoomPanningRecord &zoom = ZoomRecord();
  const TChartMouseSettings &settings = ChartMouseSettings();
  if (zoom.Active && button == settings.ZoomButton) {
    zoom.Active = false;
    ToggleZoomFrame();
    zoom.X1 = x;
    zoom.Y1 = y;
    if (std::abs(zoom.X1 - zoom.X0) > settings.MinZoomDrag &&
        std::abs(zoom.Y1 - zoom.Y0) > settings.MinZoomDrag) {
      if (zoom.X1 > zoom.X0 && zoom.Y1 > zoom.Y0)
        ApplyZoomFrame();
      else
        ResetZoom();
    }
    RepaintChart();
  }
  PanningRecord().Active = false;
}

// ---- zoom ---------------------------------------------------------------------------

std::array<TCustomChartAxis *, 4> TCustomChart::ZoomAxes() const {
  return {TopAxis(), LeftAxis(), RightAxis(), BottomAxis()};
}

void TCustomChart::ApplyZoomFrame() {
  TZoomPanningRecord &zoom = ZoomRecord();
  if (zoom.X0 > zoom.X1)
    std::swap(zoom.X0, zoom.X1);
  if (zoom.Y0 > zoom.Y1)
    std::swap(zoom.Y0, zoom.Y1);
  const auto axes = ZoomAxes();
  TAxisZoomRanges targets;
  for (std::size_t t = 0; t < axes.size(); ++t) {
    TCustomChartAxis *axis = axes[t];
    if (axis == nullptr)
      continue;
    if (axis->IsHorizontal())
      targets[t] = {axis->ScreenToValue(zoom.X0), axis->ScreenToValue(zoom.X1)};
    else
      targets[t] = {axis->ScreenToValue(zoom.Y1), axis->ScreenToValue(zoom.Y0)};
  }
  ZoomToRanges(targets);
}

void TCustomChart::ZoomToRanges(const TAxisZoomRanges &targets) {
  if (m_rangesNotSaved)
    SaveAxisRanges();
  const auto axes = ZoomAxes();
  const int steps = AnimatedZoomSteps() - 1;
  if (AnimatedZoom() && steps > 0) {
    const double factor = ChartMouseSettings().AnimatedZoomFactor;
    for (int step = 0; step < steps; ++step) {
      for (std::size_t t = 0; t < axes.size(); ++t) {
        TCustomChartAxis *axis = axes[t];
        if (axis == nullptr || !std::isfinite(targets[t].Minimum) ||
            !std::isfinite(targets[t].Maximum))
          continue;
        const double min = axis->Minimum() + (targets[t].Minimum - axis->Minimum()) / factor;
        const double max = axis->Maximum() + (targets[t].Maximum - axis->Maximum()) / factor;
        axis->SetMinMax(min, max);
      }
      Invalidate();
      repaint();
    }
  }
  for (std::size_t t = 0; t < axes.size(); ++t)
    if (axes[t] != nullptr && std::isfinite(targets[t].Minimum) &&
        std::isfinite(targets[t].Maximum))
      axes[t]->SetMinMax(targets[t].Minimum, targets[t].Maximum);
  SetZoomed(true);
  if (OnZoom)
    OnZoom();
}

void TCustomChart::SaveAxisRanges() {
  const auto axes = ZoomAxes();
  for (std::size_t t = 0; t < axes.size(); ++t) {
    const TCustomChartAxis *axis = axes[t];
    if (axis == nullptr)
      continue;
    m_savedRanges[t] = TSavedAxisRange{axis->Automatic(), axis->AutomaticMinimum(),
                                       axis->AutomaticMaximum(), axis->Minimum(), axis->Maximum()};
  }
  m_rangesNotSaved = false;
}

void TCustomChart::RestoreAxisRanges() {
  if (m_rangesNotSaved)
    return;
  const auto axes = ZoomAxes();
  for (std::size_t t = 0; t < axes.size(); ++t) {
    TCustomChartAxis *axis = axes[t];
    if (axis == nullptr)
      continue;
    const TSavedAxisRange &saved = m_savedRanges[t];
    if (!saved.Automatic)
      axis->SetMinMax(saved.Minimum, saved.Maximum);
    axis->SetAutomatic(saved.Automatic);
    axis->SetAutomaticMinimum(saved.AutomaticMinimum);
    axis->SetAutomaticMaximum(saved.AutomaticMaximum);
  }
  m_rangesNotSaved = true;
}

void TCustomChart::ResetZoom() {
  RestoreAxisRanges();
  TCustomAxisPanel::ResetZoom();
}
