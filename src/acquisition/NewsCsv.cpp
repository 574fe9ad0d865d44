#include "acquisition/NewsCsv.h"

#include "core/MyStrList.h"
#include "core/StockStore.h"
#include "platform/AsciiText.h"
#include "platform/OpenUrl.h"
#include "platform/StringUtils.h"
#include "platform/VisibleText.h"

#include <array>
#include <cctype>

namespace {

enum class NewsColumn { Symbol, Time, Source, Title, Link, Unknown };
constexpr std::size_t kNewsColumns = std::size_t(NewsColumn::Unknown);
constexpr std::array<const char *, kNewsColumns> kTitles = {"Symbol", "Time", "Source", "Title",
                                                            "Link"};

NewsColumn NewsColumnOf(const std::string &name) {
  std::string key;
  for (char c : name)
    if (c != ' ' && c != '\t' && c != '_' && c != '-')
      key += AsciiUpper(c);
  for (std::size_t i = 0; i < kNewsColumns; ++i)
    if (key == UpperCase(kTitles[i]))
      return NewsColumn(i);
  return NewsColumn::Unknown;
}

// The header's columns; "" when it is valid, else the reason.
std::string ReadHeader(const std::vector<std::string> &fields, std::vector<NewsColumn> &columns) {
  columns.clear();
  std::array<bool, kNewsColumns> named{};
  for (const std::string &f : fields) {
    const NewsColumn c = NewsColumnOf(f);
    columns.push_back(c);
    if (c == NewsColumn::Unknown)
      continue;
    if (named[std::size_t(c)])
      return std::string("the header names the ") + kTitles[std::size_t(c)] + " column twice";
    named[std::size_t(c)] = true;
  }
  for (std::size_t i = 0; i < kNewsColumns; ++i)
    if (!named[i])
      return std::string("the header names no ") + kTitles[i] + " column";
  return {};
}

std::string Invalid(NewsColumn c, const std::string &field) {
  return std::string(kTitles[std::size_t(c)]) + " " + QuotedCsvField(field) + " is not valid";
}

// One item line; "" when it is valid, else the reason.
std::string ReadRow(const std::vector<std::string> &fields, const std::vector<NewsColumn> &columns,
                    NewsCsvRow &row) {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const std::string &f = fields[i];
    switch (columns[i]) {
    case NewsColumn::Symbol:
      if (f.empty())
        return "no symbol";
      if (f.find_first_of("| \t") != std::string::npos || !IsCleanText(f))
        return "bad symbol " + QuotedCsvField(f);
      if (IsCashSymbol(f))
        return "cash has no news";
      row.Symbol = TMyStrList::KeyOf(f);
      break;
    case NewsColumn::Time: {
      QuoteTimeKind kind = QuoteTimeKind::None;
      if (f.empty())
        return "no time";
      // From 1900 on: earlier days are negative date-times, whose time of
      // day counts the other way.
      if (!ParseQuoteTime(f, kind, row.Time) || kind != QuoteTimeKind::DateTime ||
          row.Time < EncodeDate(1900, 1, 1))
        return Invalid(columns[i], f);
      break;
    }
    case NewsColumn::Source:
      if (!ParseQuoteText(f, NewsSourceMaxLength, row.Source))
        return Invalid(columns[i], f);
      if (row.Source.empty())
        return "no source";
      break;
    case NewsColumn::Title:
      if (!ParseQuoteText(f, NewsTitleMaxLength, row.Title))
        return Invalid(columns[i], f);
      if (row.Title.empty())
        return "no title";
      break;
    case NewsColumn::Link: {
      std::string link;
      if (f.size() > NewsLinkMaxLength || !ParseQuoteText(f, NewsLinkMaxLength, link))
        return Invalid(columns[i], f);
      // Only web addresses are kept: nothing else may ever be opened.
      row.Link = link.empty() ? std::string() : WebLinkUrl(link);
      if (!link.empty() && row.Link.empty())
        return "Link " + QuotedCsvField(f) + " is not a web address";
      // The address as kept ("http://" added, bad bytes replaced) within the cap too.
      if (row.Link.size() > NewsLinkMaxLength)
        return Invalid(columns[i], f);
      break;
    }
    case NewsColumn::Unknown:
      break;
    }
  }
  return {};
}

} // namespace

NewsCsvResult ParseNewsCsv(const std::string &text, std::size_t maxLines) {
  NewsCsvResult result;
  std::vector<NewsColumn> columns; // empty until the header is read
  std::vector<std::string> fields;
  CsvLineReader lines(text);
  std::string line;
  int lineNumber = 0;
  auto fail = [&](const std::string &message) {
    result.Errors.push_back(QuoteCsvError{lineNumber, message});
  };

  while (lines.Next(line)) {
    lineNumber = lines.LineNumber();
    if (std::size_t(lineNumber) > maxLines) {
      result.Errors.push_back(QuoteCsvError{0, "more than " + std::to_string(maxLines) +
                                                   " lines; the rest is not read"});
      break;
    }
    if (!SplitCsvLine(line, fields)) {
      fail("unterminated quote");
      if (columns.empty())
        return result; // without a header nothing else can be read
      continue;
    }
    if (columns.empty()) {
      if (fields.size() > MaxQuoteColumns) {
        fail("the header has more than " + std::to_string(MaxQuoteColumns) + " columns");
        return result;
      }
      const std::string error = ReadHeader(fields, columns);
      if (!error.empty()) {
        fail(error);
        return result;
      }
      continue;
    }
    if (fields.size() != columns.size()) {
      fail(std::to_string(fields.size()) + " fields where the header has " +
           std::to_string(columns.size()));
      continue;
    }
    NewsCsvRow row;
    row.LineNumber = lineNumber;
    const std::string error = ReadRow(fields, columns, row);
    if (!error.empty()) {
      fail(error);
      continue;
    }
    result.Rows.push_back(std::move(row));
  }
  if (columns.empty() && result.Errors.empty())
    result.Errors.push_back(QuoteCsvError{0, "no header line"});
  return result;
}
