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

TEST(ProgramCopies, TheSecondCopyBringsTheFirstToTheFrontAndEnds) {
  QTemporaryDir home;
  const auto log = [&home] {
    QFile f(home.filePath("bourse.log"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
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

} // namespace
