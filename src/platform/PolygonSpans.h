#pragma once
#include <QPoint>
#include <QtGlobal>
#include <algorithm>

// The pixel rows of a small polygon with integer corners, filled aliased with
// the odd-even rule exactly as the raster paint engine fills it: a pixel is
// in when its centre lies inside, each edge stepped down the rows in 16.16
// fixed point from the slope the engine works out. Lets a caller write a
// fill straight into a picture and get the painter's very pixels.
//
// Exact only while every corner's x lies inside the painter's clip bounds
// (the engine cuts edges that leave them in a way of its own) and no corner
// lies far enough out for the engine to cut the polygon before filling it.
class TPolygonSpans {
public:
  static constexpr int kMaxCorners = 8;

  // Sets up the closed polygon through the corners for the rows top..bottom;
  // false (nothing to emit) for more than kMaxCorners corners.
  bool Prepare(const QPoint *corners, int count, int top, int bottom);

  // Calls span(y, x0, x1) for the pixels x0 <= x < x1 of each row, top down.
  // Rows are taken in bands where the same edges cross them; a band crossed
  // by two edges (any band of a convex polygon) needs no sorting.
  template <typename Span> void Emit(Span &&span) {
    int y = m_top;
    while (y <= m_bottom) {
      // The band runs down to the next row where an edge starts or ends.
      int end = m_bottom + 1;
      int active[kMaxCorners];
      int n = 0;
      for (int i = 0; i < m_count; ++i) {
        const Edge &e = m_edges[i];
        if (e.top > y) {
          end = std::min(end, e.top);
        } else if (e.bottom >= y) {
          end = std::min(end, e.bottom + 1);
          active[n++] = i;
        }
      }
      if (n == 2) {
        // The crossing at row y is the edge's first one stepped down row by
        // row, as the engine steps it.
        const Edge &ea = m_edges[active[0]], &eb = m_edges[active[1]];
        qint64 xa = ea.x + ea.delta * (y - ea.top), xb = eb.x + eb.delta * (y - eb.top);
        for (; y < end; ++y, xa += ea.delta, xb += eb.delta) {
          const int a = int(xa >> 16), b = int(xb >> 16);
          if (a < b)
            span(y, a, b);
          else if (b < a)
            span(y, b, a);
        }
        continue;
      }
      for (; y < end; ++y) {
        int xs[kMaxCorners];
        for (int k = 0; k < n; ++k) {
          const Edge &e = m_edges[active[k]];
          const int x = int((e.x + e.delta * (y - e.top)) >> 16);
          // Insertion into the sorted crossings of this row.
          int j = k;
          for (; j > 0 && xs[j - 1] > x; --j)
            xs[j] = xs[j - 1];
          xs[j] = x;
        }
        for (int k = 0; k + 1 < n; k += 2)
          if (xs[k] < xs[k + 1])
            span(y, xs[k], xs[k + 1]);
      }
    }
  }

private:
  struct Edge {
    qint64 x;     // 16.16 at the centre of row top, plus half a pixel
    qint64 delta; // 16.16 per row
    int top, bottom;
  };
  Edge m_edges[kMaxCorners];
  int m_count = 0;
  int m_top = 0, m_bottom = -1;
  // The slope of an edge in 16.16, from floating point cut towards zero.
  qint64 Slope(int run, int rise);
  struct Slope16 {
    int run = 0, rise = 0;
    qint64 delta = 0;
    bool valid = false;
  };
  Slope16 m_slopes[2];
  int m_lastSlope = 0;
};
