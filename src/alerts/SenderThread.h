#pragma once
#include "alerts/EMailRecord.h"
#include "alerts/MailQueue.h"
#include "platform/WorkerThread.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class TMailMessage;
class TSmtpClient;

// One delivery attempt of a mail, as the sender thread needs it: blocking,
// with progress texts (one containing "MESSAGE ACCEPTED" when the server took
// the mail, one containing "DISCONNECTED" when the connection ended). It
// stops soon after shouldAbort returns true. May throw on a connection failure.
class TMailTransport {
public:
  using StatusEvent = std::function<void(const std::string &text)>;
  using AbortCheck = std::function<bool()>;

  virtual ~TMailTransport() = default;
  virtual void Send(const MailSettings &settings, const TMailMessage &message,
                    const StatusEvent &status, const AbortCheck &shouldAbort) = 0;
};

// The real transport: our SMTP client, created on first use, configured from
// the mail settings for every mail (user name and password only when the
// settings ask for authentication) with the program's mailer text.
class TSmtpMailTransport final : public TMailTransport {
public:
  TSmtpMailTransport();
  ~TSmtpMailTransport() override;
  void Send(const MailSettings &settings, const TMailMessage &message, const StatusEvent &status,
            const AbortCheck &shouldAbort) override;

private:
  std::unique_ptr<TSmtpClient> m_client;
};

// Whether the alert a waiting mail belongs to still wants it sent: a mail of
// an alert that was disabled or deleted since is dropped, not sent.
enum class TAlertMailState { Wanted, Disabled, Deleted };
using TAlertMailCheck = std::function<TAlertMailState(const std::string &alertID)>;
// The alert store's answer: Deleted when no alert has the ID, Disabled when
// it is not enabled.
TAlertMailState StoredAlertMailState(const std::string &alertID);
inline constexpr const char *MailAlertDisabledEnding = " - DROPPED, ALERT DISABLED";
inline constexpr const char *MailAlertDeletedEnding = " - DROPPED, ALERT DELETED";

// Timings of the sender thread; tests shorten them.
struct TSenderTimings {
  int serverWaitMs = 60000; // longest wait for the end of a session
  int pollMs = 100;         // steps of that wait
  int cycleMs = 10000;      // pause after every cycle
};

// The mail sender thread. Each cycle it takes one mail from the queue, sends
// it, and writes the outcome to the alert log and the program log:
//   EMail to <recipients> "<subject>" - SENT           the server accepted it
//   ... - FAILED ON TRY n                               re-queued at the end
//   ... - CANCELLED!                                    fourth failure, or a stop
//   ... - DROPPED, ALERT DISABLED / DELETED            its alert no longer wants it
// then pauses. A mail whose alert was disabled or deleted while it waited is
// dropped when its turn comes, and the next one is taken in the same cycle.
// A stop request is noticed at once, also in the middle of a session; the
// destructor stops the thread and waits for it.
class TSenderThread final : public TWorkerThread {
public:
  static constexpr int MaxTries = 4;

  // Null arguments: the SMTP transport and the program's mail queue.
  // A null alertCheck asks the alert store (StoredAlertMailState).
  explicit TSenderThread(std::unique_ptr<TMailTransport> transport = nullptr,
                         TMailQueue *queue = nullptr, TSenderTimings timings = {},
                         TAlertMailCheck alertCheck = nullptr);
  ~TSenderThread() override;

  // The status event of the transport (sender thread).
  void SenderStatus(const std::string &text);
  // The last status text of the current or last mail.
  std::string LastStatus() const;

protected:
  void Execute() override;

private:
  void SendOne(const std::string &itemText, const std::string &alertID);
  // The next mail whose alert still wants it; the others are dropped.
  std::optional<TMailQueue::Entry> TakeWanted();

  std::unique_ptr<TMailTransport> m_transport;
  TMailQueue *m_queue;
  TSenderTimings m_timings;
  TAlertMailCheck m_alertCheck;
  std::unique_ptr<TMailMessage> m_message;
  std::atomic<bool> m_accepted{false};
  std::atomic<bool> m_done{false};
  mutable std::mutex m_statusMutex;
  std::string m_lastStatus;
};
