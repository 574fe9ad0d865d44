#include "alerts/AlertLog.h"
#include "alerts/ui/AlertLogForm.h"
#include "alerts/ui/AlertLogLayout.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class AlertLogFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetAppClock(&clock);
    ClearAlertLog();
  }
  void TearDown() override {
    if (TfrmAlertLog *open = OpenAlertLogWindow())
      open->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ClearAlertLog();
    SetAppClock(nullptr);
  }

  static std::vector<std::string> Items(QListWidget *list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i)
      items.push_back(list->item(i)->text().toStdString());
    return items;
  }

  FakeClock clock{45301.4375}; // 10:30:00
};

TEST_F(AlertLogFormTest, ControlsAndCaption) {
  TfrmAlertLog *form = ShowAlertLogWindow();
  EXPECT_EQ(form->windowTitle().toStdString(), "Session Alerts Log");
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  auto *close = form->findChild<QPushButton *>("pbClose");
  auto *clear = form->findChild<QPushButton *>("pbClear");
  ASSERT_NE(close, nullptr);
  ASSERT_NE(clear, nullptr);
  EXPECT_EQ(close->text().toStdString(), "&Close");
  EXPECT_EQ(clear->text().toStdString(), "Clear Log");
  EXPECT_NE(form->findChild<QListWidget *>("lbAlerts"), nullptr);
  auto *timer = form->findChild<QTimer *>("Timer1");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 1000);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(ShowAlertLogWindow(), form); // one window at a time
}

TEST_F(AlertLogFormTest, ShowsTheLogWhenShown) {
  AddAlertLogLine("Alert ID QWERTY triggered");
  clock.AdvanceMs(61000);
  AddAlertLogLine("EMail to a@b.c - SENT");
  TfrmAlertLog *form = ShowAlertLogWindow();
  EXPECT_EQ(Items(form->lbAlerts), (std::vector<std::string>{"10:30:00 --- Log Cleared",
                                                             "10:30:00 Alert ID QWERTY triggered",
                                                             "10:31:01 EMail to a@b.c - SENT"}));
}

TEST_F(AlertLogFormTest, LinesAddedWhileOpenAppearOnTheTimer) {
  TfrmAlertLog *form = ShowAlertLogWindow();
  form->Timer1->setInterval(10);
  AddAlertLogLine("late line");
  QElapsedTimer waited;
  waited.start();
  while (form->lbAlerts->count() < 2 && waited.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(Items(form->lbAlerts),
            (std::vector<std::string>{"10:30:00 --- Log Cleared", "10:30:00 late line"}));
}

TEST_F(AlertLogFormTest, ClearLogLeavesOneLine) {
  AddAlertLogLine("a");
  AddAlertLogLine("b");
  TfrmAlertLog *form = ShowAlertLogWindow();
  clock.AdvanceMs(5000);
  form->pbClear->click();
  EXPECT_EQ(Items(form->lbAlerts), std::vector<std::string>{"10:30:05 --- Log Cleared"});
  EXPECT_EQ(AlertLogLines(), std::vector<std::string>{"10:30:05 --- Log Cleared"});
}

TEST_F(AlertLogFormTest, ALogClearedElsewhereAddsNothingUntilRefilled) {
  AddAlertLogLine("a");
  AddAlertLogLine("b");
  TfrmAlertLog *form = ShowAlertLogWindow();
  ASSERT_EQ(form->lbAlerts->count(), 3);
  ClearAlertLog();
  AddAlertLogLine("c");
  form->Timer1Timer();
  EXPECT_EQ(form->lbAlerts->count(), 3);
  form->FormShow();
  EXPECT_EQ(Items(form->lbAlerts),
            (std::vector<std::string>{"10:30:00 --- Log Cleared", "10:30:00 c"}));
}

TEST_F(AlertLogFormTest, ResizeKeepsTheButtonsInTheCorner) {
  TfrmAlertLog *form = ShowAlertLogWindow();
  form->resize(500, 300);
  QCoreApplication::processEvents();
  const AlertLogLayout want =
      LayoutAlertLog(form->size(), form->pbClose->size(), form->pbClear->size());
  EXPECT_EQ(form->pbClose->geometry(), want.close);
  EXPECT_EQ(form->pbClose->geometry().right(), 500 - 2 - 1);
  EXPECT_EQ(form->pbClose->geometry().bottom(), 300 - 2 - 1);
  EXPECT_EQ(form->pbClear->geometry(), want.clear);
  EXPECT_EQ(form->lbAlerts->geometry(), want.list);
  // Buttons show their whole captions.
  for (QPushButton *button : {form->pbClose, form->pbClear})
    EXPECT_GE(button->width(), button->sizeHint().width());
}

TEST_F(AlertLogFormTest, CloseFreesTheWindow) {
  QPointer<TfrmAlertLog> form = ShowAlertLogWindow();
  form->pbClose->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(OpenAlertLogWindow(), nullptr);
  // Escape closes as well.
  form = ShowAlertLogWindow();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(form, &escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(form.isNull());
}

} // namespace
