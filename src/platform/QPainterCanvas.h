#pragma once
#include "platform/Canvas.h"

#include <QFont>
#include <QPen>
#include <QRegion>
#include <algorithm>
#include <bit>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;
class QPainterPath;
class TPolygonSpans;

// The canvas drawn with a QPainter (antialiasing off, so that pixels land
// exactly as the rules in Canvas.h say). Works on any paint device the raster
// engine draws: a QImage, or a widget inside its paintEvent.
class TQPainterCanvas : public TCanvas {
public:
  // Not bound: every drawing operation does nothing until Begin.
  TQPainterCanvas();
  // Draws with an active painter owned by the caller (e.g. in paintEvent).
  explicit TQPainterCanvas(QPainter &painter);
  // Opens its own painter on the device and closes it on End or destruction.
  explicit TQPainterCanvas(QPaintDevice *device);
  ~TQPainterCanvas() override;

  // Binds to a device with an own painter, or to a caller's painter. The
  // canvas state (pen, brush, font, ...) is kept; the clip starts out as the
  // painter's own clip.
  bool Begin(QPaintDevice *device);
  void Begin(QPainter &painter);
  void End();
  bool Active() const { return m_painter != nullptr; }
  QPainter *Painter() const { return m_painter; }

  void LineTo(int x, int y) override;
  void Polyline(std::span<const TPoint> points) override;
  void PolyBezier(std::span<const TPoint> points) override;

  using TCanvas::Ellipse;
  using TCanvas::FillPolygon;
  using TCanvas::PolyBezier;
  using TCanvas::Polygon;
  using TCanvas::Polyline;
  using TCanvas::Rectangle;
  using TCanvas::SetClipPolygon;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygon(std::span<const TPoint> points) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;

  void FillRect(const TRect &r) override;
  void FrameRect(const TRect &r) override;
  void FillPolygon(std::span<const TPoint> points) override;

  void TextOut(int x, int y, const std::string &text) override;
  void TextRect(const TRect &r, int x, int y, const std::string &text) override;
  TSize TextExtent(const std::string &text) override;

  void SetClipRect(const TRect &r) override;
  void SetClipPolygon(std::span<const TPoint> points) override;
  void ClipIntersectRect(const TRect &r) override;
  void ClearClip() override;
  void SaveClip() override;
  void RestoreClip() override;

  TColor Pixel(int x, int y) override;
  void SetPixel(int x, int y, TColor c) override;

  void Draw(int x, int y, const QImage &image) override;
  void StretchDraw(const TRect &dest, const QImage &image) override;
  void CopyRect(const TRect &dest, const QImage &source, const TRect &src) override;
  using TCanvas::CopyRect;
  const QImage *Image() const override;

  // How many polygon fills went straight into the picture (not through the
  // painter) since the canvas was made.
  quint64 DirectFillCount() const { return m_directFills; }

private:
  struct ClipState {
    bool Enabled = false;
    QRegion Region;
  };
  enum class Shape { Ellipse, RoundRect, Arc, Pie, Chord };
  // A picture the 1-px lines may write into directly.
  struct Direct {
    uchar *bits = nullptr;
    qsizetype bytesPerLine = 0;
    QRect clip; // device pixels: the clip's bounds
    int dx = 0, dy = 0;
    // A clip of more than one rectangle (a polygon) as spans per device row
    // from clip.top(): row r holds spans rowFirst[r] .. rowFirst[r + 1] - 1,
    // each [spanLeft, spanRight). Empty for a rectangular clip.
    const int *rowFirst = nullptr;
    const int *spanLeft = nullptr;
    const int *spanRight = nullptr;
    // Per level l and row r, the furthest left and right x that the rows
    // r .. r + 2^l - 1 all reach inside one span (rows with more spans reach
    // nowhere): a box's rows are looked up in two steps.
    const int *innerLeft = nullptr;
    const int *innerRight = nullptr;
    // Whether the box of canvas pixels x0..x1, y0..y1 lies inside one span
    // of the clip on each of its rows.
    bool BoxInside(int x0, int y0, int x1, int y1) const {
      x0 += dx;
      x1 += dx;
      y0 += dy;
      y1 += dy;
      if (x0 < clip.left() || x1 > clip.right() || y0 < clip.top() || y1 > clip.bottom())
        return false;
      const int a = y0 - clip.top(), b = y1 - clip.top();
      const int level = std::bit_width(unsigned(b - a + 1)) - 1;
      const int *left = innerLeft + qsizetype(level) * clip.height();
      const int *right = innerRight + qsizetype(level) * clip.height();
      const int second = b - (1 << level) + 1;
      return x0 >= std::max(left[a], left[second]) && x1 < std::min(right[a], right[second]);
    }
    // Whether the device pixel lies inside the clip (it lies inside its bounds).
    bool InSpans(int devX, int devY) const {
      const int row = devY - clip.top();
      for (int k = rowFirst[row]; k < rowFirst[row + 1]; ++k)
        if (devX >= spanLeft[k] && devX < spanRight[k])
          return true;
      return false;
    }
  };
  // The direct target worked out for one picture, transform and clip; lines
  // drawn one by one reuse it until any of them changes.
  struct DirectCache {
    bool valid = false;
    bool usable = false;
    const QPainter *painter = nullptr;
    const QImage *image = nullptr;
    TPenMode mode = pmCopy; // the pen mode it was last found usable for
    const uchar *bits = nullptr;
    QSize size;
    qreal dx = 0, dy = 0;
    quint64 clipSerial = 0;
    Direct direct;
    std::vector<int> rowFirst;
    std::vector<int> spanLeft;
    std::vector<int> spanRight;
    std::vector<int> innerLeft;
    std::vector<int> innerRight;
  };

