#pragma once
// The news file news.csv: a header line naming the columns Symbol, Time,
// Source, Title and Link (any order; letter case, blanks, "_" and "-" in the
// names ignored; other columns ignored), then one line per news item. Fields
// are split as in quotes.csv (QuoteCsv.h): commas, optional double quotes,
// doubled quotes inside them. Blank lines and lines starting with "#" are
// skipped. A bad line is reported with its line number and the other lines
// are still read. The format is described in docs/news-csv.md.
#include "acquisition/QuoteCsv.h"
#include "platform/DateTime.h"

#include <cstddef>
#include <string>
#include <vector>

// Longest fields kept (bytes; cut, never inside a UTF-8 character).
inline constexpr std::size_t NewsTitleMaxLength = 512;
inline constexpr std::size_t NewsSourceMaxLength = 64;
inline constexpr std::size_t NewsLinkMaxLength = 2048;
// Lines read of one file; the rest is reported and left unread.
inline constexpr std::size_t MaxNewsLines = 100000;

// One news line.
struct NewsCsvRow {
  int LineNumber = 0;
  std::string Symbol; // upper case, at most 15 characters
  TDateTime Time = 0; // market time
  std::string Source;
  std::string Title;
  std::string Link; // "" or a web address as WebLinkUrl gives it
};

struct NewsCsvResult {
  std::vector<NewsCsvRow> Rows; // in file order
  std::vector<QuoteCsvError> Errors;
};

// Parses the whole text of a news file (UTF-8, an optional byte-order mark,
// LF or CRLF line ends), reading at most maxLines lines. Never throws.
NewsCsvResult ParseNewsCsv(const std::string &text, std::size_t maxLines = MaxNewsLines);
