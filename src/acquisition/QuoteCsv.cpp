#include "acquisition/QuoteCsv.h"

#include "core/MyStrList.h"
#include "core/StockInfo.h"
#include "core/StockStore.h"
#include "platform/AsciiText.h"
#include "platform/StringUtils.h"
#include "platform/VisibleText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <exception>
#include <limits>
#include <map>

namespace {

// Larger numbers are typing errors; they would also lose all precision in the
// store's single-precision fields.
constexpr double MaxQuoteNumber = 1e12;

enum class SplitResult { Ok, Unterminated, TooManyFields };

// SplitCsvLine, giving up once the line has more than maxFields fields.
SplitResult SplitFields(const std::string &line, std::vector<std::string> &fields,
                        std::size_t maxFields) {
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
      if (fields.size() == maxFields)
        return SplitResult::TooManyFields;
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
    return SplitResult::Unterminated;
  if (fields.size() == maxFields)
    return SplitResult::TooManyFields;
  fields.push_back(wasQuoted ? field : Trim(field));
  return SplitResult::Ok;
}

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
    {"OPEN", QuoteColumn::Open},
    {"COMPANYNAME", QuoteColumn::CompanyName},
    {"COMPANY", QuoteColumn::CompanyName},
    {"NAME", QuoteColumn::CompanyName},
    {"LOW52", QuoteColumn::Low52},
    {"52WEEKLOW", QuoteColumn::Low52},
    {"52WLOW", QuoteColumn::Low52},
    {"HIGH52", QuoteColumn::High52},
    {"52WEEKHIGH", QuoteColumn::High52},
    {"52WHIGH", QuoteColumn::High52},
    {"PE", QuoteColumn::PE},
    {"P/E", QuoteColumn::PE},
    {"PERATIO", QuoteColumn::PE},
    {"EARNINGS", QuoteColumn::Earnings},
    {"EARN", QuoteColumn::Earnings},
    {"EPS", QuoteColumn::Earnings},
    {"MARKETCAP", QuoteColumn::MarketCap},
    {"MKTCAP", QuoteColumn::MarketCap},
    {"DIVIDEND", QuoteColumn::Dividend},
    {"DIV", QuoteColumn::Dividend},
    {"YIELD", QuoteColumn::Yield},
    {"EXCHANGE", QuoteColumn::Exchange},
    {"EXCH", QuoteColumn::Exchange},
    {"AVGVOLUME", QuoteColumn::AvgVolume},
    {"AVERAGEVOLUME", QuoteColumn::AvgVolume},
    {"AVGVOL", QuoteColumn::AvgVolume},
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
  case QuoteColumn::Open:
    return "Open";
  case QuoteColumn::CompanyName:
    return "CompanyName";
  case QuoteColumn::Low52:
    return "Low52";
  case QuoteColumn::High52:
    return "High52";
  case QuoteColumn::PE:
    return "PE";
  case QuoteColumn::Earnings:
    return "Earnings";
  case QuoteColumn::MarketCap:
    return "MarketCap";
  case QuoteColumn::Dividend:
    return "Dividend";
  case QuoteColumn::Yield:
    return "Yield";
  case QuoteColumn::Exchange:
    return "Exchange";
  case QuoteColumn::AvgVolume:
    return "AvgVolume";
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

std::string Quoted(const std::string &s) { return QuotedCsvField(s); }

} // namespace

std::string QuotedCsvField(const std::string &field) {
  return "\"" + VisibleText(CutTo(field, 40)) + "\"";
}

