#include "platform/Prompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs inspect on the message box once it is up, then presses the button with the
// given standard role.
void WhenBoxShows(std::function<void(QMessageBox &)> inspect, QMessageBox::StandardButton press) {
  auto *timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, inspect, press] {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
      return;
    timer->stop();
    timer->deleteLater();
    inspect(*box);
    box->button(press)->click();
  });
  timer->start();
}

TEST(QtPrompt, ShowsTheQuestionAndReturnsTheButtonPressed) {
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QAbstractButton *defaultButton = nullptr;
  QAbstractButton *noButton = nullptr;
  WhenBoxShows(
      [&](QMessageBox &box) {
        text = box.text();
        title = box.windowTitle();
        icon = box.icon();
        buttons = box.standardButtons();
        defaultButton = box.defaultButton();
        noButton = box.button(QMessageBox::No);
      },
      QMessageBox::No);
  QtPrompt prompt;
  const TModalResult result = prompt.Ask(
      {"Delete all alerts?\r\n\r\nContinue?", "Delete All Alerts", mtWarning, mbYesNoCancel, mbNo});
  EXPECT_EQ(result, mrNo);
  EXPECT_EQ(text, "Delete all alerts?\n\nContinue?");
  EXPECT_EQ(title, "Delete All Alerts");
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(defaultButton, noButton);
}

TEST(QtPrompt, MapsIconsAndTheOtherButtons) {
  struct Case {
    TMsgDlgType type;
    QMessageBox::Icon icon;
    TMsgDlgButtons buttons;
    QMessageBox::StandardButton press;
    TModalResult result;
  };
  const Case cases[] = {
      {mtError, QMessageBox::Critical, mbAbortRetryIgnore, QMessageBox::Retry, mrRetry},
      {mtConfirmation, QMessageBox::Question, mbYesNo, QMessageBox::Yes, mrYes},
      {mtInformation, QMessageBox::Information, mbOK, QMessageBox::Ok, mrOk},
      {mtCustom, QMessageBox::NoIcon, mbOKCancel, QMessageBox::Cancel, mrCancel},
  };
  for (const Case &c : cases) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenBoxShows([&](QMessageBox &box) { icon = box.icon(); }, c.press);
    QtPrompt prompt;
    EXPECT_EQ(prompt.Ask({"text", "caption", c.type, c.buttons, 0}), c.result);
    EXPECT_EQ(icon, c.icon);
  }
}

} // namespace
