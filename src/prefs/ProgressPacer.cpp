#include "prefs/ProgressPacer.h"

#include "platform/Clock.h"

void TProgressPacer::Start(int maximum) {
  m_maximum = maximum;
  m_painted = 0;
  m_paintedAt = AppClock().MonotonicMs();
}

bool TProgressPacer::Step(int value) {
  if (value == m_painted)
    return false;
  const std::int64_t now = AppClock().MonotonicMs();
  if (value < m_maximum && now - m_paintedAt < RepaintIntervalMs)
    return false;
  m_painted = value;
  m_paintedAt = now;
  return true;
}
