#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "core/AlertDefaults.h"
#include "core/DisplaySettings.h"

#include <gtest/gtest.h>

namespace {

struct DefaultsCase {
  const char *name;
  TAlertDefaults defaults;
  std::uint8_t actions;
  int soundIndex;
  const char *waveFile;
};

TAlertDefaults Defaults(bool popup, bool flash, bool highRow, bool audio, bool aSystem,
                        bool aCustom, int system, const char *custom) {
  TAlertDefaults d;
  d.Popup = popup;
  d.Flash = flash;
  d.HighRow = highRow;
  d.Audio = audio;
  d.ASystem = aSystem;
  d.ACustom = aCustom;
  d.System = system;
  d.Custom = custom;
  return d;
}

class CreateFromDefaults : public ::testing::TestWithParam<DefaultsCase> {};

TEST_P(CreateFromDefaults, SetsActionsAndSound) {
  const DefaultsCase &c = GetParam();
  const auto alert = TAlertRecord::Create(c.defaults);
  EXPECT_EQ(alert->Actions.Bits(), c.actions);
  EXPECT_EQ(alert->SoundIndex, c.soundIndex);
  EXPECT_EQ(alert->WaveFile, c.waveFile);
  // The rest is the same for every set of defaults.
  EXPECT_EQ(alert->Symbol, "");
  EXPECT_EQ(alert->ID, "");
  EXPECT_EQ(alert->AlertType, 0);
  EXPECT_EQ(alert->P1 + alert->P2 + alert->P3 + alert->P4 + alert->P5, 0.0);
  EXPECT_TRUE(alert->ActiveActions.Empty());
  EXPECT_EQ(alert->LastAlertTime, 0.0);
  EXPECT_EQ(alert->HighlightColor, 255);
  EXPECT_EQ(alert->EMailSetupID, "");
  EXPECT_TRUE(alert->Enabled);
  EXPECT_EQ(alert->TickIndex, -1);
  EXPECT_FALSE(alert->Actions.Contains(ActionEMail));
}

INSTANTIATE_TEST_SUITE_P(
    AlertRecord, CreateFromDefaults,
    ::testing::Values(
        DefaultsCase{"StartUp", TAlertDefaults{}, 0x0E, -1, ""},
        DefaultsCase{"NoActions", Defaults(false, false, false, false, true, false, 3, "a.wav"),
                     0x00, -1, ""},
        DefaultsCase{"HighlightOnly", Defaults(false, false, true, false, true, false, 3, ""), 0x02,
                     -1, ""},
        DefaultsCase{"StandardSound", Defaults(true, false, false, true, true, false, 3, "a.wav"),
                     0x18, 3, ""},
        DefaultsCase{"WaveFile", Defaults(false, true, false, true, false, true, 3, "a.wav"), 0x14,
                     -1, "a.wav"},
        DefaultsCase{"BothSoundKinds", Defaults(false, false, false, true, true, true, 2, "a.wav"),
                     0x10, -1, ""},
        DefaultsCase{"NeitherSoundKind",
                     Defaults(false, false, false, true, false, false, 2, "a.wav"), 0x10, 2,
                     "a.wav"}),
    [](const auto &info) { return std::string(info.param.name); });

TAlertRecord PriceAlert() {
  TAlertRecord a;
  a.Symbol = "IBM";
  a.AlertType = AlertTypeHighPrice;
  a.P1 = 105.5;
  a.P2 = 1.0;
  a.Actions.Include(ActionPopup);
  return a;
}

TEST(AlertRecord, SameAsComparesWhatTheUserSees) {
  const TAlertRecord base = PriceAlert();
  struct Change {
    const char *what;
    void (*apply)(TAlertRecord &);
    bool same;
  };
  const Change changes[] = {
      {"nothing", [](TAlertRecord &) {}, true},
      {"P5", [](TAlertRecord &a) { a.P5 = 45000; }, true},
      {"ID", [](TAlertRecord &a) { a.ID = "ABCDEF"; }, true},
      {"run time", [](TAlertRecord &a) { a.ActiveActions.Include(1), a.TickIndex = 7; }, true},
      {"sound without the sound action", [](TAlertRecord &a) { a.SoundIndex = 3; }, true},
      {"trigger value", [](TAlertRecord &a) { a.TriggerValue = 3; }, true},
      {"symbol case", [](TAlertRecord &a) { a.Symbol = "ibm"; }, false},
      {"type", [](TAlertRecord &a) { a.AlertType = 0; }, false},
      {"P1", [](TAlertRecord &a) { a.P1 = 105.25; }, false},
      {"P2", [](TAlertRecord &a) { a.P2 = 2; }, false},
      {"P3", [](TAlertRecord &a) { a.P3 = 1; }, false},
      {"P4", [](TAlertRecord &a) { a.P4 = 1; }, false},
      {"actions", [](TAlertRecord &a) { a.Actions.Include(ActionFlashWindow); }, false},
      {"colour", [](TAlertRecord &a) { a.HighlightColor = 65280; }, false},
      {"enabled", [](TAlertRecord &a) { a.Enabled = false; }, false},
      {"setup", [](TAlertRecord &a) { a.EMailSetupID = "Ab1"; }, false},
  };
  for (const Change &change : changes) {
    TAlertRecord other = base;
    change.apply(other);
    EXPECT_EQ(base.SameAs(other), change.same) << change.what;
    EXPECT_EQ(other.SameAs(base), change.same) << change.what;
  }

  TAlertRecord withSound = base;
  withSound.Actions.Include(ActionSound);
  withSound.SoundIndex = 2;
  TAlertRecord otherSound = withSound;
  otherSound.SoundIndex = 3;
  EXPECT_FALSE(withSound.SameAs(otherSound));
  otherSound = withSound;
  otherSound.WaveFile = "x.wav";
  EXPECT_FALSE(withSound.SameAs(otherSound));
}

TEST(AlertRecord, AssignFixedCopiesEveryField) {
  TAlertRecord source = PriceAlert();
  source.ID = "QWERTY";
  source.P5 = 9;
  source.ActiveActions.Include(ActionPopup);
  source.ActivationTimes[6] = 45000.5;
  source.LastAlertTime = 45000.25;
  source.TriggerValue = 106;
  source.Enabled = false;
  source.SoundIndex = 4;
  source.TickIndex = 12;
  source.EMailSetupID = "Abc1234";
  source.WaveFile = "/tmp/ding.wav";
  TAlertRecord copy;
  copy.AssignFixed(source);
  EXPECT_TRUE(copy.SameAs(source));
  EXPECT_EQ(copy.ID, "QWERTY");
  EXPECT_EQ(copy.P5, 9);
  EXPECT_EQ(copy.ActiveActions, source.ActiveActions);
  EXPECT_EQ(copy.ActivationTimes, source.ActivationTimes);
  EXPECT_EQ(copy.LastAlertTime, 45000.25);
  EXPECT_EQ(copy.TriggerValue, 106);
  EXPECT_EQ(copy.SoundIndex, 4);
  EXPECT_EQ(copy.TickIndex, 12);
  EXPECT_EQ(copy.WaveFile, "/tmp/ding.wav");
}

TEST(AlertRecord, ActionSetHoldsElementsZeroToSix) {
  TActionSet set;
  set.Include(0);
  set.Include(6);
  set.Include(7); // not an element
  EXPECT_EQ(set.Bits(), 0x41);
  set.Exclude(0);
  EXPECT_TRUE(set.Contains(6));
  EXPECT_FALSE(set.Contains(0));
  EXPECT_EQ(TActionSet::FromBits(0xFF).Bits(), 0x7F);
}

TEST(AlertNames, Tables) {
  EXPECT_EQ(AlertTypeNames(),
            (std::vector<std::string>{"Low Price", "High Price", "New News", "Column Alert"}));
  EXPECT_EQ(ActionNames(), (std::vector<std::string>{"", "Highlight Stock Row", "Flash Main Window",
                                                     "Pop-up an Alert Window", "Sound Audio Alert",
                                                     "Send an Email", ""}));
  EXPECT_EQ(StandardSoundNames(),
            (std::vector<std::string>{"Computer Speaker", "Asterisk", "Exclamation", "Stop",
                                      "Question", "Default"}));
  EXPECT_EQ(ColumnNames(), (std::vector<std::string>{"Change", "Change %", "Spread", "Low", "High",
                                                     "Volume", "Vol %", "# Trades"}));
  EXPECT_TRUE(IsValidColumnIndex(7));
  EXPECT_FALSE(IsValidColumnIndex(8));
  EXPECT_FALSE(IsValidColumnIndex(-1));
  EXPECT_EQ(SplitCommaText("\"a, b\",c,\"d\"\"e\""),
            (std::vector<std::string>{"a, b", "c", "d\"e"}));
}

// ---- Descriptions

struct DescriptionCase {
  const char *name;
  int type;
  double p1, p2, p3, p4;
  std::uint8_t actions;
  const char *shortText;
  const char *future;
  const char *past;
};

class Descriptions : public ::testing::TestWithParam<DescriptionCase> {
protected:
  void SetUp() override { SetFractionDisplay(false); }
};

TEST_P(Descriptions, ShortAndFull) {
  const DescriptionCase &c = GetParam();
  TAlertRecord a;
  a.Symbol = "IBM";
  a.AlertType = std::uint8_t(c.type);
  a.P1 = c.p1;
  a.P2 = c.p2;
  a.P3 = c.p3;
  a.P4 = c.p4;
  a.Actions = TActionSet::FromBits(c.actions);
  EXPECT_EQ(a.ShortDescription(), c.shortText);
  EXPECT_EQ(a.FullDescription(true), c.future);
  EXPECT_EQ(a.FullDescription(false), c.past);
}

INSTANTIATE_TEST_SUITE_P(
    AlertRecord, Descriptions,
    ::testing::Values(
        DescriptionCase{
            "HighLastCrossing", 1, 105.5, 1, 0, 0, 0x18, "IBM: High Last Price at 105.5",
            "When Last Price for IBM reaches 105.5 or above, Pop-up an Alert Window and "
            "Sound Audio Alert. Trigger alarm only when the limit is crossed on an up "
            "tick.",
            "Last Price for IBM reached 105.5 or above. Trigger alarm only when the "
            "limit is crossed on an up tick."},
        DescriptionCase{"LowBidAnyTime", 0, 10, 2, 1, 0, 0x02, "IBM: Low Bid at 10",
                        "When Bid for IBM reaches 10 or below, Highlight Stock Row. Trigger alarm "
                        "any time the value is below the limit.",
                        "Bid for IBM reached 10 or below."},
        DescriptionCase{
            "LowAskThreeActions", 0, 9.12345, 3, 0, 0, 0x0E, "IBM: Low Ask at 9.12345",
            "When Ask for IBM reaches 9.12345 or below, Highlight Stock Row, Flash "
            "Main Window and Pop-up an Alert Window. Trigger alarm only when the limit "
            "is crossed on a down tick.",
            "Ask for IBM reached 9.12345 or below. Trigger alarm only when the limit is "
            "crossed on a down tick."},
        DescriptionCase{"HighUnknownFieldNoActions", 1, 20, 7, 1, 0, 0, "IBM: High at 20",
                        "When  for IBM reaches 20 or above. Trigger alarm any time the value is "
                        "above the limit.",
                        " for IBM reached 20 or above."},
        DescriptionCase{"News", 2, 2, 0, 0, 0, 0x20, "IBM: New News less than 2 hours old.",
                        "When new news that is less than 2 hours old comes in for IBM, Send an "
                        "Email.",
                        "New news that is less than 2 hours old came in for IBM."},
        DescriptionCase{
            "VolumeUpCrossing", 3, 5, 0, 1500000, 1, 0x08, "IBM: Volume > 1500000",
            "When IBM's Volume is greater than 1500000, Pop-up an Alert Window. Trigger "
            "alarm only when the limit is crossed on the way up.",
            "IBM's Volume became greater than 1500000. Trigger alarm only when the "
            "limit is crossed on the way up."},
        DescriptionCase{"SpreadDownAnyTime", 3, 2, 1, 0.05, 0, 0, "IBM: Spread < 0.05",
                        "When IBM's Spread is less than 0.05. Trigger alarm any time the value is "
                        "below the limit.",
                        "IBM's Spread became less than 0.05."},
        DescriptionCase{"ChangePercentNoTriggerText", 3, 1, 0, 2.5, 1, 0, "IBM: Change % > 2.5",
                        "When IBM's Change % is greater than 2.5.",
                        "IBM's Change % became greater than 2.5."},
        DescriptionCase{"InvalidColumn", 3, 9, 0, 5, 0, 0x02, "--- 5",
                        "--- 5, Highlight Stock Row.", "--- 5."}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(AlertRecordDescription, PricesFollowTheFractionDisplay) {
  TAlertRecord a;
  a.Symbol = "IBM";
  a.AlertType = AlertTypeLowPrice;
  a.P1 = 114.75;
  a.P2 = 1;
  SetFractionDisplay(true);
  EXPECT_EQ(a.ShortDescription(), "IBM: Low Last Price at 114 3/4");
  SetFractionDisplay(false);
  EXPECT_EQ(a.ShortDescription(), "IBM: Low Last Price at 114.75");
}

} // namespace
