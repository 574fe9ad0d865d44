#pragma once
// The drawing surface every painter of the program uses: pen, brush, font,
// pen position, background mode and colour, text alignment, and the classic
// raster rules for where pixels land:
// - a line leaves out its end pixel: (0,0)-(10,0) sets x = 0..9;
// - Rectangle(l,t,r,b) covers l..r-1 x t..b-1 (outline on the outer pixels,
//   inside filled with the brush); FillRect covers the same pixels;
// - Ellipse, RoundRect, Arc, Pie and Chord fit inside l..r-1 x t..b-1;
// - Polygon includes its outline; FillPolygon fills only the inside;
// - with a clear pen a filled shape is one pixel smaller to the right and
//   bottom (only the inside is filled);
// - styled pens wider than 1 draw solid; width 0 draws as 1;
// - a wide pen is centred on the 1-px outline; psInsideFrame keeps it inside
//   the shape's box;
// - Arc, Pie and Chord run counter-clockwise from the radial through the
//   first point to the radial through the second.
// The pen's Mode applies to the pen and to the brush inside the shapes
// (Rectangle ... Polygon, FillPolygon); FillRect, FrameRect, text and
// pictures always copy.
#include "platform/Color.h"
#include "platform/Rect.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <vector>

class QFont;
class QImage;

struct TSize {
  int cx = 0;
  int cy = 0;
  friend constexpr bool operator==(const TSize &, const TSize &) = default;
};

// ---- Pen ----------------------------------------------------------------

enum TPenStyle {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame // solid; a wide outline of a closed shape stays inside it
};

enum TPenMode {
  pmCopy,   // the pen colour
  pmNotXor, // not (screen xor pen): drawing twice restores the screen
  pmXor,    // screen xor pen
  pmNot     // inverts the screen
};

struct TPen {
  TColor Color = clBlack;
  int Width = 1; // 0 draws as 1
  TPenStyle Style = psSolid;
  TPenMode Mode = pmCopy;
  friend bool operator==(const TPen &, const TPen &) = default;
};

// ---- Brush --------------------------------------------------------------

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal, // "\" lines
  bsBDiagonal, // "/" lines
  bsCross,
  bsDiagCross
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  // When set, fills tile this picture (aligned to the canvas origin) instead
  // of Color and Style.
  std::shared_ptr<const QImage> Bitmap;
  friend bool operator==(const TBrush &, const TBrush &) = default;
};

// True for the six line patterns (bsHorizontal .. bsDiagCross).
constexpr bool IsHatch(TBrushStyle s) { return s >= bsHorizontal && s <= bsDiagCross; }

// ---- Font ---------------------------------------------------------------

using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

// Screen resolution used to turn point sizes into pixels, on every device.
constexpr int ScreenPixelsPerInch = 96;

struct TFont {
  std::string Name = "Arial";
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  TColor Color = clWindowText;
  // Angle of the text base line in tenths of degrees, counter-clockwise.
  int Orientation = 0;

  // Size in points and Height in pixels are two views of one value; the last
  // one set wins. Height < 0 is the character height (em) in pixels, as a
  // point size gives: -MulDiv(Size, 96, 72); Height > 0 is the cell height
  // (ascent + descent).
  int Size() const;
  void SetSize(int points);
  int Height() const;
  void SetHeight(int pixels);
  // The em size in pixels this font is drawn with (at least 1).
  int PixelSize() const;

  TFontStyles Style() const;
  void SetStyle(TFontStyles s);

  friend bool operator==(const TFont &, const TFont &) = default;

private:
  int m_size = 8;
  int m_height = 0; // 0: m_size rules
};

// The Qt font for a TFont (pixel sized, with Arial and the other classic
// names mapped to installed metric-compatible faces).
QFont ToQFont(const TFont &f);
// Registers the font substitutions once; ToQFont calls it.
void InstallFontSubstitutions();

// a * b / c rounded to nearest, as the classic helper does; -1 when c is 0.
int MulDiv(int a, int b, int c);

// ---- Canvas constants ----------------------------------------------------

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Text alignment flags: one horizontal and one vertical value, or-ed.
constexpr unsigned TA_NOUPDATECP = 0;
constexpr unsigned TA_UPDATECP = 1; // TextOut starts at and moves PenPos
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;
constexpr unsigned TA_HORZMASK = 6;
constexpr unsigned TA_VERTMASK = 24;

// ---- Canvas --------------------------------------------------------------

class TCanvas {
public:
  TCanvas() = default;
  TCanvas(const TCanvas &) = delete;
  TCanvas &operator=(const TCanvas &) = delete;
  virtual ~TCanvas() = default;

