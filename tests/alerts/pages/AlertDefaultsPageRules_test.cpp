#include "alerts/pages/AlertDefaultsPageRules.h"

#include "alerts/EMailRecord.h"
#include "platform/Sound.h"

#include <gtest/gtest.h>

#include <memory>

TEST(AlertDefaultsRules, AudioEnabling) {
  struct Row {
    const char *name;
    bool audio, standard, custom;
    TAudioEnabling expected;
  };
  const Row rows[] = {
      {"audio off", false, true, false, {false, false, false, false}},
      {"audio off, custom", false, false, true, {false, false, false, false}},
      {"standard", true, true, false, {true, true, true, false}},
      {"custom", true, false, true, {true, true, false, true}},
      {"neither chosen", true, false, false, {true, true, false, false}},
  };
  for (const Row &r : rows)
    EXPECT_EQ(AudioEnabling(r.audio, r.standard, r.custom), r.expected) << r.name;
}

TEST(AlertDefaultsRules, ThresholdTexts) {
  struct Row {
    const char *text;
    bool ok;
    int minutes;
    const char *error;
  };
  const Row rows[] = {
      {"15", true, 15, ""},
      {"007", true, 7, ""},
      {"0", true, 0, ""},
      {"-5", true, -5, ""},
      {"abc", false, 0, "'abc' is not a valid integer value"},
      {"", false, 0, "'' is not a valid integer value"},
      {"1.5", false, 0, "'1.5' is not a valid integer value"},
  };
  for (const Row &r : rows) {
    int minutes = 0;
    std::string error = "unchanged";
    EXPECT_EQ(ParseAlertThreshold(r.text, minutes, error), r.ok) << r.text;
    if (r.ok)
      EXPECT_EQ(minutes, r.minutes) << r.text;
    EXPECT_EQ(error, r.error) << r.text;
  }
}

TEST(AlertDefaultsRules, TemplateEntries) {
  EMailSetupList setups;
  setups.Add("First", std::make_unique<EMailRecord>("AAAAAAA", "", "", "", "First"));
  setups.Add("Second", std::make_unique<EMailRecord>("BBBBBBB", "", "", "", "Second"));
  EXPECT_EQ(TemplateEntryOfID(setups, "BBBBBBB"), 2);
  EXPECT_EQ(TemplateEntryOfID(setups, "AAAAAAA"), 1);
  EXPECT_EQ(TemplateEntryOfID(setups, ""), 0);
  EXPECT_EQ(TemplateEntryOfID(setups, "GONE123"), 0) << "a deleted template selects entry 0";
  EXPECT_EQ(TemplateIDOfEntry(setups, 0), "");
  EXPECT_EQ(TemplateIDOfEntry(setups, 2), "BBBBBBB");
  EXPECT_EQ(TemplateIDOfEntry(setups, 3), "");
  EXPECT_EQ(TemplateIDOfEntry(setups, -1), "");
}

TEST(AlertDefaultsRules, FolderOfFile) {
  EXPECT_EQ(FolderOfFile("/home/me/sounds/bell.wav"), "/home/me/sounds");
  EXPECT_EQ(FolderOfFile("C:\\Sounds\\bell.wav"), "C:\\Sounds");
  EXPECT_EQ(FolderOfFile("bell.wav"), "");
  EXPECT_EQ(FolderOfFile(""), "");
}

TEST(AlertDefaultsRules, TestSoundGoesToTheSoundService) {
  FakeSound sound;
  SetAppSound(&sound);
  EXPECT_TRUE(PlayAlertTestSound(true, 3, "ignored.wav"));
  EXPECT_TRUE(PlayAlertTestSound(false, 0, "/tmp/bell.wav"));
  sound.FailWave("/tmp/broken.wav");
  EXPECT_FALSE(PlayAlertTestSound(false, 0, "/tmp/broken.wav"));
  SetAppSound(nullptr);
  const std::vector<FakeSound::Call> expected{
      {false, 3, ""}, {true, -1, "/tmp/bell.wav"}, {true, -1, "/tmp/broken.wav"}};
  EXPECT_EQ(sound.Calls(), expected);
}
