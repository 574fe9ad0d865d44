// Pixel tests of the QPainter canvas: where each primitive puts its pixels.
#include "platform/BitmapBuffer.h"
#include "platform/Canvas.h"
#include "platform/QPainterCanvas.h"
#include "support/TestPaths.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <gtest/gtest.h>

#include <set>
#include <span>
#include <utility>
#include <random>
#include <vector>

namespace {

constexpr TColor kPaper = clWhite;
constexpr TColor kInk = clBlack;
constexpr TColor kFill = 0x3366CC;
constexpr TColor kGreen = 0x00AA00;

using PixelSet = std::set<std::pair<int, int>>;

TColor At(const QImage &image, int x, int y) {
  const QRgb c = image.pixel(x, y);
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

PixelSet PixelsOf(const QImage &image, TColor color) {
  PixelSet s;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (At(image, x, y) == color)
        s.insert({x, y});
  return s;
}

PixelSet PixelsNot(const QImage &image, TColor color) {
  PixelSet s;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (At(image, x, y) != color)
        s.insert({x, y});
  return s;
}

PixelSet Box(int l, int t, int r, int b) { // r and b exclusive
  PixelSet s;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
      s.insert({x, y});
  return s;
}

// Bounding box (exclusive right/bottom) of the pixels that are not `paper`.
TRect InkBox(const QImage &image, TColor paper = kPaper) {
  TRect r(image.width(), image.height(), -1, -1);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (At(image, x, y) != paper) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r.Right < 0 ? TRect() : r;
}

QImage Paper(int w = 64, int h = 48, TColor c = kPaper,
             QImage::Format format = QImage::Format_RGB32) {
  QImage image(w, h, format);
  image.fill(ToQColor(c));
  return image;
}

// Draws on a fresh image through the canvas and returns the image.
template <typename F>
QImage Drawn(F &&draw, int w = 64, int h = 48, TColor paper = kPaper,
             QImage::Format format = QImage::Format_RGB32) {
  QImage image = Paper(w, h, paper, format);
  {
    TQPainterCanvas canvas(&image);
    canvas.Pen().Color = kInk;
    draw(canvas);
  }
  return image;
}

// ---- lines -----------------------------------------------------------------

struct LineCase {
  const char *name;
  TPoint from, to;
  PixelSet expected;
};

TEST(CanvasPixels, LineLeavesOutItsEndPixel) {
  const std::vector<LineCase> cases = {
      {"right", {0, 0}, {10, 0}, Box(0, 0, 10, 1)},
      {"left", {10, 3}, {0, 3}, Box(1, 3, 11, 4)},
      {"down", {5, 2}, {5, 12}, Box(5, 2, 6, 12)},
      {"up", {5, 12}, {5, 2}, Box(5, 3, 6, 13)},
      {"diagonal", {0, 0}, {5, 5}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      {"diagonal back", {5, 5}, {0, 0}, {{5, 5}, {4, 4}, {3, 3}, {2, 2}, {1, 1}}},
      {"shallow", {0, 0}, {8, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 2}, {7, 2}}},
      {"steep back", {3, 9}, {2, 5}, {{3, 9}, {3, 8}, {2, 7}, {2, 6}}},
      {"point", {7, 7}, {7, 7}, {}},
  };
  // RGB32 pictures are written directly, other formats through QPainter.
  for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888}) {
    for (const LineCase &c : cases) {
      const QImage image = Drawn(
          [&](TCanvas &cv) {
            cv.MoveTo(c.from.X, c.from.Y);
            cv.LineTo(c.to.X, c.to.Y);
          },
          64, 48, kPaper, format);
      EXPECT_EQ(PixelsOf(image, kInk), c.expected) << c.name << " format " << format;
    }
  }
}

TEST(CanvasPixels, LinesThroughATurnedPainterAndAPolygonClip) {
  // A turned painter goes through QPainter; a polygon clip is written
  // directly, row by row of the clip.
  QImage image = Paper();
  {
    QPainter painter(&image);
    painter.translate(63, 0);
    painter.scale(-1, 1); // mirrored: x runs leftwards
    TQPainterCanvas cv(painter);
    cv.Pen().Color = kInk;
    cv.MoveTo(0, 1);
    cv.LineTo(10, 1);
  }
  EXPECT_EQ(PixelsOf(image, kInk), Box(54, 1, 64, 2));
  const QImage clipped = Drawn([](TCanvas &cv) {
    const TPoint l[] = {{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}, {0, 20}};
    cv.SetClipPolygon(l);
    cv.Pen().Style = psDot;
    cv.SetBkColor(clYellow);
    cv.MoveTo(0, 5);
    cv.LineTo(30, 5);
  });
  EXPECT_EQ(PixelsOf(clipped, kInk), PixelSet({{0, 5}, {1, 5}, {2, 5}, {6, 5}, {7, 5}, {8, 5}}));
  EXPECT_EQ(PixelsOf(clipped, clYellow), PixelSet({{3, 5}, {4, 5}, {5, 5}, {9, 5}}));
}

