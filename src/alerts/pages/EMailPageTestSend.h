#pragma once
// TEMailTestSend: the test mail of the e-mail settings page. The delivery
// runs on a worker thread so that the window stays responsive; the client's
// status texts come back to the window thread as lines for the page's status
// memo ("Trace: ..."), followed by "Exception: ..." when the client failed and
// one "RESULT: ..." line. A test that has not ended after the time limit
// (60 s) is given up: the delivery is cancelled and the result is a time-out.
#include "acquisition/MailMessage.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class TTestSendWorker;

// The server side of a test mail.
struct TTestMailServer {
  std::string Host;
  int Port = 25;
  std::string UserName; // empty: no login
  std::string Password;
  std::string Mailer; // the X-Mailer text
};

// Delivers one mail, reporting progress texts through status; may throw.
// Runs on the worker thread; abort() turning true asks it to give up.
using TTestMailTransport = std::function<void(
    const TTestMailServer &server, const TMailMessage &message,
    const std::function<void(const std::string &)> &status, const std::function<bool()> &abort)>;

class TEMailTestSend : public QObject {
public:
  static constexpr const char *ResultSuccess = "RESULT: Success sending message";
  static constexpr const char *ResultFailed = "RESULT: FAILED - not sent";
  static constexpr const char *ResultTimeout = "RESULT: Timeout - not sent";

  using LineEvent = std::function<void(const std::string &line)>;
  using FinishedEvent = std::function<void()>;

  explicit TEMailTestSend(QObject *parent = nullptr);
  // Cancels a running delivery and waits for its worker.
  ~TEMailTestSend() override;

  // Starts a delivery (window thread). A test still running is cancelled
  // first.
  void Start(const TTestMailServer &server, const TMailMessage &message);
  // A test has started and not yet ended.
  bool Running() const { return m_running; }
  // Flags of the current test, set by its status texts.
  bool Accepted() const { return m_accepted; }
  bool Done() const { return m_done; }

  // Window thread: a line for the status memo; the test ended (after its
  // result line).
  LineEvent OnLine;
  FinishedEvent OnFinished;

  // ---- Program-wide settings (tests shorten and replace them)
  static int TimeoutMs();
  static void SetTimeoutMs(int ms); // 0 or less restores 60 s
  // The transport; by default the SMTP client. Empty restores it.
  static void SetTransport(TTestMailTransport transport);
  static TTestMailTransport Transport();

private:
  friend class TTestSendWorker;
  void Status(unsigned generation, const std::string &text);
  void Failed(unsigned generation, const std::string &message);
  void Ended(unsigned generation, bool timedOut);
  void StopWorker();
  void Line(const std::string &text);

  std::unique_ptr<TTestSendWorker> m_worker;
  std::shared_ptr<std::atomic<bool>> m_abort;
  unsigned m_generation = 0; // the current test; calls of older ones are dropped
  bool m_running = false;
  bool m_accepted = false;
  bool m_done = false;
  bool m_exception = false;
};

// The SMTP client as a transport.
void SmtpTestMailTransport(const TTestMailServer &server, const TMailMessage &message,
                           const std::function<void(const std::string &)> &status,
                           const std::function<bool()> &abort);
