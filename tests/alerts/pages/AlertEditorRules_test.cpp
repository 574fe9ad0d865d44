#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "alerts/EMailRecord.h"
#include "alerts/pages/AlertEditorRules.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

EMailSetupList TwoSetups() {
  EMailSetupList setups;
  setups.Add("Broker", std::make_unique<EMailRecord>("BRK0001", "", "", "me@x.org", "Broker"));
  setups.Add("Phone", std::make_unique<EMailRecord>("PHN0002", "", "", "sms@x.org", "Phone"));
  return setups;
}

} // namespace

TEST(AlertEditorRulesTest, EditorValuesMakeTheActions) {
  const EMailSetupList setups = TwoSetups();
  TAlertRecord a;
  a.HighlightColor = 77;
  TAlertEditorValues v;
  v.AlertType = AlertTypeHighPrice;
  v.Enabled = false;
  v.High = true;
  v.HighColor = 0x00FF00;
  v.Pop = true;
  v.EMailIndex = 2;
  ApplyEditorValues(v, setups, a);
  EXPECT_EQ(a.AlertType, AlertTypeHighPrice);
  EXPECT_FALSE(a.Enabled);
  EXPECT_TRUE(a.Actions.Contains(ActionHighlightRow));
  EXPECT_FALSE(a.Actions.Contains(ActionFlashWindow));
  EXPECT_TRUE(a.Actions.Contains(ActionPopup));
  EXPECT_TRUE(a.Actions.Contains(ActionEMail));
  EXPECT_EQ(a.HighlightColor, 0x00FF00);
  EXPECT_EQ(a.EMailSetupID, "PHN0002");

  v.High = false;
  v.HighColor = 5;
  v.EMailIndex = 0;
  ApplyEditorValues(v, setups, a);
  EXPECT_EQ(a.HighlightColor, 0x00FF00); // the colour goes with the highlight only
  EXPECT_FALSE(a.Actions.Contains(ActionEMail));
  EXPECT_TRUE(a.EMailSetupID.empty());

  v.EMailIndex = 9; // beyond the list: no template
  ApplyEditorValues(v, setups, a);
  EXPECT_FALSE(a.Actions.Contains(ActionEMail));
}

TEST(AlertEditorRulesTest, SoundComesWithTheAudioAction) {
  const EMailSetupList setups;
  TAlertRecord a;
  a.SoundIndex = 3;
  a.WaveFile = "/tmp/ding.wav";
  TAlertEditorValues v;
  v.Audio = false;
  v.SoundIndex = 1;
  ApplyEditorValues(v, setups, a);
  EXPECT_FALSE(a.Actions.Contains(ActionSound));
  EXPECT_EQ(a.SoundIndex, 3); // kept for when the sound is turned on again
  EXPECT_EQ(a.WaveFile, "/tmp/ding.wav");

  v.Audio = true;
  v.System = true;
  ApplyEditorValues(v, setups, a);
  EXPECT_TRUE(a.Actions.Contains(ActionSound));
  EXPECT_EQ(a.SoundIndex, 1);
  EXPECT_TRUE(a.WaveFile.empty());

  v.System = false;
  v.WaveFile = "/home/u/bell.wav";
  ApplyEditorValues(v, setups, a);
  EXPECT_EQ(a.SoundIndex, -1);
  EXPECT_EQ(a.WaveFile, "/home/u/bell.wav");
}

TEST(AlertEditorRulesTest, EMailListEntryOfTheTemplate) {
  const EMailSetupList setups = TwoSetups();
  TAlertRecord a;
  EXPECT_EQ(EMailIndexOf(a, setups), 0);
  a.EMailSetupID = "BRK0001";
  EXPECT_EQ(EMailIndexOf(a, setups), 1);
  a.EMailSetupID = "GONE123";
  EXPECT_EQ(EMailIndexOf(a, setups), 0);
}

