#include "chartengine/series/FastLineSeries.h"

#include "chartengine/canvas/ChartBrushRoutines.h"
#include "chartengine/canvas/ChartGeometry.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/AxisScale.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/FastLineColumns.h"
#include "chartengine/series/FastLinePath.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <typeinfo>

const TChartComponentClass &TFastLineSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TFastLineSeries", &TChartSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TFastLineSeries>(owner));
      });
  return cls;
}

TFastLineSeries::TFastLineSeries(TChartComponent *owner)
    : TChartSeries(owner), m_linePen(std::make_unique<TChartPen>([this] { StyleChanged(); })) {
  // A line needs two points; and it runs on to the first point past the
  // visible end instead of stopping inside the plot.
  SinglePointResults = false;
  KeepTrailingPoint = true;
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::Assign(TChartSeries &source) {
  if (auto *s = dynamic_cast<TFastLineSeries *>(&source); s != nullptr && s != this) {
    AutoRepaint = s->AutoRepaint;
    m_linePen->Assign(*s->m_linePen);
  }
  TChartSeries::Assign(source);
}

void TFastLineSeries::SetSeriesColor(TColor value) {
  TChartSeries::SetSeriesColor(value);
  m_linePen->SetColor(value);
}

void TFastLineSeries::SetLinePen(const TChartPen &value) {
  m_linePen->Assign(value);
  SetSeriesColor(m_linePen->Color());
}

// ---- drawing ----------------------------------------------------------------------

void TFastLineSeries::PrepareCanvas() {
  TCustomAxisPanel *chart = ParentChart();
  TChartCanvas3D &canvas = chart->Canvas();
  canvas.AssignChartPen(*m_linePen);
  // The series colour wins over a colour stored in the pen.
  canvas.Pen().Color = SeriesColor();
  AdjustPenForPrinting(chart->Printing(), canvas.Pen());
  canvas.Brush().Style = bsClear;
}

void TFastLineSeries::DrawAllPoints() {
  if (ParentChart() == nullptr)
    return;
  PrepareCanvas();
  if (CanDrawReduced())
    DrawReduced();
  else
    TChartSeries::DrawAllPoints();
}

bool TFastLineSeries::CanDrawReduced() const {
  const TPen &pen = ParentChart()->Canvas().GetHandle()->Pen();
  return pen.Style == psSolid && pen.Width <= 1 && pen.Mode == pmCopy &&
         FirstVisibleIndex() >= 0 && LastVisibleIndex() >= FirstVisibleIndex();
}

void TFastLineSeries::DrawReduced() {
  TCustomAxisPanel *chart = ParentChart();
  TChartCanvas3D &canvas = chart->Canvas();
  const TProjection3D &projection = canvas.Projection();
  const bool is3D = chart->View3D();
  const int z = MidDepth();
  const int first = FirstVisibleIndex();
  const int last = LastVisibleIndex();
  // A derived series may place its points elsewhere: it is asked per point.
  const TCustomChartAxis *horizAxis = HorizAxisObject();
  const TCustomChartAxis *vertAxis = VertAxisObject();
  const bool plain = typeid(*this) == typeid(TFastLineSeries) && last < XValues().Count() &&
                     last < YValues().Count() && horizAxis != nullptr && vertAxis != nullptr &&
                     !horizAxis->IsDepth() && !vertAxis->IsDepth();
  std::optional<TAxisPixelMap> toX, toY;
  if (plain) {
    toX.emplace(horizAxis->Scale().Pixels(true));
    toY.emplace(vertAxis->Scale().Pixels(false));
  }
  // Value(t) is the stored value times Multiplier; read in place.
  const double *xs = XValues().RawValues();
  const double *ys = YValues().RawValues();
  const double mx = XValues().Multiplier();
  const double my = YValues().Multiplier();
  const auto screen = [&](int t) {
    return plain ? TPoint((*toX)(xs[t] * mx), (*toY)(ys[t] * my))
                 : TPoint(PointScreenX(t), PointScreenY(t));
  };
  const auto isPoint = [&](int t) {
    return plain ? std::isfinite(xs[t] * mx) && std::isfinite(ys[t] * my) : IsPoint(t);
  };
  const int from = first >= 1 ? first - 1 : first;
  // The oblique view moves every point of one column alike and keeps the
  // order of heights: columns are cut before projecting, and only what is
  // kept is projected. The path's last column is cut on the screen, where
  // its end pixel is decided. Turned views project every point.
  const bool cutFirst = !is3D || projection.Orthogonal() || !projection.Is3D();
  const auto project = [&](const TPoint &q) {
    return is3D ? projection.Project(q.X, q.Y, z) : q;
  };
  int lastColumn = last;
  TPoint p = screen(last);
  if (cutFirst)
    while (lastColumn > from && screen(lastColumn - 1).X == p.X)
      --lastColumn;
  // Points that are no points (x or y not finite) break the path: it is
  // one pen path per stretch between them, as drawing point by point gives.
  m_path.clear();
  m_starts.clear();
  bool joined = false;
  if (cutFirst && lastColumn > from) {
    TFastLinePath columns(m_cut);
    if (plain && toX->Linear() && toY->Linear())
      FoldColumns({xs, ys, mx, my}, from, lastColumn, *toX, *toY, columns);
    else
      for (int t = from; t < lastColumn; ++t)
        if (isPoint(t))
          columns.Add(screen(t));
        else
          columns.Break();
    columns.Finish(false);
    for (const TPoint &q : m_cut)
      m_path.push_back(project(q));
    m_starts = columns.Starts();
    joined = !m_path.empty() && !columns.Broken();
  } else {
    lastColumn = from;
  }
  TFastLinePath tail(m_cut);
  if (joined)
    tail.Add(m_path.back());
  for (int t = lastColumn; t <= last; ++t)
    if (isPoint(t))
      tail.Add(project(screen(t)));
    else
      tail.Break();
  tail.Finish(true);
  // The tail's first point is the columns' last one when it goes on from it.
  const std::size_t skip = joined && !m_cut.empty() ? 1 : 0;
  const std::size_t offset = m_path.size() - skip;
  for (std::size_t start : tail.Starts())
    if (start >= skip)
      m_starts.push_back(start + offset);
  m_path.insert(m_path.end(), m_cut.begin() + static_cast<std::ptrdiff_t>(skip), m_cut.end());
  m_starts.push_back(m_path.size());
  TCanvas *target = canvas.GetHandle();
  std::size_t begin = 0;
  for (std::size_t end : m_starts) {
    if (end > begin) {
      target->MoveTo(m_path[begin].X, m_path[begin].Y);
      target->PolylineTo(std::span<const TPoint>(m_path).subspan(begin + 1, end - begin - 1));
    }
    begin = end;
  }
  m_lastX = p.X;
  m_lastY = p.Y;
  m_penPosition = target->PenPos();
}

void TFastLineSeries::DrawPoint(int valueIndex) {
  TCustomAxisPanel *chart = ParentChart();
  // Points before the visible range would join a stale pen position.
  if (chart == nullptr || valueIndex < FirstVisibleIndex())
    return;
  TChartCanvas3D &canvas = chart->Canvas();
  const bool is3D = chart->View3D();
  const int z = MidDepth();
  // A point that is no point (x or y not finite) leaves a gap: no segment
  // ends or starts at it.
  if (!IsPoint(valueIndex))
    return;
  const int x = PointScreenX(valueIndex);
  const int y = PointScreenY(valueIndex);
  if (valueIndex != FirstVisibleIndex() && valueIndex >= 1 && !IsPoint(valueIndex - 1)) {
    // The line starts again after a gap.
    PrepareCanvas();
    if (is3D)
      canvas.MoveToAtDepth(x, y, z);
    else
      canvas.MoveTo(x, y);
  } else if (valueIndex != FirstVisibleIndex()) {
    // A point on the pixel drawn last adds nothing.
    if (x == m_lastX && y == m_lastY)
      return;
    // Series drawn point by point together with others (one depth in 3-D)
    // find the pen moved and changed: it is taken up again where it was.
    if (canvas.GetHandle()->PenPos() != m_penPosition) {
      PrepareCanvas();
      if (is3D)
        canvas.MoveToAtDepth(m_lastX, m_lastY, z);
      else
        canvas.MoveTo(m_lastX, m_lastY);
    }
    if (is3D)
      canvas.LineToAtDepth(x, y, z);
    else
      canvas.LineTo(x, y);
  } else {
    // The line starts here; the pen is taken up also when the chart draws
    // this series point by point together with others.
    PrepareCanvas();
    if (valueIndex >= 1 && IsPoint(valueIndex - 1)) {
      // The line comes in from the point before the visible range.
      const int px = PointScreenX(valueIndex - 1);
      const int py = PointScreenY(valueIndex - 1);
      if (is3D)
        canvas.LineAtDepth(px, py, x, y, z);
      else
        canvas.Line(px, py, x, y);
    } else if (is3D) {
      canvas.MoveToAtDepth(x, y, z);
    } else {
      canvas.MoveTo(x, y);
    }
  }
  m_lastX = x;
  m_lastY = y;
  m_penPosition = canvas.GetHandle()->PenPos();
}

void TFastLineSeries::PointAdded(int valueIndex) {
  if (AutoRepaint) {
    TChartSeries::PointAdded(valueIndex);
    return;
  }
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr || !Active())
    return;
  TChartCanvas3D &canvas = chart->Canvas();
  // Between two paints the segment goes into the picture the window shows
  // (a stale picture is drawn anew anyway); during a drawing, or without a
  // picture, onto the canvas' present target.
  TCanvas *const target = canvas.TargetCanvas();
  TCanvas *const picture = !chart->Drawing() && chart->BufferedDisplay() && !canvas.BufferStale()
                               ? canvas.BufferCanvas()
                               : nullptr;
  if (picture == nullptr && !chart->Drawing() && chart->BufferedDisplay())
    return;
  if (picture != nullptr) {
    canvas.SetTargetCanvas(picture);
    if (chart->ClipPoints() && chart->CanClip()) {
      if (chart->View3D())
        canvas.ClipToBox(chart->PlotRect(), 0, chart->DepthWidth());
      else
        canvas.ClipToRect(chart->PlotRect());
    }
  }
  PrepareCanvas();
  const int previous = valueIndex > 0 ? valueIndex - 1 : 0;
  const int px = PointScreenX(previous);
  const int py = PointScreenY(previous);
  if (chart->View3D())
    canvas.MoveToAtDepth(px, py, MidDepth());
  else
    canvas.MoveTo(px, py);
  m_penPosition = canvas.GetHandle()->PenPos();
  DrawPoint(valueIndex);
  if (picture != nullptr) {
    canvas.ClearClip();
    canvas.SetTargetCanvas(target);
    // Shows the picture again; no new drawing of the chart.
    chart->update();
  } else if (!chart->Drawing()) {
    // Without a picture the window draws the whole chart when it paints.
    chart->update();
  }
}

