#pragma once
#include <string>

class TMyIniFile;

// The program-wide alert defaults: the actions a new alert gets, its sound,
// the default e-mail template, auto-save in the alert editor and the
// duplicate-alert threshold. Stored in section "Alert" of the settings file;
// Booleans as "YES"/"NO", true exactly for "YES".
struct TAlertDefaults {
  bool Popup = true;
  bool Flash = true;
  bool HighRow = true;
  bool Audio = false;
  bool ASystem = true;  // the sound is a standard sound
  bool ACustom = false; // the sound is a wave file
  int System = 0;       // standard sound index 0..5
  std::string Custom;   // wave file
  std::string DEFEML;   // default e-mail template ID, up to 7 characters
  bool AutoSave = false;
  int Length = 0; // duplicate-alert threshold, minutes
};

// Snapshot of the live defaults; safe from any thread.
TAlertDefaults CurrentAlertDefaults();
void SetAlertDefaults(const TAlertDefaults &defaults);

// Reads section "Alert" (absent keys take the start-up defaults).
TAlertDefaults ReadAlertDefaults(const TMyIniFile &ini);
// Writes the keys "Popup", "Flash", "AutoSave", "Audio", "HighRow", "ASystem",
// "ACustom", "System", "Custom", "DEFEML", "Length" in this order. False when
// a write failed.
bool WriteAlertDefaults(TMyIniFile &ini, const TAlertDefaults &defaults);
// Start-up: the live defaults from SettingsFile().
void LoadAlertDefaults();
