#pragma once
// The advert service in its least form: the slot table that windows fill for
// their banner places, and the calls they make. There are no adverts: no ad
// location has one, so windows keep their banner places hidden. Window
// thread only.
#include <QPointer>

#include <array>

class QLabel;
class TMyIniFile;
class QWidget;
class TAnimGif;

// One advert slot: the controls and picture of a banner place, and its state.
struct TAdSlot {
  bool InUse = false;
  int Location = 0;
  QPointer<QWidget> Panel;   // the banner's panel
  QPointer<QLabel> Image;    // the picture control
  TAnimGif *Gif = nullptr;   // owned by the window
  QPointer<QLabel> CaptionL; // the two caption labels
  QPointer<QLabel> CaptionR;
  bool Minimized = false; // the window is minimised
  bool Inactive = false;
  int Counters[2] = {0, 0}; // shown / clicked since the window was shown
};

constexpr int AdSlotCount = 30;
// Slots 1 .. AdSlotCount (entry 0 unused).
extern std::array<TAdSlot, AdSlotCount + 1> AdSlotTable;

// The advert "Show" setting (section "Ads"); off until LoadAdSettings reads it.
extern bool AdsShowSetting;
// Seconds the current banners have been on screen; windows clear it when shown.
extern double AdShowSeconds;

// Reads the advert settings: AdsShowSetting from "Show" of section "Ads"
// (off when absent).
void LoadAdSettings(const TMyIniFile &ini);

// Takes a free slot 1 .. AdSlotCount for an ad location; 0 when none is free.
int RegisterAdSlot(int location);
// Frees a slot (its entries cleared); slots out of range are ignored.
void UnregisterAdSlot(int slot);
// Clears a slot's controls, picture, flags and counters; it stays taken.
void ClearAdSlot(int slot);
// True when an advert exists for the location: never.
bool FindAdLocation(int location);
// Shows a blurb line in the slot's caption labels; there are none, so the
// labels keep their texts.
void ShowAdBlurb(int slot);
// Opens the target of the slot's banner; there is none.
void HandleAdClick(int slot);

// The number of slots taken (tests and diagnostics).
int AdSlotsInUse();
// Frees every slot (tests).
void ResetAdSlots();
