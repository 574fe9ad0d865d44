#include "platform/Prompt.h"

#include <gtest/gtest.h>

namespace {

struct DefaultCase {
  const char *name;
  TMsgDlgButtons buttons;
  TMsgDlgButtons defaultButton;
  TMsgDlgBtn expected;
};

class DefaultButton : public testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultButton, IsTheOneEnterPresses) {
  const DefaultCase &c = GetParam();
  PromptQuestion q;
  q.buttons = c.buttons;
  q.defaultButton = c.defaultButton;
  EXPECT_EQ(DefaultButtonOf(q), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Prompt, DefaultButton,
    testing::Values(DefaultCase{"YesNo", mbYesNo, 0, mbYes},
                    DefaultCase{"YesNoDefaultNo", mbYesNo, mbNo, mbNo},
                    DefaultCase{"YesNoCancelDefaultCancel", mbYesNoCancel, mbCancel, mbCancel},
                    DefaultCase{"DefaultNotOffered", mbOKCancel, mbYes, mbOK},
                    DefaultCase{"NoButtonsMeansOK", 0, 0, mbOK},
                    DefaultCase{"AbortRetryIgnore", mbAbortRetryIgnore, 0, mbAbort},
                    DefaultCase{"RetryCancel", mbRetryCancel, 0, mbRetry},
                    DefaultCase{"CancelOnly", mbCancel, 0, mbCancel}),
    [](const testing::TestParamInfo<DefaultCase> &info) { return info.param.name; });

TEST(Prompt, ResultsKeepTheClassicNumbers) {
  EXPECT_EQ(ResultOfButton(mbOK), 1);
  EXPECT_EQ(ResultOfButton(mbCancel), 2);
  EXPECT_EQ(ResultOfButton(mbYes), 6);
  EXPECT_EQ(ResultOfButton(mbNo), 7);
}

class FakePromptTest : public testing::Test {
protected:
  void SetUp() override { SetAppPrompt(&fake); }
  void TearDown() override { SetAppPrompt(nullptr); }
  FakePrompt fake;
};

TEST_F(FakePromptTest, RecordsEveryQuestion) {
  MessageDlg("Delete all alerts?\r\n\r\nContinue?", "Delete All Alerts", mtWarning, mbYesNo);
  MessageDlg("Saved.", "Save", mtInformation, mbOK);
  const std::vector<PromptQuestion> expected{
      {"Delete all alerts?\r\n\r\nContinue?", "Delete All Alerts", mtWarning, mbYesNo, 0},
      {"Saved.", "Save", mtInformation, mbOK, 0}};
  EXPECT_EQ(fake.Questions(), expected);
}

TEST_F(FakePromptTest, AnswersFromTheScriptThenWithTheDefault) {
  fake.PushAnswer(mrNo);
  fake.PushAnswer(mrCancel);
  EXPECT_EQ(MessageDlg("a", "c", mtWarning, mbYesNoCancel), mrNo);
  EXPECT_EQ(MessageDlg("b", "c", mtWarning, mbYesNoCancel), mrCancel);
  // Script used up: the question's default button is pressed.
  EXPECT_EQ(MessageDlg("c", "c", mtWarning, mbYesNoCancel, mbNo), mrNo);
  EXPECT_EQ(MessageDlg("d", "c", mtWarning, mbYesNoCancel), mrYes);
  fake.SetDefaultAnswer(mrCancel);
  EXPECT_EQ(MessageDlg("e", "c", mtWarning, mbYesNoCancel), mrCancel);
  EXPECT_EQ(fake.QuestionCount(), 5u);
}

TEST_F(FakePromptTest, ShowMessageIsAnInformationBoxWithOK) {
  ShowMessage("Done");
  ASSERT_EQ(fake.QuestionCount(), 1u);
  const PromptQuestion q = fake.Questions()[0];
  EXPECT_EQ(q.text, "Done");
  EXPECT_EQ(q.icon, mtInformation);
  EXPECT_EQ(q.buttons, TMsgDlgButtons(mbOK));
}

TEST(Prompt, InstallingNullRestoresTheRealPrompt) {
  FakePrompt fake;
  SetAppPrompt(&fake);
  EXPECT_EQ(&AppPrompt(), &fake);
  SetAppPrompt(nullptr);
  EXPECT_NE(dynamic_cast<QtPrompt *>(&AppPrompt()), nullptr);
}

} // namespace
