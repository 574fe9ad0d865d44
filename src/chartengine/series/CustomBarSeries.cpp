#include "chartengine/series/CustomBarSeries.h"

#include "chartengine/canvas/ChartBrushRoutines.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartGeometry.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartTextLines.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartWalks.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"

#include <algorithm>
#include <array>
#include <cstdlib>

const TChartComponentClass &TCustomBarSeries::StaticClass() {
  // Abstract: made only through the vertical and horizontal bars.
  static const TChartComponentClass cls("TCustomBarSeries", &TChartSeries::StaticClass(), nullptr);
  return cls;
}

TCustomBarSeries::TCustomBarSeries(TChartComponent *owner)
    : TChartSeries(owner), m_barBrush(std::make_unique<TChartBrush>([this] { StyleChanged(); })),
      m_barPen(std::make_unique<TChartPen>([this] { StyleChanged(); })) {
  Marks().SetVisible(true);
  Marks().SetArrowLength(20);
  // The bar lengths: Y here; a horizontal bar renames its own lists.
  MainValueList().SetName(ChartText(ctValuesBar));
  MainValueList().SetOrder(loNone);
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::Assign(TChartSeries &source) {
  if (auto *s = dynamic_cast<TCustomBarSeries *>(&source); s != nullptr && s != this) {
    m_autoMarkPosition = s->m_autoMarkPosition;
    m_barWidthPercent = s->m_barWidthPercent;
    m_barStyle = s->m_barStyle;
    m_barPen->Assign(*s->m_barPen);
    m_barBrush->Assign(*s->m_barBrush);
    m_customBarSize = s->m_customBarSize;
    m_dark3D = s->m_dark3D;
    m_multiBar = s->m_multiBar;
    m_offsetPercent = s->m_offsetPercent;
    m_yOrigin = s->m_yOrigin;
    m_sideMargins = s->m_sideMargins;
    m_useYOrigin = s->m_useYOrigin;
  }
  TChartSeries::Assign(source);
}

// ---- properties -------------------------------------------------------------------

template <typename T> bool TCustomBarSeries::Changes(T &field, const T &value) {
  if (field == value)
    return false;
  field = value;
  return true;
}

template <typename Fn> void TCustomBarSeries::ForEachSameClass(bool activeOnly, Fn fn) const {
  const TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr)
    return;
  for (int t = 0; t < chart->SeriesCount(); ++t) {
    auto *bar = dynamic_cast<TCustomBarSeries *>(chart->Series(t));
    if (bar != nullptr && SameClass(*bar) && (!activeOnly || bar->Active()))
      fn(bar);
  }
}

void TCustomBarSeries::SetAutoBarSize(bool value) {
  if (Changes(m_autoBarSize, value))
    Repaint();
}
void TCustomBarSeries::SetAutoMarkPosition(bool value) {
  if (Changes(m_autoMarkPosition, value))
    Repaint();
}
void TCustomBarSeries::SetBarStyle(TBarStyle value) {
  if (Changes(m_barStyle, value))
    Repaint();
}
void TCustomBarSeries::SetBarWidthPercent(int value) {
  if (value < 1 || value > 100)
    throw BarException(ChartText(ctBarWidthPercent));
  if (Changes(m_barWidthPercent, value))
    Repaint();
}
void TCustomBarSeries::SetCustomBarSize(int value) {
  if (Changes(m_customBarSize, value))
    Repaint();
}
void TCustomBarSeries::SetDark3D(bool value) {
  if (Changes(m_dark3D, value))
    Repaint();
}
void TCustomBarSeries::SetMultiBar(TMultiBar value) {
  if (m_multiBar == value)
    return;
  m_multiBar = value;
  ForEachSameClass(false, [&](TCustomBarSeries *bar) { bar->m_multiBar = value; });
  Repaint();
}
void TCustomBarSeries::SetOffsetPercent(int value) {
  if (value < -100 || value > 100)
    throw BarException(ChartText(ctBarOffsetPercent));
  if (Changes(m_offsetPercent, value))
    Repaint();
}
void TCustomBarSeries::SetSideMargins(bool value) {
  const bool changed = Changes(m_sideMargins, value);
  ForEachSameClass(false, [&](TCustomBarSeries *bar) { bar->m_sideMargins = value; });
  if (changed)
    Repaint();
}
void TCustomBarSeries::SetUseYOrigin(bool value) {
  if (Changes(m_useYOrigin, value))
    Repaint();
}
void TCustomBarSeries::SetYOrigin(double value) {
  if (Changes(m_yOrigin, value))
    Repaint();
}

