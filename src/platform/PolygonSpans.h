#pragma once
#include <QPoint>
#include <QtGlobal>

// The pixel rows of a small polygon with integer corners, filled aliased with
// the odd-even rule exactly as the raster paint engine fills it: a pixel is
// in when its centre lies inside, each edge stepped down the rows in 16.16
// fixed point from the slope the engine works out. Lets a caller write a
// fill straight into a picture and get the painter's very pixels.
//
// Exact only while every corner's x lies inside the painter's clip bounds
// (the engine cuts edges that leave them in a way of its own).
class TPolygonSpans {
public:
  static constexpr int kMaxCorners = 8;

  // Sets up the closed polygon through the corners for the rows top..bottom;
  // false (nothing to emit) for more than kMaxCorners corners.
  bool Prepare(const QPoint *corners, int count, int top, int bottom);

  // Calls span(y, x0, x1) for the pixels x0 <= x < x1 of each row, top down.
  template <typename Span> void Emit(Span &&span) {
    for (int y = m_top; y <= m_bottom; ++y) {
      int xs[kMaxCorners];
      int n = 0;
      for (int i = 0; i < m_count; ++i) {
        Edge &e = m_edges[i];
        if (y < e.top || y > e.bottom)
          continue;
        const int x = int(e.x >> 16);
        e.x += e.delta;
        // Insertion into the sorted crossings of this row.
        int k = n++;
        for (; k > 0 && xs[k - 1] > x; --k)
          xs[k] = xs[k - 1];
        xs[k] = x;
      }
      for (int k = 0; k + 1 < n; k += 2)
        if (xs[k] < xs[k + 1])
          span(y, xs[k], xs[k + 1]);
    }
  }

private:
  struct Edge {
    qint64 x;     // 16.16, at the row's centre, plus half a pixel
    qint64 delta; // 16.16 per row
    int top, bottom;
  };
  Edge m_edges[kMaxCorners];
  int m_count = 0;
  int m_top = 0, m_bottom = -1;
};
