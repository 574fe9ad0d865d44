// FormatDateTime and the date and time texts built on it.
#include "platform/AsciiText.h"
#include "platform/Format.h"

#include <cctype>
#include <string>

namespace {

const char *const kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const kLongMonths[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};
const char *const kShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *const kLongDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};

// The settings' own formats are expanded inside a pattern; this bounds the depth
// in case a format names itself.
constexpr int kMaxDepth = 3;

std::string Number(int value, int minDigits) {
  std::string s = std::to_string(value);
  if (int(s.size()) < minDigits)
    s.insert(0, std::size_t(minDigits) - s.size(), '0');
  return s;
}

bool StartsNoCase(const std::string &s, std::size_t at, const char *word) {
  for (std::size_t k = 0; word[k]; ++k) {
    if (at + k >= s.size() || AsciiUpper(s[at + k]) != word[k])
      return false;
  }
  return true;
}

// An hour token uses the 12-hour clock when an am/pm marker follows it before
// the next hour token.
bool TwelveHourAhead(const std::string &fmt, std::size_t from) {
  char quote = 0;
  for (std::size_t p = from; p < fmt.size(); ++p) {
    const char c = fmt[p];
    if (quote) {
      if (c == quote)
        quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == 'A' || c == 'a') {
      return StartsNoCase(fmt, p, "AM/PM") || StartsNoCase(fmt, p, "A/P") ||
             StartsNoCase(fmt, p, "AMPM");
    } else if (c == 'H' || c == 'h') {
      return false;
    }
  }
  return false;
}

struct Parts {
  int year = 0, month = 0, day = 0, dow = 1;
  int hour = 0, min = 0, sec = 0, msec = 0;
};

void Append(std::string &out, const std::string &fmt, const Parts &t, int depth) {
  if (depth > kMaxDepth)
    return;
  const TFormatSettings &fs = FormatSettings();
  char lastToken = 0;
  std::size_t i = 0;
  while (i < fmt.size()) {
    const char starter = fmt[i];
    std::size_t count = 1;
    while (i + count < fmt.size() && fmt[i + count] == starter)
      ++count;
    char token = starter;
    if (IsAsciiLetter(token)) {
      token = AsciiUpper(token);
      if (token == 'M' && lastToken == 'H')
        token = 'N';
      lastToken = token;
    }
    std::size_t used = count; // characters the token takes
    switch (token) {
    case '"':
    case '\'': {
      const std::size_t end = fmt.find(starter, i + 1);
      out += fmt.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      used = end == std::string::npos ? fmt.size() - i : end - i + 1;
      break;
    }
    case 'C':
      used = 1;
      Append(out, fs.ShortDateFormat, t, depth + 1);
      if (t.hour != 0 || t.min != 0 || t.sec != 0) {
        out += ' ';
        Append(out, fs.LongTimeFormat, t, depth + 1);
      }
      break;
    case 'D':
      switch (count) {
      case 1:
      case 2:
        out += Number(t.day, int(count));
        break;
      case 3:
        out += kShortDays[t.dow - 1];
        break;
      case 4:
        out += kLongDays[t.dow - 1];
        break;
      case 5:
        Append(out, fs.ShortDateFormat, t, depth + 1);
        break;
      default:
        used = 6;
        Append(out, fs.LongDateFormat, t, depth + 1);
        break;
      }
      break;
    case 'Y':
      out += count <= 2 ? Number(t.year % 100, 2) : Number(t.year, 4);
      break;
    case 'M':
      if (t.month < 1) {
        out += count <= 2 ? Number(0, int(count)) : "";
      } else if (count <= 2) {
        out += Number(t.month, int(count));
      } else {
        out += count == 3 ? kShortMonths[t.month - 1] : kLongMonths[t.month - 1];
      }
      break;
    case 'H': {
      int h = t.hour;
      if (TwelveHourAhead(fmt, i + count)) {
        h %= 12;
        if (h == 0)
          h = 12;
      }
      out += Number(h, count >= 2 ? 2 : 1);
      break;
    }
    case 'N':
      out += Number(t.min, count >= 2 ? 2 : 1);
      break;
    case 'S':
      out += Number(t.sec, count >= 2 ? 2 : 1);
      break;
    case 'Z':
      out += Number(t.msec, count >= 3 ? 3 : int(count));
      break;
    case 'T':
      Append(out, count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, t, depth + 1);
      break;
    case 'A':
      if (StartsNoCase(fmt, i, "AM/PM")) {
        out += fmt.substr(t.hour >= 12 ? i + 3 : i, 2); // as written: AM/PM, am/pm
        used = 5;
      } else if (StartsNoCase(fmt, i, "A/P")) {
        out += fmt[t.hour >= 12 ? i + 2 : i];
        used = 3;
      } else if (StartsNoCase(fmt, i, "AMPM")) {
        out += t.hour < 12 ? fs.TimeAMString : fs.TimePMString;
        used = 4;
      } else {
        out += starter;
        used = 1;
      }
      break;
    case '/':
      out += fs.DateSeparator;
      used = 1;
      break;
    case ':':
      out += fs.TimeSeparator;
      used = 1;
      break;
    default:
      out += starter;
      used = 1;
      break;
    }
    i += used;
  }
}

} // namespace

std::string FormatDateTime(const std::string &pattern, TDateTime dt) {
  Parts t;
  DecodeDate(dt, t.year, t.month, t.day);
  DecodeTime(dt, t.hour, t.min, t.sec, t.msec);
  t.dow = DayOfWeek(dt);
  if (t.dow < 1 || t.dow > 7)
    t.dow = 1;
  std::string out;
  Append(out, pattern.empty() ? "c" : pattern, t, 0);
  return out;
}

std::string DateToStr(TDateTime dt) { return FormatDateTime("ddddd", dt); }

std::string TimeToStr(TDateTime dt) { return FormatDateTime("tt", dt); }

std::string DateTimeToStr(TDateTime dt) { return FormatDateTime("c", dt); }
