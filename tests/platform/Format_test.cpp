#include "platform/Exceptions.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <locale>

namespace {
using I = std::int64_t;
using S = std::string;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
} // namespace

// --- Format

TEST(Format, Specifiers) {
  struct Case {
    const char *fmt;
    std::initializer_list<TFormatArg> args;
    const char *expected;
  };
  const Case cases[] = {
      {"%d", {I(42)}, "42"},
      {"%d", {I(-42)}, "-42"},
      {"%5d|%-5d|", {I(42), I(42)}, "   42|42   |"},
      {"%.3d", {I(-5)}, "-005"},
      {"%d", {kMin}, "-9223372036854775808"},
      {"%u", {I(7)}, "7"},
      {"%x", {I(255)}, "FF"},
      {"%.4x", {I(255)}, "00FF"},
      {"%x", {I(-1)}, "FFFFFFFFFFFFFFFF"},
      {"%s and %s", {S("this"), S("that")}, "this and that"},
      {"%.3s|%6s|%-6s|", {S("abcdef"), S("ab"), S("ab")}, "abc|    ab|ab    |"},
      {"%f", {1.5}, "1.50"},
      {"%.0f", {2.5}, "3"},
      {"%.0f", {-2.5}, "-3"},
      {"%8.3f", {3.14159}, "   3.142"},
      {"%.2f", {1.005}, "1.01"},
      {"%.2f", {2.675}, "2.68"},
      {"%.2f", {-0.001}, "0.00"},
      {"%.0f", {-0.4}, "0"},
      {"%.2f", {1e20}, "100000000000000000000.00"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%.0n", {-999.5}, "-1,000"},
      {"%.1n", {999.0}, "999.0"},
      {"%20.0n", {1234567.0}, "           1,234,567"},
      {"%m", {1234.5}, "$1,234.50"},
      {"%m", {-1234.5}, "($1,234.50)"},
      {"%g", {0.1 + 0.2}, "0.3"},
      {"%g", {1e20}, "1E20"},
      {"%g", {1.5e-7}, "1.5E-7"},
      {"%.3g", {1234.5}, "1.23E3"},
      {"%g", {-0.0}, "0"},
      {"%e", {1.5}, "1.50000000000000E+000"},
      {"%.3e", {-1234.5}, "-1.23E+003"},
      {"%.2e", {0.0}, "0.0E+000"},
      {"100%%", {}, "100%"},
      {"%1:s %0:s %s", {S("x"), S("y")}, "y x y"},
      {"%*d", {I(4), I(7)}, "   7"},
      {"%-*.*f|", {I(6), I(1), 2.25}, "2.3   |"},
      {"%f %f %f", {NAN, INFINITY, -INFINITY}, "NAN INF -INF"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.fmt);
    EXPECT_EQ(Format(c.fmt, c.args), c.expected);
  }
}

TEST(Format, TakesAnyIntegralFloatAndTextArguments) {
  const std::size_t count = 3;
  const unsigned long long big = 18446744073709551615ull;
  const float half = 0.5f;
  const char *text = "abc";
  EXPECT_EQ(Format("%d|%d|%u|%.1f|%s|%s", {count, 'A', big, half, text, std::string("x")}),
            "3|65|18446744073709551615|0.5|abc|x");
}

TEST(Format, GroupedExampleTrimmed) { EXPECT_EQ(Trim(Format("%20.0n", {1234567.0})), "1,234,567"); }

TEST(Format, BadFormatsAndArgumentsRaise) {
  EXPECT_THROW(Format("%d", {1.5}), EConvertError);
  EXPECT_THROW(Format("%f", {I(1)}), EConvertError);
  EXPECT_THROW(Format("%s", {I(1)}), EConvertError);
  EXPECT_THROW(Format("%d %d", {I(1)}), EConvertError);
  EXPECT_THROW(Format("%q", {I(1)}), EConvertError);
  EXPECT_THROW(Format("50%", {}), EConvertError);
  try {
    Format("%d", {});
    FAIL();
  } catch (const EConvertError &e) {
    EXPECT_EQ(e.Message(), "No argument for format '%d'");
  }
}

namespace {
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};
} // namespace

TEST(Format, IgnoresTheProcessLocale) {
  // A locale with a decimal comma must not leak into our texts.
  const std::locale oldGlobal = std::locale::global(std::locale(std::locale(), new CommaDecimal));
  const char *old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
  EXPECT_EQ(Format("%.2f|%n|%g", {1.5, 1234.5, 0.25}), "1.50|1,234.50|0.25");
  EXPECT_EQ(FormatFloat("#,##0.0", 1234.5), "1,234.5");
  EXPECT_EQ(FloatToStr(2.25), "2.25");
  EXPECT_EQ(StrToFloat("2.25"), 2.25);
  std::setlocale(LC_NUMERIC, saved.c_str());
  std::locale::global(oldGlobal);
}

// --- FormatFloat

