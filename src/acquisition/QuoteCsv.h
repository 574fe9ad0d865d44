#pragma once
// The quote file quotes.csv: a header line naming the columns, then one line
// per symbol. Column names ignore letter case, blanks, "_" and "-"; unknown
// columns are ignored; the symbol column is required. Fields are separated by
// commas and may be quoted ("a ""b"""). Blank lines and lines starting with
// "#" are skipped. A bad line is reported with its line number and the other
// lines are still read. The format is described in docs/quotes-csv.md.
#include "core/StockStore.h"
#include "platform/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

// The columns the intake understands.
enum class QuoteColumn {
  Symbol,
  Last,
  Bid,
  Ask,
  Volume,
  High,
  Low,
  PrevClose,
  BidSize,
  AskSize,
  Time,
  // Fundamentals (PrevClose is one of them as well).
  Open,
  CompanyName,
  Low52,
  High52,
  PE,
  Earnings,
  MarketCap,
  Dividend,
  Yield,
  Exchange,
  AvgVolume,
  Unknown,
};

// The column is one of the symbol's fundamentals: a file that names one
// stores the fundamentals record of every symbol it quotes.
bool IsFundamentalsColumn(QuoteColumn column);

// The column a header name stands for (Unknown when none).
QuoteColumn QuoteColumnOf(const std::string &name);

// A header with more columns is refused (a quote file has a dozen or two);
// reading it whole would only hold up the window.
inline constexpr std::size_t MaxQuoteColumns = 1000;

// A quote time: none (the intake stamps "now"), a time of day (market time,
// today) or a full date-time (market time).
enum class QuoteTimeKind { None, TimeOfDay, DateTime };

// One quote line.
struct QuoteCsvRow {
  int LineNumber = 0;
  std::string Symbol; // upper case, cut to the store's 15 characters
  double Last = 0;
  double Bid = 0;
  double Ask = 0;
  double Volume = 0;
  double High = 0;
  double Low = 0;
  double PrevClose = 0;
  std::int32_t BidSize = 0;
  std::int32_t AskSize = 0;
  QuoteTimeKind TimeKind = QuoteTimeKind::None;
  TDateTime Time = 0;
  // The quote parts (TQuotePart) the header names; the others are 0 here and
  // keep the symbol's stored values.
  std::uint32_t Given = AllQuoteParts;
  // The header names a fundamentals column: Fund holds the line's
  // fundamentals (PrevClose included), FundGiven (TFundPart) those the
  // header names; the others keep the symbol's stored values.
  bool HasFund = false;
  FundData Fund;
  std::uint32_t FundGiven = AllFundParts;
};

// The quote and fundamentals parts a column fills (0 for the others).
std::uint32_t QuotePartOf(QuoteColumn column);
std::uint32_t FundPartOf(QuoteColumn column);

// A line that could not be read.
struct QuoteCsvError {
  int LineNumber = 0; // 1-based; 0 for the file as a whole
  std::string Message;
  // "line 4: ..." (or the message alone for the whole file).
  std::string Text() const;
};

struct QuoteCsvResult {
  std::vector<QuoteCsvRow> Rows; // in file order
  std::vector<QuoteCsvError> Errors;
};

// Parses the whole text of a quote file (UTF-8, an optional byte-order mark,
// LF or CRLF line ends). Never throws.
QuoteCsvResult ParseQuoteCsv(const std::string &text);
// The same, reading at most maxRows quotes: the lines after the last one read
// are left, and an error of the whole file says so.
QuoteCsvResult ParseQuoteCsv(const std::string &text, std::size_t maxRows);

// ---- Field rules (exposed for tests and for other feeds) ----------------------------

// A field as an error text quotes it: in double quotes, at most 40 characters
// of it, so that one huge field cannot flood the log, its control and
// undecodable bytes shown as "\xNN" (VisibleText).
std::string QuotedCsvField(const std::string &field);
// Splits one line into fields at commas; quoted fields may hold commas and
// doubled quotes. False for an unterminated quote.
bool SplitCsvLine(const std::string &line, std::vector<std::string> &fields);

// The lines of a CSV text that hold something: a leading byte-order mark is
// passed over, lines end at LF (a CR before it is dropped), and blank lines
// and "#" comment lines are skipped, though counted.
class CsvLineReader {
public:
  explicit CsvLineReader(const std::string &text); // read in place: it must outlive the reader
  explicit CsvLineReader(std::string &&) = delete;
  // The next line that holds something; false at the end of the text.
  bool Next(std::string &line);
  // The 1-based number of the line Next gave last.
  int LineNumber() const { return m_lineNumber; }

private:
  const std::string &m_text;
  std::size_t m_pos = 0;
  int m_lineNumber = 0;
};
// A price or volume: a plain non-negative decimal such as "12", "12.5" or
// ".5" (no sign, exponent or thousands separator), at most 1e12; "" is 0.
// False when the text is not such a number.
bool ParseQuoteNumber(const std::string &text, double &value);
// The same with an optional leading "-" (P/E and earnings may be negative).
bool ParseSignedQuoteNumber(const std::string &text, double &value);
// A text field (company name, market cap, exchange): well-formed UTF-8 without
// control characters (C0, DEL, C1); cut to maxLength bytes, never inside a
// UTF-8 character.
bool ParseQuoteText(const std::string &text, std::size_t maxLength, std::string &value);
// A size: whole non-negative number up to 2147483647; "" is 0.
bool ParseQuoteSize(const std::string &text, std::int32_t &value);
// "hh:mm", "hh:mm:ss", "yyyy-mm-dd hh:mm[:ss]" or "yyyy-mm-ddThh:mm[:ss]";
// "" is no time. False for any other text or a time that does not exist.
bool ParseQuoteTime(const std::string &text, QuoteTimeKind &kind, TDateTime &time);
