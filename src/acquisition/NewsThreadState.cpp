#include "acquisition/NewsThreadState.h"

#include "platform/StringUtils.h"

#include <mutex>
#include <sstream>

MyCriticalSection ForceLock("FORCE");

namespace {

std::string g_forceList; // guarded by ForceLock

std::mutex g_fetchingMutex;
std::string g_fetching;

} // namespace

bool AddToForceList(const std::string &symbols, const std::string &tag) {
  MyLockGuard guard(ForceLock, tag, true);
  if (!guard.Owns())
    return false;
  std::istringstream in(symbols);
  std::string symbol;
  while (in >> symbol) {
    const std::string padded = " " + g_forceList + " ";
    if (padded.find(" " + symbol + " ") != std::string::npos)
      continue;
    if (!g_forceList.empty())
      g_forceList += " ";
    g_forceList += symbol;
  }
  return true;
}

std::string ForceListText(const std::string &tag) {
  MyLockGuard guard(ForceLock, tag, true);
  return guard.Owns() ? g_forceList : std::string();
}

std::string TakeForceList(const std::string &tag) {
  MyLockGuard guard(ForceLock, tag, true);
  if (!guard.Owns())
    return {};
  std::string taken;
  taken.swap(g_forceList);
  return taken;
}

void SetSymbolBeingFetched(const std::string &symbol) {
  std::lock_guard lock(g_fetchingMutex);
  g_fetching = CutTo(symbol, 15);
}

std::string SymbolBeingFetched() {
  std::lock_guard lock(g_fetchingMutex);
  return g_fetching;
}

void ResetNewsThreadState() {
  {
    MyLockGuard guard(ForceLock, "RESET", false);
    if (guard.Owns())
      g_forceList.clear();
  }
  SetSymbolBeingFetched("");
}
