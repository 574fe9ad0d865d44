#include "chartengine/canvas/ChartPanel.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartTexts.h"
#include "platform/BitmapBuffer.h"
#include "platform/QPainterCanvas.h"
#include "platform/UncaughtError.h"

#include <QMetaObject>
#include <QPainter>
#include <utility>

TChartPanelSwitches &ChartPanelSwitches() {
  static TChartPanelSwitches switches;
  return switches;
}

TCustomChartPanel::TCustomChartPanel(QWidget *parent)
    : QWidget(parent), m_view3DOptions(std::make_unique<TView3DOptions>([this] { Invalidate(); })),
      m_canvas(std::make_unique<TChartCanvas3D>()) {
  // The chart paints every pixel itself; no background erase.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  resize(400, 250);
  m_canvas->OnRepaintRequest = [this] { Invalidate(); };
  m_savedCursor = cursor();
  m_created = true;
}

TCustomChartPanel::~TCustomChartPanel() {
  m_created = false;
  m_canvas.reset();
}

void TCustomChartPanel::Invalidate() {
  if (!m_created)
    return;
  m_canvas->MarkBufferStale();
  // A change made by a handler the drawing calls: the drawing under way ends
  // by taking its picture for current, and Qt may drop an update() asked for
  // inside the window's own paint. It is drawn once the drawing is over.
  if (m_drawing || m_painting) {
    m_changedWhileDrawing = true;
    return;
  }
  m_followUpPaint = false;
  RequestPaint();
}

void TCustomChartPanel::RequestPaint() {
  // Points added one after another ask for a repaint each: the window is
  // told once, until its paint comes.
  if (m_updatePending)
    return;
  m_updatePending = isVisible() && updatesEnabled();
  update();
}

// A handler may change the chart each time it is called, so each drawing
// would ask for the next one. The follow-up paint is therefore never
// followed up itself: a paint that comes from outside (a change made outside
// a drawing, or the window system) gets at most one more, which shows what
// its handlers changed. A handler that changes the chart on its first call
// is shown in full; one that changes it on every call costs two drawings per
// outside change and the window keeps the second picture, not a loop.
void TCustomChartPanel::PaintAgainIfChanged() {
  const bool wasFollowUp = std::exchange(m_followUpPaint, false);
  if (!std::exchange(m_changedWhileDrawing, false) || wasFollowUp)
    return;
  m_canvas->MarkBufferStale();
  m_followUpPaint = true;
  // Asked after paintEvent has returned; dropped with the window.
  QMetaObject::invokeMethod(this, [this] { RequestPaint(); }, Qt::QueuedConnection);
}

void TCustomChartPanel::paintEvent(QPaintEvent *) {
  m_updatePending = false;
  m_painting = true;
  QPainter painter(this);
  TQPainterCanvas window(painter);
  m_windowCanvas = &window;
  m_canvas->SetTargetCanvas(&window);
  try {
    if (!m_printing) {
      TRect client;
      GetClientRectangle(client);
      const QImage *buffer = m_canvas->BufferImage();
      if (buffer != nullptr &&
          (buffer->width() != client.Width() || buffer->height() != client.Height()))
        m_canvas->MarkBufferStale();
      if (!m_canvas->RepaintFromBuffer())
        DrawToCanvas(&window, client);
    }
  } catch (const std::exception &e) {
    ReportUncaughtError(std::string("TCustomChartPanel.Paint Error: ") + e.what());
  } catch (...) {
    ReportUncaughtError("TCustomChartPanel.Paint Error: unknown exception");
  }
  m_windowCanvas = nullptr;
  m_canvas->SetTargetCanvas(nullptr);
  m_painting = false;
  PaintAgainIfChanged();
}

void TCustomChartPanel::GetClientRectangle(TRect &rect) { rect = TRect(0, 0, width(), height()); }

void TCustomChartPanel::DrawToCanvas(TCanvas *userCanvas, const TRect &userRect) {
  // Nothing to draw on: the buffer stays as it is (stale) and nothing is copied.
  if (userRect.IsEmpty() || userCanvas == nullptr)
    return;
  struct DrawingScope {
    TCustomChartPanel &Panel;
    explicit DrawingScope(TCustomChartPanel &p) : Panel(p) { Panel.m_drawing = true; }
    ~DrawingScope() {
      if (Panel.m_drawing) {
        // Left by an exception: the buffer holds half a chart.
        Panel.m_drawing = false;
        Panel.m_canvas->MarkBufferStale();
        Panel.m_canvas->SetTargetCanvas(Panel.m_windowCanvas);
      }
    }
  } scope(*this);
  m_panelBounds = m_canvas->BeginDraw(userCanvas, m_view3DOptions.get(), m_view3D, userRect);
  const int w = m_panelBounds.Width();
  const int h = m_panelBounds.Height();
  const int border = m_borderWidth;
  m_plotRect = TRect(m_panelBounds.Left + border + MulDiv(MarginLeft(), w, 100),
                     m_panelBounds.Top + border + MulDiv(MarginTop(), h, 100),
                     m_panelBounds.Right - border - MulDiv(MarginRight(), w, 100),
                     m_panelBounds.Bottom - border - MulDiv(MarginBottom(), h, 100));
  RecalcPlotRect();
  DrawContents(m_panelBounds);
  m_drawing = false;
  m_canvas->PresentBuffer(userCanvas, m_windowCanvas, userRect);
  // Drawn onto a picture outside a paint: a change made meanwhile is shown
  // by the window's next paint, which counts as one from outside.
  if (!m_painting && std::exchange(m_changedWhileDrawing, false))
    Invalidate();
}

