#include "chartengine/canvas/ChartCanvas3D.h"

#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartPen.h"
#include "platform/BitmapBuffer.h"

#include <algorithm>

TChartCanvas3D::TChartCanvas3D() : m_idle(std::make_unique<TBitmapBuffer>(1, 1)) {
  SetTargetCanvas(nullptr);
}

TChartCanvas3D::~TChartCanvas3D() = default;

void TChartCanvas3D::SetTargetCanvas(TCanvas *canvas) {
  m_target = canvas != nullptr ? canvas : &m_idle->Canvas();
}

void TChartCanvas3D::ResetToDefaults() {
  Pen() = TPen();
  Brush() = TBrush();
  Font().Color = clBlack;
  Font().SetSize(10);
  SetBackColor(clWhite);
  SetBackMode(TRANSPARENT);
}

void TChartCanvas3D::AssignChartPen(const TChartPen &chartPen) {
  if (!chartPen.Visible()) {
    Pen().Style = psClear;
    return;
  }
  TPen pen = chartPen.Pen();
  // The finest dotted line the platform pen offers.
  if (chartPen.SmallDots() && pen.Width == 1)
    pen.Style = psDot;
  Pen() = pen;
}

const QImage *TChartCanvas3D::BufferImage() const {
  return m_bitmap && !m_bitmap->Empty() ? &m_bitmap->Image() : nullptr;
}

TCanvas *TChartCanvas3D::BufferCanvas() {
  if (!m_bitmap || m_bitmap->Empty())
    return nullptr;
  m_monoImage = QImage(); // the caller draws into the picture
  return &m_bitmap->Canvas();
}

// ---- buffer ------------------------------------------------------------------

void TChartCanvas3D::SetMonochrome(bool value) {
  if (m_monochrome == value)
    return;
  m_monochrome = value;
  if (m_bitmap && m_target == &m_bitmap->Canvas())
    SetTargetCanvas(nullptr);
  m_bitmap.reset();
  m_monoImage = QImage();
  m_bufferStale = true;
  if (OnRepaintRequest)
    OnRepaintRequest();
}

void TChartCanvas3D::SetBufferedDisplay(bool value) {
  m_bufferedDisplay = value;
  if (!value && m_bitmap) {
    if (m_target == &m_bitmap->Canvas())
      SetTargetCanvas(nullptr);
    m_bitmap.reset();
    m_monoImage = QImage();
    m_bufferStale = true;
  }
}

TRect TChartCanvas3D::BeginDraw(TCanvas *target, const TView3DOptions *options, bool is3D,
                                const TRect &bounds) {
  m_bounds = bounds;
  m_options = options;
  m_projection.Begin(options, is3D);
  ++m_projectionSerial;
  if (!m_bufferedDisplay) {
    SetTargetCanvas(target);
    return bounds;
  }
  const int w = bounds.Width();
  const int h = bounds.Height();
  // A picture of another size is never reused: it would show a stale part.
  if (m_bitmap && (m_bitmap->Width() != w || m_bitmap->Height() != h)) {
    if (m_target == &m_bitmap->Canvas())
      SetTargetCanvas(nullptr);
    m_bitmap.reset();
    m_bufferStale = true;
  }
  if (!m_bitmap)
    m_bitmap = std::make_unique<TBitmapBuffer>(std::max(w, 0), std::max(h, 0));
  m_monoImage = QImage();
  SetTargetCanvas(&m_bitmap->Canvas());
  m_target->ClearClip();
  return TRect(0, 0, w, h);
}

const QImage &TChartCanvas3D::PresentedImage() {
  if (!m_monochrome)
    return m_bitmap->Image();
  if (m_monoImage.isNull())
    m_monoImage = m_bitmap->Image()
                      .convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
                      .convertToFormat(QImage::Format_RGB32);
  return m_monoImage;
}

void TChartCanvas3D::PresentBuffer(TCanvas *dest, TCanvas *defaultCanvas, const TRect &rect) {
  if (m_bufferedDisplay && m_bitmap && !m_bitmap->Empty() && dest != nullptr) {
    dest->Draw(rect.Left, rect.Top, PresentedImage());
    m_bufferStale = false;
  }
  SetTargetCanvas(defaultCanvas);
}

bool TChartCanvas3D::RepaintFromBuffer() {
  if (m_bufferStale || !m_bitmap || m_bitmap->Empty())
    return false;
  m_target->Draw(0, 0, PresentedImage());
  return true;
}

