#pragma once
#include "chartengine/canvas/Canvas3D.h"
#include "chartengine/canvas/Projection3D.h"

#include <QImage>
#include <functional>
#include <memory>

class TBitmapBuffer;
class TChartPen;

// The chart engine's canvas: draws through a platform canvas, projects 3-D
// points, and by default draws off screen into a picture of the drawing's
// size that is copied out in one step and reused while nothing changes.
class TChartCanvas3D : public TCanvas3D {
public:
  TChartCanvas3D();
  ~TChartCanvas3D() override;

  // Stores the target; its pen, brush and font become the canvas's. Null
  // selects an internal canvas that measures text and draws nowhere.
  void SetTargetCanvas(TCanvas *canvas);
  TCanvas *TargetCanvas() const { return m_target; }
  // Pen black 1 px solid, brush white solid, font black 10 pt, background
  // white and transparent.
  void ResetToDefaults();
  // Selects a chart pen: hidden pens draw nothing.
  void AssignChartPen(const TChartPen &chartPen);
  int FontHeight() { return TextHeight("W"); }

  // Asked when the monochrome flag changes (the panel repaints).
  std::function<void()> OnRepaintRequest;

  const TProjection3D &Projection() const { return m_projection; }
  const TView3DOptions *View3DOptions() const { return m_options; }
  bool Is3D() const { return m_projection.Is3D(); }
  bool BufferStale() const { return m_bufferStale; }
  // The off-screen picture (null before the first buffered drawing).
  const QImage *BufferImage() const;
  // A canvas drawing into the off-screen picture (null without one).
  TCanvas *BufferCanvas();
  bool ZoomText() const { return m_projection.ZoomText(); }
  const TRect &Bounds() const { return m_bounds; }

  // ---- flat operations
  TPen &Pen() override { return m_target->Pen(); }
  TBrush &Brush() override { return m_target->Brush(); }
  TFont &Font() override { return m_target->Font(); }
  TColor GetBackColor() override { return m_target->BkColor(); }
  int GetBackMode() override { return m_target->BkMode(); }
  TCanvas *GetHandle() override { return m_target; }
  bool GetMonochrome() override { return m_monochrome; }
  unsigned GetTextAlign() override { return m_target->TextAlign(); }
  bool GetBufferedDisplay() override { return m_bufferedDisplay; }
  void SetBackColor(TColor color) override { m_target->SetBkColor(color); }
  void SetBackMode(int mode) override { m_target->SetBkMode(mode); }
  void SetMonochrome(bool value) override;
  void SetPixel(int x, int y, TColor color) override { m_target->SetPixel(x, y, color); }
  void SetTextAlign(unsigned flags) override { m_target->SetTextAlign(flags); }
  void SetBufferedDisplay(bool value) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Draw(int x, int y, const QImage &image) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void FillRect(const TRect &rect) override { m_target->FillRect(rect); }
  void Bevel(const TRect &rect, TColor topColor, TColor bottomColor, int width) override;
  void LineTo(int x, int y) override { m_target->LineTo(x, y); }
  void MoveTo(int x, int y) override { m_target->MoveTo(x, y); }
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
  void StretchDraw(const TRect &rect, const QImage &image) override;
  void TextOut(int x, int y, const std::string &text) override;
  void ClipToRect(const TRect &rect) override { m_target->SetClipRect(rect); }
  void HorizLine(int x0, int x1, int y) override;
  void RectangleOfRect(const TRect &rect) override;
  void VertLine(int x, int y0, int y1) override;
  void FillBackground(const TRect &rect) override { m_target->FillRect(rect); }
  void FillGradient(const TRect &rect, TColor startColor, TColor endColor,
                    TGradientDirection direction) override;
  void MarkBufferStale() override { m_bufferStale = true; }
  void Line(int x0, int y0, int x1, int y1) override;
  void Polygon(std::span<const TPoint> points) override { m_target->Polygon(points); }
  void TextOutRotated(int x, int y, const std::string &text, int angle) override;
  void ClearClip() override { m_target->ClearClip(); }