  void Bind(QPainter *painter, bool owned);
  void PrepareForPen();
  void SetRasterMode(TPenMode mode);
  QPen MakeQPen(bool backgroundOfGaps) const;
  bool PenVisible() const { return Pen().Style != psClear; }
  bool PenIsWide() const { return Pen().Width > 1; }
  bool PenIsStyled() const;
  // Strokes with the pen; a styled pen on an opaque background first lays the
  // background colour under its gaps.
  template <typename F> void Stroke(F &&draw);
  // Stroke for pens wider than 1 of straight geometry at pixel coordinates.
  template <typename F> void StrokeWide(F &&draw);
  // 1-px straight lines through the points, each leaving out its end pixel.
  void ThinLines(std::span<const TPoint> points, bool closed);
  bool DirectTarget(Direct &d);
  // Works out the picture, offset and clip of the direct target.
  bool ComputeDirectTarget(const QImage &image, DirectCache &cache) const;
  void FillRectWithBrush(const QRect &r);
  void FillPathWithBrush(const QPainterPath &path);
  // The inside of a polygon in the brush, without the outline.
  void FillPolygonArea(const std::vector<QPoint> &pts);
  // A solid fill written straight into the picture, pixel for pixel as the
  // painter fills it; false when that cannot be promised (the painter fills).
  bool FillPolygonDirect(const std::vector<QPoint> &pts);
  // The colour as an opaque pixel; the last one asked is kept.
  QRgb OpaqueRgb(TColor c);
  void FillWithBrush(const std::function<void(const QBrush &)> &fill);
  void DrawShape(Shape shape, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void ApplyClip(const ClipState &c);
  const QFont &CurrentQFont();
  const std::vector<QPoint> &ToQPoints(std::span<const TPoint> points);

  QPainter *m_painter = nullptr;
  std::unique_ptr<QPainter> m_own;
  ClipState m_baseClip;
  ClipState m_clip;
  std::vector<ClipState> m_clipStack;
  TFont m_qfontOf;
  QFont m_qfont;
  bool m_qfontValid = false;
  std::vector<QPoint> m_points;
  // The last solid polygon brush, handed to the painter again while its
  // colour holds.
  QBrush m_solidBrush;
  TColor m_solidBrushColor = 0;
  bool m_solidBrushValid = false;
  std::vector<QPoint> m_onPixels;
  std::vector<QPoint> m_offPixels;
  // Counts clip changes, so that the direct target knows when to look again.
  quint64 m_clipSerial = 0;
  DirectCache m_direct;
  quint64 m_directFills = 0;
  std::unique_ptr<TPolygonSpans> m_spans;
  struct RgbOf {
    TColor of = 0;
    QRgb rgb = 0;
    bool valid = false;
  };
  RgbOf m_rgbs[2];
  int m_lastRgb = 0;
};
