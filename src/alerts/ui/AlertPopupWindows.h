#pragma once
// The alert pop-up windows as the rest of the program reaches them: the
// installer that registers them with alert activation and with the alert
// store's close hooks, and the closing rules.
#include <string>

class TAlertDlg;
struct AlertPopupInfo;

// At start-up, on the window thread, before the alert threads run: activation
// then opens a TAlertDlg per pop-up, and the store's CloseAlertDialogs and
// CloseSymbolAlertDialogs close them. Logs "dlgAlert Init".
void InstallAlertPopupWindows();
// At shut-down: removes the hooks and closes every open pop-up. Logs
// "DlgAlertFinal" and "DlgAlertFinalZ" (when logging is on).
void UninstallAlertPopupWindows();

// Opens one pop-up, filled and shown (not modal). Window thread.
TAlertDlg *OpenAlertPopup(const AlertPopupInfo &info);

// Close the pop-ups of the alert with that ID, or all of them for "ALL"
// (newest first); the symbol form closes those whose symbol label shows the
// symbol. From another thread the closing is passed to the window thread and
// the call returns at once.
void CloseAlertDialogWindows(const std::string &id);
void CloseSymbolAlertDialogWindows(const std::string &symbol);
