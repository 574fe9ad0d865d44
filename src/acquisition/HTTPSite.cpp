#include "acquisition/HTTPSite.h"

#include "core/FieldTitles.h"
#include "core/Log.h"
#include "platform/StringUtils.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <mutex>

namespace {

std::mutex g_siteMutex;
HTTPSite &CurrentSiteRecord() {
  static HTTPSite site;
  return site;
}

} // namespace

HTTPSite::HTTPSite() : ProvidedFields(DefaultProvidedFields()) {}

bool HTTPSite::Provides(const std::string &viewKey) const {
  const std::string key = UpperCase(viewKey);
  return std::find(ProvidedFields.begin(), ProvidedFields.end(), key) != ProvidedFields.end();
}

std::vector<std::string> DefaultProvidedFields() {
  std::vector<std::string> keys;
  for (int field : OptionalSiteFields)
    keys.push_back(UpperCase(FieldViewKey(field)));
  return keys;
}

HTTPSite CurrentQuoteSite() {
  std::lock_guard lock(g_siteMutex);
  return CurrentSiteRecord();
}

void SetCurrentQuoteSite(const HTTPSite &site) {
  std::lock_guard lock(g_siteMutex);
  CurrentSiteRecord() = site;
}

bool LoadSiteFile(const std::string &fileName, HTTPSite &site, int /*flags*/,
                  std::string &errorText, const std::string &tag) {
  errorText.clear();
  QFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::ReadOnly)) {
    errorText = "Cannot read site file " + fileName;
    if (LoggingOn)
      WriteLog("LoadSiteFile " + tag + " Error: " + errorText, 0);
    return false;
  }
  HTTPSite read;
  read.Name = QFileInfo(file).completeBaseName().toStdString();
  while (!file.atEnd()) {
    std::string line = file.readLine().toStdString();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
      line.pop_back();
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos)
      continue;
    const std::string key = UpperCase(Trim(line.substr(0, eq)));
    const std::string value = Trim(line.substr(eq + 1));
    if (key == "NAME") {
      read.Name = value;
    } else if (key == "GMTOFFSET") {
      double hours = 0;
      const char *first = value.data() + (!value.empty() && value[0] == '+' ? 1 : 0);
      const char *last = value.data() + value.size();
      auto [end, ec] = std::from_chars(first, last, hours);
      if (ec != std::errc() || end != last || !std::isfinite(hours) || std::fabs(hours) > 24) {
        if (errorText.empty())
          errorText = "Bad GMTOFFSET \"" + value + "\" in " + fileName;
      } else {
        read.GMTOFFSET = hours / 24.0;
      }
    } else if (key == "PROVIDES") {
      read.ProvidedFields.clear();
      std::size_t start = 0;
      while (start <= value.size()) {
        const std::size_t comma = value.find(',', start);
        const std::string item = UpperCase(Trim(
            value.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (!item.empty())
          read.ProvidedFields.push_back(item);
        if (comma == std::string::npos)
          break;
        start = comma + 1;
      }
    }
  }
  if (!errorText.empty() && LoggingOn)
    WriteLog("LoadSiteFile " + tag + " Error: " + errorText, 0);
  site = read;
  return errorText.empty();
}
