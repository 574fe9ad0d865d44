#include "platform/UncaughtError.h"

#include <QtGlobal>
#include <mutex>

namespace {
std::mutex g_mutex;
UncaughtErrorHandler g_handler;
} // namespace

void SetUncaughtErrorHandler(UncaughtErrorHandler handler) {
  std::lock_guard lock(g_mutex);
  g_handler = std::move(handler);
}

void ReportUncaughtError(const std::string &message) {
  UncaughtErrorHandler handler;
  {
    std::lock_guard lock(g_mutex);
    handler = g_handler;
  }
  try {
    if (handler) {
      handler(message);
      return;
    }
  } catch (...) {
    // A failing handler must not take the caller down; fall back to the warning.
  }
  qWarning("%s", message.c_str());
}
