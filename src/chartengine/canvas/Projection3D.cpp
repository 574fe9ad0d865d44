#include "chartengine/canvas/Projection3D.h"

#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/View3DOptions.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

void TProjection3D::Begin(const TView3DOptions *options, bool is3D) {
  m_is3D = is3D;
  m_orthogonal = false;
  m_zoom = 1.0;
  if (!is3D)
    return;
  if (options != nullptr) {
    m_orthogonal = options->Orthogonal();
    m_zoom = options->Zoom() * 0.01;
    m_zoomText = options->ZoomText();
  }
  if (m_orthogonal)
    return;
  m_perspective = 0.0;
  const double toRad = std::numbers::pi / 180.0;
  const double r = options ? options->Rotation() * toRad : 0.0;
  const double e = options ? options->Elevation() * toRad : 0.0;
  const double t = options ? options->Tilt() * toRad : 0.0;
  const double sinR = std::sin(r), cosR = std::cos(r);
  const double sinE = std::sin(e), cosE = std::cos(e);
  const double sinT = std::sin(t), cosT = std::cos(t);
  SinE = sinE;
  CosESinR = cosE * sinR;
  Kxy = cosE * sinT;
  Kyy = std::max(cosE * cosT, 1e-5);
  Kpz = cosR * cosE;
  Kxx = std::max(sinR * sinE * sinT + cosR * cosT, 1e-5);
  Kyx = cosT * sinR * sinE - cosR * sinT;
  Kxz = cosR * sinE * sinT - cosT * sinR;
  Kyz = cosR * cosT * sinE + sinR * sinT;
}

void TProjection3D::SetCentre(int maxDepth, const TRect &rect, const TView3DOptions *options) {
  m_xCenter = static_cast<int>((static_cast<long long>(rect.Left) + rect.Right) / 2);
  m_yCenter = static_cast<int>((static_cast<long long>(rect.Top) + rect.Bottom) / 2);
  m_zCenter = maxDepth / 2;
  m_xCenterOffset = m_xCenter;
  m_yCenterOffset = m_yCenter;
  if (options != nullptr) {
    m_xCenterOffset = PixelAdd(m_xCenterOffset, options->HorizOffset());
    m_yCenterOffset = PixelAdd(m_yCenterOffset, options->VertOffset());
    if (options->Perspective() > 0)
      m_perspective = options->Perspective() / 35000.0;
  }
}

TPointF TProjection3D::Rotated(double dx, double dy, double dz) const {
  double s = m_zoom;
  if (m_perspective > 0.0)
    s = m_zoom * (1.0 - (dx * CosESinR - dy * SinE + dz * Kpz) * m_perspective);
  return {(dx * Kxx + dy * Kxy + dz * Kxz) * s, (dx * Kyx + dy * Kyy + dz * Kyz) * s};
}

TPointF TProjection3D::ProjectExact(double x, double y, double z) const {
  if (!m_is3D)
    return {x, y};
  if (m_orthogonal)
    return {(x - m_xCenter + z) * m_zoom + m_xCenterOffset,
            (y - m_yCenter - z) * m_zoom + m_yCenterOffset};
  const TPointF p = Rotated(x - m_xCenter, y - m_yCenter, z - m_zCenter);
  return {p.X + m_xCenterOffset, p.Y + m_yCenterOffset};
}

namespace {
// Rounds an offset from the output centre and adds the centre, saturating once
// at the end.
int ToPixel(double offset, int centre) {
  return PixelRound(std::nearbyint(offset) + static_cast<double>(centre));
}
} // namespace

