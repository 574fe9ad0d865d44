#include "views/stockgrid/RowSorting.h"

#include "core/FieldTitles.h"
#include "core/PriceText.h"
#include "core/StringRoutines.h"
#include "platform/GridCellStore.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

TSortKind SortKindOf(int field) {
  switch (field) {
  case gfSymbol:
  case gfTick:
  case gfQuoteTime:
  case gfCompanyName:
  case gfNote:
  case gfExchange:
  case gfQuoteDate:
    return TSortKind::Text;
  case gfMktCap:
    return TSortKind::MktCap;
  case gfValueChange:
  case gfGain:
    return TSortKind::TwoValue;
  case gfSeparator:
  case gfChart:
    return TSortKind::None;
  default:
    return TSortKind::Price;
  }
}

std::string PrepareSortText(int field, const std::string &cell) {
  if (SortKindOf(field) == TSortKind::TwoValue) {
    std::string t = Trim(cell);
    const auto blank = t.find(' ');
    if (blank != std::string::npos) {
      t = t.substr(0, blank);
      if (!t.empty())
        t.pop_back();
    }
    return t;
  }
  std::size_t n = 0;
  while (n < cell.size() && (cell[n] == '<' || cell[n] == '>'))
    ++n;
  return cell.substr(n);
}

double MktCapValue(const std::string &text) {
  std::string t = Trim(text);
  if (t.empty())
    return 0;
  double factor = 1;
  switch (t.back()) {
  case 'K':
  case 'k':
    factor = 1e3;
    break;
  case 'M':
  case 'm':
    factor = 1e6;
    break;
  case 'B':
  case 'b':
    factor = 1e9;
    break;
  case 'T':
  case 't':
    factor = 1e12;
    break;
  default:
    break;
  }
  if (factor != 1)
    t.pop_back();
  return StrToPrice(t) * factor;
}

namespace {
template <class T> int Order(const T &a, const T &b) { return a < b ? -1 : (b < a ? 1 : 0); }
} // namespace

namespace {
// The value a prepared text of a kind other than Text is compared by.
double SortValueOf(TSortKind kind, const std::string &prepared) {
  switch (kind) {
  case TSortKind::MktCap:
    return MktCapValue(prepared);
  case TSortKind::Text:
  case TSortKind::None:
    return 0;
  default:
    return StrToPrice(prepared);
  }
}
} // namespace

TSortKey SortKeyOf(int field, const std::string &prepared) {
  TSortKey key;
  const TSortKind kind = SortKindOf(field);
  if (kind == TSortKind::Text)
    key.Text = prepared;
  else
    key.Value = SortValueOf(kind, prepared);
  return key;
}

// The values are never NaN (prices read as finite numbers, a size letter
// at most overflows to infinity), so "<" orders them strictly and weakly.
int CompareSortKeys(TSortKind kind, const TSortKey &a, const TSortKey &b) {
  switch (kind) {
  case TSortKind::Text:
    return Order(a.Text, b.Text);
  case TSortKind::None:
    return 0;
  default:
    return Order(a.Value, b.Value);
  }
}

int CompareSortTexts(int field, const std::string &a, const std::string &b) {
  return CompareSortKeys(SortKindOf(field), SortKeyOf(field, a), SortKeyOf(field, b));
}

std::vector<std::pair<int, int>> SortGroups(const std::vector<std::string> &symbols, int lastRow) {
  std::vector<std::pair<int, int>> groups;
  int first = 1;
  for (int r = 1; r <= lastRow + 1; ++r) {
    const bool end = r == lastRow + 1;
    const bool separator =
        !end && r < int(symbols.size()) && IsAllDashes(Trim(symbols[std::size_t(r)]));
    if (end || separator) {
      if (first <= r - 1)
        groups.emplace_back(first, r - 1);
      first = r + 1;
    }
  }
  return groups;
}

