#include "chartengine/series/CustomSeries.h"

#include "chartengine/canvas/ChartBrushRoutines.h"
#include "chartengine/canvas/ChartGeometry.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/engine/ChartWalks.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {
// Screen coordinates a point may have and still be drawn (exclusive).
constexpr int MaxScreenCoordinate = 32767;
// How much steep parts and risers of a 3-D ribbon are darkened.
constexpr int RibbonDarkAmount = 64;
// The radius of the dot that stands for a lone point.
constexpr int LonePointRadius = 3;

bool OnScreen(int v) { return v > -MaxScreenCoordinate && v < MaxScreenCoordinate; }
} // namespace

const TChartComponentClass &TCustomSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TCustomSeries", &TChartSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TCustomSeries>(owner));
      });
  return cls;
}

TCustomSeries::TCustomSeries(TChartComponent *owner)
    : TChartSeries(owner), m_areaColor(clTeeColor),
      m_areaLinesPen(std::make_unique<TChartPen>([this] { StyleChanged(); })),
      m_linePen(std::make_unique<TChartPen>([this] { StyleChanged(); })),
      m_pointer(std::make_unique<TSeriesPointer>(this)), m_previousColor(clNone) {
  // A line runs on to the first point past the visible end.
  KeepTrailingPoint = true;
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::Assign(TChartSeries &source) {
  if (auto *s = dynamic_cast<TCustomSeries *>(&source); s != nullptr && s != this) {
    m_clickableLine = s->m_clickableLine;
    m_areaBrush = s->m_areaBrush;
    m_areaColor = s->m_areaColor;
    m_areaLinesPen->Assign(*s->m_areaLinesPen);
    m_dark3D = s->m_dark3D;
    m_drawArea = s->m_drawArea;
    m_lineVisible = s->m_lineVisible;
    m_invertedStairs = s->m_invertedStairs;
    m_linePen->Assign(*s->m_linePen);
    m_lineBrush = s->m_lineBrush;
    m_lineHeight = s->m_lineHeight;
    m_pointer->Assign(*s->m_pointer);
    m_stairs = s->m_stairs;
  }
  TChartSeries::Assign(source);
}

// ---- properties -------------------------------------------------------------------

namespace {
template <typename T> bool Changes(T &field, const T &value) {
  if (field == value)
    return false;
  field = value;
  return true;
}
} // namespace

void TCustomSeries::SetAreaBrush(TBrushStyle value) {
  if (Changes(m_areaBrush, value))
    Repaint();
}
void TCustomSeries::SetAreaColor(TColor value) {
  if (Changes(m_areaColor, value))
    Repaint();
}
void TCustomSeries::SetClickableLine(bool value) { m_clickableLine = value; }
void TCustomSeries::SetDark3D(bool value) {
  if (Changes(m_dark3D, value))
    Repaint();
}
void TCustomSeries::SetDrawArea(bool value) {
  if (Changes(m_drawArea, value))
    Repaint();
}
void TCustomSeries::SetLineVisible(bool value) {
  if (Changes(m_lineVisible, value))
    Repaint();
}
void TCustomSeries::SetInvertedStairs(bool value) {
  if (Changes(m_invertedStairs, value))
    Repaint();
}
void TCustomSeries::SetLineBrush(TBrushStyle value) {
  if (Changes(m_lineBrush, value))
    Repaint();
}
void TCustomSeries::SetLineHeight(int value) {
  if (Changes(m_lineHeight, value))
    Repaint();
}
void TCustomSeries::SetStairs(bool value) {
  if (Changes(m_stairs, value))
    Repaint();
}

// ---- helpers ----------------------------------------------------------------------

bool TCustomSeries::Is3DChart() const {
  return ParentChart() != nullptr && ParentChart()->View3D();
}

int TCustomSeries::VertAxisEndPixel() const {
  const TCustomChartAxis *axis = VertAxisObject();
  return axis != nullptr ? axis->EndPixel() : 0;
}

int TCustomSeries::OriginPosition(int) { return VertAxisEndPixel(); }

TColor TCustomSeries::AreaFillColor(TColor color) const {
  return ColorEachPoint() || m_areaColor == clTeeColor ? color : m_areaColor;
}

void TCustomSeries::DarkenBrush(TColor base) {
  TChartCanvas3D &canvas = ParentChart()->Canvas();
  if (canvas.Brush().Style == bsSolid)
    canvas.Brush().Color = DarkenColor(base, RibbonDarkAmount);
  else
    canvas.SetBackColor(DarkenColor(base, RibbonDarkAmount));
}

void TCustomSeries::DrawLonePoint(int x, int y, TColor color) {
  TChartCanvas3D &canvas = ParentChart()->Canvas();
  const int r = std::max(LonePointRadius, m_linePen->Width());
  canvas.Pen() = TPen{color, 1, psSolid};
  canvas.Brush() = TBrush{color, bsSolid, nullptr};
  if (Is3DChart())
    canvas.EllipseAtDepth(x - r, y - r, x + r + 1, y + r + 1, MidDepth());
  else
    canvas.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
}

void TCustomSeries::DrawPointerAt(int x, int y, TColor color, int valueIndex) {
  m_pointer->PrepareCanvas(color);
  const TSeriesPointerStyle style =
      OnGetPointerStyle ? CallOut([&] { return OnGetPointerStyle(this, valueIndex); })
                        : m_pointer->Style();
  m_pointer->Draw(x, y, color, style);
}

TCustomSeries::TScreenPoint TCustomSeries::EdgePoint(int valueIndex, int y) {
  const TCustomChartAxis *axis = HorizAxisObject();
  const TRect &plot = ParentChart()->PlotRect();
  const int edgeX = axis != nullptr && axis->Inverted() ? plot.Right : plot.Left;
  if (m_stairs || axis == nullptr)
    return {edgeX, y};
  const double x0 = PointX(valueIndex - 1);
  const double x1 = PointX(valueIndex);
  const double y0 = PointY(valueIndex - 1);
  const double y1 = PointY(valueIndex);
  // Two points at one X: the segment is vertical and meets the edge at the later one.
  if (x1 == x0)
    return {edgeX, y};
  const double edgeValue = axis->ScreenToValue(edgeX);
  return {edgeX, YValueToScreen(y0 + (edgeValue - x0) * (y1 - y0) / (x1 - x0))};
}

// ---- drawing ----------------------------------------------------------------------

void TCustomSeries::DrawAllPoints() {
  // What is looked at ahead holds for this drawing only, however it ends
  // (a handler that freed the series leaves nothing to undo).
  struct TSkipping {
    TCustomSeries &Series;
    bool &On;
    std::shared_ptr<const bool> Alive;
    ~TSkipping() {
      if (!*Alive)
        return;
      On = false;
      Series.m_column.clear();
      Series.m_columnFirst = -1;
    }
  } skipping{*this, m_skipCoveredRibbons, LifeToken()};
  // Only where depth moves every point alike, by whole pixels on a diagonal
  // (the oblique view at 100 %), does a ribbon within later ones on its
  // column keep within their pixels; turned and magnified views round each
  // corner on its own.
  const TProjection3D *projection =
      ParentChart() != nullptr ? &ParentChart()->Canvas().Projection() : nullptr;
  skipping.On = projection != nullptr && Is3DChart() && projection->Orthogonal() &&
                projection->ZoomFactor() == 1.0 && PlainRibbons();
  m_column.clear();
  m_columnFirst = -1;
  TChartSeries::DrawAllPoints();
}

bool TCustomSeries::PlainRibbons() {
  const TChartPen &pen = *m_linePen;
  const bool thinOutline =
      !pen.Visible() || (pen.Style() == psSolid && pen.Width() <= 1 && pen.Mode() == pmCopy);
  return m_lineVisible && m_lineBrush == bsSolid && !m_drawArea && !m_stairs &&
         m_lineHeight < 1 && !m_pointer->Visible() && thinOutline && PointsDrawForward();
}

void TCustomSeries::LookAtColumn(int valueIndex, int x) {
  m_column.clear();
  m_columnFirst = valueIndex;
  // The points on from valueIndex while they are drawn on column x; the
  // first point past them is kept too (its drawing takes it up).
  int end = valueIndex;
  for (int t = valueIndex; t <= LastVisibleIndex(); ++t) {
    const TColumnPoint point{PointScreenX(t), PointScreenY(t), PointColor(t)};
    m_column.push_back(point);
    if (point.X != x || !OnScreen(point.Y) || point.Color == clNone)
      break;
    end = t;
  }
  // From the column's last point back: the range of heights the ribbons from
  // each point on cover together (they join up, one after the other).
  const int last = end - valueIndex;
  int low = m_column[static_cast<std::size_t>(last)].Y;
  int high = low;
  for (int k = last; k >= 0; --k) {
    TColumnPoint &point = m_column[static_cast<std::size_t>(k)];
    low = std::min(low, point.Y);
    high = std::max(high, point.Y);
    point.LowOn = low;
    point.HighOn = high;
    point.RibbonsOn = k < last;
  }
}

bool TCustomSeries::RibbonCoveredLater(const TScreenPoint &current, int valueIndex) {
  const TScreenPoint &p = m_previous;
  if (!m_skipCoveredRibbons || m_previousIndex != valueIndex - 1 || p.X != current.X)
    return false;
  const int at = valueIndex - m_columnFirst;
  if (m_columnFirst < 0 || at < 0 || at >= static_cast<int>(m_column.size()) ||
      !m_column[static_cast<std::size_t>(at)].RibbonsOn)
    LookAtColumn(valueIndex, current.X);
  const TColumnPoint &point = m_column[static_cast<std::size_t>(valueIndex - m_columnFirst)];
  // The ribbons drawn later on this column join up from this point on and
  // span every height between their lowest and highest points: the ribbon
  // from the point before lies within them when that point does.
  return point.RibbonsOn && point.LowOn <= p.Y && p.Y <= point.HighOn;
}

void TCustomSeries::DrawPoint(int valueIndex) {
  TCustomAxisPanel *chart = ParentChart();
  // Series drawn together at one depth may be asked for points outside
  // their own visible range; those are left to the range that shows them.
  if (chart == nullptr || valueIndex < FirstVisibleIndex() || valueIndex > LastVisibleIndex())
    return;
  // A new drawing starts without a point drawn before.
  if (valueIndex == FirstVisibleIndex()) {
    m_previousColor = clNone;
    m_previousIndex = -1;
  }
  // The point may have been looked at already by a ribbon before it.
  const int at = valueIndex - m_columnFirst;
  const TColumnPoint *ahead =
      m_columnFirst >= 0 && at >= 0 && at < static_cast<int>(m_column.size())
          ? &m_column[static_cast<std::size_t>(at)]
          : nullptr;
  const int x = ahead != nullptr ? ahead->X : PointScreenX(valueIndex);
  const int y = ahead != nullptr ? ahead->Y : PointScreenY(valueIndex);
  // Far off-screen points are left out; the line joins the next one to the
  // last point drawn.
  if (!OnScreen(x) || !OnScreen(y))
    return;
  TChartCanvas3D &canvas = chart->Canvas();
  const TColor color = ahead != nullptr ? ahead->Color : PointColor(valueIndex);
  canvas.Pen().Color = color;
  canvas.Brush().Color = color;
  m_origin = OriginPosition(valueIndex);
  if (m_previousColor == clNone) {
    m_previous = {x, y};
    m_previousOrigin = m_origin;
  }
  const TScreenPoint current{x, y};

  if (valueIndex == FirstVisibleIndex()) {
    if (m_dark3D) {
      const int horiz = chart->DepthOffsetX();
      m_darkSlope = horiz == 0 ? 1.0 : static_cast<double>(chart->DepthOffsetY()) / horiz;
    }
    if (valueIndex > 0) {
      if (!m_drawArea) {
        m_previous = EdgePoint(valueIndex, y);
      } else {
        m_previous = {PointScreenX(valueIndex - 1), PointScreenY(valueIndex - 1)};
        m_previousOrigin = OriginPosition(valueIndex - 1);
      }
      if (PointColor(valueIndex - 1) != clNone)
        DrawSegment(current, color, valueIndex, false);
    }
    if (valueIndex == LastVisibleIndex() && m_pointer->Visible() && color != clNone)
      DrawPointerAt(x, y, color, valueIndex);
    // A line of one point would show nothing: the point shows as a dot.
    if (Count() == 1 && !m_pointer->Visible() && color != clNone)
      DrawLonePoint(x, y, color);
  } else {
    DrawSegment(current, color, valueIndex, true);
  }

  m_previous = current;
  m_previousOrigin = m_origin;
  m_previousColor = color;
  m_previousIndex = valueIndex;
}

void TCustomSeries::DrawSegment(const TScreenPoint &current, TColor color, int valueIndex,
                                bool withPointers) {
  const TScreenPoint &p = m_previous;
  const bool moved = current.X != p.X || current.Y != p.Y;
  if (moved && color != clNone) {
    const bool is3D = Is3DChart();
    if (is3D && (m_drawArea || (m_lineVisible && m_lineBrush != bsClear)) &&
        !RibbonCoveredLater(current, valueIndex))
      DrawRibbon(current, color, valueIndex);
    if (m_drawArea)
      DrawAreaSegment(current, color, valueIndex);
    else if (m_lineVisible && (!is3D || m_lineBrush == bsClear))
      // A 3-D line without a ribbon fill is drawn as a plain line at the
      // front depth.
      DrawLine(current, color, is3D);
  }
  if (withPointers && m_pointer->Visible()) {
    if (m_previousColor != clNone)
      DrawPointerAt(p.X, p.Y, m_previousColor, m_previousIndex);
    if (valueIndex == LastVisibleIndex() && color != clNone)
      DrawPointerAt(current.X, current.Y, color, valueIndex);
  }
}

void TCustomSeries::DrawRibbon(const TScreenPoint &c, TColor color, int valueIndex) {
  TCustomAxisPanel *chart = ParentChart();
  TChartCanvas3D &canvas = chart->Canvas();
  const TScreenPoint &p = m_previous;
  const int z0 = FrontDepth();
  const int z1 = BackDepth();
  canvas.Brush().Color = AreaFillColor(color);
  canvas.AssignChartPen(*m_linePen);
  if (m_linePen->Visible())
    AdjustPenForPrinting(chart->Printing(), canvas.Pen());
  canvas.Brush().Style = m_lineBrush;
  const TColor base =
      canvas.Brush().Style == bsSolid ? canvas.Brush().Color : canvas.GetBackColor();
  auto restore = [&] {
    if (canvas.Brush().Style == bsSolid)
      canvas.Brush().Color = base;
    else
      canvas.SetBackColor(base);
  };

  if (!m_stairs) {
    TPoint from(p.X, p.Y);
    TPoint to(c.X, c.Y);
    const bool slab = m_lineHeight >= 1 && !m_drawArea;
    if (slab) {
      // The slab's front face, corners in order round the face.
      const std::array<TPoint, 4> face = {from, to, TPoint(to.X, to.Y + m_lineHeight),
                                          TPoint(from.X, from.Y + m_lineHeight)};
      canvas.QuadAtDepths(face, z0, z0);
      if (valueIndex == LastVisibleIndex())
        canvas.RectangleInX(to.X, to.Y, to.Y + m_lineHeight, z0, z1);
    }
    if (m_dark3D && to.X != from.X && m_darkSlope != 0.0 &&
        static_cast<double>(from.Y - to.Y) / (to.X - from.X) > m_darkSlope) {
      DarkenBrush(base);
      if (slab) {
        from.Y += m_lineHeight;
        to.Y += m_lineHeight;
      }
    }
    canvas.PlaneBetweenDepths(from, to, z0, z1);
    restore();
  } else if (m_invertedStairs) {
    if (m_dark3D)
      DarkenBrush(base);
    canvas.RectangleInX(p.X, p.Y, c.Y, z0, z1);
    restore();
    canvas.RectangleInY(p.X, c.Y, c.X, z0, z1);
  } else {
    canvas.RectangleInY(p.X, p.Y, c.X, z0, z1);
    if (m_dark3D)
      DarkenBrush(base);
    canvas.RectangleInX(c.X, p.Y, c.Y, z0, z1);
    restore();
  }
}

void TCustomSeries::DrawAreaSegment(const TScreenPoint &c, TColor color, int valueIndex) {
  TChartCanvas3D &canvas = ParentChart()->Canvas();
  const TScreenPoint &p = m_previous;
  const int z0 = FrontDepth();
  canvas.AssignChartPen(*m_areaLinesPen);
  if (m_areaLinesPen->Color() == clTeeColor || !m_areaLinesPen->Visible())
    canvas.Pen().Color = color;
  SetBrushWithBackground(canvas, AreaFillColor(color), m_areaBrush, SeriesColor());
  if (Is3DChart() && valueIndex == LastVisibleIndex())
    canvas.RectangleInX(c.X, c.Y, m_origin, z0, BackDepth());
  if (m_stairs) {
    canvas.RectangleAtDepth(TRect(p.X, m_origin, c.X + 1, m_invertedStairs ? c.Y : p.Y), z0);
  } else {
    canvas.PlaneAtDepth(TPoint(c.X, c.Y), TPoint(c.X, m_origin), TPoint(p.X, m_previousOrigin),
                        TPoint(p.X, p.Y), z0);
  }
}

void TCustomSeries::DrawLine(const TScreenPoint &c, TColor color, bool atDepth) {
  TCustomAxisPanel *chart = ParentChart();
  TChartCanvas3D &canvas = chart->Canvas();
  const TScreenPoint &p = m_previous;
  canvas.AssignChartPen(*m_linePen);
  AdjustPenForPrinting(chart->Printing(), canvas.Pen());
  canvas.Brush().Style = bsClear;
  canvas.Pen().Color = color;
  if (atDepth) {
    const int z = FrontDepth();
    if (m_stairs && m_invertedStairs)
      canvas.VertLineAtDepth(p.X, p.Y, c.Y, z);
    else if (m_stairs)
      canvas.HorizLineAtDepth(p.X, c.X, p.Y, z);
    else
      canvas.MoveToAtDepth(p.X, p.Y, z);
    canvas.LineToAtDepth(c.X, c.Y, z);
    return;
  }
  if (m_stairs && m_invertedStairs) {
    canvas.VertLine(p.X, p.Y, c.Y);
    canvas.LineTo(c.X, c.Y);
  } else if (m_stairs) {
    canvas.HorizLine(p.X, c.X, p.Y);
    canvas.LineTo(c.X, c.Y);
  } else {
    canvas.Line(p.X, p.Y, c.X, c.Y);
  }
}

void TCustomSeries::DrawPointMark(int valueIndex, const std::string &text,
                                  TSeriesMarkPosition &position) {
  Marks().SetZPosition(FrontDepth());
  const int lift = Marks().ArrowLength();
  position.ArrowEnd.Y -= lift;
  position.TopLeftCorner.Y -= lift;
  TChartSeries::DrawPointMark(valueIndex, text, position);
}

void TCustomSeries::HorizMarginsNeeded(int &left, int &right) {
  TChartSeries::HorizMarginsNeeded(left, right);
  m_pointer->CalcHorizMargins(left, right);
  if (m_stairs && m_lineVisible) {
    left = std::max(left, m_linePen->Width());
    right = std::max(right, m_linePen->Width());
  }
}

void TCustomSeries::VertMarginsNeeded(int &top, int &bottom) {
  TChartSeries::VertMarginsNeeded(top, bottom);
  m_pointer->CalcVertMargins(top, bottom);
  if (m_stairs && m_lineVisible) {
    top = std::max(top, m_linePen->Width());
    bottom = std::max(bottom, m_linePen->Width() + 1);
  }
  if (m_lineHeight >= 1 && !m_drawArea)
    bottom = std::max(bottom, m_lineHeight);
}

// ---- clicks -----------------------------------------------------------------------

bool TCustomSeries::ClickedPointer(int, int px, int py, int x, int y) const {
  return std::abs(static_cast<long long>(x) - px) < m_pointer->HorizSize() &&
         std::abs(static_cast<long long>(y) - py) < m_pointer->VertSize();
}

bool TCustomSeries::SegmentHit(const TPoint &p, const TScreenPoint &from,
                               const TScreenPoint &to) const {
  if (Is3DChart()) {
    const int dx = ParentChart()->DepthOffsetX();
    const int dy = ParentChart()->DepthOffsetY();
    const std::array<TPoint, 4> ribbon = {TPoint(from.X, from.Y), TPoint(to.X, to.Y),
                                          TPoint(PixelAdd(to.X, dx), PixelAdd(to.Y, -dy)),
                                          TPoint(PixelAdd(from.X, dx), PixelAdd(from.Y, -dy))};
    // The front edge counts too: it is the boundary of the ribbon.
    return IsInsidePolygon(p, ribbon) || IsOnSegment(p, from.X, from.Y, to.X, to.Y);
  }
  if (m_stairs && m_invertedStairs)
    return IsOnSegment(p, from.X, from.Y, from.X, to.Y) || IsOnSegment(p, from.X, to.Y, to.X, to.Y);
  if (m_stairs)
    return IsOnSegment(p, from.X, from.Y, to.X, from.Y) || IsOnSegment(p, to.X, from.Y, to.X, to.Y);
  return IsOnSegment(p, from.X, from.Y, to.X, to.Y);
}

int TCustomSeries::PointAtPosition(int x, int y) {
  if (ParentChart() != nullptr)
    ParentChart()->Canvas().UnprojectPoint(x, y, FrontDepth());
  const int inherited = TChartSeries::PointAtPosition(x, y);
  const int first = FirstVisibleIndex();
  if (inherited != -1 || first < 0)
    return inherited;
  const TPoint click(x, y);
  TScreenPoint previous;
  int previousOrigin = 0;
  for (int t = first; t <= LastVisibleIndex(); ++t) {
    const TScreenPoint point{PointScreenX(t), PointScreenY(t)};
    if (m_pointer->Visible() && ClickedPointer(t, point.X, point.Y, x, y)) {
      if (OnClickPointer)
        OnClickPointer(this, t, x, y);
      return t;
    }
    if (point.X == x && point.Y == y)
      return t;
    const int origin = m_drawArea ? OriginPosition(t) : 0;
    if (t > first && m_clickableLine) {
      if (SegmentHit(click, previous, point))
        return t - 1;
      if (m_drawArea) {
        const std::array<TPoint, 4> area = {TPoint(previous.X, previous.Y),
                                            TPoint(point.X, point.Y), TPoint(point.X, origin),
                                            TPoint(previous.X, previousOrigin)};
        if (IsInsidePolygon(click, area))
          return t - 1;
      }
    }
    previous = point;
    previousOrigin = origin;
  }
  return -1;
}

// ---- legend -----------------------------------------------------------------------

void TCustomSeries::DrawLegendFigure(int valueIndex, const TRect &rect) {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr)
    return;
  TChartCanvas3D &canvas = chart->Canvas();
  const TColor color = valueIndex == -1 ? SeriesColor() : PointColor(valueIndex);
  const int middle = static_cast<int>((static_cast<long long>(rect.Top) + rect.Bottom) / 2);
  auto crossingLine = [&] {
    canvas.AssignChartPen(*m_linePen);
    canvas.Pen().Color = color;
    canvas.HorizLine(rect.Left, rect.Right, middle);
  };
  if (m_pointer->Visible()) {
    if (m_lineVisible)
      crossingLine();
    const TSeriesPointerStyle style =
        OnGetPointerStyle && valueIndex >= 0
            ? CallOut([&] { return OnGetPointerStyle(this, valueIndex); })
            : m_pointer->Style();
    m_pointer->DrawLegendFigure(color, rect, m_linePen->Visible(), style);
  } else if (m_lineVisible && !m_drawArea) {
    if (Is3DChart()) {
      canvas.AssignChartPen(*m_linePen);
      canvas.RectangleOfRect(rect);
    } else {
      crossingLine();
    }
  } else {
    TChartSeries::DrawLegendFigure(valueIndex, rect);
  }
}
