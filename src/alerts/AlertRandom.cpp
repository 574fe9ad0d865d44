#include "alerts/AlertRandom.h"

#include "core/StringRoutines.h"

std::string DrawRandomText(int count, int n, char (*map)(int value)) {
  std::string text;
  text.reserve(std::size_t(count));
  MyLockGuard guard(RandomLock(), "ALID");
  // Without the named lock each draw is still guarded on its own.
  for (int i = 0; i < count; ++i)
    text += map(SafeRandom(n, false));
  return text;
}