// ---- geometry ---------------------------------------------------------------------

bool TCustomBarSeries::Is3DChart() const {
  return ParentChart() != nullptr && ParentChart()->View3D();
}

TCustomChartAxis *TCustomBarSeries::CategoryAxis() const {
  return const_cast<TCustomBarSeries *>(this)->MainIsY() ? HorizAxisObject() : VertAxisObject();
}

TCustomChartAxis *TCustomBarSeries::ValueAxis() const {
  return const_cast<TCustomBarSeries *>(this)->MainIsY() ? VertAxisObject() : HorizAxisObject();
}

int TCustomBarSeries::BarSeriesPosition() const {
  int position = 1;
  const TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr)
    return position;
  for (int t = 0; t < chart->SeriesCount(); ++t) {
    const TChartSeries *s = chart->Series(t);
    if (s == this)
      break;
    if (s->Active() && dynamic_cast<const TCustomBarSeries *>(s) != nullptr && SameClass(*s))
      ++position;
  }
  return position;
}

int TCustomBarSeries::BarsPerPoint() const {
  if (m_multiBar != mbSide)
    return 1;
  int count = 0;
  ForEachSameClass(true, [&](TCustomBarSeries *) { ++count; });
  // An inactive series asked on its own still has its one bar.
  return std::max(count, 1);
}

void TCustomBarSeries::RecalcBarSize() {
  // A negative fixed size would turn every bar inside out: it counts as unset.
  if (m_customBarSize > 0) {
    m_barSize = m_customBarSize;
    return;
  }
  long long points = Count();
  int groups = 1;
  if (const TCustomAxisPanel *chart = ParentChart()) {
    if (m_multiBar == mbSide) {
      points = 0;
      groups = 0;
      ForEachSameClass(true, [&](TCustomBarSeries *bar) {
        points = std::max<long long>(points, bar->Count());
        ++groups;
      });
    }
    if (chart->MaxPointsPerPage() > 0)
      points = chart->MaxPointsPerPage();
  }
  groups = std::max(groups, 1);
  const TCustomChartAxis *axis = CategoryAxis();
  if (points < 1 || axis == nullptr) {
    m_barSize = 0;
    return;
  }
  if (m_sideMargins)
    ++points;
  const double room =
      m_autoBarSize ? PixelRound(axis->SpanPixels() / (2.0 + axis->Maximum() - axis->Minimum()))
                    : static_cast<double>(axis->SpanPixels() / points);
  int size = PixelRound(m_barWidthPercent * 0.01 * room) / groups;
  if (size > 0 && size % 2 == 1)
    ++size;
  m_barSize = std::max(size, 0);
}

int TCustomBarSeries::ApplyCategoryOffset(int position, bool horizontal) {
  long long p = position;
  if (m_multiBar == mbSide) {
    const double count = BarsPerPoint();
    const double place = BarSeriesPosition();
    const double shift = horizontal ? count * 0.5 - place : place - count * 0.5 - 1;
    p += PixelRound(shift * m_barSize);
  } else {
    p -= m_barSize >> 1;
  }
  if (m_offsetPercent != 0)
    p += PixelRound(m_offsetPercent * m_barSize * 0.01);
  return PixelAdd(p, 0);
}

