#include "core/SaveFailureReport.h"

#include "core/ErrorReport.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "platform/Prompt.h"
#include "platform/VisibleText.h"
#include "platform/WindowThread.h"

#include <atomic>

namespace {

// A box has been shown since the last successful save: the user knows.
std::atomic<bool> g_boxShown{false};

std::string WithCapital(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
    text[0] = char(text[0] - 'a' + 'A');
  return text;
}

} // namespace

std::string SaveFailureStatusText(const std::string &what, const std::string &reason) {
  return "Not saved: " + what + " (" + reason + ")";
}

std::string SaveFailureBoxText(const std::string &what, const std::string &reason) {
  return WithCapital(what) + " could not be saved: " + reason +
         ".\n\nThe program keeps using it until it ends, and tries again at the next save.";
}

void ReportSaveFailure(const std::string &what, const std::string &reason,
                       const std::string &caption) {
  WriteLog("Save Error: " + what + ": " + reason, 0);
  ShowStatusMsg(SaveFailureStatusText(what, reason));
  if (g_boxShown.exchange(true))
    return;
  // A reason may name a path or quote a system's text: shown visibly.
  const std::string text = VisibleLines(SaveFailureBoxText(what, reason));
  const auto show = [text, caption] { MessageDlg(text, caption, mtError, mbOK); };
  if (IsWindowThread())
    show();
  else
    PostToWindowThread(show);
}

void NoteSaveSucceeded() { g_boxShown = false; }

bool CheckSave(bool ok, const std::string &what, const std::string &reason,
               const std::string &caption) {
  if (ok)
    NoteSaveSucceeded();
  else
    ReportSaveFailure(what, reason, caption);
  return ok;
}

bool CheckSettingsSave(bool ok, const std::string &what, const std::string &caption) {
  if (ok)
    return CheckSave(true, what, {}, caption);
  std::string reason = SettingsFile().LastError();
  if (reason.empty())
    reason = "the settings file could not be written";
  return CheckSave(false, what, "BOURSE.INI: " + reason, caption);
}

void ResetSaveFailureReports() { g_boxShown = false; }
