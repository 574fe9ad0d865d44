#include "alerts/AlertActivation.h"
#include "alerts/AlertLog.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertSystem.h"
#include "alerts/AlertsModule.h"
#include "alerts/EMailRecord.h"
#include "alerts/MailQueue.h"
#include "alerts/PendingAlertQueue.h"
#include "alerts/SenderThread.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "support/SmtpTestServer.h"

#include <QJsonArray>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

std::vector<std::string> MailLines() {
  std::vector<std::string> out;
  for (const auto &line : AlertLogLines())
    if (line.size() > 9 && line.compare(9, 9, "EMail to ") == 0)
      out.push_back(line.substr(9));
  return out;
}

template <class Pred> bool WaitUntil(Pred done, int timeoutMs = 30000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// The mail sender with the real SMTP client against the test server.
class MailSenderIntegrationTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (const std::string why = SmtpTestServer::Unavailable(); !why.empty())
      GTEST_SKIP() << why;
    ClearAlertLog();
    MailQueue().Clear();
    ResetMailSettings();
  }
  void TearDown() override {
    thread.reset(); // stops and joins before the server goes
    server.Stop();
    MailQueue().Clear();
    ResetMailSettings();
  }

  bool StartAll(const SmtpTestServer::Options &options, bool login,
                const std::string &password = "s3cret") {
    std::string error;
    if (!server.Start(options, &error)) {
      ADD_FAILURE() << error;
      return false;
    }
    MailSettings settings;
    settings.SMTPHost = "127.0.0.1";
    settings.SMTPPort = server.Port();
    settings.FromAddress = "alerts@example.com";
    settings.Authenticate = login ? 1 : 0;
    settings.UserName = "alice"; // kept even when login is off
    settings.Password = password;
    SetMailSettings(settings);
    thread = std::make_unique<TSenderThread>(nullptr, nullptr, TSenderTimings{10000, 10, 20});
    thread->Start();
    return true;
  }

  SmtpTestServer server;
  std::unique_ptr<TSenderThread> thread;
};

TEST_F(MailSenderIntegrationTest, AlertMailEndToEnd) {
  ASSERT_TRUE(StartAll({"alice:s3cret", 250, false, false}, false));
  QueueAlertMail(1, "alerts@example.com", "ann@example.com; bob@example.com,carol@example.com;",
                 "VLKR | High Price", "Last: 80 1/2\r\n.\r\n.hidden|line\r\nend");
  ASSERT_TRUE(WaitUntil([] { return MailLines().size() == 1; }));
  EXPECT_EQ(MailLines()[0], "EMail to ann@example.com; bob@example.com,carol@example.com; "
                            "\"VLKR  High Price\" - SENT");

  ASSERT_TRUE(server.WaitFor([](const auto &s) { return s.EventsOf("message").size() == 1; }));
  const QJsonObject message = server.EventsOf("message")[0];
  EXPECT_EQ(message.value("mail_from").toString(), "alerts@example.com");
  const QJsonArray rcpts = message.value("rcpt_tos").toArray();
  ASSERT_EQ(rcpts.size(), 3);
  EXPECT_EQ(rcpts[0].toString(), "ann@example.com");
  EXPECT_EQ(rcpts[1].toString(), "bob@example.com");
  EXPECT_EQ(rcpts[2].toString(), "carol@example.com");
  const std::string content = message.value("content").toString().toStdString();
  EXPECT_NE(content.find("\r\nSubject: VLKR  High Price\r\n"), std::string::npos) << content;
  EXPECT_NE(content.find("\r\nTo: ann@example.com, bob@example.com, carol@example.com\r\n"),
            std::string::npos);
  EXPECT_NE(content.find("\r\nX-Mailer: Velkar Tickvane Version " + VersionToStr(ProgramVersion()) +
                         "\r\n"),
            std::string::npos);
  EXPECT_NE(content.find("\r\n\r\nLast: 80 1/2\r\n.\r\n.hiddenline\r\nend\r\n"), std::string::npos)
      << content;
  EXPECT_TRUE(server.EventsOf("auth").empty()) << "login is off";
  EXPECT_FALSE(message.value("authenticated").toBool());
  EXPECT_EQ(server.Sessions(), 1);
}

TEST_F(MailSenderIntegrationTest, LogsInWhenLoginIsOn) {
  ASSERT_TRUE(StartAll({"alice:s3cret", 250, false, false}, true));
  QueueAlertMail(1, "alerts@example.com", "ann@example.com", "s", "b");
  ASSERT_TRUE(WaitUntil([] { return MailLines().size() == 1; }));
  EXPECT_EQ(MailLines()[0], "EMail to ann@example.com \"s\" - SENT");
  const auto auths = server.EventsOf("auth");
  ASSERT_EQ(auths.size(), 1u);
  EXPECT_EQ(auths[0].value("login").toString(), "alice");
  ASSERT_EQ(server.EventsOf("message").size(), 1u);
  EXPECT_TRUE(server.EventsOf("message")[0].value("authenticated").toBool());
}

