#pragma once
#include "platform/DateTime.h"

#include <atomic>
#include <cstdint>

// The program's clock. Code that needs the time asks AppClock(), so that tests
// can install a FakeClock and step it.
class Clock {
public:
  virtual ~Clock() = default;
  // Local wall-clock time.
  virtual TDateTime Now() const = 0;
  // The same instant in UTC.
  virtual TDateTime NowUtc() const = 0;
  // Milliseconds from an arbitrary origin; never goes back.
  virtual std::int64_t MonotonicMs() const = 0;
};

class SystemClock final : public Clock {
public:
  TDateTime Now() const override;
  TDateTime NowUtc() const override;
  std::int64_t MonotonicMs() const override;
};

// A clock that only moves when told to. Local time is UTC plus UtcOffsetDays.
// A test steps it while the program's worker threads read it, so its fields
// are atomic.
class FakeClock final : public Clock {
public:
  explicit FakeClock(TDateTime utc = 45296.5, double utcOffsetDays = 0.0)
      : m_utc(utc), m_offset(utcOffsetDays) {}
  TDateTime Now() const override { return m_utc.load() + m_offset.load(); }
  TDateTime NowUtc() const override { return m_utc.load(); }
  std::int64_t MonotonicMs() const override { return m_mono.load(); }

  void SetUtc(TDateTime utc) { m_utc.store(utc); }
  // Moves both the wall clock and the monotonic clock forward.
  void AdvanceMs(std::int64_t ms) {
    m_mono.fetch_add(ms);
    m_utc.store(m_utc.load() + double(ms) / MSecsPerDay);
  }

private:
  std::atomic<TDateTime> m_utc;
  std::atomic<double> m_offset;
  std::atomic<std::int64_t> m_mono{0};
};

// The clock in use; the system clock unless a test installed another.
Clock& AppClock();
// Installs a clock (nullptr restores the system clock). The caller keeps ownership.
void SetAppClock(Clock* clock);
