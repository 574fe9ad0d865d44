#include "chartengine/engine/CustomChartAxis.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartTextLines.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/canvas/DateTimeSteps.h"
#include "chartengine/engine/AxisIncrement.h"
#include "chartengine/engine/AxisLabelFormat.h"
#include "chartengine/engine/AxisLabelSpacing.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/ChartWalks.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "platform/Format.h"

#include <algorithm>
#include <cmath>
#include <utility>

TChartAxisSwitches &ChartAxisSwitches() {
  static TChartAxisSwitches switches;
  return switches;
}

namespace {
// The smallest range SetMinMax leaves.
constexpr double SmallestRange = 1e-10;
// Pixels on the plot side of the axis line that still hit the axis.
constexpr int HitInside = 3;
// A range of one value shows this fraction of it either side (1 either side
// of 0), or this many minutes either side of a time.
constexpr double EmptyRangeFraction = 0.01;
constexpr double EmptyRangeMinutes = 1.0;
constexpr double MinutesPerDay = 24.0 * 60.0;
// More value labels than this are measured by the two ends alone.
constexpr std::size_t MostMeasuredLabels = 4000;

bool RunsAlong(bool horizontal, int angle) {
  return horizontal ? (angle == 0 || angle == 180 || angle == 360) : (angle == 90 || angle == 270);
}

// Switches the chart's label event off while labels are measured.
class TLabelEventOff {
public:
  explicit TLabelEventOff(bool &flag) : m_flag(flag), m_old(flag) { m_flag = true; }
  ~TLabelEventOff() { m_flag = m_old; }
  TLabelEventOff(const TLabelEventOff &) = delete;
  TLabelEventOff &operator=(const TLabelEventOff &) = delete;

private:
  bool &m_flag;
  bool m_old;
};
} // namespace

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel *chart)
    : m_chart(chart), m_axisPen([this] { Repaint(); }),
      m_title(std::make_unique<TChartAxisTitle>(chart, this, 0)), m_grid([this] { Repaint(); }),
      m_labelsFont([this] { Repaint(); }), m_axisValuesFormat(ChartText(ctValueFormat)),
      m_minorTicks([this] { Repaint(); }), m_ticks([this] { Repaint(); }),
      m_ticksInner([this] { Repaint(); }) {
  if (m_chart != nullptr)
    m_chart->AddAxis(this);
}

TCustomChartAxis::~TCustomChartAxis() {
  // Series still using the axis fall back to their standard axes.
  const std::vector<TChartSeries *> users = std::move(m_customUsers);
  m_customUsers.clear();
  for (TChartSeries *series : users)
    series->CustomAxisFreed(this);
  if (m_chart != nullptr)
    m_chart->RemoveAxis(this);
}

void TCustomChartAxis::AddCustomUser(TChartSeries *series) {
  if (series != nullptr &&
      std::find(m_customUsers.begin(), m_customUsers.end(), series) == m_customUsers.end())
    m_customUsers.push_back(series);
}

void TCustomChartAxis::RemoveCustomUser(TChartSeries *series) { std::erase(m_customUsers, series); }

void TCustomChartAxis::Repaint() {
  if (m_chart != nullptr && !m_chart->Destroying())
    m_chart->RepaintChart();
}

