#include "StoreTestSupport.h"

#include "core/PortfolioFile.h"
#include "core/SaveFailureReport.h"
#include "platform/Prompt.h"
#include "platform/SystemErrorText.h"
#include "support/FileSizeLimit.h"
#include "support/TestPaths.h"

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Save failures are told through the message box service: scripted here.
class PortfolioFileTest : public StoreTest {
protected:
  void SetUp() override {
    StoreTest::SetUp();
    SetAppPrompt(&prompt);
    ResetSaveFailureReports();
  }
  void TearDown() override {
    SetAppPrompt(nullptr);
    ResetSaveFailureReports();
    StoreTest::TearDown();
  }
  // The texts of the boxes shown.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const PromptQuestion &q : prompt.Questions())
      texts.push_back(q.text);
    return texts;
  }
  FakePrompt prompt;
};

std::string ReadAll(const std::string &path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return f.readAll().toStdString();
}

void WriteAll(const std::string &path, const std::string &text) {
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text.data(), qint64(text.size()));
}

std::vector<PortfolioFileEntry> Sample() {
  PortPosition ibm;
  ibm.Symbol = "IBM";
  ibm.Quantity = 100;
  ibm.PaidText = "114 3/4";
  ibm.PricePaid = 114.75f;
  ibm.Commission = 9.95f;
  ibm.Note = "tab\there";
  ibm.LowLimit = 100;
  ibm.HighLimit = 130.5f;
  PortPosition sep;
  sep.Symbol = "-";
  PortPosition cash;
  cash.Symbol = "$CASH";
  cash.Quantity = -2500.5;
  PortPosition shortPos;
  shortPos.Symbol = "XYZ";
  shortPos.Quantity = -0.1;
  shortPos.PaidText = "12.5";
  shortPos.PricePaid = 12.5f;
  return {PortfolioFileEntry{"Main", "MAIN", {ibm, sep, cash}},
          PortfolioFileEntry{"Shorts", "SHORTS", {shortPos}}};
}

TEST(PortfolioFileTextTest, ExactBytes) {
  EXPECT_EQ(PortfolioFileText(Sample()), "TVPORT\t1\n"
                                         "PORTFOLIO\tMain\tMAIN\n"
                                         "POS\tIBM\t100\t114 3/4\t9.95\ttab here\t100\t130.5\n"
                                         "POS\t-\n"
                                         "POS\t$CASH\t-2500.5\t\t0\t\t0\t0\n"
                                         "PORTFOLIO\tShorts\tSHORTS\n"
                                         "POS\tXYZ\t-0.1\t12.5\t0\t\t0\t0\n");
}

TEST(PortfolioFileTextTest, RoundTrip) {
  std::vector<PortfolioFileEntry> expected = Sample();
  expected[0].Positions[0].Note = "tab here";
  const PortfolioFileContent back = ParsePortfolioFileText(PortfolioFileText(Sample()));
  EXPECT_TRUE(back.Problems.empty());
  EXPECT_EQ(back.Portfolios, expected);
}

TEST(PortfolioFileTextTest, DamagedLinesAreReportedAndSkipped) {
  const std::string text = "TVPORT\t1\r\n"
                           "POS\tEARLY\t1\n"                 // 2: before any portfolio
                           "PORTFOLIO\tMain\tMAIN\n"         // 3
                           "POS\tIBM\tmany\t1\t0\t\t0\t0\n"  // 4: bad quantity
                           "POS\tMSFT\t10\t300\t0\t\t0\t0\n" // 5
                           "\n"                              // 6
                           "# a comment\n"                   // 7
                           "HOLDING\tAAPL\n"                 // 8: unknown record
                           "POS\t\t5\n"                      // 9: no symbol
                           "POS\tABCDEFGHIJKLMNOPQ\t5\n"     // 10: symbol too long
                           "POS\tKO\t5\t60\tx\t\t0\t0\n"     // 11: bad commission
                           "POS\tPG\t5\t150\t0\t\t0\tlots\n" // 12: bad limit
                           "PORTFOLIO\tSecond\tmain\n"       // 13: key used twice
                           "POS\tAAPL\t+3\n";                // 14
  const PortfolioFileContent c = ParsePortfolioFileText(text);
  EXPECT_EQ(c.Problems,
            (std::vector<std::string>{
                "port.dat line 2: position before the first portfolio",
                "port.dat line 4: quantity \"many\" is not a number",
                "port.dat line 8: unknown record \"HOLDING\"",
                "port.dat line 9: position without a symbol",
                "port.dat line 10: symbol \"ABCDEFGHIJKLMNOPQ\" is longer than 15 characters",
                "port.dat line 11: commission \"x\" is not a number",
                "port.dat line 12: price limit is not a number",
                "port.dat line 13: key \"main\" is used twice; a new key is given"}));
  ASSERT_EQ(c.Portfolios.size(), 2u);
  ASSERT_EQ(c.Portfolios[0].Positions.size(), 1u);
  EXPECT_EQ(c.Portfolios[0].Positions[0].Symbol, "MSFT");
  EXPECT_FLOAT_EQ(c.Portfolios[0].Positions[0].PricePaid, 300);
  EXPECT_EQ(c.Portfolios[1].Key, "");
  ASSERT_EQ(c.Portfolios[1].Positions.size(), 1u);
  EXPECT_EQ(c.Portfolios[1].Positions[0].Quantity, 3);
}

