#include "platform/PictureTarget.h"

#include "platform/PixelRuns.h"
#include "platform/PolygonSpans.h"

#include <QImage>
#include <QRegion>
#include <algorithm>
#include <climits>

TDashPattern::TDashPattern(TPenStyle style) {
  // Pixels on and off of the 1-px styled pens.
  static constexpr int kDash[] = {18, 6};
  static constexpr int kDot[] = {3, 3};
  static constexpr int kDashDot[] = {9, 6, 3, 6};
  static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  std::span<const int> runs;
  switch (style) {
  case psDash:
    runs = kDash;
    break;
  case psDot:
    runs = kDot;
    break;
  case psDashDot:
    runs = kDashDot;
    break;
  case psDashDotDot:
    runs = kDashDotDot;
    break;
  default:
    return;
  }
  for (size_t i = 0; i < runs.size(); ++i)
    for (int k = 0; k < runs[i]; ++k)
      On[Period++] = i % 2 == 0;
}

bool TPictureTarget::Writable(const QImage &image, TPenMode mode) {
  const QImage::Format f = image.format();
  return f == QImage::Format_RGB32 ||
         (mode == pmCopy &&
          (f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied));
}

void TPictureTarget::Set(const QImage &image, int dx, int dy, const QRegion *clip) {
  // The painter writes into this very buffer as well; it does not detach.
  m_bits = const_cast<uchar *>(image.constBits());
  m_bytesPerLine = image.bytesPerLine();
  m_dx = dx;
  m_dy = dy;
  m_clip = image.rect();
  m_rowFirst.clear();
  m_spanLeft.clear();
  m_spanRight.clear();
  m_innerLeft.clear();
  m_innerRight.clear();
  if (clip == nullptr)
    return;
  const QRegion region = *clip & image.rect();
  m_clip = region.boundingRect();
  if (region.rectCount() <= 1)
    return;
  // Rows of spans: a region's rectangles come in bands of rows, left to right.
  const int top = m_clip.top();
  const int rows = m_clip.height();
  m_rowFirst.assign(size_t(rows) + 1, 0);
  for (const QRect &r : region)
    for (int y = r.top(); y <= r.bottom(); ++y)
      ++m_rowFirst[size_t(y - top) + 1];
  for (int row = 0; row < rows; ++row)
    m_rowFirst[size_t(row) + 1] += m_rowFirst[size_t(row)];
  const size_t total = size_t(m_rowFirst[size_t(rows)]);
  m_spanLeft.resize(total);
  m_spanRight.resize(total);
  std::vector<int> next(m_rowFirst.begin(), m_rowFirst.end() - 1);
  for (const QRect &r : region)
    for (int y = r.top(); y <= r.bottom(); ++y) {
      const size_t k = size_t(next[size_t(y - top)]++);
      m_spanLeft[k] = r.left();
      m_spanRight[k] = r.right() + 1;
    }
  // Level 0: a row's own single span; level l: the rows r .. r + 2^l - 1.
  const int levels = std::bit_width(unsigned(rows));
  m_innerLeft.assign(size_t(levels) * size_t(rows), 0);
  m_innerRight.assign(size_t(levels) * size_t(rows), 0);
  for (int row = 0; row < rows; ++row) {
    const int k = m_rowFirst[size_t(row)];
    const bool single = m_rowFirst[size_t(row) + 1] - k == 1;
    m_innerLeft[size_t(row)] = single ? m_spanLeft[size_t(k)] : INT_MAX;
    m_innerRight[size_t(row)] = single ? m_spanRight[size_t(k)] : INT_MIN;
  }
  for (int level = 1; level < levels; ++level) {
    const size_t at = size_t(level) * size_t(rows), below = at - size_t(rows);
    const int half = 1 << (level - 1);
    for (int row = 0; row + 2 * half <= rows; ++row) {
      m_innerLeft[at + size_t(row)] =
          std::max(m_innerLeft[below + size_t(row)], m_innerLeft[below + size_t(row + half)]);
      m_innerRight[at + size_t(row)] =
          std::min(m_innerRight[below + size_t(row)], m_innerRight[below + size_t(row + half)]);
    }
  }
}

bool TPictureTarget::BoxInside(int x0, int y0, int x1, int y1) const {
  x0 += m_dx;
  x1 += m_dx;
  y0 += m_dy;
  y1 += m_dy;
  if (x0 < m_clip.left() || x1 > m_clip.right() || y0 < m_clip.top() || y1 > m_clip.bottom())
    return false;
  if (m_rowFirst.empty())
    return true;
  const int a = y0 - m_clip.top(), b = y1 - m_clip.top();
  const int level = std::bit_width(unsigned(b - a + 1)) - 1;
  const int *left = m_innerLeft.data() + qsizetype(level) * m_clip.height();
  const int *right = m_innerRight.data() + qsizetype(level) * m_clip.height();
  const int second = b - (1 << level) + 1;
  return x0 >= std::max(left[a], left[second]) && x1 < std::min(right[a], right[second]);
}

TPixelBox TPictureTarget::ClipBox() const {
  return {m_clip.left() - m_dx, m_clip.top() - m_dy, m_clip.right() - m_dx,
          m_clip.bottom() - m_dy};
}