TEST(CanvasPixels, LinesWrittenDirectlyUnderAPolygonClipLandWhereQPainterPutsThem) {
  // RGB32 is written directly, RGB888 through QPainter: under polygon clips
  // and a rectangle, changed between the lines, both give the same pixels.
  const TPoint hexagon[] = {{5, 40}, {5, 12}, {18, 3}, {58, 3}, {58, 30}, {45, 44}};
  const TPoint other[] = {{0, 0}, {30, 5}, {63, 47}, {2, 30}};
  const auto draw = [&](TCanvas &cv) {
    unsigned seed = 7;
    const auto next = [&](int n) {
      seed = seed * 1103515245u + 12345u;
      return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    cv.SetBkColor(clYellow);
    cv.SetBkMode(OPAQUE);
    for (int k = 0; k < 400; ++k) {
      if (k == 300)
        cv.SetClipRect(TRect(6, 5, 50, 40));
      else if (k % 100 == 0)
        cv.SetClipPolygon(k == 100 ? std::span<const TPoint>(other)
                                   : std::span<const TPoint>(hexagon));
      cv.Pen().Style = k % 3 == 0 ? psDot : psSolid;
      const int x0 = next(80) - 8, y0 = next(64) - 8;
      int x1 = next(80) - 8, y1 = next(64) - 8;
      // Straight runs too, either way.
      if (k % 4 == 1)
        x1 = x0;
      else if (k % 4 == 2)
        y1 = y0;
      cv.MoveTo(x0, y0);
      cv.LineTo(x1, y1);
    }
  };
  const QImage direct = Drawn(draw);
  const QImage painted = Drawn(draw, 64, 48, kPaper, QImage::Format_RGB888);
  EXPECT_GT(PixelsOf(direct, kInk).size(), 500u);
  EXPECT_EQ(PixelsOf(direct, kInk), PixelsOf(painted, kInk));
  EXPECT_EQ(PixelsOf(direct, clYellow), PixelsOf(painted, clYellow));
}

TEST(CanvasPixels, LineToMovesThePenAndPolylineJoinsWithoutTheLastPixel) {
  TQPainterCanvas probe;
  probe.MoveTo(1, 1);
  probe.LineTo(4, 9);
  EXPECT_EQ(probe.PenPos(), TPoint(4, 9));

  const QImage image = Drawn([](TCanvas &cv) {
    const TPoint pts[] = {{0, 0}, {10, 0}, {10, 10}};
    cv.Polyline(pts);
  });
  PixelSet expected = Box(0, 0, 10, 1);
  for (const auto &p : Box(10, 0, 11, 10))
    expected.insert(p);
  EXPECT_EQ(PixelsOf(image, kInk), expected);
}

TEST(CanvasPixels, PenWidthZeroDrawsOnePixel) {
  const QImage image = Drawn([](TCanvas &cv) {
    cv.Pen().Width = 0;
    cv.MoveTo(2, 5);
    cv.LineTo(12, 5);
  });
  EXPECT_EQ(PixelsOf(image, kInk), Box(2, 5, 12, 6));
}

TEST(CanvasPixels, WideLineIsCentredOnTheOnePixelLine) {
  const QImage image = Drawn([](TCanvas &cv) {
    cv.Pen().Width = 3;
    cv.MoveTo(10, 20);
    cv.LineTo(40, 20);
  });
  const TRect ink = InkBox(image);
  EXPECT_EQ(ink.Top, 19);
  EXPECT_EQ(ink.Bottom, 22);
  // Round ends reach about half the width beyond both end points.
  EXPECT_GE(ink.Left, 8);
  EXPECT_LE(ink.Left, 10);
  EXPECT_GE(ink.Right, 40);
  EXPECT_LE(ink.Right, 43);
}

TEST(CanvasPixels, StyledPensWiderThanOneDrawSolid) {
  for (TPenStyle style : {psDash, psDot, psDashDot, psDashDotDot}) {
    const QImage thin = Drawn([&](TCanvas &cv) {
      cv.SetBkMode(TRANSPARENT);
      cv.Pen().Style = style;
      cv.MoveTo(0, 10);
      cv.LineTo(60, 10);
    });
    const QImage wide = Drawn([&](TCanvas &cv) {
      cv.Pen().Style = style;
      cv.Pen().Width = 3;
      cv.MoveTo(5, 10);
      cv.LineTo(55, 10);
    });
    const int thinCount = int(PixelsOf(thin, kInk).size());
    EXPECT_GT(thinCount, 10) << style;
    EXPECT_LT(thinCount, 60) << "a 1-px styled pen has gaps: " << style;
    for (int y = 9; y <= 11; ++y)
      for (int x = 5; x < 55; ++x)
        ASSERT_EQ(At(wide, x, y), kInk) << "style " << style << " at " << x << "," << y;
  }
}

TEST(CanvasPixels, StyledPenGapsTakeTheBackgroundWhenOpaque) {
  const auto draw = [](int mode) {
    return Drawn(
        [&](TCanvas &cv) {
          cv.Pen().Style = psDot;
          cv.SetBkMode(mode);
          cv.SetBkColor(clYellow);
          cv.MoveTo(0, 5);
          cv.LineTo(30, 5);
        },
        32, 10, kGreen);
  };
  const QImage opaque = draw(OPAQUE);
  const QImage transparent = draw(TRANSPARENT);
  for (int x = 0; x < 30; ++x) {
    EXPECT_TRUE(At(opaque, x, 5) == kInk || At(opaque, x, 5) == clYellow) << x;
    EXPECT_TRUE(At(transparent, x, 5) == kInk || At(transparent, x, 5) == kGreen) << x;
  }
  EXPECT_FALSE(PixelsOf(opaque, clYellow).empty());
  EXPECT_EQ(At(opaque, 30, 5), kGreen); // still no end pixel
}

// ---- rectangles and fills ------------------------------------------------

TEST(CanvasPixels, RectangleCoversLeftToRightMinusOne) {
  const std::vector<TRect> cases = {{0, 0, 10, 10}, {5, 7, 20, 12}, {3, 3, 6, 5}};
  for (const TRect &r : cases) {
    const QImage image = Drawn([&](TCanvas &cv) {
      cv.Brush().Color = kFill;
      cv.Rectangle(r);
    });
    EXPECT_EQ(PixelsNot(image, kPaper), Box(r.Left, r.Top, r.Right, r.Bottom));
    // The outline is on the outer pixels, the inside is the brush.
    PixelSet outline = Box(r.Left, r.Top, r.Right, r.Bottom);
    for (const auto &p : Box(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1))
      outline.erase(p);
    EXPECT_EQ(PixelsOf(image, kInk), outline);
    EXPECT_EQ(PixelsOf(image, kFill), Box(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
  }
}

TEST(CanvasPixels, RectangleCornersInAnyOrder) {
  const QImage image = Drawn([](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.Rectangle(10, 10, 0, 0);
  });
  EXPECT_EQ(PixelsNot(image, kPaper), Box(0, 0, 10, 10));
}

TEST(CanvasPixels, RectangleWithClearPenFillsOnePixelLess) {
  const QImage image = Drawn([](TCanvas &cv) {
    cv.Pen().Style = psClear;
    cv.Brush().Color = kFill;
    cv.Rectangle(2, 2, 12, 8);
  });
  EXPECT_EQ(PixelsNot(image, kPaper), Box(2, 2, 11, 7));
}

TEST(CanvasPixels, FillRectCoversLeftToRightMinusOne) {
  const QImage image = Drawn([](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.FillRect(TRect(4, 6, 14, 9));
    cv.FillRect(TRect(30, 30, 30, 40)); // empty: nothing
  });
  EXPECT_EQ(PixelsNot(image, kPaper), Box(4, 6, 14, 9));
}

TEST(CanvasPixels, FrameRectIsOnePixelInTheBrushColour) {
  const QImage image = Drawn([](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.FrameRect(TRect(2, 2, 8, 7));
  });
  PixelSet frame = Box(2, 2, 8, 7);
  for (const auto &p : Box(3, 3, 7, 6))
    frame.erase(p);
  EXPECT_EQ(PixelsOf(image, kFill), frame);
  EXPECT_EQ(PixelsNot(image, kPaper), frame);
}

TEST(CanvasPixels, WideRectangleOutlineIsCentredUnlessInsideFrame) {
  const QImage centred = Drawn([](TCanvas &cv) {
    cv.Pen().Width = 5;
    cv.Rectangle(10, 10, 30, 30);
  });
  EXPECT_EQ(InkBox(centred), TRect(8, 8, 32, 32));
  const QImage inside = Drawn([](TCanvas &cv) {
    cv.Pen().Width = 5;
    cv.Pen().Style = psInsideFrame;
    cv.Brush().Color = kFill;
    cv.Rectangle(10, 10, 30, 30);
  });
  EXPECT_EQ(PixelsNot(inside, kPaper), Box(10, 10, 30, 30));
  EXPECT_EQ(PixelsOf(inside, kFill), Box(15, 15, 25, 25));
}

TEST(CanvasPixels, WideEllipseIsCentredOnTheOnePixelOutline) {
  for (int w : {2, 3, 4, 5}) {
    const QImage image = Drawn([&](TCanvas &cv) {
      cv.Pen().Width = w;
      cv.Ellipse(10, 8, 50, 40);
    });
    // Odd widths reach (w-1)/2 out on every side; even ones w/2 left and top.
    const int out = w / 2, in = (w - 1) / 2;
    EXPECT_EQ(InkBox(image), TRect(10 - out, 8 - out, 50 + in, 40 + in)) << w;
    // No lone pixel at the extremes: the outer rows hold a run.
    const TRect box = InkBox(image);
    int top = 0, bottom = 0;
    for (int x = 0; x < 64; ++x) {
      top += At(image, x, box.Top) == kInk;
      bottom += At(image, x, box.Bottom - 1) == kInk;
    }
    EXPECT_GT(top, 2) << w;
    EXPECT_GT(bottom, 2) << w;
  }
}

TEST(CanvasPixels, InsideFrameEllipseStaysInItsBox) {
  const QImage image = Drawn([](TCanvas &cv) {
    cv.Pen().Width = 4;
    cv.Pen().Style = psInsideFrame;
    cv.Ellipse(10, 6, 50, 40);
  });
  EXPECT_EQ(InkBox(image), TRect(10, 6, 50, 40));
}

TEST(CanvasPixels, EllipseLeavesOutRightAndBottom) {
  const std::vector<TRect> cases = {{0, 0, 10, 10}, {5, 3, 40, 20}, {20, 10, 31, 47}};
  for (const TRect &r : cases) {
    const QImage image = Drawn([&](TCanvas &cv) { cv.Ellipse(r); });
    EXPECT_EQ(InkBox(image), r);
  }
}

TEST(CanvasPixels, RoundRectFitsItsBox) {
  const QImage image = Drawn([](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.RoundRect(4, 4, 40, 30, 10, 10);
  });
  EXPECT_EQ(InkBox(image), TRect(4, 4, 40, 30));
  EXPECT_EQ(At(image, 4, 4), kPaper); // rounded corner
  EXPECT_EQ(At(image, 20, 15), kFill);
}

TEST(CanvasPixels, PolygonIncludesItsOutlineAndFillPolygonOnlyTheInside) {
  const TPoint square[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}};
  const QImage outlined = Drawn([&](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.Polygon(square);
  });
  EXPECT_EQ(PixelsNot(outlined, kPaper), Box(2, 2, 11, 11));
  EXPECT_EQ(PixelsOf(outlined, kFill), Box(3, 3, 10, 10));
  const QImage filled = Drawn([&](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.FillPolygon(square);
  });
  EXPECT_EQ(PixelsNot(filled, kPaper), Box(2, 2, 10, 10));
}

TEST(CanvasPixels, PolygonWithClearPenDrawsNoOutline) {
  const TPoint square[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}};
  const QImage image = Drawn([&](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.Pen().Style = psClear;
    cv.Polygon(square);
  });
  EXPECT_TRUE(PixelsOf(image, kInk).empty());
  EXPECT_FALSE(PixelsOf(image, kFill).empty());
}

TEST(CanvasPixels, PolyBezierFollowsTheLineRules) {
  const QImage straight = Drawn([](TCanvas &cv) {
    const TPoint pts[] = {{0, 5}, {3, 5}, {6, 5}, {10, 5}};
    cv.PolyBezier(pts);
  });
  EXPECT_EQ(PixelsOf(straight, kInk), Box(0, 5, 10, 6));
  const QImage curve = Drawn([](TCanvas &cv) {
    const TPoint pts[] = {{0, 40}, {10, 0}, {40, 0}, {50, 40}};
    cv.PolyBezier(pts);
  });
  const TRect ink = InkBox(curve);
  EXPECT_EQ(ink.Left, 0);
  EXPECT_EQ(ink.Bottom, 41);
  EXPECT_GE(ink.Top, 9); // the curve stays well inside its control points
  EXPECT_LE(ink.Top, 11);
  EXPECT_EQ(At(curve, 50, 40), kPaper);
}

// ---- arcs ------------------------------------------------------------------

TEST(CanvasPixels, PieRunsCounterClockwiseFromTheFirstRadial) {
  // East to north: the upper right quarter.
  const QImage quarter = Drawn([](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.Pie(0, 0, 41, 41, 40, 20, 20, 0);
  });
  EXPECT_EQ(At(quarter, 30, 10), kFill);
  EXPECT_EQ(At(quarter, 10, 10), kPaper);
  EXPECT_EQ(At(quarter, 10, 30), kPaper);
  EXPECT_EQ(At(quarter, 30, 30), kPaper);
  // North to east: the other three quarters.
  const QImage rest = Drawn([](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.Pie(0, 0, 41, 41, 20, 0, 40, 20);
  });
  EXPECT_EQ(At(rest, 30, 10), kPaper);
  EXPECT_EQ(At(rest, 10, 10), kFill);
  EXPECT_EQ(At(rest, 10, 30), kFill);
  EXPECT_EQ(At(rest, 30, 30), kFill);
}

TEST(CanvasPixels, ArcDrawsOnlyTheCurveAndChordClosesIt) {
  const QImage arc = Drawn([](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.Arc(0, 0, 41, 41, 40, 20, 0, 20); // upper half
  });
  EXPECT_TRUE(PixelsOf(arc, kFill).empty());
  const TRect box = InkBox(arc);
  EXPECT_EQ(box.Top, 0);
  EXPECT_LE(box.Bottom, 22);
  const QImage chord = Drawn([](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.Chord(0, 0, 41, 41, 40, 20, 0, 20);
  });
  EXPECT_EQ(At(chord, 20, 10), kFill);
  EXPECT_EQ(At(chord, 20, 30), kPaper);
}

// ---- brushes -------------------------------------------------------------

struct HatchCase {
  TBrushStyle style;
  const char *name;
};

TEST(CanvasPixels, HatchBrushesWithOpaqueAndTransparentBackground) {
  const std::vector<HatchCase> hatches = {{bsHorizontal, "horizontal"}, {bsVertical, "vertical"},
                                          {bsFDiagonal, "fdiagonal"},   {bsBDiagonal, "bdiagonal"},
                                          {bsCross, "cross"},           {bsDiagCross, "diagcross"}};
  std::vector<PixelSet> patterns;
  for (const HatchCase &h : hatches) {
    for (int mode : {OPAQUE, TRANSPARENT}) {
      const QImage image = Drawn(
          [&](TCanvas &cv) {
            cv.Brush().Style = h.style;
            cv.Brush().Color = kFill;
            cv.SetBkMode(mode);
            cv.SetBkColor(clYellow);
            cv.FillRect(TRect(0, 0, 16, 16));
          },
          20, 20, kGreen);
      const TColor gap = mode == OPAQUE ? clYellow : kGreen;
      const PixelSet lines = PixelsOf(image, kFill);
      EXPECT_EQ(PixelsOf(image, gap).size() + lines.size(), 16u * 16u + (gap == kGreen ? 144 : 0))
          << h.name << " mode " << mode;
      EXPECT_FALSE(lines.empty()) << h.name;
      EXPECT_LT(lines.size(), 16u * 16u / 2) << h.name;
      // Nothing outside the rectangle.
      for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(At(image, 16, i), kGreen);
        EXPECT_EQ(At(image, i, 16), kGreen);
      }
      if (mode == OPAQUE)
        patterns.push_back(lines);
      else
        EXPECT_EQ(lines, patterns.back()) << "same lines in both modes: " << h.name;
    }
  }
  // The six patterns differ and run the way their names say.
  for (size_t i = 0; i < patterns.size(); ++i)
    for (size_t j = i + 1; j < patterns.size(); ++j)
      EXPECT_NE(patterns[i], patterns[j]) << hatches[i].name << " vs " << hatches[j].name;
  const auto follows = [](const PixelSet &s, int dx, int dy) {
    for (const auto &[x, y] : s) {
      const int nx = x + dx, ny = y + dy;
      if (nx >= 0 && nx < 16 && ny >= 0 && ny < 16 && !s.count({nx, ny}))
        return false;
    }
    return true;
  };
  EXPECT_TRUE(follows(patterns[0], 1, 0));  // horizontal rows
  EXPECT_TRUE(follows(patterns[1], 0, 1));  // vertical columns
  EXPECT_TRUE(follows(patterns[2], 1, 1));  // "\" lines
  EXPECT_TRUE(follows(patterns[3], 1, -1)); // "/" lines
  EXPECT_FALSE(follows(patterns[2], 1, -1));
}