void TChartCanvas3D::SetProjectionCentre(int maxDepth, const TRect &rect) {
  m_projection.SetCentre(maxDepth, rect, m_options);
  ++m_projectionSerial;
}

// ---- flat drawing ------------------------------------------------------------------

void TChartCanvas3D::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  m_target->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas3D::Draw(int x, int y, const QImage &image) { m_target->Draw(x, y, image); }

void TChartCanvas3D::Ellipse(int x1, int y1, int x2, int y2) { m_target->Ellipse(x1, y1, x2, y2); }

void TChartCanvas3D::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  m_target->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas3D::Rectangle(int x1, int y1, int x2, int y2) {
  m_target->Rectangle(x1, y1, x2, y2);
}

void TChartCanvas3D::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  m_target->RoundRect(x1, y1, x2, y2, x3, y3);
}

void TChartCanvas3D::StretchDraw(const TRect &rect, const QImage &image) {
  m_target->StretchDraw(rect, image);
}

void TChartCanvas3D::TextOut(int x, int y, const std::string &text) {
  m_target->TextOut(x, y, text);
}

void TChartCanvas3D::HorizLine(int x0, int x1, int y) {
  m_target->MoveTo(x0, y);
  m_target->LineTo(x1, y);
}

void TChartCanvas3D::VertLine(int x, int y0, int y1) {
  m_target->MoveTo(x, y0);
  m_target->LineTo(x, y1);
}

void TChartCanvas3D::Line(int x0, int y0, int x1, int y1) {
  m_target->MoveTo(x0, y0);
  m_target->LineTo(x1, y1);
}

void TChartCanvas3D::RectangleOfRect(const TRect &rect) { m_target->Rectangle(rect); }

void TChartCanvas3D::Bevel(const TRect &rect, TColor topColor, TColor bottomColor, int width) {
  TPen &pen = Pen();
  pen.Width = 1;
  pen.Style = psSolid;
  int l = rect.Left, t = rect.Top, r = rect.Right - 1, b = rect.Bottom - 1;
  for (int i = 0; i < width; ++i) {
    pen.Color = topColor;
    m_target->MoveTo(l, b);
    m_target->LineTo(l, t);
    m_target->LineTo(r, t);
    pen.Color = bottomColor;
    m_target->MoveTo(r, t);
    m_target->LineTo(r, b);
    m_target->LineTo(l - 1, b);
    ++l;
    ++t;
    --r;
    --b;
  }
}

void TChartCanvas3D::FillGradient(const TRect &rect, TColor startColor, TColor endColor,
                                  TGradientDirection direction) {
  const std::vector<TGradientBand> bands =
      ComputeGradientBands(rect, startColor, endColor, direction);
  const TBrush saved = Brush();
  TBrush &brush = Brush();
  brush = TBrush();
  TColor last = clNone;
  for (const TGradientBand &band : bands) {
    if (band.Color != last) {
      brush.Color = band.Color;
      last = band.Color;
    }
    m_target->FillRect(band.Rect);
  }
  Brush() = saved;
}

bool TChartCanvas3D::ZoomedFont(TFont &font) const {
  const double f = m_projection.ZoomFactor();
  if (!m_projection.ZoomText() || f == 1.0)
    return false;
  const int size = font.Size();
  const int zoomed = std::max(1, PixelRound(size * f));
  if (zoomed == size)
    return false;
  font.SetHeight(-MulDiv(zoomed, ScreenPixelsPerInch, 72));
  return true;
}

void TChartCanvas3D::TextOutRotated(int x, int y, const std::string &text, int angle) {
  Brush().Style = bsClear;
  if (angle > 360)
    angle -= 360;
  const TFont saved = Font();
  TFont &font = Font();
  font.Orientation = angle * 10;
  ZoomedFont(font);
  m_target->TextOut(x, y, text);
  Font() = saved;
}

void TChartCanvas3D::TextOutAtDepth(int x, int y, int z, const std::string &text) {
  const TPoint p = ProjectPoint(x, y, z);
  TFont zoomed = Font();
  if (!ZoomedFont(zoomed)) {
    m_target->TextOut(p.X, p.Y, text);
    return;
  }
  const TFont saved = Font();
  Font() = zoomed;
  m_target->TextOut(p.X, p.Y, text);
  Font() = saved;
}

void TChartCanvas3D::TextOutRotated3D(int x, int y, int z, const std::string &text, int angle) {
  const TPoint p = ProjectPoint(x, y, z);
  TextOutRotated(p.X, p.Y, text, angle);
}
