#include "alerts/pages/EMailPage.h"

#include "acquisition/MailMessage.h"
#include "acquisition/SmtpClient.h"
#include "alerts/pages/EMailPageTestSend.h"
#include "alerts/pages/PageTestSupport.h"
#include "prefs/PrefDialog.h"
#include "support/TestPaths.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// A transport that reports scripted status texts, then optionally throws or
// waits until told to give up.
struct FakeTransport {
  std::vector<std::string> statuses;
  std::string throwText; // non-empty: throw ESmtpError after the statuses
  bool waitForAbort = false;

  std::mutex mutex;
  TTestMailServer server;
  TMailMessage message;
  int calls = 0;
  std::atomic<bool> aborted{false};

  TTestMailTransport Make() {
    return [this](const TTestMailServer &s, const TMailMessage &m,
                  const std::function<void(const std::string &)> &status,
                  const std::function<bool()> &abort) {
      {
        std::lock_guard lock(mutex);
        server = s;
        message = m;
        ++calls;
      }
      for (const std::string &text : statuses)
        status(text);
      if (waitForAbort) {
        while (!abort())
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        aborted = true;
        status("CANCELLED");
        status("DISCONNECTED");
        return;
      }
      if (!throwText.empty())
        throw ESmtpError(throwText);
    };
  }
};

class EMailPageTest : public PageTest {
protected:
  void SetUp() override {
    PageTest::SetUp();
    TOPanEmail::RememberedSetup() = -1;
    TEMailTestSend::SetTimeoutMs(0);
    MailSettings s;
    s.SMTPHost = "smtp.home.net";
    s.SMTPPort = 25;
    s.FromAddress = "me@home.net";
    SetMailSettings(s);
    EMailSetups().Add("Broker",
                      std::make_unique<EMailRecord>("BRKR001", "Bought <SYMBOL>\r\nat <LAST>",
                                                    "Alert <SYMBOL>", "b@x.org", "Broker"));
    EMailSetups().Add(
        "Phone", std::make_unique<EMailRecord>("PHON002", "", "Ring <SYMBOL>", "p@x.org", "Phone"));
    EMailSetups().Add("Desk",
                      std::make_unique<EMailRecord>("DESK003", "Look", "", "d@x.org", "Desk"));
  }
  void TearDown() override {
    page.reset();
    TEMailTestSend::SetTransport({});
    TEMailTestSend::SetTimeoutMs(0);
    TOPanEmail::RememberedSetup() = -1;
    PageTest::TearDown();
  }

  TOPanEmail *Open() {
    page = std::make_unique<TOPanEmail>();
    page->resize(TdlgPref::PageWidth, TdlgPref::PageHeight);
    page->show();
    page->activateWindow();
    EXPECT_TRUE(ProcessEventsUntil([this] { return page->isActiveWindow(); }));
    page->FormShow();
    return page.get();
  }

  void Select(int row) { page->lbSetups->setCurrentRow(row); }

  std::vector<std::string> StatusLines() const {
    std::vector<std::string> lines;
    for (const QString &l : page->mStatus->toPlainText().split('\n'))
      if (!l.isEmpty())
        lines.push_back(l.toStdString());
    return lines;
  }

  bool WaitForTestEnd() {
    return ProcessEventsUntil([this] { return page->TestSend() && !page->TestSend()->Running(); });
  }

  static void Grab(QWidget *w, const std::string &name) {
    QDir().mkpath(QString::fromStdString(TestArtifactPath("")));
    EXPECT_TRUE(w->grab().save(QString::fromStdString(TestArtifactPath(name))));
  }

  static bool IsSilver(QWidget *w) {
    return w->palette().color(QPalette::Base) == ToQColor(TOPanEmail::DisabledFieldColor);
  }

  std::unique_ptr<TOPanEmail> page;
  FakeTransport transport;
};

} // namespace

// ---- Server settings ------------------------------------------------------------------------

