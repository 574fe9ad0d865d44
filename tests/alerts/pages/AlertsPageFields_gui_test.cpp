#include "AlertsPageTestSupport.h"

#include "alerts/pages/UpDown.h"
#include "platform/Sound.h"
#include "support/TestPaths.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

namespace {

using AlertsPageFieldsTest = AlertsPageTest;

int SwatchOf(TColor colour) {
  const auto &swatches = TdlgColor::Swatches();
  for (int i = 0; i < int(swatches.size()); ++i)
    if (swatches[std::size_t(i)] == colour)
      return i;
  return -1;
}

} // namespace

TEST_F(AlertsPageFieldsTest, TheSpinnerAndArrowKeysStepTheLimit) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 5);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  TUpDown *spinner = page->ParamFields()->UpDown(1011);
  ASSERT_NE(spinner, nullptr);
  spinner->UpButton->click();
  EXPECT_EQ(FieldText(1001), "5.1");
  EXPECT_DOUBLE_EQ(page->EditAlert()->P1, 5.1);
  EXPECT_EQ(spinner->Position(), 0); // the spinner itself never moves
  Key(FieldEdit(1001), Qt::Key_Up);
  EXPECT_EQ(FieldText(1001), "5.2");
  Key(FieldEdit(1001), Qt::Key_PageDown);
  EXPECT_EQ(FieldText(1001), "4.6");
  spinner->DownButton->click();
  EXPECT_EQ(FieldText(1001), "4.55");
  EXPECT_DOUBLE_EQ(page->EditAlert()->P1, 4.55);
}

TEST_F(AlertsPageFieldsTest, TheSpinnerStepsFractionsWithTheFractionDisplay) {
  SetFractionDisplay(true);
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 100);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  page->ParamFields()->UpDown(1011)->UpButton->click();
  EXPECT_EQ(FieldText(1001), "100 1/8");
  EXPECT_DOUBLE_EQ(page->EditAlert()->P1, 100.125);
}

TEST_F(AlertsPageFieldsTest, APriceAlertOnAnUnknownBasisShowsLast) {
  StoreLast("IBM", 87.5);
  const std::string id = AddAlert("IBM", AlertTypeLowPrice, 80, 0.0);
  Open();
  ClickNode(AlertNode(id));
  EXPECT_EQ(FieldText(1002), "1");
  EXPECT_EQ(FieldText(1003), "0");
  EXPECT_EQ(FieldText(1004), "0");
}

TEST_F(AlertsPageFieldsTest, TheBasisAndCrossingReachTheAlert) {
  const std::string id = AddAlert("IBM", AlertTypeLowPrice, 80);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  qobject_cast<QRadioButton *>(Field(1004))->click();
  qobject_cast<QCheckBox *>(Field(1005))->click();
  EXPECT_DOUBLE_EQ(page->EditAlert()->P2, 3.0);
  EXPECT_DOUBLE_EQ(page->EditAlert()->P3, 1.0);
  page->pbSaveIt->click();
  EXPECT_DOUBLE_EQ(Stored(id).P2, 3.0);
  EXPECT_DOUBLE_EQ(Stored(id).P3, 1.0);
}

