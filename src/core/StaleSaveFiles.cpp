#include "core/StaleSaveFiles.h"

#include "core/Log.h"
#include "core/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kSuffixLength = 6;

bool IsTemporarySuffix(const QString &suffix) {
  if (suffix.size() != kSuffixLength)
    return false;
  for (QChar c : suffix)
    if (c.unicode() > 127 || !c.isLetterOrNumber())
      return false;
  // "bad" + digits: the copies of a damaged alert file kept aside.
  if (suffix.startsWith(QLatin1String("bad"))) {
    bool digits = true;
    for (QChar c : suffix.mid(3))
      digits = digits && c.isDigit();
    if (digits)
      return false;
  }
  return true;
}

} // namespace

int RemoveStaleSaveFiles(const std::string &path) {
  return RemoveStaleSaveFiles(path, DataFolderHeldAlone()
                                        ? std::chrono::seconds(0)
                                        : std::chrono::seconds(SharedFolderStaleAge));
}

int RemoveStaleSaveFiles(const std::string &path, std::chrono::seconds minAge) {
  const QFileInfo target(QString::fromStdString(path));
  const QString prefix = target.fileName() + QLatin1Char('.');
  QDir folder = target.absoluteDir();
  const QDateTime newest = QDateTime::currentDateTimeUtc().addSecs(-minAge.count());
  int removed = 0;
  const QFileInfoList candidates =
      folder.entryInfoList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden);
  for (const QFileInfo &file : candidates) {
    if (!file.fileName().startsWith(prefix) ||
        !IsTemporarySuffix(file.fileName().mid(prefix.size())) || file.isSymLink())
      continue;
    if (minAge.count() > 0 && file.lastModified().toUTC() > newest)
      continue;
    if (QFile::remove(file.absoluteFilePath())) {
      ++removed;
      WriteLog("Removed the temporary file " + file.absoluteFilePath().toStdString() +
                   " of an unfinished save",
               0);
    } else {
      WriteLog("Cannot remove the temporary file " + file.absoluteFilePath().toStdString(), 0);
    }
  }
  return removed;
}
