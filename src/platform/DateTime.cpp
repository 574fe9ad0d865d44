#include "platform/DateTime.h"

#include "platform/Clock.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Valid date-times run from 0001-01-01 to 9999-12-31.
constexpr double kMinDate = -693593.0;
constexpr double kMaxDate = 2958466.0;
constexpr std::int64_t kMsPerDay = 86400000;

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + std::int64_t(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int &year, int &month, int &day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = int(doy - (153 * mp + 2) / 5 + 1);
  month = int(mp < 10 ? mp + 3 : mp - 9);
  year = int(std::int64_t(yoe) + era * 400 + (month <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kEpochShift = -25569;

// A date-time as whole days plus milliseconds into the day (0..86399999), the
// time part rounded to the millisecond. Negative values keep the date in the
// integer part and the time of day as the absolute fraction.
struct Stamp {
  std::int64_t day = 0;
  std::int64_t ms = 0;
};

bool InRange(TDateTime dt) { return std::isfinite(dt) && dt >= kMinDate - 1 && dt < kMaxDate + 1; }

Stamp ToStamp(TDateTime dt) {
  Stamp s;
  const double whole = std::trunc(dt);
  s.day = std::int64_t(whole);
  s.ms = std::int64_t(std::llround(std::fabs(dt - whole) * MSecsPerDay));
  if (s.ms >= kMsPerDay) { // rounded up to the next midnight in time order
    s.ms -= kMsPerDay;
    s.day += 1;
  }
  return s;
}

// Linear time in days (monotonic in real time) from the stored form, and back.
double ToLinear(TDateTime dt) {
  const double whole = std::trunc(dt);
  return whole + std::fabs(dt - whole);
}

TDateTime FromLinear(double x) {
  const double whole = std::floor(x);
  const double frac = x - whole;
  return whole >= 0 ? whole + frac : whole - frac;
}

// Joins a date (whole days) with a time of day (0 <= t < 1) the way the stored
// form expects it.
TDateTime Combine(double date, double time) { return date >= 0 ? date + time : date - time; }

void CheckDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    throw EConvertError("Invalid argument to date encode");
}

} // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12)
    return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

TDateTime EncodeDate(int year, int month, int day) {
  CheckDate(year, month, day);
  return double(DaysFromCivil(year, unsigned(month), unsigned(day)) - kEpochShift);
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
    throw EConvertError("Invalid argument to time encode");
  return double(((hour * 60 + min) * 60 + sec) * 1000 + msec) / MSecsPerDay;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
  return Combine(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

void DecodeDate(TDateTime dt, int &year, int &month, int &day) {
  if (!InRange(dt)) {
    year = month = day = 0;
    return;
  }
  const Stamp s = ToStamp(dt);
  CivilFromDays(s.day + kEpochShift, year, month, day);
  if (year < 1 || year > 9999)
    year = month = day = 0;
}

void DecodeTime(TDateTime dt, int &hour, int &min, int &sec, int &msec) {
  if (!InRange(dt)) {
    hour = min = sec = msec = 0;
    return;
  }
  std::int64_t ms = ToStamp(dt).ms;
  msec = int(ms % 1000);
  ms /= 1000;
  sec = int(ms % 60);
  ms /= 60;
  min = int(ms % 60);
  hour = int(ms / 60);
}

TDateTime DateOf(TDateTime dt) {
  const double d = std::trunc(dt);
  return d == 0 ? 0.0 : d; // no -0
}

TDateTime TimeOf(TDateTime dt) { return std::fabs(dt - std::trunc(dt)); }

int DayOfWeek(TDateTime dt) {
  if (!InRange(dt))
    return 0;
  // 1899-12-30 was a Saturday (7).
  const std::int64_t day = ToStamp(dt).day;
  std::int64_t r = (day + 6) % 7;
  if (r < 0)
    r += 7;
  return int(r) + 1;
}

TDateTime IncMonth(TDateTime dt, int months) {
  int y = 0, m = 0, d = 0;
  DecodeDate(dt, y, m, d);
  if (y == 0)
    throw EConvertError("Invalid argument to date encode");
  std::int64_t total = std::int64_t(y) * 12 + (m - 1) + months;
  const int ny = int(total >= 0 ? total / 12 : (total - 11) / 12);
  const int nm = int(total - std::int64_t(ny) * 12) + 1;
  const int nd = std::min(d, DaysInMonth(ny, nm));
  return Combine(EncodeDate(ny, nm, nd), TimeOf(dt));
}

TDateTime IncDay(TDateTime dt, double days) { return FromLinear(ToLinear(dt) + days); }

TDateTime IncHour(TDateTime dt, std::int64_t hours) {
  return FromLinear(ToLinear(dt) + double(hours) / HoursPerDay);
}

TDateTime IncMinute(TDateTime dt, std::int64_t minutes) {
  return FromLinear(ToLinear(dt) + double(minutes) / MinsPerDay);
}

TDateTime IncSecond(TDateTime dt, std::int64_t seconds) {
  return FromLinear(ToLinear(dt) + double(seconds) / SecsPerDay);
}

TDateTime SystemNow() { return SystemClock().Now(); }
