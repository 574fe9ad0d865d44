#include "platform/Clock.h"

#include <QDateTime>
#include <atomic>
#include <chrono>

namespace {
constexpr qint64 kUnixEpochOffsetMs = 25569LL * 86400000LL; // 1970-01-01 in days since 1899-12-30

TDateTime FromMsSince1970(qint64 ms) { return double(ms + kUnixEpochOffsetMs) / MSecsPerDay; }

SystemClock g_systemClock;
std::atomic<Clock*> g_clock{&g_systemClock};
} // namespace

TDateTime SystemClock::Now() const {
  const QDateTime now = QDateTime::currentDateTime();
  return FromMsSince1970(now.toMSecsSinceEpoch() + qint64(now.offsetFromUtc()) * 1000);
}

TDateTime SystemClock::NowUtc() const {
  return FromMsSince1970(QDateTime::currentMSecsSinceEpoch());
}

std::int64_t SystemClock::MonotonicMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Clock& AppClock() { return *g_clock.load(); }

void SetAppClock(Clock* clock) { g_clock.store(clock ? clock : &g_systemClock); }
