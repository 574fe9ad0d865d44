#include "platform/RecordingCanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <cstdio>

namespace {

const char *PenStyleName(TPenStyle s) {
  static const char *const names[] = {"solid",      "dash",  "dot",        "dashdot",
                                      "dashdotdot", "clear", "insideframe"};
  return names[s];
}

const char *PenModeName(TPenMode m) {
  static const char *const names[] = {"copy", "notxor", "xor", "not"};
  return names[m];
}

const char *BrushStyleName(TBrushStyle s) {
  static const char *const names[] = {"solid",     "clear",     "horizontal", "vertical",
                                      "fdiagonal", "bdiagonal", "cross",      "diagcross"};
  return names[s];
}

std::string Hex(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06X", unsigned(c));
  return buf;
}

TRect BoundsOf(std::span<const TPoint> points) {
  if (points.empty())
    return TRect();
  TRect r(points[0].X, points[0].Y, points[0].X, points[0].Y);
  for (const TPoint &p : points) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  return r;
}

} // namespace

std::string TCanvasCall::Dump() const {
  std::string s = Name + "(";
  for (size_t i = 0; i < Args.size(); ++i)
    s += (i ? "," : "") + std::to_string(Args[i]);
  if (!Points.empty()) {
    s += Args.empty() ? "" : ",";
    s += "[";
    for (size_t i = 0; i < Points.size(); ++i)
      s += (i ? " " : "") + std::to_string(Points[i].X) + ":" + std::to_string(Points[i].Y);
    s += "]";
  }
  if (!Text.empty() || Name == "TextOut" || Name == "TextRect")
    s += std::string(Args.empty() && Points.empty() ? "" : ",") + "\"" + Text + "\"";
  s += ")";
  s += " pen=" + Hex(Pen.Color) + "/" + std::to_string(Pen.Width) + "/" + PenStyleName(Pen.Style);
  if (Pen.Mode != pmCopy)
    s += std::string("/") + PenModeName(Pen.Mode);
  s += " brush=" + Hex(Brush.Color) + "/" + BrushStyleName(Brush.Style);
  if (Brush.Bitmap)
    s += "/bitmap";
  std::string styles;
  if (Font.Bold)
    styles += 'B';
  if (Font.Italic)
    styles += 'I';
  if (Font.Underline)
    styles += 'U';
  if (Font.StrikeOut)
    styles += 'S';
  s += " font=" + Font.Name + "/" + std::to_string(Font.Size()) + styles + "/" + Hex(Font.Color);
  if (Font.Orientation != 0)
    s += "/@" + std::to_string(Font.Orientation);
  return s;
}

std::vector<TCanvasCall> TRecordingCanvas::CallsNamed(std::string_view name) const {
  std::vector<TCanvasCall> found;
  for (const TCanvasCall &c : m_calls)
    if (c.Name == name)
      found.push_back(c);
  return found;
}

int TRecordingCanvas::CountOf(std::string_view name) const {
  return int(std::count_if(m_calls.begin(), m_calls.end(),
                           [&](const TCanvasCall &c) { return c.Name == name; }));
}

std::string TRecordingCanvas::Dump() const {
  std::string s;
  for (const TCanvasCall &c : m_calls)
    s += c.Dump() + "\n";
  return s;
}

TCanvasCall &TRecordingCanvas::Log(std::string name, std::vector<int> args,
                                   std::span<const TPoint> points) {
  TCanvasCall &c = m_calls.emplace_back();
  c.Name = std::move(name);
  c.Args = std::move(args);
  c.Points.assign(points.begin(), points.end());
  c.Pen = Pen();
  c.Brush = Brush();
  c.Font = Font();
  c.BkMode = BkMode();
  c.BkColor = BkColor();
  c.TextAlign = TextAlign();
  c.Clipped = m_clip.On;
  c.ClipBounds = m_clip.Bounds;
  return c;
}

void TRecordingCanvas::MoveTo(int x, int y) {
  TCanvas::MoveTo(x, y);
  Log("MoveTo", {x, y});
}

void TRecordingCanvas::LineTo(int x, int y) {
  const TPoint ends[] = {PenPos(), TPoint(x, y)};
  SetPenPos(TPoint(x, y));
  Log("LineTo", {x, y}, ends);
}

void TRecordingCanvas::Polyline(std::span<const TPoint> points) { Log("Polyline", {}, points); }

void TRecordingCanvas::PolyBezier(std::span<const TPoint> points) { Log("PolyBezier", {}, points); }

void TRecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Log("Rectangle", {x1, y1, x2, y2});
}

void TRecordingCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) {
  Log("RoundRect", {x1, y1, x2, y2, cornerW, cornerH});
}

void TRecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) { Log("Ellipse", {x1, y1, x2, y2}); }

void TRecordingCanvas::Polygon(std::span<const TPoint> points) { Log("Polygon", {}, points); }

void TRecordingCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Log("Arc", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TRecordingCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Log("Pie", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TRecordingCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Log("Chord", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TRecordingCanvas::FillRect(const TRect &r) {
  Log("FillRect", {r.Left, r.Top, r.Right, r.Bottom});
}

void TRecordingCanvas::FrameRect(const TRect &r) {
  Log("FrameRect", {r.Left, r.Top, r.Right, r.Bottom});
}

void TRecordingCanvas::FillPolygon(std::span<const TPoint> points) {
  Log("FillPolygon", {}, points);
}

const QFont &TRecordingCanvas::CurrentQFont() {
  if (!m_qfontValid || !(m_qfontOf == Font())) {
    m_qfontOf = Font();
    m_qfont = ToQFont(m_qfontOf);
    m_qfontValid = true;
  }
  return m_qfont;
}

void TRecordingCanvas::TextOut(int x, int y, const std::string &text) {
  const unsigned align = TextAlign();
  if (align & TA_UPDATECP) {
    x = PenPos().X;
    y = PenPos().Y;
    if ((align & TA_CENTER) != TA_CENTER) {
      const int w = QFontMetrics(CurrentQFont()).horizontalAdvance(QString::fromStdString(text));
      SetPenPos(TPoint((align & TA_RIGHT) ? x - w : x + w, y));
    }
  }
  Log("TextOut", {x, y}).Text = text;
}

void TRecordingCanvas::TextRect(const TRect &r, int x, int y, const std::string &text) {
  Log("TextRect", {r.Left, r.Top, r.Right, r.Bottom, x, y}).Text = text;
}

TSize TRecordingCanvas::TextExtent(const std::string &text) {
  const QFontMetrics fm(CurrentQFont());
  const TSize size{fm.horizontalAdvance(QString::fromStdString(text)), fm.height()};
  if (m_logMeasurements)
    Log("TextExtent", {size.cx, size.cy}).Text = text;
  return size;
}

void TRecordingCanvas::SetClip(bool on, const TRect &bounds) {
  m_clip.On = on;
  m_clip.Bounds = on ? bounds : TRect();
}

void TRecordingCanvas::SetClipRect(const TRect &r) {
  SetClip(true, r);
  Log("SetClipRect", {r.Left, r.Top, r.Right, r.Bottom});
}

void TRecordingCanvas::SetClipPolygon(std::span<const TPoint> points) {
  SetClip(true, BoundsOf(points));
  Log("SetClipPolygon", {}, points);
}

void TRecordingCanvas::ClipIntersectRect(const TRect &r) {
  SetClip(true, m_clip.On ? IntersectRect(m_clip.Bounds, r) : r);
  Log("ClipIntersectRect", {r.Left, r.Top, r.Right, r.Bottom});
}

void TRecordingCanvas::ClearClip() {
  SetClip(false, TRect());
  Log("ClearClip");
}

void TRecordingCanvas::SaveClip() {
  m_clipStack.push_back(m_clip);
  Log("SaveClip");
}

void TRecordingCanvas::RestoreClip() {
  if (!m_clipStack.empty()) {
    m_clip = m_clipStack.back();
    m_clipStack.pop_back();
  }
  Log("RestoreClip");
}

TColor TRecordingCanvas::Pixel(int x, int y) {
  const auto it = m_pixels.find({x, y});
  return it == m_pixels.end() ? clNone : it->second;
}

void TRecordingCanvas::SetPixel(int x, int y, TColor c) {
  m_pixels[{x, y}] = c;
  Log("SetPixel", {x, y, int(c)});
}

void TRecordingCanvas::Draw(int x, int y, const QImage &image) {
  Log("Draw", {x, y, image.width(), image.height()});
}

void TRecordingCanvas::StretchDraw(const TRect &dest, const QImage &image) {
  Log("StretchDraw", {dest.Left, dest.Top, dest.Right, dest.Bottom, image.width(), image.height()});
}

void TRecordingCanvas::CopyRect(const TRect &dest, const QImage & /*source*/, const TRect &src) {
  Log("CopyRect",
      {dest.Left, dest.Top, dest.Right, dest.Bottom, src.Left, src.Top, src.Right, src.Bottom});
}
