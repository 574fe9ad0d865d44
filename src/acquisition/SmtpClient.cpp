#include "acquisition/SmtpClient.h"

#include "acquisition/MailMessage.h"
#include "platform/AsciiText.h"
#include "platform/StringUtils.h"
#include "platform/SystemErrorText.h"
#include "platform/VisibleText.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QHostInfo>
#include <QSslCertificate>
#include <QSslCipher>
#include <QSslConfiguration>
#include <QNetworkProxy>
#include <QSslSocket>
#include <QTcpSocket>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <sys/socket.h>
#include <thread>

namespace {

constexpr std::size_t kMaxReplyBytes = 64 * 1024;
constexpr int kMaxReplyLines = 500;
// QUIT is a courtesy: the server gets a short time to answer it.
constexpr int kQuitReplyMs = 2000;

std::mutex &TimingsMutex() {
  static std::mutex mutex;
  return mutex;
}

TSmtpTimings &SharedTimings() {
  static TSmtpTimings timings;
  return timings;
}

// Thrown inside a session when the abort check asks to stop.
struct TCancelled {};

// A refusal by the server (or a failed TLS start): the session ends without
// an exception towards the caller.
struct TRefused {
  std::string reason;
};

struct TReply {
  int code = 0;
  std::vector<std::string> lines; // texts after the code and its separator

  std::string Text() const {
    std::string out = std::to_string(code);
    if (!lines.empty())
      out += " " + lines.back();
    return out;
  }
  bool Is(int first) const { return code / 100 == first; }
};

std::string ToStd(const QString &s) { return s.toStdString(); }
QByteArray Bytes(const std::string &s) { return QByteArray(s.data(), qsizetype(s.size())); }

std::string HeloName(QAbstractSocket &socket) {
  const std::string name = ToStd(QHostInfo::localHostName());
  bool valid = !name.empty();
  for (char c : name)
    if (!(IsAsciiLetterOrDigit(c) || c == '.' || c == '-'))
      valid = false;
  if (valid)
    return name;
  const QHostAddress local = socket.localAddress();
  if (local.protocol() == QAbstractSocket::IPv6Protocol)
    return "[IPv6:" + ToStd(local.toString()) + "]";
  if (!local.isNull())
    return "[" + ToStd(local.toString()) + "]";
  return "localhost";
}

} // namespace

// One connection to the server, on the calling thread.
class TSmtpSession {
public:
  explicit TSmtpSession(TSmtpClient &client) : m_client(client), m_timings(client.m_timings) {
    if (m_timings.sliceMs <= 0)
      m_timings.sliceMs = 50;
  }
  ~TSmtpSession() { Abort(); }

  // The whole dialogue; true when the message was accepted.
  bool Run(const std::string &host, int port, const std::string &sender,
           const std::vector<std::string> &recipients, const std::string &data);
  void Abort() {
    if (m_socket)
      m_socket->abort();
  }

private:
  // Control characters go first, so that none can hide a phrase from the
  // neutralising.
  void Trace(const std::string &text) {
    m_client.Status(NeutralStatusText(PrintableServerText(text)));
  }
  void CheckAbort() const {
    if (m_client.m_abort && m_client.m_abort())
      throw TCancelled{};
  }
  int SliceUntil(const QElapsedTimer &timer, int limitMs) const {
    return std::max(1, std::min(m_timings.sliceMs, limitMs - int(timer.elapsed())));
  }

  QList<QHostAddress> LookUp(const std::string &host);
  void Connect(const std::string &host, int port);
  void StartTls(const std::string &host);
  void WaitEncrypted(const std::string &host);
  void Write(const std::string &bytes);
  TReply ReadReply(int limitMs);
  TReply Command(const std::string &line, const std::string &shown = {});
  TReply Expect(const std::string &line, int wanted, const std::string &what,
                const std::string &shown = {});
  std::vector<std::string> Hello();
  void LogIn(const std::vector<std::string> &caps);
  void Quit();

  TSmtpClient &m_client;
  TSmtpTimings m_timings;
  std::unique_ptr<QTcpSocket> m_socket;
  QSslSocket *m_ssl = nullptr; // m_socket when TLS is available
  std::string m_buffer;
  bool m_encrypted = false;
};

