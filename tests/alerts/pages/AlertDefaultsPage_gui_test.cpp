#include "alerts/pages/AlertDefaultsPage.h"

#include "alerts/pages/AlertOptionPages2.h"
#include "alerts/pages/FileDialogPick.h"
#include "alerts/pages/PageTestSupport.h"
#include "prefs/PrefDialog.h"
#include "prefs/PrefPageRegistry.h"
#include "support/TestPaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>

namespace {

class AlertDefaultsPageTest : public PageTest {
protected:
  void SetUp() override {
    PageTest::SetUp();
    EMailSetups().Add("Broker",
                      std::make_unique<EMailRecord>("BRKR001", "", "s", "a@b.c", "Broker"));
    EMailSetups().Add("Phone", std::make_unique<EMailRecord>("PHON002", "", "s", "p@b.c", "Phone"));
  }

  std::unique_ptr<TOPanAlertDefs> Page() {
    auto page = std::make_unique<TOPanAlertDefs>();
    page->resize(TdlgPref::PageWidth, TdlgPref::PageHeight);
    page->show();
    page->FormShow();
    return page;
  }

  std::string IniText() const {
    QFile f(QString::fromStdString(Folder() + "BOURSE.INI"));
    if (!f.open(QIODevice::ReadOnly))
      return {};
    return f.readAll().toStdString();
  }

  static void Grab(QWidget *w, const std::string &name) {
    QDir().mkpath(QString::fromStdString(TestArtifactPath("")));
    EXPECT_TRUE(w->grab().save(QString::fromStdString(TestArtifactPath(name))));
  }
};

} // namespace

TEST_F(AlertDefaultsPageTest, ShowFillsTheControlsFromTheDefaults) {
  TAlertDefaults d;
  d.Popup = false;
  d.Flash = true;
  d.HighRow = false;
  d.Audio = true;
  d.ASystem = false;
  d.ACustom = true;
  d.System = 3;
  d.Custom = "/sounds/bell.wav";
  d.DEFEML = "PHON002";
  d.AutoSave = true;
  d.Length = 15;
  SetAlertDefaults(d);
  auto page = Page();
  EXPECT_FALSE(page->cbAlertPop->isChecked());
  EXPECT_TRUE(page->cbAlertFlash->isChecked());
  EXPECT_FALSE(page->cbHRAlert->isChecked());
  EXPECT_TRUE(page->cbAlertAudio->isChecked());
  EXPECT_FALSE(page->rbSystem->isChecked());
  EXPECT_TRUE(page->rbCustom->isChecked());
  EXPECT_EQ(page->cmbAlertStandard->currentIndex(), 3);
  EXPECT_EQ(page->cmbAlertStandard->currentText(), QStringLiteral("Stop"));
  EXPECT_EQ(page->dfWaveFile->text(), QStringLiteral("/sounds/bell.wav"));
  EXPECT_TRUE(page->cbAutoSave->isChecked());
  EXPECT_EQ(page->dfAlertTime->text(), QStringLiteral("15"));
  ASSERT_EQ(page->cmbEMail->count(), 3);
  EXPECT_EQ(page->cmbEMail->itemText(0), QStringLiteral("--- No Email Alert ---"));
  EXPECT_EQ(page->cmbEMail->itemText(2), QStringLiteral("Phone"));
  EXPECT_EQ(page->cmbEMail->currentIndex(), 2);
  // Custom sound: the list is off, the file is on.
  EXPECT_TRUE(page->rbSystem->isEnabled());
  EXPECT_FALSE(page->cmbAlertStandard->isEnabled());
  EXPECT_TRUE(page->dfWaveFile->isEnabled());
  EXPECT_TRUE(page->pbWaveFile->isEnabled());
  EXPECT_TRUE(page->pbTest->isEnabled());
  Grab(page.get(), "alert_defaults_page.png");
}

