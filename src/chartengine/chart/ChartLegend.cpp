#include "chartengine/chart/ChartLegend.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartTexts.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/ChartWalks.h"

#include <algorithm>

TCustomChartLegend::TCustomChartLegend(TCustomChart *chart)
    : TChartFontObject(chart), m_chart(chart), m_brush([this] { Repaint(); }),
      m_dividingLines([this] { Repaint(); }), m_frame([this] { Repaint(); }) {}

template <typename T> void TCustomChartLegend::Store(T &field, const T &value) {
  if (field != value) {
    field = value;
    Repaint();
  }
}

void TCustomChartLegend::Assign(const TCustomChartLegend &s) {
  if (&s == this)
    return;
  SetVisible(s.m_visible);
  SetLegendStyle(s.m_legendStyle);
  SetFirstValue(s.m_firstValue);
  SetAlignment(s.m_alignment);
  SetTextStyle(s.m_textStyle);
  SetColorWidth(s.m_colorWidth);
  SetHorizMargin(s.m_horizMargin);
  SetVertMargin(s.m_vertMargin);
  SetResizeChart(s.m_resizeChart);
  SetInverted(s.m_inverted);
  SetTopPos(s.m_topPos);
  SetColor(s.m_color);
  m_frame.Assign(s.m_frame);
  SetMaxNumRows(s.m_maxNumRows);
  m_brush.Assign(s.m_brush);
  TChartFontObject::Assign(s);
}

// ---- properties ---------------------------------------------------------------------

void TCustomChartLegend::SetAlignment(TLegendAlignment value) { Store(m_alignment, value); }
void TCustomChartLegend::SetColor(TColor value) { Store(m_color, value); }

void TCustomChartLegend::SetColorWidth(int value) {
  if (value < 0 || value > 100)
    throw LegendException(ChartText(ctLegendColorWidth));
  Store(m_colorWidth, value);
}

void TCustomChartLegend::SetFirstValue(int value) {
  if (value < 0)
    throw LegendException(ChartText(ctLegendFirstValue));
  Store(m_firstValue, value);
}

void TCustomChartLegend::SetHorizMargin(int value) { Store(m_horizMargin, value); }
void TCustomChartLegend::SetInverted(bool value) { Store(m_inverted, value); }

void TCustomChartLegend::SetLegendStyle(TLegendStyle value) {
  Store(m_legendStyle, value);
  ResolveStyle();
}

void TCustomChartLegend::SetMaxNumRows(int value) { Store(m_maxNumRows, value); }
void TCustomChartLegend::SetResizeChart(bool value) { Store(m_resizeChart, value); }
void TCustomChartLegend::SetShadowColor(TColor value) { Store(m_shadowColor, value); }
void TCustomChartLegend::SetShadowSize(int value) { Store(m_shadowSize, value); }
void TCustomChartLegend::SetTextStyle(TLegendTextStyle value) { Store(m_textStyle, value); }

void TCustomChartLegend::SetTopPos(int value) {
  if (value < 0 || value > 100)
    throw LegendException(ChartText(ctLegendTopPos));
  Store(m_topPos, value);
}

void TCustomChartLegend::SetVertMargin(int value) { Store(m_vertMargin, value); }
void TCustomChartLegend::SetVisible(bool value) { Store(m_visible, value); }

// ---- items --------------------------------------------------------------------------

void TCustomChartLegend::ResolveStyle() {
  m_resolvedStyle = m_legendStyle;
  if (m_legendStyle == lsAuto)
    m_resolvedStyle = m_chart->ActiveSeriesCount() < 2 ? lsValues : lsSeries;
}

int TCustomChartLegend::TotalItems() {
  int items = 0;
  if (m_resolvedStyle == lsValues) {
    for (int t = 0; t < m_chart->SeriesCount(); ++t) {
      TChartSeries *s = m_chart->GetSeries(t);
      if (s->Active()) {
        if (s->ShowInLegend())
          items = s->LegendItemCount();
        break;
      }
    }
  } else {
    for (int t = 0; t < m_chart->SeriesCount(); ++t) {
      const TChartSeries *s = m_chart->GetSeries(t);
      if (s->Active() && s->ShowInLegend())
        ++items;
    }
  }
  return std::max(0, items - m_firstValue);
}

