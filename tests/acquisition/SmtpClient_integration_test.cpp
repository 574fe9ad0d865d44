#include "acquisition/MailMessage.h"
#include "acquisition/SmtpClient.h"
#include "core/ProgramFolder.h"
#include "support/SmtpTestServer.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

std::string Content(const QJsonObject &message) {
  return message.value("content").toString().toStdString();
}

std::vector<std::string> Rcpts(const QJsonObject &message) {
  std::vector<std::string> out;
  for (const auto &v : message.value("rcpt_tos").toArray())
    out.push_back(v.toString().toStdString());
  return out;
}

// Skips the test when the server cannot run here; fails it when it does not start.
#define START_SERVER(...)                                                                          \
  do {                                                                                             \
    const SmtpTestServer::Options options_ = __VA_ARGS__;                                          \
    if (const std::string why_ = SkipReason(options_); !why_.empty())                              \
      GTEST_SKIP() << why_;                                                                        \
    ASSERT_TRUE(StartServer(options_));                                                            \
  } while (0)

class SmtpClientIntegrationTest : public ::testing::Test {
protected:
  static std::string SkipReason(const SmtpTestServer::Options &options) {
    return options.tls ? SmtpTestServer::TlsUnavailable() : SmtpTestServer::Unavailable();
  }
  bool StartServer(const SmtpTestServer::Options &options) {
    std::string error;
    if (!server.Start(options, &error)) {
      ADD_FAILURE() << error;
      return false;
    }
    client.SetHost("127.0.0.1:" + std::to_string(server.Port()));
    client.SetOnStatus([this](const std::string &t) { statuses.push_back(t); });
    client.SetTimings({10000, 10000, 20});
    return true;
  }
  bool StatusHas(const std::string &part) const {
    for (const auto &s : statuses)
      if (s.find(part) != std::string::npos)
        return true;
    return false;
  }

  static TMailMessage Message() {
    TMailMessage m;
    m.SetHeader(TMailMessage::hiFrom, "Alert Robot <robot@example.com>");
    m.SetHeader(TMailMessage::hiSubject, "VLKR über 80 €");
    m.SetRecipientsText("ann@example.com\r\nBob <bob@example.org>");
    m.CC().push_back("carol@example.net");
    m.BCC().push_back("dave@example.net");
    m.SetBodyText("First line\r\n.starts with a dot\r\n..two dots\r\n.\r\nlast line");
    return m;
  }

  SmtpTestServer server;
  TSmtpClient client;
  std::vector<std::string> statuses;
};

TEST_F(SmtpClientIntegrationTest, MailArrivesWhole) {
  START_SERVER(SmtpTestServer::Options{});
  client.SetMailer(TickvaneMailerText());
  ASSERT_TRUE(client.Send(Message())) << client.LastError();
  EXPECT_TRUE(StatusHas("MESSAGE ACCEPTED"));
  EXPECT_EQ(statuses.back(), "DISCONNECTED");

  ASSERT_TRUE(server.WaitFor([](const auto &s) { return s.EventsOf("message").size() == 1; }));
  const QJsonObject message = server.EventsOf("message")[0];
  EXPECT_EQ(message.value("mail_from").toString(), "robot@example.com");
  EXPECT_EQ(Rcpts(message), (std::vector<std::string>{"ann@example.com", "bob@example.org",
                                                      "carol@example.net", "dave@example.net"}));
  EXPECT_FALSE(message.value("authenticated").toBool());
  const std::string content = Content(message);
  EXPECT_NE(content.find("\r\nX-Mailer: Velkar Tickvane Version " + VersionToStr(ProgramVersion()) +
                         "\r\n"),
            std::string::npos)
      << content;
  EXPECT_NE(content.find("\r\nSubject: =?UTF-8?B?VkxLUiDDvGJlciA4MCDigqw=?=\r\n"),
            std::string::npos)
      << content;
  EXPECT_NE(content.find("\r\nTo: ann@example.com, Bob <bob@example.org>\r\n"), std::string::npos);
  EXPECT_NE(content.find("\r\nCc: carol@example.net\r\n"), std::string::npos);
  EXPECT_EQ(content.find("dave"), std::string::npos);
  // The server removed the stuffing again: the body is as written.
  EXPECT_NE(content.find("\r\n\r\nFirst line\r\n.starts with a dot\r\n..two dots\r\n.\r\nlast "
                         "line\r\n"),
            std::string::npos)
      << content;
  EXPECT_EQ(server.Sessions(), 1);
}