TEST_F(MailSenderIntegrationTest, RefusedDataFourSessionsThenCancelled) {
  ASSERT_TRUE(StartAll({"", 554, false, false}, false));
  QueueAlertMail(1, "alerts@example.com", "ann@example.com", "Alert", "body");
  ASSERT_TRUE(WaitUntil([] { return MailLines().size() == 4; }));
  thread.reset();
  EXPECT_EQ(MailLines(), (std::vector<std::string>{
                             "EMail to ann@example.com \"Alert\" - FAILED ON TRY 1",
                             "EMail to ann@example.com \"Alert\" - FAILED ON TRY 2",
                             "EMail to ann@example.com \"Alert\" - FAILED ON TRY 3",
                             "EMail to ann@example.com \"Alert\" - CANCELLED!",
                         }));
  EXPECT_EQ(server.Sessions(), 4);
  EXPECT_EQ(server.EventsOf("message").size(), 4u);
  EXPECT_EQ(MailQueue().Count(), 0u);
}

TEST_F(MailSenderIntegrationTest, WrongPasswordFailsLikeAnyRefusal) {
  ASSERT_TRUE(StartAll({"alice:s3cret", 250, false, false}, true, "wrong"));
  QueueAlertMail(4, "alerts@example.com", "ann@example.com", "s", "b");
  ASSERT_TRUE(WaitUntil([] { return MailLines().size() == 1; }));
  EXPECT_EQ(MailLines()[0], "EMail to ann@example.com \"s\" - CANCELLED!");
  EXPECT_TRUE(server.EventsOf("message").empty());
}

// A price alert with e-mail fires on every refresh while the sender sends one
// mail per cycle: each alert keeps one waiting mail, the newest; a disabled or
// deleted alert's waiting mail never reaches the server; the alert log says
// what became of every mail.
TEST_F(MailSenderIntegrationTest, AnAlertKeepsOneWaitingMailAndLosesItWhenTurnedOff) {
  ASSERT_TRUE(server.Start({}, nullptr));
  MailSettings settings;
  settings.SMTPHost = "127.0.0.1";
  settings.SMTPPort = server.Port();
  settings.FromAddress = "alerts@example.com";
  SetMailSettings(settings);
  EMailSetups().Add("Desk",
                    std::make_unique<EMailRecord>("SETUP01", "Last <LAST>", "<SYMBOL> alert",
                                                  "ann@example.com", "Desk"));
  AlertSystem().ClearAll();
  PendingAlerts().Clear();
  QuoteFields quote;
  quote.Last = 106.25;
  StoreQuote("IBM", quote);
  StoreQuote("KO", quote);
  const auto addAlert = [](const std::string &symbol) {
    auto alert = std::make_unique<TAlertRecord>();
    alert->Symbol = symbol;
    alert->AlertType = 1;
    alert->P1 = 100;
    alert->Actions.Include(ActionEMail);
    alert->EMailSetupID = "SETUP01";
    return AlertSystem().AddAlert(std::move(alert));
  };
  const std::string ibm = addAlert("IBM");
  const std::string ko = addAlert("KO");
  // Three refreshes trigger both alerts before the sender's next cycle.
  const auto fire = [](const std::string &id, int times) {
    for (int i = 0; i < times; ++i) {
      PendingAlerts().Push(id);
      ActivatePendingAlerts();
    }
  };
  fire(ibm, 3);
  fire(ko, 3);
  EXPECT_EQ(MailQueue().Count(), 2u) << "one waiting mail per alert";

  // KO's alert is disabled and IBM's deleted before their mails go out.
  AlertSystem().DisableAlert(ko);
  const std::string third = addAlert("AA");
  StoreQuote("AA", quote);
  fire(third, 1);
  AlertSystem().DeleteAlert(ibm, false);

  thread = std::make_unique<TSenderThread>(nullptr, nullptr, TSenderTimings{10000, 10, 20});
  thread->Start();
  ASSERT_TRUE(WaitUntil([] { return MailLines().size() == 7; }));
  thread.reset();
  EXPECT_EQ(MailLines(), (std::vector<std::string>{
                             "EMail to ann@example.com \"IBM alert\" - REPLACED BY A NEWER MAIL",
                             "EMail to ann@example.com \"IBM alert\" - REPLACED BY A NEWER MAIL",
                             "EMail to ann@example.com \"KO alert\" - REPLACED BY A NEWER MAIL",
                             "EMail to ann@example.com \"KO alert\" - REPLACED BY A NEWER MAIL",
                             "EMail to ann@example.com \"IBM alert\" - DROPPED, ALERT DELETED",
                             "EMail to ann@example.com \"KO alert\" - DROPPED, ALERT DISABLED",
                             "EMail to ann@example.com \"AA alert\" - SENT",
                         }));
  ASSERT_EQ(server.EventsOf("message").size(), 1u) << "only the enabled alert's mail";
  EXPECT_NE(server.EventsOf("message")[0].value("content").toString().indexOf("AA alert"), -1);
  EXPECT_EQ(MailQueue().Count(), 0u);
  AlertSystem().ClearAll();
  ResetStockStore();
}

} // namespace