TEST(AlertEditorRulesTest, ActionNodeTexts) {
  TAlertRecord a;
  a.Actions.Include(ActionEMail);
  a.Actions.Include(ActionHighlightRow);
  a.Actions.Include(0); // unnamed elements are never shown
  a.Actions.Include(6);
  EXPECT_EQ(ActionNodeTexts(a), (std::vector<std::string>{"Highlight Stock Row", "Send an Email"}));

  TAlertRecord s;
  s.Actions.Include(ActionSound);
  s.SoundIndex = 2;
  EXPECT_EQ(ActionNodeTexts(s),
            (std::vector<std::string>{"Sound Audio Alert: Standard (Exclamation)"}));
  s.SoundIndex = -1;
  s.WaveFile = "/snd/bell.wav";
  EXPECT_EQ(ActionNodeTexts(s),
            (std::vector<std::string>{"Sound Audio Alert: Custom (/snd/bell.wav)"}));
  s.WaveFile.clear();
  EXPECT_EQ(ActionNodeTexts(s), (std::vector<std::string>{"Sound Audio Alert"}));
  s.SoundIndex = 40; // no such standard sound
  EXPECT_EQ(ActionNodeTexts(s), (std::vector<std::string>{"Sound Audio Alert"}));
}

TEST(AlertEditorRulesTest, AnEditKeepsTheRunTimeStateOfTheStoredAlert) {
  TAlertRecord stored;
  stored.ID = "ABCDEF";
  stored.Symbol = "IBM";
  stored.AlertType = AlertTypeNews;
  stored.P1 = 2;
  stored.P5 = 45300.25; // newest news seen
  stored.ActiveActions.Include(ActionPopup);
  stored.ActivationTimes[ActionPopup] = 45300.5;
  stored.LastAlertTime = 45300.5;
  stored.TickIndex = 17;
  stored.TriggerValue = 3;

  TAlertRecord edit;
  edit.AssignFixed(stored);
  edit.ID = "ZZZZZZ";
  edit.P1 = 6;
  edit.P5 = 0;
  edit.TickIndex = 2;
  edit.Actions.Include(ActionFlashWindow);
  edit.Enabled = false;
  edit.WaveFile = "x.wav";
  CopyUserFields(edit, stored);
  EXPECT_EQ(stored.ID, "ABCDEF");
  EXPECT_DOUBLE_EQ(stored.P1, 6);
  EXPECT_DOUBLE_EQ(stored.P5, 45300.25);
  EXPECT_EQ(stored.TickIndex, 17);
  EXPECT_DOUBLE_EQ(stored.LastAlertTime, 45300.5);
  EXPECT_TRUE(stored.ActiveActions.Contains(ActionPopup));
  EXPECT_TRUE(stored.Actions.Contains(ActionFlashWindow));
  EXPECT_FALSE(stored.Enabled);
  EXPECT_EQ(stored.WaveFile, "x.wav");

  edit.AlertType = AlertTypeColumn; // a new type brings its own P5
  edit.P5 = 0;
  CopyUserFields(edit, stored);
  EXPECT_DOUBLE_EQ(stored.P5, 0);
  EXPECT_EQ(stored.AlertType, AlertTypeColumn);
}

TEST(AlertEditorRulesTest, SymbolsAsTheEditorStoresThem) {
  EXPECT_EQ(CleanAlertSymbol("  ibm "), "IBM");
  EXPECT_EQ(CleanAlertSymbol("abcdefghijklmnopqrs"), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(CleanAlertSymbol("   "), "");
}

TEST(AlertEditorRulesTest, OrphanSymbolTextTable) {
  struct Case {
    const char *portfolios;
    const char *watch;
    const char *text;
  } cases[] = {
      {"IBM,MSFT", "", " IBM MSFT "},
      {"IBM,MSFT", "aapl  dell", " IBM MSFT AAPL DELL "},
      {"", "AAPL,DELL", " AAPL DELL "},
      {"IBM,,MSFT", "  ", " IBM MSFT "},
      {"", "", "  "},
  };
  for (const Case &c : cases)
    EXPECT_EQ(OrphanSymbolText(c.portfolios, c.watch), c.text) << c.portfolios << "|" << c.watch;
}