TEST(PortfolioFileTextTest, ShippedSampleHasTwoPortfolios) {
  PortfolioFileContent c;
  std::string error;
  ASSERT_TRUE(ReadPortfolioFile(TestDataPath("port.dat"), c, error)) << error;
  EXPECT_TRUE(c.Problems.empty());
  ASSERT_EQ(c.Portfolios.size(), 2u);
  const auto &income = c.Portfolios[1].Positions;
  EXPECT_TRUE(std::any_of(income.begin(), income.end(),
                          [](const PortPosition &p) { return p.IsSeparator(); }));
  EXPECT_TRUE(
      std::any_of(income.begin(), income.end(), [](const PortPosition &p) { return p.IsCash(); }));
}

TEST_F(PortfolioFileTest, SaveAndLoadThroughTheGlobalList) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("port.dat").toStdString();
  for (const auto &e : Sample())
    PortfolioList.Add(e.Name, e.Key, e.Positions);
  ASSERT_TRUE(SavePortfolios(path));
  const std::string bytes = ReadAll(path);
  EXPECT_EQ(bytes, PortfolioFileText(Sample()));

  PortfolioList.Clear();
  ASSERT_TRUE(LoadPortfolios(path));
  ASSERT_EQ(PortfolioList.Count(), 2);
  EXPECT_EQ(PortfolioList.DisplayName(1), "Main");
  EXPECT_EQ(PortfolioList[2].Key, "SHORTS");
  EXPECT_EQ(PortfolioList[1].Positions[0].PaidText, "114 3/4");
  EXPECT_TRUE(reports.empty());
}

TEST_F(PortfolioFileTest, LoadReportsDamagedLinesAndKeepsTheRest) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("port.dat").toStdString();
  WriteAll(path, "PORTFOLIO\tMain\tMAIN\nPOS\tIBM\tx\nPOS\tMSFT\t2\n");
  ASSERT_TRUE(LoadPortfolios(path));
  ASSERT_EQ(PortfolioList.Count(), 1);
  ASSERT_EQ(PortfolioList[1].Count(), 1);
  EXPECT_EQ(PortfolioList[1].Positions[0].Symbol, "MSFT");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].second, "LoadPortfolios");
  EXPECT_NE(reports[0].first.find("port.dat line 2: quantity \"x\" is not a number"),
            std::string::npos);
}

TEST_F(PortfolioFileTest, AHugeDamagedFieldIsQuotedShortInTheReport) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("port.dat").toStdString();
  const std::string huge(2 * 1024 * 1024, '7');
  const std::string longSymbol = "S" + std::string(100000, 'Y');
  WriteAll(path, "TVPORT\t" + huge + "x\nPORTFOLIO\tMain\tMAIN\nPOS\tIBM\t" + huge +
                     "x\t1\nPOS\tKO\t1\t1\t" + huge + "x\nPOS\t" + longSymbol +
                     "\t1\nPOS\tMSFT\t2\n");
  ASSERT_TRUE(LoadPortfolios(path));
  ASSERT_EQ(PortfolioList[1].Count(), 1);
  ASSERT_EQ(reports.size(), 1u);
  const std::string q40 = std::string(40, '7');
  EXPECT_EQ(reports[0].first, "Damaged lines were skipped:\n"
                              "port.dat line 1: bad header\n"
                              "port.dat line 3: quantity \"" +
                                  q40 +
                                  "\" is not a number\n"
                                  "port.dat line 4: commission \"" +
                                  q40 +
                                  "\" is not a number\n"
                                  "port.dat line 5: symbol \"S" +
                                  std::string(39, 'Y') + "\" is longer than 15 characters\n");
}

TEST_F(PortfolioFileTest, MissingFileGivesAnEmptyList) {
  QTemporaryDir dir;
  PortfolioList.Add("Old", "OLD");
  EXPECT_TRUE(LoadPortfolios(dir.filePath("port.dat").toStdString()));
  EXPECT_EQ(PortfolioList.Count(), 0);
  EXPECT_TRUE(reports.empty());
}

TEST_F(PortfolioFileTest, FailedWriteLeavesTheOldFile) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("port.dat").toStdString();
  WriteAll(path, "old contents");
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  PortfolioList.Add("Main", "MAIN");
  const bool saved = SavePortfolios(path);
  QFile::setPermissions(dir.path(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  if (saved)
    GTEST_SKIP() << "the folder stayed writable (running as root?)";
  EXPECT_EQ(ReadAll(path), "old contents");
  ASSERT_EQ(prompt.QuestionCount(), 1u);
}

TEST_F(PortfolioFileTest, AFullDiskLeavesTheOldFileWhole) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("port.dat").toStdString();
  WriteAll(path, "old contents");
  for (const auto &e : Sample())
    PortfolioList.Add(e.Name, e.Key, e.Positions);
  bool saved;
  {
    FileSizeLimit full(16);
    ASSERT_TRUE(full.Active());
    saved = SavePortfolios(path);
  }
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadAll(path), "old contents");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"port.dat"});
  EXPECT_EQ(Boxes(), std::vector<std::string>{SaveFailureBoxText(
                         "the portfolios", "cannot write " + path + ": " + SystemErrorText(EFBIG))});
}

TEST_F(PortfolioFileTest, SaveIntoAMissingFolderFailsAndReports) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("gone/port.dat").toStdString();
  PortfolioList.Add("Main", "MAIN");
  EXPECT_FALSE(SavePortfolios(path));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_NE(Boxes()[0].find("cannot write"), std::string::npos);
}

} // namespace