TEST(CanvasPixels, ClearBrushLeavesTheInside) {
  const QImage image = Drawn(
      [](TCanvas &cv) {
        cv.Brush().Style = bsClear;
        cv.Rectangle(2, 2, 12, 12);
        cv.FillRect(TRect(20, 20, 30, 30));
      },
      40, 40, kGreen);
  EXPECT_EQ(At(image, 6, 6), kGreen);
  EXPECT_EQ(At(image, 2, 6), kInk);
  EXPECT_EQ(At(image, 25, 25), kGreen);
}

TEST(CanvasPixels, BitmapBrushTilesThePicture) {
  auto tile = std::make_shared<QImage>(2, 2, QImage::Format_RGB32);
  tile->fill(ToQColor(clRed));
  tile->setPixel(1, 1, ToQColor(clBlue).rgb());
  const QImage image = Drawn([&](TCanvas &cv) {
    cv.Brush().Bitmap = tile;
    cv.FillRect(TRect(0, 0, 6, 6));
  });
  EXPECT_EQ(At(image, 0, 0), clRed);
  EXPECT_EQ(At(image, 3, 3), clBlue);
  EXPECT_EQ(At(image, 5, 5), clBlue);
  EXPECT_EQ(At(image, 6, 6), kPaper);
}

// ---- raster modes ----------------------------------------------------------

