#include "ChartTestSupport.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/Projection3D.h"
#include "chartengine/canvas/View3DOptions.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

struct ProjectCase {
  int X, Y, Z;
  int WantX, WantY;
};

TEST(Projection3D, OrthogonalWithZoomAndOffsets) {
  TView3DOptions options;
  options.SetOrthogonal(true);
  options.SetZoom(150);
  options.SetHorizOffset(7);
  options.SetVertOffset(-3);
  TProjection3D p;
  p.Begin(&options, true);
  p.SetCentre(40, TRect(0, 0, 400, 250), &options);
  EXPECT_EQ(p.XCenter(), 200);
  EXPECT_EQ(p.YCenter(), 125);
  EXPECT_EQ(p.ZCenter(), 20);
  EXPECT_EQ(p.XCenterOffset(), 207);
  EXPECT_EQ(p.YCenterOffset(), 122);
  // x' = round((x - 200 + z) * 1.5) + 207, y' = round((y - 125 - z) * 1.5) + 122
  const ProjectCase cases[] = {
      {200, 125, 0, 207, 122},
      {100, 50, 10, 72, -6},    // -127.5 rounds to the even -128
      {300, 200, 30, 402, 190}, // 67.5 rounds to 68
      {201, 125, 0, 209, 122},  // 1.5 rounds to 2
  };
  for (const ProjectCase &c : cases) {
    const TPoint q = p.Project(c.X, c.Y, c.Z);
    EXPECT_EQ(q, TPoint(c.WantX, c.WantY)) << c.X << "," << c.Y << "," << c.Z;
  }
}

TEST(Projection3D, OrthogonalDepthMovesRightAndUp) {
  TView3DOptions options; // orthogonal, zoom 100 by default
  TProjection3D p;
  p.Begin(&options, true);
  p.SetCentre(100, TRect(10, 20, 210, 120), &options);
  for (int z : {0, 1, 17, 100})
    EXPECT_EQ(p.Project(50, 60, z), TPoint(50 + z, 60 - z)) << z;
}

TEST(Projection3D, RotatedWithPerspective) {
  TView3DOptions options;
  options.SetOrthogonal(false); // elevation 345, rotation 345, tilt 0, perspective 15
  TProjection3D p;
  p.Begin(&options, true);
  p.SetCentre(100, TRect(0, 0, 400, 250), &options);
  EXPECT_DOUBLE_EQ(p.PerspectiveFactor(), 15 / 35000.0);
  EXPECT_EQ(p.Project(200, 125, 50), TPoint(200, 125)) << "the centre stays";
  // Values from the rotation formulas with s = F (1 - (dx cosE sinR - dy sinE + dz Kpz) P).
  EXPECT_EQ(p.Project(300, 75, 0), TPoint(287, 95));
  EXPECT_EQ(p.Project(50, 200, 100), TPoint(74, 173));
}

TEST(Projection3D, CoefficientsAreFlooredAndTiltAppears) {
  TView3DOptions options;
  options.SetOrthogonal(false);
  options.SetElevation(90);
  options.SetRotation(90);
  options.SetTilt(30);
  TProjection3D p;
  p.Begin(&options, true);
  EXPECT_DOUBLE_EQ(p.Kyy, 1e-5);
  EXPECT_NEAR(p.Kxx, 0.5, 1e-12); // sin R sin E sin T + cos R cos T
  EXPECT_NEAR(p.Kxy, 0.0, 1e-12);
}

TEST(Projection3D, FlatDrawingIsTheIdentity) {
  TView3DOptions options;
  options.SetZoom(300);
  TProjection3D p;
  p.Begin(&options, false);
  p.SetCentre(50, TRect(0, 0, 100, 100), &options);
  EXPECT_EQ(p.Project(12, 34, 56), TPoint(12, 34));
  int x = 12, y = 34;
  p.Unproject(x, y, 56);
  EXPECT_EQ(TPoint(x, y), TPoint(12, 34));
}

TEST(Projection3D, SuspendDrawsFlatUntilResumed) {
  TView3DOptions options;
  TProjection3D p;
  p.Begin(&options, true);
  p.SetCentre(0, TRect(0, 0, 100, 100), &options);
  p.Suspend3D();
  EXPECT_EQ(p.Project(10, 10, 5), TPoint(10, 10));
  p.Resume3D();
  EXPECT_EQ(p.Project(10, 10, 5), TPoint(15, 5));
}

void ExpectUnprojectInverts(const TProjection3D &p, int tolerance) {
  for (int x = -50; x <= 450; x += 37)
    for (int y = -20; y <= 270; y += 29)
      for (int z : {0, 13, 60}) {
        const TPoint screen = p.Project(x, y, z);
        int ux = screen.X, uy = screen.Y;
        p.Unproject(ux, uy, z);
        EXPECT_LE(std::abs(ux - x), tolerance) << x << "," << y << "," << z;
        EXPECT_LE(std::abs(uy - y), tolerance) << x << "," << y << "," << z;
        EXPECT_EQ(p.Project(ux, uy, z), screen) << x << "," << y << "," << z;
      }
}

