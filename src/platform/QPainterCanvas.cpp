#include "platform/QPainterCanvas.h"

#include "platform/PixelRuns.h"
#include "platform/PolygonSpans.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <functional>

namespace {

// Dash patterns of the 1-px styled pens, in pixels on and off.
const QList<qreal> kDashPattern{18, 6};
const QList<qreal> kDotPattern{3, 3};
const QList<qreal> kDashDotPattern{9, 6, 3, 6};
const QList<qreal> kDashDotDotPattern{9, 3, 3, 3, 3, 3};

Qt::BrushStyle HatchStyle(TBrushStyle s) {
  switch (s) {
  case bsHorizontal:
    return Qt::HorPattern;
  case bsVertical:
    return Qt::VerPattern;
  case bsFDiagonal:
    return Qt::FDiagPattern;
  case bsBDiagonal:
    return Qt::BDiagPattern;
  case bsCross:
    return Qt::CrossPattern;
  case bsDiagCross:
    return Qt::DiagCrossPattern;
  default:
    return Qt::SolidPattern;
  }
}

// The four corners in order, whatever order the caller gave them in.
void Normalize(int &x1, int &y1, int &x2, int &y2) {
  if (x2 < x1)
    std::swap(x1, x2);
  if (y2 < y1)
    std::swap(y1, y2);
}

// The angle (degrees, counter-clockwise) Qt's ellipse functions use for the
// point where the ray from the centre through (px, py) meets the ellipse.
qreal EllipseAngle(const QRectF &box, int px, int py) {
  const QPointF c = box.center();
  const qreal rx = box.width() / 2, ry = box.height() / 2;
  const qreal a = std::atan2(-(py - c.y()) / ry, (px - c.x()) / rx);
  return a * 180.0 / M_PI;
}

// Dash patterns of the 1-px styled pens as drawn pixel by pixel.
struct DashPattern {
  const int *runs;
  int count;
};
constexpr int kDashRuns[] = {18, 6};
constexpr int kDotRuns[] = {3, 3};
constexpr int kDashDotRuns[] = {9, 6, 3, 6};
constexpr int kDashDotDotRuns[] = {9, 3, 3, 3, 3, 3};

DashPattern PatternOf(TPenStyle s) {
  switch (s) {
  case psDash:
    return {kDashRuns, 2};
  case psDot:
    return {kDotRuns, 2};
  case psDashDot:
    return {kDashDotRuns, 4};
  case psDashDotDot:
    return {kDashDotDotRuns, 6};
  default:
    return {nullptr, 0};
  }
}

// Steps pixel by pixel along the line from (x0, y0) towards (x1, y1) and
// leaves out (x1, y1), whatever the direction.
template <typename Plot> void RasterLine(int x0, int y0, int x1, int y1, Plot &&plot) {
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
  if (dx >= dy) {
    // y = y0 + round(i * dy / dx), kept as the numerator 2*i*dy + dx.
    long long acc = dx;
    int y = y0;
    for (int i = 0, x = x0; i < dx; ++i, x += sx) {
      plot(x, y);
      acc += 2LL * dy;
      if (acc >= 2LL * dx) {
        acc -= 2LL * dx;
        y += sy;
      }
    }
  } else {
    long long acc = dy;
    int x = x0;
    for (int i = 0, y = y0; i < dy; ++i, y += sy) {
      plot(x, y);
      acc += 2LL * dx;
      if (acc >= 2LL * dy) {
        acc -= 2LL * dy;
        x += sx;
      }
    }
  }
}

} // namespace

TQPainterCanvas::TQPainterCanvas() : m_spans(std::make_unique<TPolygonSpans>()) {}

TQPainterCanvas::TQPainterCanvas(QPainter &painter) : TQPainterCanvas() { Begin(painter); }

TQPainterCanvas::TQPainterCanvas(QPaintDevice *device) : TQPainterCanvas() { Begin(device); }

TQPainterCanvas::~TQPainterCanvas() { End(); }

bool TQPainterCanvas::Begin(QPaintDevice *device) {
  End();
  if (!device)
    return false;
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(device))
    return false;
  m_own = std::move(painter);
  Bind(m_own.get(), true);
  return true;
}

void TQPainterCanvas::Begin(QPainter &painter) {
  End();
  Bind(&painter, false);
}

void TQPainterCanvas::Bind(QPainter *painter, bool /*owned*/) {
  m_painter = painter;
  ++m_clipSerial;
  m_painter->setRenderHint(QPainter::Antialiasing, false);
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  m_baseClip.Enabled = m_painter->hasClipping();
  m_baseClip.Region = m_baseClip.Enabled ? m_painter->clipRegion() : QRegion();
  m_clip = m_baseClip;
  m_clipStack.clear();
}