void TCustomChartPanel::RecalcPlotRect() {
  TRect &r = m_plotRect;
  r.Left = std::max(r.Left, m_panelBounds.Left);
  r.Top = std::max(r.Top, m_panelBounds.Top);
  if (r.Left > r.Right)
    r.Right = r.Left + 1;
  if (r.Left == r.Right)
    r.Right = r.Left + width();
  if (r.Top > r.Bottom)
    r.Bottom = r.Top + 1;
  if (r.Top == r.Bottom)
    r.Bottom = r.Top + height();
  m_plotWidth = r.Right - r.Left;
  m_plotHeight = r.Bottom - r.Top;
  m_plotXCenter = static_cast<int>((static_cast<long long>(r.Left) + r.Right) / 2);
  m_plotYCenter = static_cast<int>((static_cast<long long>(r.Top) + r.Bottom) / 2);
}

namespace {
void Frame3D(TChartCanvas3D &canvas, TRect &rect, TColor topColor, TColor bottomColor, int width) {
  if (width <= 0)
    return;
  canvas.Bevel(rect, ColorToRGB(topColor), ColorToRGB(bottomColor), width);
  rect = rect.Inflate(-width, -width);
}

TColor BevelTop(TPanelBevel bevel) { return bevel == bvLowered ? clBtnShadow : clBtnHighlight; }
TColor BevelBottom(TPanelBevel bevel) { return bevel == bvRaised ? clBtnShadow : clBtnHighlight; }
} // namespace

void TCustomChartPanel::PaintBevels(const TRect &rect) {
  TRect r = rect;
  if (m_bevelOuter != bvNone)
    Frame3D(*m_canvas, r, BevelTop(m_bevelOuter), BevelBottom(m_bevelOuter), m_bevelWidth);
  Frame3D(*m_canvas, r, m_color, m_color, m_borderWidth);
  if (m_bevelInner != bvNone)
    Frame3D(*m_canvas, r, BevelTop(m_bevelInner), BevelBottom(m_bevelInner), m_bevelWidth);
}

void TCustomChartPanel::AssignFontToCanvas(const TFont &font) { m_canvas->Font() = font; }

void TCustomChartPanel::ToggleZoomFrame() {
  TColor color = ColorToRGB(m_color);
  if (color == clWhite)
    color = clBlack;
  // Outside a drawing the frame goes onto the picture shown in the window,
  // which is then shown again without a new drawing.
  TCanvas *target = m_drawing ? m_canvas->GetHandle() : m_canvas->BufferCanvas();
  if (target == nullptr) {
    Invalidate();
    return;
  }
  const TPen savedPen = target->Pen();
  const TBrush savedBrush = target->Brush();
  target->Pen() = TPen{color, 1, psSolid, pmNotXor};
  target->Brush().Style = bsClear;
  target->Rectangle(m_zoom.X0, m_zoom.Y0, m_zoom.X1, m_zoom.Y1);
  target->Pen() = savedPen;
  target->Brush() = savedBrush;
  if (!m_drawing)
    update();
}

void TCustomChartPanel::Loaded() { m_savedCursor = cursor(); }

void TCustomChartPanel::AbortMouseAction() {
  setCursor(m_savedCursor);
  m_panning.Active = false;
}

bool TCustomChartPanel::CanClip() const {
  return !m_printing || ChartPanelSwitches().ClipWhenPrinting;
}

void TCustomChartPanel::Assign(const TCustomChartPanel &s) {
  SetBufferedDisplay(s.BufferedDisplay());
  m_printProportional = s.m_printProportional;
  m_printSetting = s.m_printSetting;
  for (int i = 0; i < 4; ++i)
    SetMargin(i, s.Margin(i));
  SetMonochrome(s.Monochrome());
  SetView3D(s.m_view3D);
  m_view3DOptions->Assign(*s.m_view3DOptions);
  SetChart3DPercent(s.m_chart3DPercent);
  SetColor(s.m_color);
}

// ---- properties ----------------------------------------------------------------

void TCustomChartPanel::SetChart3DPercent(int value) {
  if (value < 1 || value > 100)
    throw ChartException(ChartTextFormat(ct3DPercent, {std::int64_t(1), std::int64_t(100)}));
  Store(m_chart3DPercent, value);
}

void TCustomChartPanel::SetDepthRows(bool value) { Store(m_depthRows, value); }

int TCustomChartPanel::Margin(int index) const {
  return index >= 0 && index < 4 ? m_margins[static_cast<std::size_t>(index)] : 0;
}

void TCustomChartPanel::SetMargin(int index, int value) {
  if (index >= 0 && index < 4)
    Store(m_margins[static_cast<std::size_t>(index)], value);
}

int TCustomChartPanel::PrintMargin(int index) const {
  return index >= 0 && index < 4 ? m_printMargins[static_cast<std::size_t>(index)] : 0;
}

void TCustomChartPanel::SetPrintMargin(int index, int value) {
  if (index >= 0 && index < 4)
    m_printMargins[static_cast<std::size_t>(index)] = value;
}

void TCustomChartPanel::SetView3D(bool value) { Store(m_view3D, value); }

void TCustomChartPanel::SetBufferedDisplay(bool value) {
  if (BufferedDisplay() != value) {
    m_canvas->SetBufferedDisplay(value);
    Invalidate();
  }
}

void TCustomChartPanel::SetColor(TColor value) { Store(m_color, value); }
void TCustomChartPanel::SetBevelOuter(TPanelBevel value) { Store(m_bevelOuter, value); }
void TCustomChartPanel::SetBevelInner(TPanelBevel value) { Store(m_bevelInner, value); }
void TCustomChartPanel::SetBevelWidth(int value) { Store(m_bevelWidth, value); }
void TCustomChartPanel::SetBorderWidth(int value) { Store(m_borderWidth, value); }
