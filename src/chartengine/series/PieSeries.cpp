#include "chartengine/series/PieSeries.h"

#include "chartengine/canvas/ChartBrushRoutines.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/ChartTextLines.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/engine/ChartWalks.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "platform/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <numeric>

namespace {
constexpr double TwoPi = 2 * std::numbers::pi;
// A flat slice whose ends meet is drawn only when it spans at least this
// many radians: then it is (almost) the whole circle.
constexpr double WholeCircleSpan = 1.0;
// A circle smaller than this (either way) draws no slices.
constexpr int MinCircleSize = 5;
constexpr int PieSampleLabelCount = 8;
constexpr int PieSampleMaxValue = 1000;
constexpr int PieMarksArrowLength = 8;
constexpr int PieSample3DPercent = 75;

// Holds the chart's repaint requests: changes made while a drawing prepares
// itself must not ask for another drawing.
class HeldRepaints {
public:
  explicit HeldRepaints(TCustomAxisPanel *chart)
      : m_chart(chart), m_created(chart != nullptr && chart->IsCreated()) {
    if (m_chart != nullptr)
      m_chart->SetCreated(false);
  }
  HeldRepaints(const HeldRepaints &) = delete;
  HeldRepaints &operator=(const HeldRepaints &) = delete;
  ~HeldRepaints() {
    if (m_chart != nullptr)
      m_chart->SetCreated(m_created);
  }

private:
  TCustomAxisPanel *m_chart;
  bool m_created;
};
} // namespace

// ---- exploded slices and the other slice ------------------------------------------

int TExplodedSlices::Value(int index) const {
  if (index < 0 || index >= Count())
    return 0;
  return m_values[static_cast<std::size_t>(index)];
}

void TExplodedSlices::SetValue(int index, int value) {
  if (index < 0)
    return;
  if (index >= Count())
    m_values.resize(static_cast<std::size_t>(index) + 1, 0);
  int &slot = m_values[static_cast<std::size_t>(index)];
  if (slot == value)
    return;
  slot = value;
  if (m_owner != nullptr)
    m_owner->Repaint();
}

void TExplodedSlices::Exchange(int a, int b, int count) {
  if (Count() < count)
    m_values.resize(static_cast<std::size_t>(count), 0);
  if (a < 0 || b < 0 || a >= Count() || b >= Count())
    return;
  std::swap(m_values[static_cast<std::size_t>(a)], m_values[static_cast<std::size_t>(b)]);
}

TPieOtherSlice::TPieOtherSlice(TChartSeries *owner)
    : m_text(ChartText(ctPieOther)), m_owner(owner) {}

void TPieOtherSlice::Assign(const TPieOtherSlice &source) {
  m_style = source.m_style;
  m_text = source.m_text;
  m_value = source.m_value;
  Changed();
}

void TPieOtherSlice::Changed() {
  if (m_owner != nullptr)
    m_owner->Repaint();
}

void TPieOtherSlice::SetStyle(TPieOtherStyle value) {
  if (m_style != value) {
    m_style = value;
    Changed();
  }
}
void TPieOtherSlice::SetText(const std::string &value) {
  if (m_text != value) {
    m_text = value;
    Changed();
  }
}
void TPieOtherSlice::SetValue(double value) {
  if (m_value != value) {
    m_value = value;
    Changed();
  }
}

// ---- the pie ----------------------------------------------------------------------

const TChartComponentClass &TPieSeries::StaticClass() {
  static const TChartComponentClass cls(
      "TPieSeries", &TCircledSeries::StaticClass(), [](TChartComponent *owner) {
        return std::unique_ptr<TChartComponent>(std::make_unique<TPieSeries>(owner));
      });
  return cls;
}

