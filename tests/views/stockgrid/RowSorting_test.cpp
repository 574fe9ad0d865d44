// Sort texts, comparisons, groups and the stable sort of the grid.
#include "views/stockgrid/RowSorting.h"

#include "core/FieldTitles.h"
#include "core/PriceText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

struct CompareCase {
  const char *name;
  int field;
  const char *a;
  const char *b;
  int expected;
};

class SortComparison : public ::testing::TestWithParam<CompareCase> {};

TEST_P(SortComparison, PreparedTexts) {
  const CompareCase &c = GetParam();
  EXPECT_EQ(CompareSortTexts(c.field, PrepareSortText(c.field, c.a), PrepareSortText(c.field, c.b)),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SortComparison,
    ::testing::Values(CompareCase{"SymbolOrdinal", gfSymbol, "IBM", "AA", 1},
                      CompareCase{"SymbolCaseOrdinal", gfSymbol, "aa", "ZZ", 1},
                      CompareCase{"MktCapBillionAboveMillion", gfMktCap, "1.2B", "950M", 1},
                      CompareCase{"MktCapTrillionAboveMillion", gfMktCap, "1.2T", "950M", 1},
                      CompareCase{"MktCapTrillions", gfMktCap, "2.9T", "1.2T", 1},
                      CompareCase{"MktCapTrillionAboveBillion", gfMktCap, "491.8B", "1.2T", -1},
                      CompareCase{"MktCapLowerCaseLetters", gfMktCap, "1.2t", "950m", 1},
                      CompareCase{"MktCapThousand", gfMktCap, "10K", "9999", 1},
                      CompareCase{"MktCapEmptyIsZero", gfMktCap, "", "1K", -1},
                      CompareCase{"BidMarkIgnored", gfBid, "<12.5", "12.4", 1},
                      CompareCase{"AskUpMarkIgnored", gfAsk, ">9", "10", -1},
                      CompareCase{"ChangeBlankAfterSign", gfChange, "- 1.25", "+ 0.5", -1},
                      CompareCase{"ChangeBothNegative", gfChange, "- 1.25", "- 0.5", -1},
                      CompareCase{"GainFirstValueWithoutLastChar", gfGain, "+2.5% -100",
                                  "+2.4% 900", 1},
                      CompareCase{"ValueChangeOneValue", gfValueChange, "300", "-20", 1},
                      CompareCase{"VolumeThousands", gfVolume, "1,200", "900", 1},
                      CompareCase{"QuoteTimeAsText", gfQuoteTime, "9:30", "10:15", 1},
                      CompareCase{"EqualPrices", gfLast, "12.50", "12.5", 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SortKind, SeparatorAndChartAreNeverSorted) {
  EXPECT_EQ(SortKindOf(gfSeparator), TSortKind::None);
  EXPECT_EQ(SortKindOf(gfChart), TSortKind::None);
  EXPECT_EQ(SortKindOf(gfCompanyName), TSortKind::Text);
  EXPECT_EQ(SortKindOf(gfGain), TSortKind::TwoValue);
}

TEST(MktCapValue, SizeLetters) {
  EXPECT_DOUBLE_EQ(MktCapValue("1.2B"), 1.2e9);
  EXPECT_DOUBLE_EQ(MktCapValue("950M"), 9.5e8);
  EXPECT_DOUBLE_EQ(MktCapValue("10K"), 1e4);
  EXPECT_DOUBLE_EQ(MktCapValue("2.9T"), 2.9e12);
  EXPECT_DOUBLE_EQ(MktCapValue("2.9t"), 2.9e12);
  EXPECT_DOUBLE_EQ(MktCapValue("1.5k"), 1.5e3);
  EXPECT_DOUBLE_EQ(MktCapValue("123"), 123);
  EXPECT_DOUBLE_EQ(MktCapValue(""), 0);
}

// Rows 1..n of a grid: column 0 texts and the sort column's texts.
struct Rows {
  std::vector<std::string> symbols{""};
  std::vector<std::string> texts{"Vosk1"};
  void Add(const std::string &symbol, const std::string &text) {
    symbols.push_back(symbol);
    texts.push_back(text);
  }
  int Last() const { return int(symbols.size()) - 1; }
};

TEST(SortGroups, SeparatorsSplitTheRows) {
  Rows rows;
  for (const char *s : {"A", "B", "-", "C", "D", "E", "---", "F"})
    rows.Add(s, "1");
  EXPECT_EQ(SortGroups(rows.symbols, rows.Last()),
            (std::vector<std::pair<int, int>>{{1, 2}, {4, 6}, {8, 8}}));
}

TEST(SortGroups, HasNoFixedLimit) {
  Rows rows;
  for (int i = 0; i < 30; ++i) {
    rows.Add("S" + std::to_string(i), "1");
    rows.Add("-", "");
  }
  EXPECT_EQ(SortGroups(rows.symbols, rows.Last()).size(), 30u);
}

TEST(SortGroupsInPlace, EachSectionOnItsOwnLargestFirst) {
  Rows rows;
  rows.Add("A", "1");
  rows.Add("B", "3");
  rows.Add("-", "");
  rows.Add("C", "5");
  rows.Add("D", "9");
  rows.Add("E", "7");
  std::vector<int> order{1, 2, 3, 4, 5, 6};
  SortGroupsInPlace(gfLast, SortGroups(rows.symbols, rows.Last()), rows.texts, order, false);
  EXPECT_EQ(order, (std::vector<int>{2, 1, 3, 5, 6, 4}));
  EXPECT_EQ(rows.texts[4], "9");
}

TEST(SortGroupsInPlace, SortDownPutsTheSmallestFirstAndIsStable) {
  Rows rows;
  rows.Add("A", "2");
  rows.Add("B", "1");
  rows.Add("C", "2");
  rows.Add("D", "1");
  std::vector<int> order{1, 2, 3, 4};
  SortGroupsInPlace(gfLast, SortGroups(rows.symbols, rows.Last()), rows.texts, order, true);
  EXPECT_EQ(order, (std::vector<int>{2, 4, 1, 3}));
  std::vector<int> upOrder{1, 2, 3, 4};
  Rows again;
  for (const char *t : {"2", "1", "2", "1"})
    again.Add("X", t);
  SortGroupsInPlace(gfLast, SortGroups(again.symbols, again.Last()), again.texts, upOrder, false);
  EXPECT_EQ(upOrder, (std::vector<int>{1, 3, 2, 4}));
}

// The grid's first sort, kept as the reference the sort must match: a bubble
// sort over each group whose every comparison reads both texts again.
int ReferenceCompare(int field, const std::string &a, const std::string &b) {
  const auto order = [](const auto &x, const auto &y) { return x < y ? -1 : (y < x ? 1 : 0); };
  switch (SortKindOf(field)) {
  case TSortKind::Text:
    return order(a, b);
  case TSortKind::MktCap:
    return order(MktCapValue(a), MktCapValue(b));
  case TSortKind::None:
    return 0;
  default:
    return order(StrToPrice(a), StrToPrice(b));
  }
}

void ReferenceBubbleSort(int field, const std::vector<std::pair<int, int>> &groups,
                         std::vector<std::string> &texts, std::vector<int> &order, bool sortDown) {
  const int rows = std::min(int(texts.size()) - 1, int(order.size()));
  for (const auto &[first, lastIn] : groups) {
    const int last = std::min(lastIn, rows);
    for (int end = last; end > first; --end) {
      bool swapped = false;
      for (int j = first; j < end; ++j) {
        const int c = ReferenceCompare(field, texts[std::size_t(j)], texts[std::size_t(j + 1)]);
        if ((c > 0 && sortDown) || (c < 0 && !sortDown)) {
          std::swap(texts[std::size_t(j)], texts[std::size_t(j + 1)]);
          std::swap(order[std::size_t(j - 1)], order[std::size_t(j)]);
          swapped = true;
        }
      }
      if (!swapped)
        break;
    }
  }
}

// Cell texts of a kind, few enough that many rows tie, with marks, blanks,
// fractions, size letters, overflowing values and texts that read as 0.
const std::vector<std::string> &TextPool(TSortKind kind) {
  static const std::vector<std::string> prices{
      "12.5",   "12.50", "<12.5",  ">12.5", "12.4",  "1,200", "900",   "- 1.25", "+ 0.5",
      "- 0.5",  "",      "-",      "--",    "0",     "1/2",   "3 1/4", "abc",    "<>7",
      "-0",     "1e5",   "  8 ",   "7.",    ".5",    "1.2.3", "5/0",   "99999999999999999999"};
  static const std::vector<std::string> caps{"1.2B", "950M", "",     "12",   "1.5k", "2.9T",
                                             "10K",  "9999", "1.2b", "0.95B", "abc", "1e300T",
                                             "-3M",  "M",    "1.2T", "950M"};
  static const std::vector<std::string> twoValues{
      "+2.5% -100", "+2.4% 900", "-- --", "+2.5% 7", "300",  "-20", "",
      " -1.0% 5 ",  "0% 0",      "+2.5%", "x y",     "+12.25% 1,000"};
  static const std::vector<std::string> texts{"IBM", "AA",  "aa",   "ZZ", "", "IBM ", "9:30",
                                              "10:15", "\xC3\xA9", "\x7F", "a", "-", "AB"};
  switch (kind) {
  case TSortKind::MktCap:
    return caps;
  case TSortKind::TwoValue:
    return twoValues;
  case TSortKind::Text:
    return texts;
  default:
    return prices;
  }
}

// The sort gives the reference's order and texts for random grids: every
// sort kind, both directions, separators anywhere (also first and last),
// ties, and work lists shorter or longer than the display order.
TEST(SortGroupsInPlace, GivesTheBubbleSortsOrder) {
  std::mt19937 random(20261208);
  const int fields[] = {gfSymbol, gfLast, gfBid, gfChange, gfVolume, gfMktCap,
                        gfGain,   gfValueChange, gfQuoteTime, gfChart};
  const char *const separators[] = {"-", "---", " - "};
  int compared = 0;
  for (int round = 0; round < 3000; ++round) {
    const int field = fields[round % std::size(fields)];
    const auto &pool = TextPool(SortKindOf(field));
    const int n = std::uniform_int_distribution<int>(0, round % 50 == 0 ? 400 : 40)(random);
    Rows rows;
    for (int r = 0; r < n; ++r) {
      const bool separator = std::uniform_int_distribution<int>(0, 7)(random) == 0;
      const std::string &cell =
          pool[std::size_t(std::uniform_int_distribution<int>(0, int(pool.size()) - 1)(random))];
      // Mostly as the grid prepares them, sometimes raw.
      rows.Add(separator ? separators[r % 3] : "S" + std::to_string(r),
               round % 3 == 0 ? cell : PrepareSortText(field, cell));
    }
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), random);
    // Now and then the display order holds a row more or less than the texts.
    if (round % 7 == 1 && !order.empty())
      order.pop_back();
    else if (round % 7 == 2)
      order.push_back(n + 1);
    const int lastRow = std::uniform_int_distribution<int>(std::max(0, n - 2), n)(random);
    const auto groups = SortGroups(rows.symbols, lastRow);
    const bool sortDown = (round / 2) % 2 == 1;

    std::vector<std::string> expectedTexts = rows.texts;
    std::vector<int> expectedOrder = order;
    ReferenceBubbleSort(field, groups, expectedTexts, expectedOrder, sortDown);
    SortGroupsInPlace(field, groups, rows.texts, order, sortDown);
    ASSERT_EQ(order, expectedOrder) << "round " << round << ", field " << field;
    ASSERT_EQ(rows.texts, expectedTexts) << "round " << round << ", field " << field;
    compared += n;
  }
  EXPECT_GT(compared, 50000);
}

} // namespace
