#pragma once
#include "platform/Canvas.h"
#include "platform/PictureTarget.h"
#include "platform/TextLayoutCache.h"

#include <QBrush>
#include <QFont>
#include <QPen>
#include <QRegion>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class QPainter;
class QPaintDevice;
class QPainterPath;
class TPolygonSpans;

// The canvas drawn with a QPainter (antialiasing off, so that pixels land
// exactly as the rules in Canvas.h say). Works on any paint device the raster
// engine draws: a QImage, or a widget inside its paintEvent. A caller's
// painter is handed back as it was given (hints, pen, clip, ...) on End.
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

  void LineTo(int x, int y) override;
  // A solid 1-px pen draws the whole path at once.
  void PolylineTo(std::span<const TPoint> points) override;
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
  // How many calls drew their 1-px lines straight into the picture.
  quint64 DirectLineCount() const { return m_directLines; }
  // How many pixels 1-px lines were stepped through, either way.
  quint64 LinePixelCount() const { return m_linePixels; }

private:
  // The canvas' own clip, laid over the clip the painter came with.
  struct ClipState {
    bool Enabled = false;
    QRegion Region;
  };
  enum class Shape { Ellipse, RoundRect, Arc, Pie, Chord };
  // Whether 1-px lines and solid fills may be written straight into the
  // picture: after the first use has checked them against the painter, always
  // (the check itself), or never.
  enum class DirectWrites { Checked, Forced, Off };
  // The picture target of the last direct write, used again while the
  // painter, picture, offset and clip stay the same.
  struct DirectCache {
    bool valid = false;
    bool usable = false;
    const QPainter *painter = nullptr;
    const uchar *bits = nullptr;
    QSize size;
    qreal dx = 0, dy = 0;
    quint64 clipSerial = 0;
    TPictureTarget target;
  };

  void Bind(QPainter *painter, bool owned);
  // Antialiasing and smooth pictures off, transparent pattern gaps.
  void SetDrawingState();
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
  // The canvas pixels the painter can reach: lines it draws are stepped only
  // inside them.
  TPixelBox PainterBox() const;
  // The device's pixels in canvas pixels, whatever the clip.
  TPixelBox DeviceBox() const;
  TPixelBox ReachBox(bool clipped) const;
  // How far beyond the device a clip polygon's corners may lie before it is
  // cut.
  static constexpr int kClipReach = 2048;
  // The picture to write lines and fills of the pen mode into directly; null
  // when the painter has to draw them.
  const TPictureTarget *DirectTarget(TPenMode mode);
  // Whether the painter's clip is the one the canvas set last (a caller may
  // have clipped the painter since).
  bool OwnsClip() const;
  // Draws probes straight and through the painter once per program: direct
  // writes stay on only when every pixel agrees.
  static bool DirectWritesAgree();
  void FillRectWithBrush(const QRect &r);
  void FillPathWithBrush(const QPainterPath &path);
  // The inside of a polygon in the brush, without the outline.
  void FillPolygonArea(const std::vector<QPoint> &pts);
  void FillWithBrush(const std::function<void(const QBrush &)> &fill);
  void DrawShape(Shape shape, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void ApplyClip(const ClipState &c);
  const QFont &CurrentQFont();
  // TextOut; an opaque background is laid only inside within (when given),
  // not at all when it is there already.
  void DrawText(int x, int y, const std::string &text, const QRect *within, bool backgroundLaid);
  // A text's reference point: the one given, or the pen position when the
  // alignment says to use and update it.
  void TextReference(int &x, int &y) const;
  // From a text's reference point to the top left of its cell (of the
  // width given, in the selected font), by the text alignment.
  TPoint TextCellOffset(int width) const;
  // Whether the glyphs of a text TextOut would draw lie wholly inside the
  // rectangle, so that clipping them to it changes no pixel.
  bool TextInside(const TRect &r, int x, int y, const std::string &text);
  const std::vector<QPoint> &ToQPoints(std::span<const TPoint> points);

  QPainter *m_painter = nullptr;
  std::unique_ptr<QPainter> m_own;
  DirectWrites m_directWrites = DirectWrites::Checked;
  // The painter came with a clip of its own (perhaps a path, whose pixels
  // only the painter knows): it draws everything itself.
  bool m_foreignClip = false;
  // The painter's clip as the canvas left it.
  bool m_appliedClipping = false;
  QRegion m_appliedRegion;
  ClipState m_clip;
  std::vector<ClipState> m_clipStack;
  TFont m_qfontOf;
  QFont m_qfont;
  bool m_qfontValid = false;
  static constexpr std::size_t kRecentQFonts = 4;
  std::vector<std::pair<TFont, QFont>> m_recentQFonts;
  // Widths and glyphs of the texts drawn lately, per font.
  TTextLayoutCache m_texts;
  // The font and device the text cache was told of last.
  bool m_textsFontSet = false;
  const QPaintDevice *m_textsDevice = nullptr;
  // The device's pixels, read once per Begin.
  mutable QRectF m_deviceArea;
  mutable bool m_deviceKnown = false;
  std::vector<QPoint> m_points;
  // The last solid polygon brush, handed to the painter again while its
  // colour holds.
  QBrush m_solidBrush;
  TColor m_solidBrushColor = 0;
  bool m_solidBrushValid = false;
  std::vector<TPoint> m_path;
  std::vector<QPoint> m_onPixels;
  std::vector<QPoint> m_offPixels;
  // Counts clip changes, so that the direct target knows when to look again.
  quint64 m_clipSerial = 0;
  DirectCache m_direct;
  quint64 m_directFills = 0;
  quint64 m_directLines = 0;
  quint64 m_linePixels = 0;
  std::unique_ptr<TPolygonSpans> m_spans;
};
