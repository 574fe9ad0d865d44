#include "acquisition/QuoteCsv.h"

#include "core/MyStrList.h"
#include "core/StockStore.h"
#include "platform/StringUtils.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <exception>
#include <map>

namespace {

// Larger numbers are typing errors; they would also lose all precision in the
// store's single-precision fields.
constexpr double MaxQuoteNumber = 1e12;

struct ColumnName {
  const char *name;
  QuoteColumn column;
};

// Names after normalising (upper case, no blanks, "_" or "-").
constexpr ColumnName ColumnNames[] = {
    {"SYMBOL", QuoteColumn::Symbol},
    {"SYM", QuoteColumn::Symbol},
    {"LAST", QuoteColumn::Last},
    {"PRICE", QuoteColumn::Last},
    {"BID", QuoteColumn::Bid},
    {"ASK", QuoteColumn::Ask},
    {"VOLUME", QuoteColumn::Volume},
    {"VOL", QuoteColumn::Volume},
    {"HIGH", QuoteColumn::High},
    {"LOW", QuoteColumn::Low},
    {"PREVCLOSE", QuoteColumn::PrevClose},
    {"PREVIOUSCLOSE", QuoteColumn::PrevClose},
    {"PRVCLS", QuoteColumn::PrevClose},
    {"BIDSIZE", QuoteColumn::BidSize},
    {"ASKSIZE", QuoteColumn::AskSize},
    {"TIME", QuoteColumn::Time},
    {"QUOTETIME", QuoteColumn::Time},
    {"DATETIME", QuoteColumn::Time},
    {"BSIZE", QuoteColumn::BidSize},
    {"ASIZE", QuoteColumn::AskSize},
};

const char *ColumnTitle(QuoteColumn c) {
  switch (c) {
  case QuoteColumn::Symbol:
    return "Symbol";
  case QuoteColumn::Last:
    return "Last";
  case QuoteColumn::Bid:
    return "Bid";
  case QuoteColumn::Ask:
    return "Ask";
  case QuoteColumn::Volume:
    return "Volume";
  case QuoteColumn::High:
    return "High";
  case QuoteColumn::Low:
    return "Low";
  case QuoteColumn::PrevClose:
    return "PrevClose";
  case QuoteColumn::BidSize:
    return "BidSize";
  case QuoteColumn::AskSize:
    return "AskSize";
  case QuoteColumn::Time:
    return "Time";
  case QuoteColumn::Unknown:
    break;
  }
  return "?";
}

bool AllDigits(const std::string &s) {
  if (s.empty())
    return false;
  for (char c : s)
    if (c < '0' || c > '9')
      return false;
  return true;
}

// Whole number of exactly `width` digits (width 0: one or two digits).
bool TakeNumber(const std::string &s, int width, int &value) {
  if (!AllDigits(s) || (width > 0 && int(s.size()) != width) || (width == 0 && s.size() > 2))
    return false;
  value = std::stoi(s);
  return true;
}

bool ParseClock(const std::string &text, TDateTime &time) {
  const std::size_t c1 = text.find(':');
  if (c1 == std::string::npos)
    return false;
  const std::size_t c2 = text.find(':', c1 + 1);
  int h = 0, m = 0, s = 0;
  if (!TakeNumber(text.substr(0, c1), 0, h))
    return false;
  if (c2 == std::string::npos) {
    if (!TakeNumber(text.substr(c1 + 1), 2, m))
      return false;
  } else if (!TakeNumber(text.substr(c1 + 1, c2 - c1 - 1), 2, m) ||
             !TakeNumber(text.substr(c2 + 1), 2, s)) {
    return false;
  }
  if (h > 23 || m > 59 || s > 59)
    return false;
  time = EncodeTime(h, m, s, 0);
  return true;
}

bool ParseDate(const std::string &text, TDateTime &date) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-')
    return false;
  int y = 0, mo = 0, d = 0;
  if (!TakeNumber(text.substr(0, 4), 4, y) || !TakeNumber(text.substr(5, 2), 2, mo) ||
      !TakeNumber(text.substr(8, 2), 2, d))
    return false;
  if (y < 1 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo))
    return false;
  date = EncodeDate(y, mo, d);
  return true;
}

// A field quoted in an error text: at most 40 characters of it, so that one
// huge field cannot flood the log.
std::string Quoted(const std::string &s) {
  return "\"" + CutTo(s, 40) + "\"";
}

} // namespace

QuoteColumn QuoteColumnOf(const std::string &name) {
  std::string key;
  for (char c : name) {
    if (c == ' ' || c == '\t' || c == '_' || c == '-')
      continue;
    key += char(std::toupper(static_cast<unsigned char>(c)));
  }
  for (const ColumnName &n : ColumnNames)
    if (key == n.name)
      return n.column;
  return QuoteColumn::Unknown;
}

std::string QuoteCsvError::Text() const {
  if (LineNumber <= 0)
    return Message;
  return "line " + std::to_string(LineNumber) + ": " + Message;
}

bool SplitCsvLine(const std::string &line, std::vector<std::string> &fields) {
  fields.clear();
  std::string field;
  bool quoted = false;    // inside quotes
  bool wasQuoted = false; // this field began with a quote
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        field += c;
      }
    } else if (c == ',') {
      fields.push_back(wasQuoted ? field : Trim(field));
      field.clear();
      wasQuoted = false;
    } else if (c == '"' && Trim(field).empty() && !wasQuoted) {
      field.clear();
      quoted = true;
      wasQuoted = true;
    } else {
      field += c;
    }
  }
  if (quoted)
    return false;
  fields.push_back(wasQuoted ? field : Trim(field));
  return true;
}

