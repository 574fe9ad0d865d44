#pragma once
#include <cstdint>

// Days since 1899-12-30; the fraction is the time of day. 45000 is 2023-03-15.
using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;
constexpr double SecsPerDay = 86400.0;
constexpr double MinsPerDay = 1440.0;
constexpr double HoursPerDay = 24.0;

// Raise EConvertError for a date or time that does not exist.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
// Values outside 0001-01-01 .. 9999-12-31 (and NaN) decode as all zeros.
void DecodeDate(TDateTime dt, int &year, int &month, int &day);
void DecodeTime(TDateTime dt, int &hour, int &min, int &sec, int &msec);
// Whole day and time part. For negative values the time part counts as in the
// class library: -1.25 is 1899-12-29 06:00.
TDateTime DateOf(TDateTime dt);
TDateTime TimeOf(TDateTime dt);
// 1 = Sunday .. 7 = Saturday; 0 for a value outside the calendar (NaN, huge).
int DayOfWeek(TDateTime dt);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Steps months (negative goes back); the day is clamped to the target month's length.
// Raises EConvertError beyond the years 1..9999.
TDateTime IncMonth(TDateTime dt, int months);
TDateTime IncDay(TDateTime dt, double days);
TDateTime IncHour(TDateTime dt, std::int64_t hours);
TDateTime IncMinute(TDateTime dt, std::int64_t minutes);
TDateTime IncSecond(TDateTime dt, std::int64_t seconds);
// The system clock (local time) as a date-time; prefer the injected Clock.
TDateTime SystemNow();
