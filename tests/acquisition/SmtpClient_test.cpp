#include "acquisition/SmtpClient.h"

#include "acquisition/MailMessage.h"

#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

// ---- helpers of the client ----

TEST(SmtpHelpersTest, HostTextMayCarryThePort) {
  struct Case {
    const char *text;
    int defaultPort;
    bool ok;
    std::string host;
    int port;
  };
  const Case cases[] = {
      {"mail.example.com", 25, true, "mail.example.com", 25},
      {" mail.example.com:587 ", 25, true, "mail.example.com", 587},
      {"mail.example.com:", 2525, true, "mail.example.com", 2525},
      {"mail.example.com:abc", 25, true, "mail.example.com", 25},
      {"mail.example.com:0", 25, true, "mail.example.com", 25},
      {"mail.example.com:70000", 25, true, "mail.example.com", 25},
      {"127.0.0.1:2525", 25, true, "127.0.0.1", 2525},
      {"[::1]:2525", 25, true, "::1", 2525},
      {"[::1]", 25, true, "::1", 25},
      {"::1", 25, true, "::1", 25},
      {"host", 0, true, "host", 25},
      {"", 25, false, "", 25},
      {":25", 25, false, "", 25},
  };
  for (const auto &c : cases) {
    std::string host;
    int port = -1;
    EXPECT_EQ(ParseSmtpHost(c.text, c.defaultPort, host, port), c.ok) << c.text;
    EXPECT_EQ(host, c.host) << c.text;
    EXPECT_EQ(port, c.port) << c.text;
  }
}

