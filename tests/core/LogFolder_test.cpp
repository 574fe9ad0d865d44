#include "core/CommandLine.h"
#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <thread>
#include <vector>

namespace {

std::string ReadAll(const QString &path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    return "<missing>";
  return f.readAll().toStdString();
}

void WriteAll(const QString &path, const std::string &text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text.data(), qint64(text.size()));
}

class LogTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  FakeClock clock{45296.0 + (13 * 3600 + 4 * 60 + 5) / 86400.0 + 0.678 / 86400.0};
  void SetUp() override {
    SetProgramFolder(dir.path().toStdString());
    SetAppClock(&clock);
  }
  void TearDown() override {
    StopLogging();
    LogLevel = 0;
    SetAppClock(nullptr);
    SetProgramFolder("");
  }
  QString LogPath() const { return dir.path() + "/bourse.log"; }
};

} // namespace

TEST_F(LogTest, LineIsTimeStampBlankText) {
  StartLogging(0);
  WriteLog("START", 0);
  EXPECT_EQ(ReadAll(LogPath()), "13:04:05.678 START\n");
}

TEST_F(LogTest, NothingWrittenWhenOffOrAboveLevel) {
  WriteLog("off", 0);
  EXPECT_EQ(ReadAll(LogPath()), "<missing>");
  StartLogging(2);
  WriteLog("two", 2);
  WriteLog("three", 3);
  WriteLog("zero", 0);
  EXPECT_EQ(ReadAll(LogPath()), "13:04:05.678 two\n13:04:05.678 zero\n");
}

TEST_F(LogTest, StartMovesPreviousLogToBackupReplacingOlderOne) {
  WriteAll(LogPath(), "previous run\n");
  WriteAll(dir.path() + "/bourse.log.bak", "older run\n");
  StartLogging(0);
  EXPECT_EQ(ReadAll(dir.path() + "/bourse.log.bak"), "previous run\n");
  EXPECT_EQ(ReadAll(LogPath()), "<missing>");
  WriteLog("new", 0);
  EXPECT_EQ(ReadAll(LogPath()), "13:04:05.678 new\n");
}

TEST_F(LogTest, TimeStampTable) {
  struct Case {
    double dt;
    const char *text;
  } cases[] = {
      {45000.0, "00:00:00.000"},
      {45000.5, "12:00:00.000"},
      {45000.0 + 86399.999 / 86400.0, "23:59:59.999"},
      {45000.0 + 86399.9999 / 86400.0, "23:59:59.999"}, // never "24:00"
  };
  for (const Case &c : cases)
    EXPECT_EQ(LogTimeStamp(c.dt), c.text) << c.dt;
}

TEST_F(LogTest, ConcurrentWritersGiveWholeLines) {
  StartLogging(0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 50; ++i)
        WriteLog("line from a worker", 0);
    });
  for (auto &th : threads)
    th.join();
  const std::string all = ReadAll(LogPath());
  std::size_t lines = 0, pos = 0;
  while ((pos = all.find("13:04:05.678 line from a worker\n", pos)) != std::string::npos) {
    ++lines;
    pos += 10;
  }
  EXPECT_EQ(lines, 200u);
  EXPECT_EQ(all.size(), 200u * std::string("13:04:05.678 line from a worker\n").size());
}

TEST(ProgramFolderTest, FolderEndsInSlash) {
  SetProgramFolder("/tmp/x");
  EXPECT_EQ(ProgramFolder(), "/tmp/x/");
  SetProgramFolder("/tmp/y/");
  EXPECT_EQ(ProgramFolder(), "/tmp/y/");
  SetProgramFolder("");
}

TEST(ProgramFolderTest, ResolveDataFolderOrder) {
  const QByteArray oldHome = qgetenv("TICKVANE_HOME");
  const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
  qputenv("TICKVANE_HOME", "/srv/tv/");
  qputenv("XDG_DATA_HOME", "/xdg");
  EXPECT_EQ(ResolveDataFolder(), "/srv/tv");
  qunsetenv("TICKVANE_HOME");
  EXPECT_EQ(ResolveDataFolder(), "/xdg/tickvane");
  qunsetenv("XDG_DATA_HOME");
  EXPECT_EQ(ResolveDataFolder(), (QDir::homePath() + "/.local/share/tickvane").toStdString());
  if (!oldHome.isNull())
    qputenv("TICKVANE_HOME", oldHome);
  if (!oldXdg.isNull())
    qputenv("XDG_DATA_HOME", oldXdg);
}

