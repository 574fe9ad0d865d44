#include "platform/DateTime.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct Ymd {
  int y, m, d;
  bool operator==(const Ymd &) const = default;
};

Ymd DateParts(TDateTime dt) {
  Ymd r{};
  DecodeDate(dt, r.y, r.m, r.d);
  return r;
}

std::string TimeParts(TDateTime dt) {
  int h = 0, n = 0, s = 0, ms = 0;
  DecodeTime(dt, h, n, s, ms);
  return std::to_string(h) + ":" + std::to_string(n) + ":" + std::to_string(s) + "." +
         std::to_string(ms);
}

} // namespace

TEST(DateTime, EncodeDateCountsDaysFrom18991230) {
  struct Case {
    int y, m, d;
    double days;
  };
  const Case cases[] = {
      {1899, 12, 30, 0},   {1899, 12, 31, 1},       {1900, 1, 1, 2},      {1899, 12, 29, -1},
      {1970, 1, 1, 25569}, {2000, 2, 29, 36585},    {2023, 3, 15, 45000}, {2024, 1, 5, 45296},
      {1, 1, 1, -693593},  {9999, 12, 31, 2958465},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.days);
    EXPECT_EQ(DateParts(c.days), (Ymd{c.y, c.m, c.d}));
  }
}

TEST(DateTime, EncodeRejectsImpossibleDatesAndTimes) {
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 4, 31), EConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
}

TEST(DateTime, TimeOfDayIsTheFraction) {
  EXPECT_EQ(EncodeDateTime(2024, 1, 5, 12, 0, 0, 0), 45296.5);
  EXPECT_EQ(TimeParts(45296.5), "12:0:0.0");
  EXPECT_EQ(DateParts(45296.5), (Ymd{2024, 1, 5}));
  EXPECT_EQ(TimeParts(EncodeTime(15, 4, 5, 678)), "15:4:5.678");
  EXPECT_EQ(TimeParts(EncodeTime(23, 59, 59, 999)), "23:59:59.999");
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, TimeRoundingToTheMillisecondCarriesIntoTheNextDay) {
  const TDateTime almost = 45296.0 + (MSecsPerDay - 0.2) / MSecsPerDay;
  EXPECT_EQ(DateParts(almost), (Ymd{2024, 1, 6}));
  EXPECT_EQ(TimeParts(almost), "0:0:0.0");
}

TEST(DateTime, NegativeValuesKeepTheDateAndTakeTheTimeAsAbsoluteFraction) {
  EXPECT_EQ(DateParts(-1.25), (Ymd{1899, 12, 29}));
  EXPECT_EQ(TimeParts(-1.25), "6:0:0.0");
  EXPECT_EQ(DateParts(-0.5), (Ymd{1899, 12, 30}));
  EXPECT_EQ(TimeParts(-0.5), "12:0:0.0");
  EXPECT_EQ(DateOf(-1.25), -1.0);
  EXPECT_EQ(TimeOf(-1.25), 0.25);
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  EXPECT_EQ(DateOf(-0.5), 0.0);
  EXPECT_FALSE(std::signbit(DateOf(-0.5)));
}

TEST(DateTime, DateAndTimeParts) {
  EXPECT_EQ(DateOf(45296.75), 45296.0);
  EXPECT_EQ(TimeOf(45296.75), 0.75);
}

TEST(DateTime, DayOfWeekStartsOnSunday) {
  EXPECT_EQ(DayOfWeek(0), 7);                        // 1899-12-30, a Saturday
  EXPECT_EQ(DayOfWeek(45296.5), 6);                  // 2024-01-05, a Friday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 7)), 1);   // Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 25)), 2); // Monday, before day zero
  EXPECT_EQ(DayOfWeek(-1.25), 6);                    // 1899-12-29, a Friday
}

TEST(DateTime, LeapYearsAndMonthLengths) {
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 4), 30);
  EXPECT_EQ(DaysInMonth(2023, 12), 31);
  EXPECT_EQ(DaysInMonth(2023, 13), 0);
}

TEST(DateTime, IncMonthClampsTheDay) {
  struct Case {
    const char *name;
    Ymd from;
    int months;
    Ymd to;
  };
  const Case cases[] = {
      {"Jan 31 to leap Feb", {2024, 1, 31}, 1, {2024, 2, 29}},
      {"Jan 31 to plain Feb", {2023, 1, 31}, 1, {2023, 2, 28}},
      {"Dec 1 to next year", {2023, 12, 1}, 1, {2024, 1, 1}},
      {"back over a year", {2024, 1, 15}, -1, {2023, 12, 15}},
      {"Mar 31 back to Feb", {2024, 3, 31}, -1, {2024, 2, 29}},
      {"May 31 to Jun", {2024, 5, 31}, 1, {2024, 6, 30}},
      {"twelve months", {2024, 2, 29}, 12, {2025, 2, 28}},
      {"many back", {2024, 1, 1}, -25, {2021, 12, 1}},
      {"zero", {2024, 7, 4}, 0, {2024, 7, 4}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const TDateTime from = EncodeDate(c.from.y, c.from.m, c.from.d) + 0.75;
    const TDateTime to = IncMonth(from, c.months);
    EXPECT_EQ(DateParts(to), c.to);
    EXPECT_EQ(TimeParts(to), "18:0:0.0");
  }
}

TEST(DateTime, IncMonthOutsideTheCalendarRaises) {
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
  EXPECT_THROW(IncMonth(EncodeDate(1, 1, 1), -1), EConvertError);
}

TEST(DateTime, StepsByDaysHoursMinutesSeconds) {
  const TDateTime t = 45296.5;
  EXPECT_EQ(IncDay(t, 1), 45297.5);
  EXPECT_EQ(IncDay(t, -45296), 0.5);
  EXPECT_EQ(TimeParts(IncHour(t, 13)), "1:0:0.0");
  EXPECT_EQ(DateParts(IncHour(t, 13)), (Ymd{2024, 1, 6}));
  EXPECT_EQ(TimeParts(IncMinute(t, -1)), "11:59:0.0");
  EXPECT_EQ(TimeParts(IncSecond(t, 3661)), "13:1:1.0");
  EXPECT_EQ(DateParts(IncSecond(t, -86400)), (Ymd{2024, 1, 4}));
}

TEST(DateTime, StepsAcrossDayZeroFollowRealTime) {
  // 1899-12-30 03:00 minus six hours is 1899-12-29 21:00, stored as -1.875.
  const TDateTime t = EncodeTime(3, 0, 0, 0);
  const TDateTime back = IncHour(t, -6);
  EXPECT_EQ(DateParts(back), (Ymd{1899, 12, 29}));
  EXPECT_EQ(TimeParts(back), "21:0:0.0");
  EXPECT_DOUBLE_EQ(back, -1.875);
  EXPECT_DOUBLE_EQ(IncHour(back, 6), 0.125);
  EXPECT_DOUBLE_EQ(IncDay(-1.25, 1), 0.25);
}

TEST(DateTime, DecodingNonsenseGivesZeros) {
  EXPECT_EQ(DateParts(NAN), (Ymd{0, 0, 0}));
  EXPECT_EQ(DateParts(1e12), (Ymd{0, 0, 0}));
  EXPECT_EQ(TimeParts(INFINITY), "0:0:0.0");
  EXPECT_EQ(DayOfWeek(NAN), 0);
  EXPECT_EQ(DayOfWeek(-1e300), 0);
}

TEST(DateTime, SystemNowIsAPlausibleDate) {
  const TDateTime now = SystemNow();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_LT(now, EncodeDate(2200, 1, 1));
}
