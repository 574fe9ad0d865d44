// What fitting a quote grid's columns to their texts costs, 2,000 rows x 45
// fields, next to a QTableWidget doing the least of the same work, medians
// of 7 runs:
// - a fit after 20 rows were written (what follows every refresh) / setText
//   of those 20 rows, and / a fit of every cell (a grid filled anew);
// - a fit of a grid filled anew / QTableWidget::resizeColumnsToContents;
// - a fit of a grid filled anew / the least such a fit must do: read every
//   cell's text under the store's lock and sum its characters' widths.
#include "BenchPortfolio.h"
#include "BenchRatio.h"
#include "core/FieldTitles.h"
#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

#include "platform/GridCellStore.h"

#include <QFontMetricsF>
#include <QTableWidget>
#include <benchmark/benchmark.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 2000;
constexpr int kCols = GridFieldCount;
constexpr int kChanged = 20;
constexpr int kRepetitions = 7;

// The texts of the sample portfolio's grid, row by row (title row first).
const std::vector<std::vector<std::string>> &Texts() {
  static const std::vector<std::vector<std::string>> texts = SampleGridTexts(kRows);
  return texts;
}

// The grid rows 20 changed symbols occupy, spread over the portfolio.
int ChangedRow(int k) { return k * (kRows / kChanged) + 2; }

// A main-window grid laid out for all 45 fields, holding the sample texts.
std::unique_ptr<TStockGrid> FilledGrid() {
  auto grid = std::make_unique<TStockGrid>();
  grid->GridKind = gkMainGrid;
  for (int f = 0; f < GridFieldCount; ++f)
    grid->ColPos[f] = f;
  const auto &texts = Texts();
  grid->SetColCount(kCols);
  grid->SetRowCount(int(texts.size()));
  for (int r = 0; r < int(texts.size()); ++r)
    for (int c = 0; c < kCols; ++c)
      grid->SetCells(c, r, texts[std::size_t(r)][std::size_t(c)]);
  return grid;
}

// The changed rows' texts: every text with a mark of the round appended, so
// that every round writes texts never measured before.
std::vector<std::vector<std::string>> ChangedTexts(int round = 1) {
  std::vector<std::vector<std::string>> rows;
  for (int k = 0; k < kChanged; ++k) {
    std::vector<std::string> row = Texts()[std::size_t(ChangedRow(k))];
    for (std::size_t c = 1; c < row.size(); ++c)
      if (!row[c].empty())
        row[c] += std::to_string(round % 1000);
    rows.push_back(row);
  }
  return rows;
}

void BM_AutoFit_TwentyRowsWritten(benchmark::State &state) {
  const auto grid = FilledGrid();
  grid->AutoFitColumns();
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const auto changed = ChangedTexts(++round);
    for (int k = 0; k < kChanged; ++k)
      for (int c = 0; c < kCols; ++c)
        grid->SetCells(c, ChangedRow(k), changed[std::size_t(k)][std::size_t(c)]);
    state.ResumeTiming();
    grid->AutoFitColumns();
  }
}

void BM_AutoFit_FilledAnew(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = FilledGrid();
    state.ResumeTiming();
    grid->AutoFitColumns();
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
}

// The least a fit of every cell has to do: read every cell's text under the
// store's lock and sum its characters' widths (in 64ths of a pixel) from a
// table of the grid's font.
void BM_ReadAndSumEveryCell(benchmark::State &state) {
  const auto grid = FilledGrid();
  std::array<std::int32_t, 256> advance{};
  const QFontMetricsF metrics(ToQFont(grid->FieldFont(gfLast)));
  for (int c = 32; c < 127; ++c)
    advance[std::size_t(c)] =
        std::int32_t(std::lround(metrics.horizontalAdvance(QChar(c)) * 64));
  for (auto _ : state) {
    std::int64_t widths = 0;
    grid->Store()->VisitTextsChangedSince(
        0, INT_MAX, [](const TGridCellStore::TextCounts &) {},
        [&](int, int, std::string_view text) {
          std::int64_t sum = 0;
          for (const char c : text)
            sum += advance[static_cast<unsigned char>(c)];
          widths += (sum + 32) >> 6;
        });
    benchmark::DoNotOptimize(widths);
  }
}

std::unique_ptr<QTableWidget> FilledTable() {
  const auto &texts = Texts();
  auto table = std::make_unique<QTableWidget>(int(texts.size()), kCols);
  for (int r = 0; r < int(texts.size()); ++r)
    for (int c = 0; c < kCols; ++c)
      table->setItem(
          r, c, new QTableWidgetItem(QString::fromStdString(texts[std::size_t(r)][std::size_t(c)])));
  return table;
}

void BM_QTableWidget_SetTwentyRows(benchmark::State &state) {
  const auto table = FilledTable();
  std::vector<std::vector<QString>> rows[2];
  const auto changed = ChangedTexts();
  for (int k = 0; k < kChanged; ++k) {
    std::vector<QString> before, after;
    for (int c = 0; c < kCols; ++c) {
      before.push_back(QString::fromStdString(Texts()[std::size_t(ChangedRow(k))][std::size_t(c)]));
      after.push_back(QString::fromStdString(changed[std::size_t(k)][std::size_t(c)]));
    }
    rows[0].push_back(before);
    rows[1].push_back(after);
  }
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (int k = 0; k < kChanged; ++k)
      for (int c = 0; c < kCols; ++c)
        table->item(ChangedRow(k), c)
            ->setText(rows[round % 2][std::size_t(k)][std::size_t(c)]);
  }
}

void BM_QTableWidget_ResizeColumnsToContents(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto table = FilledTable();
    state.ResumeTiming();
    table->resizeColumnsToContents();
    state.PauseTiming();
    table.reset();
    state.ResumeTiming();
  }
}

#define RATIO_BENCHMARK(fn)                                                                        \
  BENCHMARK(fn)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly()

RATIO_BENCHMARK(BM_AutoFit_TwentyRowsWritten);
RATIO_BENCHMARK(BM_QTableWidget_SetTwentyRows);
RATIO_BENCHMARK(BM_AutoFit_FilledAnew);
RATIO_BENCHMARK(BM_QTableWidget_ResizeColumnsToContents);
RATIO_BENCHMARK(BM_ReadAndSumEveryCell);

const bool registered = [] {
  RegisterRatio("column fit after 20 rows written / setText of those 20 rows",
                "BM_AutoFit_TwentyRowsWritten", "BM_QTableWidget_SetTwentyRows", 5.0);
  RegisterRatio("column fit after 20 rows written / a fit that measures every cell",
                "BM_AutoFit_TwentyRowsWritten", "BM_AutoFit_FilledAnew", 0.2);
  RegisterRatio("column fit of a grid filled anew / QTableWidget fitting its columns",
                "BM_AutoFit_FilledAnew", "BM_QTableWidget_ResizeColumnsToContents", 1.0);
  RegisterRatio("a fit that measures every cell / reading every cell's text under the store's "
                "lock and summing its characters' widths from a table",
                "BM_AutoFit_FilledAnew", "BM_ReadAndSumEveryCell", 8.0);
  return true;
}();

} // namespace
