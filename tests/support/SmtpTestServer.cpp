#include "support/SmtpTestServer.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>
#include <chrono>
#include <functional>
#include <thread>

namespace {

QString ScriptPath() {
  return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/smtp_test_server.py";
}

bool Runs(const QString &program, const QStringList &arguments) {
  QProcess p;
  p.start(program, arguments);
  if (!p.waitForStarted(10000))
    return false;
  if (!p.waitForFinished(30000)) {
    p.kill();
    p.waitForFinished(2000);
    return false;
  }
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
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
  }
  m_process = std::make_unique<QProcess>();
  m_process->setProcessChannelMode(QProcess::SeparateChannels);
  m_process->start(Python(), arguments);
  if (!m_process->waitForStarted(10000))
    return fail("python3 did not start");
  // The first line of its output names the port.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!m_process->canReadLine()) {
    if (m_process->state() != QProcess::Running)
      return fail("the test server ended: " + m_process->readAllStandardError().toStdString());
    if (std::chrono::steady_clock::now() > deadline)
      return fail("the test server did not report its port");
    m_process->waitForReadyRead(100);
  }
  const QByteArray line = m_process->readLine().trimmed();
  if (!line.startsWith("READY "))
    return fail("unexpected output of the test server: " + line.toStdString());
  m_port = line.mid(6).toInt();
  return m_port > 0 ? true : fail("bad port from the test server");
}

void SmtpTestServer::Stop() {
  if (m_process) {
    if (m_process->state() != QProcess::NotRunning) {
      m_process->closeWriteChannel(); // the server ends when its input closes
      if (!m_process->waitForFinished(3000)) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
          m_process->kill();
          m_process->waitForFinished(3000);
        }
      }
    }
    m_process.reset();
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
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred(*this)) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}
