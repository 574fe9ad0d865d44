#pragma once
#include "platform/Exceptions.h"

#include <functional>
#include <string>
#include <vector>

class TMailMessage;

// No connection could be made to the mail server, or it broke or stopped
// answering during the session.
class ESmtpError : public Exception {
public:
  using Exception::Exception;
};

// Time limits of a mail session. One program-wide default set; tests shorten it.
struct TSmtpTimings {
  int connectMs = 30000; // host look-up plus connecting (and the TLS handshake)
  int replyMs = 60000;   // each server reply, and each write
  int sliceMs = 50;      // waits are cut into slices to notice an abort request
};

// Our SMTP client. Send makes one delivery attempt and blocks until it ends,
// so it belongs on a worker thread (a window thread would stall meanwhile);
// the socket lives only inside the call, on the calling thread.
//
// Dialogue: EHLO (HELO when refused), STARTTLS when offered and TLS is
// available, AUTH PLAIN or LOGIN when a user name is set and the server
// offers one, MAIL FROM, RCPT TO for every address, DATA (dot-stuffed, CR LF),
// QUIT. Port 465 speaks TLS from the start. The user name and password are
// sent only over TLS or to a server on this machine (a loopback address).
// Server text is passed on with its control characters replaced.
//
// Progress goes to the status event as texts; one contains
// "MESSAGE ACCEPTED" when the server took the message, and the last one of
// every call contains "DISCONNECTED", also after a failure or an exception.
class TSmtpClient {
public:
  using StatusEvent = std::function<void(const std::string &text)>;
  using AbortCheck = std::function<bool()>;

  static constexpr int DefaultPort = 25;
  static constexpr int ImplicitTlsPort = 465;

  TSmtpClient();
  ~TSmtpClient();
  TSmtpClient(const TSmtpClient &) = delete;
  TSmtpClient &operator=(const TSmtpClient &) = delete;

  // Host name or address; "host:port" or "[v6-address]:port" sets the port too.
  void SetHost(const std::string &host) { m_host = host; }
  const std::string &Host() const { return m_host; }
  // 0 or less means 25.
  void SetPort(int port) { m_port = port; }
  int Port() const { return m_port; }
  // An empty user name sends without logging in.
  void SetUserName(const std::string &user) { m_user = user; }
  void SetPassword(const std::string &password) { m_password = password; }
  // The X-Mailer text of the messages sent; empty keeps the message's own.
  void SetMailer(const std::string &mailer) { m_mailer = mailer; }
  const std::string &Mailer() const { return m_mailer; }

  void SetOnStatus(StatusEvent handler) { m_onStatus = std::move(handler); }
  // Asked between wait slices; true ends the session at once ("CANCELLED").
  void SetAbortCheck(AbortCheck check) { m_abort = std::move(check); }

  void SetTimings(const TSmtpTimings &timings) { m_timings = timings; }
  const TSmtpTimings &Timings() const { return m_timings; }
  static TSmtpTimings DefaultTimings();
  static void SetDefaultTimings(const TSmtpTimings &timings);
  static void ResetDefaultTimings();

  // Whether the server's TLS certificate must be valid for its name (default
  // true). Extra trusted certificates (PEM files) may be added, e.g. a
  // company's own authority.
  void SetVerifyPeer(bool verify) { m_verifyPeer = verify; }
  void AddCaCertificateFile(const std::string &pemPath) { m_caFiles.push_back(pemPath); }

  // One delivery attempt. True when the server accepted the message. False
  // when the server refused (a reply code) or the session was cancelled; the
  // reason is in LastError. Throws ESmtpError when the connection could not
  // be made, broke, or a reply did not come in time.
  bool Send(const TMailMessage &message);
  const std::string &LastError() const { return m_lastError; }

  // Whether TLS can be used at all on this system.
  static bool TlsAvailable();

private:
  friend class TSmtpSession;
  void Status(const std::string &text);

  std::string m_host;
  int m_port = DefaultPort;
  std::string m_user;
  std::string m_password;
  std::string m_mailer;
  StatusEvent m_onStatus;
  AbortCheck m_abort;
  TSmtpTimings m_timings;
  bool m_verifyPeer = true;
  std::vector<std::string> m_caFiles;
  std::string m_lastError;
};

// Helpers of the client, public for their tests.

// Splits "host", "host:port", "[addr]:port" or "[addr]". The port of the text
// wins over defaultPort; a missing, bad or zero port gives defaultPort (25
// when that is 0 or less). False when no host is left.
bool ParseSmtpHost(const std::string &text, int defaultPort, std::string &host, int &port);

// The DATA block of a rendered message: CR LF line ends, every line that
// starts with "." gets a second one, and the block ends with CR LF "." CR LF.
std::string SmtpDataBlock(const std::string &message);

// Server text made safe to pass on in a status text: the phrases that status
// readers look for ("message accepted", "disconnected") are broken up.
std::string NeutralStatusText(const std::string &text);

// Server text made safe to show or log: VisibleText (control bytes and bytes
// of no UTF-8 character as "\xNN").
std::string PrintableServerText(const std::string &text);

// The login methods named in an EHLO reply ("AUTH PLAIN LOGIN", "AUTH=LOGIN"),
// upper-cased.
std::vector<std::string> SmtpAuthMethods(const std::vector<std::string> &ehloLines);