TEST(FormatFloat, Patterns) {
  struct Case {
    const char *pattern;
    double value;
    const char *expected;
  };
  const Case cases[] = {
      {"#,##0.###", 1234.5, "1,234.5"},
      {"#,##0.###", 1234, "1,234"},
      {"#,##0.###", 0, "0"},
      {"#,##0.###", -1234567.8915, "-1,234,567.892"},
      {"#,##0.00", 0.5, "0.50"},
      {"##0.## %", 25, "25 %"},
      {"##0.## %", 12.345, "12.35 %"},
      {"0.00", 1.005, "1.01"},
      {"0.00", 2.675, "2.68"},
      {"0.00", -2.675, "-2.68"},
      {"0.00", -0.001, "0.00"},
      {"0", 0.5, "1"},
      {"0", -0.5, "-1"},
      {"0", 1.5, "2"},
      {"0", 2.5, "3"},
      {"000", 7, "007"},
      {"#", 0, ""},
      {"#.##", 0.5, ".5"},
      {"0.##", 3, "3"},
      {"00-00", 1234, "12-34"},
      {"00", 12345, "12345"},
      {"#,##0", 1234567890123.0, "1,234,567,890,123"},
      {"\"$\"#,##0.00", -1234567.891, "-$1,234,567.89"},
      {"'#'0", 5, "#5"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.00E+00", 0.000123, "1.23E-04"},
      {"0.00E-00", 1234.5, "1.23E03"},
      {"0.0E+0", 0, "0.0E+0"},
      {"0.###E+0", 1e100, "1E+100"},
      {"0.0;(0.0)", -3.14, "(3.1)"},
      {"0.0;(0.0)", 3.14, "3.1"},
      {"0.0;(0.0);zero", 0, "zero"},
      {"0.0;(0.0);zero", -0.01, "zero"},
      {"0.0;(0.0)", -0.01, "0.0"},
      {"0.0;;zero", -2, "-2.0"},
      {"0.0;(0.0);", 0, "0.0"},
      {"0.00;-0.00", -0.004, "0.00"},
      {"", 1.5, "1.5"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " of " + FloatToStr(c.value));
    EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected);
  }
}

TEST(FormatFloat, NonFiniteValues) {
  EXPECT_EQ(FormatFloat("0.00", NAN), "NAN");
  EXPECT_EQ(FormatFloat("0.00", -INFINITY), "-INF");
}

// --- FormatDateTime

TEST(FormatDateTime, Patterns) {
  const TDateTime afternoon = EncodeDateTime(2024, 1, 5, 15, 4, 5, 7);
  const TDateTime morning = EncodeDateTime(2023, 3, 15, 0, 30, 0, 0);
  struct Case {
    const char *pattern;
    TDateTime dt;
    const char *expected;
  };
  const Case cases[] = {
      {"mmm dd, yyyy", 45296, "Jan 05, 2024"},
      {"hh:mm:ss AM/PM", afternoon, "03:04:05 PM"},
      {"hh:mm:ss am/pm", afternoon, "03:04:05 pm"},
      {"hh:mm:ss am/pm", morning, "12:30:00 am"},
      {"h:mm a/p", afternoon, "3:04 p"},
      {"h:nn ampm", morning, "12:30 AM"},
      {"hh:nn:ss", afternoon, "15:04:05"},
      {"hh:nn:ss.zzz", afternoon, "15:04:05.007"},
      {"h:n:s.z", afternoon, "15:4:5.7"},
      {"mmm dd,yyyy, hh:mm", 45296.5, "Jan 05,2024, 12:00"},
      {"c", 45296.5, "1/5/2024 12:00:00 PM"},
      {"c", 45296, "1/5/2024"},
      {"", afternoon, "1/5/2024 3:04:05 PM"},
      {"ddddd", 45000, "3/15/2023"},
      {"dddddd", 45000, "Wednesday, March 15, 2023"},
      {"t|tt", afternoon, "3:04 PM|3:04:05 PM"},
      {"dddd ddd d dd", 45296, "Friday Fri 5 05"},
      {"mmmm mmm mm m", 45000, "March Mar 03 3"},
      {"yy yyyy", 45000, "23 2023"},
      {"yyyy-mm-dd", EncodeDate(2000, 2, 29), "2000-02-29"},
      {"yyyy/mm/dd", 45000, "2023/03/15"},
      {"\"day\" d 'of' mmmm", 45000, "day 15 of March"},
      {"hh 'h' mm", afternoon, "15 h 04"},
      {"mm/dd hh:mm", afternoon, "01/05 15:04"},
      {"hh:mm mmm", afternoon, "15:04 Jan"},
      {"hh:mm:ss", -1.25, "06:00:00"},
      {"yyyy-mm-dd", -1.25, "1899-12-29"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(FormatDateTime(c.pattern, c.dt), c.expected);
  }
}

TEST(FormatDateTime, ValuesOutsideTheCalendarGiveZeros) {
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn mmm", NAN), "0000-00-00 00:00 ");
  EXPECT_EQ(FormatDateTime("d/m/yy", 1e300), "0/0/00");
}

TEST(FormatDateTime, SettingsTexts) {
  EXPECT_EQ(DateToStr(45296.75), "1/5/2024");
  EXPECT_EQ(TimeToStr(45296.75), "6:00:00 PM");
  EXPECT_EQ(DateTimeToStr(45296.75), "1/5/2024 6:00:00 PM");
}

// --- numbers to text and back

TEST(FloatToStr, FifteenSignificantDigitsInGeneralForm) {
  struct Case {
    double value;
    const char *expected;
  };
  const Case cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1.5, "1.5"},
      {-1.5, "-1.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E15"},
      {1e15, "1E15"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {-2.5e-10, "-2.5E-10"},
      {NAN, "NAN"},
      {INFINITY, "INF"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(FloatToStr(c.value), c.expected);
  }
}

TEST(FloatToStrF, Forms) {
  EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 15, 2), "1234.57");
  EXPECT_EQ(FloatToStrF(1234.5678, ffNumber, 15, 1), "1,234.6");
  EXPECT_EQ(FloatToStrF(-1234.5678, ffCurrency, 15, 2), "($1,234.57)");
  EXPECT_EQ(FloatToStrF(1234.5678, ffExponent, 4, 2), "1.235E+03");
  EXPECT_EQ(FloatToStrF(1234.5678, ffGeneral, 3, 0), "1.23E3");
  EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 3, 2), "1.23E3");
  EXPECT_EQ(FloatToStrF(-0.004, ffFixed, 15, 2), "0.00");
}