void TCustomChartAxis::Assign(const TCustomChartAxis &s) {
  if (&s == this)
    return;
  m_automatic = s.m_automatic;
  m_automaticMaximum = s.m_automaticMaximum;
  m_automaticMinimum = s.m_automaticMinimum;
  m_increment = s.m_increment;
  m_maximum = s.m_maximum;
  m_minimum = s.m_minimum;
  m_scale.Logarithmic = s.m_scale.Logarithmic;
  m_logarithmicBase = s.m_logarithmicBase;
  m_axisPen.Assign(s.m_axisPen);
  m_title->Assign(*s.m_title);
  m_titleSize = s.m_titleSize;
  m_grid.Assign(s.m_grid);
  m_gridCentered = s.m_gridCentered;
  m_labels = s.m_labels;
  m_labelsAngle = s.m_labelsAngle;
  m_labelsFont.Assign(s.m_labelsFont);
  m_labelsOnAxis = s.m_labelsOnAxis;
  m_labelsSeparation = s.m_labelsSeparation;
  m_labelsSize = s.m_labelsSize;
  m_labelStyle = s.m_labelStyle;
  m_axisValuesFormat = s.m_axisValuesFormat;
  m_dateTimeFormat = s.m_dateTimeFormat;
  m_exactDateTime = s.m_exactDateTime;
  m_roundFirstLabel = s.m_roundFirstLabel;
  m_labelsMultiLine = s.m_labelsMultiLine;
  m_minorTickCount = s.m_minorTickCount;
  m_minorTickLength = s.m_minorTickLength;
  m_minorTicks.Assign(s.m_minorTicks);
  m_ticks.Assign(s.m_ticks);
  m_ticksInner.Assign(s.m_ticksInner);
  m_tickInnerLength = s.m_tickInnerLength;
  m_tickLength = s.m_tickLength;
  m_tickOnLabelsOnly = s.m_tickOnLabelsOnly;
  m_scale.Inverted = s.m_scale.Inverted;
  m_visible = s.m_visible;
  m_startPosition = s.m_startPosition;
  m_endPosition = s.m_endPosition;
  m_positionPercent = s.m_positionPercent;
  Repaint();
}

// ---- value <-> pixel ----------------------------------------------------------------

int TCustomChartAxis::XValueToScreen(double value) const {
  return m_depth ? PositionOf(value) : m_scale.XValueToScreen(value);
}

int TCustomChartAxis::YValueToScreen(double value) const {
  return m_depth ? PositionOf(value) : m_scale.YValueToScreen(value);
}

double TCustomChartAxis::ScreenToValue(int pixel) const { return m_scale.ScreenToValue(pixel); }

int TCustomChartAxis::PositionOf(double value) const {
  if (m_depth)
    return m_scale.DepthValueToScreen(value, m_chart != nullptr ? m_chart->DepthWidth() : 0);
  return m_scale.ValueToScreen(value);
}

// ---- range and span -----------------------------------------------------------------

void TCustomChartAxis::SetMinMax(double aMin, double aMax) {
  // An end that is not a finite number is no range.
  if (!std::isfinite(aMin))
    throw AxisException(ChartText(ctAxisMinimum));
  if (!std::isfinite(aMax))
    throw AxisException(ChartText(ctAxisMaximum));
  m_automatic = m_automaticMaximum = m_automaticMinimum = false;
  if (aMax <= aMin) {
    m_minimum = aMax;
    m_maximum = aMin;
  } else {
    m_minimum = aMin;
    m_maximum = aMax;
  }
  if (m_maximum - m_minimum < SmallestRange)
    m_maximum = m_minimum + SmallestRange;
  Repaint();
}

void TCustomChartAxis::FitRangeToSeries() {
  if (m_chart != nullptr) {
    const bool horizontal = IsHorizontal();
    if (m_automatic || m_automaticMaximum)
      m_maximum = horizontal ? m_chart->LargestX(this) : m_chart->LargestY(this);
    if (m_automatic || m_automaticMinimum)
      m_minimum = horizontal ? m_chart->SmallestX(this) : m_chart->SmallestY(this);
    WidenEmptyRange();
  }
  m_scale.Minimum = m_minimum;
  m_scale.Maximum = m_maximum;
}

