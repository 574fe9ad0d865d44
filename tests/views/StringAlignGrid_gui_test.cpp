#include "support/EventWait.h"
#include "views/StringAlignGrid.h"

#include "platform/StringGridTestEvents.h"
#include "support/TestPaths.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using gridtest::Click;
using gridtest::Key;

void TypeText(QWidget *w, const QString &text) {
  for (QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
    QApplication::sendEvent(w, &press);
  }
}

// A window with the grid and a button to take the focus away.
class AlignGridTest : public ::testing::Test {
protected:
  void SetUp() override {
    window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(window.get());
    grid = new TStringAlignGrid(window.get());
    other = new QPushButton(QStringLiteral("Other"), window.get());
    layout->addWidget(grid);
    layout->addWidget(other);
    window->resize(400, 260);
    grid->SetColCount(4);
    grid->SetRowCount(4);
    for (int c = 0; c < 4; ++c)
      for (int r = 0; r < 4; ++r)
        grid->SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
    grid->SetEditing(true);
    grid->OnBeforeEdit = [this](int c, int r) { events.push_back("before " + Cell(c, r)); };
    grid->OnAfterEdit = [this](int c, int r) {
      events.push_back("after " + Cell(c, r) + " " + grid->Cells(c, r));
    };
    grid->OnSetEditText = [this](int c, int r, const std::string &v) {
      events.push_back("text " + Cell(c, r) + " " + v);
    };
    window->show();
    window->activateWindow();
    ASSERT_TRUE(ProcessEventsUntil([this] { return window->isActiveWindow(); }));
    grid->setFocus();
    ASSERT_TRUE(ProcessEventsUntil([this] { return grid->hasFocus(); }));
  }
  void TearDown() override { window.reset(); }

  static std::string Cell(int c, int r) { return std::to_string(c) + ":" + std::to_string(r); }
  QPoint CellCentre(int c, int r) const { return ToQRect(grid->CellRect(c, r)).center(); }

  std::unique_ptr<QWidget> window;
  TStringAlignGrid *grid = nullptr;
  QPushButton *other = nullptr;
  std::vector<std::string> events;
};

} // namespace

TEST_F(AlignGridTest, ShowEditorOpensOverTheCellWithItsTextSelected) {
  grid->SetCol(2);
  grid->SetRow(1);
  ASSERT_TRUE(grid->ShowEditor());
  QLineEdit *editor = grid->InplaceEditor();
  EXPECT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->EditingCol(), 2);
  EXPECT_EQ(grid->EditingRow(), 1);
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->text(), QStringLiteral("2,1"));
  EXPECT_EQ(editor->selectedText(), QStringLiteral("2,1"));
  EXPECT_EQ(editor->geometry(), ToQRect(grid->CellRect(2, 1)));
  EXPECT_TRUE(ProcessEventsUntil([editor] { return editor->hasFocus(); }));
  EXPECT_EQ(events, (std::vector<std::string>{"before 2:1"}));
}

TEST_F(AlignGridTest, EnterCommitsTheTypedTextIntoTheCell) {
  grid->SetCol(1);
  grid->SetRow(2);
  ASSERT_TRUE(grid->ShowEditor());
  QLineEdit *editor = grid->InplaceEditor();
  editor->clear();
  TypeText(editor, QStringLiteral("42"));
  EXPECT_EQ(grid->Cells(1, 2), "1,2") << "the cell changes only when the edit is committed";
  EXPECT_EQ(grid->EditText(), "42");
  Key(editor, Qt::Key_Return);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(grid->Cells(1, 2), "42");
  EXPECT_EQ(events,
            (std::vector<std::string>{"before 1:2", "text 1:2 4", "text 1:2 42", "after 1:2 42"}));
  EXPECT_TRUE(grid->hasFocus());
}

TEST_F(AlignGridTest, EscapeCancelsAndReportsTheCellsText) {
  grid->SetCol(1);
  grid->SetRow(1);
  ASSERT_TRUE(grid->ShowEditor());
  QLineEdit *editor = grid->InplaceEditor();
  TypeText(editor, QStringLiteral("x"));
  Key(editor, Qt::Key_Escape);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(1, 1), "1,1");
  EXPECT_EQ(events, (std::vector<std::string>{"before 1:1", "text 1:1 x", "text 1:1 1,1"}));
}

