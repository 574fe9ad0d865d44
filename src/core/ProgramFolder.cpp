#include "core/ProgramFolder.h"

#include "core/Log.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <mutex>
#include <vector>

namespace {

std::mutex g_folderMutex;
std::string g_folder; // empty until set

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/')
    folder += '/';
  return folder;
}

// The files the program keeps in its data folder (besides what the seed ships).
constexpr const char *kProgramFiles[] = {"BOURSE.INI", "BOURSE.IN_", "bourse.log", "bourse.log.bak",
                                         "port.dat",   "ALERTS.DAT", "ALERTS.DA_", "schemes.par",
                                         "params.par", "quotes.csv", "news.csv",   "sdata.dmp",
                                         "snews.dmp",  "browser"};

} // namespace

std::string ProgramFolder() {
  {
    std::lock_guard<std::mutex> l(g_folderMutex);
    if (!g_folder.empty())
      return g_folder;
  }
  return WithSlash(ResolveDataFolder());
}

void SetProgramFolder(const std::string &folder) {
  std::lock_guard<std::mutex> l(g_folderMutex);
  g_folder = folder.empty() ? std::string() : WithSlash(folder);
}

std::string ResolveDataFolder() {
  const QString home = qEnvironmentVariable("TICKVANE_HOME");
  if (!home.isEmpty())
    return QDir::cleanPath(home).toStdString();
  const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  if (!xdg.isEmpty())
    return QDir::cleanPath(xdg + QStringLiteral("/tickvane")).toStdString();
  return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.local/share/tickvane")).toStdString();
}

std::string SeedDataFolder() {
#ifdef TV_SEED_DATA_DIR
  return TV_SEED_DATA_DIR;
#else
  return "data";
#endif
}

bool IsNewDataFolder(const std::string &folder, const std::string &seedDir) {
  const QDir target(QString::fromStdString(folder));
  if (!target.exists())
    return true;
  QStringList names;
  for (const char *name : kProgramFiles)
    names << QString::fromLatin1(name);
  if (!seedDir.empty())
    names << QDir(QString::fromStdString(seedDir))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  for (const QString &name : names)
    if (QFileInfo::exists(target.filePath(name)) || QFileInfo(target.filePath(name)).isSymLink())
      return false;
  return true;
}

bool PrepareDataFolder(const std::string &folder, const std::string &seedDir) {
  const QString target = QString::fromStdString(folder);
  // Decided before the folder is made: a folder in use keeps what the user left in it.
  const bool fresh = IsNewDataFolder(folder, seedDir);
  if (!QDir().mkpath(target)) {
    WriteLog("PrepareDataFolder Error: cannot create " + folder, 0);
    return false;
  }
  const QDir seed(QString::fromStdString(seedDir));
  if (!fresh || seedDir.empty() || !seed.exists())
    return true;
  bool ok = true;
  QDirIterator it(seed.path(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString relative = seed.relativeFilePath(source);
    const QString destination = target + QLatin1Char('/') + relative;
    if (QFileInfo::exists(destination))
      continue;
    QDir().mkpath(QFileInfo(destination).path());
    if (!QFile::copy(source, destination)) {
      WriteLog("PrepareDataFolder Error: cannot copy " + relative.toStdString(), 0);
      ok = false;
      continue;
    }
    // Seed files may be read-only in an installation; the user's copies are not.
    QFile::setPermissions(destination,
                          QFile::permissions(destination) | QFile::WriteOwner | QFile::ReadOwner);
  }
  return ok;
}

TProgramVersion MakeVersion(unsigned major, unsigned minor, unsigned release, unsigned build) {
  return (TProgramVersion(major & 0xFFFF) << 48) | (TProgramVersion(minor & 0xFFFF) << 32) |
         (TProgramVersion(release & 0xFFFF) << 16) | TProgramVersion(build & 0xFFFF);
}

TProgramVersion ParseVersionText(const std::string &text) {
  unsigned parts[4] = {0, 0, 0, 0};
  const QStringList pieces = QString::fromStdString(text).split(QLatin1Char('.'));
  for (int i = 0; i < 4 && i < pieces.size(); ++i) {
    bool ok = false;
    const unsigned value = pieces[i].trimmed().toUInt(&ok);
    parts[i] = ok ? value : 0;
  }
  return MakeVersion(parts[0], parts[1], parts[2], parts[3]);
}

TProgramVersion ProgramVersion() {
#ifdef TV_VERSION_TEXT
  static const TProgramVersion version = ParseVersionText(TV_VERSION_TEXT);
#else
  static const TProgramVersion version = MakeVersion(1, 0, 0, 0);
#endif
  return version;
}

std::string VersionToStr(TProgramVersion version) {
  return std::to_string((version >> 48) & 0xFFFF) + "." + std::to_string((version >> 32) & 0xFFFF) +
         "." + std::to_string((version >> 16) & 0xFFFF) + "." + std::to_string(version & 0xFFFF);
}