void TCustomChartAxis::WidenEmptyRange() {
  const bool autoMax = m_automatic || m_automaticMaximum;
  const bool autoMin = m_automatic || m_automaticMinimum;
  if (m_depth || !(autoMax || autoMin) || m_maximum != m_minimum || !std::isfinite(m_minimum))
    return;
  // Only a range taken from points: an axis without points keeps 0 .. 0.
  bool hasPoints = false;
  for (int t = 0; t < m_chart->SeriesCount() && !hasPoints; ++t) {
    TChartSeries *s = m_chart->Series(t);
    hasPoints = s->Active() && s->IsOnAxis(this) && s->HasDrawnPoints();
  }
  if (!hasPoints)
    return;
  const double value = m_minimum;
  double low = value;
  double high = value;
  if (m_scale.Logarithmic && value > 0) {
    low = value / m_logarithmicBase;
    high = value * m_logarithmicBase;
  } else {
    double half = value == 0 ? 1.0 : std::fabs(value) * EmptyRangeFraction;
    if (ShowsDates())
      // A date alone: a day either side; a time of day: a minute either side.
      half = value == std::trunc(value) ? 1.0 : EmptyRangeMinutes / MinutesPerDay;
    low = value - half;
    high = value + half;
  }
  // Only the automatic ends move; one alone takes the whole span.
  if (autoMax && autoMin) {
    m_minimum = low;
    m_maximum = high;
  } else if (autoMax) {
    m_maximum = value + (high - low);
  } else {
    m_minimum = value - (high - low);
  }
}

void TCustomChartAxis::FitRangeToRect(const TRect &margins) {
  const bool horizontal = IsHorizontal();
  TAxisScale narrowed = m_scale;
  narrowed.StartPixel = PixelAdd(narrowed.StartPixel, horizontal ? margins.Left : margins.Top);
  narrowed.EndPixel = PixelAdd(
      narrowed.EndPixel, -static_cast<long long>(horizontal ? margins.Right : margins.Bottom));
  // Margins that leave no span would collapse the range: it stays as it is.
  if (narrowed.SpanPixels() < 1)
    return;
  const double a = narrowed.ScreenToValue(m_scale.StartPixel);
  const double b = narrowed.ScreenToValue(m_scale.EndPixel);
  // A range that would widen past the largest numbers stays as it is.
  if (!std::isfinite(a) || !std::isfinite(b))
    return;
  m_scale.Maximum = std::max(a, b);
  m_scale.Minimum = std::min(a, b);
  ComputePixelSpan();
}

void TCustomChartAxis::ComputePixelSpan() {
  if (m_chart == nullptr)
    return;
  const TRect &plot = m_chart->PlotRect();
  if (IsHorizontal())
    m_scale.SetSpan(plot.Left, m_chart->PlotWidth(), m_startPosition, m_endPosition);
  else
    m_scale.SetSpan(plot.Top, m_chart->PlotHeight(), m_startPosition, m_endPosition);
}

double TCustomChartAxis::EffectiveIncrement() {
  TAxisIncrementRequest request;
  request.Range = CurRange();
  request.Increment = m_increment;
  request.SpanPixels = SpanPixels();
  request.LabelSize = EndLabelSizeAt(0);
  request.LabelsSeparation = m_labelsSeparation;
  request.DateTime = ShowsDates();
  // Date labels are written by their step, so their room depends on it.
  if (request.DateTime && m_dateTimeFormat.empty())
    request.LabelSizeAt = [this](double step) { return EndLabelSizeAt(step); };
  request.Fits = [this](double step) { return LabelsFitAt(step); };
  m_labelStep = TAxisIncrement::Calc(request);
  return m_labelStep;
}

int TCustomChartAxis::EndLabelSizeAt(double step) {
  const bool horizontal = IsHorizontal();
  auto room = [&](double value) {
    int width = 0, height = 0;
    LabelTextSize(LabelTextAt(value, step), width, height);
    return horizontal ? width : height;
  };
  return std::max(room(CurMaximum()), room(CurMinimum()));
}

