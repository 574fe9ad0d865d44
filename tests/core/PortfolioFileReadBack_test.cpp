// port.dat lines that read as something the next save would not write back.
#include "core/PortfolioFile.h"

#include <gtest/gtest.h>

namespace {

TEST(PortfolioFileReadBack, AKeyCutToItsLengthReadsAsItIsWritten) {
  // 20 characters, blanks, then more: the cut leaves blanks at the end.
  const std::string text = "PORTFOLIO\tIncome\tINCOME67890123456789  \x19 TAIL\n";
  const PortfolioFileContent first = ParsePortfolioFileText(text);
  ASSERT_EQ(first.Portfolios.size(), 1u);
  EXPECT_EQ(first.Portfolios[0].Key, "INCOME67890123456789");
  const PortfolioFileContent second =
      ParsePortfolioFileText(PortfolioFileText(first.Portfolios));
  EXPECT_EQ(second.Portfolios, first.Portfolios);
}

TEST(PortfolioFileReadBack, PricesBeyondTheFloatRangeAreReportedNotMadeInfinite) {
  const std::string huge = "1" + std::string(60, '0');
  const std::vector<std::string> lines = {"POS\tIBM\t10\t" + huge + "\t0\t\t0\t0",
                                         "POS\tIBM\t10\t114\t" + huge + "\t\t0\t0",
                                         "POS\tIBM\t10\t114\t0\t\t1e39\t0"};
  for (const std::string &line : lines) {
    const PortfolioFileContent content =
        ParsePortfolioFileText("PORTFOLIO\tIncome\tINCOME\n" + line + "\nPOS\tKO\t5\n");
    ASSERT_EQ(content.Portfolios.size(), 1u);
    ASSERT_EQ(content.Portfolios[0].Positions.size(), 1u) << line;
    EXPECT_EQ(content.Portfolios[0].Positions[0].Symbol, "KO");
    ASSERT_EQ(content.Problems.size(), 1u);
    EXPECT_EQ(content.Problems[0], "port.dat line 2: a price or commission is too large");
  }
}

} // namespace
