#include "chartengine/series/CircledSeries.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <numbers>

namespace {
// The view pies are shown in.
constexpr int PieViewRotation = 0;
constexpr int PieViewElevation = 305;
// The view the chart takes while it shows circled series.
constexpr int PieLookRotation = 360;
constexpr int PieLookElevation = 315;
} // namespace

const TChartComponentClass &TCircledSeries::StaticClass() {
  // A base class: made only through the pie.
  static const TChartComponentClass cls("TCircledSeries", &TChartSeries::StaticClass(), nullptr);
  return cls;
}

TCircledSeries::TCircledSeries(TChartComponent *owner)
    : TChartSeries(owner), m_circleBackColor(clTeeColor) {
  // A circle shows every point.
  LimitRangeToAxis = false;
  XValues().SetName(ChartText(ctValuesAngle));
}

TCircledSeries::~TCircledSeries() {
  if (ParentChart() != nullptr)
    SetParentChart(nullptr);
}

void TCircledSeries::Assign(TChartSeries &source) {
  if (auto *s = dynamic_cast<TCircledSeries *>(&source); s != nullptr && s != this) {
    m_circled = s->m_circled;
    m_rotationAngle = s->m_rotationAngle;
    m_rotationRadians = s->m_rotationRadians;
    m_customXRadius = s->m_customXRadius;
    m_customYRadius = s->m_customYRadius;
    m_circleBackColor = s->m_circleBackColor;
  }
  TChartSeries::Assign(source);
}

// ---- chart look ---------------------------------------------------------------------

void TCircledSeries::SetChartLook(bool enable) {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr || chart->Destroying())
    return;
  if (enable) {
    // The pie look stays while other circled series, and only those, remain.
    bool othersCircled = false;
    bool allCircled = true;
    for (int t = 0; t < chart->SeriesCount(); ++t) {
      TChartSeries *s = chart->Series(t);
      if (s == this)
        continue;
      if (dynamic_cast<TCircledSeries *>(s) != nullptr)
        othersCircled = true;
      else
        allCircled = false;
    }
    if (othersCircled && allCircled)
      return;
  }
  chart->SetAxisVisible(enable);
  chart->SetClipPoints(enable);
  chart->SetView3DWalls(enable);
  if (auto *full = dynamic_cast<TCustomChart *>(chart)) {
    full->Frame().SetVisible(enable);
    full->BackWall().Brush().SetStyle(enable ? bsSolid : bsClear);
    full->SetAllowZoom(enable);
    full->SetAllowPanning(enable ? pmBoth : pmNone);
  }
  if (!chart->Canvas().QueryA()) {
    TView3DOptions &options = chart->View3DOptions();
    options.SetOrthogonal(false);
    options.SetRotation(PieLookRotation);
    options.SetElevation(PieLookElevation);
    options.SetPerspective(0);
    options.SetTilt(0);
  }
}

void TCircledSeries::SetParentChart(TCustomAxisPanel *value) {
  if (value == ParentChart())
    return;
  // The chart left gets its look back while this series is still in it.
  if (ParentChart() != nullptr)
    SetChartLook(true);
  TChartSeries::SetParentChart(value);
  if (value != nullptr)
    SetChartLook(!Active());
}

void TCircledSeries::SetActive(bool value) {
  TChartSeries::SetActive(value);
  SetChartLook(!Active());
}

void TCircledSeries::SetPieView() {
  if (TCustomAxisPanel *chart = ParentChart()) {
    TView3DOptions &options = chart->View3DOptions();
    options.SetOrthogonal(false);
    options.SetRotation(PieViewRotation);
    options.SetElevation(PieViewElevation);
  }
}

void TCircledSeries::ChangeView3D(bool is3D) {
  TChartSeries::ChangeView3D(is3D);
  SetPieView();
}

// ---- ranges and legend ------------------------------------------------------------