int TCustomBarSeries::ValueEndPosition(int valueIndex) {
  const double value = MainValueList().Value(valueIndex);
  switch (m_multiBar) {
  case mbStacked:
    return ValueToScreen(StackBaseAt(valueIndex, false) + value);
  case mbStacked100: {
    const double total = StackBaseAt(valueIndex, true);
    if (total == 0)
      return 0;
    return ValueToScreen((StackBaseAt(valueIndex, false) + value) * 100.0 / total);
  }
  default:
    return ValueToScreen(value);
  }
}

int TCustomBarSeries::OriginPosition(int valueIndex) {
  switch (m_multiBar) {
  case mbStacked:
    return ValueToScreen(StackBaseAt(valueIndex, false));
  case mbStacked100: {
    const double total = StackBaseAt(valueIndex, true);
    if (total == 0)
      return 0;
    return ValueToScreen(StackBaseAt(valueIndex, false) * 100.0 / total);
  }
  default:
    break;
  }
  if (m_useYOrigin)
    return ValueToScreen(m_yOrigin);
  // The axis end the bars stand on: the bottom of the vertical axis, the
  // left of the horizontal one.
  const TCustomChartAxis *axis = ValueAxis();
  if (axis == nullptr)
    return 0;
  return MainIsY() ? axis->EndPixel() : axis->StartPixel();
}

TRect TCustomBarSeries::BarBounds(int valueIndex) {
  TRect r;
  if (MainIsY()) {
    r.Left = PointScreenX(valueIndex);
    r.Right = PixelAdd(r.Left, m_barSize);
    r.Top = ValueEndPosition(valueIndex);
    r.Bottom = OriginPosition(valueIndex);
    if (r.Top > r.Bottom)
      std::swap(r.Top, r.Bottom);
  } else {
    r.Top = PointScreenY(valueIndex);
    r.Bottom = PixelAdd(r.Top, m_barSize);
    r.Right = ValueEndPosition(valueIndex);
    r.Left = OriginPosition(valueIndex);
    if (r.Left > r.Right)
      std::swap(r.Left, r.Right);
  }
  return r;
}

TBarStyle TCustomBarSeries::BarStyleOf(int valueIndex) {
  TBarStyle style = m_barStyle;
  if (OnGetBarStyle)
    CallOut([&] { OnGetBarStyle(this, valueIndex, style); });
  return style;
}

double TCustomBarSeries::StackBaseAt(int valueIndex, bool sumAll) {
  if (m_multiBar == mbStacked || m_multiBar == mbStacked100)
    return TChartSeries::StackBaseAt(valueIndex, sumAll);
  return m_yOrigin;
}

double TCustomBarSeries::StackedLargest(double inherited) {
  if (m_multiBar == mbStacked100)
    return 100.0;
  double result = inherited;
  if (m_multiBar == mbStacked)
    result = LargestStackedTop(result);
  if (m_useYOrigin)
    result = std::max(result, m_yOrigin);
  return result;
}

double TCustomBarSeries::StackedSmallest(double inherited) {
  if (m_multiBar == mbStacked100)
    return 0.0;
  return m_useYOrigin ? std::min(inherited, m_yOrigin) : inherited;
}

// ---- margins ----------------------------------------------------------------------

void TCustomBarSeries::CategoryMargins(int &low, int &high) {
  RecalcBarSize();
  long long room = static_cast<long long>(m_barSize) * BarsPerPoint();
  if (!m_sideMargins)
    room >>= 1;
  low = PixelAdd(low, room);
  high = PixelAdd(high, room);
}

