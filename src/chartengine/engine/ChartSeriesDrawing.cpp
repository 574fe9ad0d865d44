// Visible range, drawing hooks, marks, legend symbols and texts, depth and clicks.
#include "chartengine/canvas/ChartBrushRoutines.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartTextLines.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/ChartWalks.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "platform/Format.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {
// The first index from start on whose value is at least value, in a list
// read in ascending order; the list's count when there is none.
int FirstAtLeast(const TChartValueList &list, double value, int start) {
  int low = start;
  int high = list.Count();
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (list.Value(mid) < value)
      low = mid + 1;
    else
      high = mid;
  }
  return low;
}
} // namespace

// ---- visible range -------------------------------------------------------------

TCustomChartAxis *TChartSeries::OrderingAxis(bool &horizontal) const {
  horizontal = const_cast<TChartSeries *>(this)->MainIsY();
  return horizontal ? HorizAxisObject() : VertAxisObject();
}

void TChartSeries::FindVisibleRange() {
  m_firstVisibleIndex = m_lastVisibleIndex = -1;
  const int count = Count();
  if (count == 0)
    return;
  bool horizontal = true;
  const TCustomChartAxis *axis = OrderingAxis(horizontal);
  const TChartValueList &order = horizontal ? *m_xValues : *m_yValues;
  // Unordered (or descending) points can lie anywhere: all of them are walked.
  if (!LimitRangeToAxis || order.Order() != loAscending || axis == nullptr) {
    m_firstVisibleIndex = 0;
    m_lastVisibleIndex = count - 1;
    return;
  }
  const TRect &plot = m_parentChart->PlotRect();
  int lowPixel = horizontal ? plot.Left : plot.Bottom;
  int highPixel = horizontal ? plot.Right : plot.Top;
  if (axis->Inverted())
    std::swap(lowPixel, highPixel);
  const double low = axis->ScreenToValue(lowPixel);
  const double high = axis->ScreenToValue(highPixel);

  const int first = FirstAtLeast(order, low, 0);
  if (first >= count)
    return;
  m_firstVisibleIndex = first;
  if (high < order.FinalValue()) {
    int last = FirstAtLeast(order, high, first);
    if (!KeepTrailingPoint && order.Value(last) > high)
      --last;
    m_lastVisibleIndex = last;
  } else {
    m_lastVisibleIndex = count - 1;
  }
}

// ---- drawing ----------------------------------------------------------------------

void TChartSeries::DrawAllPoints() {
  if (m_firstVisibleIndex < 0)
    return;
  if (PointsDrawForward())
    for (int t = m_firstVisibleIndex; t <= m_lastVisibleIndex; ++t)
      DrawPoint(t);
  else
    for (int t = m_lastVisibleIndex; t >= m_firstVisibleIndex; --t)
      DrawPoint(t);
}

void TChartSeries::DrawPoint(int) {}

void TChartSeries::DrawPointMark(int valueIndex, const std::string &text,
                                 TSeriesMarkPosition &position) {
  m_marks->DrawPointMark(valueIndex, PointColor(valueIndex), text, position);
}

void TChartSeries::DrawAllMarks() {
  if (m_parentChart == nullptr || m_firstVisibleIndex < 0)
    return;
  TChartCanvas3D &canvas = m_parentChart->Canvas();
  const TFont measuring = m_marks->DrawingFont();
  const TFont drawing = m_marks->Font().Font();
  const int frame = m_marks->Frame().Visible() ? 2 * m_marks->Frame().Width() : 0;
  // In a flat view a mark far outside the drawing cannot show.
  const bool cull = !canvas.Is3D();
  const TRect bounds = m_parentChart->PanelBounds();
  // The text handlers may take this series away or free it: the marks end.
  TCustomAxisPanel::TSeriesWalk walk(*m_parentChart);
  const int place = m_parentChart->IndexOfSeries(this);
  // The bound is read again after each text: a handler may remove points.
  for (int t = m_firstVisibleIndex; t <= m_lastVisibleIndex && t < Count(); ++t) {
    if (PointColor(t) == clNone)
      continue;
    const std::string text = MarkText(t);
    if (place >= 0 && walk.Series[static_cast<std::size_t>(place)] == nullptr)
      return;
    if (t >= Count())
      return;
    if (text.empty())
      continue;
    canvas.Font() = measuring;
    int lines = 0;
    const int width = MultiLineTextWidth(canvas, text, lines) + canvas.TextWidth("W") + frame;
    const int height = canvas.FontHeight() * lines + frame;
    canvas.Font() = drawing;

    TSeriesMarkPosition position;
    const int x = PointScreenX(t);
    const int y = PointScreenY(t);
    position.ArrowStart = position.ArrowEnd = TPoint(x, y);
    position.TopLeftCorner = TPoint(x - width / 2, y - height + 1);
    position.Width = width;
    position.Height = height;
    const TSeriesMarkPosition *stored = m_marks->Positions().Position(t);
    if (cull && (stored == nullptr || !stored->PlacedByHand)) {
      const int reach = std::abs(m_marks->ArrowLength()) + width + height;
      if (IntersectRect(position.MarkBounds().Inflate(reach, reach), bounds).IsEmpty())
        continue;
    }
    DrawPointMark(t, text, position);
  }
}

