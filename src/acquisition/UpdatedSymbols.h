#pragma once
// Updated-symbol sets: code that changes a symbol's data marks the symbol in
// numbered sets; each reader takes and empties its own set and re-reads only
// the symbols named in it. A set is a text of "|" + symbol + "|" entries.
#include "core/CriticalSection.h"

#include <array>
#include <atomic>
#include <string>
#include <unordered_set>
#include <vector>

// The readers of the sets.
enum TUpdatedSet {
  usMainGrid = 1, // the main window's grid
  usWatchList = 2,
  usNewsWindow = 3,
  usTicker = 4,
  usAlerts = 5, // the alert evaluation thread
};
constexpr int UpdatedSetCount = 5;

// The sets and the refreshed-symbols lock that guards them.
class TUpdatedSymbolSets {
public:
  TUpdatedSymbolSets();
  TUpdatedSymbolSets(const TUpdatedSymbolSets &) = delete;
  TUpdatedSymbolSets &operator=(const TUpdatedSymbolSets &) = delete;

  MyCriticalSection Lock;

  // Set number kind (1..UpdatedSetCount); only while Lock is held. Throws
  // std::out_of_range for another kind. Writers of the text directly call
  // Changed(kind) afterwards.
  std::string &Text(int kind);
  void Changed(int kind);
  // A glance without the lock: true when the set may hold symbols.
  bool MayHaveSymbols(int kind) const;

  // Adds "|" + symbol + "|" to set kind unless it is there; true when added.
  // Only while Lock is held. Costs the same whatever the set's size.
  bool Add(int kind, const std::string &symbol);
  // Takes set kind's text and empties the set; only while Lock is held.
  void Take(int kind, std::string &text);

private:
  // The symbols of a set's text, so that a mark need not search the text.
  struct Index {
    std::unordered_set<std::string> Symbols;
    std::size_t TextSize = 0; // the text's size the symbols stand for
  };
  // The index of set kind, rebuilt when the text was written directly.
  Index &IndexOf(int kind);

  std::array<std::string, UpdatedSetCount> m_sets;
  std::array<Index, UpdatedSetCount> m_index;
  std::array<std::atomic<bool>, UpdatedSetCount> m_nonEmpty{};
};

extern TUpdatedSymbolSets UpdatedSymbolSets;

// Adds "|" + symbol + "|" to set kind unless it is there, under the lock
// (owner tag "UDST", allowed to give up: then nothing is added). False when
// nothing was added because of the lock, an unknown kind or an empty symbol
// or one holding "|"; true when the symbol is (now) in the set.
bool MarkSymbolUpdated(int kind, const std::string &symbol);

// Takes set kind's text and empties the set, under the lock with the given
// owner tag (allowed to give up). False when the lock was not taken or the
// kind is unknown; the set is then unchanged and text empty.
bool TakeUpdatedSymbols(int kind, std::string &text, const std::string &tag = "TAKE");
// The same, parsed into symbols in the order they were marked.
std::vector<std::string> TakeUpdatedSymbolList(int kind, const std::string &tag = "TAKE");
// The symbols of a set text "|A||B|".
std::vector<std::string> ParseUpdatedSymbols(const std::string &text);

// Empties every set (tests).
void ClearUpdatedSymbolSets();
