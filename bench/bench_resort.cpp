// What re-sorting 2,000 grid rows by a price column costs (the sort at the
// end of each refresh and on a click on a column title: reading the cells,
// the groups, the keys and the stable sort), next to the least of that work:
// reading and parsing the same 2,000 keys once and std::stable_sorting the
// rows by them. Medians of 7 runs; goal at most 2x.
#include "BenchRatio.h"
#include "core/FieldTitles.h"
#include "core/PriceText.h"
#include "platform/GridCellStore.h"
#include "views/stockgrid/RowSorting.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 2000;
constexpr int kColumn = 1; // the sort column, showing the last price
constexpr int kRepetitions = 7;

// One group of 2,000 rows (no separator): symbols and last prices as the
// grid shows them, some with the high and low marks.
const TGridCellStore &Cells() {
  static TGridCellStore *cells = [] {
    auto *store = new TGridCellStore(2, kRows + 1);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> cents(1, 50000);
    char text[32];
    for (int r = 1; r <= kRows; ++r) {
      std::snprintf(text, sizeof text, "S%04d", r);
      store->SetCell(0, r, text);
      const char *mark = r % 13 == 0 ? ">" : r % 17 == 0 ? "<" : "";
      std::snprintf(text, sizeof text, "%s%.2f", mark, cents(random) / 100.0);
      store->SetCell(kColumn, r, text);
    }
    return store;
  }();
  return *cells;
}

std::vector<int> ListOrder() {
  std::vector<int> order(kRows);
  std::iota(order.begin(), order.end(), 1);
  return order;
}

void BM_Resort_GridRows(benchmark::State &state) {
  const TGridCellStore &cells = Cells();
  for (auto _ : state) {
    std::vector<int> order = ListOrder();
    SortRowOrder(cells, kColumn, gfLast, kRows, false, order);
    benchmark::DoNotOptimize(order.data());
  }
}

void BM_Resort_ParseKeysOnceAndStableSort(benchmark::State &state) {
  const TGridCellStore &cells = Cells();
  for (auto _ : state) {
    std::vector<int> order = ListOrder();
    std::vector<double> keys(kRows + 1);
    for (int r = 1; r <= kRows; ++r) {
      const std::string text = cells.Cell(kColumn, r);
      const std::size_t start = text.find_first_not_of("<>");
      keys[std::size_t(r)] = StrToPrice(start == std::string::npos ? "" : text.substr(start));
    }
    std::vector<int> rows(kRows);
    std::iota(rows.begin(), rows.end(), 1);
    std::stable_sort(rows.begin(), rows.end(),
                     [&](int a, int b) { return keys[std::size_t(a)] > keys[std::size_t(b)]; });
    for (int k = 0; k < kRows; ++k)
      order[std::size_t(k)] = rows[std::size_t(k)];
    benchmark::DoNotOptimize(order.data());
  }
}

#define RATIO_BENCHMARK(fn)                                                                        \
  BENCHMARK(fn)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly()

RATIO_BENCHMARK(BM_Resort_GridRows);
RATIO_BENCHMARK(BM_Resort_ParseKeysOnceAndStableSort);

const bool registered = [] {
  RegisterRatio("re-sort of 2,000 rows / parsing their keys once and std::stable_sort",
                "BM_Resort_GridRows", "BM_Resort_ParseKeysOnceAndStableSort", 2.0);
  return true;
}();

} // namespace