TEST(IntToStr, Values) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-17), "-17");
  EXPECT_EQ(IntToStr(kMax), "9223372036854775807");
  EXPECT_EQ(IntToStr(kMin), "-9223372036854775808");
}

TEST(StrToInt, ParsesOrRaises) {
  EXPECT_EQ(StrToInt("42"), 42);
  EXPECT_EQ(StrToInt(" -42 "), -42);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("0x1f"), 31);
  EXPECT_EQ(StrToInt("9223372036854775807"), kMax);
  EXPECT_EQ(StrToInt("-9223372036854775808"), kMin);
  for (const char *bad : {"", " ", "abc", "12abc", "1.5", "9223372036854775808", "--1", "1 2"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(StrToInt(bad), EConvertError);
    EXPECT_EQ(StrToIntDef(bad, -99), -99);
  }
  try {
    StrToInt("x1");
    FAIL();
  } catch (const EConvertError &e) {
    EXPECT_EQ(e.Message(), "'x1' is not a valid integer value");
  }
}

TEST(StrToFloat, ParsesOrRaises) {
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_EQ(StrToFloat(" -0.25 "), -0.25);
  EXPECT_EQ(StrToFloat("+3"), 3.0);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("5."), 5.0);
  EXPECT_EQ(StrToFloat("1e3"), 1000.0);
  EXPECT_EQ(StrToFloat("1.5E-2"), 0.015);
  EXPECT_EQ(StrToFloat("1e-400"), 0.0);
  for (const char *bad : {"", ".", "abc", "1,5", "1e", "1e999", "inf", "nan", "0x10", "1.2.3"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(StrToFloat(bad), EConvertError);
    EXPECT_EQ(StrToFloatDef(bad, -1.0), -1.0);
  }
}

TEST(FloatToStr, RoundTripsThroughStrToFloatForFifteenDigits) {
  for (double v : {0.1, 123.456, -98765.4321, 1e-3, 6.02214076e23}) {
    SCOPED_TRACE(v);
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(v)), v);
  }
}

// --- rounding

TEST(Round, HalvesGoToTheEvenNeighbourAndResultsSaturate) {
  struct Case {
    double value;
    std::int64_t expected;
  };
  const Case cases[] = {
      {2.5, 2},
      {3.5, 4},
      {-2.5, -2},
      {-3.5, -4},
      {0.5, 0},
      {1.5, 2},
      {-0.5, 0},
      {2.4999999, 2},
      {2.5000001, 3},
      {-7.6, -8},
      {4503599627370497.0, 4503599627370497}, // 2^52 + 1
      {1e300, kMax},
      {-1e300, kMin},
      {9223372036854775807.0, kMax},
      {-9223372036854775808.0, kMin},
      {INFINITY, kMax},
      {-INFINITY, kMin},
      {NAN, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Round(c.value), c.expected);
  }
}

TEST(Trunc, TowardZeroAndSaturating) {
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Trunc(1e300), kMax);
  EXPECT_EQ(Trunc(-1e300), kMin);
  EXPECT_EQ(Trunc(NAN), 0);
}

TEST(RoundToInt, SaturatesAtTheIntRange) {
  EXPECT_EQ(RoundToInt(2.5), 2);
  EXPECT_EQ(RoundToInt(-3.5), -4);
  EXPECT_EQ(RoundToInt(1e10), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundToInt(-1e10), std::numeric_limits<int>::min());
  EXPECT_EQ(TruncToInt(-1e10), std::numeric_limits<int>::min());
  EXPECT_EQ(TruncToInt(7.99), 7);
  EXPECT_EQ(TruncToInt(NAN), 0);
}