TEST_F(EMailPageTest, ShowFillsTheServerFields) {
  MailSettings s;
  s.SMTPHost = "mail.example.net";
  s.SMTPPort = 587;
  s.FromAddress = "trader@velkar.com"; // a refused domain
  s.Authenticate = 1;
  s.UserName = "trader";
  s.Password = "secret";
  SetMailSettings(s);
  Open();
  EXPECT_EQ(page->dfHost->text(), QStringLiteral("mail.example.net"));
  EXPECT_EQ(page->dfPort->text(), QStringLiteral("587"));
  EXPECT_EQ(page->dfFrom->text(), QStringLiteral("trader@"));
  EXPECT_TRUE(page->cbAuth->isChecked());
  EXPECT_TRUE(page->dfUserID->isEnabled());
  EXPECT_FALSE(IsSilver(page->dfUserID));
  EXPECT_EQ(page->dfPassword->echoMode(), QLineEdit::Password);
  EXPECT_EQ(page->dfPassword->text(), QStringLiteral("secret"));
  // No template is shown: the fields are off and silver.
  EXPECT_EQ(page->EditIndex(), -1);
  EXPECT_FALSE(page->dfName->isEnabled());
  EXPECT_TRUE(IsSilver(page->memoBody));
  EXPECT_FALSE(page->pbTest->isEnabled());
  ASSERT_EQ(page->lbSetups->count(), 3);
  EXPECT_EQ(page->lbSetups->item(1)->text(), QStringLiteral("Phone"));
}

TEST_F(EMailPageTest, PortZeroAndTwentyFiveShowAsDefault) {
  MailSettings s;
  s.SMTPPort = 0;
  SetMailSettings(s);
  Open();
  EXPECT_EQ(page->dfPort->text(), QStringLiteral("default"));
  for (const char *typed : {"0", "abc", "", "default"}) {
    page->dfPort->setText(QString::fromLatin1(typed));
    page->dfPortExit();
    EXPECT_EQ(page->dfPort->text(), QStringLiteral("default")) << typed;
  }
  page->dfPort->setText(QStringLiteral("2525"));
  page->dfPortExit();
  EXPECT_EQ(page->dfPort->text(), QStringLiteral("2525"));
}

TEST_F(EMailPageTest, ThePortTakesFiveTypedCharacters) {
  Open();
  page->dfPort->clear();
  page->dfPort->setFocus();
  for (const char *digit : {"1", "2", "3", "4", "5", "6"}) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (digit[0] - '0'), Qt::NoModifier,
                    QString::fromLatin1(digit));
    QApplication::sendEvent(page->dfPort, &press);
  }
  EXPECT_EQ(page->dfPort->text(), QStringLiteral("12345"));
  page->dfPortExit();
  EXPECT_EQ(page->dfPort->text(), QStringLiteral("12345"));
}

TEST_F(EMailPageTest, AuthenticationSwitchesTheLoginFields) {
  Open();
  EXPECT_FALSE(page->dfUserID->isEnabled());
  EXPECT_TRUE(IsSilver(page->dfPassword));
  page->cbAuth->click();
  EXPECT_TRUE(page->dfUserID->isEnabled());
  EXPECT_TRUE(page->dfPassword->isEnabled());
  EXPECT_FALSE(IsSilver(page->dfPassword));
}

TEST_F(EMailPageTest, CloseStoresTheServerSettingsAndWritesTheAlertFile) {
  Open();
  page->dfHost->setText(QStringLiteral("  smtp.example.org "));
  page->dfPort->setText(QStringLiteral("abc"));
  page->dfFrom->setText(QStringLiteral(" Sam@Tickvane.com "));
  page->cbAuth->click();
  page->dfUserID->setText(QStringLiteral(" sam "));
  page->dfPassword->setText(QStringLiteral(" pw "));
  ASSERT_TRUE(page->FormCloseQuery());
  page->FormClose();
  const MailSettings s = GetMailSettings();
  EXPECT_EQ(s.SMTPHost, "smtp.example.org");
  EXPECT_EQ(s.SMTPPort, 25);
  EXPECT_EQ(s.FromAddress, "Sam@");
  EXPECT_EQ(s.Authenticate, 1);
  EXPECT_EQ(s.UserName, "sam");
  EXPECT_EQ(s.Password, "pw");
  const QString file = QString::fromStdString(Folder() + "ALERTS.DAT");
  ASSERT_TRUE(QFile::exists(file));
  EXPECT_EQ(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther), 0)
      << "the file holds the password";
  // Read back: settings and templates come from the file.
  ResetMailSettings();
  AlertSystem().ClearAll();
  const AlertFileReport report = LoadAlertFile(AlertSystem(), Folder() + "ALERTS.DAT");
  EXPECT_TRUE(report.mailSectionRead);
  EXPECT_EQ(GetMailSettings().SMTPHost, "smtp.example.org");
  EXPECT_EQ(EMailSetups().Count(), 3);
}