double TCircledSeries::LargestX() {
  const TCustomChartAxis *axis = HorizAxisObject();
  return axis != nullptr ? axis->Maximum() : 0.0;
}
double TCircledSeries::SmallestX() {
  const TCustomChartAxis *axis = HorizAxisObject();
  return axis != nullptr ? axis->Minimum() : 0.0;
}
double TCircledSeries::LargestY() {
  const TCustomChartAxis *axis = VertAxisObject();
  return axis != nullptr ? axis->Maximum() : 0.0;
}
double TCircledSeries::SmallestY() {
  const TCustomChartAxis *axis = VertAxisObject();
  return axis != nullptr ? axis->Minimum() : 0.0;
}

void TCircledSeries::SetUpLegendCanvas(int, TColor &backColor, TBrushStyle &) {
  backColor = m_circleBackColor;
}

// ---- properties -------------------------------------------------------------------

template <typename Fn> void TCircledSeries::ForEachOfClassOrAncestor(Fn fn) {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr)
    return;
  for (int t = 0; t < chart->SeriesCount(); ++t) {
    auto *circled = dynamic_cast<TCircledSeries *>(chart->Series(t));
    if (circled != nullptr && circled != this && ClassType().InheritsFrom(&circled->ClassType()))
      fn(*circled);
  }
}

void TCircledSeries::SetCircled(bool value) {
  if (m_circled != value) {
    m_circled = value;
    Repaint();
  }
  ForEachOfClassOrAncestor([&](TCircledSeries &s) { s.m_circled = value; });
}

void TCircledSeries::SetCustomXRadius(int value) {
  if (m_customXRadius != value) {
    m_customXRadius = value;
    Repaint();
  }
  ForEachOfClassOrAncestor([&](TCircledSeries &s) { s.m_customXRadius = value; });
}

void TCircledSeries::SetCustomYRadius(int value) {
  if (m_customYRadius != value) {
    m_customYRadius = value;
    Repaint();
  }
  ForEachOfClassOrAncestor([&](TCircledSeries &s) { s.m_customYRadius = value; });
}

void TCircledSeries::SetRotationAngle(int value) {
  if (value < 0)
    throw PieException(ChartTextFormat(ctAngle, {ChartText(ctPieRotation)}));
  value %= 360;
  if (m_rotationAngle == value)
    return;
  m_rotationAngle = value;
  m_rotationRadians = value * std::numbers::pi / 180.0;
  Repaint();
}

void TCircledSeries::SetCircleBackColor(TColor value) {
  if (m_circleBackColor != value) {
    m_circleBackColor = value;
    Repaint();
  }
}

// ---- circle -----------------------------------------------------------------------

bool TCircledSeries::Is3DChart() const {
  return ParentChart() != nullptr && ParentChart()->View3D();
}

double TCircledSeries::AspectRatioOf(int pixelWidth, int pixelHeight, double mmWidth,
                                     double mmHeight) {
  if (pixelWidth <= 0 || pixelHeight <= 0 || !(mmWidth > 0) || !(mmHeight > 0))
    return 1.0;
  const double pixels = static_cast<double>(pixelWidth) / pixelHeight;
  const double millimetres = mmWidth / mmHeight;
  return pixels / millimetres;
}

double TCircledSeries::ScreenAspectRatio() {
  const QScreen *screen = QGuiApplication::primaryScreen();
  if (screen == nullptr)
    return 1.0;
  const QSize pixels = screen->size();
  const QSizeF millimetres = screen->physicalSize();
  return AspectRatioOf(pixels.width(), pixels.height(), millimetres.width(), millimetres.height());
}

TRect TCircledSeries::Normalised(TRect r) {
  if ((static_cast<long long>(r.Right) - r.Left) % 2 != 0)
    --r.Right;
  if ((static_cast<long long>(r.Bottom) - r.Top) % 2 != 0)
    --r.Bottom;
  if (static_cast<long long>(r.Right) - r.Left < 4)
    r.Right = PixelAdd(r.Left, 4);
  if (static_cast<long long>(r.Bottom) - r.Top < 4)
    r.Bottom = PixelAdd(r.Top, 4);
  return r;
}

