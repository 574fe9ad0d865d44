#include "core/DataFolderAccess.h"
#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "platform/Prompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// While alive, this thread meets file permissions as a user who owns nothing
// here (the super-user included, whom permissions do not bind otherwise).
class NobodysFilePermissions {
public:
  NobodysFilePermissions() : m_old(setfsuid(kNobody)) {}
  ~NobodysFilePermissions() { setfsuid(m_old); }
  bool Active() const { return setfsuid(-1) == int(kNobody); }

private:
  static constexpr uid_t kNobody = 65534;
  int m_old;
};

TEST(DataFolderAccessTest, AReadOnlyDataFolderIsToldAtStartInABoxAndTheLog) {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString() + "/";
  FakePrompt prompt;
  SetAppPrompt(&prompt);
  SetProgramFolder(folder);
  StartLogging(0);
  WriteLog("test");

  EXPECT_TRUE(WarnIfDataFolderReadOnly(folder));
  EXPECT_EQ(prompt.QuestionCount(), 0u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"bourse.log"})
      << "the probe leaves nothing behind";

  // The log stays writable, as a file can be in a folder that is not.
  ASSERT_EQ(chmod(dir.filePath("bourse.log").toLocal8Bit().constData(), 0666), 0);
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  bool writable = true;
  {
    NobodysFilePermissions nobody;
    if (geteuid() == 0)
      ASSERT_TRUE(nobody.Active());
    writable = WarnIfDataFolderReadOnly(folder);
  }
  chmod(folder.c_str(), 0755);
  StopLogging();
  SetAppPrompt(nullptr);
  SetProgramFolder("");
  EXPECT_FALSE(writable);
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  const PromptQuestion asked = prompt.Questions()[0];
  const std::string text = "The data folder " + folder +
                           " cannot be written (Permission denied). Settings, portfolios and "
                           "alerts will not be saved, and another copy of the program started "
                           "on this folder will not be noticed.";
  EXPECT_EQ(asked.text, text);
  EXPECT_EQ(asked.icon, mtWarning);
  QFile log(dir.filePath("bourse.log"));
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  EXPECT_TRUE(log.readAll().toStdString().find(text) != std::string::npos);
}

} // namespace
