#include "alerts/SenderThread.h"

#include "acquisition/MailMessage.h"
#include "acquisition/SmtpClient.h"
#include "alerts/AlertLog.h"
#include "alerts/AlertSystem.h"
#include "alerts/AlertsModule.h"
#include "alerts/MailQueue.h"
#include "core/Log.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <chrono>

TSmtpMailTransport::TSmtpMailTransport() = default;
TSmtpMailTransport::~TSmtpMailTransport() = default;

void TSmtpMailTransport::Send(const MailSettings &settings, const TMailMessage &message,
                              const StatusEvent &status, const AbortCheck &shouldAbort) {
  if (!m_client)
    m_client = std::make_unique<TSmtpClient>();
  TSmtpClient &client = *m_client;
  client.SetOnStatus(status);
  client.SetAbortCheck(shouldAbort);
  client.SetMailer(TickvaneMailerText());
  client.SetHost(settings.SMTPHost);
  client.SetPort(settings.SMTPPort);
  const bool login = settings.Authenticate != 0;
  client.SetUserName(login ? settings.UserName : std::string());
  client.SetPassword(login ? settings.Password : std::string());
  client.Send(message);
}

TAlertMailState StoredAlertMailState(const std::string &alertID) {
  AlertSystemClass &alerts = AlertSystem();
  MyLockGuard guard(alerts.Lock, "MAILQ");
  if (!guard.Owns())
    return TAlertMailState::Wanted; // logged by the lock; better sent than lost
  const TAlertRecord *alert = alerts.FindByID(alertID);
  if (!alert)
    return TAlertMailState::Deleted;
  return alert->Enabled ? TAlertMailState::Wanted : TAlertMailState::Disabled;
}

TSenderThread::TSenderThread(std::unique_ptr<TMailTransport> transport, TMailQueue *queue,
                             TSenderTimings timings, TAlertMailCheck alertCheck)
    : m_transport(transport ? std::move(transport) : std::make_unique<TSmtpMailTransport>()),
      m_queue(queue ? queue : &MailQueue()), m_timings(timings),
      m_alertCheck(alertCheck ? std::move(alertCheck) : TAlertMailCheck(StoredAlertMailState)) {}

TSenderThread::~TSenderThread() {
  // Execute uses this object's members: stop and join before they go.
  Terminate();
  WaitFor();
}

void TSenderThread::SenderStatus(const std::string &text) {
  {
    std::lock_guard lock(m_statusMutex);
    m_lastStatus = text;
  }
  if (LoggingOn)
    WriteLog("SMTP Msg: " + text, 0);
  const std::string upper = UpperCase(text);
  if (upper.find("MESSAGE ACCEPTED") != std::string::npos)
    m_accepted = true;
  else if (upper.find("DISCONNECTED") != std::string::npos)
    m_done = true;
}

std::string TSenderThread::LastStatus() const {
  std::lock_guard lock(m_statusMutex);
  return m_lastStatus;
}

void TSenderThread::Execute() {
  AddAlertLogLine("--- Mailer Thread Started");
  while (!Terminated()) {
    try {
      if (std::optional<TMailQueue::Entry> item = TakeWanted())
        SendOne(item->Text, item->AlertID);
    } catch (const std::exception &e) {
      WriteLog(std::string("SendMail Error: ") + e.what(), 0);
    }
    if (!SleepFor(m_timings.cycleMs))
      break;
  }
  m_message.reset();
}

std::optional<TMailQueue::Entry> TSenderThread::TakeWanted() {
  while (std::optional<TMailQueue::Entry> item = m_queue->TakeFirstEntry()) {
    if (item->AlertID.empty())
      return item;
    switch (m_alertCheck(item->AlertID)) {
    case TAlertMailState::Wanted:
      return item;
    case TAlertMailState::Disabled:
      LogMailOutcome(item->Text, MailAlertDisabledEnding);
      break;
    case TAlertMailState::Deleted:
      LogMailOutcome(item->Text, MailAlertDeletedEnding);
      break;
    }
  }
  return std::nullopt;
}

void TSenderThread::SendOne(const std::string &itemText, const std::string &alertID) {
  const TMailQueueItem item = ParseMailQueueItem(itemText);
  if (!m_message)
    m_message = std::make_unique<TMailMessage>();
  TMailMessage &message = *m_message;
  message.ClearAttachments();
  message.ClearCC();
  message.ClearBCC();
  message.ClearExtraHeaders();
  message.SetHeader(TMailMessage::hiFrom, item.Sender);
  // One address per line; the empty entries that a trailing ";" or "," would
  // leave are dropped by the message.
  std::string recipients;
  for (char c : item.SendTo) {
    if (c == ';' || c == ',')
      recipients += "\r\n";
    else
      recipients += c;
  }
  message.SetRecipientsText(recipients);
  message.SetHeader(TMailMessage::hiSubject, item.Subject);
  message.SetBodyText(item.Body);

  m_accepted = false;
  m_done = false;
  // One consistent set of settings for the whole mail.
  const MailSettings settings = GetMailSettings();
  try {
    m_transport->Send(
        settings, message, [this](const std::string &text) { SenderStatus(text); },
        [this] { return Terminated(); });
  } catch (const std::exception &e) {
    WriteLog(std::string("SendMail Exception: ") + e.what(), 0);
  }

  const auto start = std::chrono::steady_clock::now();
  const auto waited = [&start] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
  };
  while (!m_done && !Terminated() && waited() < m_timings.serverWaitMs)
    SleepFor(m_timings.pollMs);

  std::string ending;
  if (m_accepted) {
    ending = " - SENT";
  } else if (Terminated() || item.Try >= MaxTries) {
    // A stop before the server took the mail is no success either; the mail
    // is not kept, as queued mails are not kept across runs.
    ending = " - CANCELLED!";
  } else if (m_queue->Requeue(item.Try + 1, item.Rest, alertID)) {
    ending = " - FAILED ON TRY " + IntToStr(item.Try);
  } else {
    // The newer mail of the same alert goes in its place.
    ending = " - FAILED ON TRY " + IntToStr(item.Try) + MailReplacedEnding;
  }
  LogMailOutcome(itemText, ending);
}
