#include "alerts/pages/AlertDefaultsPageRules.h"

#include "alerts/EMailRecord.h"
#include "platform/Exceptions.h"
#include "platform/Format.h"
#include "platform/Sound.h"

#include <limits>

TAudioEnabling AudioEnabling(bool audio, bool standardChecked, bool customChecked) {
  TAudioEnabling e;
  if (!audio)
    return e;
  e.Choice = true;
  e.Test = true;
  e.Standard = standardChecked;
  e.WaveFile = customChecked;
  return e;
}

bool ParseAlertThreshold(const std::string &text, int &minutes, std::string &error) {
  try {
    const std::int64_t value = StrToInt(text);
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
      throw EConvertError("'" + text + "' is not a valid integer value");
    minutes = int(value);
    error.clear();
    return true;
  } catch (const std::exception &e) {
    error = e.what();
    return false;
  }
}

int TemplateEntryOfID(const EMailSetupList &setups, const std::string &id) {
  if (id.empty())
    return 0;
  for (int i = 0; i < setups.Count(); ++i) {
    const EMailRecord *r = setups.Record(i);
    if (r && r->ID == id)
      return i + 1;
  }
  return 0;
}

std::string TemplateIDOfEntry(const EMailSetupList &setups, int entry) {
  const EMailRecord *r = entry >= 1 ? setups.Record(entry - 1) : nullptr;
  return r ? r->ID : std::string();
}

std::string FolderOfFile(const std::string &fileName) {
  const auto slash = fileName.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : fileName.substr(0, slash);
}

bool PlayAlertTestSound(bool standard, int standardIndex, const std::string &waveFile) {
  if (standard) {
    AppSound().PlayStandard(standardIndex);
    return true;
  }
  return AppSound().PlayWave(waveFile);
}
