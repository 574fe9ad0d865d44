#include "chartengine/engine/AxisLabelSpacing.h"

#include "chartengine/canvas/ChartMath.h"

#include <algorithm>

namespace {
// The free pixels between two intervals [a0, a1) and [b0, b1); negative
// when they overlap.
long long Gap(int a0, int a1, int b0, int b1) {
  return std::max(static_cast<long long>(b0) - a1, static_cast<long long>(a0) - b1);
}
} // namespace

bool TAxisLabelSpacing::Accept(const TRect &box) {
  if (box.IsEmpty())
    return true;
  if (m_hasLast) {
    const long long along = m_horizontal ? Gap(m_last.Left, m_last.Right, box.Left, box.Right)
                                         : Gap(m_last.Top, m_last.Bottom, box.Top, box.Bottom);
    const long long across = m_horizontal ? Gap(m_last.Top, m_last.Bottom, box.Top, box.Bottom)
                                          : Gap(m_last.Left, m_last.Right, box.Left, box.Right);
    const int size = m_horizontal ? std::max(m_last.Width(), box.Width())
                                  : std::max(m_last.Height(), box.Height());
    const long long wanted = std::max(1, PixelRound(std::max(m_separation, 0) * 0.01 * size));
    if (along < wanted && across < 1)
      return false;
  }
  m_last = box;
  m_hasLast = true;
  return true;
}
