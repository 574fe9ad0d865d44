#pragma once
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A real SMTP server on 127.0.0.1 for integration tests: smtp_test_server.py
// (python3 with the aiosmtpd package) run as a child process on a free port.
// The child is started with posix_spawn rather than QProcess, whose way of
// starting children blinds the thread sanitizer to the starting thread. The
// server also ends when its standard input closes, so it cannot outlive a
// test process that dies.
// It records what it receives; the process is stopped by Stop() or the
// destructor, whatever happens in the test.
//
//   if (auto why = SmtpTestServer::Unavailable(); !why.empty()) GTEST_SKIP() << why;
//   SmtpTestServer server;
//   ASSERT_TRUE(server.Start({}, &error)) << error;
class SmtpTestServer {
public:
  struct Options {
    std::string auth;   // "user:password": offer AUTH and accept only these
    int dataCode = 250; // the answer to DATA
    bool tls = false;   // offer STARTTLS with a fresh self-signed certificate
    bool requireTls = false;
    // Sent in clear right after the answer to STARTTLS, as someone on the
    // way could (with tls).
    std::string afterStartTls;
  };

  // Why the server cannot run on this machine ("" when it can).
  static std::string Unavailable();
  // Why a TLS server cannot run ("" when it can): also needs the openssl tool.
  static std::string TlsUnavailable();

  SmtpTestServer() = default;
  ~SmtpTestServer();
  SmtpTestServer(const SmtpTestServer &) = delete;
  SmtpTestServer &operator=(const SmtpTestServer &) = delete;

  bool Start(const Options &options, std::string *error);
  void Stop();
  int Port() const { return m_port; }
  // The server's certificate (PEM) when started with tls.
  std::string CertificatePath() const;

  // Every event recorded so far, in order.
  std::vector<QJsonObject> Events() const;
  std::vector<QJsonObject> EventsOf(const QString &kind) const;
  int Sessions() const { return int(EventsOf("connect").size()); }
  // Waits (polling) until pred holds for the events; false on time-out.
  bool WaitFor(const std::function<bool(const SmtpTestServer &)> &pred,
               int timeoutMs = 20000) const;

private:
  std::unique_ptr<QTemporaryDir> m_dir;
  int m_pid = -1;
  int m_stdin = -1; // our end of the server's standard input
  int m_port = 0;
};
