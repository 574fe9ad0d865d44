#include "core/StringRoutines.h"

#include "platform/StringList.h"
#include "platform/StringUtils.h"

#include <mutex>
#include <random>
#include <set>

namespace {

std::mutex g_randomMutex; // guards the generator and the source
std::mt19937 g_generator{std::random_device{}()};
std::function<int(int)> g_source;

std::mutex g_watchMutex;
std::vector<TWatchEntry> g_watch;

} // namespace

std::vector<std::string> ParseStr(const std::string &text, const std::string &delimiters) {
  std::vector<std::string> words;
  std::string word;
  bool quotedWord = false; // the current word had quotes (so an empty one counts)
  bool inQuotes = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inQuotes) {
      if (c == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          word += '"';
          ++i;
        } else {
          inQuotes = false;
        }
      } else {
        word += c;
      }
    } else if (c == '"') {
      inQuotes = true;
      quotedWord = true;
    } else if (delimiters.find(c) != std::string::npos) {
      if (!word.empty() || quotedWord)
        words.push_back(word);
      word.clear();
      quotedWord = false;
    } else {
      word += c;
    }
  }
  if (!word.empty() || quotedWord)
    words.push_back(word);
  return words;
}

void ParseStr(const std::string &text, TStringList &list, const std::string &delimiters) {
  list.Clear();
  for (const std::string &w : ParseStr(text, delimiters))
    list.Add(w);
}

bool IsAllDashes(const std::string &text) {
  return !text.empty() && text.find_first_not_of('-') == std::string::npos;
}

std::string YesNo(bool value) { return value ? "YES" : "NO"; }

MyCriticalSection &RandomLock() {
  static MyCriticalSection lock("RANDOM");
  return lock;
}

int SafeRandom(int n, bool useLock) {
  if (n <= 0)
    return 0;
  const bool locked = useLock && RandomLock().Lock("RAND", false);
  int r;
  {
    std::lock_guard<std::mutex> l(g_randomMutex);
    if (g_source) {
      r = g_source(n);
      if (r < 0 || r >= n)
        r = 0;
    } else {
      r = std::uniform_int_distribution<int>(0, n - 1)(g_generator);
    }
  }
  if (locked)
    RandomLock().Unlock();
  return r;
}

void SetRandomSeed(std::uint32_t seed) {
  std::lock_guard<std::mutex> l(g_randomMutex);
  g_generator.seed(seed);
}

void SetRandomSource(std::function<int(int n)> source) {
  std::lock_guard<std::mutex> l(g_randomMutex);
  g_source = std::move(source);
}

void LoadSymbolTable(const std::string &text) {
  std::vector<TWatchEntry> entries;
  std::set<std::string> seen;
  std::vector<std::string> words;
  std::string word;
  for (char c : text + " ") {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  for (const std::string &w : words) {
    const std::string symbol = w.substr(0, 15);
    if (symbol.empty() || IsAllDashes(symbol))
      continue;
    if (!seen.insert(UpperCase(symbol)).second)
      continue;
    entries.push_back(TWatchEntry{symbol});
  }
  std::lock_guard<std::mutex> l(g_watchMutex);
  g_watch = std::move(entries);
}

int WatchTableCount() {
  std::lock_guard<std::mutex> l(g_watchMutex);
  return int(g_watch.size());
}

std::vector<TWatchEntry> WatchTable() {
  std::lock_guard<std::mutex> l(g_watchMutex);
  return g_watch;
}
