#include "alerts/AlertProcessThread.h"

#include "acquisition/UpdatedSymbols.h"
#include "alerts/AlertEvaluation.h"
#include "alerts/AlertLog.h"
#include "alerts/AlertsModule.h"
#include "alerts/PendingAlertQueue.h"
#include "core/AlertDefaults.h"
#include "core/Log.h"
#include "platform/Clock.h"
#include "platform/WindowFlash.h"

#include <chrono>
#include <exception>

namespace {

// Window thread only.
bool g_flashToggle = false;

// Clears the running flag however the thread body ends.
struct RunningFlag {
  RunningFlag() { AlertThreadRunning = true; }
  ~RunningFlag() { AlertThreadRunning = false; }
};

} // namespace

void AlertFlashStep(bool flash) {
  if (flash) {
    AppWindowFlash().FlashMainWindow(!g_flashToggle);
    g_flashToggle = !g_flashToggle;
  } else {
    AppWindowFlash().FlashMainWindow(false);
  }
}

void ResetAlertFlashToggle() { g_flashToggle = false; }

TAlertProcessThread::TAlertProcessThread(AlertProcessTimings timings)
    : TAlertProcessThread(AlertSystem(), PendingAlerts(), timings) {}

TAlertProcessThread::TAlertProcessThread(AlertSystemClass &store, TPendingAlertQueue &queue,
                                         AlertProcessTimings timings)
    : m_store(store), m_queue(queue), m_timings(timings) {}

TAlertProcessThread::~TAlertProcessThread() {
  Terminate();
  WaitFor();
}

bool TAlertProcessThread::WaitForPasses(int count, int timeoutMs) {
  std::unique_lock<std::mutex> lock(m_passMutex);
  return m_passCv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return m_passes.load() >= count; });
}

void TAlertProcessThread::Execute() {
  RunningFlag running;
  AddAlertLogLine("--- Alert Thread Started");
  if (!SleepFor(m_timings.StartDelayMs))
    return;
  while (SleepFor(m_timings.PassPeriodMs)) {
    RunPass();
    {
      std::lock_guard<std::mutex> lock(m_passMutex);
      ++m_passes;
    }
    m_passCv.notify_all();
  }
}

void TAlertProcessThread::RunPass() {
  bool flash = false;
  try {
    std::string updated;
    if (UpdatedSymbolSets.MayHaveSymbols(usAlerts))
      TakeUpdatedSymbols(usAlerts, updated, "ALRTS");
    if (!updated.empty()) {
      TAlertPass pass(m_store, m_queue, AppClock());
      flash = pass.Run(updated, CurrentAlertDefaults().Length).Flash;
    }
  } catch (const std::exception &e) {
    WriteLog(std::string("AlertProcessThread Error: ") + e.what(), 0);
  } catch (...) {
    WriteLog("AlertProcessThread Error: unknown exception", 0);
  }
  Queue([flash] { AlertFlashStep(flash); });
}
