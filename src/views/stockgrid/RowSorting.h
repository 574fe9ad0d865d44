#pragma once
// Row sorting of the quote grid as plain data: how a column's texts compare,
// the groups that separator rows split the grid into, and the stable sort
// that reorders the display order within each group.
#include <string>
#include <utility>
#include <vector>

class TGridCellStore;

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
// What a prepared text is compared by, read once: the text itself for the
// text fields, its value for the others (None fields: all keys equal).
struct TSortKey {
  double Value = 0;
  std::string Text;
};
TSortKey SortKeyOf(int field, const std::string &prepared);
// -1, 0 or 1 for two keys of a field.
int CompareSortKeys(TSortKind kind, const TSortKey &a, const TSortKey &b);
// -1, 0 or 1 for prepared texts of a field.
int CompareSortTexts(int field, const std::string &a, const std::string &b);

// The groups of rows 1..lastRow (1-based, inclusive) that separator rows
// split: symbols[r] is the text of column 0 of row r (symbols[0] unused).
// Groups may be empty ranges (first > last) and are left out then.
std::vector<std::pair<int, int>> SortGroups(const std::vector<std::string> &symbols, int lastRow);

// Sorts every group: texts[r] is the prepared text of row r, order[r-1] the
// list index shown in row r; both move together. sortDown clear puts the
// largest value (the last text) on top; set, the smallest. Equal rows keep
// their order. Each text is read once; groups are sorted one after another.
void SortGroupsInPlace(int field, const std::vector<std::pair<int, int>> &groups,
                       std::vector<std::string> &texts, std::vector<int> &order, bool sortDown);

// Sorts a grid's display order by one of its columns: rows 1..lastRow of
// cells, their texts in column `column` showing `field`, column 0 holding
// the symbols whose separators bound the groups; order[r-1] is the list
// index shown in row r.
void SortRowOrder(const TGridCellStore &cells, int column, int field, int lastRow, bool sortDown,
                  std::vector<int> &order);
