#include "views/stockgrid/RowSorting.h"

#include "core/FieldTitles.h"
#include "core/PriceText.h"
#include "core/StringRoutines.h"
#include "platform/StringUtils.h"

#include <cstdlib>

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

int CompareSortTexts(int field, const std::string &a, const std::string &b) {
  switch (SortKindOf(field)) {
  case TSortKind::Text:
    return Order(a, b);
  case TSortKind::MktCap:
    return Order(MktCapValue(a), MktCapValue(b));
  case TSortKind::None:
    return 0;
  default:
    return Order(StrToPrice(a), StrToPrice(b));
  }
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

void SortGroupsInPlace(int field, const std::vector<std::pair<int, int>> &groups,
                       std::vector<std::string> &texts, std::vector<int> &order, bool sortDown) {
  const int rows = std::min(int(texts.size()) - 1, int(order.size()));
  for (const auto &[first, lastIn] : groups) {
    const int last = std::min(lastIn, rows);
    for (int end = last; end > first; --end) {
      bool swapped = false;
      for (int j = first; j < end; ++j) {
        const int c = CompareSortTexts(field, texts[std::size_t(j)], texts[std::size_t(j + 1)]);
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
