#include "core/SingleToDouble.h"
#include "core/StockStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(SingleToDouble, KeepsTheDecimalValueOfTheSingle) {
  EXPECT_EQ(SingleToDouble(187.9f), 187.9);
  EXPECT_EQ(SingleToDouble(-0.1f), -0.1);
  EXPECT_EQ(SingleToDouble(189.25f), 189.25);
  EXPECT_EQ(SingleToDouble(48213500.0f), double(48213500.0f));
  EXPECT_EQ(SingleToDouble(0.0f), 0.0);
  EXPECT_TRUE(std::isnan(SingleToDouble(std::numeric_limits<float>::quiet_NaN())));
  EXPECT_TRUE(std::isinf(SingleToDouble(std::numeric_limits<float>::infinity())));
}

TEST(SingleToDouble, ChangeOfStoredPricesHasNoBinaryNoise) {
  ResetStockStore();
  QuoteFields f;
  f.Last = 189.25;
  f.PrevClose = 187.9;
  StoreQuote("NOISE", f);
  QuoteData q;
  ASSERT_GE(GetLast1("NOISE", q), 0);
  EXPECT_NEAR(q.Change, 1.35, 1e-12);
  ResetStockStore();
}
