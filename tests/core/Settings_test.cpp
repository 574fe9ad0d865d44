#include "core/AlertDefaults.h"
#include "core/DisplaySettings.h"
#include "core/IniFile.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(AlertDefaultsTest, StartUpDefaultsFromAnEmptyFile) {
  QTemporaryDir dir;
  TMyIniFile ini(dir.path().toStdString() + "/s.ini");
  const TAlertDefaults d = ReadAlertDefaults(ini);
  EXPECT_TRUE(d.Popup);
  EXPECT_TRUE(d.Flash);
  EXPECT_TRUE(d.HighRow);
  EXPECT_FALSE(d.Audio);
  EXPECT_TRUE(d.ASystem);
  EXPECT_FALSE(d.ACustom);
  EXPECT_EQ(d.System, 0);
  EXPECT_EQ(d.Custom, "");
  EXPECT_EQ(d.DEFEML, "");
  EXPECT_FALSE(d.AutoSave);
  EXPECT_EQ(d.Length, 0);
}

TEST(AlertDefaultsTest, WritesKeysInOrderAndReadsBack) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/s.ini";
  TMyIniFile ini(path.toStdString());
  TAlertDefaults d;
  d.Popup = false;
  d.Audio = true;
  d.System = 3;
  d.Custom = "/snd/ding.wav";
  d.DEFEML = "TEMPLATE9"; // cut to 7
  d.AutoSave = true;
  d.Length = 15;
  ASSERT_TRUE(WriteAlertDefaults(ini, d));
  EXPECT_EQ(ReadAll(path), "[Alert]\n"
                           "Popup=NO\n"
                           "Flash=YES\n"
                           "AutoSave=YES\n"
                           "Audio=YES\n"
                           "HighRow=YES\n"
                           "ASystem=YES\n"
                           "ACustom=NO\n"
                           "System=3\n"
                           "Custom=/snd/ding.wav\n"
                           "DEFEML=TEMPLAT\n"
                           "Length=15\n");
  const TAlertDefaults r = ReadAlertDefaults(ini);
  EXPECT_FALSE(r.Popup);
  EXPECT_TRUE(r.Audio);
  EXPECT_EQ(r.System, 3);
  EXPECT_EQ(r.DEFEML, "TEMPLAT");
  EXPECT_EQ(r.Length, 15);
}

TEST(AlertDefaultsTest, BooleansAreTrueExactlyForYes) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/s.ini";
  WriteAll(path, "[alert]\npopup=yes\nFlash=Y\nAudio=YES\n");
  TMyIniFile ini(path.toStdString());
  const TAlertDefaults d = ReadAlertDefaults(ini);
  EXPECT_FALSE(d.Popup);
  EXPECT_FALSE(d.Flash);
  EXPECT_TRUE(d.Audio);
}

TEST(DisplaySettingsTest, MiscDefaultsAndYesNoRoundTrip) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/s.ini";
  TMyIniFile ini(path.toStdString());
  TDisplaySettings d = ReadDisplaySettings(ini);
  EXPECT_TRUE(d.Stripes);
  EXPECT_TRUE(d.HighBidAsk);
  EXPECT_TRUE(d.Highs);
  EXPECT_TRUE(d.Lows);
  EXPECT_TRUE(d.SolidHL);
  EXPECT_TRUE(d.HiWhole);
  EXPECT_FALSE(d.NoSign);
  EXPECT_FALSE(d.Fractions);
  d.NoSign = true;
  d.Fractions = true;
  d.ValuationPrice = TDisplaySettings::PriceAsk;
  d.NewsSource = "news.nws";
  d.HighPriority = "IBM MSFT";
  d.ExcludeRules = {"S:spam", "T:*offer*"};
  d.TwoPanes = true;
  ASSERT_TRUE(WriteDisplaySettings(ini, d));
  const TDisplaySettings r = ReadDisplaySettings(ini);
  EXPECT_TRUE(r.NoSign);
  EXPECT_TRUE(r.Fractions);
  EXPECT_EQ(r.ValuationPrice, TDisplaySettings::PriceAsk);
  EXPECT_EQ(r.NewsSource, "news.nws");
  EXPECT_EQ(r.HighPriority, "IBM MSFT");
  EXPECT_EQ(r.ExcludeRules, d.ExcludeRules);
  EXPECT_TRUE(r.TwoPanes);
  EXPECT_NE(ReadAll(path).find("[Misc]\nStripes=YES\n"), std::string::npos);
  // Fewer rules later leave no stale ones behind.
  d.ExcludeRules = {"U:ads"};
  ASSERT_TRUE(WriteDisplaySettings(ini, d));
  EXPECT_EQ(ReadDisplaySettings(ini).ExcludeRules, std::vector<std::string>{"U:ads"});
}