void TQPainterCanvas::End() {
  if (!m_painter)
    return;
  if (m_own) {
    m_own->end();
    m_own.reset();
  } else {
    // Hand the caller's painter back as we found it.
    ApplyClip(m_baseClip);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  m_painter = nullptr;
  m_clipStack.clear();
}

// ---- pen and brush ------------------------------------------------------

bool TQPainterCanvas::PenIsStyled() const {
  const TPenStyle s = Pen().Style;
  return Pen().Width <= 1 && s >= psDash && s <= psDashDotDot;
}

void TQPainterCanvas::SetRasterMode(TPenMode mode) {
  switch (mode) {
  case pmCopy:
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    break;
  case pmNotXor:
    m_painter->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    break;
  case pmXor:
    m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    break;
  case pmNot:
    m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
    break;
  }
}

QPen TQPainterCanvas::MakeQPen(bool backgroundOfGaps) const {
  const TPen &p = Pen();
  const QColor color = ToQColor(backgroundOfGaps ? BkColor() : p.Color);
  if (p.Width > 1) {
    // Wide pens are solid with round ends, whatever their style.
    return QPen(color, p.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  }
  // One pixel: a cosmetic pen (straight lines are drawn by ThinLines).
  // Curves are flattened to short segments; a square cap keeps every vertex.
  QPen q(color, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  q.setCosmetic(true);
  if (!backgroundOfGaps) {
    switch (p.Style) {
    case psDash:
      q.setDashPattern(kDashPattern);
      break;
    case psDot:
      q.setDashPattern(kDotPattern);
      break;
    case psDashDot:
      q.setDashPattern(kDashDotPattern);
      break;
    case psDashDotDot:
      q.setDashPattern(kDashDotDotPattern);
      break;
    default:
      break;
    }
  }
  return q;
}

template <typename F> void TQPainterCanvas::Stroke(F &&draw) {
  if (!PenVisible())
    return;
  SetRasterMode(Pen().Mode);
  m_painter->setBrush(Qt::NoBrush);
  if (PenIsStyled() && Pen().Mode == pmCopy && BkMode() == OPAQUE) {
    m_painter->setPen(MakeQPen(true));
    draw();
  }
  m_painter->setPen(MakeQPen(false));
  draw();
}

template <typename F> void TQPainterCanvas::StrokeWide(F &&draw) {
  // The filler takes pixel centres; an odd-width stroke centred on them would
  // have its edges exactly on pixel centres, so it is moved half a pixel.
  const bool odd = Pen().Width % 2 == 1;
  if (odd)
    m_painter->translate(0.5, 0.5);
  Stroke(draw);
  if (odd)
    m_painter->translate(-0.5, -0.5);
}

void TQPainterCanvas::FillWithBrush(const std::function<void(const QBrush &)> &fill) {
  const TBrush &b = Brush();
  if (b.Bitmap && !b.Bitmap->isNull()) {
    fill(QBrush(*b.Bitmap));
    return;
  }
  if (b.Style == bsClear)
    return;
  if (b.Style == bsSolid) {
    fill(QBrush(ToQColor(b.Color)));
    return;
  }
  // Hatches: the lines in the brush colour, the gaps in the background
  // colour when the background is opaque.
  if (BkMode() == OPAQUE)
    fill(QBrush(ToQColor(BkColor())));
  fill(QBrush(ToQColor(b.Color), HatchStyle(b.Style)));
}

void TQPainterCanvas::FillRectWithBrush(const QRect &r) {
  FillWithBrush([&](const QBrush &brush) { m_painter->fillRect(r, brush); });
}

void TQPainterCanvas::FillPathWithBrush(const QPainterPath &path) {
  FillWithBrush([&](const QBrush &brush) { m_painter->fillPath(path, brush); });
}

const std::vector<QPoint> &TQPainterCanvas::ToQPoints(std::span<const TPoint> points) {
  m_points.resize(points.size());
  for (size_t i = 0; i < points.size(); ++i)
    m_points[i] = QPoint(points[i].X, points[i].Y);
  return m_points;
}

// ---- lines ---------------------------------------------------------------

bool TQPainterCanvas::DirectTarget(Direct &d) {
  DirectCache &c = m_direct;
  // Many small shapes in a row: the same painter, picture, transform and clip
  // as the last one, asked cheaply first.
  if (c.valid && c.usable && c.painter == m_painter && c.clipSerial == m_clipSerial &&
      m_painter->device() == c.image && c.image->constBits() == c.bits && c.mode == Pen().Mode) {
    const QTransform &t = m_painter->deviceTransform();
    if (t.type() <= QTransform::TxTranslate && t.dx() == c.dx && t.dy() == c.dy) {
      d = c.direct;
      return true;
    }
  }
  const QImage *image = Image();
  if (!image)
    return false;
  // Raster modes only where every pixel is opaque.
  const QImage::Format f = image->format();
  if (f != QImage::Format_RGB32 &&
      (Pen().Mode != pmCopy ||
       (f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)))
    return false;
  const QTransform &t = m_painter->deviceTransform();
  c.image = image;
  c.mode = Pen().Mode;
  if (!c.valid || c.painter != m_painter || c.bits != image->constBits() ||
      c.size != image->size() || c.dx != t.dx() || c.dy != t.dy() || c.clipSerial != m_clipSerial ||
      t.type() > QTransform::TxTranslate) {
    c.valid = true;
    c.painter = m_painter;
    c.bits = image->constBits();
    c.size = image->size();
    c.dx = t.dx();
    c.dy = t.dy();
    c.clipSerial = m_clipSerial;
    c.usable = ComputeDirectTarget(*image, c);
  }
  if (!c.usable)
    return false;
  d = c.direct;
  return true;
}

bool TQPainterCanvas::ComputeDirectTarget(const QImage &image, DirectCache &cache) const {
  const QTransform &t = m_painter->deviceTransform();
  if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) ||
      t.dy() != std::floor(t.dy()))
    return false;
  Direct &d = cache.direct;
  d = Direct();
  d.dx = int(t.dx());
  d.dy = int(t.dy());
  d.clip = image.rect();
  cache.rowFirst.clear();
  cache.spanLeft.clear();
  cache.spanRight.clear();
  cache.innerLeft.clear();
  cache.innerRight.clear();
  if (m_painter->hasClipping()) {
    const QRegion region = m_painter->clipRegion().translated(d.dx, d.dy) & image.rect();
    d.clip = region.boundingRect();
    if (region.rectCount() > 1) {
      // Rows of spans: a region's rectangles come in bands of rows, left to right.
      const int top = d.clip.top();
      const int rows = d.clip.height();
      cache.rowFirst.assign(size_t(rows) + 1, 0);
      for (const QRect &r : region)
        for (int y = r.top(); y <= r.bottom(); ++y)
          ++cache.rowFirst[size_t(y - top) + 1];
      for (int row = 0; row < rows; ++row)
        cache.rowFirst[size_t(row) + 1] += cache.rowFirst[size_t(row)];
      const size_t total = size_t(cache.rowFirst[size_t(rows)]);
      cache.spanLeft.resize(total);
      cache.spanRight.resize(total);
      std::vector<int> next(cache.rowFirst.begin(), cache.rowFirst.end() - 1);
      for (const QRect &r : region)
        for (int y = r.top(); y <= r.bottom(); ++y) {
          const size_t k = size_t(next[size_t(y - top)]++);
          cache.spanLeft[k] = r.left();
          cache.spanRight[k] = r.right() + 1;
        }
      // Level 0: a row's own single span; level l: the rows r .. r + 2^l - 1.
      const int levels = std::bit_width(unsigned(rows));
      cache.innerLeft.assign(size_t(levels) * size_t(rows), 0);
      cache.innerRight.assign(size_t(levels) * size_t(rows), 0);
      for (int row = 0; row < rows; ++row) {
        const int k = cache.rowFirst[size_t(row)];
        const bool single = cache.rowFirst[size_t(row) + 1] - k == 1;
        cache.innerLeft[size_t(row)] = single ? cache.spanLeft[size_t(k)] : INT_MAX;
        cache.innerRight[size_t(row)] = single ? cache.spanRight[size_t(k)] : INT_MIN;
      }
      for (int level = 1; level < levels; ++level) {
        const size_t at = size_t(level) * size_t(rows), below = at - size_t(rows);
        const int half = 1 << (level - 1);
        for (int row = 0; row + 2 * half <= rows; ++row) {
          cache.innerLeft[at + size_t(row)] = std::max(cache.innerLeft[below + size_t(row)],
                                                       cache.innerLeft[below + size_t(row + half)]);
          cache.innerRight[at + size_t(row)] = std::min(
              cache.innerRight[below + size_t(row)], cache.innerRight[below + size_t(row + half)]);
        }
      }
      d.rowFirst = cache.rowFirst.data();
      d.spanLeft = cache.spanLeft.data();
      d.spanRight = cache.spanRight.data();
      d.innerLeft = cache.innerLeft.data();
      d.innerRight = cache.innerRight.data();
    }
  }
  // The painter writes into this very buffer as well; it does not detach.
  d.bits = const_cast<uchar *>(image.constBits());
  d.bytesPerLine = image.bytesPerLine();
  return true;
}

void TQPainterCanvas::ThinLines(std::span<const TPoint> points, bool closed) {
  if (points.empty())
    return;
  const DashPattern pattern = PatternOf(Pen().Style);
  bool onAt[32] = {};
  int period = 0;
  for (int i = 0; i < pattern.count; ++i)
    for (int k = 0; k < pattern.runs[i]; ++k)
      onAt[period++] = (i % 2) == 0;
  const bool gaps = pattern.runs && Pen().Mode == pmCopy && BkMode() == OPAQUE;

  const auto walk = [&](auto &&plot) {
    int step = 0;
    const auto styled = [&](int x, int y) {
      if (!period) {
        plot(x, y, true);
        return;
      }
      plot(x, y, onAt[step]);
      if (++step == period)
        step = 0;
    };
    for (size_t i = 0; i + 1 < points.size(); ++i)
      RasterLine(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, styled);
    if (closed)
      RasterLine(points.back().X, points.back().Y, points[0].X, points[0].Y, styled);
  };

  Direct d;
  if (DirectTarget(d)) {
    if (d.clip.isEmpty())
      return;
    const QRgb on = OpaqueRgb(Pen().Color);
    const QRgb off = OpaqueRgb(BkColor());
    const unsigned cw = unsigned(d.clip.width()), ch = unsigned(d.clip.height());
    const int cx = d.clip.x() - d.dx, cy = d.clip.y() - d.dy; // clip in canvas units
    if (!period && Pen().Mode == pmCopy) {
      // Solid lines under a rectangle: straight runs are cut to the clip once.
      // Under a polygon, a segment whose box lies inside one span on each of
      // its rows is drawn the same way; others are checked pixel by pixel.
      const int right = cx + int(cw), bottom = cy + int(ch);
      const auto pixel = [&](int x, int y) -> QRgb & {
        return reinterpret_cast<QRgb *>(d.bits + qsizetype(y + d.dy) * d.bytesPerLine)[x + d.dx];
      };
      const auto segment = [&](const TPoint &a, const TPoint &b) {
        const auto [left, rightmost] = std::minmax(a.X, b.X);
        const auto [top, lowest] = std::minmax(a.Y, b.Y);
        if (d.rowFirst != nullptr && !d.BoxInside(left, top, rightmost, lowest)) {
          RasterLine(a.X, a.Y, b.X, b.Y, [&](int x, int y) {
            if (unsigned(x - cx) < cw && unsigned(y - cy) < ch && d.InSpans(x + d.dx, y + d.dy))
              pixel(x, y) = on;
          });
          return;
        }
        if (a.X == b.X && a.Y != b.Y) {
          if (a.X < cx || a.X >= right)
            return;
          // From a.Y towards b.Y, leaving out b.Y.
          const int from = std::max(a.Y < b.Y ? a.Y : b.Y + 1, cy);
          const int to = std::min(a.Y < b.Y ? b.Y - 1 : a.Y, bottom - 1);
          for (int y = from; y <= to; ++y)
            pixel(a.X, y) = on;
          return;
        }
        if (a.Y == b.Y && a.X != b.X) {
          if (a.Y < cy || a.Y >= bottom)
            return;
          const int from = std::max(a.X < b.X ? a.X : b.X + 1, cx);
          const int to = std::min(a.X < b.X ? b.X - 1 : a.X, right - 1);
          if (from <= to)
            std::fill(&pixel(from, a.Y), &pixel(to, a.Y) + 1, on);
          return;
        }
        if (left >= cx && rightmost < right && top >= cy && lowest < bottom) {
          PixelRuns::WriteLine(&pixel(a.X, a.Y), d.bytesPerLine / qsizetype(sizeof(QRgb)), a.X, a.Y,
                               b.X, b.Y, on);
          return;
        }
        RasterLine(a.X, a.Y, b.X, b.Y, [&](int x, int y) {
          if (unsigned(x - cx) < cw && unsigned(y - cy) < ch)
            pixel(x, y) = on;
        });
      };
      for (size_t i = 0; i + 1 < points.size(); ++i)
        segment(points[i], points[i + 1]);
      if (closed)
        segment(points.back(), points[0]);
      return;
    }
    const auto run = [&](auto &&paint) {
      walk([&](int x, int y, bool isOn) {
        if (unsigned(x - cx) >= cw || unsigned(y - cy) >= ch || (!isOn && !gaps) ||
            (d.rowFirst != nullptr && !d.InSpans(x + d.dx, y + d.dy)))
          return;
        QRgb *line = reinterpret_cast<QRgb *>(d.bits + qsizetype(y + d.dy) * d.bytesPerLine);
        paint(line[x + d.dx], isOn);
      });
    };
    constexpr QRgb kOpaque = 0xFF000000u;
    switch (Pen().Mode) {
    case pmCopy:
      run([&](QRgb &px, bool isOn) { px = isOn ? on : off; });
      break;
    case pmXor:
      run([&](QRgb &px, bool) { px = (px ^ on) | kOpaque; });
      break;
    case pmNotXor:
      run([&](QRgb &px, bool) { px = ~(px ^ on) | kOpaque; });
      break;
    case pmNot:
      run([&](QRgb &px, bool) { px = ~px | kOpaque; });
      break;
    }
    return;
  }
  m_onPixels.clear();
  m_offPixels.clear();
  walk([&](int x, int y, bool isOn) {
    if (isOn)
      m_onPixels.emplace_back(x, y);
    else if (gaps)
      m_offPixels.emplace_back(x, y);
  });
  SetRasterMode(Pen().Mode);
  QPen pen(ToQColor(BkColor()), 1, Qt::SolidLine, Qt::SquareCap);
  pen.setCosmetic(true);
  if (!m_offPixels.empty()) {
    m_painter->setPen(pen);
    m_painter->drawPoints(m_offPixels.data(), int(m_offPixels.size()));
  }
  pen.setColor(ToQColor(Pen().Color));
  m_painter->setPen(pen);
  m_painter->drawPoints(m_onPixels.data(), int(m_onPixels.size()));
}

void TQPainterCanvas::LineTo(int x, int y) {
  const TPoint from = PenPos();
  SetPenPos(TPoint(x, y));
  if (!m_painter || !PenVisible() || (from.X == x && from.Y == y))
    return;
  if (!PenIsWide()) {
    const TPoint ends[] = {from, TPoint(x, y)};
    ThinLines(ends, false);
    return;
  }
  const QPoint a(from.X, from.Y), b(x, y);
  StrokeWide([&] { m_painter->drawLine(a, b); });
}

void TQPainterCanvas::Polyline(std::span<const TPoint> points) {
  if (!m_painter || !PenVisible() || points.size() < 2)
    return;
  if (!PenIsWide()) {
    ThinLines(points, false);
    return;
  }
  const auto &pts = ToQPoints(points);
  StrokeWide([&] { m_painter->drawPolyline(pts.data(), int(pts.size())); });
}

void TQPainterCanvas::PolyBezier(std::span<const TPoint> points) {
  if (!m_painter || points.size() < 4)
    return;
  QPainterPath path(QPointF(points[0].X, points[0].Y));
  for (size_t i = 1; i + 2 < points.size(); i += 3)
    path.cubicTo(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X,
                 points[i + 2].Y);
  if (PenIsWide()) {
    StrokeWide([&] { m_painter->drawPath(path); });
    return;
  }
  if (!PenVisible())
    return;
  // A 1-px curve is drawn as the 1-px lines of its flattened path, so it
  // follows the line rules (no end pixel, raster modes, styles).
  std::vector<TPoint> flat;
  for (const QPolygonF &polygon : path.toSubpathPolygons())
    for (const QPointF &p : polygon) {
      const TPoint q(qRound(p.x()), qRound(p.y()));
      if (flat.empty() || !(flat.back() == q))
        flat.push_back(q);
    }
  ThinLines(flat, false);
}

// ---- shapes --------------------------------------------------------------

void TQPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (!m_painter)
    return;
  Normalize(x1, y1, x2, y2);
  if (x2 == x1 || y2 == y1)
    return;
  SetRasterMode(Pen().Mode);
  if (!PenVisible()) {
    // Only the inside: one pixel less to the right and bottom.
    FillRectWithBrush(QRect(QPoint(x1, y1), QPoint(x2 - 2, y2 - 2)));
    return;
  }
  const int w = std::max(1, Pen().Width);
  // The outline's outer box, inclusive. A wide pen is centred on the 1-px
  // outline, unless it is an inside-frame pen.
  int l = x1, t = y1, r = x2 - 1, b = y2 - 1;
  if (w > 1 && Pen().Style != psInsideFrame) {
    l -= w / 2;
    t -= w / 2;
    r += (w - 1) / 2;
    b += (w - 1) / 2;
  }
  const QRect inner(QPoint(l + w, t + w), QPoint(r - w, b - w));
  if (inner.isValid())
    FillRectWithBrush(inner);
  if (PenIsStyled()) {
    const TPoint corners[] = {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}};
    ThinLines(corners, true);
    return;
  }
  // Solid outline as four bands that never overlap (so raster modes touch
  // every pixel once).
  const QColor color = ToQColor(Pen().Color);
  if (!inner.isValid()) {
    m_painter->fillRect(QRect(QPoint(l, t), QPoint(r, b)), color);
    return;
  }
  m_painter->fillRect(QRect(QPoint(l, t), QPoint(r, t + w - 1)), color);
  m_painter->fillRect(QRect(QPoint(l, b - w + 1), QPoint(r, b)), color);
  m_painter->fillRect(QRect(QPoint(l, t + w), QPoint(l + w - 1, b - w)), color);
  m_painter->fillRect(QRect(QPoint(r - w + 1, t + w), QPoint(r, b - w)), color);
}