TEST_F(EMailPageTest, ARefusedSenderIsCutWhenTheFieldIsLeft) {
  TStringList params;
  params.Add("EMAILDOMBLOCKS=@blocked.net|boss@corp.com");
  SetProgramParams(params);
  Open();
  page->dfFrom->setText(QStringLiteral("joe@blocked.net"));
  page->dfFromExit();
  EXPECT_EQ(page->dfFrom->text(), QStringLiteral("joe@"));
  page->dfFrom->setText(QStringLiteral("BOSS@corp.com"));
  page->dfFromExit();
  EXPECT_EQ(page->dfFrom->text(), QString());
  page->dfFrom->setText(QStringLiteral("joe@velkar.com"));
  page->dfFromExit();
  EXPECT_EQ(page->dfFrom->text(), QStringLiteral("joe@velkar.com"));
}

// ---- Templates ---------------------------------------------------------------------------------

TEST_F(EMailPageTest, SelectingATemplateShowsIt) {
  Open();
  Select(0);
  EXPECT_EQ(page->EditIndex(), 0);
  EXPECT_EQ(page->dfName->text(), QStringLiteral("Broker"));
  EXPECT_EQ(page->dfSendTo->text(), QStringLiteral("b@x.org"));
  EXPECT_EQ(page->dfSubject->text(), QStringLiteral("Alert <SYMBOL>"));
  EXPECT_EQ(page->memoBody->toPlainText(), QStringLiteral("Bought <SYMBOL>\nat <LAST>"));
  EXPECT_TRUE(page->dfName->isEnabled());
  EXPECT_FALSE(IsSilver(page->dfName));
  EXPECT_FALSE(page->pbSave->isEnabled());
  EXPECT_FALSE(page->pbCancel->isEnabled());
  EXPECT_TRUE(page->pbTest->isEnabled());
  EXPECT_TRUE(page->pbDelSetup->isEnabled());
  EXPECT_EQ(TOPanEmail::RememberedSetup(), 0);
  Grab(page.get(), "email_page.png");
}

TEST_F(EMailPageTest, EditingEnablesSaveWhichStoresTheTemplate) {
  Open();
  Select(0);
  page->dfSubject->setFocus();
  page->dfSubject->selectAll();
  page->dfSubject->insert(QStringLiteral("Bought <SYMBOL>"));
  emit page->dfSubject->textEdited(page->dfSubject->text());
  EXPECT_TRUE(page->pbSave->isEnabled());
  EXPECT_TRUE(page->pbCancel->isEnabled());
  page->memoBody->setPlainText(QStringLiteral("line 1\nline 2"));
  page->pbSave->click();
  const EMailRecord *r = EMailSetups().Record(0);
  EXPECT_EQ(r->Subject, "Bought <SYMBOL>");
  EXPECT_EQ(r->Body, "line 1\r\nline 2") << "bodies keep CR LF";
  EXPECT_EQ(r->ID, "BRKR001");
  EXPECT_EQ(page->EditIndex(), -1);
  EXPECT_EQ(page->lbSetups->currentRow(), -1);
  EXPECT_FALSE(page->dfName->isEnabled());
}