int TCustomChartLegend::MaxLegendTextWidth(int count) {
  TChartCanvas3D &canvas = m_chart->Canvas();
  int widest = 0;
  // A text handler that frees, removes or empties a series starts the walk
  // over on what is left.
  RunWalk([&] {
    widest = 0;
    const int items = count == -1 ? TotalItems() : count;
    for (int t = 0; t < items; ++t)
      widest = std::max(widest, canvas.TextWidth(m_chart->LegendItemText(m_firstValue + t)));
  });
  return widest;
}

int TCustomChartLegend::ShowableAcross() {
  // A column is at least this wide: the symbol's and text's gaps (Paint).
  const long long narrowestColumn = 8;
  const long long columns = std::max<long long>(1, m_chart->PlotWidth() / narrowestColumn);
  const long long rows = std::max(0, m_maxNumRows);
  return static_cast<int>(std::min<long long>(TotalItems(), columns * rows));
}

int TCustomChartLegend::FrameWidth() const { return m_frame.Visible() ? m_frame.Width() : 0; }

int TCustomChartLegend::FitItemCount(int start, int itemSize) {
  if (itemSize < 1)
    return 0;
  const TRect &plot = m_chart->PlotRect();
  const int fw = m_frame.Width();
  long long room = IsVertical()
                       ? static_cast<long long>(m_chart->PlotHeight()) - 2LL * fw - start + plot.Top
                       : static_cast<long long>(m_chart->PlotWidth()) - 2LL * fw - start;
  if (room <= 0)
    return 0;
  return static_cast<int>(std::min<long long>(room / itemSize, TotalItems()));
}

TChartSeries *TCustomChartLegend::SymbolSeries(int index) const {
  if (m_resolvedStyle == lsValues) {
    for (int t = 0; t < m_chart->SeriesCount(); ++t)
      if (m_chart->GetSeries(t)->Active())
        return m_chart->GetSeries(t);
    return nullptr;
  }
  return m_chart->ActiveLegendSeries(index);
}

// ---- drawing ------------------------------------------------------------------------

