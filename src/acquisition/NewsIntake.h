#pragma once
// The least news intake: news come from the file news.csv in the program
// folder, which any program may rewrite (write a temporary file, then rename
// it over news.csv). A read takes the file when it changed and hands every
// item to AddNews (exclusion rules, MaxItems); an item already taken (same
// symbol, time, link and title) is not added again. A symbol that got a new item has
// its new-news flag and last news check set and is marked in the
// updated-symbol sets of the grid, the watch list, the news window, the ticker
// and the alert thread. SymbolBeingFetched names the symbol whose items are
// being added.
//
// With the DEMO switch AddDemoItem makes up an item for a random symbol of the
// current portfolio, so that the program shows news without a feed.
//
// One thread at a time reads (the news intake thread); Errors() and
// ReadCount() may be asked from any thread.
#include "acquisition/ChangedFile.h"
#include "acquisition/NewsCsv.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

struct IncomingNews;
struct TDisplaySettings;

inline constexpr const char *NewsFileName = "news.csv";
// A larger file is not a news list; it is refused with a message.
inline constexpr std::uintmax_t MaxNewsFileBytes = 8u * 1024u * 1024u;

class NewsIntake {
public:
  // Returns 0 <= r < n, like SafeRandom(n).
  using RandomSource = std::function<int(int n)>;

  NewsIntake();
  ~NewsIntake();

  // ProgramFolder() + "news.csv".
  static std::string FileName();

  // Reads news.csv when it changed (always when forced) and adds its items.
  // A file that is refused (too large, unreadable) is reported once until it
  // changes.
  // Returns the symbols that got new items, in file order. Bad lines are
  // skipped and logged ("NewsIntake Error: news.csv line N: ..."); the first
  // is also passed to report (the status line). Never throws.
  std::vector<std::string> Read(bool force,
                                const std::function<void(const std::string &)> &report = {});
  // Adds a made-up item, dated now, for a random symbol of the current
  // portfolio; returns the symbol ("" when the portfolio has none).
  std::string AddDemoItem();
  void SetRandomSource(RandomSource source);

  // The errors of the latest read (empty after a clean read).
  std::vector<QuoteCsvError> Errors() const;
  // Times new content of the file was parsed.
  int ReadCount() const { return m_readCount.load(); }
  // Times Read was called (a look at the file, changed or not).
  int LookCount() const { return m_lookCount.load(); }

  // Forgets the file, its errors and the items taken (tests).
  void Reset();

private:
  // Adds one item; true when the symbol got it as a new item.
  bool Add(const std::string &symbol, const IncomingNews &item, const TDisplaySettings &settings);
  void SetErrors(std::vector<QuoteCsvError> errors);

  std::unique_ptr<ChangedFile> m_file;
  // Symbol, time, link and title of the file's stored items.
  std::unordered_set<std::string> m_taken;
  RandomSource m_random;
  int m_demoCount = 0;
  bool m_reportedMissing = false;
  std::atomic<int> m_readCount{0};
  std::atomic<int> m_lookCount{0};
  mutable std::mutex m_errorMutex;
  std::vector<QuoteCsvError> m_errors;
};

// Sets the new-news flag and last news check of each symbol and marks it in
// the updated-symbol sets 1 to 5.
void AnnounceNews(const std::vector<std::string> &symbols, TDateTime now);

// The program's intake, read by the news intake thread.
NewsIntake &AppNewsIntake();
