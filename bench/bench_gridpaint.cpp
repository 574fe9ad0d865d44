// What a full repaint of a quote grid costs, 2,000 rows x 45 fields in a
// 1500x900 window, next to the least the same picture needs: QPainter
// filling each visible cell and drawing its text (drawText), medians of 7
// runs:
// - the texts drawn before (a repaint with nothing changed);
// - every number a text not drawn lately (a refresh that moved every price).
#include "BenchPortfolio.h"
#include "BenchRatio.h"
#include "core/FieldTitles.h"
#include "platform/Canvas.h"
#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 2000;
constexpr int kCols = GridFieldCount;
constexpr int kRepetitions = 7;
constexpr int kWidth = 1500;
constexpr int kHeight = 900;

const std::vector<std::vector<std::string>> &Texts() {
  static const std::vector<std::vector<std::string>> texts = SampleGridTexts(kRows);
  return texts;
}

// The texts of a round: the rows' texts moved down by the round and their
// digits turned by it, so that every number below the titles is a text not
// drawn lately, as after a refresh that moved every price.
std::string TextOf(int round, int col, int row) {
  const auto &texts = Texts();
  if (row == 0 || col == 0)
    return texts[std::size_t(row)][std::size_t(col)];
  const int from = 1 + (row - 1 + round) % (int(texts.size()) - 1);
  std::string text = texts[std::size_t(from)][std::size_t(col)];
  for (char &c : text)
    if (c >= '0' && c <= '9')
      c = char('0' + (c - '0' + round) % 10);
  return text;
}

std::unique_ptr<TStockGrid> ShownGrid() {
  auto grid = std::make_unique<TStockGrid>();
  grid->GridKind = gkMainGrid;
  for (int f = 0; f < GridFieldCount; ++f)
    grid->ColPos[f] = f;
  grid->SetColCount(kCols);
  grid->SetRowCount(int(Texts().size()));
  for (int r = 0; r < int(Texts().size()); ++r)
    for (int c = 0; c < kCols; ++c)
      grid->SetCells(c, r, TextOf(0, c, r));
  grid->AutoFitColumns();
  grid->resize(kWidth, kHeight);
  grid->show();
  // Until the window is exposed and its first paint done.
  for (int i = 0; i < 20; ++i)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  grid->viewport()->repaint();
  return grid;
}

// Writes the texts of a round into the rows the window shows.
void WriteRound(TStockGrid &grid, int round) {
  const int last = std::min(grid.RowCount(), grid.TopRow() + kHeight / 8);
  for (int r = grid.TopRow(); r < last; ++r)
    for (int c = 1; c < kCols; ++c)
      grid.SetCells(c, r, TextOf(round, c, r));
}

void BM_GridPaint_Unchanged(benchmark::State &state) {
  const auto grid = ShownGrid();
  for (auto _ : state)
    grid->viewport()->repaint();
}

void BM_GridPaint_NewPrices(benchmark::State &state) {
  const auto grid = ShownGrid();
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    WriteRound(*grid, ++round);
    state.ResumeTiming();
    grid->viewport()->repaint();
  }
}

// The visible cells of the grid as the window lays them out, each filled
// and its text drawn by QPainter, into a picture of the window's size.
void BM_QPainter_FillAndDrawText(benchmark::State &state) {
  const auto grid = ShownGrid();
  QImage image(grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  const QFont font = ToQFont(grid->ViewFont());
  const QColor back(Qt::white), fore(Qt::black);
  int round = 0;
  for (auto _ : state) {
    ++round;
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(fore);
    const int ascent = painter.fontMetrics().ascent();
    int y = 0;
    for (int r = 0; r < grid->RowCount() && y < image.height(); ++r) {
      if (r > 0 && r < grid->TopRow())
        continue;
      const int h = grid->RowHeights(r);
      int x = 0;
      for (int c = 0; c < kCols && x < image.width(); ++c) {
        const int w = grid->ColWidths(c);
        painter.fillRect(QRect(x, y, w, h), back);
        painter.drawText(QPoint(x + 2, y + ascent),
                         QString::fromStdString(TextOf(round, c, r)));
        x += w + 1;
      }
      y += h + 1;
    }
  }
}

#define RATIO_BENCHMARK(fn)                                                                        \
  BENCHMARK(fn)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly()

RATIO_BENCHMARK(BM_GridPaint_Unchanged);
RATIO_BENCHMARK(BM_GridPaint_NewPrices);
RATIO_BENCHMARK(BM_QPainter_FillAndDrawText);

const bool registered = [] {
  RegisterRatio("grid repaint, texts drawn before / fillRect + drawText of the visible cells",
                "BM_GridPaint_Unchanged", "BM_QPainter_FillAndDrawText", 1.2);
  RegisterRatio("grid repaint, every price new / fillRect + drawText of the visible cells",
                "BM_GridPaint_NewPrices", "BM_QPainter_FillAndDrawText", 1.2);
  return true;
}();

} // namespace
