#include "core/CriticalSection.h"

#include "core/Log.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

const LockTimings kDefaultTimings;

std::atomic<int> g_retryIntervalMs{kDefaultTimings.retryIntervalMs};
std::atomic<int> g_giveUpTries{kDefaultTimings.giveUpTries};
std::atomic<int> g_deadlockTries{kDefaultTimings.deadlockTries};
std::atomic<void (*)(int)> g_sleeper{nullptr};
std::atomic<MyCriticalSection::DeadlockReporter> g_reporter{nullptr};

void DefaultReport(const std::string &text) {
  WriteLog(text, 0);
  std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace

MyCriticalSection::MyCriticalSection(const std::string &name)
    : m_name(name.substr(0, MaxNameLength)) {}

bool MyCriticalSection::TryLock(const std::string &tag) {
  std::lock_guard<std::mutex> state(m_state);
  if (m_held)
    return false;
  m_held = true;
  m_owner = tag;
  return true;
}

bool MyCriticalSection::Lock(const std::string &tag, bool mayGiveUp) {
  const int interval = g_retryIntervalMs.load();
  const int giveUp = g_giveUpTries.load();
  const int deadlock = g_deadlockTries.load();
  for (int tries = 1;; ++tries) {
    if (TryLock(tag))
      return true;
    if (mayGiveUp && tries >= giveUp)
      return false;
    if (tries >= deadlock) {
      const std::string text =
          "DEADLOCK! lock " + m_name + " owner " + Owner() + " wanted by " + tag;
      auto reporter = g_reporter.load();
      (reporter ? reporter : DefaultReport)(text);
      return false;
    }
    if (PauseOrTake(tag, interval))
      return true;
  }
}

bool MyCriticalSection::PauseOrTake(const std::string &tag, int ms) {
  if (auto sleeper = g_sleeper.load()) {
    sleeper(ms);
    return false;
  }
  if (ms <= 0) {
    std::this_thread::yield();
    return false;
  }
  // Another caller may take the lock between its release and this wake-up;
  // the wait then goes on to the end of the interval, so a try still lasts
  // one interval and the give-up and deadlock counts keep their times.
  std::unique_lock<std::mutex> state(m_state);
  if (!m_freed.wait_for(state, std::chrono::milliseconds(ms), [this] { return !m_held; }))
    return false;
  m_held = true;
  m_owner = tag;
  return true;
}

void MyCriticalSection::Unlock() {
  bool wasHeld;
  {
    std::lock_guard<std::mutex> state(m_state);
    wasHeld = m_held;
    m_held = false;
    m_owner = "EMPTY";
    m_freed.notify_all();
  }
  if (!wasHeld)
    DefaultReport("Unlock of free lock " + m_name);
}

std::string MyCriticalSection::Owner() const {
  std::lock_guard<std::mutex> state(m_state);
  return m_owner;
}

bool MyCriticalSection::IsHeld() const {
  std::lock_guard<std::mutex> state(m_state);
  return m_held;
}

LockTimings MyCriticalSection::Timings() {
  LockTimings t;
  t.retryIntervalMs = g_retryIntervalMs.load();
  t.giveUpTries = g_giveUpTries.load();
  t.deadlockTries = g_deadlockTries.load();
  t.sleeper = g_sleeper.load();
  return t;
}

void MyCriticalSection::SetTimings(const LockTimings &timings) {
  g_retryIntervalMs = timings.retryIntervalMs < 0 ? 0 : timings.retryIntervalMs;
  g_giveUpTries = timings.giveUpTries < 1 ? 1 : timings.giveUpTries;
  g_deadlockTries = timings.deadlockTries < 1 ? 1 : timings.deadlockTries;
  g_sleeper = timings.sleeper;
}

void MyCriticalSection::ResetTimings() { SetTimings(kDefaultTimings); }

void MyCriticalSection::SetDeadlockReporter(DeadlockReporter reporter) { g_reporter = reporter; }

MyLockGuard::MyLockGuard(MyCriticalSection &lock, const std::string &tag, bool mayGiveUp)
    : m_lock(lock), m_owns(lock.Lock(tag, mayGiveUp)) {}

MyLockGuard::~MyLockGuard() { Unlock(); }

void MyLockGuard::Unlock() {
  if (m_owns) {
    m_owns = false;
    m_lock.Unlock();
  }
}
