#include "mainwin/ProgramServices.h"

#include "acquisition/NewsIntake.h"
#include "acquisition/NewsIntakeThread.h"
#include "acquisition/QuoteIntake.h"
#include "alerts/AlertActivation.h"
#include "alerts/AlertEditRequest.h"
#include "alerts/AlertProcessThread.h"
#include "alerts/SenderThread.h"
#include "alerts/ui/AlertPopupWindows.h"
#include "core/CommandLine.h"
#include "core/CriticalSection.h"
#include "core/Log.h"
#include "core/Portfolio.h"

namespace {
constexpr int kAlertThreadStopWaitMs = 1000;
TProgramServiceTimings g_timings;
} // namespace

void SetProgramServiceTimings(const TProgramServiceTimings &timings) { g_timings = timings; }

TProgramServices::TProgramServices(Hooks hooks) : m_hooks(std::move(hooks)) {}

TProgramServices::~TProgramServices() { Stop(); }

void TProgramServices::Start() {
  if (m_started)
    return;
  m_started = true;
  InstallAlertPopupWindows();
  m_senderThread = std::make_unique<TSenderThread>(nullptr, nullptr, g_timings.Sender);
  m_senderThread->Start();
  m_alertThread = std::make_unique<TAlertProcessThread>(g_timings.Alerts);
  m_alertThread->Start();
  m_newsThread =
      std::make_unique<TNewsIntakeThread>(AppNewsIntake(), CommandLine().Demo, RefreshIntervalMs());
  m_newsThread->Start();
}

void TProgramServices::Stop() {
  if (!m_started || m_stopped)
    return;
  m_stopped = true;
  m_newsThread.reset(); // stops and joins
  if (m_senderThread)
    m_senderThread->Terminate();
  if (m_alertThread) {
    m_alertThread->Terminate();
    if (!m_alertThread->WaitFor(kAlertThreadStopWaitMs))
      WriteLog("Alert thread did not stop within 1 s");
  }
  // The destructors join whatever is still running.
  m_alertThread.reset();
  m_senderThread.reset();
  UninstallAlertPopupWindows();
}

void TProgramServices::Heartbeat() {
  if (!Running())
    return;
  // A bare alert ID left by a pop-up's Edit button becomes "=" + ID and opens
  // the preferences at the alert page.
  if (PromoteBareAlertEditRequest() && m_hooks.OpenPreferences)
    m_hooks.OpenPreferences();

  const std::string key = PortfolioRequest().Take();
  if (!key.empty() && m_hooks.ShowPortfolioIndex) {
    int index = 0;
    {
      MyLockGuard port(PortListLock, "PREQ", true);
      if (port.Owns())
        index = PortfolioList.IndexOfKey(key);
    }
    if (index >= 1)
      m_hooks.ShowPortfolioIndex(index);
  }

  ActivatePendingAlerts();
}
