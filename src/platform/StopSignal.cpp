#include "platform/StopSignal.h"

#include <chrono>

void TStopSignal::Stop() {
  {
    std::lock_guard lock(m_mutex);
    m_stopped.store(true, std::memory_order_release);
  }
  m_cv.notify_all();
}

void TStopSignal::Wake() {
  {
    std::lock_guard lock(m_mutex);
    m_woken = true;
  }
  m_cv.notify_all();
}

void TStopSignal::NotifyAll() {
  // Taking the lock orders the notification after any state change the caller made
  // under it, so a waiter between its check and its wait cannot miss it.
  { std::lock_guard lock(m_mutex); }
  m_cv.notify_all();
}

bool TStopSignal::SleepFor(int ms) {
  std::unique_lock lock(m_mutex);
  const auto done = [this] { return Stopped() || m_woken; };
  if (ms < 0)
    m_cv.wait(lock, done);
  else
    m_cv.wait_for(lock, std::chrono::milliseconds(ms), done);
  if (Stopped())
    return false;
  m_woken = false;
  return true;
}