int TCustomBarSeries::MarkRoom(bool markWidth) {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr || Count() == 0 || !Marks().Visible())
    return 0;
  TChartCanvas3D &canvas = chart->Canvas();
  const TFont saved = canvas.Font();
  canvas.Font() = Marks().DrawingFont();
  long long room = 0;
  if (!markWidth) {
    room = canvas.FontHeight();
  } else {
    // The mark-text handler may take this series away or free it.
    TCustomAxisPanel::TSeriesWalk walk(*chart);
    const std::size_t place = static_cast<std::size_t>(chart->IndexOfSeries(this));
    for (int t = 0; t < Count(); ++t) {
      const std::string text = MarkText(t);
      if (place >= walk.Series.size() || walk.Series[place] == nullptr) {
        canvas.Font() = saved;
        return 0;
      }
      int lines = 0;
      room = std::max<long long>(room, MultiLineTextWidth(canvas, text, lines));
    }
    // A mark's box is as wide as its text and one "W" more.
    if (room > 0)
      room += canvas.TextWidth("W");
  }
  canvas.Font() = saved;
  room += Marks().ArrowLength();
  if (Marks().Frame().Visible())
    room += 2LL * Marks().Frame().Width();
  return PixelAdd(room, 0);
}

// ---- drawing ----------------------------------------------------------------------

void TCustomBarSeries::FireBeforeDrawValues() {
  // Charts that skip the margin step still draw bars of the right width.
  RecalcBarSize();
  TChartSeries::FireBeforeDrawValues();
}

void TCustomBarSeries::PrepareBarCanvas() {
  TCustomAxisPanel *chart = ParentChart();
  TChartCanvas3D &canvas = chart->Canvas();
  canvas.AssignChartPen(*m_barPen);
  if (m_barBrush->Bitmap() == nullptr) {
    canvas.Brush().Bitmap.reset();
    const TColor back = m_barBrush->Color() == clTeeColor ? chart->Color() : m_barBrush->Color();
    SetBrushWithBackground(canvas, m_barColor, m_barBrush->Style(), back);
  } else {
    canvas.Brush().Bitmap = m_barBrush->Bitmap();
  }
}

void TCustomBarSeries::FlatBarRectangle(int left, int top, int right, int bottom) {
  TChartCanvas3D &canvas = ParentChart()->Canvas();
  auto penTakesBrushColor = [&] {
    canvas.Pen().Color = canvas.Brush().Color;
    if (canvas.Pen().Style == psClear)
      canvas.Pen().Style = psSolid;
  };
  if (m_barBrush->Style() == bsSolid) {
    const long long width = std::llabs(static_cast<long long>(right) - left);
    const long long height = std::llabs(static_cast<long long>(bottom) - top);
    if (width == 0 || height == 0) {
      penTakesBrushColor();
      canvas.Line(left, top, right, bottom);
    } else if (width < canvas.Pen().Width || height < canvas.Pen().Width) {
      penTakesBrushColor();
      canvas.Brush().Style = bsClear;
    }
  }
  canvas.Rectangle(left, top, right, bottom);
}

void TCustomBarSeries::DrawPoint(int valueIndex) {
  TChartSeries::DrawPoint(valueIndex);
  if (ParentChart() == nullptr)
    return;
  m_barColor = PointColor(valueIndex);
  // A point without a colour keeps its place but shows no bar.
  if (m_barColor == clNone)
    return;
  m_barBounds = BarBounds(valueIndex);
  PrepareBarCanvas();
  if (MainIsY())
    DrawBar(valueIndex, m_barBounds.Top, m_barBounds.Bottom);
  else
    DrawBar(valueIndex, m_barBounds.Left, m_barBounds.Right);
}

