#include "webcontent/AdService.h"

#include "core/IniFile.h"

std::array<TAdSlot, AdSlotCount + 1> AdSlotTable;
bool AdsShowSetting = false;
double AdShowSeconds = 0.0;

namespace {
bool ValidSlot(int slot) { return slot >= 1 && slot <= AdSlotCount; }
} // namespace

void LoadAdSettings(const TMyIniFile &ini) { AdsShowSetting = ini.ReadBool("Ads", "Show", false); }

int RegisterAdSlot(int location) {
  for (int slot = 1; slot <= AdSlotCount; ++slot) {
    if (!AdSlotTable[slot].InUse) {
      AdSlotTable[slot] = TAdSlot{};
      AdSlotTable[slot].InUse = true;
      AdSlotTable[slot].Location = location;
      return slot;
    }
  }
  return 0;
}

void UnregisterAdSlot(int slot) {
  if (ValidSlot(slot))
    AdSlotTable[slot] = TAdSlot{};
}

void ClearAdSlot(int slot) {
  if (!ValidSlot(slot))
    return;
  const int location = AdSlotTable[slot].Location;
  const bool inUse = AdSlotTable[slot].InUse;
  AdSlotTable[slot] = TAdSlot{};
  AdSlotTable[slot].InUse = inUse;
  AdSlotTable[slot].Location = location;
}

bool FindAdLocation(int /*location*/) { return false; }

void ShowAdBlurb(int /*slot*/) {}

void HandleAdClick(int /*slot*/) {}

int AdSlotsInUse() {
  int n = 0;
  for (int slot = 1; slot <= AdSlotCount; ++slot)
    n += AdSlotTable[slot].InUse ? 1 : 0;
  return n;
}

void ResetAdSlots() {
  for (auto &slot : AdSlotTable)
    slot = TAdSlot{};
}
