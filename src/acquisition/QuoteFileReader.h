#pragma once
// Looks at quotes.csv on a thread of its own: whether it changed (size,
// modification time, then content) and, when it did, reads and parses it.
// The window thread asks for a look and takes the latest finished one, so a
// large file never holds the window while it is read and parsed.
#include "acquisition/ChangedFile.h"
#include "acquisition/QuoteCsv.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// A larger file is not a quote list.
inline constexpr std::uintmax_t MaxQuoteFileBytes = 16u * 1024u * 1024u;
// More symbols than a private investor follows; the rest of a longer file is
// not read, so that neither its parse nor its storing grows without bound.
inline constexpr std::size_t MaxQuoteSymbols = 10000;

// What one look at the file found.
struct QuoteFileLook {
  enum class Kind {
    Unchanged, // nothing new since the last look
    Missing,   // no file
    Refused,   // too large or unreadable: Errors says why (once until the file changes)
    Parsed,    // new content: Rows and Errors (its bad lines)
  };
  Kind What = Kind::Unchanged;
  bool FirstMissing = false; // Missing, and the file was there (or unknown) before
  std::vector<QuoteCsvRow> Rows;
  std::vector<QuoteCsvError> Errors;
};

class QuoteFileReader {
public:
  QuoteFileReader() = default;
  ~QuoteFileReader(); // stops the thread and waits for it
  QuoteFileReader(const QuoteFileReader &) = delete;
  QuoteFileReader &operator=(const QuoteFileReader &) = delete;

  // Asks for a look at the file named fileName (the thread starts on the
  // first request). A look already running is not started twice.
  void Request(const std::string &fileName);
  // Waits up to waitMs for the running look, then hands over the looks that
  // finished since the last call, merged into one (the newest content wins;
  // a look that found nothing new does not hide an earlier one). Nothing
  // when none finished.
  std::optional<QuoteFileLook> Take(int waitMs);

  // Stops the thread and forgets what it knew of the file.
  void Reset();

private:
  void Run();
  void Stop();
  // One look at the file, on the reading thread.
  QuoteFileLook Look(const std::string &fileName);

  // The file as last seen; touched by the reading thread only.
  std::optional<ChangedFile> m_file;
  bool m_reportedMissing = false;

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::thread m_thread;
  bool m_stop = false;
  bool m_requested = false;
  bool m_running = false;
  std::string m_fileName;
  std::optional<QuoteFileLook> m_done;
};
