#include "core/ErrorReport.h"
#include "core/StandIns.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>

#include <chrono>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

TEST(ErrorReportTest, SinkRecordsReportsFromAnyThread) {
  std::mutex m;
  std::vector<std::pair<std::string, std::string>> got;
  SetErrorReportSink([&](const std::string &message, const std::string &place) {
    std::lock_guard<std::mutex> l(m);
    got.emplace_back(message, place);
  });
  ShowErrorReport("Mark 3 boom", "MoveColumn");
  std::thread worker([] { ShowErrorReport("from worker", "SGShowAll"); });
  worker.join();
  SetErrorReportSink(nullptr);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], std::make_pair(std::string("Mark 3 boom"), std::string("MoveColumn")));
  EXPECT_EQ(got[1].second, "SGShowAll");
}

TEST(ErrorReportTest, WindowIsNonModalAndReusedOnTheWindowThread) {
  std::thread worker([] { ShowErrorReport("first", "GetWatch"); });
  worker.join();
  ShowErrorReport("second", "TGBeginDrag");
  QMessageBox *box = nullptr;
  for (int i = 0; i < 100 && !box; ++i) {
    QApplication::processEvents();
    for (QWidget *w : QApplication::topLevelWidgets())
      if (w->objectName() == "ErrorReport" && w->isVisible())
        box = qobject_cast<QMessageBox *>(w);
  }
  ASSERT_NE(box, nullptr);
  QApplication::processEvents();
  EXPECT_FALSE(box->isModal());
  EXPECT_EQ(box->windowTitle(), "Error Report");
  EXPECT_TRUE(box->text().contains("second"));
  EXPECT_TRUE(box->text().contains("Place: TGBeginDrag"));
  int shown = 0;
  for (QWidget *w : QApplication::topLevelWidgets())
    if (w->objectName() == "ErrorReport" && w->isVisible())
      ++shown;
  EXPECT_EQ(shown, 1);
  box->close();
  QApplication::processEvents();
}

// The window shows a report while the worker that made it is still unjoined:
// the hand-over itself must order the worker's text before the window reads it.
TEST(ErrorReportTest, AReportFromAnUnjoinedWorkerReachesTheWindow) {
  std::thread worker([] { ShowErrorReport("unjoined worker", "SGShowAll"); });
  QMessageBox *box = nullptr;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!box && std::chrono::steady_clock::now() < deadline) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    for (QWidget *w : QApplication::topLevelWidgets())
      if (w->objectName() == "ErrorReport" && w->isVisible())
        box = qobject_cast<QMessageBox *>(w);
  }
  worker.join();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->text().contains("unjoined worker"));
  EXPECT_TRUE(box->text().contains("Place: SGShowAll"));
  box->close();
  QApplication::processEvents();
}

TEST(ErrorReportTest, StatusMessagesGoToTheHook) {
  std::vector<std::string> got;
  SetStatusMsgHook([&](const std::string &m) { got.push_back(m); });
  ShowStatusMsg("BeginDrag");
  SetStatusMsgHook(nullptr);
  ShowStatusMsg("logged only");
  EXPECT_EQ(got, std::vector<std::string>{"BeginDrag"});
}

TEST(StandInsTest, SmallServices) {
  EXPECT_EQ(GetHelpFileName(), "");
  EXPECT_EQ(GetIndexDisplayName("^DJI"), "^DJI");
  int calls = 0;
  HandleGlobalKeys(Qt::Key_F2, Qt::NoModifier); // no handler: nothing
  SetGlobalKeyHandler([&](int key, Qt::KeyboardModifiers) { calls += key == Qt::Key_F2; });
  HandleGlobalKeys(Qt::Key_F2, Qt::ShiftModifier);
  SetGlobalKeyHandler(nullptr);
  EXPECT_EQ(calls, 1);

  struct Thrower {
    ~Thrower() noexcept(false) { throw 1; }
  };
  Thrower *t = new Thrower;
  SafeFree(t);
  EXPECT_EQ(t, nullptr);
  int *none = nullptr;
  SafeFree(none);
}

TEST(StandInsTest, VisibleFramePosition) {
  const QRect primary(0, 0, 1920, 1040);
  const QList<QRect> screens{primary, QRect(1920, 0, 1280, 1024)};
  // On a screen, or partly on one: unchanged.
  EXPECT_EQ(VisibleFramePosition(QRect(100, 100, 400, 300), screens, primary), QPoint(100, 100));
  EXPECT_EQ(VisibleFramePosition(QRect(3000, 900, 400, 300), screens, primary), QPoint(3000, 900));
  // On no screen: centred on the primary one.
  EXPECT_EQ(VisibleFramePosition(QRect(5000, 5000, 400, 300), screens, primary), QPoint(760, 370));
  // Larger than the screen: its top-left stays on the screen.
  EXPECT_EQ(VisibleFramePosition(QRect(-5000, 0, 3000, 2000), screens, primary), QPoint(0, 0));
}

TEST(StandInsTest, ButtonFormCreateMakesTheDerivedForm) {
  struct TTestForm : TButtonForm {
    using TButtonForm::TButtonForm;
  };
  QWidget owner;
  TTestForm *form = TButtonForm::Create<TTestForm>(&owner);
  EXPECT_EQ(form->parent(), &owner);
  EnsureFormVisible(form);
  EnsureFormVisible(nullptr);
}
