#include "alerts/AlertDialogHooks.h"

#include "core/Log.h"

#include <exception>
#include <mutex>

namespace {

std::mutex g_hookMutex;
AlertDialogCloser g_byId;
AlertDialogCloser g_bySymbol;

void Run(const AlertDialogCloser &hook, const std::string &key, const char *label) {
  if (!hook)
    return;
  try {
    hook(key);
  } catch (const std::exception &e) {
    WriteLog(std::string(label) + " Error: " + e.what(), 0);
  } catch (...) {
    WriteLog(std::string(label) + " Error: unknown exception", 0);
  }
}

} // namespace

void CloseAlertDialogs(const std::string &id) {
  AlertDialogCloser hook;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    hook = g_byId;
  }
  Run(hook, id, "CloseAlertDialogs");
}

void CloseSymbolAlertDialogs(const std::string &symbol) {
  AlertDialogCloser hook;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    hook = g_bySymbol;
  }
  Run(hook, symbol, "CloseSymbolAlertDialogs");
}

void SetCloseAlertDialogsHook(AlertDialogCloser closeById) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  g_byId = std::move(closeById);
}

void SetCloseSymbolAlertDialogsHook(AlertDialogCloser closeBySymbol) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  g_bySymbol = std::move(closeBySymbol);
}