void NotXorTwiceRestores(QImage::Format format);

TEST(CanvasPixels, NotXorDrawnTwiceRestoresEveryPixel) {
  for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied})
    NotXorTwiceRestores(format);
}

void NotXorTwiceRestores(QImage::Format format) {
  SCOPED_TRACE(format);
  QImage image = Paper(64, 48, kPaper, format);
  // A busy background: every pixel different.
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) & 0xFF));
  const QImage before = image.copy();
  TQPainterCanvas cv(&image);
  const auto frame = [&] {
    cv.Pen().Width = 1;
    cv.Pen().Mode = pmNotXor;
    cv.Pen().Color = 0x4080C0;
    cv.Brush().Style = bsClear;
    cv.Rectangle(5, 5, 40, 30);
    cv.Rectangle(20, 20, 21, 44); // one pixel wide
    cv.MoveTo(0, 0);
    cv.LineTo(60, 45);
    cv.Pen().Width = 3;
    cv.Rectangle(30, 10, 60, 40);
  };
  frame();
  EXPECT_NE(image, before);
  const QImage once = image.copy();
  frame();
  EXPECT_EQ(image, before);
  // With a solid brush the inside is inverted too, and still restored.
  cv.Pen().Width = 1;
  cv.Brush().Style = bsSolid;
  cv.Rectangle(2, 2, 20, 20);
  EXPECT_NE(image, before);
  cv.Rectangle(2, 2, 20, 20);
  EXPECT_EQ(image, before);
  (void)once;
}

TEST(CanvasPixels, XorAndNotModes) {
  QImage image = Paper(8, 8, 0x123456);
  TQPainterCanvas cv(&image);
  cv.Pen().Mode = pmXor;
  cv.Pen().Color = 0x00FF00;
  cv.MoveTo(0, 0);
  cv.LineTo(4, 0);
  EXPECT_EQ(cv.Pixel(1, 0), TColor(0x123456 ^ 0x00FF00));
  cv.Pen().Mode = pmNot;
  cv.MoveTo(0, 2);
  cv.LineTo(4, 2);
  EXPECT_EQ(cv.Pixel(1, 2), TColor(~0x123456u & 0xFFFFFF));
  EXPECT_EQ(cv.Pixel(4, 2), TColor(0x123456));
}

// ---- text ----------------------------------------------------------------

struct AlignCase {
  unsigned align;
  const char *name;
};

TEST(CanvasText, TextOutReferencePointsFollowTheAlignment) {
  TFont font;
  font.Name = "Arial";
  font.SetSize(14);
  const QFontMetrics fm(ToQFont(font));
  const std::string text = "Hxg1";
  const int w = fm.horizontalAdvance(QString::fromStdString(text));
  const int h = fm.height();
  const int ascent = fm.ascent();

  const auto inkAt = [&](unsigned align, int x, int y) {
    const QImage image = Drawn(
        [&](TCanvas &cv) {
          cv.Font() = font;
          cv.Font().Color = kInk;
          cv.Brush().Style = bsClear;
          cv.SetTextAlign(align);
          cv.TextOut(x, y, text);
        },
        200, 120);
    return InkBox(image);
  };
  const TRect ref = inkAt(TA_LEFT | TA_TOP, 60, 40);
  ASSERT_FALSE(ref.IsEmpty());
  // The ink of a top-left text lies in its cell.
  EXPECT_GE(ref.Left, 60);
  EXPECT_LE(ref.Right, 60 + w + 1);
  EXPECT_GE(ref.Top, 40);
  EXPECT_LE(ref.Bottom, 40 + h);

  const std::vector<std::tuple<AlignCase, int, int>> cases = {
      {{TA_LEFT | TA_BASELINE, "left baseline"}, 0, -ascent},
      {{TA_LEFT | TA_BOTTOM, "left bottom"}, 0, -h},
      {{TA_RIGHT | TA_TOP, "right top"}, -w, 0},
      {{TA_CENTER | TA_TOP, "centre top"}, -w / 2, 0},
      {{TA_CENTER | TA_BASELINE, "centre baseline"}, -w / 2, -ascent},
      {{TA_RIGHT | TA_BOTTOM, "right bottom"}, -w, -h},
  };
  for (const auto &[c, dx, dy] : cases) {
    const TRect ink = inkAt(c.align, 100, 70);
    EXPECT_EQ(ink, ref.Offset(40 + dx, 30 + dy)) << c.name;
  }
}

