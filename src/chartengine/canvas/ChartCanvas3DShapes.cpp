// The projected lines, planes and solid shapes of the chart canvas.
#include "chartengine/canvas/ChartCanvas3D.h"

#include "chartengine/canvas/ChartMath.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

struct Vec3 {
  double X, Y, Z;
};

Vec3 Sub(const Vec3 &a, const Vec3 &b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Vec3 Cross(const Vec3 &a, const Vec3 &b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
double Dot(const Vec3 &a, const Vec3 &b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

int Sign(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

int RoundToward(double v) { return PixelRound(v); }

} // namespace

// ---- lines and planes ----------------------------------------------------------

void TChartCanvas3D::Pixel3D(int x, int y, int z, TColor color) {
  const TPoint p = ProjectPoint(x, y, z);
  if (Pen().Width != 1) {
    // A dot as wide as the pen.
    m_target->MoveTo(p.X, p.Y);
    m_target->LineTo(p.X + 1, p.Y);
  } else {
    m_target->SetPixel(p.X, p.Y, color);
  }
}

void TChartCanvas3D::HorizLineAtDepth(int x0, int x1, int y, int z) {
  MoveToAtDepth(x0, y, z);
  LineToAtDepth(x1, y, z);
}

void TChartCanvas3D::VertLineAtDepth(int x, int y0, int y1, int z) {
  MoveToAtDepth(x, y0, z);
  LineToAtDepth(x, y1, z);
}

void TChartCanvas3D::DepthLine(int x, int y, int z0, int z1) {
  MoveToAtDepth(x, y, z0);
  LineToAtDepth(x, y, z1);
}

void TChartCanvas3D::LineAtDepth(int x0, int y0, int x1, int y1, int z) {
  MoveToAtDepth(x0, y0, z);
  LineToAtDepth(x1, y1, z);
}

void TChartCanvas3D::MoveToAtDepth(int x, int y, int z) {
  const TPoint p = ProjectPoint(x, y, z);
  m_target->MoveTo(p.X, p.Y);
}

void TChartCanvas3D::LineToAtDepth(int x, int y, int z) {
  const TPoint p = ProjectPoint(x, y, z);
  m_target->LineTo(p.X, p.Y);
}

void TChartCanvas3D::Polygon4(const TPoint &a, const TPoint &b, const TPoint &c, const TPoint &d) {
  const std::array<TPoint, 4> pts = {a, b, c, d};
  m_target->Polygon(pts);
}

void TChartCanvas3D::PlaneBetweenDepths(const TPoint &p1, const TPoint &p2, int z0, int z1) {
  PlaneEnd &last = m_lastPlaneEnd;
  const bool reuse = last.valid && last.serial == m_projectionSerial && last.at == p1 &&
                     last.z0 == z0 && last.z1 == z1;
  const TPoint front1 = reuse ? last.front : ProjectPoint(p1.X, p1.Y, z0);
  const TPoint back1 = reuse ? last.back : ProjectPoint(p1.X, p1.Y, z1);
  last = {true,
          m_projectionSerial,
          p2,
          z0,
          z1,
          ProjectPoint(p2.X, p2.Y, z0),
          ProjectPoint(p2.X, p2.Y, z1)};
  Polygon4(front1, last.front, last.back, back1);
}

void TChartCanvas3D::PlaneAtDepth(const TPoint &p1, const TPoint &p2, const TPoint &p3,
                                  const TPoint &p4, int z) {
  Polygon4(ProjectPoint(p1.X, p1.Y, z), ProjectPoint(p2.X, p2.Y, z), ProjectPoint(p3.X, p3.Y, z),
           ProjectPoint(p4.X, p4.Y, z));
}

void TChartCanvas3D::QuadAtDepths(std::span<const TPoint> points, int z0, int z1) {
  if (points.size() < 4)
    return;
  Polygon4(ProjectPoint(points[0].X, points[0].Y, z0), ProjectPoint(points[1].X, points[1].Y, z0),
           ProjectPoint(points[2].X, points[2].Y, z1), ProjectPoint(points[3].X, points[3].Y, z1));
}

void TChartCanvas3D::RectangleAtDepth(const TRect &r, int z) {
  PlaneAtDepth(TPoint(r.Left, r.Top), TPoint(r.Right, r.Top), TPoint(r.Right, r.Bottom),
               TPoint(r.Left, r.Bottom), z);
}

void TChartCanvas3D::RectangleInY(int left, int y, int right, int z0, int z1) {
  Polygon4(ProjectPoint(left, y, z0), ProjectPoint(right, y, z0), ProjectPoint(right, y, z1),
           ProjectPoint(left, y, z1));
}

void TChartCanvas3D::RectangleInX(int x, int top, int bottom, int z0, int z1) {
  Polygon4(ProjectPoint(x, top, z0), ProjectPoint(x, top, z1), ProjectPoint(x, bottom, z1),
           ProjectPoint(x, bottom, z0));
}

void TChartCanvas3D::TriangleAtDepth(const TPoint &p1, const TPoint &p2, const TPoint &p3, int z) {
  const std::array<TPoint, 3> pts = {ProjectPoint(p1.X, p1.Y, z), ProjectPoint(p2.X, p2.Y, z),
                                     ProjectPoint(p3.X, p3.Y, z)};
  m_target->Polygon(pts);
}

void TChartCanvas3D::ClipToBox(const TRect &r, int z0, int z1) {
  if (!m_projection.Is3D()) {
    ClipToRect(TRect(r.Left + 1, r.Top + 1, r.Right, r.Bottom - 1));
    return;
  }
  const TPoint leftTopBack = ProjectPoint(r.Left, r.Top, z1);
  const TPoint rightTopFront = ProjectPoint(r.Right, r.Top, z0);
  const TPoint rightBottomBack = ProjectPoint(r.Right, r.Bottom, z1);
  const std::array<TPoint, 6> hexagon = {
      ProjectPoint(r.Left, r.Bottom, z0),
      ProjectPoint(r.Left, r.Top, z0),
      leftTopBack.Y < rightTopFront.Y ? leftTopBack : rightTopFront,
      ProjectPoint(r.Right, r.Top, z1),
      rightBottomBack.X > rightTopFront.X ? rightBottomBack : rightTopFront,
      ProjectPoint(r.Right, r.Bottom, z0)};
  m_target->SetClipPolygon(hexagon);
}

// ---- shading -----------------------------------------------------------------

TColor TChartCanvas3D::FaceBaseColor() {
  return Brush().Style == bsSolid ? Brush().Color : GetBackColor();
}

void TChartCanvas3D::SetFaceColor(TColor color) {
  if (Brush().Style == bsSolid)
    Brush().Color = color;
  else
    SetBackColor(color);
}

// ---- solid shapes ------------------------------------------------------------

void TChartCanvas3D::Box(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) {
  const TColor base = FaceBaseColor();
  Polygon4(ProjectPoint(left, top, z0), ProjectPoint(right, top, z0),
           ProjectPoint(right, bottom, z0), ProjectPoint(left, bottom, z0));
  if (darkSides)
    SetFaceColor(DarkenColor(base, 128));
  // The right side, unless depth runs to the left: then the left one shows.
  if (ProjectPoint(right, bottom, z1).X > ProjectPoint(right, bottom, z0).X)
    RectangleInX(right, top, bottom, z0, z1);
  else
    RectangleInX(left, top, bottom, z0, z1);
  // The top, when the view looks down on it.
  if (ProjectPoint(left, top, z0).Y > ProjectPoint(left, top, z1).Y) {
    SetFaceColor(darkSides ? DarkenColor(base, 64) : base);
    RectangleInY(left, top, right, z0, z1);
  }
  SetFaceColor(base);
}

namespace {

// Faces of a convex solid are drawn only when they face the viewer. A face is
// given by three of its corners in order and its outward normal; the sign of
// its projected area is compared with that of a face known to look at the
// viewer (the front plane of the shape).
class FaceTester {
public:
  FaceTester(const TProjection3D &projection, double cx, double cy, double z) : m_p(projection) {
    const int s = Sign(Area({cx, cy, z}, {cx + 100, cy, z}, {cx + 100, cy + 100, z}));
    m_front = s != 0 ? s : 1;
  }
  bool Visible(const Vec3 &a, const Vec3 &b, const Vec3 &c, const Vec3 &outward) const {
    // The front reference turns like this face when (b-a)x(c-b) points inward.
    const int orientation = Dot(Cross(Sub(b, a), Sub(c, b)), outward) < 0 ? 1 : -1;
    const int s = Sign(Area(a, b, c));
    return s != 0 && s * orientation == m_front;
  }

private:
  double Area(const Vec3 &a, const Vec3 &b, const Vec3 &c) const {
    const TPointF pa = m_p.ProjectExact(a.X, a.Y, a.Z);
    const TPointF pb = m_p.ProjectExact(b.X, b.Y, b.Z);
    const TPointF pc = m_p.ProjectExact(c.X, c.Y, c.Z);
    return (pb.X - pa.X) * (pc.Y - pb.Y) - (pb.Y - pa.Y) * (pc.X - pb.X);
  }
  const TProjection3D &m_p;
  int m_front = 1;
};

TPoint Rounded(const TProjection3D &p, const Vec3 &v) {
  return p.Project(RoundToward(v.X), RoundToward(v.Y), RoundToward(v.Z));
}

} // namespace

void TChartCanvas3D::Cylinder(bool vertical, int left, int top, int right, int bottom, int z0,
                              int z1, bool darkSides) {
  constexpr int kSides = 16;
  const double pi = std::numbers::pi;
  const TColor base = FaceBaseColor();
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0, cz = (z0 + z1) / 2.0;
  const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0, rz = (z1 - z0) / 2.0;
  const double start = vertical ? -3 * pi / 8 : 6 * pi / 8;
  // Rim points at the two ends (top and bottom, or left and right) and the
  // outward direction at each angle.
  std::array<Vec3, kSides + 1> nearEnd{}, farEnd{};
  auto rim = [&](double a, double endCoord) -> Vec3 {
    if (vertical)
      return {cx + rx * std::sin(a), endCoord, cz - rz * std::cos(a)};
    return {endCoord, cy + ry * std::cos(a), cz + rz * std::sin(a)};
  };
  auto normal = [&](double a) -> Vec3 {
    if (vertical)
      return {rz * std::sin(a), 0.0, -rx * std::cos(a)};
    return {0.0, rz * std::cos(a), ry * std::sin(a)};
  };
  for (int k = 0; k <= kSides; ++k) {
    const double a = start + k * pi / 8;
    nearEnd[k] = rim(a, vertical ? top : left);
    farEnd[k] = rim(a, vertical ? bottom : right);
  }
  const FaceTester faces(m_projection, cx, cy, z0);
  int visible = 0;
  for (int k = 0; k < kSides; ++k) {
    const Vec3 n = normal(start + (k + 0.5) * pi / 8);
    if (!faces.Visible(nearEnd[k], nearEnd[k + 1], farEnd[k + 1], n))
      continue;
    SetFaceColor(darkSides ? DarkenColor(base, 16 * visible) : base);
    ++visible;
    Polygon4(Rounded(m_projection, nearEnd[k]), Rounded(m_projection, nearEnd[k + 1]),
             Rounded(m_projection, farEnd[k + 1]), Rounded(m_projection, farEnd[k]));
  }
  // The end cap that faces the viewer.
  SetFaceColor(DarkenColor(base, 64));
  for (const auto *end : {&nearEnd, &farEnd}) {
    const bool isNear = end == &nearEnd;
    const Vec3 n = vertical ? Vec3{0, isNear ? -1.0 : 1.0, 0} : Vec3{isNear ? -1.0 : 1.0, 0, 0};
    const auto &pts = *end;
    // Three corners spread around the cap for a stable orientation.
    if (!faces.Visible(pts[0], pts[5], pts[10], n))
      continue;
    std::array<TPoint, kSides> cap{};
    for (int k = 0; k < kSides; ++k)
      cap[k] = Rounded(m_projection, pts[k]);
    m_target->Polygon(cap);
  }
  SetFaceColor(base);
}

void TChartCanvas3D::Pyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                             int z1, bool darkSides) {
  const TColor base = FaceBaseColor();
  const int midZ = static_cast<int>((static_cast<long long>(z0) + z1) / 2);
  if (vertical) {
    const TPoint a = ProjectPoint(left, bottom, z0), b = ProjectPoint(right, bottom, z0);
    const TPoint c = ProjectPoint(left, bottom, z1), d = ProjectPoint(right, bottom, z1);
    const TPoint t =
        ProjectPoint(static_cast<int>((static_cast<long long>(left) + right) / 2), top, midZ);
    if (bottom != top) {
      const std::array<TPoint, 3> front = {a, t, b};
      m_target->Polygon(front);
      const bool backShows = bottom > top && c.Y < t.Y;
      if (backShows) {
        const std::array<TPoint, 3> leftFace = {a, t, c};
        m_target->Polygon(leftFace);
      }
      if (darkSides)
        SetFaceColor(DarkenColor(base, 128));
      const std::array<TPoint, 3> rightFace = {b, t, d};
      m_target->Polygon(rightFace);
      if (backShows) {
        const std::array<TPoint, 3> back = {t, c, d};
        m_target->Polygon(back);
      }
    }
    if (bottom <= top) {
      SetFaceColor(darkSides ? DarkenColor(base, 64) : base);
      RectangleInY(left, bottom, right, z0, z1);
    }
    SetFaceColor(base);
    return;
  }
  // Lying on its side: the base at x = left, the apex at x = right. Faces
  // are drawn where they look at the viewer.
  const double midY = (static_cast<double>(top) + bottom) / 2;
  const Vec3 a{double(left), double(top), double(z0)}, b{double(left), double(bottom), double(z0)};
  const Vec3 c{double(left), double(top), double(z1)}, d{double(left), double(bottom), double(z1)};
  const Vec3 t{double(right), std::floor(midY), double(midZ)};
  const FaceTester faces(m_projection, left, top, z0);
  const double dir = right >= left ? 1.0 : -1.0;
  const Vec3 mid{(a.X + t.X) / 2, midY, (z0 + z1) / 2.0};
  auto outward = [&](const Vec3 &p) { return Sub(p, mid); };
  auto tri = [&](const Vec3 &p, const Vec3 &q, const Vec3 &r) {
    const std::array<TPoint, 3> pts = {Rounded(m_projection, p), Rounded(m_projection, q),
                                       Rounded(m_projection, r)};
    m_target->Polygon(pts);
  };
  if (left != right) {
    tri(a, t, b);
    if (darkSides)
      SetFaceColor(DarkenColor(base, 128));
    const Vec3 topCentre{(a.X + t.X) / 2, double(top), (z0 + z1) / 2.0};
    const Vec3 bottomCentre{(a.X + t.X) / 2, double(bottom), (z0 + z1) / 2.0};
    const Vec3 backCentre{(a.X + t.X) / 2, midY, double(z1)};
    if (faces.Visible(a, t, c, outward(topCentre)))
      tri(a, t, c);
    if (faces.Visible(b, t, d, outward(bottomCentre)))
      tri(b, t, d);
    if (faces.Visible(t, c, d, outward(backCentre)))
      tri(t, c, d);
  }
  const Vec3 baseNormal{-dir, 0, 0};
  if (faces.Visible(a, c, d, baseNormal)) {
    SetFaceColor(darkSides ? DarkenColor(base, 64) : base);
    RectangleInX(left, top, bottom, z0, z1);
  }
  SetFaceColor(base);
}

void TChartCanvas3D::PieSlice3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                                double startAngle, double endAngle, bool darkSides,
                                bool drawSides) {
  constexpr int kRim = 32;
  const TColor base = FaceBaseColor();
  std::array<TPoint, kRim> front{}, back{};
  const double step = (endAngle - startAngle) / (kRim - 1);
  for (int i = 0; i < kRim; ++i) {
    const double a = startAngle + i * step;
    const int x = PixelAdd(xCenter, PixelRound(xRadius * std::cos(a)));
    const int y = PixelAdd(yCenter, -static_cast<long long>(PixelRound(yRadius * std::sin(a))));
    front[i] = ProjectPoint(x, y, z0);
    back[i] = ProjectPoint(x, y, z1);
  }
  const TPoint centreFront = ProjectPoint(xCenter, yCenter, z0);
  const TPoint centreBack = ProjectPoint(xCenter, yCenter, z1);
  if (drawSides) {
    if (darkSides)
      SetFaceColor(DarkenColor(base, 32));
    if (front[kRim - 1].X < centreFront.X)
      Polygon4(centreFront, front[kRim - 1], back[kRim - 1], centreBack);
    if (front[0].X > centreFront.X)
      Polygon4(centreFront, front[0], back[0], centreBack);
  }
  SetFaceColor(base);
  // The face that shows as the top is the disc higher on screen; the other
  // one lies under the side band.
  const bool backOnTop = centreBack.Y < centreFront.Y;
  std::vector<TPoint> top;
  top.reserve(kRim + 1);
  top.push_back(backOnTop ? centreBack : centreFront);
  top.insert(top.end(), backOnTop ? back.begin() : front.begin(),
             backOnTop ? back.end() : front.end());
  m_target->Polygon(top);

  // The outer side shows where the rim runs to the right on screen.
  auto band = [&](int from, int to) {
    std::vector<TPoint> pts;
    for (int i = from; i <= to; ++i)
      pts.push_back(front[i]);
    for (int i = to; i >= from; --i)
      pts.push_back(back[i]);
    m_target->Polygon(pts);
  };
  if (darkSides)
    SetFaceColor(DarkenColor(base, 32));
  int runStart = -1;
  for (int i = 1; i < kRim; ++i)
    if (front[i].X > front[i - 1].X) {
      runStart = i - 1;
      break;
    }
  if (runStart >= 0) {
    int runEnd = kRim - 1;
    for (int i = runStart + 2; i < kRim; ++i)
      if (front[i].X < front[i - 1].X) {
        runEnd = i - 1;
        break;
      }
    band(runStart, runEnd);
    if (runEnd < kRim - 1 && front[kRim - 1].X > front[kRim - 2].X) {
      int lastStart = kRim - 1;
      while (lastStart > runEnd + 1 && front[lastStart].X >= front[lastStart - 1].X)
        --lastStart;
      band(lastStart, kRim - 1);
    }
  }
  SetFaceColor(base);
}

void TChartCanvas3D::Arrow3D(bool filled, const TPoint &from, const TPoint &to, int headWidth,
                             int headHeight, int z) {
  const double dx = static_cast<double>(to.X) - from.X;
  const double dy = static_cast<double>(from.Y) - to.Y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length == 0.0)
    return;
  const double sinA = dy / length, cosA = dx / length;
  // A frame turned along the arrow: u runs from tail to tip.
  auto turnU = [&](double x, double y) { return x * cosA - y * sinA; };
  auto turnV = [&](double x, double y) { return x * sinA + y * cosA; };
  auto back = [&](double u, double v) {
    return ProjectPoint(PixelRound(u * cosA + v * sinA), PixelRound(-u * sinA + v * cosA), z);
  };
  const double headLength = std::min<double>(PixelRound(length), headHeight);
  const double uT = turnU(to.X, to.Y), vT = turnV(to.X, to.Y);
  const double uF = turnU(from.X, from.Y);
  const double uH = uT - headLength;
  const double half = headWidth / 2.0, quarter = headWidth / 4.0;
  const TPoint tip = ProjectPoint(to.X, to.Y, z);
  if (filled) {
    const std::array<TPoint, 7> pts = {back(uF, vT + quarter),
                                       back(uF, vT - quarter),
                                       back(uH, vT - quarter),
                                       back(uH, vT - half),
                                       tip,
                                       back(uH, vT + half),
                                       back(uH, vT + quarter)};
    m_target->Polygon(pts);
    return;
  }
  MoveToAtDepth(from.X, from.Y, z);
  LineToAtDepth(to.X, to.Y, z);
  const TPoint c1 = back(uH, vT - half), c2 = back(uH, vT + half);
  m_target->MoveTo(tip.X, tip.Y);
  m_target->LineTo(c1.X, c1.Y);
  m_target->MoveTo(tip.X, tip.Y);
  m_target->LineTo(c2.X, c2.Y);
}