TPieSeries::TPieSeries(TChartComponent *owner)
    : TCircledSeries(owner), m_exploded(this),
      m_piePen(std::make_unique<TChartPen>([this] { StyleChanged(); })),
      m_otherSlice(std::make_unique<TPieOtherSlice>(this)) {
  XValues().SetName(std::string());
  YValues().SetName(ChartText(ctValuesPie));
  Marks().SetVisible(true);
  Marks().SetArrowLength(PieMarksArrowLength);
  SetColorEachPoint(true);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::Assign(TChartSeries &source) {
  if (auto *s = dynamic_cast<TPieSeries *>(&source); s != nullptr && s != this) {
    m_dark3D = s->m_dark3D;
    m_usePatterns = s->m_usePatterns;
    m_piePen->Assign(*s->m_piePen);
    m_explodeBiggest = s->m_explodeBiggest;
    m_otherSlice->Assign(*s->m_otherSlice);
  }
  TCircledSeries::Assign(source);
  SetColorEachPoint(true);
}

bool TPieSeries::IsGrouped(int valueIndex) const {
  return valueIndex >= 0 && valueIndex < Count() && XValues().Value(valueIndex) == GroupedPointX;
}

bool TPieSeries::IsOtherPoint(int valueIndex) const {
  return valueIndex >= 0 && valueIndex < Count() && XValues().Value(valueIndex) == OtherPointX;
}

// ---- properties -------------------------------------------------------------------

void TPieSeries::SetDark3D(bool value) {
  if (m_dark3D != value) {
    m_dark3D = value;
    Repaint();
  }
}

void TPieSeries::SetUsePatterns(bool value) {
  if (m_usePatterns != value) {
    m_usePatterns = value;
    Repaint();
  }
}

void TPieSeries::SetExplodeBiggest(int value) {
  m_explodeBiggest = value;
  ApplyExplodeBiggest();
}

void TPieSeries::ApplyExplodeBiggest() {
  if (Count() == 0)
    return;
  int biggest = 0;
  for (int t = 1; t < Count(); ++t)
    if (PieValues().Value(t) > PieValues().Value(biggest))
      biggest = t;
  m_exploded.SetValue(biggest, m_explodeBiggest);
}

// ---- the other slice --------------------------------------------------------------

void TPieSeries::FireBeforeDrawChart() {
  HeldRepaints held(ParentChart());
  if (PieValues().Order() != loNone)
    PieValues().Sort();
  for (int t = Count() - 1; t >= 0; --t)
    if (XValues().Value(t) == OtherPointX)
      Delete(t);
  for (int t = 0; t < Count(); ++t)
    if (XValues().Value(t) != t)
      XValues().SetValue(t, t);
  m_otherSum = 0.0;
  const TPieOtherSlice &other = *m_otherSlice;
  if (other.Style() == poNone)
    return;
  const double total = PieValues().SumOfMagnitudes();
  // Percentages of nothing group nothing.
  if (other.Style() == poBelowPercent && total == 0)
    return;
  for (int t = 0; t < Count(); ++t) {
    const double value = PieValues().Value(t);
    const double compared = other.Style() == poBelowPercent ? value * 100.0 / total : value;
    if (compared < other.Value()) {
      m_otherSum += value;
      XValues().SetValue(t, GroupedPointX);
    }
  }
  if (m_otherSum != 0)
    AppendPoint(OtherPointX, m_otherSum, other.Text(), clTeeColor);
}

double TPieSeries::PieTotal() const {
  double total = 0.0;
  for (int t = 0; t < Count(); ++t)
    if (!IsGrouped(t))
      total += std::fabs(YValues().Value(t));
  return total;
}

// ---- layout -----------------------------------------------------------------------

void TPieSeries::CalcAngles() {
  m_angles.assign(static_cast<std::size_t>(Count()), TPieAngle());
  const double total = PieTotal();
  const double factor = total == 0 ? 0.0 : TwoPi / total;
  double sum = 0.0;
  double previousEnd = 0.0;
  for (int t = 0; t < Count(); ++t) {
    TPieAngle &a = m_angles[static_cast<std::size_t>(t)];
    a.StartAngle = t == 0 ? 0.0 : previousEnd;
    if (total == 0) {
      a.EndAngle = TwoPi;
    } else {
      if (!IsGrouped(t))
        sum += std::fabs(PieValues().Value(t));
      a.EndAngle = sum == total ? TwoPi : sum * factor;
    }
    if (a.EndAngle - a.StartAngle > TwoPi)
      a.EndAngle = a.StartAngle + TwoPi;
    a.MidAngle = (a.StartAngle + a.EndAngle) * 0.5;
    previousEnd = a.EndAngle;
  }
}

TPoint TPieSeries::ExplodeOffset(int valueIndex) const {
  const int percent = m_exploded.Value(valueIndex);
  if (!m_isExploded || percent <= 0 || valueIndex >= static_cast<int>(m_angles.size()))
    return TPoint(0, 0);
  const double a = m_angles[static_cast<std::size_t>(valueIndex)].MidAngle + RotationRadians();
  return TPoint(PixelRound(XRadius() * 0.01 * percent * std::cos(a)),
                PixelRound(YRadius() * 0.01 * percent * std::sin(a)));
}

void TPieSeries::LayoutCircle() {
  TCircledSeries::LayoutCircle();
  CalcAngles();
  if (m_explodeBiggest > 0) {
    HeldRepaints held(ParentChart());
    ApplyExplodeBiggest();
  }
  m_isExploded = false;
  int most = -1;
  for (int t = 0; t < Count(); ++t)
    if (m_exploded.Value(t) > 0 && (most < 0 || m_exploded.Value(t) > m_exploded.Value(most)))
      most = t;
  if (most < 0)
    return;
  m_isExploded = true;
  // The circle shrinks so that the slice pulled out farthest stays inside.
  const TPoint offset = ExplodeOffset(most);
  const int dx = std::abs(offset.X) / 2;
  const int dy = std::abs(offset.Y) / 2;
  const TRect &r = CircleRect();
  PlaceCircle(TRect(r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy));
}

std::vector<int> TPieSeries::DrawingOrder() const {
  std::vector<int> order(m_angles.size());
  std::iota(order.begin(), order.end(), 0);
  if (!m_isExploded || !Is3DChart())
    return order;
  // Far side (the top of the screen, pi / 2) first.
  std::vector<double> distance(order.size());
  for (std::size_t t = 0; t < order.size(); ++t) {
    double a = std::fmod(m_angles[t].MidAngle + RotationRadians(), TwoPi);
    if (a < 0)
      a += TwoPi;
    double d = std::fabs(a - std::numbers::pi / 2);
    if (d > std::numbers::pi)
      d = TwoPi - d;
    distance[t] = d;
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return distance[a] < distance[b]; });
  return order;
}