TPoint TProjection3D::Project(int x, int y, int z) const {
  if (!m_is3D)
    return TPoint(x, y);
  // Differences are taken in doubles and the result saturates, so far-away
  // points cannot wrap around.
  if (m_orthogonal && m_zoom == 1.0) {
    // At 100 % every step below is exact in whole numbers: the same result
    // without floating point.
    const auto clamp = [](long long v) {
      return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
    };
    return TPoint(clamp(static_cast<long long>(x) - m_xCenter + z + m_xCenterOffset),
                  clamp(static_cast<long long>(y) - m_yCenter - z + m_yCenterOffset));
  }
  const double dx = static_cast<double>(x) - m_xCenter;
  const double dy = static_cast<double>(y) - m_yCenter;
  if (m_orthogonal)
    return TPoint(ToPixel((dx + z) * m_zoom, m_xCenterOffset),
                  ToPixel((dy - z) * m_zoom, m_yCenterOffset));
  const TPointF p = Rotated(dx, dy, static_cast<double>(z) - m_zCenter);
  return TPoint(ToPixel(p.X, m_xCenterOffset), ToPixel(p.Y, m_yCenterOffset));
}

void TProjection3D::Unproject(int &x, int &y, int z) const {
  if (!m_is3D || m_zoom == 0.0)
    return;
  const double sx = static_cast<double>(x) - m_xCenterOffset;
  const double sy = static_cast<double>(y) - m_yCenterOffset;
  if (m_orthogonal) {
    x = ToPixel(std::nearbyint(sx / m_zoom) - z, m_xCenter);
    y = ToPixel(std::nearbyint(sy / m_zoom) + z, m_yCenter);
    return;
  }
  if (Kxx == 0.0 || Kyy == 0.0)
    return;
  const double det = Kxx * Kyy - Kxy * Kyx;
  if (det == 0.0 || !std::isfinite(det))
    return;
  const double dz = static_cast<double>(z) - m_zCenter;
  // Without perspective the projection is linear in dx, dy: solve it.
  auto solve = [&](double scale, double &dx, double &dy) {
    const double a = sx / scale - dz * Kxz;
    const double b = sy / scale - dz * Kyz;
    dx = (a * Kyy - b * Kxy) / det;
    dy = (b * Kxx - a * Kyx) / det;
  };
  double dx = 0.0, dy = 0.0;
  solve(m_zoom, dx, dy);
  if (m_perspective > 0.0) {
    // The scale depends on the point itself; a few rounds of fixed-point
    // iteration settle it (the perspective factor is small).
    for (int round = 0; round < 50; ++round) {
      const double s = m_zoom * (1.0 - (dx * CosESinR - dy * SinE + dz * Kpz) * m_perspective);
      if (s == 0.0 || !std::isfinite(s))
        return;
      double nx = 0.0, ny = 0.0;
      solve(s, nx, ny);
      const bool settled = std::fabs(nx - dx) < 1e-6 && std::fabs(ny - dy) < 1e-6;
      dx = nx;
      dy = ny;
      if (settled)
        break;
    }
  }
  if (!std::isfinite(dx) || !std::isfinite(dy))
    return;
  const int screenX = x, screenY = y;
  x = ToPixel(dx, m_xCenter);
  y = ToPixel(dy, m_yCenter);
  // Rounding may pick a neighbour of the point drawn at this pixel; prefer a
  // neighbour that projects exactly onto it.
  if (Project(x, y, z) == TPoint(screenX, screenY))
    return;
  const double fx = dx + m_xCenter, fy = dy + m_yCenter;
  double best = -1.0;
  int bestX = x, bestY = y;
  for (int ox = -1; ox <= 1; ++ox)
    for (int oy = -1; oy <= 1; ++oy) {
      const int cx = PixelAdd(x, ox), cy = PixelAdd(y, oy);
      if (Project(cx, cy, z) != TPoint(screenX, screenY))
        continue;
      const double d = (cx - fx) * (cx - fx) + (cy - fy) * (cy - fy);
      if (best < 0.0 || d < best) {
        best = d;
        bestX = cx;
        bestY = cy;
      }
    }
  x = bestX;
  y = bestY;
}

void TProjection3D::Suspend3D() {
  m_saved3D = m_is3D;
  m_is3D = false;
}

void TProjection3D::Resume3D() { m_is3D = m_saved3D; }
