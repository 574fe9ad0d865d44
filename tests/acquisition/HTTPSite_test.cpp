#include "acquisition/HTTPSite.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string WriteSite(QTemporaryDir &dir, const std::string &name, const std::string &text) {
  const QString path = dir.filePath(QString::fromStdString(name));
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(text.data(), qint64(text.size()));
  return path.toStdString();
}

TEST(HTTPSiteTest, AllSixOptionalFieldsByDefault) {
  const HTTPSite site;
  EXPECT_EQ(site.ProvidedFields.size(), 6u);
  EXPECT_TRUE(site.Provides("TICKCOL"));
  EXPECT_TRUE(site.Provides("TickCol"));
  EXPECT_FALSE(site.Provides("SYMCOL"));
  EXPECT_EQ(site.GMTOFFSET, 0.0);
}

TEST(HTTPSiteTest, LoadSiteFileReadsNameOffsetAndFields) {
  QTemporaryDir dir;
  const std::string path = WriteSite(dir, "QUOTES1.SDF",
                                     "; a comment\r\n"
                                     "name = Sample Quotes\r\n"
                                     "URL=http://quotes.example/q?s=%SYMBOL%\r\n"
                                     "GMTOFFSET=-5\r\n"
                                     "Provides=tickcol, BIDSIZECOL\r\n");
  HTTPSite site;
  std::string error = "x";
  EXPECT_TRUE(LoadSiteFile(path, site, 0, error, "60"));
  EXPECT_EQ(error, "");
  EXPECT_EQ(site.Name, "Sample Quotes");
  EXPECT_DOUBLE_EQ(site.GMTOFFSET, -5.0 / 24);
  EXPECT_EQ(site.ProvidedFields, (std::vector<std::string>{"TICKCOL", "BIDSIZECOL"}));
  EXPECT_FALSE(site.Provides("ASKSIZECOL"));
}

TEST(HTTPSiteTest, LoadSiteFileWithoutNameUsesTheFileName) {
  QTemporaryDir dir;
  HTTPSite site;
  std::string error;
  EXPECT_TRUE(LoadSiteFile(WriteSite(dir, "NEWSSITE.NWS", "URL=x\n"), site, 0, error, "60"));
  EXPECT_EQ(site.Name, "NEWSSITE");
  EXPECT_EQ(site.ProvidedFields.size(), 6u);
}

TEST(HTTPSiteTest, LoadSiteFileErrors) {
  QTemporaryDir dir;
  HTTPSite site;
  site.Name = "Before";
  std::string error;
  EXPECT_FALSE(LoadSiteFile(dir.filePath("missing.SDF").toStdString(), site, 0, error, "60"));
  EXPECT_NE(error.find("Cannot read site file"), std::string::npos);
  EXPECT_EQ(site.Name, "Before");

  EXPECT_FALSE(
      LoadSiteFile(WriteSite(dir, "BAD.SDF", "NAME=Bad\nGMTOFFSET=five\n"), site, 0, error, "60"));
  EXPECT_EQ(error, "Bad GMTOFFSET \"five\" in " + dir.filePath("BAD.SDF").toStdString());
  EXPECT_EQ(site.Name, "Bad");
  EXPECT_EQ(site.GMTOFFSET, 0.0);
}

TEST(HTTPSiteTest, CurrentQuoteSiteIsACopy) {
  HTTPSite s;
  s.Name = "Current";
  s.GMTOFFSET = 0.125;
  SetCurrentQuoteSite(s);
  EXPECT_EQ(CurrentQuoteSite().Name, "Current");
  EXPECT_EQ(CurrentQuoteSite().GMTOFFSET, 0.125);
  SetCurrentQuoteSite(HTTPSite());
}

} // namespace