QList<QHostAddress> TSmtpSession::LookUp(const std::string &host) {
  QHostAddress literal;
  if (literal.setAddress(QString::fromStdString(host)))
    return {literal};
  // The system resolver blocks; it runs on a thread of its own so that this
  // wait can end on an abort request or the time limit. The state is shared,
  // so a look-up that is given up may finish later without harm.
  struct TLookup {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    std::vector<sockaddr_storage> addresses;
    std::string error;
  };
  auto state = std::make_shared<TLookup>();
  std::thread([state, host] {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *list = nullptr;
    const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &list);
    std::vector<sockaddr_storage> found;
    for (addrinfo *a = list; rc == 0 && a; a = a->ai_next) {
      sockaddr_storage copy{};
      std::memcpy(&copy, a->ai_addr, std::min<std::size_t>(a->ai_addrlen, sizeof copy));
      found.push_back(copy);
    }
    if (list)
      freeaddrinfo(list);
    std::lock_guard lock(state->mutex);
    state->addresses = std::move(found);
    state->error = rc == 0 ? std::string() : AddressErrorText(rc);
    state->done = true;
    state->cv.notify_all();
  }).detach();

  QElapsedTimer timer;
  timer.start();
  std::unique_lock lock(state->mutex);
  while (!state->done) {
    if (m_client.m_abort && m_client.m_abort())
      throw TCancelled{};
    if (timer.elapsed() >= m_timings.connectMs)
      throw ESmtpError("Host " + host + " was not found in time");
    state->cv.wait_for(lock, std::chrono::milliseconds(SliceUntil(timer, m_timings.connectMs)));
  }
  QList<QHostAddress> result;
  for (const auto &a : state->addresses)
    result.append(QHostAddress(reinterpret_cast<const sockaddr *>(&a)));
  if (result.isEmpty())
    throw ESmtpError("Host " + host + " not found: " +
                     (state->error.empty() ? std::string("no address") : state->error));
  return result;
}

void TSmtpSession::Connect(const std::string &host, int port) {
  Trace("Connecting to " + host + ":" + std::to_string(port));
  QElapsedTimer timer;
  timer.start();
  const QList<QHostAddress> addresses = LookUp(host);
  std::string lastError = "no address";
  for (const QHostAddress &address : addresses) {
    if (TSmtpClient::TlsAvailable()) {
      auto ssl = std::make_unique<QSslSocket>();
      m_ssl = ssl.get();
      QSslConfiguration config = m_ssl->sslConfiguration();
      if (!m_client.m_verifyPeer)
        config.setPeerVerifyMode(QSslSocket::VerifyNone);
      for (const auto &file : m_client.m_caFiles)
        config.addCaCertificates(QSslCertificate::fromPath(QString::fromStdString(file)));
      m_ssl->setSslConfiguration(config);
      m_ssl->setPeerVerifyName(QString::fromStdString(host));
      m_socket = std::move(ssl);
    } else {
      m_ssl = nullptr;
      m_socket = std::make_unique<QTcpSocket>();
    }
    // Mail goes straight to the server: a desktop's web proxy is not for SMTP.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    m_socket->connectToHost(address, quint16(port));
    while (m_socket->state() != QAbstractSocket::ConnectedState &&
           m_socket->state() != QAbstractSocket::UnconnectedState &&
           timer.elapsed() < m_timings.connectMs) {
      CheckAbort();
      m_socket->waitForConnected(SliceUntil(timer, m_timings.connectMs));
    }
    if (m_socket->state() == QAbstractSocket::ConnectedState) {
      Trace("Connected to " + ToStd(address.toString()));
      if (port == TSmtpClient::ImplicitTlsPort)
        StartTls(host);
      return;
    }
    lastError = m_socket->state() == QAbstractSocket::UnconnectedState
                    ? ToStd(m_socket->errorString())
                    : "timed out";
    m_socket->abort();
    if (timer.elapsed() >= m_timings.connectMs)
      break;
  }
  throw ESmtpError("Cannot connect to " + host + ":" + std::to_string(port) + ": " + lastError);
}

void TSmtpSession::StartTls(const std::string &host) {
  if (!m_ssl)
    throw TRefused{"TLS is not available"};
  Trace("Starting TLS");
  // Whatever came in clear is no reply of the encrypted session.
  m_buffer.clear();
  m_ssl->startClientEncryption();
  WaitEncrypted(host);
  m_encrypted = true;
  Trace("TLS established (" + ToStd(m_ssl->sessionCipher().name()) + ")");
}

