#include "alerts/news/NewsRules.h"

#include <gtest/gtest.h>

namespace {

TEST(RuleLinesTidy, ALineCutToItsLengthHasNoBlanksAtTheEnd) {
  const std::vector<std::string> tidy =
      NormalizeRuleLines({"stock " + std::string(245, 'x') + "    " + std::string(10, 'y')});
  ASSERT_EQ(tidy.size(), 1u);
  EXPECT_EQ(tidy[0], "T:Stock " + std::string(245, 'x'));
  EXPECT_EQ(NormalizeRuleLines(tidy), tidy);
}

} // namespace
