#include "alerts/ui/AlertPopupWindows.h"

#include "alerts/AlertDialogHooks.h"
#include "alerts/AlertPopupHook.h"
#include "alerts/ui/AlertDlg.h"
#include "core/Log.h"
#include "platform/WindowThread.h"

#include <QLabel>
#include <QPointer>

#include <functional>
#include <vector>

namespace {

// Closes, newest first, the open pop-ups that match. Closing frees a pop-up
// later, so the walk is over guarded pointers.
void CloseMatching(const std::function<bool(const TAlertDlg &)> &matches) {
  std::vector<QPointer<TAlertDlg>> open;
  for (TAlertDlg *dlg : TAlertDlg::OpenDialogs())
    open.emplace_back(dlg);
  for (auto it = open.rbegin(); it != open.rend(); ++it)
    if (*it && !(*it)->Closed() && matches(**it))
      (*it)->close();
}

// Runs fn on the window thread: at once there, queued from anywhere else (the
// caller must not wait for the window thread).
void OnWindowThread(std::function<void()> fn) {
  if (IsWindowThread())
    fn();
  else
    PostToWindowThread(std::move(fn));
}

} // namespace

void CloseAlertDialogWindows(const std::string &id) {
  OnWindowThread(
      [id] { CloseMatching([&](const TAlertDlg &dlg) { return id == "ALL" || dlg.ID == id; }); });
}

void CloseSymbolAlertDialogWindows(const std::string &symbol) {
  OnWindowThread([symbol] {
    const QString shown = QString::fromStdString(symbol);
    CloseMatching([&](const TAlertDlg &dlg) { return dlg.lbSymb->text() == shown; });
  });
}

TAlertDlg *OpenAlertPopup(const AlertPopupInfo &info) {
  auto *dlg = TButtonForm::Create<TAlertDlg>(nullptr);
  dlg->Fill(info);
  dlg->show();
  return dlg;
}

void InstallAlertPopupWindows() {
  WriteLog("dlgAlert Init", 0);
  SetAlertPopupHook([](const AlertPopupInfo &info) { OpenAlertPopup(info); });
  SetCloseAlertDialogsHook(&CloseAlertDialogWindows);
  SetCloseSymbolAlertDialogsHook(&CloseSymbolAlertDialogWindows);
}

void UninstallAlertPopupWindows() {
  if (LoggingOn)
    WriteLog("DlgAlertFinal", 0);
  SetAlertPopupHook(nullptr);
  SetCloseAlertDialogsHook(nullptr);
  SetCloseSymbolAlertDialogsHook(nullptr);
  if (IsWindowThread())
    CloseMatching([](const TAlertDlg &) { return true; });
  if (LoggingOn)
    WriteLog("DlgAlertFinalZ", 0);
}
