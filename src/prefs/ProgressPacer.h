#pragma once
// Decides when a progress bar that a long routine steps on the window thread
// is repainted at once: a person sees at most a few dozen repaints a second,
// so a step repaints only when its value differs from the one last painted
// and RepaintIntervalMs have passed since that paint, or when it is the last
// step. The clock is the program's (AppClock), so tests can hold or step it.
#include <cstdint>

class TProgressPacer {
public:
  static constexpr std::int64_t RepaintIntervalMs = 30;

  // A new run from value 0 up to maximum; the bar counts as painted now.
  void Start(int maximum);
  // Whether the bar, now at value, is to be repainted; when it is, the
  // value counts as painted.
  bool Step(int value);

private:
  int m_maximum = 0;
  int m_painted = 0;
  std::int64_t m_paintedAt = 0;
};