TEST_F(SmtpClientIntegrationTest, LogsInOnlyWithAUserName) {
  START_SERVER({"alice:s3cret", 250, false, false, {}});
  client.SetUserName("alice");
  client.SetPassword("s3cret");
  ASSERT_TRUE(client.Send(Message())) << client.LastError();
  client.SetUserName("");
  client.SetPassword("");
  ASSERT_TRUE(client.Send(Message())) << client.LastError();

  ASSERT_TRUE(server.WaitFor([](const auto &s) { return s.EventsOf("message").size() == 2; }));
  const auto auths = server.EventsOf("auth");
  ASSERT_EQ(auths.size(), 1u);
  EXPECT_EQ(auths[0].value("login").toString(), "alice");
  EXPECT_TRUE(auths[0].value("success").toBool());
  const auto messages = server.EventsOf("message");
  EXPECT_TRUE(messages[0].value("authenticated").toBool());
  EXPECT_FALSE(messages[1].value("authenticated").toBool());
}

TEST_F(SmtpClientIntegrationTest, WrongPasswordSendsNothing) {
  START_SERVER({"alice:s3cret", 250, false, false, {}});
  client.SetUserName("alice");
  client.SetPassword("wrong");
  EXPECT_FALSE(client.Send(Message()));
  EXPECT_EQ(client.LastError().rfind("Login refused: 535", 0), 0u) << client.LastError();
  EXPECT_FALSE(StatusHas("MESSAGE ACCEPTED"));
  EXPECT_EQ(statuses.back(), "DISCONNECTED");
  EXPECT_TRUE(server.EventsOf("message").empty());
}

TEST_F(SmtpClientIntegrationTest, RefusedDataIsNoSuccess) {
  START_SERVER({"", 554, false, false, {}});
  EXPECT_FALSE(client.Send(Message()));
  EXPECT_EQ(client.LastError(), "The server refused the message: 554 5.0.0 Transaction failed");
  EXPECT_FALSE(StatusHas("MESSAGE ACCEPTED"));
  EXPECT_EQ(statuses.back(), "DISCONNECTED");
}

TEST_F(SmtpClientIntegrationTest, StartTlsWhenOffered) {
  if (!TSmtpClient::TlsAvailable())
    GTEST_SKIP() << "no TLS support in this Qt";
  START_SERVER({"alice:s3cret", 250, true, true, {}});
  client.AddCaCertificateFile(server.CertificatePath());
  client.SetUserName("alice");
  client.SetPassword("s3cret");
  ASSERT_TRUE(client.Send(Message())) << client.LastError();
  EXPECT_TRUE(StatusHas("TLS established"));
  ASSERT_TRUE(server.WaitFor([](const auto &s) { return s.EventsOf("message").size() == 1; }));
  const QJsonObject message = server.EventsOf("message")[0];
  EXPECT_TRUE(message.value("tls").toBool());
  EXPECT_TRUE(message.value("authenticated").toBool());
}

TEST_F(SmtpClientIntegrationTest, ClearTextAfterTheStartTlsAnswerEndsTheSession) {
  if (!TSmtpClient::TlsAvailable())
    GTEST_SKIP() << "no TLS support in this Qt";
  // Someone on the way puts a whole dialogue behind the server's answer to
  // STARTTLS; the real server refuses the message.
  SmtpTestServer::Options options{"", 554, true, false, {}};
  options.afterStartTls = "250 smtp.test\r\n250 ok\r\n250 ok\r\n250 ok\r\n250 ok\r\n250 ok\r\n"
                          "354 go ahead\r\n250 accepted\r\n221 bye\r\n";
  START_SERVER(options);
  client.AddCaCertificateFile(server.CertificatePath());
  EXPECT_FALSE(client.Send(Message()));
  EXPECT_EQ(client.LastError(), "The server sent more after its answer to STARTTLS (was the "
                                "connection tampered with?)")
      << client.LastError();
  EXPECT_FALSE(StatusHas("MESSAGE ACCEPTED"));
  EXPECT_FALSE(StatusHas("TLS established"));
  EXPECT_EQ(statuses.back(), "DISCONNECTED");
  EXPECT_TRUE(server.EventsOf("message").empty());
}

TEST_F(SmtpClientIntegrationTest, UntrustedCertificateStopsBeforeAnythingIsSent) {
  if (!TSmtpClient::TlsAvailable())
    GTEST_SKIP() << "no TLS support in this Qt";
  START_SERVER({"alice:s3cret", 250, true, false, {}});
  client.SetUserName("alice");
  client.SetPassword("s3cret");
  EXPECT_FALSE(client.Send(Message()));
  EXPECT_EQ(client.LastError().rfind("TLS with 127.0.0.1 failed", 0), 0u) << client.LastError();
  EXPECT_EQ(statuses.back(), "DISCONNECTED");
  EXPECT_TRUE(server.EventsOf("auth").empty()) << "no password over an unverified channel";
  EXPECT_TRUE(server.EventsOf("message").empty());
}

} // namespace
