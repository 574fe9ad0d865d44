#include "chartengine/series/BarSeries.h"

#include "chartengine/canvas/ChartGeometry.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"

#include <array>

const TChartComponentClass &TBarSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TBarSeries", &TCustomBarSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TBarSeries>(owner));
      });
  return cls;
}

TBarSeries::TBarSeries(TChartComponent *owner) : TCustomBarSeries(owner) {}

int TBarSeries::PointScreenX(int valueIndex) {
  return ApplyCategoryOffset(TChartSeries::PointScreenX(valueIndex), false);
}

void TBarSeries::HorizMarginsNeeded(int &left, int &right) {
  TChartSeries::HorizMarginsNeeded(left, right);
  CategoryMargins(left, right);
}

void TBarSeries::VertMarginsNeeded(int &top, int &bottom) {
  TChartSeries::VertMarginsNeeded(top, bottom);
  const int room = MarkRoom(false);
  if (room <= 0)
    return;
  const TCustomChartAxis *axis = VertAxisObject();
  const bool inverted = axis != nullptr && axis->Inverted();
  // Marks of bars below the origin hang under them.
  if (UseYOrigin() && SmallestY() < YOrigin())
    (inverted ? top : bottom) += room + 1;
  if (!(UseYOrigin() && LargestY() <= YOrigin()))
    (inverted ? bottom : top) += room + 1;
}

void TBarSeries::DrawPointMark(int valueIndex, const std::string &text,
                               TSeriesMarkPosition &position) {
  const int half = BarSize() / 2;
  position.ArrowStart.X += half;
  position.ArrowEnd.X += half;
  position.TopLeftCorner.X += half;
  const int length = Marks().ArrowLength();
  if (OriginPosition(valueIndex) < position.ArrowStart.Y) {
    position.ArrowEnd.Y += length + position.Height;
    position.TopLeftCorner.Y += length + position.Height;
  } else {
    position.ArrowEnd.Y -= length;
    position.TopLeftCorner.Y -= length;
  }
  TChartSeries::DrawPointMark(valueIndex, text, position);
}

void TBarSeries::DrawBar(int valueIndex, int start, int end) {
  TChartCanvas3D &canvas = ParentChart()->Canvas();
  const TRect &r = CurrentBarBounds();
  const int left = r.Left;
  const int right = r.Right;
  const int mid = static_cast<int>((static_cast<long long>(left) + right) >> 1);
  const bool is3D = Is3DChart();
  const int front = FrontDepth();
  const int back = BackDepth();
  switch (BarStyleOf(valueIndex)) {
  case bsRectangle:
    if (is3D)
      canvas.Box(left, right, start, end, front, back, Dark3D());
    else
      FlatBarRectangle(left, start, right, end);
    break;
  case bsPyramid:
    if (is3D) {
      canvas.Pyramid(true, left, start, right, end, front, back, Dark3D());
    } else {
      const std::array<TPoint, 3> pts = {TPoint(left, end), TPoint(mid, start), TPoint(right, end)};
      canvas.Polygon(pts);
    }
    break;
  case bsInvPyramid:
    if (is3D) {
      canvas.Pyramid(true, left, end, right, start, front, back, Dark3D());
    } else {
      const std::array<TPoint, 3> pts = {TPoint(left, start), TPoint(mid, end),
                                         TPoint(right, start)};
      canvas.Polygon(pts);
    }
    break;
  case bsCilinder:
    if (is3D)
      canvas.Cylinder(true, left, start, right, end, front, back, Dark3D());
    else
      FlatBarRectangle(left, start, right, end);
    break;
  case bsEllipse:
    if (is3D)
      canvas.EllipseAtDepth(left, start, right, end, MidDepth());
    else
      canvas.Ellipse(left, start, right, end);
    break;
  case bsArrow:
    canvas.Arrow3D(true, TPoint(mid, end), TPoint(mid, start), right - left, (right - left) / 2,
                   MidDepth());
    break;
  case bsRectGradient:
    if (is3D) {
      canvas.Box(left, right, start, end, front, back, Dark3D());
      const TView3DOptions *options = canvas.View3DOptions();
      if (options != nullptr && options->Orthogonal()) {
        const TPoint a = canvas.ProjectPoint(left, start, front);
        const TPoint b = canvas.ProjectPoint(right, end, front);
        TRect face(a.X, a.Y, b.X, b.Y);
        if (BarPen().Visible())
          face = face.Inflate(-BarPen().Width(), -BarPen().Width());
        canvas.FillGradient(face, clWhite, BarColor(), gdBottomTop);
      }
    } else {
      canvas.FillGradient(TRect(left, start, right, end), clWhite, BarColor(), gdBottomTop);
      if (BarPen().Visible()) {
        canvas.Brush().Style = bsClear;
        canvas.Rectangle(left, start, right, end);
      }
    }
    break;
  }
}

bool TBarSeries::ClickedBar(int valueIndex, const TPoint &p) {
  const TRect r = BarBounds(valueIndex);
  if (p.X < r.Left || p.X > r.Right)
    return false;
  switch (BarStyleOf(valueIndex)) {
  case bsPyramid:
    return IsInsideVertTriangle(p, r.Left, r.Right, r.Bottom, r.Top);
  case bsInvPyramid:
    return IsInsideVertTriangle(p, r.Left, r.Right, r.Top, r.Bottom);
  case bsEllipse:
    return IsInsideEllipse(p, r);
  default:
    return p.Y >= r.Top && p.Y <= r.Bottom;
  }
}

void RegisterBarSeriesType() {
  RegisterSeriesType(&TBarSeries::StaticClass(), ChartText(ctSeriesBar),
                     ChartText(ctGalleryStandard), 2);
}
