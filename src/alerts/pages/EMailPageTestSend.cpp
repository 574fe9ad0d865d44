#include "alerts/pages/EMailPageTestSend.h"

#include "acquisition/SmtpClient.h"
#include "platform/StringUtils.h"
#include "platform/WorkerThread.h"

#include <QTimer>
#include <exception>
#include <mutex>

namespace {

constexpr int kDefaultTimeoutMs = 60000; // a test gives up after one minute

std::atomic<int> g_timeoutMs{kDefaultTimeoutMs};
std::mutex g_transportMutex;
TTestMailTransport g_transport;

} // namespace

// ---- The worker ------------------------------------------------------------------------

class TTestSendWorker final : public TWorkerThread {
public:
  TTestSendWorker(TEMailTestSend *owner, unsigned generation, TTestMailTransport transport,
                  TTestMailServer server, TMailMessage message,
                  std::shared_ptr<std::atomic<bool>> abort)
      : m_owner(owner), m_generation(generation), m_transport(std::move(transport)),
        m_server(std::move(server)), m_message(std::move(message)), m_abort(std::move(abort)) {}

  ~TTestSendWorker() override {
    m_abort->store(true);
    Terminate();
    WaitFor();
  }

protected:
  void Execute() override {
    TEMailTestSend *owner = m_owner;
    const unsigned generation = m_generation;
    // The owner joins this worker before it goes, so the posts below find it
    // alive; posts still queued when it goes are dropped with it.
    const auto status = [this, owner, generation](const std::string &text) {
      Queue(owner, [owner, generation, text] { owner->Status(generation, text); });
    };
    const auto abort = [this] { return m_abort->load() || Terminated(); };
    try {
      m_transport(m_server, m_message, status, abort);
    } catch (const std::exception &e) {
      const std::string message = e.what();
      Queue(owner, [owner, generation, message] { owner->Failed(generation, message); });
    } catch (...) {
      Queue(owner, [owner, generation] { owner->Failed(generation, "unknown error"); });
    }
    Queue(owner, [owner, generation] { owner->Ended(generation, false); });
  }

private:
  TEMailTestSend *m_owner;
  unsigned m_generation;
  TTestMailTransport m_transport;
  TTestMailServer m_server;
  TMailMessage m_message;
  std::shared_ptr<std::atomic<bool>> m_abort;
};

// ---- The test ----------------------------------------------------------------------------

TEMailTestSend::TEMailTestSend(QObject *parent)
    : QObject(parent), m_abort(std::make_shared<std::atomic<bool>>(false)) {}

TEMailTestSend::~TEMailTestSend() {
  OnLine = nullptr;
  OnFinished = nullptr;
  StopWorker();
}

void TEMailTestSend::StopWorker() {
  m_abort->store(true);
  m_worker.reset(); // cancels and joins
}

void TEMailTestSend::Start(const TTestMailServer &server, const TMailMessage &message) {
  StopWorker();
  const unsigned generation = ++m_generation;
  m_running = true;
  m_accepted = false;
  m_done = false;
  m_exception = false;
  m_abort = std::make_shared<std::atomic<bool>>(false);
  m_worker =
      std::make_unique<TTestSendWorker>(this, generation, Transport(), server, message, m_abort);
  QTimer::singleShot(TimeoutMs(), this, [this, generation] {
    if (generation != m_generation || !m_running)
      return;
    m_abort->store(true);
    Ended(generation, true);
  });
  m_worker->Start();
}

void TEMailTestSend::Line(const std::string &text) {
  if (OnLine)
    OnLine(text);
}

void TEMailTestSend::Status(unsigned generation, const std::string &text) {
  if (generation != m_generation || !m_running)
    return;
  Line("Trace: " + text);
  const std::string upper = UpperCase(text);
  if (upper.find("MESSAGE ACCEPTED") != std::string::npos)
    m_accepted = true;
  else if (upper.find("DISCONNECTED") != std::string::npos)
    m_done = true;
}

void TEMailTestSend::Failed(unsigned generation, const std::string &message) {
  if (generation != m_generation || !m_running)
    return;
  m_exception = true;
  Line("Exception: " + message);
}

void TEMailTestSend::Ended(unsigned generation, bool timedOut) {
  if (generation != m_generation || !m_running)
    return;
  m_running = false;
  (void)timedOut; // a give-up leaves both flags clear, which reads as a time-out
  if (m_accepted)
    Line(ResultSuccess);
  else if (m_done || m_exception)
    Line(ResultFailed);
  else
    Line(ResultTimeout);
  if (OnFinished)
    OnFinished();
}

// ---- Settings ------------------------------------------------------------------------------

int TEMailTestSend::TimeoutMs() { return g_timeoutMs.load(); }

void TEMailTestSend::SetTimeoutMs(int ms) { g_timeoutMs.store(ms > 0 ? ms : kDefaultTimeoutMs); }

void TEMailTestSend::SetTransport(TTestMailTransport transport) {
  std::lock_guard lock(g_transportMutex);
  g_transport = std::move(transport);
}

TTestMailTransport TEMailTestSend::Transport() {
  std::lock_guard lock(g_transportMutex);
  return g_transport ? g_transport : TTestMailTransport(&SmtpTestMailTransport);
}

void SmtpTestMailTransport(const TTestMailServer &server, const TMailMessage &message,
                           const std::function<void(const std::string &)> &status,
                           const std::function<bool()> &abort) {
  TSmtpClient client;
  client.SetHost(server.Host);
  client.SetPort(server.Port);
  client.SetUserName(server.UserName);
  client.SetPassword(server.Password);
  client.SetMailer(server.Mailer);
  client.SetOnStatus(status);
  client.SetAbortCheck(abort);
  client.Send(message);
}