void TQPainterCanvas::DrawShape(Shape shape, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                                int y4) {
  if (!m_painter)
    return;
  Normalize(x1, y1, x2, y2);
  if (x2 - x1 < 2 || y2 - y1 < 2)
    return;
  // The curve runs through the pixels x1..x2-1. A 1-px outline is stroked
  // half a pixel in (the cosmetic stroker's pixel i spans i..i+1); a wide
  // pen is centred on the pixel centres, an inside-frame one moved in so its
  // outer edge stays in the box. Without a pen only the inside is filled,
  // one pixel less to the right and bottom.
  const QRectF base(x1, y1, x2 - 1 - x1, y2 - 1 - y1);
  QRectF box = base;
  const int w = Pen().Width;
  if (PenVisible() && w > 1 && Pen().Style == psInsideFrame)
    box = QRectF(x1 + w / 2.0, y1 + w / 2.0, (x2 - x1) - w, (y2 - y1) - w);
  else if (PenVisible() && (w <= 1 || w % 2 == 1))
    box.translate(0.5, 0.5);
  if (box.width() <= 0 || box.height() <= 0)
    return;

  QPainterPath path;
  path.setFillRule(Qt::OddEvenFill);
  if (shape == Shape::Ellipse) {
    path.addEllipse(box);
  } else if (shape == Shape::RoundRect) {
    // x3 and y3 are the corner ellipse's width and height.
    path.addRoundedRect(box, std::max(0, x3) / 2.0, std::max(0, y3) / 2.0);
  } else {
    const qreal start = EllipseAngle(base, x3, y3);
    qreal sweep = EllipseAngle(base, x4, y4) - start;
    while (sweep <= 0)
      sweep += 360;
    while (sweep > 360)
      sweep -= 360;
    if (shape == Shape::Pie) {
      path.moveTo(box.center());
      path.arcTo(box, start, sweep);
      path.closeSubpath();
    } else {
      path.arcMoveTo(box, start);
      path.arcTo(box, start, sweep);
      if (shape == Shape::Chord)
        path.closeSubpath();
    }
  }
  SetRasterMode(Pen().Mode);
  if (shape != Shape::Arc)
    FillPathWithBrush(path);
  Stroke([&] { m_painter->drawPath(path); });
}

void TQPainterCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) {
  DrawShape(Shape::RoundRect, x1, y1, x2, y2, cornerW, cornerH, 0, 0);
}

void TQPainterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  DrawShape(Shape::Ellipse, x1, y1, x2, y2, 0, 0, 0, 0);
}

void TQPainterCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  DrawShape(Shape::Arc, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TQPainterCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  DrawShape(Shape::Pie, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TQPainterCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  DrawShape(Shape::Chord, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TQPainterCanvas::FillPolygonArea(const std::vector<QPoint> &pts) {
  const TBrush &b = Brush();
  const bool solid = b.Style == bsSolid && !(b.Bitmap && !b.Bitmap->isNull());
  if (solid && Pen().Mode == pmCopy && FillPolygonDirect(pts))
    return;
  SetRasterMode(Pen().Mode);
  m_painter->setPen(Qt::NoPen);
  if (solid) {
    // Many small faces in one colour (3-D ribbons): the painter keeps the
    // brush it has when handed the same one, instead of setting it up again.
    if (!m_solidBrushValid || m_solidBrushColor != b.Color) {
      m_solidBrush = QBrush(ToQColor(b.Color));
      m_solidBrushColor = b.Color;
      m_solidBrushValid = true;
    }
    m_painter->setBrush(m_solidBrush);
    m_painter->drawPolygon(pts.data(), int(pts.size()), Qt::OddEvenFill);
    return;
  }
  FillWithBrush([&](const QBrush &brush) {
    m_painter->setBrush(brush);
    m_painter->drawPolygon(pts.data(), int(pts.size()), Qt::OddEvenFill);
  });
}

QRgb TQPainterCanvas::OpaqueRgb(TColor c) {
  // Faces and their outlines take turns: the last two colours are kept.
  for (int k = 0; k < 2; ++k)
    if (m_rgbs[k].valid && m_rgbs[k].of == c) {
      m_lastRgb = k;
      return m_rgbs[k].rgb;
    }
  const int k = 1 - m_lastRgb;
  m_rgbs[k] = {c, ToQColor(c).rgb(), true};
  m_lastRgb = k;
  return m_rgbs[k].rgb;
}

bool TQPainterCanvas::FillPolygonDirect(const std::vector<QPoint> &pts) {
  const int n = int(pts.size());
  if (n < 3 || n > TPolygonSpans::kMaxCorners)
    return false;
  // A polygon whose edges all run straight across or down (a rectangle) the
  // engine fills as a rectangle, by rules of its own.
  bool slanted = false;
  for (int i = 0; i < n && !slanted; ++i) {
    const QPoint &a = pts[size_t(i)], &b = pts[size_t(i + 1 < n ? i + 1 : 0)];
    slanted = a.x() != b.x() && a.y() != b.y();
  }
  if (!slanted)
    return false;
  Direct d;
  if (!DirectTarget(d))
    return false;
  if (d.clip.isEmpty())
    return true;
  // Exact only with every corner inside the clip's columns, and none so far
  // away that the engine cuts the polygon before filling it.
  constexpr int kFar = 16384;
  for (const QPoint &p : pts)
    if (p.x() + d.dx < d.clip.left() || p.x() + d.dx > d.clip.right() || p.y() + d.dy < -kFar ||
        p.y() + d.dy > kFar)
      return false;
  TPolygonSpans &spans = *m_spans;
  if (!spans.Prepare(pts.data(), n, d.clip.top() - d.dy, d.clip.bottom() - d.dy))
    return false;
  ++m_directFills;
  const QRgb rgb = OpaqueRgb(Brush().Color);
  if (d.rowFirst != nullptr) {
    int left = pts[0].x(), right = left, top = pts[0].y(), bottom = top;
    for (const QPoint &p : pts) {
      left = std::min(left, p.x());
      right = std::max(right, p.x());
      top = std::min(top, p.y());
      bottom = std::max(bottom, p.y());
    }
    // Inside one span of the clip on every row it covers: no cutting.
    if (d.BoxInside(left, top, right, bottom))
      d.rowFirst = nullptr;
  }
  spans.Emit([&](int y, int x0, int x1) {
    const int devY = y + d.dy;
    QRgb *line = reinterpret_cast<QRgb *>(d.bits + qsizetype(devY) * d.bytesPerLine);
    // The runs lie inside the corners' columns; kept inside the picture all
    // the same.
    x0 = std::max(x0 + d.dx, d.clip.left());
    x1 = std::min(x1 + d.dx, d.clip.right() + 1);
    if (x0 >= x1)
      return;
    if (d.rowFirst == nullptr) {
      PixelRuns::FillRun(line + x0, x1 - x0, rgb);
      return;
    }
    const int row = devY - d.clip.top();
    for (int k = d.rowFirst[row]; k < d.rowFirst[row + 1]; ++k) {
      const int from = std::max(x0, d.spanLeft[k]), to = std::min(x1, d.spanRight[k]);
      if (from < to)
        PixelRuns::FillRun(line + from, to - from, rgb);
    }
  });
  return true;
}

void TQPainterCanvas::Polygon(std::span<const TPoint> points) {
  if (!m_painter || points.size() < 2)
    return;
  const auto &pts = ToQPoints(points);
  FillPolygonArea(pts);
  if (!PenVisible())
    return;
  if (!PenIsWide())
    ThinLines(points, true);
  else
    StrokeWide([&] { m_painter->drawPolygon(pts.data(), int(pts.size()), Qt::OddEvenFill); });
}

void TQPainterCanvas::FillPolygon(std::span<const TPoint> points) {
  if (!m_painter || points.size() < 3)
    return;
  FillPolygonArea(ToQPoints(points));
}

// ---- brush-only fills ------------------------------------------------------

void TQPainterCanvas::FillRect(const TRect &r) {
  if (!m_painter || r.IsEmpty())
    return;
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  FillRectWithBrush(ToQRect(r));
}

void TQPainterCanvas::FrameRect(const TRect &r) {
  if (!m_painter || r.IsEmpty())
    return;
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (r.Width() <= 2 || r.Height() <= 2) {
    FillRectWithBrush(ToQRect(r));
    return;
  }
  FillRectWithBrush(QRect(r.Left, r.Top, r.Width(), 1));
  FillRectWithBrush(QRect(r.Left, r.Bottom - 1, r.Width(), 1));
  FillRectWithBrush(QRect(r.Left, r.Top + 1, 1, r.Height() - 2));
  FillRectWithBrush(QRect(r.Right - 1, r.Top + 1, 1, r.Height() - 2));
}

// ---- text ----------------------------------------------------------------

const QFont &TQPainterCanvas::CurrentQFont() {
  if (!m_qfontValid || !(m_qfontOf == Font())) {
    m_qfontOf = Font();
    m_qfont = ToQFont(m_qfontOf);
    m_qfontValid = true;
  }
  return m_qfont;
}

TSize TQPainterCanvas::TextExtent(const std::string &text) {
  const QFontMetrics fm(CurrentQFont());
  return TSize{fm.horizontalAdvance(QString::fromStdString(text)), fm.height()};
}

void TQPainterCanvas::TextOut(int x, int y, const std::string &text) {
  if (!m_painter)
    return;
  const QFont &font = CurrentQFont();
  const QFontMetrics fm(font);
  const QString s = QString::fromStdString(text);
  const int w = fm.horizontalAdvance(s);
  const int h = fm.height();
  const unsigned align = TextAlign();

  if (align & TA_UPDATECP) {
    x = PenPos().X;
    y = PenPos().Y;
  }
  int dx = 0; // from the reference point to the cell's left edge
  if ((align & TA_CENTER) == TA_CENTER)
    dx = -w / 2;
  else if (align & TA_RIGHT)
    dx = -w;
  int dy = 0; // from the reference point to the cell's top edge
  if ((align & TA_BASELINE) == TA_BASELINE)
    dy = -fm.ascent();
  else if (align & TA_BOTTOM)
    dy = -h;
  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) != TA_CENTER)
      SetPenPos(TPoint((align & TA_RIGHT) ? x - w : x + w, y));
  }
  if (s.isEmpty())
    return;

  m_painter->save();
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->translate(x, y);
  const int tenths = Font().Orientation % 3600;
  if (tenths != 0)
    m_painter->rotate(-tenths / 10.0);
  if (BkMode() == OPAQUE)
    m_painter->fillRect(QRect(dx, dy, w, h), ToQColor(BkColor()));
  m_painter->setFont(font);
  m_painter->setPen(ToQColor(Font().Color));
  m_painter->drawText(QPoint(dx, dy + fm.ascent()), s);
  m_painter->restore();
}

