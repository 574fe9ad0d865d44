#include "acquisition/QuoteCsv.h"

#include <gtest/gtest.h>

namespace {

TEST(QuoteCsvErrorText, ABadFieldIsQuotedWithAtMost40Characters) {
  const std::string field(100000, '7');
  const QuoteCsvResult result =
      ParseQuoteCsv("Symbol,Last,Time\nIBM,1" + field + ",\nKO,1,x" + field + "\n");
  ASSERT_EQ(result.Errors.size(), 2u);
  EXPECT_EQ(result.Errors[0].Text(), "line 2: Last \"1" + field.substr(0, 39) + "\" is not valid");
  EXPECT_EQ(result.Errors[1].Text(), "line 3: Time \"x" + field.substr(0, 39) + "\" is not valid");
}

} // namespace