void TChartCanvas3D::EllipseAtDepth(int x1, int y1, int x2, int y2, int z) {
  if (!m_projection.Is3D()) {
    m_target->Ellipse(x1, y1, x2 + 1, y2 + 1);
    return;
  }
  if (m_projection.Orthogonal()) {
    const TPoint a = ProjectPoint(x1, y1, z), b = ProjectPoint(x2, y2, z);
    m_target->Ellipse(a.X, a.Y, b.X, b.Y);
    return;
  }
  constexpr int kPoints = 32;
  const int cx = static_cast<int>((static_cast<long long>(x1) + x2) / 2);
  const int cy = static_cast<int>((static_cast<long long>(y1) + y2) / 2);
  const double rx = (static_cast<double>(x2) - x1) / 2, ry = (static_cast<double>(y2) - y1) / 2;
  const double rxi = std::trunc(rx), ryi = std::trunc(ry);
  std::array<TPoint, kPoints> pts{};
  pts[0] = ProjectPoint(cx, y2, z);
  for (int k = 1; k < kPoints; ++k) {
    const double a = k * std::numbers::pi / 10;
    pts[k] = ProjectPoint(PixelAdd(cx, static_cast<long long>(std::trunc(rxi * std::sin(a)))),
                          PixelAdd(cy, static_cast<long long>(std::trunc(ryi * std::cos(a)))), z);
  }
  const TPoint centre = ProjectPoint(cx, cy, z);
  if (Brush().Style != bsClear) {
    const TPenStyle savedStyle = Pen().Style;
    Pen().Style = psClear;
    for (int k = 0; k < kPoints - 2; ++k) {
      const std::array<TPoint, 3> tri = {centre, pts[k], pts[k + 1]};
      m_target->Polygon(tri);
    }
    Pen().Style = savedStyle;
  }
  if (Pen().Style != psClear)
    m_target->Polyline(pts);
}