void TQPainterCanvas::TextRect(const TRect &r, int x, int y, const std::string &text) {
  if (!m_painter)
    return;
  m_painter->save();
  m_painter->setClipRect(ToQRect(r),
                         m_painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (!r.IsEmpty())
    FillRectWithBrush(ToQRect(r));
  TextOut(x, y, text);
  m_painter->restore();
}

// ---- clipping ------------------------------------------------------------

void TQPainterCanvas::ApplyClip(const ClipState &c) {
  ++m_clipSerial;
  if (!m_painter)
    return;
  if (c.Enabled) {
    // After setClipping(false) the raster engine keeps its clip switched off
    // even when a new region replaces it, and fills the whole picture: the
    // clip is switched on again before the region is set.
    m_painter->setClipping(true);
    m_painter->setClipRegion(c.Region);
  } else
    m_painter->setClipping(false);
}

void TQPainterCanvas::SetClipRect(const TRect &r) {
  const QRegion region(ToQRect(r));
  m_clip.Enabled = true;
  m_clip.Region = m_baseClip.Enabled ? m_baseClip.Region.intersected(region) : region;
  ApplyClip(m_clip);
}

void TQPainterCanvas::SetClipPolygon(std::span<const TPoint> points) {
  QPolygon polygon;
  polygon.reserve(int(points.size()));
  for (const TPoint &p : points)
    polygon.append(QPoint(p.X, p.Y));
  const QRegion region(polygon, Qt::OddEvenFill);
  m_clip.Enabled = true;
  m_clip.Region = m_baseClip.Enabled ? m_baseClip.Region.intersected(region) : region;
  ApplyClip(m_clip);
}

void TQPainterCanvas::ClipIntersectRect(const TRect &r) {
  const QRegion region(ToQRect(r));
  m_clip.Region = m_clip.Enabled ? m_clip.Region.intersected(region) : region;
  m_clip.Enabled = true;
  ApplyClip(m_clip);
}

void TQPainterCanvas::ClearClip() {
  m_clip = m_baseClip;
  ApplyClip(m_clip);
}

void TQPainterCanvas::SaveClip() { m_clipStack.push_back(m_clip); }

void TQPainterCanvas::RestoreClip() {
  if (m_clipStack.empty())
    return;
  m_clip = m_clipStack.back();
  m_clipStack.pop_back();
  ApplyClip(m_clip);
}

// ---- pixels and pictures ---------------------------------------------------

const QImage *TQPainterCanvas::Image() const {
  if (!m_painter)
    return nullptr;
  QPaintDevice *device = m_painter->device();
  if (device && device->devType() == QInternal::Image)
    return static_cast<const QImage *>(device);
  return nullptr;
}

TColor TQPainterCanvas::Pixel(int x, int y) {
  const QImage *image = Image();
  if (!image)
    return clNone;
  const QPoint d = m_painter->deviceTransform().map(QPoint(x, y));
  if (!image->rect().contains(d))
    return clNone;
  const QRgb c = image->pixel(d);
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TQPainterCanvas::SetPixel(int x, int y, TColor c) {
  if (!m_painter)
    return;
  m_painter->setCompositionMode(QPainter::CompositionMode_Source);
  m_painter->fillRect(QRect(x, y, 1, 1), ToQColor(c));
}

void TQPainterCanvas::Draw(int x, int y, const QImage &image) {
  if (!m_painter || image.isNull())
    return;
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->drawImage(QPoint(x, y), image);
}

void TQPainterCanvas::StretchDraw(const TRect &dest, const QImage &image) {
  if (!m_painter || image.isNull() || dest.IsEmpty())
    return;
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->drawImage(ToQRect(dest), image);
}

void TQPainterCanvas::CopyRect(const TRect &dest, const QImage &source, const TRect &src) {
  if (!m_painter || source.isNull() || dest.IsEmpty() || src.IsEmpty())
    return;
  m_painter->setCompositionMode(QPainter::CompositionMode_Source);
  if (&source == Image()) {
    // Copying within the picture being drawn: take the source out first.
    const QImage part = source.copy(ToQRect(src));
    m_painter->drawImage(ToQRect(dest), part);
  } else {
    m_painter->drawImage(ToQRect(dest), source, ToQRect(src));
  }
}