// ---- drawing ----------------------------------------------------------------------

void TPieSeries::DrawAllPoints() {
  for (int t : DrawingOrder())
    DrawPoint(t);
}

TColor TPieSeries::SliceBackColor() const {
  if (CircleBackColor() != clTeeColor)
    return CircleBackColor();
  const TCustomAxisPanel *chart = ParentChart();
  if (const auto *full = dynamic_cast<const TCustomChart *>(chart);
      full != nullptr && full->BackColor() != clTeeColor)
    return full->BackColor();
  return chart->Color();
}

void TPieSeries::DrawPoint(int valueIndex) {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr || valueIndex < 0 || valueIndex >= static_cast<int>(m_angles.size()) ||
      valueIndex >= Count())
    return;
  if (CircleWidth() < MinCircleSize || CircleHeight() < MinCircleSize || IsGrouped(valueIndex))
    return;
  const TColor color = PointColor(valueIndex);
  if (color == clNone)
    return;
  TChartCanvas3D &canvas = chart->Canvas();
  canvas.Brush().Bitmap.reset();
  SetBrushWithBackground(canvas, color, m_usePatterns ? HatchPatternFor(valueIndex) : bsSolid,
                         SliceBackColor());
  canvas.AssignChartPen(*m_piePen);
  const TPoint offset = ExplodeOffset(valueIndex);
  const TPieAngle &a = m_angles[static_cast<std::size_t>(valueIndex)];
  if (Is3DChart()) {
    const int dx = canvas.QueryA() ? -offset.X : offset.X;
    canvas.PieSlice3D(PixelAdd(CircleXCenter(), dx), PixelAdd(CircleYCenter(), -offset.Y),
                      XRadius(), YRadius(), FrontDepth(), BackDepth(),
                      a.StartAngle + RotationRadians(), a.EndAngle + RotationRadians(), m_dark3D,
                      m_isExploded);
    return;
  }
  const TPoint start = AngleToPos(a.StartAngle, XRadius(), YRadius());
  const TPoint end = AngleToPos(a.EndAngle, XRadius(), YRadius());
  if (start == end && Count() > 1 && a.EndAngle - a.StartAngle < WholeCircleSpan)
    return;
  const TRect &r = CircleRect();
  const int dx = offset.X;
  const int dy = -offset.Y;
  canvas.Pie(PixelAdd(r.Left, dx), PixelAdd(r.Top, dy), PixelAdd(r.Right, dx),
             PixelAdd(r.Bottom, dy), PixelAdd(start.X, dx), PixelAdd(start.Y, dy),
             PixelAdd(end.X, dx), PixelAdd(end.Y, dy));
}