TEST(SmtpHelpersTest, DataBlockStuffsDotsAndEndsWithADotLine) {
  struct Case {
    const char *name;
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"plain", "a\r\nb\r\n", "a\r\nb\r\n.\r\n"},
      {"no final line end", "a\r\nb", "a\r\nb\r\n.\r\n"},
      {"leading dot", ".hidden\r\n", "..hidden\r\n.\r\n"},
      {"lone dot line", "a\r\n.\r\nb\r\n", "a\r\n..\r\nb\r\n.\r\n"},
      {"dot inside a line", "a.b\r\n", "a.b\r\n.\r\n"},
      {"bare line ends", "x\n.y\rz", "x\r\n..y\r\nz\r\n.\r\n"},
      {"empty", "", ".\r\n"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(SmtpDataBlock(c.in), c.out) << c.name;
}

TEST(SmtpHelpersTest, ServerTextCannotForgeTheMarkers) {
  EXPECT_EQ(NeutralStatusText("< 550 Message accepted only from members"),
            "< 550 Message- accepted only from members");
  EXPECT_EQ(NeutralStatusText("< 421 you are DISCONNECTED now"), "< 421 you are DIS-CONNECTED now");
  EXPECT_EQ(NeutralStatusText("< 250 OK"), "< 250 OK");
}

TEST(SmtpHelpersTest, AuthMethodsFromTheEhloReply) {
  EXPECT_EQ(SmtpAuthMethods({"PIPELINING", "AUTH PLAIN LOGIN", "AUTH=LOGIN", "8BITMIME"}),
            (std::vector<std::string>{"PLAIN", "LOGIN"}));
  EXPECT_EQ(SmtpAuthMethods({"auth cram-md5"}), (std::vector<std::string>{"CRAM-MD5"}));
  EXPECT_TRUE(SmtpAuthMethods({"AUTHX", "SIZE 100"}).empty());
}

// ---- the dialogue, against a scripted server on a thread of its own ----

// Answers each command line with the reply the script gives; after a 354 it
// collects the data up to the dot line and answers dataReply.
class ScriptedServer {
public:
  using Script = std::function<std::string(const std::string &line)>;

  explicit ScriptedServer(Script script, std::string dataReply = "250 2.0.0 queued\r\n",
                          QHostAddress listenOn = QHostAddress::LocalHost)
      : m_script(std::move(script)), m_dataReply(std::move(dataReply)), m_listenOn(listenOn) {
    std::promise<int> port;
    auto ready = port.get_future();
    m_thread = std::thread([this, p = std::move(port)]() mutable { Serve(p); });
    m_port = ready.get();
  }
  ~ScriptedServer() {
    m_stop = true;
    m_thread.join();
  }
  int Port() const { return m_port; }
  std::vector<std::string> Lines() {
    std::lock_guard lock(m_mutex);
    return m_lines;
  }
  std::string Data() {
    std::lock_guard lock(m_mutex);
    return m_data;
  }

private:
  void Serve(std::promise<int> &port) {
    QTcpServer server;
    server.listen(m_listenOn, 0);
    port.set_value(server.serverPort());
    while (!m_stop && !server.hasPendingConnections())
      server.waitForNewConnection(20);
    if (m_stop)
      return;
    QTcpSocket *s = server.nextPendingConnection();
    s->write("220 scripted ESMTP\r\n");
    s->waitForBytesWritten(1000);
    std::string buffer;
    bool inData = false;
    while (!m_stop && s->state() == QAbstractSocket::ConnectedState) {
      if (!s->waitForReadyRead(20) && s->bytesAvailable() == 0)
        continue;
      buffer += s->readAll().toStdString();
      for (;;) {
        if (inData) {
          const auto end = buffer.find("\r\n.\r\n");
          if (end == std::string::npos)
            break;
          {
            std::lock_guard lock(m_mutex);
            m_data = buffer.substr(0, end + 2);
          }
          buffer.erase(0, end + 5);
          inData = false;
          s->write(m_dataReply.c_str());
          continue;
        }
        const auto eol = buffer.find("\r\n");
        if (eol == std::string::npos)
          break;
        const std::string line = buffer.substr(0, eol);
        buffer.erase(0, eol + 2);
        {
          std::lock_guard lock(m_mutex);
          m_lines.push_back(line);
        }
        const std::string reply = m_script(line);
        if (line == "DATA" && reply.rfind("354", 0) == 0)
          inData = true;
        s->write(reply.c_str());
        s->waitForBytesWritten(1000);
        if (line == "QUIT") {
          s->disconnectFromHost();
          return;
        }
      }
    }
  }

  Script m_script;
  std::string m_dataReply;
  QHostAddress m_listenOn;
  std::thread m_thread;
  int m_port = 0;
  std::atomic<bool> m_stop{false};
  std::mutex m_mutex;
  std::vector<std::string> m_lines;
  std::string m_data;
};

std::string Standard(const std::string &line, const std::string &ehloExtras = "") {
  if (line.rfind("EHLO", 0) == 0)
    return "250-scripted\r\n" + ehloExtras + "250 8BITMIME\r\n";
  if (line == "DATA")
    return "354 go ahead\r\n";
  if (line == "QUIT")
    return "221 bye\r\n";
  return "250 ok\r\n";
}

TMailMessage SampleMessage() {
  TMailMessage m;
  m.SetHeader(0, "Robot <robot@example.com>");
  m.SetHeader(4, "Alert");
  m.SetRecipientsText("ann@example.com\nbob@example.com");
  m.SetBodyText("line\n.dot line\n");
  return m;
}

struct Recorder {
  std::vector<std::string> texts;
  TSmtpClient::StatusEvent Event() {
    return [this](const std::string &t) { texts.push_back(t); };
  }
  bool Has(const std::string &part) const {
    for (const auto &t : texts)
      if (t.find(part) != std::string::npos)
        return true;
    return false;
  }
};

class SmtpClientTest : public ::testing::Test {
protected:
  void SetUp() override {
    client.SetHost("127.0.0.1");
    client.SetOnStatus(recorder.Event());
    client.SetTimings({3000, 3000, 20});
  }
  TSmtpClient client;
  Recorder recorder;
};

TEST_F(SmtpClientTest, FullDialogueWithoutLogin) {
  ScriptedServer server([](const std::string &l) { return Standard(l); });
  client.SetPort(server.Port());
  ASSERT_TRUE(client.Send(SampleMessage()));
  const auto lines = server.Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].rfind("EHLO ", 0), 0u);
  EXPECT_EQ(lines[1], "MAIL FROM:<robot@example.com>");
  EXPECT_EQ(lines[2], "RCPT TO:<ann@example.com>");
  EXPECT_EQ(lines[3], "RCPT TO:<bob@example.com>");
  EXPECT_EQ(lines[4], "DATA");
  EXPECT_EQ(lines[5], "QUIT");
  const std::string data = server.Data();
  EXPECT_NE(data.find("\r\n\r\nline\r\n..dot line\r\n"), std::string::npos) << data;
  EXPECT_TRUE(recorder.Has("MESSAGE ACCEPTED"));
  EXPECT_EQ(recorder.texts.back(), "DISCONNECTED");
}

