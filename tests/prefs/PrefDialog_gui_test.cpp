#include "alerts/AlertEditRequest.h"
#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/IniFile.h"
#include "core/ProgramFolder.h"
#include "prefs/ModalDialogCount.h"
#include "prefs/OptionPage.h"
#include "prefs/PrefDialog.h"
#include "prefs/PrefPageRegistry.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What the test pages did, in order.
struct PageLog {
  std::vector<std::string> events;
  bool refuse = false;
  std::function<void(TOptionPage &)> onShow;
  std::function<void(TOptionPage &)> onClose;
};

class TestPage : public TOptionPage {
public:
  TestPage(QWidget *parent, std::string name, PageLog &log)
      : TOptionPage(parent), m_name(std::move(name)), m_log(log) {}
  ~TestPage() override { m_log.events.push_back("free " + m_name); }
  void FormShow() override {
    m_log.events.push_back("show " + m_name);
    if (m_log.onShow)
      m_log.onShow(*this);
  }
  bool FormCloseQuery() override {
    m_log.events.push_back("query " + m_name + (DialogOKState() ? " ok" : ""));
    return !m_log.refuse;
  }
  void FormClose() override {
    m_log.events.push_back("close " + m_name);
    if (m_log.onClose)
      m_log.onClose(*this);
  }

private:
  std::string m_name;
  PageLog &m_log;
};

class PrefDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path().toStdString());
    OpenSettingsFile();
    saved = CurrentDisplaySettings();
    AlertEditRequest().Clear();
    PrefGoToPage = false;
    PrefPageNumber = 0;
    for (auto [number, name] :
         {std::pair{1, "First"}, {PrefPageAlerts, "Alerts"}, {PrefPageNews, "News"}})
      registry.Register(number, name, [this, name = std::string(name)](QWidget *parent) {
        return new TestPage(parent, name, log);
      });
  }
  void TearDown() override {
    dlg.reset();
    SetDisplaySettings(saved);
    AlertEditRequest().Clear();
    PrefGoToPage = false;
    SetErrorReportSink({});
  }

  TdlgPref &Make() {
    dlg = std::make_unique<TdlgPref>(nullptr, registry);
    return *dlg;
  }
  TdlgPref &Open() {
    Make().show();
    return *dlg;
  }
  std::vector<std::string> Tabs() const {
    std::vector<std::string> tabs;
    for (int i = 0; i < dlg->PageControl->count(); ++i)
      tabs.push_back(dlg->PageControl->tabText(i).toStdString());
    return tabs;
  }

  QTemporaryDir dir;
  TDisplaySettings saved;
  TPrefPageRegistry registry;
  PageLog log;
  std::unique_ptr<TdlgPref> dlg;
};

using Events = std::vector<std::string>;

} // namespace

TEST_F(PrefDialogTest, OneTabPerRegisteredPage) {
  Open();
  EXPECT_EQ(Tabs(), (std::vector<std::string>{"First", "Alerts", "News"}));
  EXPECT_EQ(dlg->CurrentPageNumber(), 1);
  ASSERT_NE(dlg->CurrentPage(), nullptr);
  EXPECT_EQ(dlg->CurrentPage()->parentWidget(), dlg->PagePanel);
  EXPECT_FALSE(dlg->CurrentPage()->isWindow()); // docked, no border of its own
  EXPECT_EQ(dlg->CurrentPage()->PrefDialog(), dlg.get());
  EXPECT_EQ(log.events, (Events{"show First"}));
  EXPECT_EQ(dlg->windowTitle().toStdString(), "Preferences");
  EXPECT_FALSE(dlg->ProgressBar->isVisible());
}

TEST_F(PrefDialogTest, ATabsPageIsMadeWhenChosenAndClosedWhenLeft) {
  Open();
  dlg->PageControl->setCurrentIndex(2);
  EXPECT_EQ(log.events,
            (Events{"show First", "query First", "close First", "free First", "show News"}));
  EXPECT_EQ(dlg->CurrentPageNumber(), PrefPageNews);
  dlg->PageControl->setCurrentIndex(0);
  EXPECT_EQ(log.events.back(), "show First"); // a fresh form each time
}

TEST_F(PrefDialogTest, ARefusingPageKeepsItsTab) {
  Open();
  TOptionPage *first = dlg->CurrentPage();
  log.refuse = true;
  dlg->PageControl->setCurrentIndex(1);
  EXPECT_EQ(dlg->PageControl->currentIndex(), 0);
  EXPECT_EQ(dlg->CurrentPage(), first);
  EXPECT_EQ(log.events, (Events{"show First", "query First"}));
  EXPECT_FALSE(dlg->SelectPageNumber(PrefPageNews));
  EXPECT_EQ(dlg->CurrentPage(), first);
}

TEST_F(PrefDialogTest, ARefusingPageKeepsTheDialogOpen) {
  Open();
  log.refuse = true;
  dlg->pbCancel->click();
  EXPECT_TRUE(dlg->isVisible());
  dlg->pbOK->click();
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_FALSE(dlg->OKState);
  dlg->reject(); // Escape and the close box
  EXPECT_TRUE(dlg->isVisible());
  log.refuse = false;
  dlg->pbCancel->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_EQ(log.events, (Events{"show First", "query First", "query First ok", "query First",
                                "query First", "close First", "free First"}));
}