void TChartSeries::FireBeforeDrawValues() {
  if (BeforeDrawValues)
    CallOutBetweenSteps([&] { BeforeDrawValues(this); });
}

void TChartSeries::FireAfterDrawValues() {
  if (AfterDrawValues)
    CallOutBetweenSteps([&] { AfterDrawValues(this); });
}

void TChartSeries::HorizMarginsNeeded(int &left, int &right) { left = right = 0; }
void TChartSeries::VertMarginsNeeded(int &top, int &bottom) { top = bottom = 0; }

// ---- texts ------------------------------------------------------------------------

std::string TChartSeries::PercentText(double value, bool magnitude) {
  const double total = MainValueList().SumOfMagnitudes();
  const double percent =
      total == 0 ? 100.0 : (magnitude ? std::fabs(value) : value) * 100.0 / total;
  return FormatFloat(m_percentFormat, percent);
}

bool TChartSeries::StaysThrough(const std::function<void()> &fn) {
  if (m_parentChart == nullptr) {
    fn();
    return true;
  }
  TCustomAxisPanel::TSeriesWalk walk(*m_parentChart);
  const int place = m_parentChart->IndexOfSeries(this);
  fn();
  return place < 0 || walk.Series[static_cast<std::size_t>(place)] != nullptr;
}

std::string TChartSeries::XValueText(int valueIndex) {
  const TCustomChartAxis *axis = HorizAxisObject();
  const double x = PointX(valueIndex);
  return axis != nullptr ? axis->ValueLabelText(x) : FormatFloat(m_valueFormat, x);
}

std::string TChartSeries::MarkText(int valueIndex) {
  const double value = MarkValueOf(valueIndex);
  const std::string valueText = FormatFloat(m_valueFormat, value);
  std::string label = PointLabel(valueIndex);
  if (label.empty())
    label = valueText;
  auto percentTotal = [&] {
    return ChartTextFormat(
        ctPercentOf,
        {PercentText(value, true), FormatFloat(m_valueFormat, MainValueList().SumOfMagnitudes())});
  };
  std::string text;
  switch (m_marks->Style()) {
  case smsValue:
    text = valueText;
    break;
  case smsPercent:
    text = PercentText(value, true);
    break;
  case smsLabel:
    text = label;
    break;
  case smsLabelPercent:
    text = label + " " + PercentText(value, true);
    break;
  case smsLabelValue:
    text = label + " " + valueText;
    break;
  case smsLegend:
    if (m_parentChart != nullptr &&
        !StaysThrough([&] { text = m_parentChart->LegendValueText(this, valueIndex); }))
      return text;
    break;
  case smsPercentTotal:
    text = percentTotal();
    break;
  case smsLabelPercentTotal:
    text = label + " " + percentTotal();
    break;
  case smsXValue:
    if (!StaysThrough([&] { text = XValueText(valueIndex); }))
      return text;
    break;
  }
  if (OnGetMarkText)
    CallOut([&] { OnGetMarkText(this, valueIndex, text); });
  return text;
}