TEST_F(SmtpClientTest, HeloWhenEhloIsRefused) {
  ScriptedServer server([](const std::string &l) {
    return l.rfind("EHLO", 0) == 0 ? std::string("502 not here\r\n") : Standard(l);
  });
  client.SetPort(server.Port());
  client.SetUserName("user"); // no AUTH without EHLO: it sends without a login
  ASSERT_TRUE(client.Send(SampleMessage()));
  const auto lines = server.Lines();
  EXPECT_EQ(lines[1].rfind("HELO ", 0), 0u);
  EXPECT_EQ(lines[2], "MAIL FROM:<robot@example.com>");
  EXPECT_TRUE(recorder.Has("offers no login"));
}

TEST_F(SmtpClientTest, AuthLoginWhenPlainIsNotOffered) {
  ScriptedServer server([](const std::string &l) {
    if (l == "AUTH LOGIN" || l == "dXNlcg==")
      return std::string("334 next\r\n");
    if (l == "cGFzcw==")
      return std::string("235 welcome\r\n");
    return Standard(l, "250-AUTH LOGIN\r\n");
  });
  client.SetPort(server.Port());
  client.SetUserName("user");
  client.SetPassword("pass");
  ASSERT_TRUE(client.Send(SampleMessage()));
  const auto lines = server.Lines();
  EXPECT_EQ(lines[1], "AUTH LOGIN");
  EXPECT_EQ(lines[2], "dXNlcg==");
  EXPECT_EQ(lines[3], "cGFzcw==");
  EXPECT_FALSE(recorder.Has("pass")) << "the password never shows in the status";
}

TEST_F(SmtpClientTest, AuthPlainPreferred) {
  ScriptedServer server([](const std::string &l) {
    if (l.rfind("AUTH PLAIN ", 0) == 0)
      return std::string(l == "AUTH PLAIN AHVzZXIAcGFzcw==" ? "235 ok\r\n" : "535 bad\r\n");
    return Standard(l, "250-AUTH LOGIN PLAIN\r\n");
  });
  client.SetPort(server.Port());
  client.SetUserName("user");
  client.SetPassword("pass");
  EXPECT_TRUE(client.Send(SampleMessage()));
  EXPECT_EQ(server.Lines()[1], "AUTH PLAIN AHVzZXIAcGFzcw==");
}

TEST_F(SmtpClientTest, RefusedLoginEndsWithoutAMessage) {
  ScriptedServer server([](const std::string &l) {
    if (l.rfind("AUTH PLAIN", 0) == 0)
      return std::string("535 5.7.8 credentials invalid\r\n");
    return Standard(l, "250-AUTH PLAIN\r\n");
  });
  client.SetPort(server.Port());
  client.SetUserName("user");
  EXPECT_FALSE(client.Send(SampleMessage()));
  EXPECT_EQ(server.Lines().back(), "QUIT");
  EXPECT_EQ(client.LastError(), "Login refused: 535 5.7.8 credentials invalid");
  EXPECT_FALSE(recorder.Has("MESSAGE ACCEPTED"));
  EXPECT_EQ(recorder.texts.back(), "DISCONNECTED");
}