// Only a data folder not used yet is seeded: one that holds a file of the
// program, or anything the seed ships, keeps what the user left in it (a
// deleted news.csv does not come back).
TEST(ProgramFolderTest, PrepareSeedsOnlyANewFolder) {
  QTemporaryDir seed, home;
  WriteAll(seed.path() + "/news.csv", "seed news\n");
  WriteAll(seed.path() + "/schemes.par", "seed schemes\n");
  ASSERT_TRUE(QDir(seed.path()).mkpath("sites"));
  WriteAll(seed.path() + "/sites/one.sdf", "site\n");
  struct Case {
    const char *name;
    const char *userFile; // what the folder holds before the start; "" none, nullptr no folder
    bool seeded;
  };
  const Case cases[] = {
      {"no folder yet", nullptr, true},
      {"an empty folder", "", true},
      {"a folder of other files", "notes.txt", true},
      {"settings only", "BOURSE.INI", false},
      {"the log only", "bourse.log", false},
      {"alerts only", "ALERTS.DAT", false},
      {"a seed file the user kept", "schemes.par", false},
      {"a seed folder", "sites", false},
  };
  for (const Case &c : cases) {
    const QString target = home.path() + "/" + c.name + "/data";
    if (c.userFile) {
      ASSERT_TRUE(QDir().mkpath(target));
      if (std::string(c.userFile) == "sites")
        ASSERT_TRUE(QDir(target).mkpath("sites"));
      else if (*c.userFile)
        WriteAll(target + "/" + c.userFile, "USER\n");
    }
    EXPECT_TRUE(PrepareDataFolder(target.toStdString(), seed.path().toStdString())) << c.name;
    EXPECT_EQ(QFile::exists(target + "/news.csv"), c.seeded) << c.name;
    EXPECT_EQ(QFile::exists(target + "/sites/one.sdf"), c.seeded) << c.name;
    if (c.userFile && *c.userFile && std::string(c.userFile) != "sites")
      EXPECT_EQ(ReadAll(target + "/" + c.userFile), "USER\n") << c.name << ": never overwritten";
  }
  // A second start after the user deleted a seeded file leaves it deleted.
  const QString used = home.path() + "/used";
  ASSERT_TRUE(PrepareDataFolder(used.toStdString(), seed.path().toStdString()));
  ASSERT_TRUE(QFile::remove(used + "/news.csv"));
  EXPECT_TRUE(PrepareDataFolder(used.toStdString(), seed.path().toStdString()));
  EXPECT_FALSE(QFile::exists(used + "/news.csv"));
  EXPECT_EQ(ReadAll(used + "/schemes.par"), "seed schemes\n");
}

TEST(ProgramFolderTest, PrepareCreatesFolderWithoutSeed) {
  QTemporaryDir home;
  const QString target = home.path() + "/a/b";
  EXPECT_TRUE(PrepareDataFolder(target.toStdString(), (home.path() + "/none").toStdString()));
  EXPECT_TRUE(QDir(target).exists());
}

TEST(ProgramVersionTest, VersionTextTable) {
  EXPECT_EQ(VersionToStr(ProgramVersion()), "1.0.0.0");
  EXPECT_EQ(VersionToStr(MakeVersion(2, 13, 0, 65535)), "2.13.0.65535");
  EXPECT_EQ(MakeVersion(1, 2, 3, 4), 0x0001000200030004ULL);
  EXPECT_EQ(VersionToStr(ParseVersionText("3.4")), "3.4.0.0");
  EXPECT_EQ(VersionToStr(ParseVersionText("1.x.2.3.9")), "1.0.2.3");
  EXPECT_EQ(VersionToStr(ParseVersionText("70000.1.1.1")), "4464.1.1.1");
}

TEST(CommandLineTest, SwitchTable) {
  struct Case {
    std::vector<std::string> args;
    bool log;
    int level;
    bool allowDup, debug, demo, ka, prophet;
  } cases[] = {
      {{}, false, 0, false, false, false, false, false},
      {{"log"}, true, 0, false, false, false, false, false},
      {{"LOG3"}, true, 3, false, false, false, false, false},
      {{"Logging"}, true, 0, false, false, false, false, false},
      {{"log12x"}, true, 12, false, false, false, false, false},
      {{"--log2", "allowdup"}, true, 2, true, false, false, false, false},
      {{"Debug", "DEMO", "ka", "prophet"}, false, 0, false, true, true, true, true},
      {{"/KA", "kax", "unknown"}, false, 0, false, false, false, true, false},
  };
  for (const Case &c : cases) {
    const CommandLineSwitches s = ParseCommandLine(c.args);
    const std::string name = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(s.Log, c.log) << name;
    EXPECT_EQ(s.LogLevel, c.level) << name;
    EXPECT_EQ(s.AllowDup, c.allowDup) << name;
    EXPECT_EQ(s.Debug, c.debug) << name;
    EXPECT_EQ(s.Demo, c.demo) << name;
    EXPECT_EQ(s.KeepAlive, c.ka) << name;
    EXPECT_EQ(s.Prophet, c.prophet) << name;
  }
}

TEST_F(LogTest, ApplyCommandLineStartsLogging) {
  WriteAll(LogPath(), "old\n");
  char prog[] = "tickvane", arg[] = "LOG1";
  char *argv[] = {prog, arg};
  ApplyCommandLine(ParseCommandLine(2, argv));
  EXPECT_TRUE(CommandLine().Log);
  EXPECT_TRUE(LoggingOn);
  EXPECT_EQ(LogLevel, 1);
  EXPECT_EQ(ReadAll(dir.path() + "/bourse.log.bak"), "old\n");
  ApplyCommandLine(CommandLineSwitches{});
}
