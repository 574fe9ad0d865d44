#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>

// A stop flag with interruptible waits, shared by a worker and whoever stops it.
// Stop() is final: every current and later wait returns at once. Wake() ends the
// current (or, when nobody waits, the next) sleep early without stopping.
class TStopSignal {
public:
  static constexpr int kForever = -1;

  void Stop();
  bool Stopped() const { return m_stopped.load(std::memory_order_acquire); }
  void Wake();

  // Waits ms milliseconds (kForever: until stopped or woken). Returns false when
  // stopped (at once if already stopped), true after the time or a Wake().
  bool SleepFor(int ms);

  // Building blocks for other waits on this signal: wait on Condition() while holding
  // Mutex(); Stop(), Wake() and NotifyAll() wake such waits.
  std::mutex &Mutex() { return m_mutex; }
  std::condition_variable &Condition() { return m_cv; }
  void NotifyAll();

private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::atomic<bool> m_stopped{false};
  bool m_woken = false; // guarded by m_mutex
};