TEST_F(AlertsPageFieldsTest, ChoosingLowForcesLessThanAndTakesTheDaysLow) {
  StoreLast("IBM", 101, 97.5);
  const std::string id = AddAlert("IBM", AlertTypeColumn, ColumnChange, 0, 1.5, 0);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  EXPECT_TRUE(Field(1002)->isEnabled());
  EXPECT_TRUE(Field(1004)->isHidden());
  Choose(qobject_cast<QComboBox *>(Field(1001)), ColumnLow);
  EXPECT_EQ(FieldText(1002), "1");
  EXPECT_FALSE(Field(1002)->isEnabled());
  EXPECT_EQ(FieldText(1003), "97.5");
  EXPECT_DOUBLE_EQ(page->EditAlert()->P1, ColumnLow);
  EXPECT_DOUBLE_EQ(page->EditAlert()->P2, 1);
  EXPECT_DOUBLE_EQ(page->EditAlert()->P3, 97.5);

  Choose(qobject_cast<QComboBox *>(Field(1001)), ColumnHigh);
  EXPECT_EQ(FieldText(1002), "0");
  EXPECT_FALSE(Field(1002)->isEnabled());

  Choose(qobject_cast<QComboBox *>(Field(1001)), ColumnVolume);
  EXPECT_FALSE(Field(1004)->isHidden());
  page->ParamFields()->UpDown(1013)->UpButton->click();
  EXPECT_EQ(FieldText(1003), "5000"); // no ticks: 0, then one step of 5000
}

TEST_F(AlertsPageFieldsTest, ChangingTheTypeRebuildsTheFields) {
  StoreLast("IBM", 101);
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  Choose(page->cmbType, AlertTypeNews);
  EXPECT_EQ(page->ParamFields()->Count(), 3);
  EXPECT_EQ(qobject_cast<QLabel *>(Field(1010))->text().toStdString(), "Alert if news less than ");
  EXPECT_EQ(FieldText(1001), "2");
  EXPECT_EQ(page->EditAlert()->AlertType, AlertTypeNews);
  EXPECT_DOUBLE_EQ(page->EditAlert()->P1, 2);

  Choose(page->cmbType, AlertTypeColumn);
  EXPECT_EQ(FieldText(1001), "5"); // Volume
  EXPECT_EQ(FieldText(1002), "0");
  EXPECT_EQ(FieldText(1004), "1");
  EXPECT_EQ(page->EditAlert()->AlertType, AlertTypeColumn);
}

TEST_F(AlertsPageFieldsTest, TheColourPopupSetsTheRowColour) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  const QPoint inside(4, 4);
  QMouseEvent press(QEvent::MouseButtonPress, inside, page->panHigh->mapToGlobal(inside),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(page->panHigh, &press);
  TdlgColor &popup = dlgColor();
  EXPECT_TRUE(popup.isVisible());
  EXPECT_EQ(popup.pos(), page->panHigh->mapToGlobal(QPoint(0, page->panHigh->height())));
  EXPECT_EQ(ColorPopupColor, TColor(Stored(id).HighlightColor));

  popup.Pick(SwatchOf(clBlue));
  EXPECT_FALSE(popup.isVisible());
  page->Timer1Timer();
  EXPECT_FALSE(ColorPopupPicked);
  EXPECT_EQ(TOPanAlerts::PanelColor(page->panHigh), clBlue);
  EXPECT_EQ(page->EditAlert()->HighlightColor, std::int32_t(clBlue));
  page->pbSaveIt->click();
  EXPECT_EQ(Stored(id).HighlightColor, std::int32_t(clBlue));
}

TEST_F(AlertsPageFieldsTest, PreviewShowsTheFullDescription) {
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 105.5);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  emit page->pbAlertDesc->pressed();
  EXPECT_TRUE(page->mDesc->isVisible());
  EXPECT_EQ(page->mDesc->toPlainText().toStdString(), Stored(id).FullDescription(true));
  emit page->pbAlertDesc->released();
  EXPECT_FALSE(page->mDesc->isVisible());
}

