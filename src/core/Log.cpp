#include "core/Log.h"

#include "core/ProgramFolder.h"
#include "platform/Clock.h"
#include "platform/VisibleText.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <mutex>

std::atomic<bool> LoggingOn{false};
std::atomic<int> LogLevel{0};
std::atomic<bool> DebugLogging{false};

namespace {
// A plain mutex rather than a named lock: the named lock reports deadlocks
// through this log.
std::mutex g_logMutex;
} // namespace

std::string LogTimeStamp(double dateTime) {
  double frac = dateTime - std::floor(dateTime);
  long long ms = std::llround(frac * 86400000.0);
  if (ms >= 86400000LL)
    ms = 86400000LL - 1;
  if (ms < 0)
    ms = 0;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld.%03lld", ms / 3600000LL, (ms / 60000LL) % 60,
                (ms / 1000LL) % 60, ms % 1000LL);
  return buf;
}

void WriteLog(const std::string &text, int level) {
  if (!LoggingOn || level > LogLevel)
    return;
  try {
    // One call, one line: texts from files and servers show their control
    // and undecodable bytes as "\xNN" instead of breaking or forging lines.
    const std::string line = LogTimeStamp(AppClock().Now()) + " " + VisibleText(text) + "\n";
    const QString path = QString::fromStdString(ProgramFolder() + LogFileName);
    std::lock_guard<std::mutex> l(g_logMutex);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
      file.write(line.data(), qint64(line.size()));
  } catch (...) {
    // The log is the last resort for errors; a failure to write it is dropped.
  }
}

void StartLogging(int level) {
  {
    std::lock_guard<std::mutex> l(g_logMutex);
    const QString folder = QString::fromStdString(ProgramFolder());
    const QString log = folder + QLatin1String(LogFileName);
    const QString backup = folder + QLatin1String(LogBackupFileName);
    if (QFile::exists(log)) {
      QFile::remove(backup);
      QFile::rename(log, backup);
    }
  }
  LogLevel = level;
  LoggingOn = true;
}

void StopLogging() { LoggingOn = false; }
