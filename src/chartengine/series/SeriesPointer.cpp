#include "chartengine/series/SeriesPointer.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomAxisPanel.h"

#include <algorithm>
#include <array>

TSeriesPointer::TSeriesPointer(TChartSeries *owner)
    : m_owner(owner), m_brush([this] { Changed(); }), m_pen([this] { Changed(); }) {}

void TSeriesPointer::Assign(const TSeriesPointer &source) {
  if (&source == this)
    return;
  m_dark3D = source.m_dark3D;
  m_draw3D = source.m_draw3D;
  m_brush.Assign(source.m_brush);
  m_horizSize = source.m_horizSize;
  m_inflateMargins = source.m_inflateMargins;
  m_pen.Assign(source.m_pen);
  m_style = source.m_style;
  m_vertSize = source.m_vertSize;
  m_visible = source.m_visible;
  Changed();
}

template <typename T> void TSeriesPointer::Store(T &field, const T &value) {
  if (field == value)
    return;
  field = value;
  Changed();
}

void TSeriesPointer::Changed() {
  if (m_owner != nullptr)
    m_owner->Repaint();
}

void TSeriesPointer::SetDark3D(bool value) { Store(m_dark3D, value); }
void TSeriesPointer::SetDraw3D(bool value) { Store(m_draw3D, value); }
void TSeriesPointer::SetInflateMargins(bool value) { Store(m_inflateMargins, value); }
void TSeriesPointer::SetStyle(TSeriesPointerStyle value) { Store(m_style, value); }
void TSeriesPointer::SetVisible(bool value) { Store(m_visible, value); }

void TSeriesPointer::SetHorizSize(int value) {
  if (value < 1)
    throw ChartException(ChartText(ctPointerSize));
  Store(m_horizSize, value);
}

void TSeriesPointer::SetVertSize(int value) {
  if (value < 1)
    throw ChartException(ChartText(ctPointerSize));
  Store(m_vertSize, value);
}

void TSeriesPointer::CalcHorizMargins(int &left, int &right) const {
  if (!m_visible || !m_inflateMargins)
    return;
  left = std::max(left, m_horizSize + 1);
  right = std::max(right, m_horizSize + 1);
}

void TSeriesPointer::CalcVertMargins(int &top, int &bottom) const {
  if (!m_visible || !m_inflateMargins)
    return;
  top = std::max(top, m_vertSize + 1);
  bottom = std::max(bottom, m_vertSize + 1);
}

// ---- drawing ----------------------------------------------------------------------

void TSeriesPointer::PrepareCanvas(TColor color) {
  if (m_owner == nullptr || m_owner->ParentChart() == nullptr)
    return;
  TChartCanvas3D &canvas = m_owner->ParentChart()->Canvas();
  canvas.AssignChartPen(m_pen);
  if (m_pen.Visible() && m_pen.Color() == clTeeColor)
    canvas.Pen().Color = color;
  canvas.Brush() = m_brush.Brush();
  if (m_brush.Color() == clTeeColor)
    canvas.Brush().Color = color;
}

void TSeriesPointer::Draw(int x, int y, TColor color, TSeriesPointerStyle style) {
  if (m_owner == nullptr || m_owner->ParentChart() == nullptr)
    return;
  DrawPointer(m_owner->ParentChart()->View3D(), x, y, m_horizSize, m_vertSize, color, style);
}

void TSeriesPointer::DrawPointer(bool is3D, int x, int y, int horizSize, int vertSize, TColor color,
                                 TSeriesPointerStyle style) {
  if (m_owner == nullptr || m_owner->ParentChart() == nullptr)
    return;
  TChartCanvas3D &canvas = m_owner->ParentChart()->Canvas();
  const int z0 = m_owner->FrontDepth();
  const int z1 = m_owner->BackDepth();
  const int left = x - horizSize;
  const int right = x + horizSize;
  const int top = y - vertSize;
  const int bottom = y + vertSize;

  auto triangle = [&](int baseY, int apexY) {
    if (is3D && m_draw3D) {
      canvas.Pyramid(true, left, apexY, right, baseY, z0, z1, m_dark3D);
    } else if (is3D) {
      canvas.TriangleAtDepth(TPoint(left, baseY), TPoint(right, baseY), TPoint(x, apexY), z0);
    } else {
      const std::array<TPoint, 3> points = {TPoint(left, baseY), TPoint(right, baseY),
                                            TPoint(x, apexY)};
      canvas.Polygon(points);
    }
  };
  auto cross = [&] {
    canvas.Pen().Color = color;
    if (is3D) {
      canvas.VertLineAtDepth(x, top, bottom + 1, z0);
      canvas.HorizLineAtDepth(left, right + 1, y, z0);
    } else {
      canvas.VertLine(x, top, bottom + 1);
      canvas.HorizLine(left, right + 1, y);
    }
  };
  auto diagCross = [&] {
    canvas.Pen().Color = color;
    if (is3D) {
      canvas.LineAtDepth(left, top, right + 1, bottom + 1, z0);
      canvas.LineAtDepth(right, top, left - 1, bottom + 1, z0);
    } else {
      canvas.Line(left, top, right + 1, bottom + 1);
      canvas.Line(right, top, left - 1, bottom + 1);
    }
  };

  switch (style) {
  case psRectangle:
    if (is3D && m_draw3D)
      canvas.Box(left, right, top, bottom, z0, z1, m_dark3D);
    else if (is3D)
      canvas.RectangleAtDepth(TRect(left, top, right + 1, bottom + 1), z0);
    else
      canvas.Rectangle(left, top, right + 1, bottom + 1);
    break;
  case psCircle:
    if (is3D)
      canvas.EllipseAtDepth(left, top, right, bottom, z0);
    else
      canvas.Ellipse(left, top, right, bottom);
    break;
  case psTriangle:
    triangle(bottom, top);
    break;
  case psDownTriangle:
    triangle(top, bottom);
    break;
  case psCross:
    cross();
    break;
  case psDiagCross:
    diagCross();
    break;
  case psStar:
    cross();
    diagCross();
    break;
  case psDiamond:
    if (is3D) {
      canvas.PlaneAtDepth(TPoint(left, y), TPoint(x, top), TPoint(right, y), TPoint(x, bottom), z0);
    } else {
      const std::array<TPoint, 4> points = {TPoint(left, y), TPoint(x, top), TPoint(right, y),
                                            TPoint(x, bottom)};
      canvas.Polygon(points);
    }
    break;
  case psSmallDot:
    if (is3D)
      canvas.Pixel3D(x, y, z0, color);
    else
      canvas.SetPixel(x, y, color);
    break;
  }
}

void TSeriesPointer::DrawLegendFigure(TColor color, const TRect &rect, bool withLine) {
  DrawLegendFigure(color, rect, withLine, m_style);
}

void TSeriesPointer::DrawLegendFigure(TColor color, const TRect &rect, bool withLine,
                                      TSeriesPointerStyle style) {
  PrepareCanvas(color);
  const int width = rect.Width();
  const int height = rect.Height();
  const int horizLimit = withLine ? width / 3 : width / 2 + 1;
  const int vertLimit = withLine ? height / 3 : height / 2 + 1;
  const int x = static_cast<int>((static_cast<long long>(rect.Left) + rect.Right) / 2);
  const int y = static_cast<int>((static_cast<long long>(rect.Top) + rect.Bottom) / 2);
  DrawPointer(false, x, y, std::min(m_horizSize, horizLimit), std::min(m_vertSize, vertLimit),
              color, style);
}
