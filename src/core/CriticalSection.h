#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

// Retry policy of the named locks. One program-wide set; tests shorten it.
struct LockTimings {
  int retryIntervalMs = 12; // longest pause between two attempts (a release ends it)
  int giveUpTries = 300;    // attempts before a lock that may give up returns false
  int deadlockTries = 700;  // attempts before any lock reports "DEADLOCK!" and fails
  // Pause between attempts; nullptr sleeps the calling thread for the interval.
  void (*sleeper)(int ms) = nullptr;
};

// A named lock for shared state. It records the tag of its current owner
// ("EMPTY" when free) so that a deadlock report can say who holds it. A lock
// attempt retries when the lock is released, and at least every retryIntervalMs
// (so a short holder costs a waiter no more than its hold); a caller may allow
// it to give up after
// giveUpTries attempts, and after deadlockTries attempts it reports "DEADLOCK!"
// and fails. It is not re-entrant: a second Lock from the owner waits like any
// other caller. It is not bound to a thread: Unlock may come from any thread.
class MyCriticalSection {
public:
  static constexpr std::size_t MaxNameLength = 20;

  explicit MyCriticalSection(const std::string &name);
  MyCriticalSection(const MyCriticalSection &) = delete;
  MyCriticalSection &operator=(const MyCriticalSection &) = delete;

  // Takes the lock and records tag as owner. True when taken; false when it
  // gave up (only with mayGiveUp) or reached the deadlock limit.
  bool Lock(const std::string &tag, bool mayGiveUp);
  // One attempt without waiting.
  bool TryLock(const std::string &tag);
  // Releases the lock and sets the owner to "EMPTY". Call only after Lock
  // returned true; releasing a free lock is logged and ignored.
  void Unlock();

  std::string Name() const { return m_name; }
  // The owner tag, "EMPTY" when free.
  std::string Owner() const;
  bool IsHeld() const;

  static LockTimings Timings();
  static void SetTimings(const LockTimings &timings);
  static void ResetTimings();

  // Receives the text of a deadlock report (the default writes it to the log
  // and to the standard error stream). nullptr restores the default.
  using DeadlockReporter = void (*)(const std::string &text);
  static void SetDeadlockReporter(DeadlockReporter reporter);

private:
  // Waits one retry interval, taking the lock for tag as soon as it is free
  // (true); calls the tests' sleeper instead when one is set (false).
  bool PauseOrTake(const std::string &tag, int ms);

  const std::string m_name;
  mutable std::mutex m_state; // guards m_held and m_owner
  std::condition_variable m_freed;
  bool m_held = false;
  std::string m_owner = "EMPTY";
};

// Scoped holder of a MyCriticalSection: takes the lock on construction and
// releases it on destruction only if it was taken.
//   MyLockGuard guard(lock, "TAG", true);
//   if (!guard.Owns()) return;
class MyLockGuard {
public:
  MyLockGuard(MyCriticalSection &lock, const std::string &tag, bool mayGiveUp = false);
  ~MyLockGuard();
  MyLockGuard(const MyLockGuard &) = delete;
  MyLockGuard &operator=(const MyLockGuard &) = delete;

  bool Owns() const { return m_owns; }
  explicit operator bool() const { return m_owns; }
  // Early release; does nothing when the guard does not hold the lock.
  void Unlock();

private:
  MyCriticalSection &m_lock;
  bool m_owns;
};
