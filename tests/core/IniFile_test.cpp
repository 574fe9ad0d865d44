#include "core/IniFile.h"

#include "core/ProgramFolder.h"
#include "platform/SystemErrorText.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ReadAll(const std::string &path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly))
    return "<missing>";
  const QByteArray b = f.readAll();
  return std::string(b.constData(), std::size_t(b.size()));
}

void WriteAll(const std::string &path, const std::string &text) {
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text.data(), qint64(text.size()));
}

class IniFileTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  std::string Path(const char *name) const { return dir.path().toStdString() + "/" + name; }
};

const char *kSample = "; settings of the program\n"
                      "[Bourse]\n"
                      "Scheme=Dark\n"
                      "RefreshRate=60\n"
                      "\n"
                      "[Unknown Area]\n"
                      "Something = with blanks \n"
                      "just a line without equals\n"
                      "\n"
                      "[Alert]\n"
                      "Popup=YES\n";

} // namespace

TEST_F(IniFileTest, MissingFileReadsAsEmpty) {
  TMyIniFile ini(Path("none.ini"));
  EXPECT_EQ(ini.ReadString("A", "B", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("A", "B", 7), 7);
  EXPECT_FALSE(ini.SectionExists("A"));
  EXPECT_TRUE(ini.ReadSection("A").empty());
}

TEST_F(IniFileTest, LookupsIgnoreLetterCase) {
  WriteAll(Path("b.ini"), kSample);
  TMyIniFile ini(Path("b.ini"));
  EXPECT_EQ(ini.ReadString("bourse", "SCHEME", ""), "Dark");
  EXPECT_EQ(ini.ReadInteger("BOURSE", "refreshrate", 0), 60);
  EXPECT_EQ(ini.ReadString("unknown area", "something", ""), "with blanks");
  EXPECT_TRUE(ini.SectionExists("ALERT"));
  EXPECT_TRUE(ini.ValueExists("alert", "popup"));
  EXPECT_FALSE(ini.ValueExists("alert", "flash"));
  EXPECT_TRUE(ini.ReadBool("Alert", "Popup", false));
}

TEST_F(IniFileTest, RoundTripKeepsUnknownContentOrderAndSpelling) {
  WriteAll(Path("b.ini"), kSample);
  TMyIniFile ini(Path("b.ini"));
  ASSERT_TRUE(ini.WriteString("BOURSE", "SCHEME", "Light"));
  ASSERT_TRUE(ini.WriteString("alert", "Flash", "NO"));
  ASSERT_TRUE(ini.WriteInteger("Ticker", "Speed", 3));
  EXPECT_EQ(ReadAll(Path("b.ini")), "; settings of the program\n"
                                    "[Bourse]\n"
                                    "Scheme=Light\n"
                                    "RefreshRate=60\n"
                                    "\n"
                                    "[Unknown Area]\n"
                                    "Something = with blanks \n"
                                    "just a line without equals\n"
                                    "\n"
                                    "[Alert]\n"
                                    "Popup=YES\n"
                                    "Flash=NO\n"
                                    "\n"
                                    "[Ticker]\n"
                                    "Speed=3\n");
  TMyIniFile again(Path("b.ini"));
  EXPECT_EQ(again.ReadString("Ticker", "Speed", ""), "3");
  EXPECT_EQ(again.ReadSections(),
            (std::vector<std::string>{"Bourse", "Unknown Area", "Alert", "Ticker"}));
}

TEST_F(IniFileTest, NewKeyGoesBeforeTheBlankLinesOfItsSection) {
  WriteAll(Path("b.ini"), kSample);
  TMyIniFile ini(Path("b.ini"));
  ASSERT_TRUE(ini.WriteString("Bourse", "New", "1"));
  EXPECT_EQ(ini.ReadSection("Bourse"), (std::vector<std::string>{"Scheme", "RefreshRate", "New"}));
  EXPECT_NE(ReadAll(Path("b.ini")).find("RefreshRate=60\nNew=1\n\n[Unknown Area]"),
            std::string::npos);
}

TEST_F(IniFileTest, CrLfFilesStayCrLf) {
  WriteAll(Path("w.ini"), "[A]\r\nx=1\r\n");
  TMyIniFile ini(Path("w.ini"));
  EXPECT_EQ(ini.ReadString("a", "X", ""), "1");
  ASSERT_TRUE(ini.WriteString("A", "y", "2"));
  EXPECT_EQ(ReadAll(Path("w.ini")), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST_F(IniFileTest, SectionValuesEraseAndDelete) {
  WriteAll(Path("b.ini"), kSample);
  TMyIniFile ini(Path("b.ini"));
  EXPECT_EQ(ini.ReadSectionValues("Bourse"),
            (std::vector<std::string>{"Scheme=Dark", "RefreshRate=60"}));
  ASSERT_TRUE(ini.EraseSection("unknown AREA"));
  EXPECT_FALSE(ini.SectionExists("Unknown Area"));
  ASSERT_TRUE(ini.DeleteKey("BOURSE", "scheme"));
  EXPECT_EQ(ReadAll(Path("b.ini")), "; settings of the program\n"
                                    "[Bourse]\n"
                                    "RefreshRate=60\n"
                                    "\n"
                                    "[Alert]\n"
                                    "Popup=YES\n");
  EXPECT_TRUE(ini.EraseSection("NotThere"));
  EXPECT_TRUE(ini.DeleteKey("Bourse", "NotThere"));
}

TEST_F(IniFileTest, ReadIntegerAndBoolForms) {
  WriteAll(Path("n.ini"),
           "[N]\na=-12\nb=0x1F\nc=$10\nd=12abc\ne=\nf=99999999999\ng=no\nh=Y\ni=maybe\n");
  TMyIniFile ini(Path("n.ini"));
  EXPECT_EQ(ini.ReadInteger("N", "a", 0), -12);
  EXPECT_EQ(ini.ReadInteger("N", "b", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "c", 0), 16);
  EXPECT_EQ(ini.ReadInteger("N", "d", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "e", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "f", 5), 5);
  EXPECT_FALSE(ini.ReadBool("N", "g", true));
  EXPECT_TRUE(ini.ReadBool("N", "h", false));
  EXPECT_TRUE(ini.ReadBool("N", "i", true));
  ASSERT_TRUE(ini.WriteBool("N", "j", true));
  EXPECT_EQ(ini.ReadString("N", "j", ""), "1");
}

TEST_F(IniFileTest, LineBreaksInValuesCannotInjectKeys) {
  TMyIniFile ini(Path("x.ini"));
  ASSERT_TRUE(ini.WriteString("A", "k", "one\n[B]\nevil=1"));
  EXPECT_FALSE(ini.SectionExists("B"));
  EXPECT_EQ(ini.ReadString("A", "k", ""), "one [B] evil=1");
  EXPECT_FALSE(ini.WriteString("A", "bad=key", "v"));
  EXPECT_FALSE(ini.WriteString("A]", "k", "v"));
  EXPECT_FALSE(ini.LastError().empty());
}

TEST_F(IniFileTest, SeesChangesMadeOnDisk) {
  WriteAll(Path("c.ini"), "[A]\nx=1\n");
  TMyIniFile ini(Path("c.ini"));
  EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
  WriteAll(Path("c.ini"), "[A]\nx=22\n");
  EXPECT_EQ(ini.ReadString("A", "x", ""), "22");
}

TEST_F(IniFileTest, FailedWriteLeavesOldFileAndReports) {
  if (geteuid() == 0)
    GTEST_SKIP() << "permissions do not bind the super-user";
  const std::string folder = Path("ro");
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
  const std::string file = folder + "/s.ini";
  WriteAll(file, "[A]\nx=1\n");
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  TMyIniFile ini(file);
  EXPECT_FALSE(ini.WriteString("A", "x", "2"));
  EXPECT_FALSE(ini.LastError().empty());
  EXPECT_EQ(ReadAll(file), "[A]\nx=1\n");
  EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
  chmod(folder.c_str(), 0755);
}

TEST_F(IniFileTest, FailedWriteOnAFullDiskLeavesOldFile) {
  // A file-size limit makes every write past 16 bytes fail, for any user.
  const std::string file = Path("full.ini");
  WriteAll(file, "[A]\nx=1\n");
  TMyIniFile ini(file);
  EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
  bool written;
  {
    FileSizeLimit full(16);
    ASSERT_TRUE(full.Active());
    written = ini.WriteString("A", "x", "a value far longer than sixteen bytes");
  }
  EXPECT_FALSE(written);
  // The system's reason, not the text of the cancelled write.
  EXPECT_EQ(ini.LastError(), SystemErrorText(EFBIG));
  EXPECT_EQ(ReadAll(file), "[A]\nx=1\n");
  EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"full.ini"});
}

TEST_F(IniFileTest, FailedWriteIntoAMissingFolderReports) {
  TMyIniFile ini(Path("no/such/folder/s.ini"));
  EXPECT_FALSE(ini.WriteString("A", "x", "2"));
  EXPECT_FALSE(ini.LastError().empty());
  EXPECT_EQ(ini.ReadString("A", "x", "none"), "none");
}

TEST_F(IniFileTest, SettingsFileRestoredFromCopy) {
  SetProgramFolder(dir.path().toStdString());
  WriteAll(Path("BOURSE.IN_"), "[Bourse]\nScheme=Saved\n");
  OpenSettingsFile();
  EXPECT_EQ(SettingsFile().FileName(), Path("BOURSE.INI"));
  EXPECT_EQ(SettingsFile().ReadString("Bourse", "Scheme", ""), "Saved");
  EXPECT_EQ(ReadAll(Path("BOURSE.INI")), "[Bourse]\nScheme=Saved\n");
  ASSERT_TRUE(SettingsFile().WriteString("Bourse", "Scheme", "Now"));
  ASSERT_TRUE(BackupSettingsFile());
  EXPECT_EQ(ReadAll(Path("BOURSE.IN_")), "[Bourse]\nScheme=Now\n");
  SetProgramFolder("");
}
