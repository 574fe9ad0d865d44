#include "core/MarketTime.h"

#include "platform/Clock.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>
#include <limits>

namespace {

constexpr double kUnixEpochDays = 25569.0; // 1970-01-01

// Day (of the month) of the n-th Sunday of a month.
int NthSunday(int year, int month, int n) {
  const TDateTime first = EncodeDate(year, month, 1);
  const int dow = DayOfWeek(first); // 1 = Sunday
  const int firstSunday = 1 + (8 - dow) % 7;
  return firstSunday + 7 * (n - 1);
}

} // namespace

TDateTime UtcToEasternByRules(TDateTime utc) {
  // Daylight time from the second Sunday of March 2:00 EST (7:00 UTC) to the
  // first Sunday of November 2:00 EDT (6:00 UTC).
  int y, m, d;
  DecodeDate(utc, y, m, d);
  const TDateTime start = EncodeDate(y, 3, NthSunday(y, 3, 2)) + 7.0 / 24;
  const TDateTime end = EncodeDate(y, 11, NthSunday(y, 11, 1)) + 6.0 / 24;
  const bool dst = utc >= start && utc < end;
  return utc + (dst ? -4.0 : -5.0) / 24;
}

TDateTime UtcToEastern(TDateTime utc) {
  static const QTimeZone zone("America/New_York");
  if (!zone.isValid())
    return UtcToEasternByRules(utc);
  const qint64 ms = qint64(std::llround((utc - kUnixEpochDays) * MSecsPerDay));
  // The offset holds from one transition of the zone to the next: it is
  // looked up once per such span (a refresh converts thousands of times).
  struct TSpan {
    qint64 From = 1, To = 0; // [From, To) in ms since the epoch; empty at first
    int Offset = 0;          // seconds
  };
  thread_local TSpan span;
  if (ms < span.From || ms >= span.To) {
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    span.Offset = zone.offsetFromUtc(at);
    const QTimeZone::OffsetData before = zone.previousTransition(at.addMSecs(1));
    const QTimeZone::OffsetData after = zone.nextTransition(at);
    span.From = before.atUtc.isValid() ? before.atUtc.toMSecsSinceEpoch()
                                       : std::numeric_limits<qint64>::min();
    span.To = after.atUtc.isValid() ? after.atUtc.toMSecsSinceEpoch()
                                    : std::numeric_limits<qint64>::max();
    if (span.From > ms || span.To <= ms) // no span the zone tells: looked up again next time
      span.From = span.To = ms;
  }
  return utc + span.Offset / SecsPerDay;
}

TDateTime EasternNow() { return UtcToEastern(AppClock().NowUtc()); }
