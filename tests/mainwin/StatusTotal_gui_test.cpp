// The portfolio total on the main window's status line, as the screen shows
// it while the user browses the menus.
#include "mainwin/ProgramWindowTest.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace {

TEST_F(ProgramWindowTest, StatusLineKeepsThePortfolioTotalWhileAMenuIsBrowsed) {
  // Pixels of the rectangle that are not its most common colour (text).
  const auto InkPixels = [](const QImage &image, const QRect &rect) {
    const QColor back = Background(image, rect);
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x)
        if (image.rect().contains(x, y) && QColor(image.pixel(x, y)).rgb() != back.rgb())
          ++n;
    return n;
  };
  ShowForm();
  // No refresh tick and no DEMO: the window's own first fill and a heartbeat.
  ASSERT_TRUE(Settle());
  ASSERT_TRUE(Heartbeat());
  auto *total = form->findChild<QLabel *>(QStringLiteral("lbTotal"));
  ASSERT_NE(total, nullptr);
  const std::string text = total->text().toStdString();
  EXPECT_EQ(text.rfind("US Large Caps ", 0), 0u) << text;
  const QRect onScreen(total->mapTo(form.get(), QPoint(0, 0)), total->size());
  const int inkBefore = InkPixels(Screen(), onScreen);
  EXPECT_GT(inkBefore, 20) << "the total is drawn";

  // The user moves over the items of the View menu: each one shows its
  // status tip (none) on the status line.
  QMenu *menu = form->mnView;
  QMenuBar *bar = form->menuBar();
  gridtest::Click(bar, bar->actionGeometry(menu->menuAction()).center());
  ASSERT_TRUE(ProcessEventsUntil([&] { return menu->isVisible(); }));
  form->statusBar()->showMessage(QStringLiteral("a temporary message"));
  for (QAction *action : menu->actions()) {
    const QPoint at = menu->actionGeometry(action).center();
    gridtest::Move(menu, at);
    QCoreApplication::processEvents();
  }
  EXPECT_TRUE(form->statusBar()->currentMessage().isEmpty()) << "the hover replaced the message";
  gridtest::Key(menu, Qt::Key_Escape);
  menu->hide();
  for (int i = 0; i < 20; ++i)
    QCoreApplication::processEvents();
  EXPECT_EQ(total->text().toStdString(), text);
  EXPECT_TRUE(total->isVisible());
  EXPECT_EQ(InkPixels(Screen(), onScreen), inkBefore);
  SavePicture("program_status_total.png");
}

} // namespace
