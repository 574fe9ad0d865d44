#pragma once
#include "core/CriticalSection.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStringList;

// Splits text into words at any of the delimiter characters into list (which
// is cleared first). A part in double quotes is one word, delimiters and all,
// without its quotes (a doubled quote inside stands for one). Empty words
// between delimiters are skipped; a quoted empty part ("") gives an empty word.
void ParseStr(const std::string &text, TStringList &list, const std::string &delimiters);
std::vector<std::string> ParseStr(const std::string &text, const std::string &delimiters);

// True when the text is not empty and consists only of "-".
bool IsAllDashes(const std::string &text);
// "YES" or "NO".
std::string YesNo(bool value);

// Random(n): 0 <= result < n (0 when n <= 0). With useLock the draw takes the
// random-number lock, which a caller may also hold around several draws (and
// then passes false). The generator itself is always guarded, so a draw
// without the named lock is still safe.
int SafeRandom(int n, bool useLock);
MyCriticalSection &RandomLock();
// Reseeds the generator (tests, reproducible runs).
void SetRandomSeed(std::uint32_t seed);
// Replaces the generator: source(n) must return 0 <= r < n. Empty restores it.
void SetRandomSource(std::function<int(int n)> source);

// The global watch table, built from a blank-separated symbol text: one entry
// per symbol (cut to 15 characters), skipping empty, all-dash and repeated
// symbols (compared without regard to letter case).
struct TWatchEntry {
  std::string Symbol;
};
void LoadSymbolTable(const std::string &text);
int WatchTableCount();
// Snapshot of the entries in order.
std::vector<TWatchEntry> WatchTable();
