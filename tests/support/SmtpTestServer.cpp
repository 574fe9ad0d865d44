#include "support/SmtpTestServer.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

QString ScriptPath() {
  return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/smtp_test_server.py";
}

// Waits up to timeoutMs for the child to end; true when it has ended (and is reaped).
bool Reap(int pid, int timeoutMs, int *status = nullptr) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int st = 0;
    const int r = waitpid(pid, &st, WNOHANG);
    if (r == pid || (r < 0 && errno == ECHILD)) {
      if (status)
        *status = st;
      return true;
    }
    if (Clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void EndChild(int pid) {
  if (pid <= 0)
    return;
  if (Reap(pid, 3000))
    return;
  kill(pid, SIGTERM);
  if (Reap(pid, 3000))
    return;
  kill(pid, SIGKILL);
  Reap(pid, 3000);
}

// Starts program with arguments. in and out become the child's standard input
// and output (-1: /dev/null); its errors go to errFile. Returns the child's id
// or -1.
int Spawn(const QString &program, const QStringList &arguments, int in, int out,
          const QString &errFile = {}) {
  std::vector<std::string> texts{program.toStdString()};
  for (const auto &a : arguments)
    texts.push_back(a.toStdString());
  std::vector<char *> argv;
  for (auto &t : texts)
    argv.push_back(t.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (in >= 0)
    posix_spawn_file_actions_adddup2(&actions, in, 0);
  else
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (out >= 0)
    posix_spawn_file_actions_adddup2(&actions, out, 1);
  else
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const std::string err = errFile.isEmpty() ? std::string("/dev/null") : errFile.toStdString();
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? int(pid) : -1;
}

bool Runs(const QString &program, const QStringList &arguments) {
  const int pid = Spawn(program, arguments, -1, -1);
  if (pid < 0)
    return false;
  int status = 0;
  if (!Reap(pid, 30000, &status)) {
    EndChild(pid);
    return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The first python3 that has aiosmtpd: the system's own first (the Debian
// package installs there), then whatever PATH finds.
const QString &Python() {
  static const QString python = [] {
    QStringList candidates{"/usr/bin/python3"};
    const QString onPath = QStandardPaths::findExecutable("python3");
    if (!onPath.isEmpty())
      candidates << onPath;
    for (const QString &c : candidates)
      if (QFileInfo(c).isExecutable() && Runs(c, {"-c", "import aiosmtpd"}))
        return c;
    return QString();
  }();
  return python;
}

const QString &OpenSsl() {
  static const QString openssl = QStandardPaths::findExecutable("openssl");
  return openssl;
}

// Reads one line (without its end) from fd, or fails after timeoutMs or at
// the end of the output.
bool ReadLine(int fd, int timeoutMs, std::string &line) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  line.clear();
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
      return false;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, int(left)) <= 0)
      continue;
    char c;
    const ssize_t n = read(fd, &c, 1);
    if (n <= 0)
      return false;
    if (c == '\n')
      return true;
    line += c;
  }
}

} // namespace

std::string SmtpTestServer::Unavailable() {
  if (!QFileInfo::exists(ScriptPath()))
    return "the test server script is missing: " + ScriptPath().toStdString();
  if (Python().isEmpty())
    return "no python3 with the aiosmtpd package (scripts/setup-deps installs python3-aiosmtpd)";
  return {};
}

std::string SmtpTestServer::TlsUnavailable() {
  std::string why = Unavailable();
  if (why.empty() && OpenSsl().isEmpty())
    why = "the openssl tool is missing, so no test certificate can be made";
  return why;
}

SmtpTestServer::~SmtpTestServer() { Stop(); }

bool SmtpTestServer::Start(const Options &options, std::string *error) {
  const auto fail = [&](const std::string &why) {
    if (error)
      *error = why;
    Stop();
    return false;
  };
  Stop();
  if (const std::string why = options.tls ? TlsUnavailable() : Unavailable(); !why.empty())
    return fail(why);
  m_dir = std::make_unique<QTemporaryDir>();
  if (!m_dir->isValid())
    return fail("no temporary folder");
  QStringList arguments{ScriptPath(), "--out", m_dir->path(), "--data-code",
                        QString::number(options.dataCode)};
  if (!options.auth.empty())
    arguments << "--auth" << QString::fromStdString(options.auth);
  if (options.tls) {
    const QString cert = m_dir->filePath("cert.pem");
    const QString key = m_dir->filePath("key.pem");
    if (!Runs(OpenSsl(), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out",
                          cert, "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                          "subjectAltName=IP:127.0.0.1,DNS:localhost"}))
      return fail("openssl could not make a test certificate");
    arguments << "--tls" << cert << key;
    if (options.requireTls)
      arguments << "--require-tls";
    if (!options.afterStartTls.empty())
      arguments << "--after-starttls" << QString::fromStdString(options.afterStartTls);
  }

  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0)
    return fail("no pipe");
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return fail("no pipe");
  }
  const QString errFile = m_dir->filePath("stderr.txt");
  m_pid = Spawn(Python(), arguments, in[0], out[1], errFile);
  close(in[0]);
  close(out[1]);
  m_stdin = in[1];
  std::string line;
  const bool gotLine = m_pid > 0 && ReadLine(out[0], 30000, line);
  close(out[0]); // the server prints nothing after its first line
  if (m_pid <= 0)
    return fail("python3 did not start");
  if (!gotLine || line.rfind("READY ", 0) != 0) {
    QFile err(errFile);
    err.open(QIODevice::ReadOnly);
    return fail("the test server did not start: " + line + " " + err.readAll().toStdString());
  }
  m_port = std::stoi(line.substr(6));
  return m_port > 0 ? true : fail("bad port from the test server");
}

void SmtpTestServer::Stop() {
  if (m_stdin >= 0) {
    close(m_stdin); // the server ends when its input closes
    m_stdin = -1;
  }
  if (m_pid > 0) {
    EndChild(m_pid);
    m_pid = -1;
  }
  m_port = 0;
}

std::string SmtpTestServer::CertificatePath() const {
  return m_dir ? m_dir->filePath("cert.pem").toStdString() : std::string();
}

std::vector<QJsonObject> SmtpTestServer::Events() const {
  std::vector<QJsonObject> events;
  if (!m_dir)
    return events;
  QFile file(m_dir->filePath("events.jsonl"));
  if (!file.open(QIODevice::ReadOnly))
    return events;
  for (const QByteArray &line : file.readAll().split('\n')) {
    const QJsonDocument doc = QJsonDocument::fromJson(line);
    if (doc.isObject()) // a line being written is not complete yet
      events.push_back(doc.object());
  }
  return events;
}

std::vector<QJsonObject> SmtpTestServer::EventsOf(const QString &kind) const {
  std::vector<QJsonObject> out;
  for (const auto &e : Events())
    if (e.value("event").toString() == kind)
      out.push_back(e);
  return out;
}

bool SmtpTestServer::WaitFor(const std::function<bool(const SmtpTestServer &)> &pred,
                             int timeoutMs) const {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred(*this)) {
    if (Clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}