TEST_F(EMailPageTest, ANameTakenInAnyLetterCaseIsRefused) {
  Open();
  Select(0);
  page->dfName->setText(QStringLiteral("PHONE"));
  page->dfNameChange();
  Select(2);
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text,
            "Email Setup named \"PHONE\" already exists. Please make sure the name is unique.");
  EXPECT_EQ(prompt.Questions()[0].caption, "Cannot save");
  EXPECT_EQ(prompt.Questions()[0].icon, mtError);
  EXPECT_EQ(page->lbSetups->currentRow(), 0) << "the selection goes back";
  EXPECT_EQ(page->EditIndex(), 0);
  EXPECT_FALSE(page->FormCloseQuery()) << "the page may not close either";
  page->dfName->setText(QStringLiteral("Broker 2"));
  Select(2);
  EXPECT_EQ(EMailSetups().Name(0), "Broker 2");
  EXPECT_EQ(page->lbSetups->item(0)->text(), QStringLiteral("Broker 2"));
  EXPECT_EQ(page->dfName->text(), QStringLiteral("Desk"));
}

TEST_F(EMailPageTest, NewTemplatesAreNumberedAndMustBeFilled) {
  Open();
  page->pbNew->click();
  ASSERT_EQ(page->lbSetups->count(), 4);
  EXPECT_EQ(page->lbSetups->item(3)->text(), QStringLiteral("Email Setup #1"));
  EXPECT_EQ(page->lbSetups->currentRow(), 3);
  EXPECT_EQ(page->EditIndex(), 3);
  EXPECT_EQ(page->dfName->text(), QStringLiteral("Email Setup #1"));
  const EMailRecord *r = EMailSetups().Record(3);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->ID.size(), 7u);
  // An empty template blocks leaving it.
  page->pbNew->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text,
            "Please enter the email address to which this email should be sent");
  page->dfSendTo->setText(QStringLiteral("x@y.z"));
  page->pbNew->click();
  ASSERT_EQ(prompt.QuestionCount(), 2u);
  EXPECT_EQ(prompt.Questions()[1].text,
            "Both the subject and the body of the message are empty. Cannot save the setup.");
  page->memoBody->setPlainText(QStringLiteral("Hello"));
  page->pbNew->click();
  EXPECT_EQ(page->lbSetups->count(), 5);
  EXPECT_EQ(page->lbSetups->item(4)->text(), QStringLiteral("Email Setup #2"));
  EXPECT_EQ(EMailSetups().Record(3)->Body, "Hello");
}

TEST_F(EMailPageTest, ABodyThatIsOnlyTheEndOfBodyLineIsRefused) {
  Open();
  Select(1);
  const std::string before = EMailSetups().Record(1)->Body;
  page->memoBody->setPlainText(QStringLiteral("---ENDOFBODY---"));
  page->pbSave->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text, "The message body cannot be just the line "
                                        "\"---ENDOFBODY---\". Please add to it or change it.");
  EXPECT_EQ(EMailSetups().Record(1)->Body, before);
  page->memoBody->setPlainText(QStringLiteral("---ENDOFBODY---\nmore"));
  page->pbSave->click();
  EXPECT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(EMailSetups().Record(1)->Body, "---ENDOFBODY---\r\nmore");
}

TEST_F(EMailPageTest, CancelShowsTheTemplateAgain) {
  Open();
  Select(1);
  page->dfSubject->setText(QStringLiteral("changed"));
  page->dfNameChange();
  page->pbCancel->click();
  EXPECT_EQ(page->dfSubject->text(), QStringLiteral("Ring <SYMBOL>"));
  EXPECT_EQ(EMailSetups().Record(1)->Subject, "Ring <SYMBOL>");
  EXPECT_FALSE(page->pbSave->isEnabled());
}