// The settings are written in one save, and not at all when nothing changed
// (each save is a synced write; closing the preferences with OK writes them).
// No write at all is seen as one that cannot fail on a full disk.
TEST(DisplaySettingsTest, WrittenInOneSaveAndOnlyWhenChanged) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/s.ini";
  WriteAll(path, "; mine\n[Other]\nKey=1\n");
  TMyIniFile ini(path.toStdString());
  TDisplaySettings d = ReadDisplaySettings(ini);
  d.ExcludeRules = {"S:spam"};
  ASSERT_TRUE(WriteDisplaySettings(ini, d));
  const std::string written = ReadAll(path);
  EXPECT_EQ(written.rfind("; mine\n[Other]\nKey=1\n\n[Misc]\nStripes=YES\n", 0), 0u);
  {
    FileSizeLimit full(0);
    ASSERT_TRUE(full.Active());
    EXPECT_TRUE(WriteDisplaySettings(ini, d)); // the same values: nothing to write
    d.Fractions = true;
    EXPECT_FALSE(WriteDisplaySettings(ini, d)); // a change that cannot be saved
  }
  EXPECT_EQ(ReadAll(path), written);
  EXPECT_FALSE(ReadDisplaySettings(ini).Fractions);
  ASSERT_TRUE(WriteDisplaySettings(ini, d));
  EXPECT_TRUE(ReadDisplaySettings(ini).Fractions);
  EXPECT_EQ(ReadDisplaySettings(ini).ExcludeRules, d.ExcludeRules);
}

TEST(DisplaySettingsTest, PendingCopyIsIndependentUntilApplied) {
  TDisplaySettings live;
  live.ExcludeRules = {"S:one"};
  SetDisplaySettings(live);
  BeginPendingDisplaySettings();
  PendingDisplaySettings().ExcludeRules.push_back("T:two");
  PendingDisplaySettings().Fractions = true;
  EXPECT_EQ(CurrentDisplaySettings().ExcludeRules.size(), 1u);
  EXPECT_FALSE(FractionDisplay());
  ApplyPendingDisplaySettings();
  EXPECT_EQ(CurrentDisplaySettings().ExcludeRules.size(), 2u);
  EXPECT_TRUE(FractionDisplay());
  SetDisplaySettings(TDisplaySettings{});
  EXPECT_FALSE(FractionDisplay());
}

TEST(DisplaySettingsTest, UpdatedPortfoliosUnderSportLock) {
  TakeUpdatedPortfolios();
  ASSERT_TRUE(AppendUpdatedPortfolio("P1KEY"));
  ASSERT_TRUE(AppendUpdatedPortfolio("P2KEY"));
  EXPECT_EQ(UpdatedPortfoliosText(), " P1KEY  P2KEY ");
  EXPECT_EQ(TakeUpdatedPortfolios(), (std::vector<std::string>{"P1KEY", "P2KEY"}));
  EXPECT_EQ(UpdatedPortfoliosText(), "");
  EXPECT_EQ(UpdatedPortfoliosLock().Name(), "SPORT");
  EXPECT_EQ(UpdatedPortfoliosLock().Owner(), "EMPTY");

  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t)
    writers.emplace_back([] {
      for (int i = 0; i < 100; ++i)
        AppendUpdatedPortfolio("K");
    });
  std::size_t taken = 0;
  for (int i = 0; i < 50; ++i)
    taken += TakeUpdatedPortfolios().size();
  for (auto &w : writers)
    w.join();
  taken += TakeUpdatedPortfolios().size();
  EXPECT_EQ(taken, 400u);
}

TEST(DisplaySettingsTest, IndexSymbolsText) {
  SetIndexSymbolsText("^DJI ^IXIC");
  EXPECT_EQ(IndexSymbolsText(), "^DJI ^IXIC");
  SetIndexSymbolsText("");
}
