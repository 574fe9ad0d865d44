#pragma once
#include "chartengine/canvas/ChartCanvas.h"

class TView3DOptions;

// The 3-D drawing operations: points (x, y, z) are projected to the screen
// before drawing; z is the depth into the screen in pixels.
class TCanvas3D : public TChartCanvas {
public:
  // A point at depth z: a dot in the pen when it is wider than 1, else one pixel.
  virtual void Pixel3D(int x, int y, int z, TColor color) = 0;
  virtual bool QueryA() = 0;
  virtual bool QueryB() = 0;
  // Screen point to the chart point at depth z.
  virtual void UnprojectPoint(int &x, int &y, int z) = 0;
  virtual TPoint ProjectPoint(int x, int y, int z) = 0;
  // Starts a drawing onto target (or the off-screen buffer); answers the
  // rectangle to draw in.
  virtual TRect BeginDraw(TCanvas *target, const TView3DOptions *options, bool is3D,
                          const TRect &bounds) = 0;
  void TakeMonochromeFrom(TChartCanvas &canvas) { SetMonochrome(canvas.GetMonochrome()); }
  virtual void SetProjectionCentre(int maxDepth, const TRect &rect) = 0;
  // Copies the finished buffer to dest at rect's top-left; the target then
  // becomes defaultCanvas.
  virtual void PresentBuffer(TCanvas *dest, TCanvas *defaultCanvas, const TRect &rect) = 0;
  // Copies a still valid buffer to the target and answers true.
  virtual bool RepaintFromBuffer() = 0;
  virtual void Arrow3D(bool filled, const TPoint &from, const TPoint &to, int headWidth,
                       int headHeight, int z) = 0;
  virtual void ClipToBox(const TRect &rect, int z0, int z1) = 0;
  virtual void Box(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) = 0;
  virtual void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                        bool darkSides) = 0;
  virtual void HorizLineAtDepth(int x0, int x1, int y, int z) = 0;
  virtual void VertLineAtDepth(int x, int y0, int y1, int z) = 0;
  virtual void DepthLine(int x, int y, int z0, int z1) = 0;
  virtual void EllipseAtDepth(int x1, int y1, int x2, int y2, int z) = 0;
  virtual void Suspend3D() = 0;
  virtual void Resume3D() = 0;
  virtual void LineAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
  virtual void MoveToAtDepth(int x, int y, int z) = 0;
  virtual void LineToAtDepth(int x, int y, int z) = 0;
  // Angles in radians, counter-clockwise from 3 o'clock.
  virtual void PieSlice3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                          double startAngle, double endAngle, bool darkSides, bool drawSides) = 0;
  virtual void PlaneBetweenDepths(const TPoint &p1, const TPoint &p2, int z0, int z1) = 0;
  virtual void PlaneAtDepth(const TPoint &p1, const TPoint &p2, const TPoint &p3, const TPoint &p4,
                            int z) = 0;
  // Four points: the first two at z0, the last two at z1.
  virtual void QuadAtDepths(std::span<const TPoint> points, int z0, int z1) = 0;
  virtual void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                       bool darkSides) = 0;
  virtual void RectangleAtDepth(const TRect &rect, int z) = 0;
  virtual void RectangleInY(int left, int y, int right, int z0, int z1) = 0;
  virtual void RectangleInX(int x, int top, int bottom, int z0, int z1) = 0;
  virtual void TextOutRotated3D(int x, int y, int z, const std::string &text, int angle) = 0;
  // Text at a projected point, its size following the view's zoom.
  virtual void TextOutAtDepth(int x, int y, int z, const std::string &text) = 0;
  virtual void TriangleAtDepth(const TPoint &p1, const TPoint &p2, const TPoint &p3, int z) = 0;
};