TAxisLabelRequest TCustomChartAxis::LabelRequest(double increment) const {
  TAxisLabelRequest request;
  request.Minimum = CurMinimum();
  request.Maximum = CurMaximum();
  request.Increment = increment;
  request.LabelsOnAxis = m_labelsOnAxis;
  request.RoundFirstLabel = m_roundFirstLabel;
  request.DateTime = ShowsDates();
  request.ExactDateTime = m_exactDateTime;
  request.Logarithmic = Logarithmic();
  request.LogarithmicBase = m_logarithmicBase;
  request.MinorTickCount = m_minorTickCount;
  return request;
}

TAxisLabelsFit TCustomChartAxis::LabelsFitAt(double step) {
  if (m_chart == nullptr || m_depth || Logarithmic())
    return lfApart;
  const TAxisLabelValues values = TAxisLabelGenerator(LabelRequest(step)).Generate();
  if (values.Values.empty())
    return lfNone;
  // Labels that read alike (a format too coarse for the step) say nothing.
  TAxisLabelSpacing spacing(IsHorizontal(), m_labelsSeparation);
  spacing.KeepTextsDistinct();
  for (double value : values.Values) {
    const std::string text = LabelTextAt(value, step);
    if (!spacing.Accept(LabelBox(value, text), text))
      return lfCrowded;
  }
  return lfApart;
}

TRect TCustomChartAxis::LabelBox(double value, const std::string &text) {
  const int p = PositionOf(value);
  const bool horizontal = IsHorizontal();
  const int z = m_oppositeSide && m_chart != nullptr ? m_chart->DepthWidth() : 0;
  return TextBoxAt(horizontal ? p : m_labelsPos, horizontal ? m_labelsPos : p, z, text);
}

TRect TCustomChartAxis::TextBoxAt(int x, int y, int z, const std::string &text) {
  TRect box;
  if (m_chart == nullptr || text.empty())
    return box;
  AssignTextFont(m_labelsFont.Font());
  TChartCanvas3D &canvas = m_chart->Canvas();
  const std::vector<std::string> lines = SplitTextLines(text);
  const int h = canvas.FontHeight();
  const TAxisTextPlacement placement =
      AxisTextPlacement(Side(), m_labelsAngle, h, static_cast<int>(lines.size()));
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const TPoint &offset = placement.LineOffsets[k];
    TPoint at(PixelAdd(x, offset.X), PixelAdd(y, offset.Y));
    if (m_projectLabels)
      at = canvas.ProjectPoint(at.X, at.Y, z);
    const TRect line =
        TextLineRect(at.X, at.Y, placement.Align, canvas.TextWidth(lines[k]), h, m_labelsAngle);
    if (line.IsEmpty())
      continue;
    box = box.IsEmpty() ? line : UnionRect(box, line);
  }
  return box;
}

void TCustomChartAxis::LabelTextSize(const std::string &text, int &width, int &height) {
  width = height = 0;
  if (m_chart == nullptr)
    return;
  AssignTextFont(m_labelsFont.Font());
  TChartCanvas3D &canvas = m_chart->Canvas();
  int lines = 0;
  width = MultiLineTextWidth(canvas, text, lines);
  height = lines * canvas.FontHeight();
  if (m_labelsAngle == 90 || m_labelsAngle == 270)
    std::swap(width, height);
}

int TCustomChartAxis::LabelTextWidth(double value) {
  int width = 0, height = 0;
  LabelTextSize(ValueLabelText(value), width, height);
  return width;
}

int TCustomChartAxis::LabelTextHeight(double value) {
  int width = 0, height = 0;
  LabelTextSize(ValueLabelText(value), width, height);
  return height;
}

bool TCustomChartAxis::ShowsDates() const {
  if (m_chart == nullptr)
    return false;
  TChartSeries *first = m_chart->FirstSeriesOnAxis(this);
  if (first == nullptr)
    return false;
  return IsHorizontal() ? first->XValues().DateTime() : first->YValues().DateTime();
}

