#pragma once
#include "platform/DateTime.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

// Program-wide format settings, fixed and independent of the process locale.
struct TFormatSettings {
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, mmmm d, yyyy";
  std::string ShortTimeFormat = "h:nn AMPM";
  std::string LongTimeFormat = "h:nn:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  // Money (%m, ffCurrency): CurrencyFormat 0..3 places the symbol for positive
  // amounts ("$1", "1$", "$ 1", "1 $"), NegCurrFormat 0..15 for negative ones
  // (0 is "($1)", 1 is "-$1").
  std::string CurrencyString = "$";
  int CurrencyFormat = 0;
  int NegCurrFormat = 0;
  int CurrencyDecimals = 2;
};
const TFormatSettings &FormatSettings();

// One argument of Format: an integer (any integral type widens to int64), a
// floating value or a text.
class TFormatArg : public std::variant<std::int64_t, double, std::string> {
public:
  using Base = std::variant<std::int64_t, double, std::string>;
  template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
  TFormatArg(T v) : Base(std::in_place_type<std::int64_t>, static_cast<std::int64_t>(v)) {}
  TFormatArg(double v) : Base(v) {}
  TFormatArg(std::string s) : Base(std::move(s)) {}
  TFormatArg(const char *s) : Base(std::string(s ? s : "")) {}
};

// The class library's Format: %d %u %x %s %f %n %g %e %m %% with
// [-][width][.precision]; %n groups thousands. Decimal values round half away
// from zero and "-0" is never printed. A missing or mismatched argument raises
// EConvertError.
std::string Format(const std::string &fmt, std::initializer_list<TFormatArg> args);

// FormatFloat patterns: 0 # . , E+ E- ; sections (positive;negative;zero),
// quoted literals and other characters copied as they stand.
std::string FormatFloat(const std::string &pattern, double value);

// FormatDateTime patterns: c d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy
// h hh n nn s ss z zzz t tt am/pm a/p ampm / : and quoted literals. "m" right
// after an "h" means minutes.
std::string FormatDateTime(const std::string &pattern, TDateTime dt);

// Date and time in the settings' formats: "ddddd", "tt" and "c".
std::string DateToStr(TDateTime dt);
std::string TimeToStr(TDateTime dt);
std::string DateTimeToStr(TDateTime dt);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
// precision: significant digits (1..18); digits: minimum exponent digits for
// ffGeneral/ffExponent, decimals for ffFixed/ffNumber/ffCurrency.
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);

std::string IntToStr(std::int64_t value);
std::string FloatToStr(double value); // up to 15 significant digits, general form
// Parsing: throws EConvertError on bad input; the ...Def variants return the default.
std::int64_t StrToInt(const std::string &text);
std::int64_t StrToIntDef(const std::string &text, std::int64_t def);
double StrToFloat(const std::string &text);
double StrToFloatDef(const std::string &text, double def);

// Rounds halves to the even neighbour; saturates at the int64 range (NaN gives 0).
std::int64_t Round(double value);
// Truncates toward zero; saturates at the int64 range (NaN gives 0).
std::int64_t Trunc(double value);
// Saturating conversions to int for pixel coordinates.
int RoundToInt(double value);
int TruncToInt(double value);
