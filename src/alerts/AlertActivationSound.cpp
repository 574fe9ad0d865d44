// Kept apart from AlertActivation.cpp: the platform's sound header and the
// alert name tables both name the count of standard sounds.
#include "alerts/AlertActivation.h"

#include "alerts/AlertRecord.h"
#include "core/Log.h"
#include "platform/Sound.h"

#include <exception>

void PlayAlertSound(const TAlertRecord &alert) {
  try {
    if (alert.SoundIndex >= 0 && alert.SoundIndex < StandardSoundCount)
      AppSound().PlayStandard(alert.SoundIndex);
    if (!alert.WaveFile.empty() && !AppSound().PlayWave(alert.WaveFile))
      WriteLog("Sound Error: cannot play " + alert.WaveFile, 0);
  } catch (const std::exception &e) {
    WriteLog(std::string("Sound Error: ") + e.what(), 0);
  }
}