TEST_F(AlignGridTest, LeavingTheEditorCommits) {
  grid->SetCol(3);
  grid->SetRow(3);
  ASSERT_TRUE(grid->ShowEditor());
  QLineEdit *editor = grid->InplaceEditor();
  ASSERT_TRUE(ProcessEventsUntil([editor] { return editor->hasFocus(); }));
  editor->setText(QStringLiteral("left"));
  other->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(ProcessEventsUntil([this] { return other->hasFocus(); }));
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(3, 3), "left");
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), "after 3:3 left");
}

TEST_F(AlignGridTest, ClickingAnotherCellCommitsTheEditFirst) {
  grid->SetCol(1);
  grid->SetRow(1);
  ASSERT_TRUE(grid->ShowEditor());
  grid->InplaceEditor()->setText(QStringLiteral("7"));
  ASSERT_TRUE(ProcessEventsUntil([this] { return grid->InplaceEditor()->hasFocus(); }));
  Click(grid->viewport(), CellCentre(2, 3));
  EXPECT_EQ(grid->Cells(1, 1), "7");
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 3);
  EXPECT_FALSE(grid->EditorMode()) << "the editor shows by itself only with AlwaysShowEditor";
}

TEST_F(AlignGridTest, AForbiddenColumnTakesNoEditor) {
  grid->SetEditCol(2, false);
  EXPECT_FALSE(grid->IsEditCol(2));
  EXPECT_TRUE(grid->IsEditCol(1));
  grid->SetCol(2);
  grid->SetRow(1);
  EXPECT_FALSE(grid->ShowEditor());
  Key(grid, Qt::Key_F2);
  TypeText(grid, QStringLiteral("9"));
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(2, 1), "2,1");
  EXPECT_TRUE(events.empty());
}

TEST_F(AlignGridTest, ClosingTheColumnBeingEditedCommits) {
  grid->SetCol(2);
  grid->SetRow(2);
  ASSERT_TRUE(grid->ShowEditor());
  grid->InplaceEditor()->setText(QStringLiteral("kept"));
  grid->SetEditCol(2, false);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(2, 2), "kept");
}

TEST_F(AlignGridTest, FixedCellsAndAGridWithoutEditingTakeNoEditor) {
  EXPECT_FALSE(grid->CanEditCell(0, 1));
  EXPECT_FALSE(grid->CanEditCell(1, 0));
  EXPECT_TRUE(grid->CanEditCell(1, 1));
  grid->SetEditing(false);
  EXPECT_FALSE(grid->CanEditCell(1, 1));
  EXPECT_FALSE(grid->ShowEditor());
}

TEST_F(AlignGridTest, TypingIntoTheGridOpensTheEditorWithThatText) {
  grid->SetCol(1);
  grid->SetRow(3);
  TypeText(grid, QStringLiteral("5"));
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->InplaceEditor()->text(), QStringLiteral("5"));
  TypeText(grid->InplaceEditor(), QStringLiteral("0"));
  Key(grid->InplaceEditor(), Qt::Key_Enter);
  EXPECT_EQ(grid->Cells(1, 3), "50");
}

TEST_F(AlignGridTest, F2AndEnterOpenTheEditor) {
  grid->SetCol(1);
  grid->SetRow(1);
  Key(grid, Qt::Key_F2);
  EXPECT_TRUE(grid->EditorMode());
  grid->CancelEdit();
  Key(grid, Qt::Key_Return);
  EXPECT_TRUE(grid->EditorMode());
}

TEST_F(AlignGridTest, AlwaysShowEditorFollowsTheCurrentCell) {
  grid->SetAlwaysShowEditor(true);
  Click(grid->viewport(), CellCentre(2, 2));
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->EditingCol(), 2);
  EXPECT_EQ(grid->EditingRow(), 2);
  grid->InplaceEditor()->setText(QStringLiteral("a"));
  Key(grid->InplaceEditor(), Qt::Key_Down);
  EXPECT_EQ(grid->Cells(2, 2), "a");
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->EditingRow(), 3);
  // Enter commits and opens the editor again on the same cell.
  grid->InplaceEditor()->setText(QStringLiteral("b"));
  Key(grid->InplaceEditor(), Qt::Key_Return);
  EXPECT_EQ(grid->Cells(2, 3), "b");
  EXPECT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->EditingRow(), 3);
}

