// Saves that fail while the program runs: the user is told, on the status
// line every time and the first time in a message box, what was not saved and
// why; the window keeps what the user chose, and the next save tries again.
#include "mainwin/ProgramWindowTest.h"

#include "alerts/AlertFile.h"
#include "core/SaveFailureReport.h"
#include "platform/Prompt.h"
#include "platform/SaveFileWhole.h"
#include "platform/SystemErrorText.h"
#include "support/FileSizeLimit.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

#include <cerrno>
#include <cstring>
#include <functional>

namespace {

class SaveFailureTest : public ProgramWindowTest {
protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    ASSERT_TRUE(QFile::copy(QString::fromStdString(TestDataPath("schemes.par")),
                            dir.filePath(QStringLiteral("schemes.par"))));
    SetAppPrompt(&prompt);
    prompt.SetDefaultAnswer(mrOk);
    ResetSaveFailureReports();
  }
  void TearDown() override {
    SetSaveFileFault(0);
    ProgramWindowTest::TearDown();
    SetAppPrompt(nullptr);
    ResetSaveFailureReports();
  }

  // Picks scheme n in the Scheme menu, as the user does; the status line is
  // cleared first, so that what it shows afterwards is this pick's.
  void PickScheme(int n) {
    form->statusBar()->clearMessage();
    form->mnScheme->actions().at(n - 1)->trigger();
    for (int i = 0; i < 5; ++i)
      QCoreApplication::processEvents();
  }
  std::string Status() const { return form->statusBar()->currentMessage().toStdString(); }
  // [Bourse] Scheme as the file on disk holds it.
  std::string SchemeOnDisk() const {
    TMyIniFile disk(dir.filePath(QStringLiteral("BOURSE.INI")).toStdString());
    return disk.ReadString("Bourse", "Scheme", "");
  }
  // Pixels of the grid in scheme n's row colour.
  int RowColourPixels(int n) const {
    const QRect area = CellOnScreen(1, 1).united(CellOnScreen(1, 2));
    return CountColor(Screen(), area, ToQColor(Schemes.at(std::size_t(n - 1)).NoStripeRow)) +
           CountColor(Screen(), area, ToQColor(Schemes.at(std::size_t(n - 1)).StripeRow));
  }

  FakePrompt prompt;
};

TEST_F(SaveFailureTest, AColourSchemeThatCannotBeSavedIsSaidAndKeptAndSavedLater) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  const std::string before = SchemeOnDisk();
  ASSERT_NE(before, "2");

  // A read-only folder: the screen takes the scheme, the user learns that
  // the setting was not kept.
  SetSaveFileFault(EROFS);
  const std::string readOnly = "BOURSE.INI: " + SystemErrorText(EROFS);
  PickScheme(2);
  EXPECT_EQ(CurrentSchemeNumber, 2);
  ASSERT_TRUE(Settle());
  EXPECT_GT(RowColourPixels(2), 100) << "the grid shows the scheme chosen";
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Status().empty(); }));
  EXPECT_NE(Status().find(SaveFailureStatusText("the colour scheme", readOnly)), std::string::npos)
      << Status();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  const PromptQuestion box = prompt.Questions().front();
  EXPECT_EQ(box.text, SaveFailureBoxText("the colour scheme", readOnly));
  EXPECT_EQ(box.text.rfind("The colour scheme could not be saved: " + readOnly + ".", 0), 0u)
      << box.text;
  EXPECT_EQ(box.caption, "Tickvane");
  EXPECT_EQ(box.icon, mtError);
  EXPECT_EQ(SchemeOnDisk(), before);

  // Again: the status line says it again, no second box.
  PickScheme(3);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Status().empty(); }));
  EXPECT_NE(Status().find("Not saved: the colour scheme"), std::string::npos) << Status();
  EXPECT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(CurrentSchemeNumber, 3);

  // The folder can be written again: the next pick is saved.
  SetSaveFileFault(0);
  PickScheme(3);
  EXPECT_EQ(SchemeOnDisk(), "3");
  EXPECT_EQ(prompt.QuestionCount(), 1u);

  // A full disk after a save went through: said in a box again.
  {
    FileSizeLimit full(16);
    ASSERT_TRUE(full.Active());
    PickScheme(4);
  }
  const std::string tooLarge = "BOURSE.INI: " + SystemErrorText(EFBIG);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Status().empty(); }));
  EXPECT_NE(Status().find(SaveFailureStatusText("the colour scheme", tooLarge)), std::string::npos)
      << Status();
  ASSERT_EQ(prompt.QuestionCount(), 2u);
  EXPECT_EQ(prompt.Questions().back().text, SaveFailureBoxText("the colour scheme", tooLarge));
  EXPECT_EQ(SchemeOnDisk(), "3");
  EXPECT_EQ(CurrentSchemeNumber, 4);
}

// The alert file, the views and the ticker's settings go the same way.
TEST_F(SaveFailureTest, OtherSavesOfTheUserAreSaidTheSameWay) {
  ShowForm();
  ASSERT_TRUE(Refresh());
  SetSaveFileFault(EROFS);
  const std::string reason = SystemErrorText(EROFS);
  struct Case {
    const char *what;
    std::function<bool()> save;
  };
  const Case cases[] = {
      {"the alerts",
       [&] { return SaveAlertFileReporting(AlertSystem(), ProgramFolder() + AlertFileName); }},
      {"the portfolios", [] { return SavePortfolios(); }},
  };
  for (const Case &c : cases) {
    form->statusBar()->clearMessage();
    EXPECT_FALSE(c.save()) << c.what;
    ASSERT_TRUE(ProcessEventsUntil([&] { return !Status().empty(); })) << c.what;
    EXPECT_NE(Status().find(std::string("Not saved: ") + c.what + " ("), std::string::npos)
        << Status();
    EXPECT_NE(Status().find(reason), std::string::npos) << Status();
  }
  ASSERT_EQ(prompt.QuestionCount(), 1u) << "one box for the first failure";
  EXPECT_EQ(prompt.Questions().front().text.rfind("The alerts could not be saved: ", 0), 0u);
  SetSaveFileFault(0);
  for (const Case &c : cases)
    EXPECT_TRUE(c.save()) << c.what << ": the next save tries again";
  EXPECT_EQ(prompt.QuestionCount(), 1u);
}

} // namespace
