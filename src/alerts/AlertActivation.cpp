#include "alerts/AlertActivation.h"

#include "alerts/AlertMailComposer.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertPopupHook.h"
#include "alerts/AlertSystem.h"
#include "alerts/AlertsModule.h"
#include "alerts/PendingAlertQueue.h"
#include "core/Log.h"
#include "platform/Clock.h"
#include "platform/WindowFlash.h"

#include <exception>

namespace {

void Log(const std::string &text) {
  if (LoggingOn)
    WriteLog(text, 0);
}

// The actions of one activation, on the working copy; no lock is held.
void RunActions(TAlertRecord &work, const std::string &id) {
  const std::string prefix = "Alert ID " + id;

  if (work.Actions.Contains(ActionEMail))
    ComposeAlertMail(work);

  // No second pop-up while any action of the alert is in effect.
  if (work.Actions.Contains(ActionPopup) && work.ActiveActions.Empty()) {
    work.ActiveActions.Include(ActionPopup);
    work.ActivationTimes[ActionPopup] = AppClock().Now();
    Log(prefix + " popup window!");
    ShowAlertPopup(MakeAlertPopupInfo(work, id));
  }

  if (work.Actions.Contains(ActionHighlightRow) &&
      !work.ActiveActions.Contains(ActionHighlightRow)) {
    work.ActiveActions.Include(ActionHighlightRow);
    Log(prefix + " highlighting row!");
    MarkAlertSymbolUpdated(work.Symbol);
  }

  if (work.Actions.Contains(ActionFlashWindow) && !work.ActiveActions.Contains(ActionFlashWindow)) {
    work.ActiveActions.Include(ActionFlashWindow);
    Log(prefix + " flashing window!");
    work.ActivationTimes[ActionFlashWindow] = AppClock().Now();
    // The first blink at once; the evaluation passes keep it blinking.
    AppWindowFlash().FlashMainWindow(true);
  }

  // The sound action never stays in effect: it plays on every activation.
  if (work.Actions.Contains(ActionSound) && !work.ActiveActions.Contains(ActionSound)) {
    Log(prefix + " audio!");
    PlayAlertSound(work);
  }
}

} // namespace

int ActivatePendingAlerts(AlertSystemClass &store, TPendingAlertQueue &queue, TAlertRecord &work) {
  int acted = 0;
  std::string id;
  while (queue.TakeFirst(id)) {
    try {
      bool found = false;
      {
        MyLockGuard guard(store.Lock, "ACTIVATE", true);
        if (!guard.Owns()) {
          queue.PutBack(id);
          WriteLog("ActivatePendingAlerts: alert store busy; alert ID " + id +
                       " waits for the next round",
                   0);
          return acted;
        }
        if (const TAlertRecord *stored = store.FindByID(id)) {
          work.AssignFixed(*stored);
          found = true;
        }
      }
      if (!found) {
        Log("Alert ID " + id + " no longer exists; skipped");
        continue;
      }

      RunActions(work, id);
      ++acted;

      MyLockGuard guard(store.Lock, "ACTIVATE1", true);
      if (!guard.Owns()) {
        WriteLog("ActivatePendingAlerts: alert store busy; state of alert ID " + id +
                     " not recorded",
                 0);
        continue;
      }
      if (TAlertRecord *stored = store.FindByID(id)) {
        stored->ActiveActions = work.ActiveActions;
        stored->ActivationTimes = work.ActivationTimes;
      }
    } catch (const std::exception &e) {
      WriteLog("ActivatePendingAlerts Error: alert ID " + id + ": " + e.what(), 0);
    } catch (...) {
      WriteLog("ActivatePendingAlerts Error: alert ID " + id + ": unknown exception", 0);
    }
  }
  return acted;
}

void ActivatePendingAlerts() {
  ActivatePendingAlerts(AlertSystem(), PendingAlerts(), SpareAlertRecord());
}
