// Widths of numbers summed from their characters are those the font's own
// measuring gives, in the fonts and styles the grid's views use.
#include "views/stockgrid/FitTextWidths.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

struct FontCase {
  const char *name;
  const char *family;
  int size;
  bool bold;
  bool italic;
};

class FitTextWidthsTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(FitTextWidthsTest, SumsEqualTheFontsMeasuring) {
  const FontCase &c = GetParam();
  TFont font;
  font.Name = c.family;
  font.SetSize(c.size);
  font.Bold = c.bold;
  font.Italic = c.italic;
  const TFitTextWidths widths(font);
  const QFontMetrics metrics(ToQFont(font));

  std::mt19937 random(c.size * 31 + c.bold + 2 * c.italic);
  const std::string digits = "0123456789";
  const std::string all = digits + " ,.+-%<>/:$()";
  std::vector<std::string> texts{"", "1", "11", "111,111", "  85.25", "+12.34%", "-- --",
                                 "A much longer name", "Company 12", "\xC3\xA9t\xC3\xA9",
                                 "9:30 AM"};
  for (int i = 0; i < 3000; ++i) {
    const std::string &pool = i % 3 == 0 ? all : digits + ".,- ";
    std::string text;
    const int length = std::uniform_int_distribution<int>(1, 16)(random);
    for (int k = 0; k < length; ++k)
      text += pool[std::size_t(std::uniform_int_distribution<int>(0, int(pool.size()) - 1)(random))];
    texts.push_back(text);
  }
  int summed = 0;
  for (const std::string &text : texts) {
    int sum = 0;
    summed += widths.Sum(text, sum) ? 1 : 0;
    EXPECT_EQ(widths.Width(text), metrics.horizontalAdvance(QString::fromStdString(text)))
        << "'" << text << "'";
  }
  // The default font's numbers are summed, not measured one by one.
  if (std::string(c.family) == "Arial") {
    EXPECT_GT(summed, 3000);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, FitTextWidthsTest,
    ::testing::Values(FontCase{"Arial9", "Arial", 9, false, false},
                      FontCase{"Arial9Bold", "Arial", 9, true, false},
                      FontCase{"Arial11Italic", "Arial", 11, false, true},
                      FontCase{"Arial14BoldItalic", "Arial", 14, true, true},
                      FontCase{"Arial7", "Arial", 7, false, false},
                      FontCase{"DejaVuSans10", "DejaVu Sans", 10, false, false},
                      FontCase{"CourierNew10", "Courier New", 10, false, false},
                      FontCase{"TimesNewRoman12", "Times New Roman", 12, false, false}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
