#include "alerts/pages/AlertEditorRules.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "alerts/EMailRecord.h"
#include "platform/StringUtils.h"

void ApplyEditorValues(const TAlertEditorValues &v, const EMailSetupList &setups,
                       TAlertRecord &alert) {
  if (v.AlertType >= 0 && v.AlertType < AlertTypeCount)
    alert.AlertType = std::uint8_t(v.AlertType);
  alert.Enabled = v.Enabled;
  alert.Actions.Clear();
  if (v.High) {
    alert.Actions.Include(ActionHighlightRow);
    alert.HighlightColor = v.HighColor;
  }
  if (v.Flash)
    alert.Actions.Include(ActionFlashWindow);
  if (v.Pop)
    alert.Actions.Include(ActionPopup);
  const EMailRecord *setup = v.EMailIndex > 0 ? setups.Record(v.EMailIndex - 1) : nullptr;
  if (setup) {
    alert.Actions.Include(ActionEMail);
    alert.EMailSetupID = setup->ID;
  } else {
    alert.Actions.Exclude(ActionEMail);
    alert.EMailSetupID.clear();
  }
  if (v.Audio) {
    alert.Actions.Include(ActionSound);
    if (v.System) {
      alert.WaveFile.clear();
      alert.SoundIndex = v.SoundIndex;
    } else {
      alert.WaveFile = v.WaveFile;
      alert.SoundIndex = -1;
    }
  }
}

int EMailIndexOf(const TAlertRecord &alert, const EMailSetupList &setups) {
  for (int i = 0; i < setups.Count(); ++i)
    if (const EMailRecord *r = setups.Record(i); r && r->ID == alert.EMailSetupID)
      return i + 1;
  return 0;
}

std::vector<std::string> ActionNodeTexts(const TAlertRecord &alert) {
  std::vector<std::string> texts;
  const auto &names = ActionNames();
  for (int action = 0; action < ActionElementCount; ++action) {
    const std::string &name = names[std::size_t(action)];
    if (name.empty() || !alert.Actions.Contains(action))
      continue;
    std::string text = name;
    if (action == ActionSound) {
      if (alert.SoundIndex >= 0 && alert.SoundIndex < int(StandardSoundNames().size()))
        text += ": Standard (" + StandardSoundNames()[std::size_t(alert.SoundIndex)] + ")";
      else if (!alert.WaveFile.empty())
        text += ": Custom (" + alert.WaveFile + ")";
    }
    texts.push_back(Trim(text));
  }
  return texts;
}

bool HasActionNodes(const TAlertRecord &alert) {
  const auto &names = ActionNames();
  for (int action = 0; action < ActionElementCount; ++action)
    if (!names[std::size_t(action)].empty() && alert.Actions.Contains(action))
      return true;
  return false;
}

void CopyUserFields(const TAlertRecord &from, TAlertRecord &to) {
  if (from.AlertType != to.AlertType)
    to.P5 = from.P5;
  to.Symbol = from.Symbol;
  to.AlertType = from.AlertType;
  to.P1 = from.P1;
  to.P2 = from.P2;
  to.P3 = from.P3;
  to.P4 = from.P4;
  to.Actions = from.Actions;
  to.Enabled = from.Enabled;
  to.SoundIndex = from.SoundIndex;
  to.HighlightColor = from.HighlightColor;
  to.EMailSetupID = from.EMailSetupID;
  to.WaveFile = from.WaveFile;
}

std::string CleanAlertSymbol(const std::string &text) {
  return CutTo(UpperCase(Trim(text)), TAlertRecord::SymbolMax);
}

std::string OrphanSymbolText(const std::string &portfolioSymbols, const std::string &watchSymbols) {
  std::string text = portfolioSymbols;
  if (!watchSymbols.empty())
    text += " " + watchSymbols;
  text = UpperCase(StringReplaceAll(text, ",", " "));
  std::string single;
  for (char c : text)
    if (!(c == ' ' && !single.empty() && single.back() == ' '))
      single += c;
  return " " + Trim(single) + " ";
}
