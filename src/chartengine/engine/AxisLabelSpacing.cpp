#include "chartengine/engine/AxisLabelSpacing.h"

#include "chartengine/canvas/ChartMath.h"

#include <algorithm>

namespace {
// The free pixels between two intervals [a0, a1) and [b0, b1); negative
// when they overlap.
long long Gap(int a0, int a1, int b0, int b1) {
  return std::max(static_cast<long long>(b0) - a1, static_cast<long long>(a0) - b1);
}

bool Within(const TRect &box, const TRect &bounds) {
  return box.Left >= bounds.Left && box.Top >= bounds.Top && box.Right <= bounds.Right &&
         box.Bottom <= bounds.Bottom;
}
} // namespace

void TAxisLabelSpacing::KeepInside(const TRect &bounds) {
  m_inside = true;
  m_bounds = bounds;
}

bool TAxisLabelSpacing::Clear(const TRect &box) const {
  for (const TRect &other : m_accepted) {
    const long long along = m_horizontal ? Gap(other.Left, other.Right, box.Left, box.Right)
                                         : Gap(other.Top, other.Bottom, box.Top, box.Bottom);
    const long long across = m_horizontal ? Gap(other.Top, other.Bottom, box.Top, box.Bottom)
                                          : Gap(other.Left, other.Right, box.Left, box.Right);
    const int size = m_horizontal ? std::max(other.Width(), box.Width())
                                  : std::max(other.Height(), box.Height());
    const long long wanted = std::max(1, PixelRound(std::max(m_separation, 0) * 0.01 * size));
    if (along < wanted && across < 1)
      return false;
  }
  return true;
}

bool TAxisLabelSpacing::Accept(const TRect &box, const std::string &text) {
  if (box.IsEmpty())
    return true;
  if (m_inside && !Within(box, m_bounds))
    return false;
  if (m_distinct && m_texts.count(text) != 0)
    return false;
  if (!Clear(box))
    return false;
  m_accepted.push_back(box);
  if (m_distinct)
    m_texts.insert(text);
  return true;
}