TEST(Projection3D, UnprojectInvertsOrthogonal) {
  TView3DOptions options;
  options.SetHorizOffset(-11);
  options.SetVertOffset(4);
  TProjection3D p;
  p.Begin(&options, true);
  p.SetCentre(60, TRect(0, 0, 400, 250), &options);
  ExpectUnprojectInverts(p, 0);
  options.SetZoom(250);
  p.Begin(&options, true);
  p.SetCentre(60, TRect(0, 0, 400, 250), &options);
  ExpectUnprojectInverts(p, 0);
}

TEST(Projection3D, UnprojectInvertsRotatedWithPerspective) {
  TView3DOptions options;
  options.SetOrthogonal(false);
  options.SetTilt(10);
  options.SetPerspective(60);
  options.SetHorizOffset(5);
  TProjection3D p;
  p.Begin(&options, true);
  p.SetCentre(60, TRect(0, 0, 400, 250), &options);
  // The rotation shrinks distances, so neighbouring chart points may share a
  // pixel; the answer is one of them.
  ExpectUnprojectInverts(p, 1);
}

TEST(Projection3D, FarPointsSaturateInsteadOfWrapping) {
  TView3DOptions options;
  options.SetZoom(400);
  TProjection3D p;
  p.Begin(&options, true);
  p.SetCentre(0, TRect(0, 0, 100, 100), &options);
  EXPECT_EQ(p.Project(INT_MAX, INT_MIN, 0), TPoint(INT_MAX, INT_MIN));
  EXPECT_EQ(p.Project(INT_MIN, INT_MAX, 0), TPoint(INT_MIN, INT_MAX));
  // Depth that brings a far point back is taken in full precision.
  EXPECT_EQ(p.Project(INT_MIN, INT_MAX, INT_MAX), TPoint(-154, -150));
  options.SetOrthogonal(false);
  p.Begin(&options, true);
  p.SetCentre(0, TRect(0, 0, 100, 100), &options);
  const TPoint q = p.Project(INT_MAX, INT_MIN, INT_MAX);
  // Perspective may turn such a point around; either way it ends at a limit.
  EXPECT_TRUE(q.X == INT_MAX || q.X == INT_MIN) << q.X;
  EXPECT_TRUE(q.Y == INT_MAX || q.Y == INT_MIN) << q.Y;
}

TEST(Projection3D, FlatViewAtFullSizeMatchesTheExactProjection) {
  TView3DOptions options;
  TProjection3D p;
  p.Begin(&options, true);
  p.SetCentre(37, TRect(11, 7, 1280, 719), &options);
  unsigned seed = 5;
  const auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>(seed >> 8) % 4000001 - 2000000;
  };
  for (int i = 0; i < 20000; ++i) {
    const int x = next(), y = next(), z = next() / 1000;
    const TPointF exact = p.ProjectExact(x, y, z);
    ASSERT_EQ(p.Project(x, y, z), TPoint(PixelRound(exact.X), PixelRound(exact.Y)))
        << x << "," << y << "," << z;
  }
  EXPECT_EQ(p.Project(INT_MAX, INT_MIN, 0), TPoint(INT_MAX, INT_MIN));
  EXPECT_EQ(p.Project(INT_MIN, INT_MAX, INT_MAX),
            TPoint(PixelRound(p.ProjectExact(INT_MIN, INT_MAX, INT_MAX).X),
                   PixelRound(p.ProjectExact(INT_MIN, INT_MAX, INT_MAX).Y)));
}

TEST(View3DOptions, SettersNotifyOnChangeOnly) {
  int repaints = 0;
  std::vector<bool> scrolled;
  std::vector<int> zoomedTo;
  TView3DOptions options([&] { ++repaints; });
  options.OnScrolled = [&](bool horizontal) { scrolled.push_back(horizontal); };
  options.OnZoomed = [&](int zoom) {
    zoomedTo.push_back(zoom);
    EXPECT_EQ(options.Zoom(), 100) << "told before the zoom is stored";
  };
  options.SetElevation(345);
  EXPECT_EQ(repaints, 0);
  options.SetHorizOffset(3);
  options.SetVertOffset(4);
  options.SetZoom(120);
  EXPECT_EQ(repaints, 3);
  EXPECT_EQ(scrolled, (std::vector<bool>{true, false}));
  EXPECT_EQ(zoomedTo, (std::vector<int>{120}));
  TView3DOptions copy;
  copy.Assign(options);
  EXPECT_EQ(copy.Zoom(), 120);
  EXPECT_EQ(copy.HorizOffset(), 3);
  EXPECT_TRUE(copy.Orthogonal());
}

} // namespace