bool ParseQuoteNumber(const std::string &text, double &value) {
  const std::string t = Trim(text);
  value = 0;
  if (t.empty())
    return true;
  // Digits with at most one decimal point and at least one digit.
  int points = 0, digits = 0;
  for (char c : t) {
    if (c == '.')
      ++points;
    else if (c >= '0' && c <= '9')
      ++digits;
    else
      return false;
  }
  if (points > 1 || digits == 0)
    return false;
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v) || v > MaxQuoteNumber)
    return false;
  value = v;
  return true;
}

bool ParseQuoteSize(const std::string &text, std::int32_t &value) {
  const std::string t = Trim(text);
  value = 0;
  if (t.empty())
    return true;
  if (!AllDigits(t))
    return false;
  std::int32_t v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size())
    return false;
  value = v;
  return true;
}

bool ParseQuoteTime(const std::string &text, QuoteTimeKind &kind, TDateTime &time) {
  const std::string t = Trim(text);
  kind = QuoteTimeKind::None;
  time = 0;
  if (t.empty())
    return true;
  try {
    const std::size_t sep = t.find_first_of(" T");
    if (sep == std::string::npos) {
      if (!ParseClock(t, time))
        return false;
      kind = QuoteTimeKind::TimeOfDay;
      return true;
    }
    TDateTime date = 0, clock = 0;
    if (!ParseDate(t.substr(0, sep), date) || !ParseClock(Trim(t.substr(sep + 1)), clock))
      return false;
    time = date + clock;
    kind = QuoteTimeKind::DateTime;
    return true;
  } catch (const std::exception &) {
    time = 0;
    return false;
  }
}

QuoteCsvResult ParseQuoteCsv(const std::string &input) {
  QuoteCsvResult result;
  std::string text = input;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
    text.erase(0, 3);

  std::vector<QuoteColumn> columns; // empty until the header is read
  std::map<std::string, int> seen;  // symbol -> line of its first quote
  std::vector<std::string> fields;
  int lineNumber = 0;
  std::size_t pos = 0;
  auto fail = [&](const std::string &message) {
    result.Errors.push_back(QuoteCsvError{lineNumber, message});
  };

  while (pos < text.size()) {
    std::size_t eol = text.find('\n', pos);
    if (eol == std::string::npos)
      eol = text.size();
    std::string line = text.substr(pos, eol - pos);
    pos = eol + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#')
      continue;
    if (!SplitCsvLine(line, fields)) {
      fail("unterminated quote");
      if (columns.empty())
        return result; // without a header nothing else can be read
      continue;
    }

    if (columns.empty()) {
      int symbolColumns = 0;
      for (const std::string &f : fields) {
        columns.push_back(QuoteColumnOf(f));
        if (columns.back() == QuoteColumn::Symbol)
          ++symbolColumns;
      }
      std::string repeated;
      for (std::size_t i = 0; i < columns.size() && repeated.empty(); ++i)
        for (std::size_t j = i + 1; j < columns.size(); ++j)
          if (columns[i] != QuoteColumn::Unknown && columns[i] == columns[j]) {
            repeated = ColumnTitle(columns[i]);
            break;
          }
      if (symbolColumns == 0) {
        fail("the header names no Symbol column");
        return result;
      }
      if (!repeated.empty()) {
        fail("the header names the " + repeated + " column twice");
        return result;
      }
      continue;
    }

    if (fields.size() != columns.size()) {
      fail(std::to_string(fields.size()) + " fields where the header has " +
           std::to_string(columns.size()));
      continue;
    }

    QuoteCsvRow row;
    row.LineNumber = lineNumber;
    std::string error;
    for (std::size_t i = 0; i < columns.size() && error.empty(); ++i) {
      const std::string &f = fields[i];
      const QuoteColumn c = columns[i];
      bool ok = true;
      switch (c) {
      case QuoteColumn::Symbol:
        if (f.empty())
          error = "no symbol";
        else if (f.find_first_of("| \t") != std::string::npos)
          error = "bad symbol " + Quoted(f);
        else if (IsCashSymbol(f))
          error = "cash has no quote";
        else
          row.Symbol = TMyStrList::KeyOf(f);
        break;
      case QuoteColumn::Last:
        ok = ParseQuoteNumber(f, row.Last);
        break;
      case QuoteColumn::Bid:
        ok = ParseQuoteNumber(f, row.Bid);
        break;
      case QuoteColumn::Ask:
        ok = ParseQuoteNumber(f, row.Ask);
        break;
      case QuoteColumn::Volume:
        ok = ParseQuoteNumber(f, row.Volume);
        break;
      case QuoteColumn::High:
        ok = ParseQuoteNumber(f, row.High);
        break;
      case QuoteColumn::Low:
        ok = ParseQuoteNumber(f, row.Low);
        break;
      case QuoteColumn::PrevClose:
        ok = ParseQuoteNumber(f, row.PrevClose);
        break;
      case QuoteColumn::BidSize:
        ok = ParseQuoteSize(f, row.BidSize);
        break;
      case QuoteColumn::AskSize:
        ok = ParseQuoteSize(f, row.AskSize);
        break;
      case QuoteColumn::Time:
        ok = ParseQuoteTime(f, row.TimeKind, row.Time);
        break;
      case QuoteColumn::Unknown:
        break;
      }
      if (!ok)
        error = std::string(ColumnTitle(c)) + " " + Quoted(f) + " is not valid";
    }
    if (error.empty()) {
      const auto [it, added] = seen.emplace(row.Symbol, lineNumber);
      if (!added)
        error = row.Symbol + " repeats line " + std::to_string(it->second);
    }
    if (!error.empty()) {
      fail(error);
      continue;
    }
    result.Rows.push_back(std::move(row));
  }
  if (columns.empty())
    result.Errors.push_back(QuoteCsvError{0, "no header line"});
  return result;
}