void TSmtpSession::WaitEncrypted(const std::string &host) {
  QElapsedTimer timer;
  timer.start();
  while (!m_ssl->isEncrypted() && m_ssl->state() == QAbstractSocket::ConnectedState &&
         timer.elapsed() < m_timings.connectMs) {
    CheckAbort();
    m_ssl->waitForEncrypted(SliceUntil(timer, m_timings.connectMs));
  }
  if (m_ssl->isEncrypted())
    return;
  std::string reason;
  for (const auto &error : m_ssl->sslHandshakeErrors())
    reason += (reason.empty() ? "" : "; ") + ToStd(error.errorString());
  if (reason.empty())
    reason = timer.elapsed() >= m_timings.connectMs ? "timed out" : ToStd(m_ssl->errorString());
  // The channel is in no state for a QUIT.
  m_ssl->abort();
  throw TRefused{"TLS with " + host + " failed: " + reason};
}

void TSmtpSession::Write(const std::string &bytes) {
  m_socket->write(Bytes(bytes));
  QElapsedTimer timer;
  timer.start();
  const auto pending = [this] {
    return m_socket->bytesToWrite() > 0 || (m_ssl && m_ssl->encryptedBytesToWrite() > 0);
  };
  while (pending()) {
    CheckAbort();
    if (m_socket->state() != QAbstractSocket::ConnectedState)
      throw ESmtpError("The connection was closed while sending");
    if (timer.elapsed() >= m_timings.replyMs)
      throw ESmtpError("Sending to the server timed out");
    m_socket->waitForBytesWritten(SliceUntil(timer, m_timings.replyMs));
  }
}

TReply TSmtpSession::ReadReply(int limitMs) {
  TReply reply;
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    std::size_t eol;
    while ((eol = m_buffer.find('\n')) == std::string::npos) {
      CheckAbort();
      if (m_buffer.size() > kMaxReplyBytes)
        throw ESmtpError("The server sent an overlong reply");
      if (m_socket->bytesAvailable() > 0) {
        m_buffer += m_socket->readAll().toStdString();
        continue;
      }
      if (m_socket->state() != QAbstractSocket::ConnectedState)
        throw ESmtpError("The server closed the connection");
      if (timer.elapsed() >= limitMs)
        throw ESmtpError("No reply from the server within " + std::to_string(limitMs / 1000) +
                         " s");
      m_socket->waitForReadyRead(SliceUntil(timer, limitMs));
    }
    std::string line = m_buffer.substr(0, eol);
    m_buffer.erase(0, eol + 1);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    // Server text ends up in status texts, the log and error messages.
    line = PrintableServerText(line);
    const bool numbered =
        line.size() >= 3 && IsAsciiDigit(line[0]) && IsAsciiDigit(line[1]) && IsAsciiDigit(line[2]);
    if (!numbered)
      throw ESmtpError("Not a mail server reply: " + line.substr(0, 80));
    reply.code = std::stoi(line.substr(0, 3));
    reply.lines.push_back(line.size() > 4 ? line.substr(4) : "");
    if (line.size() == 3 || line[3] != '-')
      break;
    if (int(reply.lines.size()) > kMaxReplyLines)
      throw ESmtpError("The server sent an overlong reply");
  }
  std::string shown =
      "< " + std::to_string(reply.code) + (reply.lines.empty() ? "" : " " + reply.lines.front());
  if (reply.lines.size() > 1)
    shown += " (+" + std::to_string(reply.lines.size() - 1) + " lines)";
  Trace(shown);
  return reply;
}

TReply TSmtpSession::Command(const std::string &line, const std::string &shown) {
  Trace("> " + (shown.empty() ? line : shown));
  Write(line + "\r\n");
  return ReadReply(m_timings.replyMs);
}

TReply TSmtpSession::Expect(const std::string &line, int wanted, const std::string &what,
                            const std::string &shown) {
  TReply reply = Command(line, shown);
  if (reply.code != wanted && !(wanted == 250 && reply.Is(2)))
    throw TRefused{what + ": " + reply.Text()};
  return reply;
}

std::vector<std::string> TSmtpSession::Hello() {
  const std::string name = HeloName(*m_socket);
  TReply reply = Command("EHLO " + name);
  if (reply.Is(2))
    return std::vector<std::string>(reply.lines.begin() + 1, reply.lines.end());
  Expect("HELO " + name, 250, "The server refused the greeting");
  return {};
}