TEST_F(SmtpClientTest, NoLoginInClearToAServerElsewhere) {
  // This machine's own address outside loopback stands for a server elsewhere.
  QHostAddress outside;
  for (const QHostAddress &a : QNetworkInterface::allAddresses())
    if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
      outside = a;
  if (outside.isNull())
    GTEST_SKIP() << "no network address besides loopback";
  ScriptedServer server(
      [](const std::string &l) { return Standard(l, "250-AUTH PLAIN LOGIN\r\n"); },
      "250 queued\r\n", QHostAddress::AnyIPv4);
  client.SetHost(outside.toString().toStdString());
  client.SetPort(server.Port());
  client.SetUserName("user");
  client.SetPassword("secret");
  EXPECT_FALSE(client.Send(SampleMessage()));
  for (const std::string &line : server.Lines()) {
    EXPECT_EQ(line.find("AUTH"), std::string::npos) << line;
    EXPECT_EQ(line.find("MAIL FROM"), std::string::npos) << line;
  }
  EXPECT_EQ(server.Lines().back(), "QUIT");
  EXPECT_NE(client.LastError().find("not encrypted"), std::string::npos) << client.LastError();
  EXPECT_TRUE(recorder.Has("ERROR: The connection to the server is not encrypted"));
  EXPECT_EQ(recorder.texts.back(), "DISCONNECTED");
}

TEST_F(SmtpClientTest, ServerTextReachesStatusAndErrorsWithoutControlCharacters) {
  ScriptedServer server(
      [](const std::string &l) {
        if (l.rfind("EHLO", 0) == 0)
          return std::string("250-scripted\x1b[2J\x1b]0;owned\x07\r\n250 8BITMIME\r\n");
        if (l == "RCPT TO:<ann@example.com>")
          return std::string("550 no\rsuch\tuser\x7f\xc2\x9b"
                             "31m \x9b"
                             "2J\x9c\x9d caf\xc3\xa9\r\n");
        return Standard(l);
      },
      "554 rejected\x1b[0m here\r\n");
  client.SetPort(server.Port());
  EXPECT_FALSE(client.Send(SampleMessage()));
  const auto clean = [](const std::string &t) {
    for (std::size_t i = 0; i < t.size(); ++i) {
      const auto c = static_cast<unsigned char>(t[i]);
      if (c < 0x20 || c == 0x7F ||
          (c == 0xC2 && i + 1 < t.size() && static_cast<unsigned char>(t[i + 1]) < 0xA0))
        return false;
      if (c >= 0x80 && c <= 0x9F && (i == 0 || static_cast<unsigned char>(t[i - 1]) < 0xC0))
        return false; // an 8-bit control byte of its own
    }
    return true;
  };
  for (const std::string &t : recorder.texts)
    EXPECT_TRUE(clean(t)) << t;
  EXPECT_TRUE(recorder.Has(R"(< 250 scripted\x1b[2J\x1b]0;owned\x07 (+1 lines))"));
  EXPECT_TRUE(
      recorder.Has(R"(Recipient ann@example.com refused: 550 no\x0dsuch\x09user\x7f\xc2\x9b31m )"
                   R"(\x9b2J\x9c\x9d caf)"
                   "\xc3\xa9"));
  EXPECT_EQ(client.LastError(), R"(The server refused the message: 554 rejected\x1b[0m here)");
}

TEST_F(SmtpClientTest, OneRefusedRecipientStillSendsToTheOthers) {
  ScriptedServer server([](const std::string &l) {
    return l == "RCPT TO:<ann@example.com>" ? std::string("550 no such user\r\n") : Standard(l);
  });
  client.SetPort(server.Port());
  EXPECT_TRUE(client.Send(SampleMessage()));
  EXPECT_TRUE(recorder.Has("Recipient ann@example.com refused: 550 no such user"));
}

