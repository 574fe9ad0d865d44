// Pictures of a triggered alert's pop-up and of the alert log window, saved
// under the test artifacts, with checks that every text fits its control.
#include "AlertUiTestSupport.h"

#include "alerts/AlertLog.h"
#include "alerts/ui/AlertLogForm.h"
#include "support/TestPaths.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace {

using AlertWindowsPictures = AlertUiTest;

// Every label shows its whole text and every button its whole caption.
void ExpectNothingClipped(QWidget *form) {
  for (QLabel *label : form->findChildren<QLabel *>()) {
    if (label->text().isEmpty())
      continue;
    const QFontMetrics fm(label->font());
    if (label->wordWrap()) {
      EXPECT_GE(label->height(), label->heightForWidth(label->width()))
          << label->objectName().toStdString();
    } else {
      EXPECT_GE(label->width(), fm.horizontalAdvance(label->text()))
          << label->objectName().toStdString();
      EXPECT_GE(label->height(), fm.height()) << label->objectName().toStdString();
    }
    EXPECT_TRUE(form->rect().contains(label->geometry())) << label->objectName().toStdString();
  }
  for (QPushButton *button : form->findChildren<QPushButton *>()) {
    EXPECT_GE(button->width(), button->minimumSizeHint().width())
        << button->objectName().toStdString();
    EXPECT_TRUE(form->rect().contains(button->geometry())) << button->objectName().toStdString();
  }
}

void Save(QWidget *form, const std::string &name) {
  const QPixmap picture = form->grab();
  ASSERT_FALSE(picture.isNull());
  EXPECT_TRUE(picture.save(QString::fromStdString(TestArtifactPath(name))));
}

TEST_F(AlertWindowsPictures, PricePopup) {
  FundData fund;
  fund.CompanyName = "Intl Business Mach";
  fund.Exchange = "NYSE";
  fund.PE = 22.4;
  fund.Yield = 3.9;
  StoreFundamentals("IBM", fund);
  AddPortfolio("Growth", "GROW", {"IBM"});
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 105.5, 105.75);
  TAlertDlg *dlg = Trigger(id);
  ASSERT_NE(dlg, nullptr);
  QCoreApplication::processEvents();
  ExpectNothingClipped(dlg);
  // The symbol and price are centred in the form.
  const int middle = dlg->width() / 2;
  EXPECT_NEAR(dlg->lbSymb->geometry().center().x(), middle, 3);
  EXPECT_NEAR(dlg->lbPrice->geometry().center().x(), middle, 3);
  Save(dlg, "alert_popup_high_price.png");
}

TEST_F(AlertWindowsPictures, ColumnPopupWithALongDescription) {
  const std::string id = AddAlert("BRK.B-LONGSYMBOL", AlertTypeColumn, 1, 2.75);
  AlertPopupInfo info = MakeAlertPopupInfo(Stored(id), id);
  // A long name line wraps instead of widening the form.
  info.NameLine =
      "Berkshire Hathaway Class B Shares (NYSE)  P/E 9.1  52w 291.41-430.00  Mkt Cap 880B";
  TAlertDlg *dlg = OpenAlertPopup(info);
  QCoreApplication::processEvents();
  ExpectNothingClipped(dlg);
  EXPECT_EQ(dlg->width(), TAlertDlg::FormWidth);
  Save(dlg, "alert_popup_column.png");
}

TEST_F(AlertWindowsPictures, AlertLogWindow) {
  ClearAlertLog();
  AddAlertLogLine("Alert ID QWERTY IBM: High Last Price at 105.5 triggered at 105.75");
  clock.AdvanceMs(2000);
  AddAlertLogLine("Queued EMail to investor@example.com: IBM crossed 105.5");
  clock.AdvanceMs(3000);
  AddAlertLogLine("EMail to investor@example.com - SENT");
  TfrmAlertLog *form = ShowAlertLogWindow();
  QCoreApplication::processEvents();
  ASSERT_EQ(form->lbAlerts->count(), 4);
  ExpectNothingClipped(form);
  EXPECT_EQ(form->lbAlerts->geometry().bottom() + 1, form->pbClear->geometry().top() - 2);
  Save(form, "alert_log_window.png");
  form->close();
}

} // namespace