void TSmtpSession::LogIn(const std::vector<std::string> &caps) {
  const std::vector<std::string> methods = SmtpAuthMethods(caps);
  const auto offers = [&](const char *m) {
    return std::find(methods.begin(), methods.end(), m) != methods.end();
  };
  // Credentials travel in clear only to this machine.
  if (!methods.empty() && !m_encrypted && !m_socket->peerAddress().isLoopback())
    throw TRefused{"The connection to the server is not encrypted (it offers no STARTTLS, or TLS "
                   "could not start); the user name and password are not sent in clear"};
  const std::string &user = m_client.m_user;
  const std::string &password = m_client.m_password;
  const auto b64 = [](const std::string &s) { return Bytes(s).toBase64().toStdString(); };
  if (offers("PLAIN")) {
    Expect("AUTH PLAIN " + b64(std::string(1, '\0') + user + std::string(1, '\0') + password), 235,
           "Login refused", "AUTH PLAIN ********");
  } else if (offers("LOGIN")) {
    Expect("AUTH LOGIN", 334, "Login refused");
    Expect(b64(user), 334, "Login refused", "(user name)");
    Expect(b64(password), 235, "Login refused", "********");
  } else if (methods.empty()) {
    Trace("The server offers no login; sending without one");
  } else {
    std::string offered;
    for (const auto &m : methods)
      offered += (offered.empty() ? "" : " ") + m;
    throw TRefused{"No login method in common with the server (it offers " + offered + ")"};
  }
}

void TSmtpSession::Quit() {
  try {
    Trace("> QUIT");
    Write("QUIT\r\n");
    ReadReply(std::min(kQuitReplyMs, m_timings.replyMs));
  } catch (...) {
    // The message's fate is already known; a missing goodbye changes nothing.
  }
  if (m_socket) {
    m_socket->disconnectFromHost();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
      m_socket->waitForDisconnected(std::min(m_timings.sliceMs, 200));
    m_socket->abort();
  }
}

bool TSmtpSession::Run(const std::string &host, int port, const std::string &sender,
                       const std::vector<std::string> &recipients, const std::string &data) {
  bool accepted = false;
  try {
    Connect(host, port);
    TReply greeting = ReadReply(m_timings.replyMs);
    if (!greeting.Is(2))
      throw TRefused{"The server refused the connection: " + greeting.Text()};
    std::vector<std::string> caps = Hello();
    const bool offersTls = std::any_of(caps.begin(), caps.end(), [](const std::string &c) {
      return SameText(Trim(c), "STARTTLS");
    });
    if (!m_encrypted && offersTls) {
      if (!m_ssl) {
        Trace("TLS is not available here; continuing without it");
      } else {
        TReply reply = Command("STARTTLS");
        if (reply.code == 220) {
          // Nothing may follow the answer in clear: bytes there were not
          // sent by the server we are about to verify (RFC 3207).
          if (!m_buffer.empty() || m_socket->bytesAvailable() > 0) {
            m_socket->abort();
            throw TRefused{"The server sent more after its answer to STARTTLS (was the "
                           "connection tampered with?)"};
          }
          StartTls(host);
          caps = Hello();
        } else {
          Trace("STARTTLS refused; continuing without TLS");
        }
      }
    }
    if (!m_client.m_user.empty())
      LogIn(caps);
    Expect("MAIL FROM:<" + sender + ">", 250, "Sender refused");
    int taken = 0;
    for (const auto &r : recipients) {
      TReply reply = Command("RCPT TO:<" + r + ">");
      if (reply.Is(2))
        ++taken;
      else
        Trace("Recipient " + r + " refused: " + reply.Text());
    }
    if (taken == 0)
      throw TRefused{"No recipient was accepted"};
    Expect("DATA", 354, "The server refused the message");
    Trace("> (message, " + std::to_string(data.size()) + " bytes)");
    Write(data);
    TReply verdict = ReadReply(m_timings.replyMs);
    if (!verdict.Is(2))
      throw TRefused{"The server refused the message: " + verdict.Text()};
    accepted = true;
    m_client.Status("MESSAGE ACCEPTED");
  } catch (const TRefused &refused) {
    m_client.m_lastError = refused.reason;
    Trace("ERROR: " + refused.reason);
  }
  if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState)
    Quit();
  return accepted;
}

TSmtpClient::TSmtpClient() : m_timings(DefaultTimings()) {}
TSmtpClient::~TSmtpClient() = default;

TSmtpTimings TSmtpClient::DefaultTimings() {
  std::lock_guard lock(TimingsMutex());
  return SharedTimings();
}

void TSmtpClient::SetDefaultTimings(const TSmtpTimings &timings) {
  std::lock_guard lock(TimingsMutex());
  SharedTimings() = timings;
}

void TSmtpClient::ResetDefaultTimings() { SetDefaultTimings(TSmtpTimings{}); }

bool TSmtpClient::TlsAvailable() {
  static const bool available = QSslSocket::supportsSsl();
  return available;
}