bool TCustomChartAxis::IsHitOnAxis(int x, int y) const {
  if (m_chart == nullptr || !m_chart->IsAxisVisible(this))
    return false;
  const bool horizontal = IsHorizontal();
  const int along = horizontal ? x : y;
  const int across = horizontal ? y : x;
  const int start = std::min(StartPixel(), EndPixel());
  const int end = std::max(StartPixel(), EndPixel());
  const int inside = MoveOutwards(m_axisLinePos, Side(), -HitInside);
  const int low = std::min(inside, m_labelsPos);
  const int high = std::max(inside, m_labelsPos);
  return along >= start && along <= end && across >= low && across <= high;
}

// ---- label texts and styles --------------------------------------------------------------

std::string TCustomChartAxis::PlainLabelText(double value, double step) const {
  if (ShowsDates()) {
    if (value < 0)
      return {};
    const std::string format =
        m_dateTimeFormat.empty() ? DateTimeLabelFormat(step, CurRange()) : m_dateTimeFormat;
    return FormatDateTime(format, value);
  }
  if (Logarithmic())
    return LogarithmicLabelText(m_axisValuesFormat, value);
  return FormatFloat(m_axisValuesFormat, value);
}

std::string TCustomChartAxis::ValueLabelText(double value) const {
  return LabelTextAt(value, m_labelStep);
}

std::string TCustomChartAxis::LabelTextAt(double value, double step) const {
  std::string text = PlainLabelText(value, step);
  if (m_chart != nullptr && !m_labelEventOff && m_chart->OnGetAxisLabel)
    CallOut(
        [&] { m_chart->OnGetAxisLabel(const_cast<TCustomChartAxis *>(this), nullptr, -1, text); });
  if (m_labelsMultiLine)
    MarkLineBreaks(text, " ");
  return text;
}

TAxisLabelStyle TCustomChartAxis::ResolveLabelStyle() const {
  if (m_labelStyle != talAuto)
    return m_labelStyle;
  if (m_chart == nullptr)
    return talNone;
  if (m_depth) {
    for (int t = 0; t < m_chart->SeriesCount(); ++t) {
      TChartSeries *s = m_chart->Series(t);
      if (s->Active() && (s->ExcludedFromDepthTest || s->SmallestZ() != s->LargestZ()))
        return talValue;
    }
    return talText;
  }
  TAxisLabelStyle style = talNone;
  const bool horizontal = IsHorizontal();
  for (int t = 0; t < m_chart->SeriesCount(); ++t) {
    TChartSeries *s = m_chart->Series(t);
    if (!s->Active() || !s->IsOnAxis(this))
      continue;
    style = talValue;
    // Labels name the points along the axis their ordering values run on.
    const bool labelsHere = horizontal == s->MainIsY();
    if (labelsHere && s->Count() > 0 && !s->PointLabel(0).empty())
      return talText;
  }
  return style;
}

// ---- room in the chart ------------------------------------------------------------------

void TCustomChartAxis::AssignTextFont(const TFont &font) {
  if (m_chart == nullptr)
    return;
  m_chart->AssignFontToCanvas(font);
  // Printed charts are on white paper.
  TFont &canvasFont = m_chart->Canvas().Font();
  if (m_chart->Printing() && canvasFont.Color == clWhite)
    canvasFont.Color = clBlack;
}