void TCustomChartLegend::PaintLegend() {
  TCustomChart &chart = *m_chart;
  TChartCanvas3D &canvas = chart.Canvas();
  ResolveStyle();
  chart.SetLegendColor(m_color);
  chart.AssignFontToCanvas(Font().Font());
  const int h = canvas.FontHeight();
  m_itemHeight = h;

  // A legend measures only the items it can show: one at the side the rows
  // it shows, one across the top or bottom at most MaxNumRows rows of as
  // many columns as the plot's width could hold (a series of many points in
  // the values style would otherwise measure every value).
  const bool across = m_alignment == laTop || m_alignment == laBottom;
  int textW = across ? MaxLegendTextWidth(ShowableAcross()) + 4 : 0;
  m_symbolWidth = PixelRound(m_colorWidth * textW * 0.01);
  const int total = TotalItems();
  const int fw = m_frame.Width();
  const bool frameVisible = m_frame.Visible();
  const TRect plot = chart.PlotRect();
  const TRect bounds = chart.PanelBounds();

  auto setUpGrid = [&] {
    m_columnCount = FitItemCount(8, textW + m_symbolWidth + 8);
    if (m_columnCount >= 1)
      m_rowCount = std::min((total + m_columnCount - 1) / m_columnCount, m_maxNumRows);
    else
      m_rowCount = 0;
    m_rowCount = std::max(m_rowCount, 0);
  };

  TRect r;
  switch (m_alignment) {
  case laTop:
    r.Top = plot.Top + (frameVisible ? fw + 1 : 0);
    setUpGrid();
    r.Bottom = r.Top + 2 + m_rowCount * h;
    break;
  case laBottom:
    r.Bottom = plot.Bottom - m_shadowSize - (frameVisible ? fw + 1 : 0);
    setUpGrid();
    r.Top = r.Bottom - 2 - m_rowCount * h;
    break;
  case laLeft:
  case laRight:
    r.Top = PixelRound(m_topPos * bounds.Height() * 0.01) + bounds.Top;
    m_columnCount = 1;
    m_rowCount = FitItemCount(r.Top, h);
    r.Bottom = r.Top + 2 + m_rowCount * h;
    break;
  }

  int xSymbol = 0, xText = 0, items = 0;
  switch (m_alignment) {
  case laLeft:
    textW = MaxLegendTextWidth(m_rowCount);
    r.Left = plot.Left + (frameVisible ? fw + 1 : 0);
    xSymbol = r.Left + 4;
    m_symbolWidth = PixelRound((textW + 10) * m_colorWidth * 0.01);
    xText = xSymbol + m_symbolWidth + 4;
    r.Right = xText + textW + 2;
    items = m_rowCount;
    break;
  case laRight:
    textW = MaxLegendTextWidth(m_rowCount);
    r.Right = plot.Right - (frameVisible ? fw + 1 : 0) - m_shadowSize;
    xText = r.Right - textW - 2;
    m_symbolWidth = PixelRound((textW + 10) * m_colorWidth * 0.01);
    xSymbol = xText - m_symbolWidth - 4;
    r.Left = xSymbol - 4;
    items = m_rowCount;
    break;
  case laTop:
  case laBottom: {
    const long long wanted =
        2LL * m_shadowSize + static_cast<long long>(m_symbolWidth + textW + 4) * m_columnCount + 8;
    const int w = static_cast<int>(std::min<long long>(chart.PlotWidth(), wanted));
    const int shift = PixelRound(m_topPos * (bounds.Width() - w) * 0.01);
    r.Left = chart.PlotXCenter() - w / 2 + shift;
    r.Right = chart.PlotXCenter() + w / 2 + shift;
    xSymbol = r.Left + 4;
    xText = xSymbol + m_symbolWidth + 4;
    items = m_columnCount * m_rowCount;
    break;
  }
  }
  m_frameRect = r;
  if (chart.OnGetLegendRect)
    CallOut([&] { chart.OnGetLegendRect(&chart, m_frameRect); });
  if (items <= 0)
    return;

  // Frame and shadow.
  const TRect fr = m_frameRect;
  canvas.AssignChartPen(m_frame);
  if (m_frame.Color() == clTeeColor)
    canvas.Pen().Color = clBlack;
  TRect box = fr;
  int shadowOffset = m_shadowSize - 1;
  if (frameVisible) {
    box = fr.Inflate(fw, fw);
    shadowOffset = m_shadowSize + fw + (fw - 1) / 2;
  }
  if (m_shadowSize > 0) {
    const TPen pen = canvas.Pen();
    canvas.Brush() = TBrush{m_shadowColor, bsSolid, nullptr};
    canvas.FillRect(TRect(fr.Left + m_shadowSize, fr.Top + m_shadowSize, fr.Right + shadowOffset,
                          fr.Bottom + shadowOffset));
    canvas.Pen() = pen;
  }
  const TBrush &own = m_brush.Brush();
  if (own.Bitmap != nullptr) {
    canvas.Brush() = own;
  } else if (own.Style != bsSolid) {
    canvas.Brush() = TBrush{own.Color == clTeeColor ? clBlack : own.Color, own.Style, nullptr};
    canvas.SetBackMode(OPAQUE);
    canvas.SetBackColor(m_color);
  } else {
    canvas.Brush() = TBrush{m_color, bsSolid, nullptr};
  }
  canvas.RectangleOfRect(box);

  canvas.Pen() = TPen{m_color != clBlack ? clBlack : clWhite, 1, psSolid, pmCopy};

  const int last = std::min(total, items) + m_firstValue - 1;
  int position = 0;
  if (m_inverted)
    for (int i = last; i >= m_firstValue; --i)
      DrawItem(i, position++, xText, xSymbol, textW, h);
  else
    for (int i = m_firstValue; i <= last; ++i)
      DrawItem(i, position++, xText, xSymbol, textW, h);

  TRect p = chart.PlotRect();
  if (m_resizeChart) {
    switch (m_alignment) {
    case laLeft:
      p.Left = m_frameRect.Right;
      break;
    case laRight:
      p.Right = m_frameRect.Left;
      break;
    case laTop:
      p.Top = m_frameRect.Bottom + m_shadowSize;
      break;
    case laBottom:
      p.Bottom = m_frameRect.Top;
      break;
    }
  }
  const int horiz = m_horizMargin != 0 ? m_horizMargin : MulDiv(3, chart.PlotWidth(), 100);
  const int vert = m_vertMargin != 0 ? m_vertMargin : MulDiv(4, chart.PlotHeight(), 100);
  switch (m_alignment) {
  case laLeft:
    p.Left += horiz;
    break;
  case laRight:
    p.Right -= horiz;
    break;
  case laTop:
    p.Top += vert;
    break;
  case laBottom:
    p.Bottom -= vert;
    break;
  }
  chart.SetPlotRect(p);
  chart.RecalcPlotRect();
}