void TCircledSeries::PlaceCircle(TRect rect) {
  rect = Normalised(rect);
  m_circleWidth = rect.Right - rect.Left;
  m_circleHeight = rect.Bottom - rect.Top;
  m_xCenter = static_cast<int>((static_cast<long long>(rect.Left) + rect.Right) >> 1);
  m_yCenter = static_cast<int>((static_cast<long long>(rect.Top) + rect.Bottom) >> 1);
  m_xRadius = m_customXRadius != 0 ? m_customXRadius : m_circleWidth / 2;
  m_yRadius = m_customYRadius != 0 ? m_customYRadius : m_circleHeight / 2;
  m_circleWidth = static_cast<int>(std::min(2LL * m_xRadius, 2147483646LL));
  m_circleHeight = static_cast<int>(std::min(2LL * m_yRadius, 2147483646LL));
  m_circleRect = TRect(PixelAdd(m_xCenter, -static_cast<long long>(m_xRadius)),
                       PixelAdd(m_yCenter, -static_cast<long long>(m_yRadius)),
                       PixelAdd(m_xCenter, m_xRadius), PixelAdd(m_yCenter, m_yRadius));
}

void TCircledSeries::LayoutCircle() {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr)
    return;
  TRect rect = Normalised(chart->PlotRect());
  if (Marks().Visible()) {
    TChartCanvas3D &canvas = chart->Canvas();
    const TFont saved = canvas.Font();
    canvas.Font() = Marks().DrawingFont();
    long long room = Marks().ArrowLength();
    if (Marks().Frame().Visible())
      room += 2LL * Marks().Frame().Width();
    const long long vertical = canvas.FontHeight() + room;
    const long long horizontal = canvas.TextWidth("W") + chart->WidestMark() + room;
    canvas.Font() = saved;
    rect.Top = PixelAdd(rect.Top, vertical);
    rect.Bottom = PixelAdd(rect.Bottom, -vertical);
    rect.Left = PixelAdd(rect.Left, horizontal);
    rect.Right = PixelAdd(rect.Right, -horizontal);
    rect = Normalised(rect);
  }
  if (m_circled) {
    const double aspect = ScreenAspectRatio();
    PlaceCircle(rect);
    const int wanted = PixelRound(m_yRadius * aspect);
    if (m_xRadius > wanted) {
      const long long d = static_cast<long long>(m_xRadius) - wanted;
      rect.Left = PixelAdd(rect.Left, d);
      rect.Right = PixelAdd(rect.Right, -d);
    } else {
      const long long d = static_cast<long long>(m_yRadius) - PixelRound(m_xRadius / aspect);
      rect.Top = PixelAdd(rect.Top, d);
      rect.Bottom = PixelAdd(rect.Bottom, -d);
    }
  }
  PlaceCircle(rect);
}

void TCircledSeries::FireBeforeDrawValues() {
  LayoutCircle();
  TChartSeries::FireBeforeDrawValues();
}

TPoint TCircledSeries::AngleToPos(double angle, int xRadius, int yRadius) const {
  const double a = m_rotationRadians + angle;
  return TPoint(PixelAdd(m_xCenter, PixelRound(std::cos(a) * xRadius)),
                PixelAdd(m_yCenter, -static_cast<long long>(PixelRound(std::sin(a) * yRadius))));
}

double TCircledSeries::PointToAngle(int x, int y) const {
  constexpr double twoPi = 2 * std::numbers::pi;
  double angle;
  if (x == m_xCenter) {
    angle = y <= m_yCenter ? std::numbers::pi / 2 : -std::numbers::pi / 2;
  } else if (m_yRadius == 0 || m_xRadius == 0) {
    angle = 0.0;
  } else {
    angle = std::atan2((static_cast<double>(m_yCenter) - y) / m_yRadius,
                       (static_cast<double>(x) - m_xCenter) / m_xRadius);
  }
  if (angle < 0)
    angle += twoPi;
  angle -= m_rotationRadians;
  if (angle < 0)
    angle += twoPi;
  return angle;
}