TEST_F(EMailPageTest, DeletingATemplateAsksWithItsUsers) {
  for (int i = 0; i < 2; ++i) {
    auto alert = std::make_unique<TAlertRecord>();
    alert->Symbol = "IBM";
    alert->P1 = 90 + i;
    alert->EMailSetupID = "PHON002";
    AlertSystem().AddAlert(std::move(alert));
  }
  Open();
  Select(1);
  prompt.PushAnswer(mrNo);
  page->pbDelSetup->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text,
            "2 existing alerts reference this setup. Are you sure you want to delete it?");
  EXPECT_EQ(prompt.Questions()[0].caption, "Delete");
  EXPECT_EQ(prompt.Questions()[0].icon, mtConfirmation);
  EXPECT_EQ(prompt.Questions()[0].buttons, mbYesNo);
  EXPECT_EQ(EMailSetups().Count(), 3);

  prompt.PushAnswer(mrYes);
  page->pbDelSetup->click();
  EXPECT_EQ(EMailSetups().Count(), 2);
  EXPECT_EQ(page->lbSetups->count(), 2);
  EXPECT_EQ(page->lbSetups->currentRow(), 0) << "the previous entry is selected";
  EXPECT_EQ(page->dfName->text(), QStringLiteral("Broker"));
  // The alerts keep the ID of the template that is gone.
  EXPECT_EQ(AlertSystem().CountSetupUsers("PHON002"), 2);
}

TEST_F(EMailPageTest, DeletingTheFirstSelectsTheNewFirstAndTheLastLeavesNone) {
  Open();
  Select(0);
  prompt.SetDefaultAnswer(mrYes);
  page->pbDelSetup->click();
  EXPECT_EQ(prompt.Questions().back().text, "Are you sure you want to delete this setup?");
  EXPECT_EQ(page->lbSetups->currentRow(), 0);
  EXPECT_EQ(page->dfName->text(), QStringLiteral("Phone"));
  page->pbDelSetup->click();
  page->pbDelSetup->click();
  EXPECT_EQ(page->lbSetups->count(), 0);
  EXPECT_EQ(page->lbSetups->currentRow(), -1);
  EXPECT_EQ(page->EditIndex(), -1);
  EXPECT_FALSE(page->dfName->isEnabled());
  EXPECT_EQ(EMailSetups().Count(), 0);
}

TEST_F(EMailPageTest, ThePageReopensOnTheTemplateSelectedLast) {
  Open();
  Select(2);
  ASSERT_TRUE(page->FormCloseQuery());
  page->FormClose();
  page.reset();
  EXPECT_EQ(TOPanEmail::RememberedSetup(), 2);
  Open();
  EXPECT_EQ(page->lbSetups->currentRow(), 2);
  EXPECT_EQ(page->dfName->text(), QStringLiteral("Desk"));
}

// ---- Placeholders and preview -------------------------------------------------------------------

TEST_F(EMailPageTest, ThePlaceholderMenuHasTwoColumnsOfFourteen) {
  Open();
  QList<QAction *> items;
  for (int i = 0; i < 28; ++i) {
    auto *a = page->PHPop->findChild<QAction *>(QStringLiteral("PHItem%1").arg(i));
    ASSERT_NE(a, nullptr) << i;
    items.append(a);
  }
  EXPECT_EQ(items[0]->text(), QStringLiteral("<FULLDESC> - Full Alert Description"));
  EXPECT_EQ(items[27]->text(), QStringLiteral("<YIELD> - Yield"));
  // The fifteenth entry stands at the top of the second column.
  page->PHPop->popup(QPoint(0, 0));
  ASSERT_TRUE(ProcessEventsUntil([this] { return page->PHPop->isVisible(); }));
  auto button = [this](int i) {
    return page->PHPop->findChild<QPushButton *>(QStringLiteral("PHButton%1").arg(i));
  };
  QPushButton *first = button(0), *fourteenth = button(13), *fifteenth = button(14);
  ASSERT_TRUE(first && fifteenth && fourteenth);
  EXPECT_EQ(fifteenth->y(), first->y());
  EXPECT_GT(fifteenth->x(), first->x());
  EXPECT_GT(fourteenth->y(), first->y());
  Grab(page->PHPop, "email_placeholder_menu.png");
  // Clicking an entry inserts it.
  page->dfSubject->setEnabled(true);
  page->dfSubject->setFocus();
  ASSERT_TRUE(ProcessEventsUntil([this] { return page->dfSubject->hasFocus(); }));
  fifteenth->click();
  EXPECT_EQ(page->dfSubject->text(), QStringLiteral("<ASKSIZE>"));
  page->PHPop->hide();
}

