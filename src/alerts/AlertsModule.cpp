#include "alerts/AlertsModule.h"

#include "alerts/AlertNames.h"
#include "core/Log.h"

std::atomic<bool> AlertThreadRunning{false};

AlertSystemClass &AlertSystem() {
  static AlertSystemClass store;
  return store;
}

TAlertRecord &SpareAlertRecord() {
  static TAlertRecord spare;
  return spare;
}

AlertFileReport InitAlertsModule(const std::string &folder) {
  if (LoggingOn)
    WriteLog("NewAlerts Init", 0);
  AlertSystem();
  HandleAlertRecoveryCopy(folder);
  if (LoggingOn)
    WriteLog("NewAlerts Init 2", 0);
  AlertFileReport report = LoadAlertFile(AlertSystem(), folder + AlertFileName);
  if (LoggingOn)
    WriteLog("NewAlerts Init 3", 0);
  ColumnNames();
  SpareAlertRecord() = *TAlertRecord::Create();
  return report;
}