int TCustomChartAxis::WidestLabel() {
  if (m_chart == nullptr)
    return 0;
  const TAxisLabelStyle style = ResolveLabelStyle();
  if (style == talValue) {
    const double inc = EffectiveIncrement();
    double high = CurMaximum();
    double low = CurMinimum();
    if (m_roundFirstLabel || (ShowsDates() && m_exactDateTime)) {
      auto rounded = [inc](double v) {
        const double q = v / inc;
        return std::isfinite(q) ? std::trunc(q) * inc : v;
      };
      high = rounded(high);
      low = rounded(low);
    }
    TLabelEventOff off(m_labelEventOff);
    const std::string highText = LabelTextAt(high, inc);
    const std::string lowText = LabelTextAt(low, inc);
    AssignTextFont(m_labelsFont.Font());
    TChartCanvas3D &canvas = m_chart->Canvas();
    int lines = 0;
    int widest = std::max(MultiLineTextWidth(canvas, highText, lines),
                          MultiLineTextWidth(canvas, lowText, lines));
    // Labels between the ends may be wider (powers of a logarithmic axis,
    // steps finer than the ends): every label the drawing may write counts.
    const TAxisLabelValues values = TAxisLabelGenerator(LabelRequest(inc)).Generate();
    if (values.Values.size() <= MostMeasuredLabels)
      for (double value : values.Values)
        widest = std::max(widest, MultiLineTextWidth(canvas, LabelTextAt(value, inc), lines));
    return widest + canvas.TextWidth(" ");
  }
  if (style != talText && style != talMark)
    return 0;
  AssignTextFont(m_labelsFont.Font());
  if (m_depth) {
    // The depth axis names the series at each depth.
    int widest = 0;
    for (int i = 0; i <= m_chart->DeepestIndex(); ++i)
      widest = std::max(widest, m_chart->Canvas().TextWidth(m_chart->SeriesTitleAtDepth(i)));
    return widest;
  }
  return style == talText ? m_chart->WidestSeriesTitle() : m_chart->WidestMark();
}

int TCustomChartAxis::TicksSize() const {
  int size = 0;
  if (m_axisPen.Visible())
    size += m_axisPen.Width();
  if (m_ticks.Visible())
    size += m_tickLength;
  if (m_minorTicks.Visible())
    size = std::max(size, m_minorTickLength);
  return size;
}

int TCustomChartAxis::LabelLines() {
  if (ResolveLabelStyle() != talValue)
    return 1;
  const double inc = EffectiveIncrement();
  return std::max({1, CountTextLines(LabelTextAt(CurMaximum(), inc)),
                   CountTextLines(LabelTextAt(CurMinimum(), inc))});
}

int TCustomChartAxis::LabelsRoom() {
  if (m_labelsSize != 0)
    return m_labelsSize;
  if (RunsAlong(IsHorizontal(), m_labelsAngle)) {
    // Every line of the tallest end label.
    const int lines = LabelLines();
    AssignTextFont(m_labelsFont.Font());
    return lines * m_chart->Canvas().FontHeight();
  }
  return WidestLabel();
}

int TCustomChartAxis::TitleRoom() {
  if (m_titleSize != 0)
    return m_titleSize;
  AssignTextFont(m_title->Font().Font());
  TChartCanvas3D &canvas = m_chart->Canvas();
  int lines = 0;
  const int width = MultiLineTextWidth(canvas, m_title->Caption(), lines);
  return RunsAlong(IsHorizontal(), m_title->Angle()) ? lines * canvas.FontHeight() : width;
}

void TCustomChartAxis::CalcRect(TRect &rect, bool inflate) {
  if (m_chart == nullptr)
    return;
  TAxisRoomRequest request;
  request.Side = Side();
  request.Depth = m_depth;
  request.HasTitle = !m_title->Caption().empty();
  request.TitleSize = request.HasTitle ? TitleRoom() : 0;
  request.Labels = m_labels;
  request.LabelsSize = m_labels ? LabelsRoom() : 0;
  request.TicksSize = TicksSize();
  request.ExtraMargin = ChartAxisSwitches().ExtraAxisMargin;
  request.PositionPercent = m_positionPercent;
  const TAxisRoom room = inflate ? ShrinkForAxis(rect, request) : PlaceAlongRect(rect, request);
  rect = room.Rect;
  m_axisLinePos = room.AxisLinePos;
  m_labelsPos = room.LabelsPos;
  m_titlePos = room.TitlePos;
}