  // State, read by every operation at the time of the call.
  TPen &Pen() { return m_pen; }
  const TPen &Pen() const { return m_pen; }
  TBrush &Brush() { return m_brush; }
  const TBrush &Brush() const { return m_brush; }
  TFont &Font() { return m_font; }
  const TFont &Font() const { return m_font; }
  TPoint PenPos() const { return m_penPos; }
  void SetPenPos(const TPoint &p) { m_penPos = p; }
  // Background behind text, hatch gaps and the gaps of styled pens. A change
  // of the brush's colour or style also sets it: a solid brush makes it
  // opaque in the brush colour, any other style transparent (so text over a
  // clear brush is transparent, over a solid brush it sits on the brush
  // colour). SetBkMode and SetBkColor made after that change hold until the
  // brush changes again.
  int BkMode() const {
    SyncBackground();
    return m_bkMode;
  }
  void SetBkMode(int mode) {
    SyncBackground();
    m_bkMode = mode;
  }
  TColor BkColor() const {
    SyncBackground();
    return m_bkColor;
  }
  void SetBkColor(TColor c) {
    SyncBackground();
    m_bkColor = c;
  }
  unsigned TextAlign() const { return m_textAlign; }
  void SetTextAlign(unsigned flags) { m_textAlign = flags; }
  // Pen black 1 px solid, brush white solid, default font, background white
  // and opaque, text at its top-left, pen at (0,0).
  void ResetState();

  // Lines.
  virtual void MoveTo(int x, int y);
  virtual void LineTo(int x, int y) = 0;
  // LineTo through each point in turn.
  virtual void PolylineTo(std::span<const TPoint> points);
  virtual void Polyline(std::span<const TPoint> points) = 0;
  void Polyline(std::initializer_list<TPoint> points) { Polyline(Span(points)); }
  // Cubic Bezier curves: a start point and three points per curve.
  virtual void PolyBezier(std::span<const TPoint> points) = 0;
  void PolyBezier(std::initializer_list<TPoint> points) { PolyBezier(Span(points)); }

  // Filled shapes (outline with the pen, inside with the brush).
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  void Rectangle(const TRect &r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  virtual void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  void Ellipse(const TRect &r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  virtual void Polygon(std::span<const TPoint> points) = 0;
  void Polygon(std::initializer_list<TPoint> points) { Polygon(Span(points)); }
  // Arc: the outline only; Pie adds the two radii; Chord the straight chord.
  virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;

  // Brush-only fills and frames.
  virtual void FillRect(const TRect &r) = 0;
  // A 1-px frame around r in the brush colour (nothing with a clear brush).
  virtual void FrameRect(const TRect &r) = 0;
  virtual void FillPolygon(std::span<const TPoint> points) = 0;
  void FillPolygon(std::initializer_list<TPoint> points) { FillPolygon(Span(points)); }

  // Text. TextOut places the text by TextAlign relative to (x, y), fills the
  // text cell with BkColor when BkMode is OPAQUE, and turns it by
  // Font().Orientation about (x, y).
  virtual void TextOut(int x, int y, const std::string &text) = 0;
  // Fills r with the brush (unless clear) and writes the text at (x, y),
  // clipped to r.
  virtual void TextRect(const TRect &r, int x, int y, const std::string &text) = 0;
  virtual TSize TextExtent(const std::string &text) = 0;
  int TextWidth(const std::string &text) { return TextExtent(text).cx; }
  int TextHeight(const std::string &text) { return TextExtent(text).cy; }

  // Clipping. Coordinates are canvas coordinates; the clip replaces, narrows
  // or drops the current one. SaveClip/RestoreClip nest.
  virtual void SetClipRect(const TRect &r) = 0;
  virtual void SetClipPolygon(std::span<const TPoint> points) = 0;
  void SetClipPolygon(std::initializer_list<TPoint> points) { SetClipPolygon(Span(points)); }
  virtual void ClipIntersectRect(const TRect &r) = 0;
  virtual void ClearClip() = 0;
  virtual void SaveClip() = 0;
  virtual void RestoreClip() = 0;

  // Pixels. Pixel answers clNone outside the surface or where the surface
  // cannot be read.
  virtual TColor Pixel(int x, int y) = 0;
  virtual void SetPixel(int x, int y, TColor c) = 0;

  // Pictures (drawn over what is there, with their alpha).
  virtual void Draw(int x, int y, const QImage &image) = 0;
  virtual void StretchDraw(const TRect &dest, const QImage &image) = 0;
  // Copies src's part of a picture into dest (stretched when the sizes
  // differ). From a canvas that has no picture nothing is copied.
  virtual void CopyRect(const TRect &dest, const QImage &source, const TRect &src) = 0;
  void CopyRect(const TRect &dest, TCanvas &source, const TRect &src);
  // The picture this canvas draws into, when it is one (null otherwise).
  virtual const QImage *Image() const { return nullptr; }

protected:
  // Derived canvases bring the convenience overloads in with
  // `using TCanvas::Polyline;` and so on.
  static std::span<const TPoint> Span(std::initializer_list<TPoint> l) {
    return {l.begin(), l.size()};
  }

private:
  void SyncBackground() const;

  TPen m_pen;
  TBrush m_brush;
  TFont m_font;
  TPoint m_penPos;
  mutable int m_bkMode = OPAQUE;
  mutable TColor m_bkColor = clWhite;
  // The brush colour and style the background was last derived from.
  mutable TColor m_bkOfBrushColor = clWhite;
  mutable TBrushStyle m_bkOfBrushStyle = bsSolid;
  unsigned m_textAlign = TA_LEFT | TA_TOP;
};