void TSmtpClient::Status(const std::string &text) {
  if (!m_onStatus)
    return;
  try {
    m_onStatus(PrintableServerText(text));
  } catch (...) {
    // A failing listener must not break the session.
  }
}

bool TSmtpClient::Send(const TMailMessage &message) {
  m_lastError.clear();
  std::string host;
  int port = DefaultPort;
  const std::vector<std::string> recipients = message.EnvelopeRecipients();
  std::string refusal;
  if (!ParseSmtpHost(m_host, m_port, host, port))
    refusal = "No mail server is set";
  else if (recipients.empty())
    refusal = "The message has no recipient";
  if (!refusal.empty()) {
    m_lastError = refusal;
    Status("ERROR: " + refusal);
    Status("DISCONNECTED");
    return false;
  }

  std::string data;
  if (m_mailer.empty()) {
    data = SmtpDataBlock(message.Render());
  } else {
    TMailMessage copy = message;
    copy.SetMailer(m_mailer);
    data = SmtpDataBlock(copy.Render());
  }

  bool accepted = false;
  {
    TSmtpSession session(*this);
    try {
      accepted = session.Run(host, port, message.EnvelopeSender(), recipients, data);
    } catch (const TCancelled &) {
      m_lastError = "Cancelled";
      session.Abort();
      Status("CANCELLED");
      Status("DISCONNECTED");
      return false;
    } catch (const std::exception &e) {
      m_lastError = PrintableServerText(e.what());
      session.Abort();
      Status(NeutralStatusText("ERROR: " + m_lastError));
      Status("DISCONNECTED");
      throw ESmtpError(m_lastError);
    }
  }
  Status("DISCONNECTED");
  return accepted;
}

bool ParseSmtpHost(const std::string &text, int defaultPort, std::string &host, int &port) {
  port = defaultPort > 0 ? defaultPort : TSmtpClient::DefaultPort;
  std::string t = Trim(text);
  std::string portText;
  if (!t.empty() && t.front() == '[') {
    const auto close = t.find(']');
    if (close == std::string::npos) {
      host = t.substr(1);
    } else {
      host = t.substr(1, close - 1);
      if (close + 1 < t.size() && t[close + 1] == ':')
        portText = t.substr(close + 2);
    }
  } else {
    const auto colon = t.find(':');
    if (colon != std::string::npos && t.find(':', colon + 1) == std::string::npos) {
      host = t.substr(0, colon);
      portText = t.substr(colon + 1);
    } else {
      host = t; // a bare IPv6 address keeps its colons
    }
  }
  host = Trim(host);
  portText = Trim(portText);
  if (!portText.empty() && portText.size() <= 5 &&
      std::all_of(portText.begin(), portText.end(), [](char c) { return IsAsciiDigit(c); })) {
    const int p = std::stoi(portText);
    if (p > 0 && p <= 65535)
      port = p;
  }
  return !host.empty();
}

std::string SmtpDataBlock(const std::string &message) {
  const std::string text = NormalizeLineEnds(message);
  std::string out;
  out.reserve(text.size() + 16);
  bool lineStart = true;
  for (char c : text) {
    if (lineStart && c == '.')
      out += '.';
    out += c;
    lineStart = (c == '\n');
  }
  if (!out.empty() && !lineStart)
    out += "\r\n";
  return out + ".\r\n";
}

std::string NeutralStatusText(const std::string &text) {
  std::string out = text;
  const auto breakUp = [&out](const std::string &phrase, std::size_t cut) {
    std::size_t from = 0;
    for (;;) {
      const std::string upper = UpperCase(out);
      const auto at = upper.find(phrase, from);
      if (at == std::string::npos)
        return;
      out.insert(at + cut, "-");
      from = at + cut + 1;
    }
  };
  breakUp("MESSAGE ACCEPTED", 7);
  breakUp("DISCONNECTED", 3);
  return out;
}

std::string PrintableServerText(const std::string &text) { return VisibleText(text); }

std::vector<std::string> SmtpAuthMethods(const std::vector<std::string> &ehloLines) {
  std::vector<std::string> methods;
  for (const auto &raw : ehloLines) {
    const std::string line = UpperCase(Trim(raw));
    if (line.rfind("AUTH", 0) != 0 || line.size() < 5 || (line[4] != ' ' && line[4] != '='))
      continue;
    std::string word;
    for (std::size_t i = 5; i <= line.size(); ++i) {
      if (i == line.size() || line[i] == ' ') {
        if (!word.empty() && std::find(methods.begin(), methods.end(), word) == methods.end())
          methods.push_back(word);
        word.clear();
      } else {
        word += line[i];
      }
    }
  }
  return methods;
}