void TCustomChartAxis::EndLabelsReach(int &before, int &after) {
  before = after = 0;
  if (m_chart == nullptr || !m_labels || m_depth)
    return;
  const TAxisLabelStyle style = ResolveLabelStyle();
  if (style != talValue && style != talText && style != talMark)
    return;
  const bool horizontal = IsHorizontal();
  const double inc = style == talValue ? EffectiveIncrement() : 0.0;
  // A label's box as written at an anchor on the axis, at any angle and of
  // any number of lines.
  auto extent = [&](const std::string &text) {
    const TRect box =
        TextBoxAt(horizontal ? 0 : m_labelsPos, horizontal ? m_labelsPos : 0, 0, text);
    TLabelExtent e;
    if (!box.IsEmpty()) {
      e.Before = std::max(0, horizontal ? -box.Left : -box.Top);
      e.After = std::max(0, horizontal ? box.Right : box.Bottom);
    }
    return e;
  };
  if (style != talValue) {
    SeriesEndLabelsReach(style, extent, before, after);
    return;
  }
  // The maximum sits at the right end of a horizontal axis, at the top of a
  // vertical one (the other way round when inverted).
  const bool maxFirst = horizontal == Inverted();
  before = extent(LabelTextAt(maxFirst ? CurMaximum() : CurMinimum(), inc)).Before;
  after = extent(LabelTextAt(maxFirst ? CurMinimum() : CurMaximum(), inc)).After;
}

void TCustomChartAxis::SeriesEndLabelsReach(
    TAxisLabelStyle style, const std::function<TLabelExtent(const std::string &)> &extent,
    int &before, int &after) {
  // The labels of the points nearest to the two ends, as the drawing writes
  // them: at each index the first series on the axis that has the point.
  // The label handlers may take series away or free them: the series are
  // held as places in a walk, which blanks them.
  TCustomAxisPanel::TSeriesWalk walk(*m_chart);
  std::vector<std::size_t> labelSeries;
  int count = 0;
  for (std::size_t t = 0; t < walk.Series.size(); ++t) {
    TChartSeries *s = walk.Series[t];
    if (s->Active() && s->IsOnAxis(this) && s->Count() > 0) {
      labelSeries.push_back(t);
      count = std::max(count, s->Count());
    }
  }
  const bool horizontal = IsHorizontal();
  const int low = std::min(StartPixel(), EndPixel());
  const int high = std::max(StartPixel(), EndPixel());
  std::size_t firstPlace = 0, lastPlace = 0;
  int firstIndex = -1, lastIndex = -1, firstPixel = 0, lastPixel = 0;
  for (int index = 0; index < count; ++index) {
    TChartSeries *s = nullptr;
    std::size_t place = 0;
    for (std::size_t candidate : labelSeries)
      if (walk.Series[candidate]->Count() > index) {
        s = walk.Series[candidate];
        place = candidate;
        break;
      }
    const double value = horizontal ? s->XValues().Value(index) : s->YValues().Value(index);
    if (!(value >= CurMinimum() && value <= CurMaximum()))
      continue;
    const int p = PositionOf(value);
    if (firstIndex < 0 || p < firstPixel) {
      firstPlace = place;
      firstIndex = index;
      firstPixel = p;
    }
    if (lastIndex < 0 || p > lastPixel) {
      lastPlace = place;
      lastIndex = index;
      lastPixel = p;
    }
  }
  if (firstIndex < 0)
    return;
  // How far the label of a point reaches past its end of the axis; nothing
  // when its series went away (or lost the point) before it was written.
  const auto reach = [&](std::size_t place, int index, int room, bool atStart) {
    TChartSeries *s = walk.WithPoint(place, index);
    if (s == nullptr)
      return 0;
    std::string label = style == talMark ? s->MarkText(index) : s->PointLabel(index);
    if (m_chart->OnGetAxisLabel && walk.WithPoint(place, index) != nullptr)
      CallOut([&] { m_chart->OnGetAxisLabel(this, s, index, label); });
    if (walk.WithPoint(place, index) == nullptr)
      return 0;
    const TLabelExtent e = extent(label);
    return std::max(0, (atStart ? e.Before : e.After) - room);
  };
  before = reach(firstPlace, firstIndex, firstPixel - low, true);
  after = reach(lastPlace, lastIndex, high - lastPixel, false);
}

