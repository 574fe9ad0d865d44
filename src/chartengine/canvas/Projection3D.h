#pragma once
#include "platform/Rect.h"

class TView3DOptions;

// A projected point before rounding.
struct TPointF {
  double X = 0.0;
  double Y = 0.0;
};

// The mapping of chart points (x, y, depth z) to the screen for one drawing:
// an oblique shift in the orthogonal view, a rotation by elevation, rotation
// and tilt with optional perspective otherwise, and the identity in 2-D.
// Plain arithmetic; the canvas holds one per drawing.
class TProjection3D {
public:
  // Starts a drawing: reads the options (may be null) when is3D.
  void Begin(const TView3DOptions *options, bool is3D);
  // Centre of the projection: the middle of rect at half of maxDepth; the
  // output centre adds the options' offsets, and their perspective applies.
  void SetCentre(int maxDepth, const TRect &rect, const TView3DOptions *options);

  TPoint Project(int x, int y, int z) const;
  // The projected point before rounding (used for face orientation).
  TPointF ProjectExact(double x, double y, double z) const;
  // Screen point back to the chart point at depth z. Rotated views solve the
  // projection exactly (iterating when there is perspective); nothing changes
  // when the projection cannot be inverted.
  void Unproject(int &x, int &y, int z) const;

  // Drawing flat parts inside a 3-D drawing.
  void Suspend3D();
  void Resume3D();

  bool Is3D() const { return m_is3D; }
  bool Orthogonal() const { return m_orthogonal; }
  bool ZoomText() const { return m_zoomText; }
  double ZoomFactor() const { return m_zoom; }
  double PerspectiveFactor() const { return m_perspective; }
  int XCenter() const { return m_xCenter; }
  int YCenter() const { return m_yCenter; }
  int ZCenter() const { return m_zCenter; }
  int XCenterOffset() const { return m_xCenterOffset; }
  int YCenterOffset() const { return m_yCenterOffset; }

  // Rotation coefficients (E elevation, R rotation, T tilt).
  double Kxx = 1.0; // max(sin R sin E sin T + cos R cos T, 1e-5)
  double Kxy = 0.0; // cos E sin T
  double Kxz = 0.0; // cos R sin E sin T - cos T sin R
  double Kyx = 0.0; // cos T sin R sin E - cos R sin T
  double Kyy = 1.0; // max(cos E cos T, 1e-5)
  double Kyz = 0.0; // cos R cos T sin E + sin R sin T
  double Kpz = 1.0; // cos R cos E
  double SinE = 0.0;
  double CosESinR = 0.0;

private:
  // Screen offset from the output centre, unrounded, in the rotated view.
  TPointF Rotated(double dx, double dy, double dz) const;

  bool m_is3D = false;
  bool m_saved3D = false;
  bool m_orthogonal = false;
  bool m_zoomText = true;
  double m_zoom = 1.0;
  double m_perspective = 0.0;
  int m_xCenter = 0;
  int m_yCenter = 0;
  int m_zCenter = 0;
  int m_xCenterOffset = 0;
  int m_yCenterOffset = 0;
};