QuoteColumn QuoteColumnOf(const std::string &name) {
  std::string key;
  for (char c : name) {
    if (c == ' ' || c == '\t' || c == '_' || c == '-')
      continue;
    key += AsciiUpper(c);
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
  return SplitFields(line, fields, fields.max_size()) == SplitResult::Ok;
}

CsvLineReader::CsvLineReader(const std::string &text)
    : m_text(text), m_pos(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0) {}

bool CsvLineReader::Next(std::string &line) {
  while (m_pos < m_text.size()) {
    std::size_t eol = m_text.find('\n', m_pos);
    if (eol == std::string::npos)
      eol = m_text.size();
    line.assign(m_text, m_pos, eol - m_pos);
    m_pos = eol + 1;
    ++m_lineNumber;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    // As Trim sees it: blank is every byte up to the space.
    const auto first = std::find_if(line.begin(), line.end(),
                                    [](char c) { return static_cast<unsigned char>(c) > ' '; });
    if (first != line.end() && *first != '#')
      return true;
  }
  return false;
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

bool ParseSignedQuoteNumber(const std::string &text, double &value) {
  const std::string t = Trim(text);
  if (t.empty() || t[0] != '-')
    return ParseQuoteNumber(t, value);
  const std::string magnitude = t.substr(1);
  if (magnitude.empty() || magnitude[0] == ' ' || !ParseQuoteNumber(magnitude, value))
    return false;
  value = -value;
  return true;
}

bool ParseQuoteText(const std::string &text, std::size_t maxLength, std::string &value) {
  value.clear();
  // No control character (C0, DEL, C1) and nothing that is not UTF-8.
  if (!IsCleanText(text))
    return false;
  std::size_t n = std::min(text.size(), maxLength);
  // Back to the start of a UTF-8 character (continuation bytes are 10xxxxxx).
  while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
    --n;
  value = Trim(text.substr(0, n));
  return true;
}

bool IsFundamentalsColumn(QuoteColumn column) {
  switch (column) {
  case QuoteColumn::PrevClose:
  case QuoteColumn::Open:
  case QuoteColumn::CompanyName:
  case QuoteColumn::Low52:
  case QuoteColumn::High52:
  case QuoteColumn::PE:
  case QuoteColumn::Earnings:
  case QuoteColumn::MarketCap:
  case QuoteColumn::Dividend:
  case QuoteColumn::Yield:
  case QuoteColumn::Exchange:
  case QuoteColumn::AvgVolume:
    return true;
  default:
    return false;
  }
}

std::uint32_t QuotePartOf(QuoteColumn column) {
  switch (column) {
  case QuoteColumn::Last:
    return qpLast;
  case QuoteColumn::Bid:
    return qpBid;
  case QuoteColumn::Ask:
    return qpAsk;
  case QuoteColumn::Volume:
    return qpVolume;
  case QuoteColumn::High:
    return qpHigh;
  case QuoteColumn::Low:
    return qpLow;
  case QuoteColumn::PrevClose:
    return qpPrevClose;
  case QuoteColumn::BidSize:
    return qpBidSize;
  case QuoteColumn::AskSize:
    return qpAskSize;
  default:
    return 0;
  }
}

std::uint32_t FundPartOf(QuoteColumn column) {
  switch (column) {
  case QuoteColumn::PrevClose:
    return fpPrevClose;
  case QuoteColumn::Open:
    return fpOpen;
  case QuoteColumn::CompanyName:
    return fpCompanyName;
  case QuoteColumn::Low52:
    return fpLow52;
  case QuoteColumn::High52:
    return fpHigh52;
  case QuoteColumn::PE:
    return fpPE;
  case QuoteColumn::Earnings:
    return fpEarnings;
  case QuoteColumn::MarketCap:
    return fpMarketCap;
  case QuoteColumn::Dividend:
    return fpDividend;
  case QuoteColumn::Yield:
    return fpYield;
  case QuoteColumn::Exchange:
    return fpExchange;
  case QuoteColumn::AvgVolume:
    return fpAvgVolume;
  default:
    return 0;
  }
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
  return ParseQuoteCsv(input, std::numeric_limits<std::size_t>::max());
}

QuoteCsvResult ParseQuoteCsv(const std::string &input, std::size_t maxRows) {
  QuoteCsvResult result;
  std::vector<QuoteColumn> columns; // empty until the header is read
  bool hasFund = false;             // the header names a fundamentals column
  std::uint32_t quoteParts = 0;     // the quote parts the header names
  std::uint32_t fundParts = 0;      // the fundamentals the header names
  std::map<std::string, int> seen;  // symbol -> line of its first quote
  std::vector<std::string> fields;
  CsvLineReader lines(input);
  std::string line;
  int lineNumber = 0;
  auto fail = [&](const std::string &message) {
    result.Errors.push_back(QuoteCsvError{lineNumber, message});
  };

  while (lines.Next(line)) {
    lineNumber = lines.LineNumber();
    // A header is read up to its column cap; a quote line whole, since its
    // field count is reported.
    const SplitResult split =
        SplitFields(line, fields, columns.empty() ? MaxQuoteColumns : fields.max_size());
    if (split == SplitResult::TooManyFields) {
      fail("the header has more than " + std::to_string(MaxQuoteColumns) + " columns");
      return result;
    }
    if (split == SplitResult::Unterminated) {
      fail("unterminated quote");
      if (columns.empty())
        return result; // without a header nothing else can be read
      continue;
    }

    if (columns.empty()) {
      int symbolColumns = 0;
      // Of the columns named twice, the one named first.
      constexpr std::size_t kKnown = std::size_t(QuoteColumn::Unknown);
      std::array<std::size_t, kKnown> firstAt;
      firstAt.fill(fields.size());
      std::array<bool, kKnown> twice{};
      for (std::size_t i = 0; i < fields.size(); ++i) {
        const QuoteColumn c = QuoteColumnOf(fields[i]);
        columns.push_back(c);
        if (c == QuoteColumn::Symbol)
          ++symbolColumns;
        if (c == QuoteColumn::Unknown)
          continue;
        if (firstAt[std::size_t(c)] < i)
          twice[std::size_t(c)] = true;
        else
          firstAt[std::size_t(c)] = i;
      }
      std::string repeated;
      std::size_t repeatedAt = fields.size();
      for (std::size_t c = 0; c < kKnown; ++c)
        if (twice[c] && firstAt[c] < repeatedAt) {
          repeatedAt = firstAt[c];
          repeated = ColumnTitle(QuoteColumn(c));
        }
      if (symbolColumns == 0) {
        fail("the header names no Symbol column");
        return result;
      }
      if (!repeated.empty()) {
        fail("the header names the " + repeated + " column twice");
        return result;
      }
      hasFund = std::any_of(columns.begin(), columns.end(), IsFundamentalsColumn);
      for (QuoteColumn c : columns) {
        quoteParts |= QuotePartOf(c);
        fundParts |= FundPartOf(c);
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
      case QuoteColumn::Open:
        ok = ParseQuoteNumber(f, row.Fund.Open);
        break;
      case QuoteColumn::CompanyName:
        ok = ParseQuoteText(f, CompanyNameMaxLength, row.Fund.CompanyName);
        break;
      case QuoteColumn::Low52:
        ok = ParseQuoteNumber(f, row.Fund.Low52);
        break;
      case QuoteColumn::High52:
        ok = ParseQuoteNumber(f, row.Fund.High52);
        break;
      case QuoteColumn::PE:
        ok = ParseSignedQuoteNumber(f, row.Fund.PE);
        break;
      case QuoteColumn::Earnings:
        ok = ParseSignedQuoteNumber(f, row.Fund.Earnings);
        break;
      case QuoteColumn::MarketCap:
        ok = ParseQuoteText(f, MarketCapMaxLength, row.Fund.MarketCap);
        break;
      case QuoteColumn::Dividend:
        ok = ParseQuoteNumber(f, row.Fund.Dividend);
        break;
      case QuoteColumn::Yield:
        ok = ParseQuoteNumber(f, row.Fund.Yield);
        break;
      case QuoteColumn::Exchange:
        ok = ParseQuoteText(f, ExchangeMaxLength, row.Fund.Exchange);
        break;
      case QuoteColumn::AvgVolume:
        ok = ParseQuoteNumber(f, row.Fund.AvgVolume);
        break;
      case QuoteColumn::Unknown:
        break;
      }
      if (!ok)
        error = std::string(ColumnTitle(c)) + " " + Quoted(f) + " is not valid";
    }
    row.Given = quoteParts;
    row.HasFund = hasFund;
    row.FundGiven = fundParts;
    row.Fund.PrevClose = row.PrevClose;
    if (error.empty()) {
      const auto [it, added] = seen.emplace(row.Symbol, lineNumber);
      if (!added)
        error = row.Symbol + " repeats line " + std::to_string(it->second);
    }
    if (!error.empty()) {
      fail(error);
      continue;
    }
    if (result.Rows.size() == maxRows) {
      result.Errors.push_back(QuoteCsvError{0, "more than " + std::to_string(maxRows) +
                                                   " symbols; only the first " +
                                                   std::to_string(maxRows) + " are read"});
      break;
    }
    result.Rows.push_back(std::move(row));
  }
  if (columns.empty())
    result.Errors.push_back(QuoteCsvError{0, "no header line"});
  return result;
}