TEST(CanvasText, OpaqueTextFillsItsCellWithTheBackground) {
  TFont font;
  font.SetSize(12);
  const QFontMetrics fm(ToQFont(font));
  const QImage image = Drawn(
      [&](TCanvas &cv) {
        cv.Font() = font;
        cv.Brush().Color = clYellow; // a solid brush: text sits on its colour
        cv.TextOut(10, 8, "Ab");
      },
      80, 50, kGreen);
  const int w = fm.horizontalAdvance("Ab");
  EXPECT_EQ(InkBox(image, kGreen), TRect(10, 8, 10 + w, 8 + fm.height()));
  EXPECT_FALSE(PixelsOf(image, clYellow).empty());
  // Over a clear brush the text is transparent.
  const QImage clear = Drawn(
      [&](TCanvas &cv) {
        cv.Font() = font;
        cv.Brush().Style = bsClear;
        cv.TextOut(10, 8, "Ab");
      },
      80, 50, kGreen);
  EXPECT_TRUE(PixelsOf(clear, clYellow).empty());
  EXPECT_TRUE(PixelsOf(clear, clWhite).empty());
}

TEST(CanvasText, TextRectFillsTheRectAndClipsTheText) {
  TFont font;
  font.SetSize(14);
  const QImage image = Drawn(
      [&](TCanvas &cv) {
        cv.Font() = font;
        cv.Brush().Color = clYellow;
        cv.TextRect(TRect(10, 10, 30, 20), 12, 8, "WWWWWWWW");
        cv.FillRect(TRect(50, 50, 52, 52)); // the clip is gone afterwards
      },
      80, 60, kGreen);
  EXPECT_EQ(InkBox(image, kGreen), TRect(10, 10, 52, 52));
  EXPECT_EQ(PixelsNot(image, kGreen).size(), 10u * 20u + 4u);
  EXPECT_FALSE(PixelsOf(image, kInk).empty());
}

// The texts drawn by the painter itself in the font, one a line from
// (left, 3), each line lineH high.
QImage PainterLines(const TFont &font, const std::vector<std::string> &texts, int width, int left,
                    int lineH) {
  QImage painted = Paper(width, lineH * int(texts.size()) + 4);
  {
    QPainter p(&painted);
    p.setFont(ToQFont(font));
    p.setPen(ToQColor(font.Color));
    const int ascent = QFontMetrics(ToQFont(font)).ascent();
    for (std::size_t i = 0; i < texts.size(); ++i)
      p.drawText(QPoint(left, 3 + int(i) * lineH + ascent), QString::fromStdString(texts[i]));
  }
  return painted;
}

// Texts drawn again come from glyphs laid out once; every pixel stays what
// the painter's own text drawing gives, in plain, bold, italic and underlined
// fonts, kerned pairs, accents, other scripts and right-to-left text.
TEST(CanvasText, TextsDrawnAgainLookAsThePainterDrawsThem) {
  const std::vector<std::string> texts = {
      "1,234.50",     "-0.25%",        "AVATAR To Ty", "Company 1234", "Q0042",
      "M\xc3\xbcller \xc3\xa9t\xc3\xa9", "\xce\xb1\xce\xb2\xce\xb3 \xe4\xb8\xad\xe6\x96\x87",
      "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d 12", "a\tb",   " spaced ",     "fi ffl",
  };
  struct StyleCase {
    const char *name;
    TFontStyles style;
    int size;
  };
  const std::vector<StyleCase> styles = {
      {"plain 9", 0, 9},
      {"bold 9", fsBold, 9},
      {"italic 11", fsItalic, 11},
      {"underlined 10", fsUnderline, 10},
      {"bold struck 8", fsBold | fsStrikeOut, 8},
  };
  for (const StyleCase &sc : styles) {
    TFont font;
    font.Name = "Arial";
    font.SetSize(sc.size);
    font.SetStyle(sc.style);
    font.Color = kInk;
    const int lineH = QFontMetrics(ToQFont(font)).height() + 2;
    const int h = lineH * int(texts.size()) + 4;
    const QImage painted = PainterLines(font, texts, 400, 7, lineH);
    for (int round = 0; round < 3; ++round) {
      const QImage drawn = Drawn(
          [&](TCanvas &cv) {
            cv.Font() = font;
            cv.Brush().Style = bsClear;
            // Measured first, as the grid's cells do, or drawn straight away.
            for (std::size_t i = 0; i < texts.size(); ++i) {
              if (round == 1)
                (void)cv.TextExtent(texts[i]);
              cv.TextOut(7, 3 + int(i) * lineH, texts[i]);
            }
            // A second time on the same spots, from what the canvas kept.
            cv.Brush().Style = bsSolid;
            cv.Brush().Color = kPaper;
            cv.FillRect(TRect(0, 0, 400, h));
            cv.Brush().Style = bsClear;
            for (std::size_t i = 0; i < texts.size(); ++i)
              cv.TextOut(7, 3 + int(i) * lineH, texts[i]);
          },
          400, h);
      EXPECT_EQ(drawn, painted) << sc.name << ", round " << round;
    }
  }
}

// A canvas that meets more texts than it keeps: texts come and go between
// what it keeps, and each still measures and draws as the painter's own, be
// it new, met lately or met long ago.
TEST(CanvasText, TextsKeptAndLetGoMeasureAndDrawAsThePainterDoes) {
  TFont font;
  font.Name = "Arial";
  font.SetSize(9);
  font.Color = kInk;
  const QFontMetrics fm(ToQFont(font));
  // Numbers, composed from their characters, and texts with letters, shaped.
  const auto text = [](int i) {
    return std::to_string(i * 7919 % 100000) + (i % 3 ? ".25" : " Q" + std::to_string(i));
  };
  const std::vector<std::string> last = {text(19999), text(19998), text(10000), text(10),
                                         text(0)};
  const int lineH = fm.height() + 2;
  int wrong = 0;
  const QImage drawn = Drawn(
      [&](TCanvas &cv) {
        cv.Font() = font;
        cv.Brush().Style = bsClear;
        for (int i = 0; i < 20000; ++i)
          for (const std::string &s : {text(i), text(i / 2), text(i % 64)})
            wrong += cv.TextExtent(s).cx != fm.horizontalAdvance(QString::fromStdString(s));
        for (std::size_t i = 0; i < last.size(); ++i)
          cv.TextOut(7, 3 + int(i) * lineH, last[i]);
      },
      200, lineH * int(last.size()) + 4);
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(drawn, PainterLines(font, last, 200, 7, lineH));
}

