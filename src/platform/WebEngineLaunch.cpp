#include "platform/WebEngineLaunch.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <mutex>
#include <sstream>
#include <unistd.h>

namespace {
// No update checks, crash uploads, pings, prefetching or reporting: the
// engine connects only to the pages the user opens.
const char *const kQuietFlags[] = {
    "--disable-background-networking", "--disable-component-update",
    "--disable-domain-reliability",    "--disable-breakpad",
    "--disable-sync",                  "--no-pings",
    "--dns-prefetch-disable",          "--disable-client-side-phishing-detection",
};

bool HasFlag(const std::string &flags, const std::string &flag) {
  std::istringstream words(flags);
  std::string word;
  while (words >> word)
    if (word == flag || word.rfind(flag + "=", 0) == 0)
      return true;
  return false;
}

void Append(std::string &flags, const std::string &flag) {
  if (HasFlag(flags, flag))
    return;
  if (!flags.empty())
    flags += ' ';
  flags += flag;
}
} // namespace

TWebEngineLaunch WebEngineLaunchFor(const TWebEngineMachine &machine) {
  TWebEngineLaunch launch;
  std::istringstream words(machine.UserFlags);
  std::string word;
  while (words >> word)
    Append(launch.ChromiumFlags, word);
  for (const char *flag : kQuietFlags)
    Append(launch.ChromiumFlags, flag);
  if (!machine.GpuAvailable)
    Append(launch.ChromiumFlags, "--disable-gpu");
  launch.DisableSandbox = machine.Root;
  return launch;
}

TWebEngineMachine CurrentWebEngineMachine() {
  TWebEngineMachine machine;
  machine.Root = geteuid() == 0;
  const QString platform = QGuiApplication::platformName();
  const bool screenless = platform == QLatin1String("offscreen") ||
                          platform == QLatin1String("minimal") ||
                          platform == QLatin1String("vnc");
  const bool renderDevice =
      !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
  machine.GpuAvailable = !screenless && renderDevice;
  machine.UserFlags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").toStdString();
  return machine;
}

void PrepareWebEngineEnvironment() {
  static std::once_flag once;
  std::call_once(once, [] {
    const TWebEngineLaunch launch = WebEngineLaunchFor(CurrentWebEngineMachine());
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray::fromStdString(launch.ChromiumFlags));
    if (launch.DisableSandbox)
      qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  });
}
