#pragma once
#include "platform/DateTime.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

struct TAlertDefaults;

// A set of action elements 0..6 held in one byte (bit n = element n), as the
// alert file stores it.
class TActionSet {
public:
  constexpr TActionSet() = default;
  static constexpr TActionSet FromBits(std::uint8_t bits) { return TActionSet(bits & 0x7F); }

  constexpr bool Contains(int element) const {
    return element >= 0 && element < 7 && (m_bits & (1u << element)) != 0;
  }
  void Include(int element) {
    if (element >= 0 && element < 7)
      m_bits = std::uint8_t(m_bits | (1u << element));
  }
  void Exclude(int element) {
    if (element >= 0 && element < 7)
      m_bits = std::uint8_t(m_bits & ~(1u << element));
  }
  constexpr bool Empty() const { return m_bits == 0; }
  void Clear() { m_bits = 0; }
  constexpr std::uint8_t Bits() const { return m_bits; }
  constexpr bool operator==(const TActionSet &) const = default;

private:
  constexpr explicit TActionSet(std::uint8_t bits) : m_bits(bits) {}
  std::uint8_t m_bits = 0;
};

// One alert: a standing order to act when a symbol's price, news or a quote
// column does something. Parameters by AlertType:
//   0, 1 (price): P1 limit; P2 based on 1.0 last, 2.0 bid, 3.0 ask;
//                 P3 1.0 = any time beyond the limit, else only when crossed.
//   2 (news):     P1 maximum age in hours; P5 run time: newest item seen.
//   3 (column):   P1 column index; P2 0.0 greater/up, 1.0 less/down;
//                 P3 limit; P4 1.0 = only when crossed (columns 2, 5, 6).
// Short texts have maximum lengths (Symbol 15, ID 6, EMailSetupID 7); longer
// texts are cut when the store takes the record and when it is written.
class TAlertRecord {
public:
  static constexpr std::size_t SymbolMax = 15;
  static constexpr std::size_t IDMax = 6;
  static constexpr std::size_t EMailSetupIDMax = 7;
  static constexpr std::int32_t DefaultHighlightColor = 255;

  std::string Symbol;
  std::string ID; // six upper-case letters, the store's key
  std::uint8_t AlertType = 0;
  double P1 = 0, P2 = 0, P3 = 0, P4 = 0, P5 = 0;
  TActionSet Actions;
  TActionSet ActiveActions;                   // run time: actions in effect (empty = not active)
  std::array<TDateTime, 7> ActivationTimes{}; // run time, per action element
  TDateTime LastAlertTime = 0;                // run time: last trigger (0 = never)
  double TriggerValue = 0;
  bool Enabled = true;
  std::int32_t SoundIndex = -1;
  std::int32_t HighlightColor = DefaultHighlightColor; // colour word 0x00BBGGRR
  std::int32_t TickIndex = -1; // run time: ticks evaluated; -1 = not positioned
  std::string EMailSetupID;    // empty = none
  std::string WaveFile;        // custom sound file; empty = none

  // A record with the plain start values and no actions (the file reader and
  // tests start from it). Use Create for a record with the user's defaults.
  TAlertRecord() = default;

  // A new record with the program-wide alert defaults applied (CurrentAlertDefaults()).
  static std::unique_ptr<TAlertRecord> Create();
  static std::unique_ptr<TAlertRecord> Create(const TAlertDefaults &defaults);
  // Sets the actions, sound index and wave file from the defaults as a new
  // record gets them (no e-mail action or setup).
  void ApplyDefaults(const TAlertDefaults &defaults);

  // Copies every field of Source (the fixed block and the wave file).
  void AssignFixed(const TAlertRecord &source);
  // Equal for the user: EMailSetupID, Enabled, Symbol, AlertType, P1..P4,
  // Actions and HighlightColor, plus SoundIndex and WaveFile when the sound
  // action is on. Texts compare exactly.
  bool SameAs(const TAlertRecord &other) const;

  // "IBM: High Last Price at 105.5".
  std::string ShortDescription() const;
  // The sentence that describes the alert; Future describes what it will do
  // ("When Last Price for IBM reaches ..."), otherwise what happened.
  std::string FullDescription(bool future) const;
};
