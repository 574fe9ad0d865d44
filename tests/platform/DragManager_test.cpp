#include "platform/DragManager.h"
#include "platform/StringGrid.h"

#include "StringGridTestEvents.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPixmap>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace gridtest;

namespace {

// A drag object that says which column it carries.
class ColumnDrag : public TDragObject {
public:
  ColumnDrag(QWidget *source, int col) : TDragObject(source), Col(col) {}
  int Col;
  bool Hidden = false;
  bool ShowDragImage() const override { return !Hidden; }
};

// Two grids side by side in one window. Grid a starts a column drag when
// the mouse moves over a title with the left button down.
class DragTest : public ::testing::Test {
protected:
  void SetUp() override {
    window.resize(640, 240);
    auto *layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    for (TStringGrid *g : {a, b}) {
      g->setFrameStyle(QFrame::NoFrame);
      g->SetColCount(5);
      g->SetRowCount(5);
      g->SetDefaultColWidth(50);
      g->SetDefaultRowHeight(20);
      layout->addWidget(g);
    }
    Wire(a, "a");
    Wire(b, "b");
    a->OnMouseDown = [this](TMouseButton btn, TShiftState, int x, int y) {
      int c = -1, r = -1;
      a->MouseToCell(x, y, c, r);
      if (btn == mbLeft && r == 0 && c > 0) {
        dragCol = c;
        a->BeginDrag(false, 4);
      }
    };
    a->OnStartDrag = [this](std::unique_ptr<TDragObject> &obj) {
      log.push_back("a start");
      auto drag = std::make_unique<ColumnDrag>(a, dragCol);
      QPixmap pix(30, 12);
      pix.fill(Qt::gray);
      drag->SetDragImage(pix, QPoint(5, 6));
      obj = std::move(drag);
    };
    window.show();
    QApplication::processEvents();
  }
  void TearDown() override {
    TDragManager::Instance().CancelDrag();
    QApplication::processEvents();
  }

  void Wire(TStringGrid *g, const std::string &name) {
    g->OnDragOver = [this, name](TDragObject &src, int x, int y, TDragState st, bool &accept) {
      static const char *states[] = {"enter", "leave", "move"};
      auto *col = dynamic_cast<ColumnDrag *>(&src);
      log.push_back(name + " over " + states[st] + (col ? " col" + std::to_string(col->Col) : ""));
      accept = refuse.find(name) == std::string::npos;
      lastX = x;
      lastY = y;
    };
    g->OnDragDrop = [this, name](TDragObject &src, int x, int) {
      log.push_back(name + " drop from " + (src.Control() == a ? "a" : "?") + " at " +
                    std::to_string(x));
    };
    g->OnEndDrag = [this, name](QWidget *target, int, int) {
      log.push_back(name + " end " + (target == b ? "b" : target == a ? "a" : "none"));
    };
  }

  // Presses on a's title cell 2 and moves far enough to start the drag.
  void StartOnA() {
    Press(a->viewport(), QPoint(110, 10));
    Move(a->viewport(), QPoint(118, 10), Qt::LeftButton);
  }
  void MoveTo(TStringGrid *over, QPoint p) {
    MouseOver(a->viewport(), QEvent::MouseMove, Qt::NoButton, over->viewport(), p, Qt::LeftButton);
  }
  void ReleaseAt(TStringGrid *over, QPoint p) {
    MouseOver(a->viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, over->viewport(), p,
              Qt::NoButton);
  }
  Qt::CursorShape Cursor() const {
    const QCursor *c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
  }

  QWidget window;
  TStringGrid *a = new TStringGrid;
  TStringGrid *b = new TStringGrid;
  std::vector<std::string> log;
  std::string refuse;
  int dragCol = -1;
  int lastX = -1, lastY = -1;
};

} // namespace

