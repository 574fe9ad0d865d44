#include "alerts/news/NewsSources.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QTemporaryDir &dir, const char *name, const char *text) {
  QFile f(dir.filePath(QString::fromLatin1(name)));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

TEST(NewsSourcesTest, SiteFilesSortedByName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  WriteFile(dir, "zeta.NWS", "NAME=Alpha Wire\n");
  WriteFile(dir, "beta.nws", "NAME=business daily\n");
  WriteFile(dir, "plain.NWS", "GET http://x\n");
  WriteFile(dir, "broken.NWS", "NAME=Broken\nGMTOFFSET=soon\n");
  WriteFile(dir, "quotes.SIT", "NAME=Quotes\n");
  const auto sources = ListNewsSources(dir.path().toStdString());
  ASSERT_EQ(sources.size(), 3u);
  EXPECT_EQ(sources[0].Name, "Alpha Wire");
  EXPECT_EQ(sources[0].FileName, "zeta.NWS");
  EXPECT_EQ(sources[1].Name, "business daily");
  EXPECT_EQ(sources[2].Name, "plain") << "named after the file without a NAME line";
  EXPECT_EQ(FindNewsSource(sources, "beta.nws"), 1);
  EXPECT_EQ(FindNewsSource(sources, "BETA.NWS"), 1);
  EXPECT_EQ(FindNewsSource(sources, "gone.NWS"), -1);
}

TEST(NewsSourcesTest, MissingFolderGivesNone) {
  EXPECT_TRUE(ListNewsSources("/nonexistent/tickvane-news").empty());
}

} // namespace
