#pragma once
#include "chartengine/canvas/GradientBands.h"
#include "platform/Canvas.h"

#include <span>
#include <string>

class QImage;

// The flat drawing operations every chart part uses. They act on a target
// platform canvas whose pen, brush and font are the chart canvas's own.
class TChartCanvas {
public:
  TChartCanvas() = default;
  TChartCanvas(const TChartCanvas &) = delete;
  TChartCanvas &operator=(const TChartCanvas &) = delete;
  virtual ~TChartCanvas() = default;

  // The target's drawing state.
  virtual TPen &Pen() = 0;
  virtual TBrush &Brush() = 0;
  virtual TFont &Font() = 0;

  virtual TColor GetBackColor() = 0;
  virtual int GetBackMode() = 0;
  // The platform canvas drawn on (never null).
  virtual TCanvas *GetHandle() = 0;
  virtual bool GetMonochrome() = 0;
  virtual unsigned GetTextAlign() = 0;
  virtual bool GetBufferedDisplay() = 0;
  virtual void SetBackColor(TColor color) = 0;
  // TRANSPARENT or OPAQUE.
  virtual void SetBackMode(int mode) = 0;
  virtual void SetMonochrome(bool value) = 0;
  virtual void SetPixel(int x, int y, TColor color) = 0;
  virtual void SetTextAlign(unsigned flags) = 0;
  virtual void SetBufferedDisplay(bool value) = 0;
  virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void Draw(int x, int y, const QImage &image) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void FillRect(const TRect &rect) = 0;
  // A raised or sunken frame of the given width inside rect.
  virtual void Bevel(const TRect &rect, TColor topColor, TColor bottomColor, int width) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) = 0;
  virtual void StretchDraw(const TRect &rect, const QImage &image) = 0;
  virtual void TextOut(int x, int y, const std::string &text) = 0;
  // Measured with the canvas font; 0 when the text cannot be measured.
  virtual int TextWidth(const std::string &text);
  virtual int TextHeight(const std::string &text);
  virtual void ClipToRect(const TRect &rect) = 0;
  virtual void HorizLine(int x0, int x1, int y) = 0;
  virtual void RectangleOfRect(const TRect &rect) = 0;
  virtual void VertLine(int x, int y0, int y1) = 0;
  virtual void FillBackground(const TRect &rect) = 0;
  virtual void FillGradient(const TRect &rect, TColor startColor, TColor endColor,
                            TGradientDirection direction) = 0;
  virtual void MarkBufferStale() = 0;
  virtual void Line(int x0, int y0, int x1, int y1) = 0;
  virtual void Polygon(std::span<const TPoint> points) = 0;
  // Text turned counter-clockwise by angle degrees about (x, y).
  virtual void TextOutRotated(int x, int y, const std::string &text, int angle) = 0;
  virtual void ClearClip() = 0;
};
