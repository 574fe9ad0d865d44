#pragma once
// The least quote intake: quotes come from the file quotes.csv in the program
// folder, which any program may rewrite (write a temporary file, then rename
// it over quotes.csv). Each refresh of the main window reads the file when it
// changed since the last read and stores its quotes into the market-data
// store the way the quote acquisition does: StoreQuote (record, tick, day
// stamp), then the updated-symbol sets of the grid, the watch list, the
// ticker and the alert thread.
//
// With the DEMO switch every refresh stores the last known quotes again, each
// price moved by a random -0.50..+0.49, so that the program is live without a
// data source.
//
// The file is read and parsed on a thread of its own (QuoteFileReader); a
// refresh waits for that a short time only, and a file that takes longer is
// stored by a later refresh. The intake is used from the window thread only.
#include "acquisition/QuoteCsv.h"
#include "acquisition/QuoteFileReader.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TMyIniFile;

inline constexpr const char *QuoteFileName = "quotes.csv";

class QuoteIntake {
public:
  // Returns 0 <= r < n, like SafeRandom(n).
  using RandomSource = std::function<int(int n)>;

  QuoteIntake();
  ~QuoteIntake(); // stops the reading thread
  QuoteIntake(const QuoteIntake &) = delete;
  QuoteIntake &operator=(const QuoteIntake &) = delete;

  // ProgramFolder() + "quotes.csv".
  static std::string FileName();

  // One refresh: reads quotes.csv when it changed (size, modification time,
  // then content) and stores its quotes; with DEMO stores every known quote,
  // moved. Returns the symbols stored (in file order; with DEMO in the order
  // the symbols first appeared). Bad lines
  // are skipped and logged ("QuoteIntake Error: quotes.csv line N: ...").
  // Never throws.
  std::vector<std::string> Refresh();

  // The errors of the latest read of the file (empty after a clean read).
  const std::vector<QuoteCsvError> &Errors() const { return m_errors; }
  // Number of times new content of the file was parsed.
  int ReadCount() const { return m_readCount; }
  // The quotes as last stored, in the order they first appeared.
  const std::vector<QuoteCsvRow> &KnownQuotes() const { return m_known; }

  // Demo mode: the DEMO switch of the command line unless set here.
  bool Demo() const;
  void SetDemo(bool on) { m_demo = on; }
  // The draws of the demo moves; by default SafeRandom(n, true).
  void SetRandomSource(RandomSource source);

  // Forgets the file's stamp, its errors and the known quotes (and stops
  // the reading thread until the next refresh).
  void Reset();

  // How long a refresh waits for the file to be read and parsed
  // (program-wide; tests on a loaded machine lengthen it).
  static int QuoteReadWaitMs();
  static void SetQuoteReadWaitMs(int ms);

private:
  // Takes the reader's latest look at the file; true when new rows were read.
  bool ReadIfChanged(std::vector<QuoteCsvRow> &rows);
  void LogError(const std::string &text) const;
  void LogErrors(const std::vector<QuoteCsvError> &errors) const;

  std::optional<bool> m_demo;
  RandomSource m_random;
  std::unique_ptr<QuoteFileReader> m_reader;
  int m_readCount = 0;
  std::vector<QuoteCsvError> m_errors;
  std::vector<QuoteCsvRow> m_known;
  std::map<std::string, std::size_t> m_knownIndex; // symbol -> index in m_known
};

// Moves a quote as DEMO does. One draw d = random(100) / 100 - 0.50 moves the
// non-zero last, bid and ask alike (the spread and their order stay), never
// below 0.01; the day's high and low, where the feed gives them, take in the
// new last; a non-zero volume grows by 100 to 1000 shares (a second draw).
// Previous close and sizes stay.
void MoveDemoQuote(QuoteCsvRow &quote, const QuoteIntake::RandomSource &random);

// A refresh waits this long for the file to be read and parsed.
inline constexpr int DefaultQuoteReadWaitMs = 250;
// The bad lines of one read that are logged one by one; the rest are counted.
inline constexpr std::size_t MaxLoggedQuoteErrors = 10;

// The lowest price a demo move leaves.
inline constexpr double DemoMinPrice = 0.01;

// The refresh timer's interval: [Bourse] GridRefresh seconds, default 5, at
// least 1 and at most a day.
inline constexpr const char *RefreshSection = "Bourse";
inline constexpr const char *RefreshKey = "GridRefresh";
inline constexpr int DefaultRefreshSecs = 5;
inline constexpr int MinRefreshSecs = 1;
inline constexpr int MaxRefreshSecs = 86400;
int RefreshIntervalMs(const TMyIniFile &settings);
// A refresh that holds the window thread longer than this is logged.
inline constexpr int RefreshStallLogMs = 20;
// The same from the program's settings file.
int RefreshIntervalMs();

// The program's intake, called by the main window's refresh timer.
QuoteIntake &AppQuoteIntake();
