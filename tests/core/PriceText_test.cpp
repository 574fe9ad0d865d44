#include "core/DisplaySettings.h"
#include "core/PriceText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct ParseCase {
  const char *text;
  double value;
  bool valid;
};

const ParseCase kParseCases[] = {
    {"1,234.5", 1234.5, true}, {"12 1/4", 12.25, true},
    {"abc", 0, false},         {"", 0, false},
    {"   ", 0, false},         {"0", 0, true},
    {"-0", 0, true},           {"3/4", 0.75, true},
    {"-3/4", -0.75, true},     {"-12 1/4", -12.25, true},
    {"  -5.5", -5.5, true},    {"+7", 7, true},
    {"$12.50", 12.5, true},    {"12.50 USD", 12.5, true},
    {"abc-5", -5, true}, // junk counts as blanks, so the "-" is still leading
    {"5-3", 0, false},   // an inner "-" is a blank: two whole numbers
    {"12+1/4", 12.25, true},   {"12!1/4", 12.25, true},
    {".5", 0.5, true},         {"5.", 5, true},
    {"1.2.3", 0, false},       {"1/0", 0, false}, // no division by zero
    {"12 1/0", 0, false},      {"1/2/3", 0, false},
    {"12 34", 0, false},       {"12 1/4 5", 0, false},
    {"1.5 1/4", 0, false},     {"1,000,000", 1000000, true},
};

} // namespace

TEST(PriceTextTest, StrToPriceTable) {
  for (const ParseCase &c : kParseCases) {
    EXPECT_DOUBLE_EQ(StrToPrice(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ParseFractionPrice(c.text), !c.valid) << '"' << c.text << '"';
  }
}

TEST(PriceTextTest, SecondMinusIsABlank) {
  // The first "-" is the sign, the second counts as a blank.
  EXPECT_DOUBLE_EQ(StrToPrice("--5"), -5);
}

TEST(PriceTextTest, HugeNumbersDoNotOverflow) {
  EXPECT_EQ(StrToPrice(std::string(400, '9')), 0.0);
  EXPECT_TRUE(ParseFractionPrice(std::string(400, '9')));
  // Each part fits, their sum does not.
  const std::string big = "1" + std::string(308, '0');
  double value = -1;
  EXPECT_FALSE(TryStrToPrice(big + " " + big + "/1", value));
  EXPECT_EQ(value, 0.0);
  EXPECT_DOUBLE_EQ(StrToPrice(big + " 1/2"), 1e308);
  // The largest prices are shown in full and read back as themselves.
  for (const double huge : {1e308, -1e308, std::numeric_limits<double>::max()}) {
    const std::string shown = FormatPrice(huge);
    EXPECT_EQ(shown.size(), huge < 0 ? 310u : 309u) << shown.substr(0, 20);
    EXPECT_EQ(StrToPrice(shown), huge);
  }
}

TEST(PriceTextTest, FormatPriceTable) {
  struct Case {
    double value;
    const char *text;
  } cases[] = {
      {9.123456, "9.12346"},
      {123.4567, "123.457"},
      {1234.567, "1234.57"},
      {12345.67, "12345.7"},
      {0, "0"},
      {-0.0, "0"},
      {1.5, "1.5"},
      {100, "100"},
      {-9.123456, "-9.12346"},
      {-12345.67, "-12345.7"},
      {10000, "10000"},
      {10000.555, "10000.6"},
      {9999.995, "10000"},
      {0.000001, "0"},
      {-0.000001, "0"},
      {1.000005, "1.00001"},
      {999.9996, "1000"},
      {0.1, "0.1"},
      {NAN, "0"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(FormatPrice(c.value), c.text) << c.value;
}

TEST(PriceTextTest, HugePricesAreShownWholeAndReadBackAsShown) {
  const std::string texts[] = {"1000000000040004", "12345678901234567", std::string(75, '6')};
  for (const std::string &text : texts) {
    const std::string shown = FormatPrice(StrToPrice(text));
    EXPECT_DOUBLE_EQ(StrToPrice(shown), StrToPrice(text)) << text;
    EXPECT_EQ(FormatPrice(StrToPrice(shown)), shown) << text;
  }
  EXPECT_EQ(FormatPrice(1000000000040004), "1000000000040004");
}

TEST(PriceTextTest, PriceToStrFractionTable) {
  struct Case {
    double value;
    const char *text;
  } cases[] = {
      {114.75, "114 3/4"},
      {12.25, "12 1/4"},
      {-12.25, "-12 1/4"},
      {0.5, "0 1/2"},
      {-0.5, "-0 1/2"},
      {1.0 / 64, "0 1/64"},
      {3 + 5.0 / 64, "3 5/64"},
      {114, "114"},
      {-3, "-3"},
      {0, "0"},                // below 1/64: decimal
      {0.01, "0.01"},          // below 1/64
      {1.1, "1.1"},            // no whole number of 64ths
      {114.750001, "114 3/4"}, // rounded to 5 decimals first
      {2.0 / 3, "0.66667"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(PriceToStr(c.value, true), c.text) << c.value;
  EXPECT_EQ(PriceToStr(114.75, false), "114.75");
}

TEST(PriceTextTest, PriceToStrFollowsTheDisplaySetting) {
  SetFractionDisplay(true);
  EXPECT_EQ(PriceToStr(114.75), "114 3/4");
  SetFractionDisplay(false);
  EXPECT_EQ(PriceToStr(114.75), "114.75");
}

TEST(PriceTextTest, AlignPriceTextTable) {
  struct Case {
    const char *text;
    bool fractions;
    const char *aligned;
  } cases[] = {
      {"5.25", false, "    5.25"},
      {"15.25", false, "  15.25"},
      {"115.25", false, "115.25"},
      {"1234.5", false, "1234.5"},
      {"5.250000", false, "    5.25"}, // formatted again
      {"1,234.50", false, "1234.5"},
      {"-5.5", false, "    -5.5"},
      {"5 1/4", true, "    5 1/4"},
      {"114 3/4", true, "114 3/4"},
      {"0 1/2", true, "    0 1/2"},
      {"", false, ""},
      {"  ", true, "  "},
  };
  for (const Case &c : cases)
    EXPECT_EQ(AlignPriceText(c.text, c.fractions), c.aligned) << c.text;
}