TEST_F(DragTest, DragFromOneGridToAnother) {
  StartOnA();
  EXPECT_TRUE(a->Dragging());
  EXPECT_EQ(Cursor(), Qt::DragMoveCursor);
  MoveTo(b, QPoint(30, 10));
  EXPECT_EQ(lastX, 30);
  EXPECT_EQ(lastY, 10);
  MoveTo(b, QPoint(80, 12));
  EXPECT_EQ(TDragManager::Instance().CurrentTarget(), b);
  ReleaseAt(b, QPoint(80, 12));
  EXPECT_EQ(log, (std::vector<std::string>{"a start", "a over enter col2", "a over leave col2",
                                           "b over enter col2", "b over move col2",
                                           "b drop from a at 80", "a end b"}));
  EXPECT_FALSE(a->Dragging());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DragTest, EscCancels) {
  StartOnA();
  MoveTo(b, QPoint(30, 10));
  Key(a, Qt::Key_Escape);
  EXPECT_EQ(log,
            (std::vector<std::string>{"a start", "a over enter col2", "a over leave col2",
                                      "b over enter col2", "b over leave col2", "a end none"}));
  EXPECT_FALSE(TDragManager::Instance().Dragging());
  // The release that follows is an ordinary mouse-up again, not a drop.
  log.clear();
  ReleaseAt(b, QPoint(30, 10));
  EXPECT_TRUE(log.empty());
}

TEST_F(DragTest, RefusedDropEndsWithoutTarget) {
  refuse = "b";
  StartOnA();
  MoveTo(b, QPoint(30, 10));
  EXPECT_FALSE(TDragManager::Instance().Accepted());
  EXPECT_EQ(Cursor(), Qt::ForbiddenCursor);
  MoveTo(a, QPoint(60, 10));
  EXPECT_EQ(Cursor(), Qt::DragMoveCursor);
  MoveTo(b, QPoint(40, 10));
  ReleaseAt(b, QPoint(40, 10));
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "b over leave col2");
  EXPECT_EQ(log.back(), "a end none");
}

TEST_F(DragTest, ReleaseBeforeTheThresholdIsAClick) {
  int clicks = 0;
  a->OnClick = [&] { ++clicks; };
  Press(a->viewport(), QPoint(110, 10));
  Move(a->viewport(), QPoint(112, 11), Qt::LeftButton);
  Release(a->viewport(), QPoint(112, 11));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(TDragManager::Instance().Dragging());
}

TEST_F(DragTest, DragImageFollowsTheCursor) {
  StartOnA();
  QWidget *img = TDragManager::Instance().ImageWindow();
  ASSERT_NE(img, nullptr);
  EXPECT_TRUE(img->isVisible());
  MoveTo(b, QPoint(40, 30));
  EXPECT_EQ(img->pos(), b->viewport()->mapToGlobal(QPoint(40, 30)) - QPoint(5, 6));
  auto *drag = dynamic_cast<ColumnDrag *>(TDragManager::Instance().DragObject());
  ASSERT_NE(drag, nullptr);
  drag->Hidden = true;
  MoveTo(b, QPoint(45, 30));
  EXPECT_FALSE(img->isVisible());
  ReleaseAt(b, QPoint(45, 30));
  EXPECT_EQ(TDragManager::Instance().ImageWindow(), nullptr);
}

TEST_F(DragTest, SourceDestroyedDuringTheDrag) {
  StartOnA();
  MoveTo(b, QPoint(30, 10));
  QPointer<QWidget> bp(b);
  delete a;
  a = nullptr;
  EXPECT_FALSE(TDragManager::Instance().Dragging());
  EXPECT_EQ(log.back(), "b over leave col2"); // the source hears nothing more
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(bp);
}

TEST_F(DragTest, GridWithoutDragOverHandlerRefuses) {
  b->OnDragOver = nullptr;
  StartOnA();
  MoveTo(b, QPoint(30, 10));
  EXPECT_FALSE(TDragManager::Instance().Accepted());
  ReleaseAt(b, QPoint(30, 10));
  EXPECT_EQ(log.back(), "a end none");
}

TEST_F(DragTest, EscBeforeTheThresholdDropsTheAttempt) {
  std::vector<int> keys;
  a->OnKeyDown = [&](int &key, TShiftState) { keys.push_back(key); };
  Press(a->viewport(), QPoint(110, 10));
  Key(a, Qt::Key_Escape);
  Move(a->viewport(), QPoint(130, 10), Qt::LeftButton);
  Release(a->viewport(), QPoint(130, 10));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(keys, std::vector<int>{VK_ESCAPE}); // the grid still gets its key
  EXPECT_FALSE(TDragManager::Instance().Dragging());
}
