// news.csv: any text is parsed without harm; every item taken holds what the
// format allows (an upper-case symbol of at most 15 characters, a source and
// a title within their caps, a link that is empty or a web address, rows in
// file order), all of it clean UTF-8 without control characters, and error
// texts too; and the items written back as a news file read the same.
#include "FuzzSupport.h"

#include "acquisition/NewsCsv.h"
#include "platform/AsciiText.h"
#include "platform/DateTime.h"
#include "platform/OpenUrl.h"
#include "platform/VisibleText.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

std::string Quote(const std::string &field) {
  std::string out = "\"";
  for (char c : field) {
    out += c;
    if (c == '"')
      out += '"';
  }
  return out + "\"";
}

// yyyy-mm-dd hh:nn:ss, the seconds rounded.
std::string TimeText(TDateTime t) {
  const TDateTime rounded = std::round(t * 86400.0) / 86400.0;
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
  DecodeDate(rounded, y, mo, d);
  DecodeTime(rounded, h, mi, s, ms);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
  return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const NewsCsvResult result = ParseNewsCsv(input, 1000);
  const std::string where = "input: " + Shown(input);

  FUZZ_CHECK(result.Rows.size() <= 1000, where);
  int previous = 0;
  std::string written = "Symbol,Time,Source,Title,Link\n";
  for (const NewsCsvRow &row : result.Rows) {
    FUZZ_CHECK(row.LineNumber > previous, where);
    previous = row.LineNumber;
    FUZZ_CHECK(!row.Symbol.empty() && row.Symbol.size() <= 15, where);
    for (char c : row.Symbol)
      FUZZ_CHECK(AsciiUpper(c) == c, where);
    FUZZ_CHECK(std::isfinite(row.Time) && row.Time > 0, where);
    FUZZ_CHECK(!row.Source.empty() && row.Source.size() <= NewsSourceMaxLength, where);
    FUZZ_CHECK(!row.Title.empty() && row.Title.size() <= NewsTitleMaxLength, where);
    // Nothing raw is stored: no control character, nothing that is not UTF-8.
    FUZZ_CHECK(IsCleanText(row.Symbol) && IsCleanText(row.Source) && IsCleanText(row.Title) &&
                   IsCleanText(row.Link),
               where);
    FUZZ_CHECK(row.Link.empty() || WebLinkUrl(row.Link) == row.Link,
               where + "\nlink " + Shown(row.Link));
    written += Quote(row.Symbol) + "," + TimeText(row.Time) + "," + Quote(row.Source) + "," +
               Quote(row.Title) + "," + Quote(row.Link) + "\n";
  }
  for (const QuoteCsvError &error : result.Errors) {
    FUZZ_CHECK(error.Text().size() <= 400, where + "\nerror: " + Shown(error.Text()));
    FUZZ_CHECK(IsCleanText(error.Text()), where + "\nerror: " + Shown(error.Text()));
  }

  const NewsCsvResult again = ParseNewsCsv(written, 1001);
  FUZZ_CHECK(again.Errors.empty(), where + "\nwritten: " + Shown(written) + "\nerror: " +
                                       (again.Errors.empty() ? "" : again.Errors[0].Text()));
  FUZZ_CHECK(again.Rows.size() == result.Rows.size(), where);
  for (std::size_t i = 0; i < again.Rows.size(); ++i) {
    const NewsCsvRow &a = result.Rows[i];
    const NewsCsvRow &b = again.Rows[i];
    FUZZ_CHECK(a.Symbol == b.Symbol && a.Source == b.Source && a.Title == b.Title &&
                   a.Link == b.Link,
               where);
    // The file holds whole seconds.
    FUZZ_CHECK(std::fabs(a.Time - b.Time) <= 1.5 / 86400, where);
  }
  return 0;
}
