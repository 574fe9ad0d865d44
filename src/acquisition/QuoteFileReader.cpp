#include "acquisition/QuoteFileReader.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

// A file's size and modification time identify its content only once the
// time is older than the coarsest time-stamp granularity of file systems.
constexpr std::chrono::seconds SettledStampAge{2};

std::string TooLarge() {
  return std::string("quotes.csv is larger than ") +
         std::to_string(MaxQuoteFileBytes / (1024 * 1024)) + " MB; not read";
}

// A newer look over an older one not yet taken.
void Merge(std::optional<QuoteFileLook> &older, QuoteFileLook newer) {
  if (older && newer.What == QuoteFileLook::Kind::Unchanged)
    return;
  if (older && newer.What == QuoteFileLook::Kind::Missing)
    newer.FirstMissing = newer.FirstMissing || older->FirstMissing;
  older = std::move(newer);
}

} // namespace

QuoteFileReader::~QuoteFileReader() { Stop(); }

void QuoteFileReader::Stop() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable())
    m_thread.join();
  std::lock_guard lock(m_mutex);
  m_stop = false;
  m_requested = false;
  m_running = false;
}

void QuoteFileReader::Reset() {
  Stop();
  std::lock_guard lock(m_mutex);
  m_done.reset();
  m_stamp.reset();
  m_stampSettled = false;
  m_hash = 0;
  m_haveHash = false;
  m_reportedMissing = false;
}

void QuoteFileReader::Request(const std::string &fileName) {
  {
    std::lock_guard lock(m_mutex);
    if (m_running || m_requested)
      return;
    m_fileName = fileName;
    m_requested = true;
  }
  if (!m_thread.joinable())
    m_thread = std::thread([this] { Run(); });
  m_changed.notify_all();
}

std::optional<QuoteFileLook> QuoteFileReader::Take(int waitMs) {
  std::unique_lock lock(m_mutex);
  m_changed.wait_for(lock, std::chrono::milliseconds(std::max(0, waitMs)),
                     [this] { return !m_running && !m_requested; });
  std::optional<QuoteFileLook> done = std::move(m_done);
  m_done.reset();
  return done;
}

void QuoteFileReader::Run() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_stop || m_requested; });
    if (m_stop)
      return;
    m_requested = false;
    m_running = true;
    const std::string fileName = m_fileName;
    lock.unlock();
    QuoteFileLook look;
    try {
      look = Look(fileName);
    } catch (const std::exception &e) {
      look.What = QuoteFileLook::Kind::Refused;
      look.Errors = {QuoteCsvError{0, std::string("cannot read quotes.csv: ") + e.what()}};
      m_stamp.reset();
    }
    lock.lock();
    Merge(m_done, std::move(look));
    m_running = false;
    m_changed.notify_all();
  }
}

QuoteFileLook QuoteFileReader::Look(const std::string &name) {
  namespace fs = std::filesystem;
  const fs::path path(name);
  QuoteFileLook look;

  // The stamp is taken before reading: a write during the read changes it
  // again, and the next look reads the file once more.
  FileStamp stamp;
  std::error_code ec;
  stamp.exists = fs::is_regular_file(path, ec);
  if (stamp.exists) {
    stamp.size = fs::file_size(path, ec);
    if (ec)
      stamp.size = 0;
    const auto mtime = fs::last_write_time(path, ec);
    if (!ec)
      stamp.mtimeNs =
          std::chrono::duration_cast<std::chrono::nanoseconds>(mtime.time_since_epoch()).count();
  }
  // A file modified within the file system's time-stamp granularity may be
  // rewritten with the same size and time; such a stamp is trusted only once
  // it is old enough, until then the content decides.
  if (m_stamp && *m_stamp == stamp && m_stampSettled)
    return look;
  m_stamp = stamp;
  m_stampSettled = stamp.exists && fs::file_time_type::clock::now().time_since_epoch() -
                                           std::chrono::nanoseconds(stamp.mtimeNs) >
                                       SettledStampAge;

  if (!stamp.exists) {
    // No feed is a normal state; it is said once until the file appears.
    look.What = QuoteFileLook::Kind::Missing;
    look.FirstMissing = !m_reportedMissing;
    m_reportedMissing = true;
    m_haveHash = false;
    return look;
  }
  m_reportedMissing = false;

  const auto refuse = [&](std::string why, bool lookAgain) {
    look.What = QuoteFileLook::Kind::Refused;
    look.Errors = {QuoteCsvError{0, std::move(why)}};
    if (lookAgain)
      m_stamp.reset();
    m_haveHash = false;
    return look;
  };
  if (stamp.size > MaxQuoteFileBytes)
    return refuse(TooLarge(), false);

  std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(name.c_str(), "rb"),
                                                        &std::fclose);
  if (!file)
    return refuse("cannot read quotes.csv: " + std::string(std::strerror(errno)), true);
  // What the file holds, not a buffer of the size cap: a file that grew past
  // the cap since its stamp was taken is refused.
  std::string text;
  char buffer[64 * 1024];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
    text.append(buffer, n);
    if (text.size() > MaxQuoteFileBytes)
      return refuse(TooLarge(), true);
    if (n < sizeof buffer) {
      if (std::ferror(file.get()))
        return refuse("cannot read quotes.csv: " + std::string(std::strerror(errno)), true);
      break;
    }
  }
  const std::size_t hash = std::hash<std::string>{}(text);
  if (m_haveHash && hash == m_hash)
    return look; // touched, not changed
  m_hash = hash;
  m_haveHash = true;

  QuoteCsvResult parsed = ParseQuoteCsv(text, MaxQuoteSymbols);
  look.What = QuoteFileLook::Kind::Parsed;
  look.Rows = std::move(parsed.Rows);
  look.Errors = std::move(parsed.Errors);
  return look;
}
