#include "core/ParFile.h"

#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "platform/Exceptions.h"
#include "platform/StringList.h"
#include "platform/StringUtils.h"

#include <QDir>
#include <QFile>

#include <mutex>

namespace {

std::mutex g_paramsMutex;
TStringList g_params;

} // namespace

std::string UnscrambleParLine(const std::string &line) { return line; }

void ReadParFile(const std::string &fileName, TStringList &list) {
  list.Clear();
  QString path = QString::fromStdString(fileName);
  if (QDir::isRelativePath(path))
    path = QString::fromStdString(ProgramFolder()) + path;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw Exception("Cannot read " + fileName);
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw Exception("Cannot read " + fileName);
  const std::string all(bytes.constData(), std::size_t(bytes.size()));
  std::size_t pos = 0;
  while (pos < all.size()) {
    const std::size_t end = all.find('\n', pos);
    std::string line = all.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? all.size() : end + 1;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    list.Add(UnscrambleParLine(line));
  }
}

std::string GetProgParam(const TStringList &list, const std::string &name,
                         const std::string &defaultValue) {
  try {
    const std::string wanted = UpperCase(Trim(name));
    for (int i = 0; i < list.Count(); ++i) {
      const std::string &item = list[i];
      const std::size_t eq = item.find('=');
      if (eq == std::string::npos)
        continue;
      if (UpperCase(Trim(item.substr(0, eq))) == wanted)
        return Trim(item.substr(eq + 1));
    }
  } catch (const std::exception &e) {
    WriteLog(std::string("GETPROGPARAM Error: ") + e.what(), 0);
  }
  return defaultValue;
}

const TStringList &ProgramParams() { return g_params; }

bool LoadProgramParams() {
  TStringList list;
  bool ok = true;
  try {
    ReadParFile(ProgramFolder() + "params.par", list);
  } catch (const std::exception &e) {
    WriteLog(std::string("LoadProgramParams Error: ") + e.what(), 0);
    list.Clear();
    ok = false;
  }
  SetProgramParams(list);
  return ok;
}

void SetProgramParams(const TStringList &list) {
  std::lock_guard<std::mutex> l(g_paramsMutex);
  g_params = list;
}

std::string GetProgParam(const std::string &name, const std::string &defaultValue) {
  std::lock_guard<std::mutex> l(g_paramsMutex);
  return GetProgParam(g_params, name, defaultValue);
}