TEST_F(SmtpClientTest, RefusedDataIsAFailureWithoutException) {
  ScriptedServer server([](const std::string &l) { return Standard(l); },
                        "554 5.6.0 message accepted? no: rejected\r\n");
  client.SetPort(server.Port());
  EXPECT_FALSE(client.Send(SampleMessage()));
  EXPECT_FALSE(recorder.Has("MESSAGE ACCEPTED")) << "server text cannot fake the verdict";
  EXPECT_EQ(recorder.texts.back(), "DISCONNECTED");
}

TEST_F(SmtpClientTest, MailerTextOfTheClientGoesIntoTheMessage) {
  ScriptedServer server([](const std::string &l) { return Standard(l); });
  client.SetPort(server.Port());
  client.SetMailer("Velkar Tickvane Version 9.9.9.9");
  ASSERT_TRUE(client.Send(SampleMessage()));
  EXPECT_NE(server.Data().find("\r\nX-Mailer: Velkar Tickvane Version 9.9.9.9\r\n"),
            std::string::npos);
}

// ---- failures before or during the connection ----

TEST_F(SmtpClientTest, NoRecipientIsRefusedBeforeConnecting) {
  TMailMessage m;
  m.SetRecipientsText(";\n\n");
  m.SetRecipientsText("\r\n \r\n");
  EXPECT_FALSE(client.Send(m));
  EXPECT_EQ(recorder.texts,
            (std::vector<std::string>{"ERROR: The message has no recipient", "DISCONNECTED"}));
}

TEST_F(SmtpClientTest, ClosedPortRaisesAfterDisconnected) {
  int port;
  {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    port = probe.serverPort();
  }
  client.SetPort(port);
  EXPECT_THROW(client.Send(SampleMessage()), ESmtpError);
  ASSERT_FALSE(recorder.texts.empty());
  EXPECT_EQ(recorder.texts.back(), "DISCONNECTED");
  EXPECT_TRUE(recorder.Has("ERROR: Cannot connect to 127.0.0.1:" + std::to_string(port)));
}

TEST_F(SmtpClientTest, SilentServerTimesOut) {
  QTcpServer silent; // the system accepts the connection; nobody ever answers
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  client.SetPort(silent.serverPort());
  client.SetTimings({3000, 200, 20});
  EXPECT_THROW(client.Send(SampleMessage()), ESmtpError);
  EXPECT_EQ(recorder.texts.back(), "DISCONNECTED");
  EXPECT_TRUE(recorder.Has("No reply from the server"));
}

TEST_F(SmtpClientTest, AbortRequestEndsTheSessionPromptly) {
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  client.SetPort(silent.serverPort());
  client.SetTimings({60000, 60000, 20});
  std::atomic<bool> abort{false};
  client.SetAbortCheck([&] { return abort.load(); });
  std::atomic<bool> connected{false};
  client.SetOnStatus([&](const std::string &t) {
    recorder.texts.push_back(t);
    if (t.rfind("Connected", 0) == 0)
      connected = true;
  });
  auto result = std::async(std::launch::async, [&] { return client.Send(SampleMessage()); });
  while (!connected)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  abort = true;
  ASSERT_EQ(result.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_FALSE(result.get());
  const std::vector<std::string> tail(recorder.texts.end() - 2, recorder.texts.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"CANCELLED", "DISCONNECTED"}));
}

TEST_F(SmtpClientTest, NoHostSet) {
  client.SetHost("  ");
  EXPECT_FALSE(client.Send(SampleMessage()));
  EXPECT_EQ(recorder.texts,
            (std::vector<std::string>{"ERROR: No mail server is set", "DISCONNECTED"}));
}

TEST_F(SmtpClientTest, UnknownHostRaises) {
  client.SetHost("no-such-host.invalid");
  EXPECT_THROW(client.Send(SampleMessage()), ESmtpError);
  EXPECT_EQ(recorder.texts.back(), "DISCONNECTED");
}

} // namespace