TEST_F(PrefDialogTest, OKClosesThePageInOKState) {
  bool okWhileClosing = false;
  log.onClose = [&](TOptionPage &page) { okWhileClosing = page.DialogOKState(); };
  Open();
  dlg->pbOK->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_TRUE(okWhileClosing);
  EXPECT_FALSE(dlg->OKState);
  EXPECT_EQ(log.events, (Events{"show First", "query First ok", "close First", "free First"}));
}

TEST_F(PrefDialogTest, StartPageByNumber) {
  PrefPageNumber = PrefPageNews;
  PrefGoToPage = true;
  Open();
  EXPECT_EQ(dlg->CurrentPageNumber(), PrefPageNews);
  EXPECT_FALSE(PrefGoToPage);
  dlg->pbCancel->click();
  dlg->show(); // the flag was used up: the first tab
  EXPECT_EQ(dlg->CurrentPageNumber(), 1);
}

TEST_F(PrefDialogTest, AnUnknownStartPageOpensTheFirstTab) {
  PrefPageNumber = 42;
  PrefGoToPage = true;
  Open();
  EXPECT_EQ(dlg->CurrentPageNumber(), 1);
}

TEST_F(PrefDialogTest, AnAlertEditRequestOpensTheAlertsTab) {
  PrefPageNumber = PrefPageNews;
  PrefGoToPage = true;
  AlertEditRequest().Set("~IBM");
  Open();
  EXPECT_EQ(dlg->CurrentPageNumber(), PrefPageAlerts);
  EXPECT_EQ(log.events, (Events{"show Alerts"}));
  EXPECT_FALSE(AlertEditRequest().Empty()); // the page carries it out
}

TEST_F(PrefDialogTest, ReShowingWithARequestSwitchesToTheAlertsTab) {
  Open();
  dlg->ReShow();
  EXPECT_EQ(dlg->CurrentPageNumber(), 1);
  AlertEditRequest().Set("!IBM");
  dlg->ReShow();
  EXPECT_EQ(dlg->CurrentPageNumber(), PrefPageAlerts);
}

TEST_F(PrefDialogTest, ProgressBarForAPage) {
  Open();
  TOptionPage *page = dlg->CurrentPage();
  page->ShowDialogProgress(3);
  EXPECT_TRUE(dlg->ProgressBar->isVisible());
  EXPECT_EQ(dlg->ProgressBar->maximum(), 3);
  EXPECT_EQ(dlg->ProgressBar->value(), 0);
  page->StepDialogProgress();
  page->StepDialogProgress();
  EXPECT_EQ(dlg->ProgressBar->value(), 2);
  for (int i = 0; i < 5; ++i)
    page->StepDialogProgress();
  EXPECT_EQ(dlg->ProgressBar->value(), 3);
  page->HideDialogProgress();
  EXPECT_FALSE(dlg->ProgressBar->isVisible());
}

TEST_F(PrefDialogTest, ExecuteRaisesTheModalCountWhileShown) {
  Make();
  int countInside = -1;
  TdlgPref *openInside = nullptr;
  QTimer::singleShot(0, dlg.get(), [&] {
    countInside = ModalDialogCount();
    openInside = TdlgPref::OpenDialog();
    dlg->pbOK->click();
  });
  const int before = ModalDialogCount();
  EXPECT_EQ(dlg->Execute(), QDialog::Accepted);
  EXPECT_EQ(countInside, before + 1);
  EXPECT_EQ(openInside, dlg.get());
  EXPECT_EQ(ModalDialogCount(), before);
  EXPECT_EQ(TdlgPref::OpenDialog(), nullptr);
}

TEST_F(PrefDialogTest, ShowPreferencesReShowsTheOpenDialog) {
  Make();
  int result = 0;
  int pageInside = 0;
  QTimer::singleShot(0, dlg.get(), [&] {
    AlertEditRequest().Set("=ABCDEF");
    result = ShowPreferences(nullptr);
    pageInside = dlg->CurrentPageNumber();
    dlg->pbCancel->click();
  });
  dlg->Execute();
  EXPECT_EQ(result, -1);
  EXPECT_EQ(pageInside, PrefPageAlerts);
}

TEST_F(PrefDialogTest, PendingDisplaySettingsAreAppliedOnOKOnly) {
  const int before = CurrentDisplaySettings().MaxItems;
  log.onClose = [](TOptionPage &) { PendingDisplaySettings().MaxItems = 77; };
  Open();
  dlg->pbCancel->click();
  EXPECT_EQ(CurrentDisplaySettings().MaxItems, before);
  dlg->show();
  dlg->pbOK->click();
  EXPECT_EQ(CurrentDisplaySettings().MaxItems, 77);
  EXPECT_EQ(SettingsFile().ReadInteger("News", "MaxItems", 0), 77);
}

TEST_F(PrefDialogTest, APageStillOpenWritesItsValuesWhenTheDialogGoes) {
  Open();
  dlg.reset();
  EXPECT_EQ(log.events, (Events{"show First", "close First", "free First"}));
}

TEST_F(PrefDialogTest, AnErrorInAPageIsReportedAndTheDialogGoesOn) {
  std::vector<std::string> places;
  SetErrorReportSink(
      [&](const std::string &, const std::string &place) { places.push_back(place); });
  log.onShow = [](TOptionPage &) { throw std::runtime_error("broken page"); };
  Open();
  EXPECT_EQ(places, (std::vector<std::string>{"Preferences FormShow"}));
  dlg->pbOK->click();
  EXPECT_FALSE(dlg->isVisible());
}