int TPieSeries::PointScreenX(int valueIndex) {
  // The "Other" slice gathers points: it has no screen X of its own.
  if (valueIndex < 0 || valueIndex >= static_cast<int>(m_angles.size()) || IsGrouped(valueIndex) ||
      IsOtherPoint(valueIndex))
    return 0;
  const TPieAngle &a = m_angles[static_cast<std::size_t>(valueIndex)];
  return PixelAdd(AngleToPos(a.MidAngle, XRadius(), YRadius()).X, ExplodeOffset(valueIndex).X);
}

int TPieSeries::PointScreenY(int valueIndex) {
  if (valueIndex < 0 || valueIndex >= static_cast<int>(m_angles.size()) || IsGrouped(valueIndex))
    return 0;
  const TPieAngle &a = m_angles[static_cast<std::size_t>(valueIndex)];
  return PixelAdd(AngleToPos(a.MidAngle, XRadius(), YRadius()).Y, -ExplodeOffset(valueIndex).Y);
}

// ---- marks ------------------------------------------------------------------------

std::string TPieSeries::PercentText(double value, bool magnitude) const {
  const double total = PieTotal();
  const double percent =
      total == 0 ? 100.0 : (magnitude ? std::fabs(value) : value) * 100.0 / total;
  return FormatFloat(PercentFormat(), percent);
}

std::string TPieSeries::SliceMarkText(int valueIndex) {
  const TSeriesMarksStyle style = Marks().Style();
  const bool percents = style == smsPercent || style == smsLabelPercent ||
                        style == smsPercentTotal || style == smsLabelPercentTotal;
  // Without grouping the list's own total is the pie's.
  if (m_otherSum == 0 || !percents)
    return MarkText(valueIndex);
  const double value = MarkValueOf(valueIndex);
  std::string label = PointLabel(valueIndex);
  if (label.empty())
    label = FormatFloat(ValueFormat(), value);
  const std::string percent = PercentText(value, true);
  const std::string percentTotal =
      ChartTextFormat(ctPercentOf, {percent, FormatFloat(ValueFormat(), PieTotal())});
  std::string text;
  switch (style) {
  case smsPercent:
    text = percent;
    break;
  case smsLabelPercent:
    text = label + " " + percent;
    break;
  case smsPercentTotal:
    text = percentTotal;
    break;
  default:
    text = label + " " + percentTotal;
    break;
  }
  if (OnGetMarkText)
    CallOut([&] { OnGetMarkText(this, valueIndex, text); });
  return text;
}

void TPieSeries::DrawPointMark(int valueIndex, const std::string &text,
                               TSeriesMarkPosition &position) {
  TCustomAxisPanel *chart = ParentChart();
  if (chart == nullptr || IsGrouped(valueIndex) || valueIndex >= static_cast<int>(m_angles.size()))
    return;
  TChartCanvas3D &canvas = chart->Canvas();
  std::string shown = text;
  if (m_otherSum != 0) {
    shown = SliceMarkText(valueIndex);
    if (shown.empty())
      return;
    if (shown != text) {
      const TFont drawing = canvas.Font();
      canvas.Font() = Marks().DrawingFont();
      const int frame = Marks().Frame().Visible() ? 2 * Marks().Frame().Width() : 0;
      int lines = 0;
      position.Width = MultiLineTextWidth(canvas, shown, lines) + canvas.TextWidth("W") + frame;
      position.Height = canvas.FontHeight() * lines + frame;
      canvas.Font() = drawing;
    }
  }
  const TPoint offset = ExplodeOffset(valueIndex);
  const double mid = m_angles[static_cast<std::size_t>(valueIndex)].MidAngle;
  const int length = Marks().ArrowLength();
  const TPoint edge = AngleToPos(mid, XRadius(), YRadius());
  const TPoint outer = AngleToPos(mid, PixelAdd(XRadius(), canvas.TextWidth("W") + length),
                                  PixelAdd(YRadius(), canvas.FontHeight() + length));
  position.ArrowStart = TPoint(PixelAdd(edge.X, offset.X), PixelAdd(edge.Y, -offset.Y));
  position.ArrowEnd = TPoint(PixelAdd(outer.X, offset.X), PixelAdd(outer.Y, -offset.Y));
  const TPoint &end = position.ArrowEnd;
  position.TopLeftCorner = TPoint(
      end.X <= CircleXCenter() ? PixelAdd(end.X, -static_cast<long long>(position.Width)) : end.X,
      end.Y <= CircleYCenter() ? PixelAdd(end.Y, -static_cast<long long>(position.Height)) : end.Y);
  Marks().SetZPosition(BackDepth());
  TChartSeries::DrawPointMark(valueIndex, shown, position);
}