// A text in a rectangle: the rectangle filled with the brush, the text's
// background (when opaque) and glyphs clipped to it, whether the text lies
// inside it, crosses one of its sides or is wider than it: every pixel as
// the painter lays them with the rectangle as its clip.
TEST(CanvasText, TextRectDrawsAsThePainterClippedToTheRect) {
  const std::vector<std::string> texts = {"1,234.50", "gjpqy", "ffi", "\xc3\x84\xc3\x96 \xc3\x89",
                                          "WWWW", "-0.25%"};
  struct StyleCase {
    TFontStyles style;
    int size;
  };
  const std::vector<StyleCase> styles = {{0, 9}, {fsItalic, 11}, {fsBold, 8}};
  const std::vector<unsigned> aligns = {TA_LEFT | TA_TOP, TA_RIGHT | TA_TOP, TA_LEFT | TA_BASELINE};
  const TColor brush = 0x30C0F0, background = 0xF0A040;
  int cases = 0;
  for (const StyleCase &sc : styles)
    for (const std::string &text : texts)
      for (const unsigned align : aligns)
        for (int bk = 0; bk < 3; ++bk) // transparent, opaque on the brush, opaque apart
          for (int cut = 0; cut < 6; ++cut) {
            TFont font;
            font.Name = "Arial";
            font.SetSize(sc.size);
            font.SetStyle(sc.style);
            font.Color = kInk;
            const QFont qfont = ToQFont(font);
            const QFontMetrics fm(qfont);
            const int w = fm.horizontalAdvance(QString::fromStdString(text));
            const int h = fm.height();
            // The text's box at (20, 10); the rectangle around it or cutting it.
            const int x = 20 + ((align & TA_RIGHT) ? w : 0);
            const int y = 10 + ((align & TA_BASELINE) == TA_BASELINE ? fm.ascent() : 0);
            TRect r(14, 5, 20 + w + 6, 10 + h + 5);
            if (cut == 1)
              r.Left = 22;
            else if (cut == 2)
              r.Right = 20 + w - 2;
            else if (cut == 3)
              r.Top = 12;
            else if (cut == 4)
              r.Bottom = 10 + h - 3;
            else if (cut == 5)
              r = TRect(20, 10, 20 + w, 10 + h); // exactly the box
            const TColor textBack = bk == 2 ? background : brush;
            QImage expected = Paper(120, 50);
            {
              QPainter p(&expected);
              p.setClipRect(ToQRect(r));
              p.fillRect(ToQRect(r), ToQColor(brush));
              if (bk != 0)
                p.fillRect(QRect(20, 10, w, h), ToQColor(textBack));
              p.setFont(qfont);
              p.setPen(ToQColor(kInk));
              p.drawText(QPoint(20, 10 + fm.ascent()), QString::fromStdString(text));
            }
            for (int round = 0; round < 2; ++round) { // laid out anew, then kept
              const QImage drawn = Drawn(
                  [&](TCanvas &cv) {
                    cv.Font() = font;
                    cv.SetTextAlign(align);
                    for (int time = 0; time <= round; ++time) {
                      cv.Brush().Style = bsSolid;
                      cv.Brush().Color = kPaper;
                      cv.FillRect(TRect(0, 0, 120, 50));
                      cv.Brush().Color = brush;
                      cv.SetBkMode(bk == 0 ? TRANSPARENT : OPAQUE);
                      cv.SetBkColor(textBack);
                      cv.TextRect(r, x, y, text);
                    }
                  },
                  120, 50);
              EXPECT_EQ(drawn, expected) << text << " size " << sc.size << " style "
                                         << int(sc.style) << " align " << align << " bk " << bk
                                         << " cut " << cut << " round " << round;
            }
            ++cases;
          }
  EXPECT_EQ(cases, 3 * 6 * 3 * 3 * 6);
}

// Numbers are drawn from glyphs put together from their characters, not
// shaped: random numbers, times and percentages in several fonts, sizes and
// styles are drawn and measured exactly as the painter and the font's
// metrics give them.
TEST(CanvasText, NumbersPutTogetherLookAsThePainterDrawsThem) {
  const std::string characters = "0123456789 ,.+-%<>/:$()BKM";
  std::mt19937 random(8120);
  std::vector<std::string> texts;
  for (int i = 0; i < 60; ++i) {
    std::string text;
    const int length = 1 + int(random() % 14);
    for (int k = 0; k < length; ++k)
      text += characters[random() % characters.size()];
    texts.push_back(text);
  }
  for (const char *name : {"Arial", "Courier New", "Times New Roman"})
    for (const int size : {8, 9, 12})
      for (const TFontStyles style : {TFontStyles(0), fsBold, fsItalic}) {
        TFont font;
        font.Name = name;
        font.SetSize(size);
        font.SetStyle(style);
        font.Color = kInk;
        const QFontMetrics fm(ToQFont(font));
        const int lineH = fm.height() + 2;
        const int h = lineH * int(texts.size()) + 4;
        const QImage painted = PainterLines(font, texts, 260, 5, lineH);
        std::vector<int> widths;
        const QImage drawn = Drawn(
            [&](TCanvas &cv) {
              cv.Font() = font;
              cv.Brush().Style = bsClear;
              for (std::size_t i = 0; i < texts.size(); ++i) {
                widths.push_back(cv.TextExtent(texts[i]).cx);
                cv.TextOut(5, 3 + int(i) * lineH, texts[i]);
              }
            },
            260, h);
        EXPECT_EQ(drawn, painted) << name << " " << size << " style " << int(style);
        for (std::size_t i = 0; i < texts.size(); ++i)
          EXPECT_EQ(widths[i], fm.horizontalAdvance(QString::fromStdString(texts[i])))
              << name << " " << size << " '" << texts[i] << "'";
      }
}

TEST(CanvasText, RotatedTextRunsAlongItsOrientation) {
  TFont font;
  font.SetSize(14);
  const QFontMetrics fm(ToQFont(font));
  const std::string text = "HHHHHH";
  const int w = fm.horizontalAdvance(QString::fromStdString(text));
  const int h = fm.height();
  const auto inkAt = [&](int orientation) {
    const QImage image = Drawn(
        [&](TCanvas &cv) {
          cv.Font() = font;
          cv.Font().Orientation = orientation;
          cv.Brush().Style = bsClear;
          cv.TextOut(100, 100, text);
        },
        200, 200);
    return InkBox(image);
  };
  const TRect flat = inkAt(0);
  EXPECT_GT(flat.Width(), flat.Height());
  // 90 degrees: upward from the reference point, the cell to its right.
  const TRect up = inkAt(900);
  EXPECT_GT(up.Height(), up.Width());
  EXPECT_GE(up.Left, 100);
  EXPECT_LE(up.Right, 100 + h);
  EXPECT_LE(up.Bottom, 101);
  EXPECT_GE(up.Top, 100 - w - 1);
  EXPECT_NEAR(up.Height(), flat.Width(), 2);
  // 270 degrees: downward, the cell to the left.
  const TRect down = inkAt(2700);
  EXPECT_GE(down.Top, 99);
  EXPECT_LE(down.Bottom, 100 + w + 1);
  EXPECT_LE(down.Right, 101);
  EXPECT_GE(down.Left, 100 - h);
  // 45 degrees: up and to the right.
  const TRect diagonal = inkAt(450);
  EXPECT_GE(diagonal.Left, 99);
  EXPECT_LT(diagonal.Top, 100 - w / 2);
  EXPECT_GT(diagonal.Right, 100 + w / 2);
}