void TCustomBarSeries::DrawBar(int valueIndex, int start, int end) {
  TChartCanvas3D &canvas = ParentChart()->Canvas();
  const bool vertical = MainIsY();
  // The edges across the bar; start and end run along the value axis.
  const int low = vertical ? m_barBounds.Left : m_barBounds.Top;
  const int high = vertical ? m_barBounds.Right : m_barBounds.Bottom;
  const int mid = static_cast<int>((static_cast<long long>(low) + high) >> 1);
  // Pyramids and arrows point up, or rightward on horizontal bars.
  const int tip = vertical ? start : end;
  const int base = vertical ? end : start;
  auto at = [vertical](int across, int along) {
    return vertical ? TPoint(across, along) : TPoint(along, across);
  };
  struct Corners {
    int x0, y0, x1, y1;
  };
  auto corners = [&](int from, int to) {
    return vertical ? Corners{low, from, high, to} : Corners{from, low, to, high};
  };
  const Corners c = corners(start, end);
  const bool is3D = Is3DChart();
  const int front = FrontDepth();
  const int back = BackDepth();
  switch (BarStyleOf(valueIndex)) {
  case bsRectangle:
    if (is3D)
      canvas.Box(c.x0, c.x1, c.y0, c.y1, front, back, Dark3D());
    else
      FlatBarRectangle(c.x0, c.y0, c.x1, c.y1);
    break;
  case bsPyramid:
    if (is3D) {
      canvas.Pyramid(vertical, c.x0, c.y0, c.x1, c.y1, front, back, Dark3D());
    } else {
      const std::array<TPoint, 3> pts = {at(low, base), at(mid, tip), at(high, base)};
      canvas.Polygon(pts);
    }
    break;
  case bsInvPyramid:
    if (is3D) {
      const Corners inv = corners(end, start);
      canvas.Pyramid(vertical, inv.x0, inv.y0, inv.x1, inv.y1, front, back, Dark3D());
    } else {
      const std::array<TPoint, 3> pts = {at(low, tip), at(mid, base), at(high, tip)};
      canvas.Polygon(pts);
    }
    break;
  case bsCilinder:
    if (is3D)
      canvas.Cylinder(vertical, c.x0, c.y0, c.x1, c.y1, front, back, Dark3D());
    else
      FlatBarRectangle(c.x0, c.y0, c.x1, c.y1);
    break;
  case bsEllipse:
    if (is3D)
      canvas.EllipseAtDepth(c.x0, c.y0, c.x1, c.y1, MidDepth());
    else
      canvas.Ellipse(c.x0, c.y0, c.x1, c.y1);
    break;
  case bsArrow:
    canvas.Arrow3D(true, at(mid, base), at(mid, tip), high - low, (high - low) / 2, MidDepth());
    break;
  case bsRectGradient: {
    const TGradientDirection direction = vertical ? gdBottomTop : gdLeftRight;
    if (is3D) {
      canvas.Box(c.x0, c.x1, c.y0, c.y1, front, back, Dark3D());
      const TView3DOptions *options = canvas.View3DOptions();
      if (options != nullptr && options->Orthogonal()) {
        const TPoint a = canvas.ProjectPoint(c.x0, c.y0, front);
        const TPoint b = canvas.ProjectPoint(c.x1, c.y1, front);
        TRect face(a.X, a.Y, b.X, b.Y);
        if (BarPen().Visible())
          face = face.Inflate(-BarPen().Width(), -BarPen().Width());
        canvas.FillGradient(face, clWhite, BarColor(), direction);
      }
    } else {
      canvas.FillGradient(TRect(c.x0, c.y0, c.x1, c.y1), clWhite, BarColor(), direction);
      if (BarPen().Visible()) {
        canvas.Brush().Style = bsClear;
        canvas.Rectangle(c.x0, c.y0, c.x1, c.y1);
      }
    }
    break;
  }
  }
}

bool TCustomBarSeries::PointsDrawForward() {
  const TCustomChartAxis *axis = CategoryAxis();
  return axis == nullptr || !axis->Inverted();
}

bool TCustomBarSeries::SeriesDrawsForward(int valueIndex) {
  if (m_multiBar == mbNone || m_multiBar == mbSide)
    return true;
  if (valueIndex < 0 || valueIndex >= Count())
    return true;
  const TCustomChartAxis *axis = ValueAxis();
  const bool inverted = axis != nullptr && axis->Inverted();
  return (MainValueList().Value(valueIndex) >= 0) != inverted;
}

