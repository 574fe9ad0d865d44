// port.dat: any text is parsed without harm, damaged lines are reported,
// and what was read, written and read again is the same.
#include "FuzzSupport.h"

#include "core/PortfolioFile.h"

#include <cmath>

namespace {

std::string Describe(const std::vector<PortfolioFileEntry> &portfolios) {
  std::string out;
  for (const PortfolioFileEntry &p : portfolios) {
    out += "[" + Shown(p.Name) + "|" + Shown(p.Key) + "]";
    for (const PortPosition &pos : p.Positions)
      out += " " + Shown(pos.Symbol) + "," + std::to_string(pos.Quantity) + "," +
             Shown(pos.PaidText) + "," + std::to_string(pos.Commission) + "," + Shown(pos.Note) +
             "," + std::to_string(pos.LowLimit) + "," + std::to_string(pos.HighLimit);
  }
  return out;
}

// The file keeps TAB, CR and LF inside texts as blanks (docs/portfolio-file.md);
// a CR inside a line reads as part of a text, so it comes back as a blank.
std::vector<PortfolioFileEntry> AsWritten(std::vector<PortfolioFileEntry> portfolios) {
  const auto blank = [](std::string &s) {
    for (char &c : s)
      if (c == '\t' || c == '\r' || c == '\n')
        c = ' ';
  };
  for (PortfolioFileEntry &p : portfolios) {
    blank(p.Name);
    blank(p.Key);
    for (PortPosition &pos : p.Positions) {
      blank(pos.Symbol);
      blank(pos.PaidText);
      blank(pos.Note);
    }
  }
  return portfolios;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const PortfolioFileContent first = ParsePortfolioFileText(input);

  std::size_t lines = 1;
  for (char c : input)
    lines += c == '\n';
  const std::string where = "input: " + Shown(input);
  // A portfolio line may lack a name and repeat a key: two reports at most.
  FUZZ_CHECK(first.Problems.size() <= 2 * lines, where);
  for (const PortfolioFileEntry &p : first.Portfolios)
    for (const PortPosition &pos : p.Positions)
      FUZZ_CHECK(std::isfinite(pos.Quantity) && std::isfinite(pos.Commission) &&
                     std::isfinite(pos.LowLimit) && std::isfinite(pos.HighLimit) &&
                     std::isfinite(pos.PricePaid),
                 where);

  const std::string saved = PortfolioFileText(first.Portfolios);
  const PortfolioFileContent second = ParsePortfolioFileText(saved);
  // A portfolio without a name is kept, and reported at every reading.
  for (const std::string &problem : second.Problems)
    FUZZ_CHECK(problem.ends_with(": portfolio without a name"),
               where + "\nsaved: " + Shown(saved) + "\nproblem: " + problem);
  FUZZ_CHECK(second.Portfolios == AsWritten(first.Portfolios),
             where + "\nfirst:  " + Describe(first.Portfolios) +
                 "\nsecond: " + Describe(second.Portfolios));
  FUZZ_CHECK(PortfolioFileText(second.Portfolios) == saved, where);
  return 0;
}
