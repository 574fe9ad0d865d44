#include "charts/ColorPopup.h"
#include "support/TestPaths.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

class ColorPopupTest : public ::testing::Test {
protected:
  void SetUp() override { ColorPopupPicked = false; }
  void TearDown() override {
    dlgColor().hide();
    ColorPopupPicked = false;
  }
  static void ReleaseAt(QWidget *w, QPoint p) {
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
  }
};

} // namespace

TEST_F(ColorPopupTest, SwatchesLieInsideTheWindowWithoutOverlap) {
  TdlgColor &popup = dlgColor();
  const int n = int(TdlgColor::Swatches().size());
  for (int i = 0; i < n; ++i) {
    EXPECT_TRUE(popup.rect().contains(popup.SwatchRect(i))) << i;
    EXPECT_EQ(popup.SwatchAt(popup.SwatchRect(i).center()), i);
  }
  EXPECT_EQ(popup.SwatchAt(QPoint(0, 0)), -1); // the gap around the swatches
}

TEST_F(ColorPopupTest, AClickOnASwatchPicksItsColour) {
  ColorPopupColor = clRed;
  TdlgColor &popup = dlgColor();
  popup.move(40, 50);
  popup.show();
  EXPECT_EQ(popup.pos(), QPoint(40, 50));
  ReleaseAt(&popup, popup.SwatchRect(12).center());
  EXPECT_TRUE(ColorPopupPicked);
  EXPECT_EQ(ColorPopupPickedColor, TdlgColor::Swatches()[12]);
  EXPECT_FALSE(popup.isVisible());
}

TEST_F(ColorPopupTest, EscapeOrAClickBesideTheSwatchesPicksNothing) {
  TdlgColor &popup = dlgColor();
  popup.show();
  ReleaseAt(&popup, QPoint(0, 0));
  EXPECT_FALSE(ColorPopupPicked);
  EXPECT_TRUE(popup.isVisible());
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&popup, &escape);
  EXPECT_FALSE(popup.isVisible());
  EXPECT_FALSE(ColorPopupPicked);
}

TEST_F(ColorPopupTest, Picture) {
  ColorPopupColor = clYellow;
  TdlgColor &popup = dlgColor();
  EXPECT_TRUE(popup.grab().save(QString::fromStdString(TestArtifactPath("color_popup.png"))));
}
