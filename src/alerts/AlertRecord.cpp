#include "alerts/AlertRecord.h"

#include "alerts/AlertNames.h"
#include "core/AlertDefaults.h"

std::unique_ptr<TAlertRecord> TAlertRecord::Create() { return Create(CurrentAlertDefaults()); }

std::unique_ptr<TAlertRecord> TAlertRecord::Create(const TAlertDefaults &defaults) {
  auto record = std::make_unique<TAlertRecord>();
  record->ApplyDefaults(defaults);
  return record;
}

void TAlertRecord::ApplyDefaults(const TAlertDefaults &defaults) {
  Actions.Clear();
  if (defaults.HighRow)
    Actions.Include(ActionHighlightRow);
  if (defaults.Flash)
    Actions.Include(ActionFlashWindow);
  if (defaults.Popup)
    Actions.Include(ActionPopup);
  if (defaults.Audio) {
    Actions.Include(ActionSound);
    SoundIndex = defaults.System;
    WaveFile = defaults.Custom;
    if (defaults.ASystem)
      WaveFile.clear();
    if (defaults.ACustom)
      SoundIndex = -1;
  } else {
    WaveFile.clear();
    SoundIndex = -1;
  }
}

void TAlertRecord::AssignFixed(const TAlertRecord &source) {
  if (this != &source)
    *this = source;
}

bool TAlertRecord::SameAs(const TAlertRecord &other) const {
  if (EMailSetupID != other.EMailSetupID || Enabled != other.Enabled || Symbol != other.Symbol ||
      AlertType != other.AlertType || P1 != other.P1 || P2 != other.P2 || P3 != other.P3 ||
      P4 != other.P4 || Actions != other.Actions || HighlightColor != other.HighlightColor)
    return false;
  if (Actions.Contains(ActionSound))
    return SoundIndex == other.SoundIndex && WaveFile == other.WaveFile;
  return true;
}
