#include "alerts/news/NewsSources.h"

#include "acquisition/HTTPSite.h"
#include "platform/StringUtils.h"

#include <QDir>

#include <algorithm>

std::vector<TNewsSource> ListNewsSources(const std::string &folder) {
  std::vector<TNewsSource> sources;
  const QDir dir(QString::fromStdString(folder));
  const QStringList files = dir.entryList({QStringLiteral("*.nws")},
                                          QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  for (const QString &file : files) {
    HTTPSite site;
    std::string error;
    LoadSiteFile(dir.filePath(file).toStdString(), site, 0, error, "60");
    if (error.empty())
      sources.push_back({site.Name, file.toStdString()});
  }
  std::stable_sort(sources.begin(), sources.end(), [](const TNewsSource &a, const TNewsSource &b) {
    return CompareText(a.Name, b.Name) < 0;
  });
  return sources;
}

int FindNewsSource(const std::vector<TNewsSource> &sources, const std::string &fileName) {
  for (std::size_t i = 0; i < sources.size(); ++i)
    if (sources[i].FileName == fileName)
      return int(i);
  for (std::size_t i = 0; i < sources.size(); ++i)
    if (SameText(sources[i].FileName, fileName))
      return int(i);
  return -1;
}
