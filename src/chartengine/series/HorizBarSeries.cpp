#include "chartengine/series/HorizBarSeries.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartGeometry.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"

#include <array>

const TChartComponentClass &THorizBarSeries::StaticClass() {
  static const TChartComponentClass cls(
      "THorizBarSeries", &TCustomBarSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<THorizBarSeries>(owner));
      });
  return cls;
}

THorizBarSeries::THorizBarSeries(TChartComponent *owner) : TCustomBarSeries(owner) {
  // The base named the Y list; the bar lengths are the X list here.
  YValues().SetName(ChartText(ctValuesY));
  XValues().SetName(ChartText(ctValuesBar));
  XValues().SetOrder(loNone);
}

int THorizBarSeries::PointScreenY(int valueIndex) {
  return ApplyCategoryOffset(TChartSeries::PointScreenY(valueIndex), true);
}

void THorizBarSeries::HorizMarginsNeeded(int &left, int &right) {
  TChartSeries::HorizMarginsNeeded(left, right);
  const int room = MarkRoom(true);
  if (room <= 0)
    return;
  const TCustomChartAxis *axis = HorizAxisObject();
  const bool inverted = axis != nullptr && axis->Inverted();
  if (UseYOrigin() && SmallestX() < YOrigin())
    left += room + 1;
  if (!(UseYOrigin() && LargestX() <= YOrigin()))
    (inverted ? left : right) += room + 1;
}

void THorizBarSeries::VertMarginsNeeded(int &top, int &bottom) {
  TChartSeries::VertMarginsNeeded(top, bottom);
  CategoryMargins(top, bottom);
}

void THorizBarSeries::DrawPointMark(int valueIndex, const std::string &text,
                                    TSeriesMarkPosition &position) {
  const int length = Marks().ArrowLength();
  const int shift =
      OriginPosition(valueIndex) > position.ArrowStart.X ? -(length + position.Width) : length;
  position.ArrowEnd.X += shift;
  position.TopLeftCorner.X += shift + position.Width / 2;
  const int half = BarSize() / 2;
  position.ArrowStart.Y += half;
  position.ArrowEnd.Y += half;
  position.TopLeftCorner.Y += half + position.Height / 2;
  TChartSeries::DrawPointMark(valueIndex, text, position);
}

void THorizBarSeries::FillSampleValues(int numValues) {
  if (numValues < 1)
    throw BarException(ChartText(ctFillSample));
  Clear();
  const TCustomChartAxis *axis = VertAxisObject();
  double y = axis != nullptr ? axis->Minimum() : 0.0;
  double x = 1000 + ChartRandom(1000);
  for (int t = 0; t < numValues; ++t) {
    x += ChartRandom(500) - 250;
    AppendPoint(x, y, {}, clTeeColor);
    y += 1;
  }
  NotifyValueChange(snRefresh, -1);
}

void THorizBarSeries::DrawBar(int valueIndex, int start, int end) {
  TChartCanvas3D &canvas = ParentChart()->Canvas();
  const TRect &r = CurrentBarBounds();
  const int top = r.Top;
  const int bottom = r.Bottom;
  const int mid = static_cast<int>((static_cast<long long>(top) + bottom) >> 1);
  const bool is3D = Is3DChart();
  const int front = FrontDepth();
  const int back = BackDepth();
  // Pyramids point to the value end of a bar growing rightward.
  switch (BarStyleOf(valueIndex)) {
  case bsRectangle:
    if (is3D)
      canvas.Box(start, end, top, bottom, front, back, Dark3D());
    else
      FlatBarRectangle(start, top, end, bottom);
    break;
  case bsPyramid:
    if (is3D) {
      canvas.Pyramid(false, start, top, end, bottom, front, back, Dark3D());
    } else {
      const std::array<TPoint, 3> pts = {TPoint(start, top), TPoint(end, mid),
                                         TPoint(start, bottom)};
      canvas.Polygon(pts);
    }
    break;
  case bsInvPyramid:
    if (is3D) {
      canvas.Pyramid(false, end, top, start, bottom, front, back, Dark3D());
    } else {
      const std::array<TPoint, 3> pts = {TPoint(end, top), TPoint(start, mid), TPoint(end, bottom)};
      canvas.Polygon(pts);
    }
    break;
  case bsCilinder:
    if (is3D)
      canvas.Cylinder(false, start, top, end, bottom, front, back, Dark3D());
    else
      FlatBarRectangle(start, top, end, bottom);
    break;
  case bsEllipse:
    if (is3D)
      canvas.EllipseAtDepth(start, top, end, bottom, MidDepth());
    else
      canvas.Ellipse(start, top, end, bottom);
    break;
  case bsArrow:
    canvas.Arrow3D(true, TPoint(start, mid), TPoint(end, mid), bottom - top, (bottom - top) / 2,
                   MidDepth());
    break;
  case bsRectGradient:
    if (is3D) {
      canvas.Box(start, end, top, bottom, front, back, Dark3D());
      const TView3DOptions *options = canvas.View3DOptions();
      if (options != nullptr && options->Orthogonal()) {
        const TPoint a = canvas.ProjectPoint(start, top, front);
        const TPoint b = canvas.ProjectPoint(end, bottom, front);
        TRect face(a.X, a.Y, b.X, b.Y);
        if (BarPen().Visible())
          face = face.Inflate(-BarPen().Width(), -BarPen().Width());
        canvas.FillGradient(face, clWhite, BarColor(), gdLeftRight);
      }
    } else {
      canvas.FillGradient(TRect(start, top, end, bottom), clWhite, BarColor(), gdLeftRight);
      if (BarPen().Visible()) {
        canvas.Brush().Style = bsClear;
        canvas.Rectangle(start, top, end, bottom);
      }
    }
    break;
  }
}

bool THorizBarSeries::ClickedBar(int valueIndex, const TPoint &p) {
  const TRect r = BarBounds(valueIndex);
  if (p.Y < r.Top || p.Y > r.Bottom)
    return false;
  switch (BarStyleOf(valueIndex)) {
  case bsPyramid:
    return IsInsideHorizTriangle(p, r.Top, r.Bottom, r.Left, r.Right);
  case bsInvPyramid:
    return IsInsideHorizTriangle(p, r.Top, r.Bottom, r.Right, r.Left);
  case bsEllipse:
    return IsInsideEllipse(p, r);
  default:
    return p.X >= r.Left && p.X <= r.Right;
  }
}

void RegisterHorizBarSeriesType() {
  RegisterSeriesType(&THorizBarSeries::StaticClass(), ChartText(ctSeriesHorizBar),
                     ChartText(ctGalleryStandard), 2);
}
