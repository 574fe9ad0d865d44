#include "views/stockgrid/AutoFitSetting.h"

#include "core/IniFile.h"

bool AutoFitOn(TMyIniFile &settings) {
  return settings.ReadString(AutoFitSection, AutoFitKey, "YES") == "YES";
}