TEST(CanvasText, ArialIsDrawnWithLiberationSans) {
  TFont font;
  font.Name = "Arial";
  EXPECT_EQ(QFontInfo(ToQFont(font)).family(), QStringLiteral("Liberation Sans"));
}

TEST(CanvasText, TextExtentIsTheFontMetrics) {
  QImage image = Paper();
  TQPainterCanvas cv(&image);
  cv.Font().SetSize(10);
  cv.Font().Bold = true;
  const QFontMetrics fm(ToQFont(cv.Font()));
  EXPECT_EQ(cv.TextWidth("Price 12.50"), fm.horizontalAdvance("Price 12.50"));
  EXPECT_EQ(cv.TextHeight("W"), fm.height());
  EXPECT_EQ(cv.TextExtent(""), (TSize{0, fm.height()}));
}

// ---- clipping --------------------------------------------------------------

TEST(CanvasClip, RectangleClipAndItsSaveAndRestore) {
  const QImage image = Drawn([](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.SetClipRect(TRect(10, 10, 20, 20));
    cv.SaveClip();
    cv.ClipIntersectRect(TRect(15, 0, 40, 40));
    cv.FillRect(TRect(0, 0, 64, 48)); // lands on 15..19 x 10..19
    cv.RestoreClip();
    cv.Brush().Color = clRed;
    cv.FillRect(TRect(0, 0, 12, 64)); // lands on 10..11 x 10..19
    cv.ClearClip();
    cv.Brush().Color = kGreen;
    cv.FillRect(TRect(60, 40, 64, 48));
  });
  EXPECT_EQ(PixelsOf(image, kFill), Box(15, 10, 20, 20));
  EXPECT_EQ(PixelsOf(image, clRed), Box(10, 10, 12, 20));
  EXPECT_EQ(PixelsOf(image, kGreen), Box(60, 40, 64, 48));
}

TEST(CanvasClip, PolygonClip) {
  const TPoint square[] = {{4, 4}, {20, 4}, {20, 14}, {4, 14}};
  const QImage clipped = Drawn([&](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.SetClipPolygon(square);
    cv.FillRect(TRect(0, 0, 64, 48));
  });
  EXPECT_EQ(PixelsOf(clipped, kFill), Box(4, 4, 20, 14));

  const TPoint triangle[] = {{0, 0}, {40, 0}, {0, 40}};
  const QImage tri = Drawn([&](TCanvas &cv) {
    cv.Brush().Color = kFill;
    cv.SetClipPolygon(triangle);
    cv.FillRect(TRect(0, 0, 64, 48));
  });
  EXPECT_EQ(At(tri, 5, 5), kFill);
  EXPECT_EQ(At(tri, 15, 20), kFill);
  EXPECT_EQ(At(tri, 25, 25), kPaper);
  EXPECT_EQ(At(tri, 39, 39), kPaper);
  EXPECT_EQ(At(tri, 50, 5), kPaper);
}

TEST(CanvasClip, ClipOfACallersPainterIsKept) {
  QImage image = Paper();
  QPainter painter(&image);
  painter.setClipRect(QRect(0, 0, 32, 48));
  {
    TQPainterCanvas cv(painter);
    cv.Brush().Color = kFill;
    cv.SetClipRect(TRect(20, 0, 64, 10));
    cv.FillRect(TRect(0, 0, 64, 48));
    cv.ClearClip();
    cv.Brush().Color = clRed;
    cv.FillRect(TRect(0, 40, 64, 48));
  }
  painter.end();
  EXPECT_EQ(PixelsOf(image, kFill), Box(20, 0, 32, 10));
  EXPECT_EQ(PixelsOf(image, clRed), Box(0, 40, 32, 48));
}

TEST(CanvasClip, ACallersClipSetBetweenDrawingsAndAClipPathAreKept) {
  // The caller clips its painter after the canvas has drawn, then wraps a
  // painter in an ellipse path: nothing lands outside either clip, and the
  // pixels are the painter's own (an RGB888 picture is always painted).
  const auto lines = [](TCanvas &cv, int count) {
    unsigned seed = 11;
    for (int k = 0; k < count; ++k) {
      seed = seed * 1103515245u + 12345u;
      const int x0 = int(seed >> 16) % 80 - 8;
      seed = seed * 1103515245u + 12345u;
      const int y0 = int(seed >> 16) % 64 - 8;
      cv.MoveTo(x0, y0);
      cv.LineTo(63 - x0, 47 - y0);
    }
    cv.Brush().Color = kFill;
    const TPoint face[] = {{2, 3}, {60, 9}, {50, 44}, {7, 30}};
    cv.Polygon(face);
  };
  QImage image = Paper();
  {
    QPainter painter(&image);
    TQPainterCanvas cv(painter);
    cv.Pen().Color = kInk;
    cv.MoveTo(0, 0);
    cv.LineTo(5, 0);
    painter.setClipRect(QRect(10, 10, 20, 20));
    lines(cv, 40);
  }
  EXPECT_GT(PixelsNot(image, kPaper).size(), 300u);
  for (const auto &[x, y] : PixelsNot(image, kPaper))
    EXPECT_TRUE((y == 0 && x < 5) || (x >= 10 && x < 30 && y >= 10 && y < 30)) << x << "," << y;

  QPainterPath ellipse;
  ellipse.addEllipse(QRectF(6.3, 4.6, 50.2, 38.7));
  const auto throughEllipse = [&](QImage::Format format) {
    QImage picture = Paper(64, 48, kPaper, format);
    QPainter painter(&picture);
    painter.setClipPath(ellipse);
    TQPainterCanvas cv(painter);
    cv.Pen().Color = kInk;
    lines(cv, 60);
    return picture.convertToFormat(QImage::Format_RGB32);
  };
  const QImage direct = throughEllipse(QImage::Format_RGB32);
  EXPECT_EQ(direct, throughEllipse(QImage::Format_RGB888));
  direct.save(QString::fromStdString(TestArtifactPath("canvas_clip_path.png")));
}

TEST(CanvasPainter, ACallersPainterComesBackAsItWasGiven) {
  QImage image = Paper();
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  const QPen pen(QColor(200, 0, 0), 2.0);
  painter.setPen(pen);
  painter.setBrush(Qt::green);
  painter.translate(0.25, 0.5);
  {
    TQPainterCanvas cv(painter);
    cv.Pen().Mode = pmNotXor;
    cv.Rectangle(2, 2, 20, 20);
    cv.Pen().Mode = pmCopy;
    cv.Pen().Width = 3;
    cv.Ellipse(4, 4, 16, 16);
    cv.SetClipRect(TRect(0, 0, 30, 30));
    cv.TextOut(2, 30, "x");
  }
  EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
  EXPECT_TRUE(painter.testRenderHint(QPainter::SmoothPixmapTransform));
  EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
  EXPECT_EQ(painter.pen(), pen);
  EXPECT_EQ(painter.brush().color(), QColor(Qt::green));
  EXPECT_FALSE(painter.hasClipping());
  EXPECT_EQ(painter.transform(), QTransform::fromTranslate(0.25, 0.5));
  // A slash drawn afterwards is smoothed: pixels between the pen and paper.
  painter.resetTransform();
  painter.drawLine(QPointF(34, 44), QPointF(62, 4));
  painter.end();
  int blended = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 32; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      blended += qRed(c) > 200 && qGreen(c) > 0 && qGreen(c) < 250;
    }
  EXPECT_GT(blended, 20);
  image.save(QString::fromStdString(TestArtifactPath("canvas_callers_painter.png")));
}

