#include "core/SingleInstance.h"

#include "core/Log.h"
#include "platform/StringUtils.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <atomic>
#include <unistd.h>

namespace {

// What a later copy sends, and what the first one answers.
constexpr const char *kComeToFront = "COME TO FRONT\n";
constexpr const char *kDone = "OK\n";
constexpr int kRetryMs = 100;

std::atomic<int> g_claims{0};

} // namespace

TSingleInstance::TSingleInstance(const std::string &folder) : m_folder(folder) {}

TSingleInstance::~TSingleInstance() {
  if (m_server)
    m_server->close();
  m_server.reset();
  if (m_claimed) {
    m_lock->unlock();
    --g_claims;
  }
}

std::string TSingleInstance::ServerName(const std::string &folder) {
  const QFileInfo info(QString::fromStdString(folder));
  QString path = info.canonicalFilePath();
  if (path.isEmpty())
    path = QDir::cleanPath(info.absoluteFilePath());
  const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256);
  return "tickvane-" + std::to_string(getuid()) + "-" + hash.toHex().left(24).toStdString();
}

bool TSingleInstance::Claim() {
  if (m_claimed)
    return true;
  const QString lockPath =
      QDir(QString::fromStdString(m_folder)).filePath(QString::fromLatin1(LockFileName));
  m_lock = std::make_unique<QLockFile>(lockPath);
  // A lock is stale only when its process is gone, however old it is.
  m_lock->setStaleLockTime(0);
  if (!m_lock->tryLock(0)) {
    if (m_lock->error() != QLockFile::LockFailedError) {
      // No lock can be made here (a read-only folder): nothing to share
      // with, so run, but say so.
      WriteLog("SingleInstance: cannot create " + lockPath.toStdString(), 0);
      return true;
    }
    return false;
  }
  m_claimed = true;
  ++g_claims;
  Listen();
  return true;
}

void TSingleInstance::Listen() {
  const QString name = QString::fromStdString(ServerName(m_folder));
  // A socket left by a copy that crashed; the lock says none is running.
  QLocalServer::removeServer(name);
  m_server = std::make_unique<QLocalServer>();
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!m_server->listen(name)) {
    WriteLog("SingleInstance: cannot listen on " + name.toStdString() + ": " +
                 m_server->errorString().toStdString(),
             0);
    m_server.reset();
    return;
  }
  QLocalServer *server = m_server.get();
  QObject::connect(server, &QLocalServer::newConnection, server, [this, server] {
    while (QLocalSocket *socket = server->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        if (!socket->canReadLine()) {
          if (socket->bytesAvailable() > 256)
            socket->abort();
          return;
        }
        const QByteArray line = socket->readLine(256);
        if (line == kComeToFront) {
          socket->write(kDone);
          socket->flush();
          RunLoggingErrors("SingleInstance", [this] {
            if (m_onComeToFront)
              m_onComeToFront();
          });
        }
        socket->disconnectFromServer();
      });
    }
  });
}

bool TSingleInstance::AskFirstToComeToFront(int timeoutMs) const {
  QDeadlineTimer deadline(timeoutMs);
  QLocalSocket socket;
  // The first copy listens just after taking the lock: a copy started at the
  // same moment may have to try again.
  for (;;) {
    socket.connectToServer(QString::fromStdString(ServerName(m_folder)));
    if (socket.waitForConnected(int(deadline.remainingTime())))
      break;
    if (deadline.hasExpired())
      return false;
    QThread::msleep(kRetryMs);
  }
  socket.write(kComeToFront);
  if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
    return false;
  while (!socket.canReadLine())
    if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
      return false;
  return socket.readLine(16) == kDone;
}

bool DataFolderHeldAlone() { return g_claims > 0; }

bool DuplicatesAllowed(bool allowDupSwitch, const std::string &allowDupsParam) {
  return allowDupSwitch || SameText(Trim(allowDupsParam), "YES");
}
