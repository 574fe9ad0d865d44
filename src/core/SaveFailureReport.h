#pragma once
// Saves that a user's action causes (settings, colour scheme, views,
// portfolios, alerts, ticker settings) tell the user when they fail: what was
// not saved and why. What the program holds in memory stays as the user made
// it, and the next save writes it again.
#include <string>

// The caption of the box unless the caller names one.
inline constexpr const char *SaveFailureCaption = "Tickvane";

// The status line says it every time ("Not saved: <what> (<reason>)"); the
// first failure, and the first after a save succeeded again, also shows a
// message box. Any thread: the box is shown on the window thread.
void ReportSaveFailure(const std::string &what, const std::string &reason,
                       const std::string &caption = SaveFailureCaption);
// A save succeeded: the next failure shows a box again.
void NoteSaveSucceeded();
// For a save's result: reports a failure, notes a success; returns ok.
bool CheckSave(bool ok, const std::string &what, const std::string &reason,
               const std::string &caption = SaveFailureCaption);
// The same for writes of the settings file: the reason is its last error.
bool CheckSettingsSave(bool ok, const std::string &what,
                       const std::string &caption = SaveFailureCaption);

// The texts (tests compare them).
std::string SaveFailureStatusText(const std::string &what, const std::string &reason);
std::string SaveFailureBoxText(const std::string &what, const std::string &reason);

// Forgets that a box was shown (tests).
void ResetSaveFailureReports();
