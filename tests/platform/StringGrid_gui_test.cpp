#include "platform/StringGrid.h"
#include "platform/WindowThread.h"

#include "support/EventWait.h"
#include "support/TestPaths.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <atomic>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <thread>
#include <tuple>
#include <vector>

namespace {

struct DrawCall {
  int Col, Row;
  TRect Rect;
  TGridDrawState State;
};

// A shown grid of 6 x 30 cells, 40 x 20 pixels, without a frame.
class StringGridPaintTest : public ::testing::Test {
protected:
  void SetUp() override {
    grid.setFrameStyle(QFrame::NoFrame);
    grid.SetColCount(6);
    grid.SetRowCount(30);
    grid.SetDefaultColWidth(40);
    grid.SetDefaultRowHeight(20);
    grid.SetDefaultDrawing(false);
    grid.OnDrawCell = [this](int c, int r, const TRect &rect, TGridDrawState s) {
      calls.push_back({c, r, rect, s});
    };
    grid.resize(300, 150);
    grid.show();
    SettleWindowThread();
    calls.clear();
  }
  QImage Grab() { return grid.viewport()->grab().toImage(); }
  // Runs every call already posted to the window thread (the grid's repaint
  // requests among them), then the paints they asked for.
  static void SettleWindowThread() {
    bool settled = false;
    PostToWindowThread([&settled] { settled = true; });
    ASSERT_TRUE(ProcessEventsUntil([&settled] { return settled; }));
    QApplication::processEvents();
  }
  static TColor At(const QImage &img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

  TStringGrid grid;
  std::vector<DrawCall> calls;
};

// Counts the repaint events the grid's store has delivered to it.
class PostedEventCounter : public QObject {
public:
  int Count = 0;

protected:
  bool eventFilter(QObject *, QEvent *e) override {
    if (e->type() >= QEvent::User)
      ++Count;
    return false;
  }
};

} // namespace

TEST_F(StringGridPaintTest, DrawCellForEveryVisibleCellWithItsRect) {
  grid.SetTopRow(4);
  Grab();
  std::set<std::pair<int, int>> seen;
  for (const DrawCall &c : calls) {
    EXPECT_TRUE(seen.insert({c.Col, c.Row}).second) << "twice: " << c.Col << "," << c.Row;
    EXPECT_EQ(c.Rect, grid.CellRect(c.Col, c.Row)) << c.Col << "," << c.Row;
    EXPECT_EQ((c.State & gdFixed) != 0, c.Col == 0 || c.Row == 0) << c.Col << "," << c.Row;
  }
  // Every visible cell: the fixed row and column and the scrolled ones.
  std::set<std::pair<int, int>> expected;
  const int lastRow = grid.TopRow() + grid.VisibleRowCount(); // one partly visible row
  for (int c = 0; c < 6; ++c)
    expected.insert({c, 0});
  for (int r = grid.TopRow(); r <= lastRow; ++r)
    for (int c = 0; c < 6; ++c)
      if (!grid.CellRect(c, r).IsEmpty())
        expected.insert({c, r});
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(seen.count({1, 1}), 0u); // scrolled away
}

TEST_F(StringGridPaintTest, CellPictureIsTheCellGrown) {
  grid.OnDrawCell = [this](int c, int r, const TRect &rect, TGridDrawState) {
    grid.Canvas().Brush().Color = (c == 2 && r == 0) ? clRed : clWhite;
    grid.Canvas().FillRect(rect);
  };
  const QImage pic = grid.CellPicture(2, 0, 1).toImage();
  ASSERT_EQ(pic.size(), QSize(42, 22));
  EXPECT_EQ(At(pic, 1, 1), clRed);
  EXPECT_EQ(At(pic, 40, 20), clRed);
  EXPECT_EQ(At(pic, 41, 10), grid.GridLineColor()); // the line after the cell
  grid.SetTopRow(5);
  EXPECT_TRUE(grid.CellPicture(2, 1).isNull());
}

TEST_F(StringGridPaintTest, DisabledGridPaintsNothing) {
  grid.SetEnabled(false);
  Grab();
  EXPECT_TRUE(calls.empty());
  grid.SetEnabled(true);
  Grab();
  EXPECT_FALSE(calls.empty());
}

TEST_F(StringGridPaintTest, LinesBackgroundAndUnclippedDrawing) {
  grid.SetGridLineColor(clBlue);
  grid.SetColor(clYellow);
  grid.OnDrawCell = [this](int c, int r, const TRect &rect, TGridDrawState) {
    TCanvas &cv = grid.Canvas();
    cv.Brush().Color = clWhite;
    cv.FillRect(rect);
    if (c == 1 && r == 1) {
      // Over the line to the right of the cell: not clipped to the cell.
      cv.Brush().Color = clRed;
      cv.FillRect(TRect(rect.Right, rect.Top, rect.Right + 1, rect.Top + 5));
    }
  };
  const QImage img = Grab();
  EXPECT_EQ(At(img, 40, 10), clBlue);  // the line after column 0
  EXPECT_EQ(At(img, 10, 20), clBlue);  // the line below row 0
  EXPECT_EQ(At(img, 39, 19), clWhite); // inside the cell
  EXPECT_EQ(At(img, 81, 22), clRed);   // drawn over the line
  EXPECT_EQ(At(img, 81, 30), clBlue);
  EXPECT_EQ(At(img, 250, 10), clYellow); // beyond the last column (246)
}

TEST_F(StringGridPaintTest, DefaultDrawingWritesTheText) {
  grid.OnDrawCell = nullptr;
  grid.SetDefaultDrawing(true);
  grid.SetColor(clWhite);
  grid.SetCells(2, 2, "WWW");
  QApplication::processEvents();
  const QImage img = Grab();
  const TRect r = grid.CellRect(2, 2);
  int dark = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (qGray(img.pixel(x, y)) < 128)
        ++dark;
  EXPECT_GT(dark, 10);
}

TEST_F(StringGridPaintTest, InvalidateRowRepaintsThatRowOnly) {
  Grab();
  calls.clear();
  grid.InvalidateRow(3);
  SettleWindowThread();
  ASSERT_FALSE(calls.empty());
  for (const DrawCall &c : calls)
    EXPECT_EQ(c.Row, 3);
  // A cell written from a worker repaints its row through the queue.
  calls.clear();
  std::thread([this] { grid.SetCells(2, 5, "from worker"); }).join();
  SettleWindowThread();
  ASSERT_FALSE(calls.empty());
  for (const DrawCall &c : calls)
    EXPECT_EQ(c.Row, 5);
}

// The window thread takes up the repaint while the writer is still unjoined: the
// hand-over itself must order the writer's work before the repaint.
TEST_F(StringGridPaintTest, AnUnjoinedWorkersWriteRepaintsItsRow) {
  Grab();
  QApplication::processEvents();
  calls.clear();
  std::thread worker([this] { grid.SetCells(3, 7, "unjoined"); });
  const bool painted = ProcessEventsUntil([this] { return !calls.empty(); });
  worker.join();
  ASSERT_TRUE(painted);
  for (const DrawCall &c : calls)
    EXPECT_EQ(c.Row, 7);
  EXPECT_EQ(grid.Cells(3, 7), "unjoined");
}

TEST_F(StringGridPaintTest, OneQueuedRepaintPerBatch) {
  PostedEventCounter counter;
  grid.installEventFilter(&counter);
  auto store = grid.Store();
  std::thread([store] {
    TGridCellStore::Batch batch(*store);
    for (int r = 1; r < 30; ++r)
      for (int c = 0; c < 6; ++c)
        store->SetCell(c, r, std::to_string(r * 10 + c));
    store->SetRowCount(40);
  }).join();
  SettleWindowThread();
  EXPECT_EQ(counter.Count, 1);
  EXPECT_EQ(grid.RowCount(), 40);
  EXPECT_EQ(grid.verticalScrollBar()->maximum(), 40 - grid.VisibleRowCount());
  // Without a batch the writes still share the one waiting notification.
  counter.Count = 0;
  std::thread([store] {
    for (int r = 1; r < 30; ++r)
      store->SetCell(1, r, "x");
  }).join();
  SettleWindowThread();
  EXPECT_EQ(counter.Count, 1);
  grid.removeEventFilter(&counter);
}

TEST_F(StringGridPaintTest, WorkerWritesWhileTheWindowThreadPaints) {
  std::atomic<bool> stop{false};
  std::atomic<int> rounds{0};
  std::thread worker([&] {
    int i = 0;
    while (!stop.load()) {
      TGridCellStore::Batch batch(*grid.Store());
      grid.SetRowCount(20 + i % 15);
      for (int r = 1; r < 20; ++r) {
        grid.SetCells(1 + i % 5, r, std::to_string(i));
        grid.SetObjects(0, r, i);
      }
      grid.InvalidateRow(i % 20);
      ++i;
      rounds.store(i);
    }
  });
  grid.OnDrawCell = [this](int c, int r, const TRect &rect, TGridDrawState) {
    grid.Canvas().TextRect(rect, rect.Left + 2, rect.Top + 2, grid.Cells(c, r));
  };
  for (int k = 0; k < 40 || rounds.load() < 20; ++k) {
    Grab();
    QApplication::processEvents();
    grid.SetTopRow(k % 10 + 1);
    ASSERT_LT(k, 100000) << "the worker made no progress";
  }
  stop = true;
  worker.join();
  QApplication::processEvents();
  EXPECT_GE(grid.RowCount(), 20);
  EXPECT_EQ(grid.Cells(1 + (rounds.load() - 1) % 5, 19), std::to_string(rounds.load() - 1));
}

TEST(StringGridStoreLifetime, WorkerOutlivesTheGrid) {
  auto *grid = new TStringGrid;
  grid->show();
  std::shared_ptr<TGridCellStore> store = grid->Store();
  std::atomic<bool> go{false};
  std::thread worker([&] {
    while (!go.load()) {
    }
    for (int i = 0; i < 2000; ++i) {
      store->SetCell(1, 1, std::to_string(i));
      store->RequestRepaint();
    }
  });
  go = true;
  delete grid;
  worker.join();
  QApplication::processEvents();
  EXPECT_EQ(store->Cell(1, 1), "1999");
}

TEST_F(StringGridPaintTest, PaintedGridPicture) {
  grid.SetColCount(5);
  grid.SetRowCount(12);
  grid.SetDefaultColWidth(64);
  grid.SetDefaultRowHeight(18);
  grid.SetColWidths(0, 70);
  grid.SetGridLineColor(clSilver);
  grid.SetColor(clWhite);
  grid.resize(360, 200);
  const char *titles[] = {"Name", "First", "Second", "Third", "Fourth"};
  for (int c = 0; c < 5; ++c)
    grid.SetCells(c, 0, titles[c]);
  for (int r = 1; r < 12; ++r) {
    grid.SetCells(0, r, "Row " + std::to_string(r));
    for (int c = 1; c < 5; ++c)
      grid.SetCells(c, r, std::to_string(r * c * 11) + "." + std::to_string(c));
  }
  grid.OnDrawCell = [this](int c, int r, const TRect &rect, TGridDrawState s) {
    TCanvas &cv = grid.Canvas();
    cv.Brush().Color = (s & gdFixed) ? clBtnFace : (r % 2 == 0 ? RGB(0xEE, 0xF4, 0xFF) : clWhite);
    cv.Font().Bold = r == 0;
    cv.Font().Color = clBlack;
    const std::string t = grid.Cells(c, r);
    const int y = rect.Top + (rect.Height() - cv.TextHeight(t)) / 2;
    if (c == 0 || r == 0)
      cv.TextRect(rect, rect.Left + 2, y, t);
    else
      cv.TextRect(rect, rect.Right - 2 - cv.TextWidth(t), y, t);
  };
  QApplication::processEvents();
  const QImage img = Grab();
  EXPECT_EQ(At(img, 70, 5), clSilver);
  // The whole control, scroll bar included.
  ASSERT_TRUE(grid.grab().save(QString::fromStdString(TestArtifactPath("StringGrid.png"))));
}