void TCustomBarSeries::AssignDepthIndex() {
  TCustomAxisPanel *chart = ParentChart();
  if (m_multiBar == mbNone || chart == nullptr) {
    TChartSeries::AssignDepthIndex();
    return;
  }
  // Side-by-side and stacked bars share the depth of the first bar series
  // of their class.
  const TChartSeries *first = nullptr;
  for (int t = 0; t < chart->SeriesCount() && first == nullptr; ++t) {
    const TChartSeries *s = chart->Series(t);
    if (s == this)
      break;
    if (s->Active() && dynamic_cast<const TCustomBarSeries *>(s) != nullptr && SameClass(*s))
      first = s;
  }
  if (first == nullptr) {
    TChartSeries::AssignDepthIndex();
    return;
  }
  // The inherited step raises the chart's depth by one and takes it.
  const int deepest = chart->DeepestIndex();
  chart->SetDeepestIndex(first->DepthIndex() - 1);
  TChartSeries::AssignDepthIndex();
  chart->SetDeepestIndex(std::max(deepest, chart->DeepestIndex()));
}

// ---- clicks -----------------------------------------------------------------------

int TCustomBarSeries::PointAtPosition(int x, int y) {
  if (ParentChart() != nullptr)
    ParentChart()->Canvas().UnprojectPoint(x, y, FrontDepth());
  const int inherited = TChartSeries::PointAtPosition(x, y);
  if (inherited != -1 || FirstVisibleIndex() < 0)
    return inherited;
  const TPoint click(x, y);
  for (int t = FirstVisibleIndex(); t <= LastVisibleIndex() && t < Count(); ++t)
    if (ClickedBar(t, click))
      return t;
  return -1;
}

bool TCustomBarSeries::ClickedBar(int valueIndex, const TPoint &p) {
  const TRect r = BarBounds(valueIndex);
  const bool vertical = MainIsY();
  const int across = vertical ? p.X : p.Y;
  if (across < (vertical ? r.Left : r.Top) || across > (vertical ? r.Right : r.Bottom))
    return false;
  // Pyramids point up, or rightward on horizontal bars.
  const int base = vertical ? r.Bottom : r.Left;
  const int tip = vertical ? r.Top : r.Right;
  auto inTriangle = [&](int from, int to) {
    return vertical ? IsInsideVertTriangle(p, r.Left, r.Right, from, to)
                    : IsInsideHorizTriangle(p, r.Top, r.Bottom, from, to);
  };
  switch (BarStyleOf(valueIndex)) {
  case bsPyramid:
    return inTriangle(base, tip);
  case bsInvPyramid:
    return inTriangle(tip, base);
  case bsEllipse:
    return IsInsideEllipse(p, r);
  default: {
    const int along = vertical ? p.Y : p.X;
    return along >= (vertical ? r.Top : r.Left) && along <= (vertical ? r.Bottom : r.Right);
  }
  }
}

// ---- samples and legend -----------------------------------------------------------

void TCustomBarSeries::PrepareSample(bool enabled) {
  TChartSeries::PrepareSample(enabled);
  SetBarWidthPercent(85);
  SetMultiBar(mbNone);
}

void TCustomBarSeries::DrawLegendFigure(int valueIndex, const TRect &rect) {
  if (ParentChart() == nullptr)
    return;
  // The symbol shows the bars' picture when they have one.
  ParentChart()->Canvas().Brush().Bitmap = m_barBrush->Bitmap();
  TChartSeries::DrawLegendFigure(valueIndex, rect);
}

void TCustomBarSeries::SetUpLegendCanvas(int, TColor &backColor, TBrushStyle &brushStyle) {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr)
    return;
  chart->Canvas().AssignChartPen(*m_barPen);
  brushStyle = m_barBrush->Style();
  backColor = m_barBrush->Color() == clTeeColor ? chart->Color() : m_barBrush->Color();
}
