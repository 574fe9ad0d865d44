#include "chartengine/engine/SeriesMarks.h"

#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartTextLines.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomAxisPanel.h"

#include <vector>

TSeriesMarksSwitches &SeriesMarksSwitches() {
  static TSeriesMarksSwitches switches;
  return switches;
}

TSeriesMarks::TSeriesMarks(TChartSeries *owner) : m_owner(owner) {
  auto styleChanged = [this] {
    if (m_owner != nullptr)
      m_owner->StyleChanged();
  };
  m_arrow.SetOnChange(styleChanged);
  m_frame.SetOnChange(styleChanged);
  m_font.SetOnChange(styleChanged);
}

void TSeriesMarks::Assign(const TSeriesMarks &source) {
  if (&source == this)
    return;
  m_arrow.Assign(source.m_arrow);
  m_arrowLength = source.m_arrowLength;
  m_backColor = source.m_backColor;
  m_transparent = source.m_transparent;
  m_clip = source.m_clip;
  m_frame.Assign(source.m_frame);
  m_font.Assign(source.m_font);
  m_style = source.m_style;
  m_visible = source.m_visible;
  Changed();
}

template <typename T> void TSeriesMarks::Store(T &field, const T &value) {
  if (field == value)
    return;
  field = value;
  Changed();
}

void TSeriesMarks::Changed() {
  if (m_owner != nullptr)
    m_owner->Repaint();
}

void TSeriesMarks::SetArrowLength(int value) { Store(m_arrowLength, value); }
void TSeriesMarks::SetBackColor(TColor value) { Store(m_backColor, value); }
void TSeriesMarks::SetTransparent(bool value) { Store(m_transparent, value); }
void TSeriesMarks::SetClip(bool value) { Store(m_clip, value); }
void TSeriesMarks::SetStyle(TSeriesMarksStyle value) { Store(m_style, value); }
void TSeriesMarks::SetVisible(bool value) { Store(m_visible, value); }

TFont TSeriesMarks::DrawingFont() const {
  TFont font = m_font.Font();
  TCustomAxisPanel *chart = m_owner != nullptr ? m_owner->ParentChart() : nullptr;
  if (chart == nullptr)
    return font;
  const TProjection3D &projection = chart->Canvas().Projection();
  const double zoom = projection.ZoomFactor();
  if (projection.Is3D() && projection.ZoomText() && zoom != 1.0) {
    const int size = std::max(1, PixelRound(font.Size() * zoom));
    font.SetHeight(-MulDiv(size, ScreenPixelsPerInch, 72));
  }
  return font;
}

void TSeriesMarks::DrawPointMark(int valueIndex, TColor color, const std::string &text,
                                 TSeriesMarkPosition &position) {
  TCustomAxisPanel *chart = m_owner != nullptr ? m_owner->ParentChart() : nullptr;
  if (chart == nullptr || valueIndex < 0)
    return;
  // Positions are remembered for the series' points only.
  if (valueIndex < m_owner->Count()) {
    TSeriesMarkPosition &stored = m_positions.Ensure(valueIndex);
    if (stored.PlacedByHand)
      position.Assign(stored);
    else
      stored.Assign(position);
  }

  TChartCanvas3D &canvas = chart->Canvas();
  const bool is3D = canvas.Is3D();

  if (m_arrow.Visible()) {
    canvas.AssignChartPen(m_arrow);
    canvas.Brush().Style = bsClear;
    if (SeriesMarksSwitches().ContrastArrowColor) {
      const TColor chartColor = ColorToRGB(chart->Color());
      if (m_arrow.Color() == color || ColorToRGB(m_arrow.Color()) == chartColor)
        canvas.Pen().Color = chartColor == clBlack ? clWhite : clBlack;
    }
    const TPoint &a = position.ArrowStart;
    const TPoint &b = position.ArrowEnd;
    if (is3D)
      canvas.LineAtDepth(a.X, a.Y, b.X, b.Y, m_zPosition);
    else
      canvas.Line(a.X, a.Y, b.X, b.Y);
  }

  TPoint topLeft = position.TopLeftCorner;
  if (m_frame.Visible() || !m_transparent) {
    canvas.Brush().Color = m_backColor;
    canvas.Brush().Style = m_transparent ? bsClear : bsSolid;
    canvas.AssignChartPen(m_frame);
    const TRect box = position.MarkBounds();
    if (is3D)
      canvas.RectangleAtDepth(box, m_zPosition);
    else
      canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
    if (m_frame.Visible())
      topLeft.Y += m_frame.Width();
  }

  // Lines step by the height the text is drawn with (zoomed in 3-D).
  const TFont font = canvas.Font();
  canvas.Font() = DrawingFont();
  const int lineHeight = canvas.FontHeight();
  canvas.Font() = font;

  canvas.Brush().Style = bsClear;
  const unsigned align = canvas.GetTextAlign();
  canvas.SetTextAlign(TA_CENTER | TA_TOP);
  const int x = topLeft.X + position.Width / 2;
  int y = topLeft.Y;
  for (const std::string &line : SplitTextLines(text)) {
    if (is3D)
      canvas.TextOutAtDepth(x, y, m_zPosition, line);
    else
      canvas.TextOut(x, y, line);
    y += lineHeight;
  }
  canvas.SetTextAlign(align);
}