namespace {

// Sorts every group by before(a, b) on row numbers, then moves the rows'
// list indexes, values and (when textsFollow) texts to their places.
template <class Before>
void SortEachGroup(const std::vector<std::pair<int, int>> &groups, int rows, Before before,
                   std::vector<std::string> &texts, bool textsFollow, std::vector<double> &values,
                   std::vector<int> &order) {
  std::vector<int> rowsOf;
  std::vector<std::string> movedTexts;
  std::vector<double> movedValues;
  std::vector<int> movedOrder;
  for (const auto &[firstIn, lastIn] : groups) {
    const int first = std::max(firstIn, 1);
    const int last = std::min(lastIn, rows);
    if (last <= first)
      continue;
    rowsOf.resize(std::size_t(last - first + 1));
    std::iota(rowsOf.begin(), rowsOf.end(), first);
    std::stable_sort(rowsOf.begin(), rowsOf.end(), before);
    movedTexts.clear();
    movedValues.clear();
    movedOrder.clear();
    for (const int r : rowsOf) {
      if (textsFollow)
        movedTexts.push_back(std::move(texts[std::size_t(r)]));
      movedValues.push_back(values[std::size_t(r)]);
      movedOrder.push_back(order[std::size_t(r - 1)]);
    }
    for (std::size_t k = 0; k < rowsOf.size(); ++k) {
      const std::size_t r = std::size_t(first) + k;
      if (textsFollow)
        texts[r] = std::move(movedTexts[k]);
      values[r] = movedValues[k];
      order[r - 1] = movedOrder[k];
    }
  }
}

void SortRowsOfGroups(int field, const std::vector<std::pair<int, int>> &groups,
                      std::vector<std::string> &texts, bool textsFollow, std::vector<int> &order,
                      bool sortDown) {
  const TSortKind kind = SortKindOf(field);
  if (kind == TSortKind::None)
    return;
  const int rows = std::min(int(texts.size()) - 1, int(order.size()));
  if (rows < 1)
    return;
  // Each row's key is read once: a text field's key is its text, which
  // moves with the row; the others' values[r] belongs to row r and moves too.
  std::vector<double> values(std::size_t(rows) + 1, 0.0);
  if (kind != TSortKind::Text)
    for (int r = 1; r <= rows; ++r)
      values[std::size_t(r)] = SortValueOf(kind, texts[std::size_t(r)]);
  // The row whose key comes first goes on top: the smallest when sortDown
  // is set, else the largest. stable_sort keeps equal rows in their order,
  // which is the order that swapping only adjacent rows out of order gives.
  const auto sortBy = [&](const auto &keys) {
    if (sortDown)
      SortEachGroup(
          groups, rows, [&](int a, int b) { return keys[std::size_t(a)] < keys[std::size_t(b)]; },
          texts, textsFollow, values, order);
    else
      SortEachGroup(
          groups, rows, [&](int a, int b) { return keys[std::size_t(b)] < keys[std::size_t(a)]; },
          texts, textsFollow, values, order);
  };
  if (kind == TSortKind::Text)
    sortBy(texts);
  else
    sortBy(values);
}

} // namespace

void SortGroupsInPlace(int field, const std::vector<std::pair<int, int>> &groups,
                       std::vector<std::string> &texts, std::vector<int> &order, bool sortDown) {
  SortRowsOfGroups(field, groups, texts, true, order, sortDown);
}

void SortRowOrder(const TGridCellStore &cells, int column, int field, int lastRow, bool sortDown,
                  std::vector<int> &order) {
  lastRow = std::max(lastRow, 0);
  // Row 0 takes no part.
  const std::vector<std::string> symbols = cells.ColumnTexts(0, 0, lastRow);
  std::vector<std::string> texts = cells.ColumnTexts(column, 0, lastRow);
  texts[0] = "Vosk1";
  const bool twoValues = SortKindOf(field) == TSortKind::TwoValue;
  for (std::size_t r = 1; r < texts.size(); ++r)
    if (twoValues || (!texts[r].empty() && (texts[r][0] == '<' || texts[r][0] == '>')))
      texts[r] = PrepareSortText(field, texts[r]);
  // Only the order is kept: the texts need not move with their rows.
  SortRowsOfGroups(field, SortGroups(symbols, lastRow), texts, false, order, sortDown);
}
