#include "platform/Delay.h"

#include "platform/WindowThread.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <thread>

namespace {
constexpr auto kDelayStep = std::chrono::milliseconds(1);
}

void Delay(int ms) {
  using Clock = std::chrono::steady_clock;
  if (!IsWindowThread()) {
    if (ms > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms > 0 ? ms : 0);
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const auto now = Clock::now();
    if (now >= deadline)
      return;
    std::this_thread::sleep_for(std::min<Clock::duration>(kDelayStep, deadline - now));
  }
}