TEST_F(EMailPageTest, APlaceholderReplacesTheSelectionAndStaysSelected) {
  Open();
  Select(0);
  page->dfSubject->setFocus();
  ASSERT_TRUE(ProcessEventsUntil([this] { return page->dfSubject->hasFocus(); }));
  page->dfSubject->setSelection(6, 8); // "<SYMBOL>"
  page->PHPop->findChild<QAction *>(QStringLiteral("PHItem6"))->trigger();
  EXPECT_EQ(page->dfSubject->text(), QStringLiteral("Alert <LAST>"));
  EXPECT_EQ(page->dfSubject->selectedText(), QStringLiteral("<LAST>"));
  EXPECT_TRUE(page->pbSave->isEnabled());

  page->memoBody->setFocus();
  ASSERT_TRUE(ProcessEventsUntil([this] { return page->memoBody->hasFocus(); }));
  QTextCursor c = page->memoBody->textCursor();
  c.setPosition(0);
  page->memoBody->setTextCursor(c);
  page->PHPop->findChild<QAction *>(QStringLiteral("PHItem18"))->trigger();
  EXPECT_EQ(page->memoBody->toPlainText(), QStringLiteral("<COMPNAME>Bought <SYMBOL>\nat <LAST>"));
  EXPECT_EQ(page->memoBody->textCursor().selectedText(), QStringLiteral("<COMPNAME>"));
}

TEST_F(EMailPageTest, PreviewShowsTheSampleWhileTheButtonIsHeld) {
  Open();
  Select(0);
  page->dfSubject->setText(QStringLiteral("Alert <SYMBOL> <PRICE>"));
  emit page->pbAlertDesc->pressed();
  ASSERT_TRUE(page->Sample->isVisible());
  EXPECT_EQ(page->Sample->toPlainText(),
            QStringLiteral("From: me@home.net\nTo: b@x.org\nSubject: Alert VLKR <PRICE>\n\n"
                           "Bought VLKR\nat 80 1/2"));
  EXPECT_EQ(page->Sample->geometry().top(), 0);
  EXPECT_EQ(page->Sample->geometry().right(), page->width() - 1);
  EXPECT_EQ(page->Sample->geometry().bottom(), page->height() - 1);
  Grab(page.get(), "email_page_preview.png");
  emit page->pbAlertDesc->released();
  EXPECT_FALSE(page->Sample->isVisible());
}

// ---- Test mail -------------------------------------------------------------------------------

TEST_F(EMailPageTest, ATestMailGoesOutOnAWorkerAndReportsSuccess) {
  transport.statuses = {"Connecting to smtp.home.net:25", "250 2.0.0 Ok: MESSAGE ACCEPTED",
                        "DISCONNECTED"};
  TEMailTestSend::SetTransport(transport.Make());
  Open();
  Select(0);
  page->dfSendTo->setText(QStringLiteral("a@x.org;b@y.org"));
  page->cbAuth->click();
  page->dfUserID->setText(QStringLiteral("joe"));
  page->dfPassword->setText(QStringLiteral("pw"));
  page->pbTest->click();
  EXPECT_FALSE(page->pbTest->isEnabled());
  EXPECT_TRUE(page->panSending->isVisible());
  EXPECT_EQ(page->panSending->y(), TOPanEmail::SendingTop);
  ASSERT_TRUE(WaitForTestEnd());
  EXPECT_EQ(StatusLines(),
            (std::vector<std::string>{"Trace: Connecting to smtp.home.net:25",
                                      "Trace: 250 2.0.0 Ok: MESSAGE ACCEPTED",
                                      "Trace: DISCONNECTED", "RESULT: Success sending message"}));
  EXPECT_TRUE(page->pbClose->isVisible());
  EXPECT_TRUE(page->pbTest->isEnabled());
  Grab(page.get(), "email_page_test_sent.png");

  std::lock_guard lock(transport.mutex);
  EXPECT_EQ(transport.calls, 1);
  EXPECT_EQ(transport.server.Host, "smtp.home.net");
  EXPECT_EQ(transport.server.Port, 25);
  EXPECT_EQ(transport.server.UserName, "joe");
  EXPECT_EQ(transport.server.Password, "pw");
  EXPECT_EQ(transport.server.Mailer, "Velkar Tickvane Version " + VersionToStr(ProgramVersion()));
  EXPECT_EQ(transport.message.Header(TMailMessage::hiFrom), "me@home.net");
  EXPECT_EQ(transport.message.Recipients(), (std::vector<std::string>{"a@x.org", "b@y.org"}));
  EXPECT_EQ(transport.message.Header(TMailMessage::hiSubject), "Alert VLKR");
  EXPECT_EQ(transport.message.BodyText(), "Bought VLKR\r\nat 80 1/2");

  page->pbClose->click();
  EXPECT_FALSE(page->panSending->isVisible());
}

