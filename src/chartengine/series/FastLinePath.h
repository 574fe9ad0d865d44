#pragma once
#include "platform/Rect.h"

#include <cstddef>
#include <vector>

// Builds the screen path of a 1-pixel solid line with as few points as give
// the same pixels: each run of consecutive points on one pixel column is cut
// to its first, lowest, highest and last point. A 1-pixel line leaves out its
// end pixel, so the run that ends the path also keeps the point before its
// closing stretch of equal points, and repeated points are dropped. A break
// ends the line there and the next point starts a new one, so the path may
// be several lines (Starts).
class TFastLinePath {
public:
  explicit TFastLinePath(std::vector<TPoint> &out) : m_out(out) { m_out.clear(); }
  // Inline: it runs once per point.
  void Add(const TPoint &p) {
    if (m_open) {
      if (p == m_last.P)
        return; // the same pixel again draws nothing
      if (p.X == m_last.P.X) {
        const Mark m{p, m_seq++};
        if (p.Y != m_last.P.Y)
          m_beforeLast = m_last;
        if (p.Y < m_low.P.Y)
          m_low = m;
        if (p.Y > m_high.P.Y)
          m_high = m;
        m_last = m;
        return;
      }
      Flush(false);
    }
    const Mark m{p, m_seq++};
    m_first = m_low = m_high = m_last = m;
    m_beforeLast = Mark();
    m_open = true;
    m_broken = false;
  }
  // The last run goes out. endOfLine: nothing follows it, so the pixel of
  // its last point is left out unless the line was there before; else the
  // next segment starts on that point.
  void Finish(bool endOfLine);
  // The line ends here (a point that is no point): the next point added
  // starts a new line.
  void Break() {
    Finish(true);
    m_broken = true;
    if (!m_out.empty() && (m_starts.empty() || m_starts.back() != m_out.size()))
      m_starts.push_back(m_out.size());
  }
  // A break came after the last point added.
  bool Broken() const { return m_broken; }
  // Where in the output each line after the first starts (ascending; the
  // last may equal the output's size).
  const std::vector<std::size_t> &Starts() const { return m_starts; }

private:
  struct Mark {
    TPoint P;
    long long Seq = -1;
  };
  void Flush(bool final);

  std::vector<TPoint> &m_out;
  long long m_seq = 0;
  bool m_open = false;
  bool m_broken = false;
  std::vector<std::size_t> m_starts;
  Mark m_first, m_low, m_high, m_last, m_beforeLast;
};
