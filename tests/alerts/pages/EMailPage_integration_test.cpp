// The e-mail page's test mail against a real SMTP server on 127.0.0.1.
#include "alerts/pages/EMailPage.h"

#include "alerts/AlertFile.h"
#include "alerts/pages/EMailPageTestSend.h"
#include "alerts/pages/PageTestSupport.h"
#include "prefs/PrefDialog.h"
#include "support/EventWait.h"
#include "support/SmtpTestServer.h"

#include <QJsonArray>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class EMailPageSmtpTest : public PageTest {
protected:
  void SetUp() override {
    PageTest::SetUp();
    TOPanEmail::RememberedSetup() = -1;
    TEMailTestSend::SetTransport({});
    EMailSetups().Add("Broker",
                      std::make_unique<EMailRecord>("BRKR001", "Bought <SYMBOL>", "Alert <SYMBOL>",
                                                    "ann@example.com;bob@example.org", "Broker"));
    MailSettings s;
    s.FromAddress = "robot@example.com";
    SetMailSettings(s);
  }
  void TearDown() override {
    page.reset();
    TOPanEmail::RememberedSetup() = -1;
    PageTest::TearDown();
  }

  void OpenAndTest(int port) {
    page = std::make_unique<TOPanEmail>();
    page->resize(TdlgPref::PageWidth, TdlgPref::PageHeight);
    page->show();
    page->FormShow();
    page->dfHost->setText(QStringLiteral("127.0.0.1"));
    page->dfPort->setText(QString::number(port));
    page->lbSetups->setCurrentRow(0);
    page->pbTest->click();
    ASSERT_TRUE(
        ProcessEventsUntil([this] { return page->TestSend() && !page->TestSend()->Running(); },
                           30000));
  }

  std::string Status() const { return page->mStatus->toPlainText().toStdString(); }

  std::unique_ptr<TOPanEmail> page;
};

} // namespace

TEST_F(EMailPageSmtpTest, TheSampleMailArrives) {
  if (const std::string why = SmtpTestServer::Unavailable(); !why.empty())
    GTEST_SKIP() << why;
  SmtpTestServer server;
  std::string error;
  ASSERT_TRUE(server.Start({}, &error)) << error;
  OpenAndTest(server.Port());
  EXPECT_NE(Status().find("MESSAGE ACCEPTED"), std::string::npos) << Status();
  EXPECT_NE(Status().find("\nRESULT: Success sending message"), std::string::npos) << Status();
  EXPECT_EQ(page->lbSending->text(), QStringLiteral("Test Email Sent"));
  // The result line is in view without scrolling the status.
  QTextCursor last(page->mStatus->document()->lastBlock());
  EXPECT_TRUE(last.block().text().startsWith(QStringLiteral("RESULT: ")));
  EXPECT_TRUE(page->mStatus->viewport()->rect().contains(page->mStatus->cursorRect(last)))
      << "the result line is scrolled out of view: scroll "
      << page->mStatus->verticalScrollBar()->value() << " of "
      << page->mStatus->verticalScrollBar()->maximum();

  ASSERT_TRUE(server.WaitFor([](const auto &s) { return s.EventsOf("message").size() == 1; }));
  const QJsonObject message = server.EventsOf("message")[0];
  EXPECT_EQ(message.value("mail_from").toString(), QStringLiteral("robot@example.com"));
  const QJsonArray rcpts = message.value("rcpt_tos").toArray();
  ASSERT_EQ(rcpts.size(), 2);
  EXPECT_EQ(rcpts[1].toString(), QStringLiteral("bob@example.org"));
  const std::string content = message.value("content").toString().toStdString();
  EXPECT_NE(content.find("\r\nSubject: Alert VLKR\r\n"), std::string::npos) << content;
  EXPECT_NE(content.find("Bought VLKR"), std::string::npos) << content;
  EXPECT_NE(content.find("\r\nX-Mailer: Velkar Tickvane Version "), std::string::npos);
}

TEST_F(EMailPageSmtpTest, ANoServerAtThePortFailsAtOnce) {
  if (const std::string why = SmtpTestServer::Unavailable(); !why.empty())
    GTEST_SKIP() << why;
  int port = 0;
  {
    SmtpTestServer server;
    std::string error;
    ASSERT_TRUE(server.Start({}, &error)) << error;
    port = server.Port();
  } // stopped: nobody listens there now
  OpenAndTest(port);
  EXPECT_NE(Status().find("\nException: "), std::string::npos) << Status();
  EXPECT_NE(Status().find("\nRESULT: FAILED - not sent"), std::string::npos) << Status();
  EXPECT_EQ(page->lbSending->text(), QStringLiteral("Test Email Not Sent"));
}

TEST_F(EMailPageSmtpTest, AHostTypedWithItsPortIsSavedAsTypedAndMailGoesThere) {
  if (const std::string why = SmtpTestServer::Unavailable(); !why.empty())
    GTEST_SKIP() << why;
  SmtpTestServer server;
  std::string error;
  ASSERT_TRUE(server.Start({}, &error)) << error;
  const std::string alertFile = ProgramFolder() + AlertFileName;
  // Closes the page with the host typed, then starts afresh from the alert
  // file and shows the page again.
  const auto saveAndReopen = [&](const QString &typedHost) {
    page = std::make_unique<TOPanEmail>();
    page->show();
    page->FormShow();
    page->dfHost->setText(typedHost);
    page->dfPort->setText(QStringLiteral("default"));
    page->FormClose();
    page.reset();
    ResetMailSettings();
    LoadAlertFile(AlertSystem(), alertFile);
    page = std::make_unique<TOPanEmail>();
    page->show();
    page->FormShow();
  };
  const struct {
    QString typed, host, port;
  } cases[] = {
      {"[2001:db8::25]:587", "2001:db8::25", "587"},
      {"[::1]:2525", "::1", "2525"},
      {"mail.example.com:587", "mail.example.com", "587"},
      {"2001:db8::26", "2001:db8::26", "default"},
  };
  for (const auto &c : cases) {
    saveAndReopen(c.typed);
    EXPECT_EQ(page->dfHost->text().toStdString(), c.host.toStdString()) << c.typed.toStdString();
    EXPECT_EQ(page->dfPort->text().toStdString(), c.port.toStdString()) << c.typed.toStdString();
  }

  // The server typed with its port gets the mail the page sends.
  saveAndReopen(QStringLiteral("127.0.0.1:%1").arg(server.Port()));
  EXPECT_EQ(GetMailSettings().SMTPHost, "127.0.0.1");
  EXPECT_EQ(GetMailSettings().SMTPPort, server.Port());
  page->lbSetups->setCurrentRow(0);
  page->pbTest->click();
  ASSERT_TRUE(ProcessEventsUntil([this] { return page->TestSend() && !page->TestSend()->Running(); }, 30000));
  EXPECT_NE(Status().find("\nRESULT: Success sending message"), std::string::npos) << Status();
  EXPECT_TRUE(server.WaitFor([](const auto &s) { return s.EventsOf("message").size() == 1; }));
}
