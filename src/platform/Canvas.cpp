#include "platform/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <mutex>

int MulDiv(int a, int b, int c) {
  if (c == 0)
    return -1;
  const long long p = static_cast<long long>(a) * b;
  const long long q = p / c;
  const long long r = p % c;
  // Round half away from zero.
  long long result = q;
  if (std::llabs(r) * 2 >= std::llabs(static_cast<long long>(c)))
    result += ((p < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(result);
}

// ---- TFont ----------------------------------------------------------------

int TFont::Size() const {
  if (m_height == 0)
    return m_size;
  // Back from pixels to points, as the em height converts.
  return MulDiv(-m_height > 0 ? -m_height : PixelSize(), 72, ScreenPixelsPerInch);
}

void TFont::SetSize(int points) {
  m_size = points;
  m_height = 0;
}

int TFont::Height() const {
  if (m_height != 0)
    return m_height;
  return -MulDiv(m_size, ScreenPixelsPerInch, 72);
}

void TFont::SetHeight(int pixels) {
  if (pixels == 0) {
    m_height = 0;
    return;
  }
  m_height = pixels;
}

int TFont::PixelSize() const {
  int px = 0;
  if (m_height < 0) {
    px = -m_height;
  } else if (m_height > 0) {
    // A cell height: scale the em so that ascent + descent matches it.
    QFont probe(QString::fromStdString(Name));
    probe.setPixelSize(100);
    probe.setBold(Bold);
    probe.setItalic(Italic);
    const int cell = QFontMetrics(probe).height();
    px = cell > 0 ? MulDiv(m_height, 100, cell) : m_height;
  } else {
    px = MulDiv(std::abs(m_size), ScreenPixelsPerInch, 72);
  }
  return px < 1 ? 1 : px;
}

TFontStyles TFont::Style() const {
  return TFontStyles((Bold ? fsBold : 0) | (Italic ? fsItalic : 0) | (Underline ? fsUnderline : 0) |
                     (StrikeOut ? fsStrikeOut : 0));
}

void TFont::SetStyle(TFontStyles s) {
  Bold = (s & fsBold) != 0;
  Italic = (s & fsItalic) != 0;
  Underline = (s & fsUnderline) != 0;
  StrikeOut = (s & fsStrikeOut) != 0;
}

void InstallFontSubstitutions() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Classic face names mapped to the metric-compatible faces we ship with.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Helvetica"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Courier"), QStringLiteral("Liberation Mono"));
  });
}

QFont ToQFont(const TFont &f) {
  InstallFontSubstitutions();
  QFont q(QString::fromStdString(f.Name));
  q.setPixelSize(f.PixelSize());
  q.setBold(f.Bold);
  q.setItalic(f.Italic);
  q.setUnderline(f.Underline);
  q.setStrikeOut(f.StrikeOut);
  return q;
}

// ---- TCanvas ---------------------------------------------------------------

void TCanvas::ResetState() {
  m_pen = TPen();
  m_brush = TBrush();
  m_font = TFont();
  m_penPos = TPoint();
  m_bkMode = OPAQUE;
  m_bkColor = clWhite;
  m_bkOfBrushColor = m_brush.Color;
  m_bkOfBrushStyle = m_brush.Style;
  m_textAlign = TA_LEFT | TA_TOP;
}

void TCanvas::SyncBackground() const {
  if (m_brush.Color == m_bkOfBrushColor && m_brush.Style == m_bkOfBrushStyle)
    return;
  m_bkOfBrushColor = m_brush.Color;
  m_bkOfBrushStyle = m_brush.Style;
  if (m_brush.Style == bsSolid) {
    m_bkMode = OPAQUE;
    m_bkColor = m_brush.Color;
  } else {
    m_bkMode = TRANSPARENT;
  }
}

void TCanvas::MoveTo(int x, int y) { m_penPos = TPoint(x, y); }

void TCanvas::PolylineTo(std::span<const TPoint> points) {
  for (const TPoint &p : points)
    LineTo(p.X, p.Y);
}

void TCanvas::CopyRect(const TRect &dest, TCanvas &source, const TRect &src) {
  if (const QImage *image = source.Image())
    CopyRect(dest, *image, src);
}