  // ---- 3-D operations
  void Pixel3D(int x, int y, int z, TColor color) override;
  bool QueryA() override { return false; }
  bool QueryB() override { return false; }
  void UnprojectPoint(int &x, int &y, int z) override { m_projection.Unproject(x, y, z); }
  TPoint ProjectPoint(int x, int y, int z) override { return m_projection.Project(x, y, z); }
  TRect BeginDraw(TCanvas *target, const TView3DOptions *options, bool is3D,
                  const TRect &bounds) override;
  void SetProjectionCentre(int maxDepth, const TRect &rect) override;
  void PresentBuffer(TCanvas *dest, TCanvas *defaultCanvas, const TRect &rect) override;
  bool RepaintFromBuffer() override;
  void Arrow3D(bool filled, const TPoint &from, const TPoint &to, int headWidth, int headHeight,
               int z) override;
  void ClipToBox(const TRect &rect, int z0, int z1) override;
  void Box(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override;
  void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                bool darkSides) override;
  void HorizLineAtDepth(int x0, int x1, int y, int z) override;
  void VertLineAtDepth(int x, int y0, int y1, int z) override;
  void DepthLine(int x, int y, int z0, int z1) override;
  void EllipseAtDepth(int x1, int y1, int x2, int y2, int z) override;
  void Suspend3D() override {
    m_projection.Suspend3D();
    ++m_projectionSerial;
  }
  void Resume3D() override {
    m_projection.Resume3D();
    ++m_projectionSerial;
  }
  void LineAtDepth(int x0, int y0, int x1, int y1, int z) override;
  void MoveToAtDepth(int x, int y, int z) override;
  void LineToAtDepth(int x, int y, int z) override;
  void PieSlice3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                  double startAngle, double endAngle, bool darkSides, bool drawSides) override;
  void PlaneBetweenDepths(const TPoint &p1, const TPoint &p2, int z0, int z1) override;
  void PlaneAtDepth(const TPoint &p1, const TPoint &p2, const TPoint &p3, const TPoint &p4,
                    int z) override;
  void QuadAtDepths(std::span<const TPoint> points, int z0, int z1) override;
  void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
               bool darkSides) override;
  void RectangleAtDepth(const TRect &rect, int z) override;
  void RectangleInY(int left, int y, int right, int z0, int z1) override;
  void RectangleInX(int x, int top, int bottom, int z0, int z1) override;
  void TextOutRotated3D(int x, int y, int z, const std::string &text, int angle) override;
  void TextOutAtDepth(int x, int y, int z, const std::string &text) override;
  void TriangleAtDepth(const TPoint &p1, const TPoint &p2, const TPoint &p3, int z) override;

private:
  // Face colours of solid shapes: a solid brush takes the colour, other
  // brushes take it as their background.
  TColor FaceBaseColor();
  void SetFaceColor(TColor color);
  void Polygon4(const TPoint &a, const TPoint &b, const TPoint &c, const TPoint &d);
  // The font for text drawn at the view's zoom (unchanged outside 3-D zoom).
  bool ZoomedFont(TFont &font) const;
  const QImage &PresentedImage();

  TCanvas *m_target = nullptr;
  std::unique_ptr<TBitmapBuffer> m_idle;
  const TView3DOptions *m_options = nullptr;
  TProjection3D m_projection;
  // Counts changes of the projection, so that projected points are reused
  // only under the projection that made them.
  quint64 m_projectionSerial = 0;
  // The far end of the last plane between depths, projected at both depths:
  // a ribbon's next face starts there.
  struct PlaneEnd {
    bool valid = false;
    quint64 serial = 0;
    TPoint at;
    int z0 = 0, z1 = 0;
    TPoint front, back;
  };
  PlaneEnd m_lastPlaneEnd;
  std::unique_ptr<TBitmapBuffer> m_bitmap;
  QImage m_monoImage;
  bool m_bufferedDisplay = true;
  bool m_monochrome = false;
  bool m_bufferStale = true;
  TRect m_bounds;
};
