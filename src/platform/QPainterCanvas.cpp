#include "platform/QPainterCanvas.h"

#include "platform/PolygonCut.h"
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

// A brush that paints with a picture instead of its style.
bool HasPattern(const TBrush &b) { return b.Bitmap && !b.Bitmap->isNull(); }
// A brush that lays one colour over everything it covers.
bool PlainSolid(const TBrush &b) { return b.Style == bsSolid && !HasPattern(b); }

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

void TQPainterCanvas::Bind(QPainter *painter, bool owned) {
  m_painter = painter;
  ++m_clipSerial;
  m_textsFontSet = false;
  m_deviceKnown = false;
  // A caller's painter gets its state back on End.
  if (!owned)
    m_painter->save();
  SetDrawingState();
  m_foreignClip = m_painter->hasClipping();
  m_appliedClipping = m_foreignClip;
  m_appliedRegion = QRegion();
  m_clip = ClipState();
  m_clipStack.clear();
}

void TQPainterCanvas::SetDrawingState() {
  m_painter->setRenderHint(QPainter::Antialiasing, false);
  m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  m_painter->setBackgroundMode(Qt::TransparentMode);
}

void TQPainterCanvas::End() {
  if (!m_painter)
    return;
  if (m_own) {
    m_own->end();
    m_own.reset();
  } else {
    m_painter->restore();
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
  if (HasPattern(b)) {
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
  const TBrush &b = Brush();
  if (PlainSolid(b)) {
    m_painter->fillRect(r, ToQColor(b.Color));
    return;
  }
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

bool TQPainterCanvas::OwnsClip() const {
  if (m_foreignClip)
    return false;
  const bool clipping = m_painter->hasClipping();
  if (clipping != m_appliedClipping)
    return false;
  // The painter hands back the very region it was given: equal at once.
  return !clipping || m_painter->clipRegion() == m_appliedRegion;
}

const TPictureTarget *TQPainterCanvas::DirectTarget(TPenMode mode) {
  if (m_directWrites == DirectWrites::Off)
    return nullptr;
  if (m_directWrites == DirectWrites::Checked) {
    static const bool agree = DirectWritesAgree();
    if (!agree)
      return nullptr;
  }
  const QImage *image = Image();
  // Pixels laid through the painter's opacity blend with the picture: the
  // painter draws them.
  if (!image || !TPictureTarget::Writable(*image, mode) || !OwnsClip() || m_painter->opacity() < 1)
    return nullptr;
  const QTransform &t = m_painter->deviceTransform();
  if (t.type() > QTransform::TxTranslate)
    return nullptr;
  DirectCache &c = m_direct;
  if (!c.valid || c.painter != m_painter || c.bits != image->constBits() ||
      c.size != image->size() || c.dx != t.dx() || c.dy != t.dy() || c.clipSerial != m_clipSerial) {
    c.valid = true;
    c.painter = m_painter;
    c.bits = image->constBits();
    c.size = image->size();
    c.dx = t.dx();
    c.dy = t.dy();
    c.clipSerial = m_clipSerial;
    c.usable = t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
    if (c.usable) {
      const int dx = int(t.dx()), dy = int(t.dy());
      if (m_painter->hasClipping()) {
        const QRegion clip = m_painter->clipRegion().translated(dx, dy);
        c.target.Set(*image, dx, dy, &clip);
      } else {
        c.target.Set(*image, dx, dy, nullptr);
      }
    }
  }
  return c.usable ? &c.target : nullptr;
}

TPixelBox TQPainterCanvas::PainterBox() const { return ReachBox(true); }

TPixelBox TQPainterCanvas::DeviceBox() const { return ReachBox(false); }

TPixelBox TQPainterCanvas::ReachBox(bool clipped) const {
  // The device's pixels (and the clip's bounds) in canvas pixels, a pixel
  // wider all round for the rounding of a turned or scaled painter.
  if (!m_deviceKnown) {
    // A device keeps its size while painted on.
    const QPaintDevice *device = m_painter->device();
    if (device == nullptr)
      return {};
    const qreal ratio = device->devicePixelRatio();
    m_deviceArea = QRectF(0, 0, device->width() * ratio, device->height() * ratio);
    m_deviceKnown = true;
  }
  const QTransform &toDevice = m_painter->deviceTransform();
  QRectF area = m_deviceArea;
  if (toDevice.type() <= QTransform::TxTranslate) {
    area.translate(-toDevice.dx(), -toDevice.dy());
  } else {
    bool invertible = false;
    const QTransform back = toDevice.inverted(&invertible);
    if (!invertible)
      return {};
    area = back.mapRect(area);
  }
  if (clipped && m_painter->hasClipping())
    area &= m_painter->clipBoundingRect();
  if (area.isEmpty())
    return {0, 0, -1, -1};
  const auto edge = [](qreal v) {
    return int(std::clamp<qreal>(std::floor(v), INT_MIN / 2, INT_MAX / 2));
  };
  return {edge(area.left()) - 2, edge(area.top()) - 2, edge(area.right()) + 2,
          edge(area.bottom()) + 2};
}

void TQPainterCanvas::ThinLines(std::span<const TPoint> points, bool closed) {
  if (points.empty())
    return;
  const TDashPattern dash(Pen().Style);
  const bool gaps = dash.Period != 0 && Pen().Mode == pmCopy && BkMode() == OPAQUE;
  if (const TPictureTarget *target = DirectTarget(Pen().Mode)) {
    m_linePixels += quint64(
        target->Lines(points, closed, dash,
                      {ToQColor(Pen().Color).rgb(), ToQColor(BkColor()).rgb(), Pen().Mode, gaps}));
    ++m_directLines;
    return;
  }
  m_onPixels.clear();
  m_offPixels.clear();
  WalkLines(points, closed, dash, PainterBox(), [&](int x, int y, bool isOn) {
    if (isOn)
      m_onPixels.emplace_back(x, y);
    else if (gaps)
      m_offPixels.emplace_back(x, y);
  });
  m_linePixels += quint64(m_onPixels.size() + m_offPixels.size());
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

void TQPainterCanvas::PolylineTo(std::span<const TPoint> points) {
  if (!m_painter || !PenVisible() || PenIsWide() || PenIsStyled() || points.empty()) {
    TCanvas::PolylineTo(points);
    return;
  }
  // Each line leaves out its end pixel, which the next one starts on: the
  // pixels of the lines one by one.
  m_path.assign(1, PenPos());
  m_path.insert(m_path.end(), points.begin(), points.end());
  SetPenPos(points.back());
  ThinLines(m_path, false);
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
  const bool solid = PlainSolid(b);
  if (solid && Pen().Mode == pmCopy) {
    const TPictureTarget *target = DirectTarget(pmCopy);
    if (target &&
        target->FillPolygon(pts.data(), int(pts.size()), ToQColor(b.Color).rgb(), *m_spans)) {
      ++m_directFills;
      return;
    }
  }
  SetRasterMode(Pen().Mode);
  m_painter->setPen(Qt::NoPen);
  if (solid) {
    // Many faces in one colour (3-D boxes): handed the brush it has, the
    // painter skips setting it up again (about 8 % of a box scene).
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

namespace {

// Whether two fonts make the same Qt font (colour and angle are drawn apart).
bool SameQFont(const TFont &a, const TFont &b) {
  return a.PixelSize() == b.PixelSize() && a.Bold == b.Bold && a.Italic == b.Italic &&
         a.Underline == b.Underline && a.StrikeOut == b.StrikeOut && a.Name == b.Name;
}

} // namespace

const QFont &TQPainterCanvas::CurrentQFont() {
  if (!m_qfontValid || !SameQFont(m_qfontOf, Font())) {
    // Cells switch between a few fonts: those made lately are kept.
    const auto known = std::find_if(m_recentQFonts.begin(), m_recentQFonts.end(),
                                    [&](const auto &f) { return SameQFont(f.first, Font()); });
    if (known != m_recentQFonts.end()) {
      m_qfont = known->second;
    } else {
      m_qfont = ToQFont(Font());
      if (m_recentQFonts.size() >= kRecentQFonts)
        m_recentQFonts.erase(m_recentQFonts.begin());
      m_recentQFonts.emplace_back(Font(), m_qfont);
    }
    m_qfontOf = Font();
    m_qfontValid = true;
    m_textsFontSet = false;
  }
  const QPaintDevice *device = m_painter ? m_painter->device() : nullptr;
  if (!m_textsFontSet || device != m_textsDevice) {
    m_texts.SetFont(m_qfont, device);
    m_textsFontSet = true;
    m_textsDevice = device;
  }
  return m_qfont;
}

TSize TQPainterCanvas::TextExtent(const std::string &text) {
  CurrentQFont();
  return TSize{m_texts.Width(text), m_texts.Height()};
}

void TQPainterCanvas::TextOut(int x, int y, const std::string &text) {
  if (m_painter)
    DrawText(x, y, text, nullptr, false);
}

void TQPainterCanvas::DrawText(int x, int y, const std::string &text, const QRect *within,
                               bool backgroundLaid) {
  const QFont &font = CurrentQFont();
  const int ascent = m_texts.Ascent();
  const unsigned align = TextAlign();
  // The width only where the text is placed or backed by it: cells draw
  // left-aligned, and a text new to the font costs a layout to measure.
  const bool needsWidth = (align & (TA_RIGHT | TA_UPDATECP)) != 0 || BkMode() == OPAQUE;
  const int w = needsWidth ? m_texts.Width(text) : 0;
  const int h = m_texts.Height();

  TextReference(x, y);
  const TPoint offset = TextCellOffset(w);
  const int dx = offset.X, dy = offset.Y;
  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) != TA_CENTER)
      SetPenPos(TPoint((align & TA_RIGHT) ? x - w : x + w, y));
  }
  if (text.empty())
    return;
  // A text whose cell, turned any way, lies wholly outside what the painter
  // can reach (a mark of a zoomed chart) is not laid out at all.
  // Only a point already that far out needs the width it was spared above.
  const TPixelBox reach = PainterBox();
  const auto outside = [&](long long radius) {
    return x + radius < reach.Left || x - radius > reach.Right || y + radius < reach.Top ||
           y - radius > reach.Bottom;
  };
  if (outside(2LL * h) && outside(2LL * (needsWidth ? w : m_texts.Width(text)) + 2LL * h))
    return;

  const int tenths = Font().Orientation % 3600;
  if (tenths == 0) {
    // Level text, thousands per grid paint: the painter's pen and mode are
    // handed back without saving its whole state.
    const QPen pen = m_painter->pen();
    const QPainter::CompositionMode mode = m_painter->compositionMode();
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (BkMode() == OPAQUE && !backgroundLaid) {
      QRect box(x + dx, y + dy, w, h);
      if (within)
        box &= *within;
      m_painter->fillRect(box, ToQColor(BkColor()));
    }
    m_painter->setPen(ToQColor(Font().Color));
    m_texts.Draw(*m_painter, QPointF(x + dx, y + dy + ascent), text);
    m_painter->setPen(pen);
    m_painter->setCompositionMode(mode);
    return;
  }

  m_painter->save();
  m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_painter->translate(x, y);
  if (tenths != 0)
    m_painter->rotate(-tenths / 10.0);
  if (BkMode() == OPAQUE)
    m_painter->fillRect(QRect(dx, dy, w, h), ToQColor(BkColor()));
  m_painter->setPen(ToQColor(Font().Color));
  if (tenths != 0) {
    m_painter->setFont(font);
    m_painter->drawText(QPoint(dx, dy + ascent), QString::fromStdString(text));
  } else {
    m_texts.Draw(*m_painter, QPointF(dx, dy + ascent), text);
  }
  m_painter->restore();
}

void TQPainterCanvas::TextReference(int &x, int &y) const {
  if (TextAlign() & TA_UPDATECP) {
    x = PenPos().X;
    y = PenPos().Y;
  }
}

TPoint TQPainterCanvas::TextCellOffset(int width) const {
  const unsigned align = TextAlign();
  TPoint offset(0, 0);
  if ((align & TA_CENTER) == TA_CENTER)
    offset.X = -width / 2;
  else if (align & TA_RIGHT)
    offset.X = -width;
  if ((align & TA_BASELINE) == TA_BASELINE)
    offset.Y = -m_texts.Ascent();
  else if (align & TA_BOTTOM)
    offset.Y = -m_texts.Height();
  return offset;
}

bool TQPainterCanvas::TextInside(const TRect &r, int x, int y, const std::string &text) {
  if (Font().Orientation % 3600 != 0 || text.empty() ||
      m_painter->deviceTransform().type() > QTransform::TxTranslate ||
      m_painter->layoutDirection() == Qt::RightToLeft)
    return false;
  CurrentQFont();
  // Placed as TextOut places it.
  TextReference(x, y);
  const TPoint offset = TextCellOffset(m_texts.Width(text));
  x += offset.X;
  y += offset.Y;
  const QRectF area(r.Left, r.Top, r.Width(), r.Height());
  const TTextLayoutCache::Entry &entry = m_texts.LaidOut(text);
  return entry.Drawable && area.contains(entry.Ink.translated(x, y + m_texts.Ascent()));
}

void TQPainterCanvas::TextRect(const TRect &r, int x, int y, const std::string &text) {
  if (!m_painter)
    return;
  if (!r.IsEmpty() && TextInside(r, x, y, text)) {
    // Nothing of the text would be clipped away: the painter's clip stays.
    const QPainter::CompositionMode mode = m_painter->compositionMode();
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRect within = ToQRect(r);
    FillRectWithBrush(within);
    m_painter->setCompositionMode(mode);
    // A solid fill of the background's colour leaves the text's background
    // nothing to lay.
    const bool laid = BkMode() == OPAQUE && PlainSolid(Brush()) && Brush().Color == BkColor();
    DrawText(x, y, text, laid ? nullptr : &within, laid);
    return;
  }
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
  if (m_foreignClip) {
    // The painter's own clip comes back exactly as it was (it may be a path)
    // and the canvas' region is laid over it.
    m_painter->restore();
    m_painter->save();
    SetDrawingState();
    if (c.Enabled)
      m_painter->setClipRegion(c.Region, Qt::IntersectClip);
    return;
  }
  if (c.Enabled) {
    // After setClipping(false) the raster engine keeps its clip switched off
    // even when a new region replaces it, and fills the whole picture: the
    // clip is switched on again before the region is set.
    m_painter->setClipping(true);
    m_painter->setClipRegion(c.Region);
  } else {
    m_painter->setClipping(false);
  }
  m_appliedClipping = m_painter->hasClipping();
  m_appliedRegion = m_appliedClipping ? m_painter->clipRegion() : QRegion();
}

void TQPainterCanvas::SetClipRect(const TRect &r) {
  m_clip = {true, QRegion(ToQRect(r))};
  ApplyClip(m_clip);
}

void TQPainterCanvas::SetClipPolygon(std::span<const TPoint> points) {
  QPolygon polygon;
  polygon.reserve(int(points.size()));
  for (const TPoint &p : points)
    polygon.append(QPoint(p.X, p.Y));
  // A region of a polygon costs its every row: one reaching far out of the
  // picture (a zoomed 3-D box) is cut a good way outside the picture first.
  if (m_painter) {
    const TPixelBox device = DeviceBox();
    const QRect reach = QRect(QPoint(device.Left, device.Top), QPoint(device.Right, device.Bottom))
                            .adjusted(-kClipReach, -kClipReach, kClipReach, kClipReach);
    if (!reach.contains(polygon.boundingRect()))
      polygon = CutPolygonToRect(polygon, reach);
  }
  m_clip = {true, QRegion(polygon, Qt::OddEvenFill)};
  ApplyClip(m_clip);
}

void TQPainterCanvas::ClipIntersectRect(const TRect &r) {
  const QRegion region(ToQRect(r));
  m_clip.Region = m_clip.Enabled ? m_clip.Region.intersected(region) : region;
  m_clip.Enabled = true;
  ApplyClip(m_clip);
}

void TQPainterCanvas::ClearClip() {
  m_clip = ClipState();
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