TEST_F(EMailPageTest, WithoutAuthenticationNoLoginIsSent) {
  TEMailTestSend::SetTransport(transport.Make());
  Open();
  Select(1);
  page->dfUserID->setText(QStringLiteral("ignored"));
  page->dfPort->setText(QStringLiteral("2525"));
  page->pbTest->click();
  ASSERT_TRUE(WaitForTestEnd());
  std::lock_guard lock(transport.mutex);
  EXPECT_EQ(transport.server.UserName, "");
  EXPECT_EQ(transport.server.Port, 2525);
}

TEST_F(EMailPageTest, ARefusedMailEndsFailed) {
  transport.statuses = {"ERROR: 550 mailbox unavailable", "DISCONNECTED"};
  TEMailTestSend::SetTransport(transport.Make());
  Open();
  Select(0);
  page->pbTest->click();
  ASSERT_TRUE(WaitForTestEnd());
  EXPECT_EQ(StatusLines().back(), "RESULT: FAILED - not sent");
}

TEST_F(EMailPageTest, AClientThatFailsAtOnceReportsTheException) {
  transport.statuses = {"ERROR: Connection refused", "DISCONNECTED"};
  transport.throwText = "Connection refused";
  TEMailTestSend::SetTransport(transport.Make());
  Open();
  Select(0);
  page->pbTest->click();
  ASSERT_TRUE(WaitForTestEnd());
  EXPECT_EQ(StatusLines(), (std::vector<std::string>{
                               "Trace: ERROR: Connection refused", "Trace: DISCONNECTED",
                               "Exception: Connection refused", "RESULT: FAILED - not sent"}));
  EXPECT_TRUE(page->pbTest->isEnabled());
}

TEST_F(EMailPageTest, ATestThatDoesNotEndInTimeIsGivenUp) {
  transport.statuses = {"Connecting to smtp.home.net:25"};
  transport.waitForAbort = true;
  TEMailTestSend::SetTransport(transport.Make());
  TEMailTestSend::SetTimeoutMs(150);
  Open();
  Select(0);
  page->pbTest->click();
  // The window thread is free meanwhile: a timer of ours still fires.
  bool ticked = false;
  QTimer::singleShot(1, page.get(), [&] { ticked = true; });
  ASSERT_TRUE(ProcessEventsUntil([&] { return ticked; }));
  EXPECT_TRUE(page->TestSend()->Running());
  ASSERT_TRUE(WaitForTestEnd());
  EXPECT_EQ(StatusLines(), (std::vector<std::string>{"Trace: Connecting to smtp.home.net:25",
                                                     "RESULT: Timeout - not sent"}));
  EXPECT_TRUE(ProcessEventsUntil([&] { return transport.aborted.load(); }))
      << "the delivery is cancelled";
  EXPECT_TRUE(page->pbClose->isVisible());
}

TEST_F(EMailPageTest, ClosingThePageDuringATestCancelsIt) {
  transport.waitForAbort = true;
  TEMailTestSend::SetTransport(transport.Make());
  Open();
  Select(0);
  page->pbTest->click();
  ASSERT_TRUE(ProcessEventsUntil([&] {
    std::lock_guard lock(transport.mutex);
    return transport.calls == 1;
  }));
  ASSERT_TRUE(page->FormCloseQuery());
  page->FormClose(); // frees the test: cancels and waits for the worker
  EXPECT_TRUE(transport.aborted.load());
  page.reset();
  QApplication::processEvents(); // posts of the worker find nobody
}
