#pragma once
#include "alerts/AlertFile.h"
#include "alerts/AlertRecord.h"
#include "alerts/AlertSystem.h"

#include <atomic>
#include <string>

// The alerts module's shared state and its start-up.

// The program's one alert store.
AlertSystemClass &AlertSystem();
// The record that alert activation uses as its working copy (window thread).
TAlertRecord &SpareAlertRecord();
// Set by the alert evaluation thread while it runs.
extern std::atomic<bool> AlertThreadRunning;

// Start-up, once, before any window exists: restores ALERTS.DAT from
// ALERTS.DA_ when needed and loads ALERTS.DAT from folder (a path ending in
// "/") into the store, with the mail settings. Returns what the load found;
// when the file did not exist (report.opened false) the main window imports
// the portfolio limits.
AlertFileReport InitAlertsModule(const std::string &folder);