// ---- pixels, pictures and buffers -------------------------------------------

TEST(CanvasPictures, PixelsGetAndSet) {
  QImage image = Paper(10, 10);
  TQPainterCanvas cv(&image);
  cv.SetPixel(3, 4, kFill);
  EXPECT_EQ(cv.Pixel(3, 4), kFill);
  EXPECT_EQ(cv.Pixel(4, 4), kPaper);
  EXPECT_EQ(cv.Pixel(10, 0), clNone);
  EXPECT_EQ(cv.Pixel(-1, 0), clNone);
  EXPECT_EQ(PixelsNot(image, kPaper), PixelSet({{3, 4}}));
}

TEST(CanvasPictures, DrawStretchDrawAndCopyRect) {
  QImage stamp(2, 2, QImage::Format_RGB32);
  stamp.fill(ToQColor(kFill));
  TBitmapBuffer source(20, 20);
  source.Canvas().Brush().Color = clRed;
  source.Canvas().FillRect(TRect(5, 5, 10, 10));

  const QImage image = Drawn([&](TCanvas &cv) {
    cv.Draw(1, 1, stamp);
    cv.StretchDraw(TRect(10, 10, 16, 14), stamp);
    cv.CopyRect(TRect(30, 30, 35, 35), source.Canvas(), TRect(5, 5, 10, 10));
  });
  EXPECT_EQ(PixelsOf(image, kFill), [] {
    PixelSet s = Box(1, 1, 3, 3);
    for (const auto &p : Box(10, 10, 16, 14))
      s.insert(p);
    return s;
  }());
  EXPECT_EQ(PixelsOf(image, clRed), Box(30, 30, 35, 35));
}

TEST(CanvasPictures, BitmapBufferKeepsItsPictureOnResize) {
  TBitmapBuffer buffer;
  EXPECT_TRUE(buffer.Empty());
  buffer.Canvas().FillRect(TRect(0, 0, 5, 5)); // nothing to draw on: no effect
  buffer.SetSize(10, 8);
  EXPECT_EQ(buffer.Width(), 10);
  EXPECT_EQ(buffer.Height(), 8);
  EXPECT_EQ(buffer.Image().format(), QImage::Format_RGB32);
  EXPECT_EQ(PixelsNot(buffer.Image(), kPaper).size(), 0u);
  buffer.Canvas().Brush().Color = kFill;
  buffer.Canvas().FillRect(TRect(0, 0, 10, 8));
  buffer.SetSize(12, 6);
  EXPECT_EQ(PixelsOf(buffer.Image(), kFill), Box(0, 0, 10, 6));
  EXPECT_EQ(PixelsOf(buffer.Image(), kPaper), Box(10, 0, 12, 6));
  // The canvas keeps its state and draws into the new picture.
  buffer.Canvas().Rectangle(0, 0, 3, 3);
  EXPECT_EQ(At(buffer.Image(), 1, 1), kFill);
  EXPECT_EQ(At(buffer.Image(), 0, 0), kInk);
}

// A sample of every primitive, saved for a look.
TEST(CanvasPictures, SampleSheet) {
  TBitmapBuffer buffer(420, 260);
  TCanvas &cv = buffer.Canvas();
  cv.Brush().Color = clBtnFace;
  cv.FillRect(TRect(0, 0, 420, 260));
  cv.Brush().Color = 0x80FFFF;
  cv.Rectangle(10, 10, 70, 50);
  cv.Pen().Width = 3;
  cv.Pen().Color = clNavy;
  cv.Ellipse(80, 10, 150, 60);
  cv.Pen().Width = 1;
  cv.Pen().Color = clBlack;
  cv.Brush().Color = clLime;
  cv.Pie(160, 10, 220, 70, 220, 40, 190, 10);
  cv.Brush().Color = clAqua;
  cv.Chord(230, 10, 290, 70, 290, 40, 230, 40);
  cv.Arc(300, 10, 360, 70, 360, 40, 300, 40);
  cv.RoundRect(370, 10, 410, 60, 12, 12);
  const TBrushStyle hatches[] = {bsHorizontal, bsVertical, bsFDiagonal,
                                 bsBDiagonal,  bsCross,    bsDiagCross};
  for (int i = 0; i < 6; ++i) {
    cv.Brush().Style = hatches[i];
    cv.Brush().Color = clRed;
    cv.SetBkMode(i % 2 ? TRANSPARENT : OPAQUE);
    cv.SetBkColor(clWhite);
    cv.Rectangle(10 + i * 45, 80, 50 + i * 45, 120);
  }
  cv.Brush().Style = bsSolid;
  cv.Brush().Color = clYellow;
  const TPoint arrow[] = {{300, 80},  {300, 100}, {295, 100}, {305, 115},
                          {315, 100}, {310, 100}, {310, 80}};
  cv.Polygon(arrow);
  const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot};
  for (int i = 0; i < 5; ++i) {
    cv.Pen().Style = styles[i];
    cv.SetBkMode(TRANSPARENT);
    cv.MoveTo(330, 80 + i * 8);
    cv.LineTo(410, 80 + i * 8);
  }
  cv.Pen().Style = psSolid;
  cv.Brush().Style = bsClear;
  cv.Font().Name = "Arial";
  cv.Font().SetSize(12);
  cv.Font().Color = clBlack;
  cv.TextOut(10, 140, "Top-left Hxg");
  cv.SetTextAlign(TA_RIGHT | TA_BASELINE);
  cv.TextOut(410, 160, "Right baseline 1,234.50");
  cv.SetTextAlign(TA_CENTER | TA_TOP);
  cv.Font().Bold = true;
  cv.TextOut(210, 170, "Centred bold");
  cv.SetTextAlign(TA_LEFT | TA_TOP);
  cv.Font().Bold = false;
  cv.Font().Orientation = 900;
  cv.TextOut(20, 250, "Rotated 90");
  cv.Font().Orientation = 300;
  cv.TextOut(60, 240, "Rotated 30");
  cv.Font().Orientation = 0;
  cv.Brush().Color = clWhite;
  cv.Brush().Style = bsSolid;
  cv.TextRect(TRect(250, 200, 330, 220), 252, 202, "TextRect clips this long text");
  cv.Pen().Mode = pmNotXor;
  cv.Brush().Style = bsClear;
  cv.Rectangle(240, 190, 410, 250);
  cv.Pen().Mode = pmCopy;
  EXPECT_TRUE(buffer.Image().save(QString::fromStdString(TestArtifactPath("canvas_sample.png"))));
}

} // namespace