TEST_F(AlignGridTest, TabMovesBetweenTabStopsAndStopsAtTheLastCell) {
  grid->SetTabs(true);
  grid->SetStopAtLastCell(true);
  grid->SetTabStops(2, false);
  EXPECT_FALSE(grid->TabStops(2));
  grid->SetCol(1);
  grid->SetRow(1);
  std::vector<std::pair<int, int>> visited;
  for (int i = 0; i < 6; ++i) {
    Key(grid, Qt::Key_Tab);
    visited.emplace_back(grid->Col(), grid->Row());
  }
  EXPECT_EQ(visited,
            (std::vector<std::pair<int, int>>{{3, 1}, {1, 2}, {3, 2}, {1, 3}, {3, 3}, {3, 3}}));
  EXPECT_TRUE(grid->hasFocus());
  Key(grid, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(std::make_pair(grid->Col(), grid->Row()), std::make_pair(1, 3));
}

TEST_F(AlignGridTest, TabInTheEditorCommitsAndMoves) {
  grid->SetTabs(true);
  grid->SetAlwaysShowEditor(true);
  grid->SetCol(1);
  grid->SetRow(1);
  ASSERT_TRUE(grid->ShowEditor());
  grid->InplaceEditor()->setText(QStringLiteral("t"));
  Key(grid->InplaceEditor(), Qt::Key_Tab);
  EXPECT_EQ(grid->Cells(1, 1), "t");
  EXPECT_EQ(grid->EditingCol(), 2);
  EXPECT_EQ(grid->EditingRow(), 1);
}

TEST_F(AlignGridTest, WithoutTabsTabLeavesTheGrid) {
  grid->SetCol(1);
  grid->SetRow(1);
  Key(grid, Qt::Key_Tab);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_TRUE(ProcessEventsUntil([this] { return other->hasFocus(); }));
}

TEST_F(AlignGridTest, TheEditorTakesTheSelectedColoursAndTheColumnsAlignment) {
  grid->SetSelectedColor(clBlue);
  grid->SetSelectedFontColor(clYellow);
  grid->SetColAlignment(1, caRight);
  EXPECT_EQ(grid->ColAlignment(1), caRight);
  EXPECT_EQ(grid->ColAlignment(3), caLeft);
  grid->SetCol(1);
  grid->SetRow(1);
  ASSERT_TRUE(grid->ShowEditor());
  QLineEdit *editor = grid->InplaceEditor();
  EXPECT_EQ(editor->palette().color(QPalette::Base), ToQColor(clBlue));
  EXPECT_EQ(editor->palette().color(QPalette::Text), ToQColor(clYellow));
  EXPECT_TRUE(editor->alignment() & Qt::AlignRight);
}

TEST_F(AlignGridTest, OwnerDrawingSeesTheCurrentCellInTheSelectedColours) {
  grid->SetSelectedColor(clBlue);
  grid->SetSelectedFontColor(clYellow);
  grid->SetCol(2);
  grid->SetRow(2);
  std::vector<std::tuple<int, int, TColor, TColor>> seen;
  grid->OnDrawCell = [&](int c, int r, const TRect &, TGridDrawState state) {
    if (state & gdSelected)
      seen.emplace_back(c, r, grid->Canvas().Brush().Color, grid->Canvas().Font().Color);
  };
  grid->repaint();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], std::make_tuple(2, 2, clBlue, clYellow));
}

TEST_F(AlignGridTest, AlignedDefaultDrawingPicture) {
  grid->SetColAlignment(1, caRight);
  grid->SetColAlignment(2, caCenter);
  grid->SetColWidths(1, 90);
  grid->SetColWidths(2, 90);
  grid->SetSelectedColor(clBlue);
  grid->SetSelectedFontColor(clYellow);
  grid->SetCol(3);
  grid->SetRow(2);
  grid->repaint();
  QDir().mkpath(QString::fromStdString(TestArtifactPath("")));
  EXPECT_TRUE(grid->grab().save(QString::fromStdString(TestArtifactPath("align_grid.png"))));
  // The right-aligned text ends 2 pixels from the cell's right edge: the
  // pixel there is the background, the text's last column is further left.
  const QImage image = grid->viewport()->grab().toImage();
  const TRect r = grid->CellRect(1, 1);
  bool inkNearRight = false;
  bool inkNearLeft = false;
  for (int y = r.Top; y < r.Bottom; ++y) {
    for (int x = r.Right - 14; x < r.Right - 2; ++x)
      inkNearRight = inkNearRight || image.pixelColor(x, y).lightness() < 128;
    for (int x = r.Left; x < r.Left + 30; ++x)
      inkNearLeft = inkNearLeft || image.pixelColor(x, y).lightness() < 128;
  }
  EXPECT_TRUE(inkNearRight);
  EXPECT_FALSE(inkNearLeft);
}
