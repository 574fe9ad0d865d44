#include "alerts/AlertLog.h"

#include "platform/Clock.h"
#include "platform/Format.h"

#include <mutex>

namespace {

std::mutex &LogMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<std::string> &LogLines() {
  static std::vector<std::string> lines;
  return lines;
}

std::string Stamped(const std::string &text) {
  return FormatDateTime("hh:mm:ss ", AppClock().Now()) + text;
}

} // namespace

void AddAlertLogLine(const std::string &text) {
  std::string line = Stamped(text);
  std::lock_guard lock(LogMutex());
  LogLines().push_back(std::move(line));
}

void ClearAlertLog() {
  std::string line = Stamped("--- Log Cleared");
  std::lock_guard lock(LogMutex());
  LogLines().clear();
  LogLines().push_back(std::move(line));
}

std::size_t AlertLogCount() {
  std::lock_guard lock(LogMutex());
  return LogLines().size();
}

std::vector<std::string> AlertLogLines() {
  std::lock_guard lock(LogMutex());
  return LogLines();
}

std::vector<std::string> AlertLogLinesFrom(std::size_t shown) {
  std::lock_guard lock(LogMutex());
  const auto &lines = LogLines();
  if (shown >= lines.size())
    return {};
  return std::vector<std::string>(lines.begin() + std::ptrdiff_t(shown), lines.end());
}
