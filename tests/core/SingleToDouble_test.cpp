#include "core/SingleToDouble.h"
#include "core/StockStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

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

// Singles of prices, sizes and volumes take a way without text; the result is
// that of the text, bit for bit, over a spread of singles of every magnitude
// the way covers and past its ends, and at every power of two.
TEST(SingleToDouble, WithoutTextIsTheSameAsThroughText) {
  std::vector<float> values;
  for (std::uint32_t bits = 0x30000000; bits < 0x50000000; bits += 2047) {
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    values.push_back(f);
    values.push_back(-f);
  }
  for (int e = -12; e <= 26; ++e)
    for (float f : {std::ldexp(1.0f, e), std::nextafter(std::ldexp(1.0f, e), 0.0f)})
      values.push_back(f);
  for (int cents = 0; cents < 200000; cents += 7)
    values.push_back(float(cents) / 100.0f);
  for (float f : values) {
    const double fast = SingleToDouble(f);
    const double text = SingleToDoubleThroughText(f);
    ASSERT_EQ(std::memcmp(&fast, &text, sizeof fast), 0) << f;
  }
}