// ---- clicks -----------------------------------------------------------------------

int TPieSeries::PointAtPosition(int x, int y) {
  const int inherited = TChartSeries::PointAtPosition(x, y);
  if (inherited != -1)
    return inherited;
  if (ParentChart() == nullptr)
    return -1;
  ParentChart()->Canvas().UnprojectPoint(x, y, 0);
  const double angle = PointToAngle(x, y);
  const int n = std::min(Count(), static_cast<int>(m_angles.size()));
  for (int t = 0; t < n; ++t) {
    if (IsGrouped(t))
      continue;
    const TPoint offset = ExplodeOffset(t);
    const long long reachX = static_cast<long long>(XRadius()) + std::abs(offset.X);
    const long long reachY = static_cast<long long>(YRadius()) + std::abs(offset.Y);
    const TPieAngle &a = m_angles[static_cast<std::size_t>(t)];
    if (std::llabs(static_cast<long long>(x) - CircleXCenter()) < reachX &&
        std::llabs(static_cast<long long>(y) - CircleYCenter()) < reachY && a.StartAngle <= angle &&
        angle <= a.EndAngle)
      return t;
  }
  return -1;
}

// ---- legend -----------------------------------------------------------------------

int TPieSeries::LegendItemCount() {
  int count = 0;
  for (int t = 0; t < Count(); ++t)
    if (!IsGrouped(t))
      ++count;
  return count;
}

int TPieSeries::LegendItemToPoint(int legendIndex) {
  int seen = 0;
  for (int t = 0; t < Count(); ++t) {
    if (IsGrouped(t))
      continue;
    if (seen == legendIndex)
      return t;
    ++seen;
  }
  return -1;
}

std::string TPieSeries::LegendTextOf(int legendIndex, TLegendTextStyle style) {
  if (m_otherSum == 0 || (style != ltsLeftPercent && style != ltsRightPercent))
    return TCircledSeries::LegendTextOf(legendIndex, style);
  const int valueIndex = LegendItemToPoint(legendIndex);
  const std::string label = PointLabel(valueIndex);
  const std::string percent = PercentText(MarkValueOf(valueIndex), false);
  return style == ltsLeftPercent ? percent + " " + label : label + " " + percent;
}

void TPieSeries::SetUpLegendCanvas(int valueIndex, TColor &backColor, TBrushStyle &brushStyle) {
  TCircledSeries::SetUpLegendCanvas(valueIndex, backColor, brushStyle);
  if (m_usePatterns)
    brushStyle = HatchPatternFor(valueIndex);
}

// ---- points -----------------------------------------------------------------------

void TPieSeries::ClearLists() {
  TCircledSeries::ClearLists();
  m_exploded.Clear();
}

void TPieSeries::ExchangePoints(int a, int b) {
  TCircledSeries::ExchangePoints(a, b);
  m_exploded.Exchange(a, b, Count());
}

void TPieSeries::FillSampleValues(int numValues) {
  if (numValues < 1)
    throw ChartException(ChartText(ctFillSample));
  Clear();
  for (int t = 0; t < numValues; ++t)
    Add(ChartRandom(PieSampleMaxValue) + 1, ChartText(ctSampleCars + t % PieSampleLabelCount));
  NotifyValueChange(snRefresh, -1);
}

void TPieSeries::PrepareSample(bool enabled) {
  TCircledSeries::PrepareSample(enabled);
  FillSampleValues(PieSampleLabelCount);
  if (TCustomAxisPanel *chart = ParentChart()) {
    chart->SetChart3DPercent(PieSample3DPercent);
    SetCircled(!chart->View3D());
    SetPieView();
  }
  SetColorEachPoint(enabled);
}

void RegisterPieSeriesType() {
  RegisterSeriesType(&TPieSeries::StaticClass(), ChartText(ctSeriesPie),
                     ChartText(ctGalleryStandard), 1);
}
