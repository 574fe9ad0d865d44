#include "core/AlertDefaults.h"

#include "core/IniFile.h"
#include "core/StringRoutines.h"

#include <mutex>

namespace {

std::mutex g_mutex;
TAlertDefaults g_live;

constexpr const char *kSection = "Alert";

bool ReadYes(const TMyIniFile &ini, const char *key, bool def) {
  return ini.ReadString(kSection, key, YesNo(def)) == "YES";
}

} // namespace

TAlertDefaults CurrentAlertDefaults() {
  std::lock_guard<std::mutex> l(g_mutex);
  return g_live;
}

void SetAlertDefaults(const TAlertDefaults &defaults) {
  TAlertDefaults copy = defaults;
  copy.DEFEML = copy.DEFEML.substr(0, 7);
  std::lock_guard<std::mutex> l(g_mutex);
  g_live = std::move(copy);
}

TAlertDefaults ReadAlertDefaults(const TMyIniFile &ini) {
  TAlertDefaults d;
  d.Popup = ReadYes(ini, "Popup", d.Popup);
  d.Flash = ReadYes(ini, "Flash", d.Flash);
  d.HighRow = ReadYes(ini, "HighRow", d.HighRow);
  d.Audio = ReadYes(ini, "Audio", d.Audio);
  d.ASystem = ReadYes(ini, "ASystem", d.ASystem);
  d.ACustom = ReadYes(ini, "ACustom", d.ACustom);
  d.System = ini.ReadInteger(kSection, "System", d.System);
  d.Custom = ini.ReadString(kSection, "Custom", d.Custom);
  d.DEFEML = ini.ReadString(kSection, "DEFEML", d.DEFEML).substr(0, 7);
  d.AutoSave = ReadYes(ini, "AutoSave", d.AutoSave);
  d.Length = ini.ReadInteger(kSection, "Length", d.Length);
  return d;
}

bool WriteAlertDefaults(TMyIniFile &ini, const TAlertDefaults &d) {
  bool ok = true;
  ok = ini.WriteString(kSection, "Popup", YesNo(d.Popup)) && ok;
  ok = ini.WriteString(kSection, "Flash", YesNo(d.Flash)) && ok;
  ok = ini.WriteString(kSection, "AutoSave", YesNo(d.AutoSave)) && ok;
  ok = ini.WriteString(kSection, "Audio", YesNo(d.Audio)) && ok;
  ok = ini.WriteString(kSection, "HighRow", YesNo(d.HighRow)) && ok;
  ok = ini.WriteString(kSection, "ASystem", YesNo(d.ASystem)) && ok;
  ok = ini.WriteString(kSection, "ACustom", YesNo(d.ACustom)) && ok;
  ok = ini.WriteInteger(kSection, "System", d.System) && ok;
  ok = ini.WriteString(kSection, "Custom", d.Custom) && ok;
  ok = ini.WriteString(kSection, "DEFEML", d.DEFEML.substr(0, 7)) && ok;
  ok = ini.WriteInteger(kSection, "Length", d.Length) && ok;
  return ok;
}

void LoadAlertDefaults() { SetAlertDefaults(ReadAlertDefaults(SettingsFile())); }