long long TPictureTarget::SolidSegment(const TPoint &a, const TPoint &b, QRgb on) const {
  const TLineSteps steps(a, b);
  long long from = 0, to = 0;
  steps.Within(ClipBox(), from, to);
  if (from >= to)
    return 0;
  const TPoint first = steps.At(from), last = steps.At(to - 1);
  const auto [left, right] = std::minmax(first.X, last.X);
  const auto [top, bottom] = std::minmax(first.Y, last.Y);
  if (!BoxInside(left, top, right, bottom)) {
    // Crossing a clip of several rectangles: pixel by pixel.
    steps.Run(from, to, [&](int x, int y, long long) {
      if (InClip(x, y))
        Row(y)[x] = on;
    });
  } else if (left == right) {
    const qsizetype stride = m_bytesPerLine / qsizetype(sizeof(QRgb));
    QRgb *p = Row(top) + left;
    for (int n = bottom - top + 1; n > 0; --n, p += stride)
      *p = on;
  } else if (top == bottom) {
    PixelRuns::FillRun(Row(top) + left, right - left + 1, on);
  } else {
    steps.Run(from, to, [&](int x, int y, long long) { Row(y)[x] = on; });
  }
  return to - from;
}

long long TPictureTarget::Lines(std::span<const TPoint> points, bool closed,
                                const TDashPattern &dash, const LinePen &pen) const {
  if (points.empty() || Empty())
    return 0;
  long long stepped = 0;
  if (dash.Period == 0 && pen.Mode == pmCopy) {
    for (size_t i = 0; i + 1 < points.size(); ++i)
      stepped += SolidSegment(points[i], points[i + 1], pen.On);
    if (closed)
      stepped += SolidSegment(points.back(), points[0], pen.On);
    return stepped;
  }
  const TPixelBox box = ClipBox();
  const auto run = [&](auto &&paint) {
    // A line inside the clip needs no test per pixel.
    bool inside = false;
    WalkLines(
        points, closed, dash, box,
        [&](int x, int y, bool isOn) {
          ++stepped;
          if (inside || InClip(x, y))
            paint(Row(y)[x], isOn);
        },
        [&](const TPoint &first, const TPoint &last) {
          const auto [left, right] = std::minmax(first.X, last.X);
          const auto [top, bottom] = std::minmax(first.Y, last.Y);
          inside = BoxInside(left, top, right, bottom);
        });
  };
  constexpr QRgb kOpaque = 0xFF000000u;
  switch (pen.Mode) {
  case pmCopy:
    // The gaps first, then the dashes over them, as the painter lays them:
    // a pixel the lines pass twice (a sharp corner, a crossing) shows the
    // dash.
    if (pen.Gaps)
      run([&](QRgb &px, bool isOn) {
        if (!isOn)
          px = pen.Off;
      });
    run([&](QRgb &px, bool isOn) {
      if (isOn)
        px = pen.On;
    });
    break;
  case pmXor:
    run([&](QRgb &px, bool isOn) {
      if (isOn)
        px = (px ^ pen.On) | kOpaque;
    });
    break;
  case pmNotXor:
    run([&](QRgb &px, bool isOn) {
      if (isOn)
        px = ~(px ^ pen.On) | kOpaque;
    });
    break;
  case pmNot:
    run([&](QRgb &px, bool isOn) {
      if (isOn)
        px = ~px | kOpaque;
    });
    break;
  }
  return stepped;
}

bool TPictureTarget::FillPolygon(const QPoint *pts, int n, QRgb colour,
                                 TPolygonSpans &spans) const {
  if (n < 3 || n > TPolygonSpans::kMaxCorners)
    return false;
  // A polygon whose edges all run straight across or down (a rectangle) the
  // engine fills as a rectangle, by rules of its own.
  bool slanted = false;
  for (int i = 0; i < n && !slanted; ++i) {
    const QPoint &a = pts[i], &b = pts[i + 1 < n ? i + 1 : 0];
    slanted = a.x() != b.x() && a.y() != b.y();
  }
  if (!slanted)
    return false;
  if (Empty())
    return true;
  // Exact only with every corner inside the clip's columns, and none so far
  // away that the engine cuts the polygon before filling it.
  constexpr int kFar = 16384;
  int left = pts[0].x(), right = left, top = pts[0].y(), bottom = top;
  for (int i = 0; i < n; ++i) {
    const QPoint &p = pts[i];
    // In device pixels, without overflow for corners at the ends of the range.
    const long long x = (long long)p.x() + m_dx, y = (long long)p.y() + m_dy;
    if (x < m_clip.left() || x > m_clip.right() || y < -kFar || y > kFar)
      return false;
    left = std::min(left, p.x());
    right = std::max(right, p.x());
    top = std::min(top, p.y());
    bottom = std::max(bottom, p.y());
  }
  if (!spans.Prepare(pts, n, m_clip.top() - m_dy, m_clip.bottom() - m_dy))
    return false;
  // Inside one span of the clip on every row it covers: no cutting.
  const bool cut = !m_rowFirst.empty() && !BoxInside(left, top, right, bottom);
  spans.Emit([&](int y, int x0, int x1) {
    // The runs lie inside the corners' columns; kept inside the picture all
    // the same.
    x0 = std::max(x0 + m_dx, m_clip.left());
    x1 = std::min(x1 + m_dx, m_clip.right() + 1);
    if (x0 >= x1)
      return;
    QRgb *line = Row(y) - m_dx;
    if (!cut) {
      PixelRuns::FillRun(line + x0, x1 - x0, colour);
      return;
    }
    const int row = y + m_dy - m_clip.top();
    for (int k = m_rowFirst[size_t(row)]; k < m_rowFirst[size_t(row) + 1]; ++k) {
      const int from = std::max(x0, m_spanLeft[size_t(k)]), to = std::min(x1, m_spanRight[size_t(k)]);
      if (from < to)
        PixelRuns::FillRun(line + from, to - from, colour);
    }
  });
  return true;
}
