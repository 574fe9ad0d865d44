#pragma once
#include "platform/Canvas.h"
#include "platform/LinePixels.h"

#include <QRect>
#include <QRgb>
#include <bit>
#include <span>
#include <vector>

class QImage;
class QPoint;
class QRegion;
class TPolygonSpans;

// A 32-bit picture that 1-px lines and solid polygon fills are written into
// straight, pixel for pixel as the raster paint engine draws them: the
// picture's rows, the painter's whole-pixel offset and the clip, kept as
// spans per row when it is more than one rectangle.
class TPictureTarget {
public:
  // Whether lines in the pen mode may be written into a picture of the
  // format (raster modes only where every pixel is opaque).
  static bool Writable(const QImage &image, TPenMode mode);

  // Targets the picture drawn at the offset (dx, dy) under the clip given in
  // picture pixels (null: none).
  void Set(const QImage &image, int dx, int dy, const QRegion *clip);
  // Nothing of the picture lies inside the clip.
  bool Empty() const { return m_clip.isEmpty(); }

  // How a 1-px line colours its pixels: On, and Off in the gaps of a dash
  // pattern when Gaps; raster modes combine On with the picture.
  struct LinePen {
    QRgb On = 0;
    QRgb Off = 0;
    TPenMode Mode = pmCopy;
    bool Gaps = false;
  };
  // The 1-px lines through the points (canvas pixels), as WalkLines steps
  // them; with Gaps, the gaps are laid first and the dashes over them.
  // Returns how many pixels were stepped through.
  long long Lines(std::span<const TPoint> points, bool closed, const TDashPattern &dash,
             const LinePen &pen) const;

  // The inside of the polygon filled in one colour, as the painter fills it
  // with the odd-even rule; false (nothing written) when that cannot be
  // promised and the painter has to fill it.
  bool FillPolygon(const QPoint *corners, int count, QRgb colour, TPolygonSpans &spans) const;

private:
  QRgb *Row(int canvasY) const {
    return reinterpret_cast<QRgb *>(m_bits + qsizetype(canvasY + m_dy) * m_bytesPerLine) + m_dx;
  }
  bool InClip(int x, int y) const {
    return unsigned(x + m_dx - m_clip.left()) < unsigned(m_clip.width()) &&
           unsigned(y + m_dy - m_clip.top()) < unsigned(m_clip.height()) &&
           (m_rowFirst.empty() || InSpans(x + m_dx, y + m_dy));
  }
  // Whether the device pixel, inside the clip's bounds, lies inside the clip.
  bool InSpans(int devX, int devY) const {
    const int row = devY - m_clip.top();
    for (int k = m_rowFirst[size_t(row)]; k < m_rowFirst[size_t(row) + 1]; ++k)
      if (devX >= m_spanLeft[size_t(k)] && devX < m_spanRight[size_t(k)])
        return true;
    return false;
  }
  // Whether the box of canvas pixels x0..x1, y0..y1 lies inside one span of
  // the clip on each of its rows.
  bool BoxInside(int x0, int y0, int x1, int y1) const;
  // The clip's bounds in canvas pixels: lines are stepped only inside them.
  TPixelBox ClipBox() const;
  long long SolidSegment(const TPoint &a, const TPoint &b, QRgb on) const;

  uchar *m_bits = nullptr;
  qsizetype m_bytesPerLine = 0;
  QRect m_clip; // picture pixels: the clip's bounds
  int m_dx = 0, m_dy = 0;
  // A clip of more than one rectangle: row r (from m_clip.top()) holds the
  // spans m_rowFirst[r] .. m_rowFirst[r + 1] - 1, each [left, right).
  std::vector<int> m_rowFirst;
  std::vector<int> m_spanLeft;
  std::vector<int> m_spanRight;
  // Per level l and row r, the furthest left and right x that the rows
  // r .. r + 2^l - 1 all reach inside one span (rows with more spans reach
  // nowhere): a box's rows are looked up in two steps, not one by one.
  std::vector<int> m_innerLeft;
  std::vector<int> m_innerRight;
};