void TCustomChartLegend::DrawItem(int index, int position, int xText, int xSymbol, int textW,
                                  int h) {
  TCustomChart &chart = *m_chart;
  TChartCanvas3D &canvas = chart.Canvas();
  if (position >= TotalItems())
    return;
  canvas.Brush() = TBrush{m_color, bsSolid, nullptr};
  int y = m_frameRect.Top + 1;
  int x = xText;
  if (IsVertical()) {
    y += position * h;
  } else {
    y += (position / m_columnCount) * h;
    x = xText + (position % m_columnCount) * (textW + m_symbolWidth + 4);
  }
  int xColor = xSymbol;
  if (chart.OnGetLegendPos)
    CallOut([&] { chart.OnGetLegendPos(&chart, index, x, y, xColor); });

  canvas.Brush().Style = bsClear;
  const std::string text = chart.LegendItemText(index);
  const TRect symbol(x - 4 - m_symbolWidth, y + 2, x - 4, y + h - 2);
  if (!text.empty()) {
    canvas.SetBackMode(TRANSPARENT);
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    canvas.TextOut(x, y, text);
    const TPen pen = canvas.Pen();
    if (TChartSeries *s = SymbolSeries(index)) {
      if (m_resolvedStyle == lsValues)
        s->DrawLegendSymbol(s->LegendItemToPoint(index), symbol);
      else
        s->DrawLegendSymbol(-1, symbol);
    } else {
      canvas.Brush() = TBrush{clWhite, bsSolid, nullptr};
      canvas.RectangleOfRect(symbol);
    }
    canvas.Pen() = pen;
  }

  if (position >= 1 && m_dividingLines.Visible()) {
    const TPen pen = canvas.Pen();
    canvas.AssignChartPen(m_dividingLines);
    canvas.SetBackMode(TRANSPARENT);
    if (IsVertical())
      canvas.HorizLine(m_frameRect.Left, m_frameRect.Right, y);
    else
      canvas.VertLine(symbol.Left - 4, m_frameRect.Top, m_frameRect.Bottom);
    canvas.Pen() = pen;
  }
}

// ---- hit test -----------------------------------------------------------------------

int TCustomChartLegend::LegendHitTest(int x, int y) const {
  const TRect &r = m_frameRect;
  if (!r.Contains(TPoint(x, y)))
    return -1;
  auto rowAt = [&](int height) {
    if (height < 1)
      return -1;
    for (int row = 0; row < m_rowCount; ++row)
      if (r.Top + 1 + row * height <= y && y <= r.Top + 1 + (row + 1) * height)
        return row;
    return -1;
  };
  if (!IsVertical()) {
    if (m_columnCount < 1)
      return -1;
    const int cw = (r.Right - r.Left) / m_columnCount;
    int answer = -1;
    for (int c = 0; c < m_columnCount; ++c) {
      if (r.Left + 1 + c * cw <= x && x <= r.Left + 1 + (c + 1) * cw) {
        const int row = rowAt(m_itemHeight);
        if (row != -1)
          answer = m_columnCount * row + c;
      }
    }
    return answer;
  }
  if (m_rowCount < 1)
    return -1;
  return rowAt((r.Bottom - r.Top) / m_rowCount);
}
