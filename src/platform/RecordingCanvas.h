#pragma once
#include "platform/Canvas.h"

#include <QFont>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// One call made on a recording canvas, with the state it was made in.
struct TCanvasCall {
  std::string Name;           // "Rectangle", "TextOut", "SetClipRect", ...
  std::vector<int> Args;      // integer arguments in call order (a rect: l, t, r, b)
  std::vector<TPoint> Points; // point lists; LineTo: the start and end point
  std::string Text;           // TextOut / TextRect text
  TPen Pen;
  TBrush Brush;
  TFont Font;
  int BkMode = OPAQUE;
  TColor BkColor = clWhite;
  unsigned TextAlign = 0;
  bool Clipped = false; // a clip was set, with ClipBounds its bounding box
  TRect ClipBounds;

  // One line: name, arguments, then the pen, brush and font, e.g.
  // "Rectangle(0,0,10,10) pen=000000/1/solid brush=FFFFFF/solid font=Arial/8/000000"
  // (colours as BBGGRR hex of the colour word, font style letters BIUS after the size).
  std::string Dump() const;
};

// A canvas that draws nothing and remembers every call, for tests of drawing
// code. Text is measured with the fonts a real canvas would use, so layout
// code gets true sizes. Pixel answers what SetPixel last set there, else
// clNone.
class TRecordingCanvas : public TCanvas {
public:
  const std::vector<TCanvasCall> &Calls() const { return m_calls; }
  // Copies of the calls of that name (hold them by value, not by reference).
  std::vector<TCanvasCall> CallsNamed(std::string_view name) const;
  int CountOf(std::string_view name) const;
  // Every call's Dump, one per line.
  std::string Dump() const;
  void Clear() { m_calls.clear(); }
  // When on, TextExtent (and so TextWidth/TextHeight) is logged too; off by
  // default to keep logs about what was drawn.
  void SetLogMeasurements(bool on) { m_logMeasurements = on; }

  void MoveTo(int x, int y) override;
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

private:
  struct Clip {
    bool On = false;
    TRect Bounds;
  };
  TCanvasCall &Log(std::string name, std::vector<int> args = {},
                   std::span<const TPoint> points = {});
  void SetClip(bool on, const TRect &bounds);
  const QFont &CurrentQFont();

  std::vector<TCanvasCall> m_calls;
  bool m_logMeasurements = false;
  Clip m_clip;
  std::vector<Clip> m_clipStack;
  std::map<std::pair<int, int>, TColor> m_pixels;
  TFont m_qfontOf;
  QFont m_qfont;
  bool m_qfontValid = false;
};
