#include "core/Log.h"
#include "core/ParFile.h"
#include "core/ProgramFolder.h"

#include "platform/Exceptions.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

void WriteAll(const QString &path, const std::string &text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text.data(), qint64(text.size()));
}

} // namespace

TEST(ParFileTest, ReadsLinesAsTheyStand) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/x.par";
  WriteAll(path, "ALLOWDUPS=YES\r\n# note\n\nKEEPALIVE = no \n~scrambled~line\nLAST=1");
  TStringList list;
  list.Add("stale");
  ReadParFile(path.toStdString(), list);
  ASSERT_EQ(list.Count(), 6);
  EXPECT_EQ(list[0], "ALLOWDUPS=YES");
  EXPECT_EQ(list[2], "");
  EXPECT_EQ(list[4], "~scrambled~line");
  EXPECT_EQ(list[5], "LAST=1");
  EXPECT_EQ(UnscrambleParLine("~scrambled~line"), "~scrambled~line");
}

TEST(ParFileTest, RelativeNamesAreInTheProgramFolder) {
  QTemporaryDir dir;
  SetProgramFolder(dir.path().toStdString());
  WriteAll(dir.path() + "/schemes.par", "A=1\n");
  TStringList list;
  ReadParFile("schemes.par", list);
  EXPECT_EQ(list.Count(), 1);
  SetProgramFolder("");
}

TEST(ParFileTest, UnreadableFileRaises) {
  QTemporaryDir dir;
  TStringList list;
  list.Add("stale");
  EXPECT_THROW(ReadParFile((dir.path() + "/none.par").toStdString(), list), Exception);
  EXPECT_EQ(list.Count(), 0);
}

TEST(ParFileTest, GetProgParamTable) {
  TStringList list;
  list.Add("ALLOWDUPS=YES");
  list.Add("keepalive = no ");
  list.Add("EMAILDOMBLOCKS=a.com,b.com");
  list.Add("EMPTY=");
  list.Add("NOEQUALS");
  list.Add("ALLOWDUPS=NO"); // the first one counts
  EXPECT_EQ(GetProgParam(list, "ALLOWDUPS", "NO"), "YES");
  EXPECT_EQ(GetProgParam(list, "allowdups", "NO"), "YES");
  EXPECT_EQ(GetProgParam(list, "KEEPALIVE", "YES"), "no");
  EXPECT_EQ(GetProgParam(list, "EmailDomBlocks", ""), "a.com,b.com");
  EXPECT_EQ(GetProgParam(list, "EMPTY", "def"), "");
  EXPECT_EQ(GetProgParam(list, "NOEQUALS", "def"), "def");
  EXPECT_EQ(GetProgParam(list, "RUNFUNDTHREAD", "YES"), "YES");
}

TEST(ParFileTest, ProgramParamsFromParamsPar) {
  QTemporaryDir dir;
  SetProgramFolder(dir.path().toStdString());
  EXPECT_FALSE(LoadProgramParams());
  EXPECT_EQ(ProgramParams().Count(), 0);
  WriteAll(dir.path() + "/params.par", "RUNFUNDTHREAD=NO\n");
  EXPECT_TRUE(LoadProgramParams());
  EXPECT_EQ(GetProgParam("RUNFUNDTHREAD", "YES"), "NO");
  EXPECT_EQ(GetProgParam(ProgramParams(), "ALLOWDUPS", "NO"), "NO");
  SetProgramParams(TStringList());
  SetProgramFolder("");
}
