#include "StoreTestSupport.h"

#include "core/IniFile.h"
#include "core/PortfolioFile.h"
#include "core/ProgramFolder.h"
#include "core/SingleInstance.h"
#include "core/StaleSaveFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <chrono>
#include <future>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string FolderOf(const QTemporaryDir &dir) { return dir.path().toStdString() + "/"; }

// Runs the window thread's events until the future is ready.
template <class T> T Await(std::future<T> &result) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready &&
         std::chrono::steady_clock::now() < deadline)
    QCoreApplication::processEvents();
  return result.get();
}

TEST(SingleInstanceTest, ASecondCopyIsRefusedAndBringsTheFirstToTheFront) {
  QTemporaryDir dir;
  int calls = 0;
  {
    TSingleInstance first(FolderOf(dir));
    first.SetOnComeToFront([&calls] { ++calls; });
    ASSERT_TRUE(first.Claim());
    EXPECT_TRUE(DataFolderHeldAlone());
    EXPECT_TRUE(QFile::exists(dir.filePath(TSingleInstance::LockFileName)));

    // Another spelling of the same folder is the same folder.
    TSingleInstance second(dir.path().toStdString() + "/./");
    EXPECT_FALSE(second.Claim());
    std::future<bool> asked =
        std::async(std::launch::async, [&second] { return second.AskFirstToComeToFront(); });
    EXPECT_TRUE(Await(asked));
    EXPECT_EQ(calls, 1);
  }
  EXPECT_FALSE(DataFolderHeldAlone());
  TSingleInstance third(FolderOf(dir));
  EXPECT_TRUE(third.Claim()) << "the folder is free once the first copy ends";

  QTemporaryDir other;
  TSingleInstance elsewhere(FolderOf(other));
  EXPECT_TRUE(elsewhere.Claim()) << "another data folder is another program";
}

TEST(SingleInstanceTest, TheLockOfACopyThatDiedIsTakenOver) {
  QTemporaryDir dir;
  const QString lockPath = dir.filePath(TSingleInstance::LockFileName);
  // A lock file as a copy writes it, but naming a process that has ended.
  QByteArray contents;
  {
    QLockFile real(lockPath);
    ASSERT_TRUE(real.tryLock(0));
    QFile f(lockPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    contents = f.readAll();
    real.unlock();
  }
  const pid_t child = fork();
  if (child == 0)
    _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  contents = QByteArray::number(child) + contents.mid(contents.indexOf('\n'));
  {
    QFile f(lockPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contents);
  }
  TSingleInstance copy(FolderOf(dir));
  EXPECT_TRUE(copy.Claim());
  EXPECT_TRUE(copy.Claimed());
}

TEST(SingleInstanceTest, DuplicatesAreAllowedBySwitchOrParameter) {
  EXPECT_FALSE(DuplicatesAllowed(false, "NO"));
  EXPECT_FALSE(DuplicatesAllowed(false, ""));
  EXPECT_FALSE(DuplicatesAllowed(false, "Y"));
  EXPECT_TRUE(DuplicatesAllowed(false, "YES"));
  EXPECT_TRUE(DuplicatesAllowed(false, " yes "));
  EXPECT_TRUE(DuplicatesAllowed(true, "NO"));
}

// ---- Temporary files of saves that were killed

class StaleSaveFilesTest : public StoreTest {
protected:
  void Make(const QString &name, int ageSeconds) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(name.startsWith("port.dat") ? "PORTFOLIO\tMain\tMAIN\n" : "partial");
    f.flush(); // else closing would write, and date, the file afresh
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                              QFileDevice::FileModificationTime));
  }
  std::string Files() const {
    QStringList names = QDir(dir.path()).entryList(QDir::Files);
    names.removeAll(TSingleInstance::LockFileName);
    names.sort();
    return names.join(' ').toStdString();
  }
  QTemporaryDir dir;
};

TEST_F(StaleSaveFilesTest, StartUpRemovesWhatKilledSavesLeftAndNothingElse) {
  const int old = 3600;
  Make("port.dat", old);
  Make("port.dat.tickvane-save-Ab3xY9", old); // left by a killed save
  Make("port.dat.tickvane-save-Qq1234", 0);   // may be another copy's save in progress
  Make("port.dat.tickvane-save-abc", old);    // not our temporary name
  Make("Port.dat.tickvane-save-Zz9xY8", old); // another file's
  Make("BOURSE.INI.tickvane-save-k2L9mZ", old);
  Make("BOURSE.IN_.tickvane-save-p0O9i8", old);
  // The user's own copies, whatever their names.
  for (const char *name : {"port.dat.backup", "port.dat.202401", "port.dat.bad123",
                           "BOURSE.INI.before", "BOURSE.INI.k2L9mZ"})
    Make(name, old);

  ASSERT_TRUE(LoadPortfolios(dir.filePath("port.dat").toStdString()));
  const std::string users = "BOURSE.INI.before BOURSE.INI.k2L9mZ ";
  EXPECT_EQ(Files(), users + "BOURSE.INI.tickvane-save-k2L9mZ BOURSE.IN_.tickvane-save-p0O9i8 "
                             "Port.dat.tickvane-save-Zz9xY8 port.dat port.dat.202401 "
                             "port.dat.backup port.dat.bad123 port.dat.tickvane-save-Qq1234 "
                             "port.dat.tickvane-save-abc");

  // Holding the folder alone, nothing can be saving there but us.
  TSingleInstance instance(FolderOf(dir));
  ASSERT_TRUE(instance.Claim());
  ASSERT_TRUE(LoadPortfolios(dir.filePath("port.dat").toStdString()));
  const std::string savedFolder = ProgramFolder();
  SetProgramFolder(FolderOf(dir));
  OpenSettingsFile();
  SetProgramFolder(savedFolder);
  OpenSettingsFile();
  EXPECT_EQ(Files(), users + "Port.dat.tickvane-save-Zz9xY8 port.dat port.dat.202401 "
                             "port.dat.backup port.dat.bad123 port.dat.tickvane-save-abc");
}

} // namespace