std::string TChartSeries::LegendTextOf(int legendIndex, TLegendTextStyle style) {
  const int valueIndex = LegendItemToPoint(legendIndex);
  const std::string label = PointLabel(valueIndex);
  if (style == ltsPlain)
    return label;
  if (style == ltsXValue)
    return XValueText(valueIndex);
  const double value = MarkValueOf(valueIndex);
  const std::string valueText = FormatFloat(m_valueFormat, value);
  switch (style) {
  case ltsLeftValue:
    return valueText + " " + label;
  case ltsRightValue:
    return label + " " + valueText;
  case ltsLeftPercent:
    return PercentText(value, false) + " " + label;
  case ltsRightPercent:
    return label + " " + PercentText(value, false);
  default:
    return label;
  }
}

// ---- legend symbol ----------------------------------------------------------------

void TChartSeries::DrawLegendSymbol(int valueIndex, const TRect &rect) {
  if ((valueIndex == -1 && m_colorEachPoint) || m_parentChart == nullptr)
    return;
  TChartCanvas3D &canvas = m_parentChart->Canvas();
  const TColor color = valueIndex == -1 ? m_seriesColor : LegendColorOf(valueIndex);
  if (color == clNone)
    return;
  canvas.Brush().Color = color;
  TColor back = m_parentChart->LegendColor();
  TBrushStyle style = bsSolid;
  SetUpLegendCanvas(valueIndex, back, style);
  if (back == clTeeColor) {
    back = m_parentChart->LegendColor();
    if (back == clTeeColor)
      back = m_parentChart->Color();
  }
  SetBrushWithBackground(canvas, color, style, back);
  DrawLegendFigure(valueIndex, rect);
}

void TChartSeries::DrawLegendFigure(int, const TRect &rect) {
  TChartCanvas3D &canvas = m_parentChart->Canvas();
  canvas.RectangleOfRect(rect);
  const TColor legendColor = m_parentChart->LegendColor();
  if (canvas.Brush().Color == legendColor) {
    // A symbol in the legend's own colour keeps an outline.
    canvas.Brush().Style = bsClear;
    if (legendColor == clBlack)
      canvas.Pen().Color = clWhite;
    canvas.RectangleOfRect(rect);
    canvas.Pen().Color = clBlack;
  }
}

void TChartSeries::SetUpLegendCanvas(int, TColor &, TBrushStyle &) {}

// ---- depth ------------------------------------------------------------------------

void TChartSeries::AssignDepthIndex() {
  if (m_parentChart == nullptr)
    return;
  if (m_depthIndex == -1) {
    if (!m_parentChart->View3D()) {
      m_computedDepth = 0;
    } else {
      m_parentChart->SetDeepestIndex(m_parentChart->DeepestIndex() + 1);
      m_computedDepth = m_parentChart->DeepestIndex();
    }
  } else {
    m_parentChart->SetDeepestIndex(std::max(m_parentChart->DeepestIndex(), m_depthIndex));
  }
}

bool TChartSeries::SharesDepthWithOthers() {
  if (m_parentChart == nullptr)
    return false;
  for (int t = 0; t < m_parentChart->SeriesCount(); ++t) {
    TChartSeries *s = m_parentChart->Series(t);
    if (s != this && s->Active() && !s->ExcludedFromDepthTest && s->DepthIndex() == DepthIndex())
      return true;
  }
  return false;
}

// ---- clicks -----------------------------------------------------------------------

bool TChartSeries::FireSeriesClick(int valueIndex, TMouseButton button, TShiftState shift, int x,
                                   int y) {
  bool cancel = false;
  // The handler may free this series: afterwards only the chart is asked.
  TCustomAxisPanel *chart = m_parentChart;
  auto setCancel = [&](bool value) {
    cancel = value;
    if (chart != nullptr)
      chart->SetCancelMouse(value);
  };
  setCancel(false);
  const TSeriesClick *handler = nullptr;
  if ((shift & ssDouble) != 0 && OnDblClick)
    handler = &OnDblClick;
  else if (OnClick)
    handler = &OnClick;
  if (handler != nullptr) {
    setCancel(true);
    (*handler)(this, valueIndex, button, shift, x, y);
  }
  return chart != nullptr ? chart->CancelMouse() : cancel;
}
