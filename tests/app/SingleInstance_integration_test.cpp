// The program itself, started twice on one data folder.
#include "support/EventWait.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

// One run of the program with its own data folder, started with posix_spawn
// (as the test mail server is) and killed at the end if still running.
class ProgramRun {
public:
  ~ProgramRun() {
    if (m_pid > 0 && !m_ended) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  bool Start(const std::string &home, const std::vector<std::string> &arguments) {
    std::vector<std::string> env{"TICKVANE_HOME=" + home, "QT_QPA_PLATFORM=offscreen"};
    for (char **e = environ; *e; ++e)
      if (std::string(*e).rfind("TICKVANE_HOME=", 0) != 0 &&
          std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0)
        env.emplace_back(*e);
    std::vector<std::string> args{TV_PROGRAM_PATH};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv, envp;
    for (auto &a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto &e : env)
      envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int rc = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0;
  }
  // Whether it ended (polling); its exit status then in Status().
  bool Ended() {
    if (!m_ended && waitpid(m_pid, &m_status, WNOHANG) == m_pid)
      m_ended = true;
    return m_ended;
  }
  int Status() const { return m_status; }

private:
  pid_t m_pid = -1;
  bool m_ended = false;
  int m_status = 0;
};

// The program's copies start and end at their own pace.
constexpr int kProgramWaitMs = 60000;

// The program's log in its data folder, as far as written.
QByteArray LogOf(const QTemporaryDir &home) {
  QFile f(home.filePath("bourse.log"));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ProgramCopies, TheSecondCopyBringsTheFirstToTheFrontAndEnds) {
  QTemporaryDir home;
  const auto log = [&home] { return LogOf(home); };
  ProgramRun first;
  ASSERT_TRUE(first.Start(home.path().toStdString(), {"LOG"}));
  // Its alerts are loaded once it holds the folder and listens.
  ASSERT_TRUE(PollUntil([&] { return log().contains("NewAlerts Init 3") || first.Ended(); },
                        kProgramWaitMs));
  ASSERT_FALSE(first.Ended()) << log().toStdString();

  ProgramRun second;
  ASSERT_TRUE(second.Start(home.path().toStdString(), {"LOG"}));
  ASSERT_TRUE(PollUntil([&] { return second.Ended(); }, kProgramWaitMs));
  EXPECT_TRUE(WIFEXITED(second.Status()));
  EXPECT_EQ(WEXITSTATUS(second.Status()), 0);
  EXPECT_TRUE(PollUntil(
      [&] { return log().contains("Another copy was started: coming to the front"); },
      kProgramWaitMs))
      << log().toStdString();
  const QByteArray text = log();
  EXPECT_TRUE(text.contains(" dup found! terminating\n")) << text.toStdString();
  EXPECT_FALSE(text.contains("did not answer")) << text.toStdString();
  // The second copy appended to the first one's log instead of moving it aside.
  EXPECT_EQ(text.count("START"), 2) << text.toStdString();
  EXPECT_FALSE(QFile::exists(home.filePath("bourse.log.bak")));
  EXPECT_FALSE(first.Ended());
}

TEST(ProgramStart, RemovesOnlyWhatItsOwnKilledSavesLeft) {
  QTemporaryDir home;
  const auto make = [&home](const char *name) {
    QFile f(home.filePath(QString::fromLatin1(name)));
    return f.open(QIODevice::WriteOnly) && f.write("the user's own copy\n") > 0;
  };
  const char *const users[] = {"port.dat.backup",   "port.dat.202401",   "BOURSE.INI.backup",
                               "BOURSE.INI.before", "ALERTS.DAT.backup", "ALERTS.DAT.copy01",
                               "port.dat.Ab3xY9",   "BOURSE.INI.k2L9mZ"};
  const char *const leftovers[] = {"port.dat.tickvane-save-Ab3xY9",
                                   "BOURSE.INI.tickvane-save-k2L9mZ",
                                   "ALERTS.DAT.tickvane-save-Qq1234"};
  for (const char *name : users)
    ASSERT_TRUE(make(name)) << name;
  for (const char *name : leftovers)
    ASSERT_TRUE(make(name)) << name;
  const auto log = [&home] { return LogOf(home); };

  ProgramRun program;
  ASSERT_TRUE(program.Start(home.path().toStdString(), {"LOG"}));
  ASSERT_TRUE(PollUntil([&] { return log().contains("NewAlerts Init 3") || program.Ended(); },
                        kProgramWaitMs));
  ASSERT_FALSE(program.Ended()) << log().toStdString();
  for (const char *name : users)
    EXPECT_TRUE(QFile::exists(home.filePath(QString::fromLatin1(name)))) << name;
  for (const char *name : leftovers) {
    EXPECT_FALSE(QFile::exists(home.filePath(QString::fromLatin1(name)))) << name;
    EXPECT_TRUE(log().contains(QByteArray("Removed the temporary file ") +
                               home.filePath(QString::fromLatin1(name)).toUtf8()))
        << log().toStdString();
  }
}

} // namespace
