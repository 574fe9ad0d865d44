// quotes.csv: any text is parsed without harm, and every row the intake
// takes holds what the format allows: an upper-case symbol of at most 15
// characters, finite non-negative numbers, rows in file order. There is no
// writer of this file in the program, so the round trip is left out.
#include "FuzzSupport.h"

#include "acquisition/QuoteCsv.h"
#include "platform/AsciiText.h"

#include <cctype>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const QuoteCsvResult result = ParseQuoteCsv(input);
  const std::string where = "input: " + Shown(input);

  std::size_t lines = 1;
  for (char c : input)
    lines += c == '\n';
  FUZZ_CHECK(result.Rows.size() + result.Errors.size() <= lines + 1, where);
  int previous = 0;
  for (const QuoteCsvRow &row : result.Rows) {
    FUZZ_CHECK(row.LineNumber > previous, where);
    previous = row.LineNumber;
    FUZZ_CHECK(!row.Symbol.empty() && row.Symbol.size() <= 15, where);
    for (char c : row.Symbol)
      FUZZ_CHECK(AsciiUpper(c) == c, where + "\nsymbol " + Shown(row.Symbol));
    for (double v : {row.Last, row.Bid, row.Ask, row.Volume, row.High, row.Low, row.PrevClose})
      FUZZ_CHECK(std::isfinite(v) && v >= 0, where);
    FUZZ_CHECK(row.BidSize >= 0 && row.AskSize >= 0, where);
    FUZZ_CHECK(std::isfinite(row.Time), where);
  }
  for (const QuoteCsvError &error : result.Errors)
    FUZZ_CHECK(error.Text().size() <= 400, where + "\nerror: " + Shown(error.Text()));

  return 0;
}