TEST_F(AlertDefaultsPageTest, CloseWritesSectionAlertAndTheLiveDefaults) {
  auto page = Page();
  page->cbAlertPop->setChecked(false);
  page->cbAlertAudio->click();
  page->rbCustom->click();
  page->cmbAlertStandard->setCurrentIndex(4);
  page->dfWaveFile->setText(QStringLiteral("/sounds/gong.wav"));
  page->cmbEMail->setCurrentIndex(1);
  page->cbAutoSave->setChecked(true);
  page->dfAlertTime->setText(QStringLiteral("30"));
  page->FormClose();

  EXPECT_EQ(IniText(), "[Alert]\nPopup=NO\nFlash=YES\nAutoSave=YES\nAudio=YES\n"
                       "HighRow=YES\nASystem=NO\nACustom=YES\nSystem=4\n"
                       "Custom=/sounds/gong.wav\nDEFEML=BRKR001\nLength=30\n");
  // A fresh read of the file gives what the page showed.
  TMyIniFile ini(Folder() + "BOURSE.INI");
  const TAlertDefaults read = ReadAlertDefaults(ini);
  EXPECT_FALSE(read.Popup);
  EXPECT_TRUE(read.Audio);
  EXPECT_FALSE(read.ASystem);
  EXPECT_TRUE(read.ACustom);
  EXPECT_EQ(read.System, 4);
  EXPECT_EQ(read.Custom, "/sounds/gong.wav");
  EXPECT_EQ(read.DEFEML, "BRKR001");
  EXPECT_TRUE(read.AutoSave);
  EXPECT_EQ(read.Length, 30);
  const TAlertDefaults live = CurrentAlertDefaults();
  EXPECT_EQ(live.Length, 30);
  EXPECT_EQ(live.DEFEML, "BRKR001");
  EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(AlertDefaultsPageTest, TheNextShowReadsWhatCloseWrote) {
  // The page writes what it shows and reads back the same on the next show.
  auto page = Page();
  page->cbHRAlert->setChecked(false);
  page->dfAlertTime->setText(QStringLiteral("5"));
  page->FormClose();
  page.reset();
  SetAlertDefaults(TAlertDefaults{});
  SetAlertDefaults(ReadAlertDefaults(SettingsFile()));
  auto again = Page();
  EXPECT_FALSE(again->cbHRAlert->isChecked());
  EXPECT_EQ(again->dfAlertTime->text(), QStringLiteral("5"));
}

TEST_F(AlertDefaultsPageTest, WithoutTemplatesTheListHoldsOnlyNoEmailAlert) {
  ResetMailSettings();
  TAlertDefaults d;
  d.DEFEML = "BRKR001";
  SetAlertDefaults(d);
  auto page = Page();
  ASSERT_EQ(page->cmbEMail->count(), 1);
  EXPECT_EQ(page->cmbEMail->currentIndex(), 0);
  page->FormClose();
  EXPECT_NE(IniText().find("DEFEML=\n"), std::string::npos);
}

TEST_F(AlertDefaultsPageTest, ADeletedDefaultTemplateSelectsEntryZero) {
  TAlertDefaults d;
  d.DEFEML = "GONE999";
  SetAlertDefaults(d);
  auto page = Page();
  EXPECT_EQ(page->cmbEMail->currentIndex(), 0);
}

TEST_F(AlertDefaultsPageTest, EnablingFollowsAudioAndTheSoundChoice) {
  auto page = Page(); // audio off by default
  for (QWidget *w :
       std::initializer_list<QWidget *>{page->rbSystem, page->rbCustom, page->pbTest,
                                        page->cmbAlertStandard, page->dfWaveFile, page->pbWaveFile})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  page->cbAlertAudio->click();
  EXPECT_TRUE(page->rbSystem->isEnabled());
  EXPECT_TRUE(page->cmbAlertStandard->isEnabled());
  EXPECT_FALSE(page->dfWaveFile->isEnabled());
  page->rbCustom->click();
  EXPECT_FALSE(page->cmbAlertStandard->isEnabled());
  EXPECT_TRUE(page->dfWaveFile->isEnabled());
  EXPECT_TRUE(page->pbWaveFile->isEnabled());
}

TEST_F(AlertDefaultsPageTest, ThresholdWithLeadingZerosIsRewrittenOnExit) {
  auto page = Page();
  page->dfAlertTime->setText(QStringLiteral("007"));
  page->dfAlertTimeExit();
  EXPECT_EQ(page->dfAlertTime->text(), QStringLiteral("7"));
  EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(AlertDefaultsPageTest, ABadThresholdIsReportedAndKeepsItsValue) {
  TAlertDefaults d;
  d.Length = 12;
  SetAlertDefaults(d);
  auto page = Page();
  page->dfAlertTime->setText(QStringLiteral("x1"));
  page->dfAlertTimeExit();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text, "'x1' is not a valid integer value");
  EXPECT_EQ(prompt.Questions()[0].icon, mtError);
  EXPECT_EQ(page->dfAlertTime->text(), QStringLiteral("x1")) << "the field keeps its text";
  page->cbAutoSave->setChecked(true);
  page->activateWindow();
  page->dfAlertTime->setFocus();
  ASSERT_TRUE(ProcessEventsUntil([&] { return page->dfAlertTime->hasFocus(); }));
  page->FormClose();
  page->hide(); // the field loses the focus after the close: no third report
  EXPECT_EQ(prompt.QuestionCount(), 2u) << "reported again when the page closes";
  EXPECT_NE(IniText().find("AutoSave=YES"), std::string::npos) << "the other keys are written";
  EXPECT_NE(IniText().find("Length=12"), std::string::npos);
  EXPECT_EQ(CurrentAlertDefaults().Length, 12);
}

TEST_F(AlertDefaultsPageTest, TestPlaysTheChosenSound) {
  auto page = Page();
  page->pbTest->setEnabled(true);
  page->pbTestClick(); // audio off: nothing
  EXPECT_TRUE(sound.Calls().empty());
  page->cbAlertAudio->click();
  page->rbSystem->click();
  page->cmbAlertStandard->setCurrentIndex(2);
  page->pbTest->click();
  page->rbCustom->click();
  page->dfWaveFile->setText(QStringLiteral("/sounds/ok.wav"));
  page->pbTest->click();
  const std::vector<FakeSound::Call> expected{{false, 2, ""}, {true, -1, "/sounds/ok.wav"}};
  EXPECT_EQ(sound.Calls(), expected);
  EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(AlertDefaultsPageTest, AWaveFileThatWillNotPlayIsReported) {
  auto page = Page();
  page->cbAlertAudio->click();
  page->rbCustom->click();
  page->dfWaveFile->setText(QStringLiteral("/sounds/broken.wav"));
  sound.FailWave("/sounds/broken.wav");
  page->pbTest->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text, "sndPlaySound failed");
  EXPECT_EQ(prompt.Questions()[0].caption, "Audio Test");
}

TEST_F(AlertDefaultsPageTest, TheFileButtonPutsThePickedFileIntoTheField) {
  const QString wave = dir.filePath(QStringLiteral("chime.wav"));
  {
    QFile f(wave);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RIFF");
  }
  auto page = Page();
  page->cbAlertAudio->click();
  page->rbCustom->click();
  page->dfWaveFile->setText(dir.filePath(QStringLiteral("old.wav")));
  QTimer::singleShot(0, page.get(), [&] {
    EXPECT_EQ(QDir(page->dlgGetFile->directory()).absolutePath(), QDir(dir.path()).absolutePath());
    page->dlgGetFile->selectFile(wave);
    static_cast<QDialog *>(page->dlgGetFile)->accept();
  });
  page->pbWaveFile->click();
  EXPECT_EQ(page->dfWaveFile->text(), wave);
}

TEST_F(AlertDefaultsPageTest, AWaveFileWithoutAnExtensionIsPickedAsNamed) {
  const QString alarm = dir.filePath(QStringLiteral("alarm"));
  {
    QFile f(alarm);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RIFF");
  }
  auto page = Page();
  page->cbAlertAudio->click();
  page->rbCustom->click();
  page->dfWaveFile->setText(dir.filePath(QStringLiteral("old.wav")));
  PickInNextFileDialog(alarm);
  page->pbWaveFile->click();
  EXPECT_EQ(page->dfWaveFile->text(), alarm);
}

TEST_F(AlertDefaultsPageTest, RegistrationAddsTheThreePages) {
  TPrefPageRegistry registry;
  RegisterAlertOptionPages2(registry);
  ASSERT_EQ(registry.Pages().size(), 3u);
  EXPECT_EQ(registry.Pages()[0].PageNumber, PrefPageAlertDefaults);
  EXPECT_EQ(registry.Pages()[0].Caption, "Alert Defaults");
  EXPECT_EQ(registry.Pages()[1].PageNumber, PrefPageQuickAlerts);
  EXPECT_EQ(registry.Pages()[1].Caption, "Quick Alerts");
  EXPECT_EQ(registry.Pages()[2].PageNumber, PrefPageEMail);
  EXPECT_EQ(registry.Pages()[2].Caption, "Email Templates");
}

TEST_F(AlertDefaultsPageTest, ThePagesInThePreferencesDialog) {
  AddPortfolio("Growth", "GROW", {"IBM", "MSFT"});
  AddAlert("IBM", AlertTypeLowPrice, 101.5);
  TPrefPageRegistry registry;
  RegisterAlertOptionPages2(registry);
  {
    TdlgPref dlg(nullptr, registry);
    dlg.show();
    for (int number : {PrefPageAlertDefaults, PrefPageQuickAlerts, PrefPageEMail}) {
      ASSERT_TRUE(dlg.SelectPageNumber(number)) << number;
      ASSERT_NE(dlg.CurrentPage(), nullptr);
      QApplication::processEvents();
      Grab(&dlg, "pref_page_" + std::to_string(number) + ".png");
    }
  }
  // Leaving the alert pages wrote the alert file.
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Folder() + "ALERTS.DAT")));
}
