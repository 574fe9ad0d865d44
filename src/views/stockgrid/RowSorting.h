#pragma once
// Row sorting of the quote grid as plain data: how a column's texts compare,
// the groups that separator rows split the grid into, and the stable bubble
// sort that reorders the display order within each group.
#include <string>
#include <utility>
#include <vector>

enum class TSortKind {
  Text,     // ordinal text comparison
  MktCap,   // a number with a size letter K, M, B or T
  TwoValue, // the first of two values, without its last character, as a price
  Price,    // a price
  None      // never sorted (Separator, Chart)
};
TSortKind SortKindOf(int field);

// A cell text as the comparison sees it: display marks taken off (but for
// the two-value fields), the two-value fields cut to their first value
// without its last character.
std::string PrepareSortText(int field, const std::string &cell);
// The value of a market capitalisation text: "2.9T" is 2.9e12, "1.2B" 1.2e9,
// "950M" 9.5e8, "10K" 1e4 (letter case ignored); a number without a letter
// is itself; an empty text 0.
double MktCapValue(const std::string &text);
// -1, 0 or 1 for prepared texts of a field.
int CompareSortTexts(int field, const std::string &a, const std::string &b);

// The groups of rows 1..lastRow (1-based, inclusive) that separator rows
// split: symbols[r] is the text of column 0 of row r (symbols[0] unused).
// Groups may be empty ranges (first > last) and are left out then.
std::vector<std::pair<int, int>> SortGroups(const std::vector<std::string> &symbols, int lastRow);

// Bubble-sorts every group: texts[r] is the prepared text of row r, order[r-1]
// the list index shown in row r; both are swapped together. sortDown clear
// puts the largest value (the last text) on top; set, the smallest. Equal
// rows keep their order.
void SortGroupsInPlace(int field, const std::vector<std::pair<int, int>> &groups,
                       std::vector<std::string> &texts, std::vector<int> &order, bool sortDown);
