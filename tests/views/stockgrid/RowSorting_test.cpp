// Sort texts, comparisons, groups and the stable bubble sort of the grid.
#include "views/stockgrid/RowSorting.h"

#include "core/FieldTitles.h"

#include <gtest/gtest.h>

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

} // namespace
