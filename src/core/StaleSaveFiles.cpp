#include "core/StaleSaveFiles.h"

#include "core/Log.h"
#include "core/SingleInstance.h"
#include "platform/SaveFileWhole.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

int RemoveStaleSaveFiles(const std::string &path) {
  return RemoveStaleSaveFiles(path, DataFolderHeldAlone()
                                        ? std::chrono::seconds(0)
                                        : std::chrono::seconds(SharedFolderStaleAge));
}

int RemoveStaleSaveFiles(const std::string &path, std::chrono::seconds minAge) {
  const QFileInfo target(QString::fromStdString(path));
  const std::string name = target.fileName().toStdString();
  QDir folder = target.absoluteDir();
  const QDateTime newest = QDateTime::currentDateTimeUtc().addSecs(-minAge.count());
  int removed = 0;
  const QFileInfoList candidates =
      folder.entryInfoList({QString::fromStdString(SaveTempPrefix(name)) + QLatin1Char('*')},
                           QDir::Files | QDir::Hidden | QDir::System);
  for (const QFileInfo &file : candidates) {
    if (!IsSaveTempName(name, file.fileName().toStdString()) || file.isSymLink())
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
