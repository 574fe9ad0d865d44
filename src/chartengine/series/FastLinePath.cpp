#include "chartengine/series/FastLinePath.h"

#include <algorithm>
#include <array>

void TFastLinePath::Finish(bool endOfLine) {
  if (m_open)
    Flush(endOfLine);
  m_open = false;
}

void TFastLinePath::Flush(bool final) {
  // Within one column every segment is vertical: first .. low .. high ..
  // last covers what all points cover. The next run's segment starts on the
  // last point; the path's end instead leaves that pixel out unless the line
  // was there before, which the point before the closing stretch keeps.
  std::array<Mark, 5> marks = {m_first, m_low, m_high, m_last, m_beforeLast};
  const int n = final && m_beforeLast.Seq >= 0 ? 5 : 4;
  std::sort(marks.begin(), marks.begin() + n,
            [](const Mark &a, const Mark &b) { return a.Seq < b.Seq; });
  long long previous = -1;
  for (int k = 0; k < n; ++k) {
    if (marks[static_cast<size_t>(k)].Seq == previous)
      continue;
    previous = marks[static_cast<size_t>(k)].Seq;
    m_out.push_back(marks[static_cast<size_t>(k)].P);
  }
}