TEST_F(AlertsPageFieldsTest, SoundControls) {
  FakeSound sound;
  SetAppSound(&sound);
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(id));
  EXPECT_FALSE(page->rbSystem->isEnabled());
  page->cbAudio->click();
  EXPECT_TRUE(page->rbSystem->isChecked());
  EXPECT_TRUE(page->cmbAlertStandard->isEnabled());
  EXPECT_FALSE(page->dfWaveFile->isEnabled());
  EXPECT_EQ(page->cmbAlertStandard->currentIndex(), 0);
  Choose(page->cmbAlertStandard, 2);
  page->pbTest->click();
  ASSERT_EQ(sound.Calls().size(), 1u);
  EXPECT_EQ(sound.Calls()[0].index, 2);
  EXPECT_EQ(page->EditAlert()->SoundIndex, 2);

  page->rbCustom->click();
  EXPECT_FALSE(page->rbSystem->isChecked());
  EXPECT_EQ(FieldText(1002), "1"); // the basis stays "Last": the radio groups are apart
  EXPECT_TRUE(page->dfWaveFile->isEnabled());
  EXPECT_FALSE(page->cmbAlertStandard->isEnabled());
  Type(page->dfWaveFile, "/nowhere/bell.wav");
  EXPECT_EQ(page->EditAlert()->WaveFile, "/nowhere/bell.wav");
  EXPECT_EQ(page->EditAlert()->SoundIndex, -1);
  sound.FailWave("/nowhere/bell.wav");
  page->pbTest->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text, "sndPlaySound failed");
  EXPECT_EQ(prompt.Questions()[0].caption, "Audio Test");
  page->pbSaveIt->click();
  EXPECT_TRUE(Stored(id).Actions.Contains(ActionSound));
  AlertNode(id)->setExpanded(true);
  EXPECT_EQ(AlertNode(id)->childCount(), 3);
  SetAppSound(nullptr);
}

TEST_F(AlertsPageFieldsTest, EMailTemplates) {
  EMailSetups().Add("Broker",
                    std::make_unique<EMailRecord>("BRK0001", "", "s", "me@x.org", "Broker"));
  EMailSetups().Add("Phone",
                    std::make_unique<EMailRecord>("PHN0002", "", "s", "sms@x.org", "Phone"));
  TAlertDefaults defaults;
  defaults.DEFEML = "PHN0002";
  SetAlertDefaults(defaults);
  const std::string id = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  EXPECT_EQ(page->cmbEmail->count(), 3);
  EXPECT_EQ(page->cmbEmail->currentIndex(), 2); // the default template
  ClickNode(AlertNode(id));
  EXPECT_EQ(page->cmbEmail->currentIndex(), 0); // the alert has none
  Choose(page->cmbEmail, 1);
  page->pbSaveIt->click();
  EXPECT_EQ(Stored(id).EMailSetupID, "BRK0001");
  EXPECT_TRUE(Stored(id).Actions.Contains(ActionEMail));
}

TEST_F(AlertsPageFieldsTest, Pictures) {
  StoreLast("IBM", 101.5, 99.25);
  AddAlert("MSFT", AlertTypeHighPrice, 420);
  const std::string id = AddAlert("IBM", AlertTypeLowPrice, 98.5);
  AddAlert("IBM", AlertTypeNews, 2, 0);
  const std::string column = AddAlert("IBM", AlertTypeColumn, ColumnVolume, 0, 250000, 1);
  TOPanAlerts *page = Open();
  dlg->resize(dlg->sizeHint());
  ClickNode(AlertNode(id));
  AlertNode(id)->setExpanded(true);
  EXPECT_TRUE(dlg->grab().save(QString::fromStdString(TestArtifactPath("prefs_alerts_page.png"))));
  ClickNode(AlertNode(column));
  EXPECT_TRUE(
      dlg->grab().save(QString::fromStdString(TestArtifactPath("prefs_alerts_column.png"))));
  page->pbNewAlert->click();
  EXPECT_TRUE(dlg->grab().save(QString::fromStdString(TestArtifactPath("prefs_alerts_new.png"))));
  page->pbCancel->click();
  // Every created control lies inside the parameter panel.
  ClickNode(AlertNode(id));
  for (int tag : {1000, 1001, 1011, 1010, 1002, 1003, 1004, 1005})
    EXPECT_TRUE(page->ParamPan->rect().contains(Field(tag)->geometry())) << tag;
}