void TFastLineSeries::DrawPointMark(int valueIndex, const std::string &text,
                                    TSeriesMarkPosition &position) {
  const int lift = Marks().ArrowLength();
  position.ArrowEnd.Y -= lift;
  position.TopLeftCorner.Y -= lift;
  TChartSeries::DrawPointMark(valueIndex, text, position);
}

void TFastLineSeries::DrawLegendFigure(int, const TRect &rect) {
  if (ParentChart() == nullptr)
    return;
  PrepareCanvas();
  ParentChart()->Canvas().HorizLine(
      rect.Left, rect.Right,
      static_cast<int>((static_cast<long long>(rect.Top) + rect.Bottom) / 2));
}

bool TFastLineSeries::IsPoint(int valueIndex) {
  return std::isfinite(PointX(valueIndex)) && std::isfinite(PointY(valueIndex));
}

// ---- clicks -----------------------------------------------------------------------

int TFastLineSeries::PointAtPosition(int x, int y) {
  const int first = FirstVisibleIndex();
  const int last = LastVisibleIndex();
  if (first < 0 || last < 0)
    return -1;
  if (ParentChart() != nullptr)
    ParentChart()->Canvas().UnprojectPoint(x, y, MidDepth());
  const TPoint click(x, y);
  TPoint previous;
  // No point is hit, nor a segment joined, where x or y is not finite.
  bool hasPrevious = false;
  for (int t = first; t <= last; ++t) {
    if (!IsPoint(t)) {
      hasPrevious = false;
      continue;
    }
    const TPoint point(PointScreenX(t), PointScreenY(t));
    if (point == click)
      return t;
    if (hasPrevious && IsOnSegment(click, point.X, point.Y, previous.X, previous.Y))
      return t - 1;
    previous = point;
    hasPrevious = true;
  }
  return -1;
}

void RegisterFastLineSeriesType() {
  RegisterSeriesType(&TFastLineSeries::StaticClass(), ChartText(ctSeriesFastLine),
                     ChartText(ctGalleryStandard), 2);
}