// ---- properties ---------------------------------------------------------------------------

void TCustomChartAxis::SetAutomatic(bool value) {
  if (m_automatic != value) {
    m_automatic = value;
    Repaint();
  }
  if (!m_loading) {
    Store(m_automaticMaximum, value);
    Store(m_automaticMinimum, value);
  }
}

void TCustomChartAxis::SetAutomaticEnd(bool &end, bool otherEnd, bool value) {
  Store(end, value);
  if (!value)
    Store(m_automatic, false);
  else if (otherEnd)
    Store(m_automatic, true);
}

void TCustomChartAxis::SetAutomaticMaximum(bool value) {
  SetAutomaticEnd(m_automaticMaximum, m_automaticMinimum, value);
}

void TCustomChartAxis::SetAutomaticMinimum(bool value) {
  SetAutomaticEnd(m_automaticMinimum, m_automaticMaximum, value);
}

void TCustomChartAxis::SetIncrement(double value) {
  if (!(value >= 0))
    throw AxisException(ChartText(ctAxisIncrement));
  Store(m_increment, value);
}

void TCustomChartAxis::SetMaximum(double value) {
  if (!std::isfinite(value) || (!m_loading && !(value >= m_minimum)))
    throw AxisException(ChartText(ctAxisMaximum));
  Store(m_maximum, value);
}

void TCustomChartAxis::SetMinimum(double value) {
  if (!std::isfinite(value) || (!m_loading && !(value <= m_maximum)))
    throw AxisException(ChartText(ctAxisMinimum));
  Store(m_minimum, value);
}

void TCustomChartAxis::SetLogarithmic(bool value) {
  if (value && ShowsDates())
    throw AxisException(ChartText(ctDateTimeLogarithmic));
  if (value && (CurMinimum() < 0 || CurMaximum() < 0))
    throw AxisException(ChartText(ctLogarithmicMinMax));
  Store(m_scale.Logarithmic, value);
}

void TCustomChartAxis::SetLogarithmicBase(int value) {
  if (value < 2)
    throw AxisException(ChartText(ctAxisLogBase));
  Store(m_logarithmicBase, value);
}

void TCustomChartAxis::SetInverted(bool value) { Store(m_scale.Inverted, value); }

void TCustomChartAxis::SetLabelsAngle(int value) {
  ValidateAngle(value, ChartText(ctAxisLabels));
  Store(m_labelsAngle, value);
}

void TCustomChartAxis::SetLabelsSeparation(int value) {
  if (value < 0)
    throw AxisException(ChartText(ctLabelsSeparation));
  Store(m_labelsSeparation, value);
}

bool TCustomChartAxis::IsAxisValuesFormatStored() const {
  return m_axisValuesFormat != ChartText(ctValueFormat);
}

void TCustomChartAxis::SetHorizontal(bool value) {
  m_scale.Horizontal = value;
  UpdateTitleAngle();
}

void TCustomChartAxis::SetOppositeSide(bool value) {
  m_oppositeSide = value;
  UpdateTitleAngle();
}

void TCustomChartAxis::UpdateTitleAngle() {
  const int angle = IsHorizontal() ? 0 : (m_oppositeSide ? 270 : 90);
  if (m_title->Angle() == m_title->DefaultAngle())
    m_title->SetAngle(angle);
  m_title->SetDefaultAngle(angle);
}

TAxisSide TCustomChartAxis::Side() const {
  if (m_depth)
    return asRight;
  if (IsHorizontal())
    return m_oppositeSide ? asTop : asBottom;
  return m_oppositeSide ? asRight : asLeft;
}

void TCustomChartAxis::DrawAxis(bool calcPosAxis) { InternalDrawAxis(calcPosAxis); }
