#include "chartengine/chart/ChartTitle.h"

#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/canvas/ChartPanel.h"

#include <algorithm>

TChartTitle::TChartTitle(TCustomChartPanel *parent, TColor fontColor, TFontStyles fontStyle)
    : TChartFontObject(parent), m_brush([this] { Repaint(); }), m_color(clTeeColor),
      m_frame([this] { Repaint(); }), m_defaultFontColor(fontColor), m_defaultFontStyle(fontStyle) {
  TFont font = Font().Font();
  font.Color = fontColor;
  font.SetStyle(fontStyle);
  Font().Assign(font);
}

void TChartTitle::Assign(const TChartTitle &s) {
  if (&s == this)
    return;
  SetAdjustFrame(s.m_adjustFrame);
  SetAlignment(s.m_alignment);
  m_brush.Assign(s.m_brush);
  SetColor(s.m_color);
  m_frame.Assign(s.m_frame);
  SetText(s.m_text);
  SetVisible(s.m_visible);
  TChartFontObject::Assign(s);
}

void TChartTitle::SetAdjustFrame(bool value) {
  if (m_adjustFrame != value) {
    m_adjustFrame = value;
    Repaint();
  }
}

void TChartTitle::SetAlignment(TAlignment value) {
  if (m_alignment != value) {
    m_alignment = value;
    Repaint();
  }
}

void TChartTitle::SetColor(TColor value) {
  if (m_color != value) {
    m_color = value;
    Repaint();
  }
}

void TChartTitle::SetText(const std::vector<std::string> &lines) {
  if (m_text != lines) {
    m_text = lines;
    Repaint();
  }
}

void TChartTitle::SetCaption(const std::string &text) {
  SetText(text.empty() ? std::vector<std::string>{} : std::vector<std::string>{text});
}

void TChartTitle::AddLine(const std::string &line) {
  m_text.push_back(line);
  Repaint();
}

void TChartTitle::ClearText() {
  if (!m_text.empty()) {
    m_text.clear();
    Repaint();
  }
}

void TChartTitle::SetVisible(bool value) {
  if (m_visible != value) {
    m_visible = value;
    Repaint();
  }
}

bool TChartTitle::IsFontStored() const {
  const TFont &f = Font().Font();
  return !(f.Name == DefaultChartFontName() && f.Size() == DefaultChartFontSize() &&
           f.Color == m_defaultFontColor && f.Style() == m_defaultFontStyle);
}

void TChartTitle::SetFontDefaults(TColor color, TFontStyles style) {
  m_defaultFontColor = color;
  m_defaultFontStyle = style;
  TFont font = Font().Font();
  font.Color = color;
  font.SetStyle(style);
  Font().Assign(font);
}

bool TChartTitle::FrameCounts() const { return m_frame.Visible() && m_frame.Color() != clTeeColor; }

bool TChartTitle::IsHit(int x, int y) const {
  return m_visible && m_blockRect.Contains(TPoint(x, y));
}

void TChartTitle::DrawTitleBlock(bool atTop) {
  TCustomChartPanel *chart = ParentChart();
  // A title without lines shows nothing and takes no room.
  m_blockRect = TRect();
  if (chart == nullptr || m_text.empty())
    return;
  TChartCanvas3D &canvas = chart->Canvas();
  chart->AssignFontToCanvas(Font().Font());
  const int h = canvas.FontHeight();

  // The background: the title's colour, else its brush, else none.
  const TBrush &own = m_brush.Brush();
  TBrush brush;
  int backMode = TRANSPARENT;
  if (m_color == clTeeColor) {
    if (own.Style != bsSolid) {
      brush = own;
      if (brush.Color == clTeeColor)
        brush.Color = clBlack;
    } else if (own.Color != clTeeColor) {
      brush = TBrush{own.Color, bsSolid, nullptr};
    } else {
      brush.Style = bsClear;
    }
  } else if (own.Style != bsSolid) {
    brush = own;
    if (brush.Color == clTeeColor)
      brush.Color = clBlack;
    backMode = OPAQUE;
  } else {
    brush = TBrush{m_color, bsSolid, nullptr};
  }
  canvas.Brush() = brush;
  if (brush.Style != bsSolid) {
    canvas.SetBackMode(backMode);
    if (backMode == OPAQUE)
      canvas.SetBackColor(m_color);
  }

  const bool frameCounts = FrameCounts();
  const int fw = frameCounts ? m_frame.Width() : 0;
  const int lines = static_cast<int>(m_text.size());
  const TRect &plot = chart->PlotRect();
  TRect block(plot.Left + fw, 0, plot.Right - fw, 0);
  if (atTop) {
    block.Top = plot.Top + fw;
    block.Bottom = block.Top + h * lines;
  } else {
    block.Bottom = plot.Bottom - fw;
    block.Top = block.Bottom - h * lines;
  }
  m_blockRect = block.Inflate(fw, fw);

  std::vector<int> widths;
  int widest = 0;
  for (const std::string &line : m_text) {
    widths.push_back(canvas.TextWidth(line));
    widest = std::max(widest, widths.back());
  }
  const int w = canvas.TextWidth("W");
  if (frameCounts || brush.Style != bsClear || brush.Bitmap != nullptr) {
    if (m_adjustFrame) {
      const int width = widest + w;
      switch (m_alignment) {
      case taLeftJustify:
        m_blockRect.Right = m_blockRect.Left + width;
        break;
      case taRightJustify:
        m_blockRect.Left = m_blockRect.Right - width;
        break;
      case taCenter:
        m_blockRect.Left = (block.Left + block.Right) / 2 - width / 2;
        m_blockRect.Right = m_blockRect.Left + width;
        break;
      }
    }
    if (frameCounts)
      canvas.AssignChartPen(m_frame);
    else
      canvas.Pen().Style = psClear;
    canvas.RectangleOfRect(m_blockRect);
  }

  canvas.SetBackMode(TRANSPARENT);
  canvas.SetTextAlign(TA_LEFT | TA_TOP);
  const int centre = (block.Left + block.Right) / 2;
  for (int t = 0; t < lines; ++t) {
    // The foot is written from its last line up; both end at the same places.
    const int i = atTop ? t : lines - 1 - t;
    const int y = block.Top + i * h;
    int x = centre - widths[i] / 2;
    if (m_alignment == taLeftJustify)
      x = block.Left + w / 2;
    else if (m_alignment == taRightJustify)
      x = block.Right - widths[i] - w / 2;
    canvas.TextOut(x, y, m_text[i]);
  }

  TRect newPlot = plot;
  if (atTop)
    newPlot.Top = block.Bottom + fw + 5;
  else
    newPlot.Bottom = block.Top - fw - 5;
  chart->SetPlotRect(newPlot);
  chart->RecalcPlotRect();
}
