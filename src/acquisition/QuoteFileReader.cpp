#include "acquisition/QuoteFileReader.h"

#include <chrono>

namespace {

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
  m_file.reset();
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
      if (m_file)
        m_file->Reset();
    }
    lock.lock();
    Merge(m_done, std::move(look));
    m_running = false;
    m_changed.notify_all();
  }
}

QuoteFileLook QuoteFileReader::Look(const std::string &name) {
  QuoteFileLook look;
  if (!m_file || m_file->Path() != name)
    m_file.emplace(name, MaxQuoteFileBytes);
  const ChangedFile::Outcome outcome = m_file->Read();
  if (outcome == ChangedFile::Outcome::Unchanged)
    return look;
  if (outcome == ChangedFile::Outcome::Missing) {
    // No feed is a normal state; it is said once until the file appears.
    look.What = QuoteFileLook::Kind::Missing;
    look.FirstMissing = !m_reportedMissing;
    m_reportedMissing = true;
    return look;
  }
  m_reportedMissing = false;
  if (outcome != ChangedFile::Outcome::Changed && !m_file->NewRefusal())
    return look; // refused before as it is: said once until it changes
  if (outcome != ChangedFile::Outcome::Changed) {
    look.What = QuoteFileLook::Kind::Refused;
    look.Errors = {QuoteCsvError{0, outcome == ChangedFile::Outcome::TooLarge
                                        ? TooLarge()
                                        : "cannot read quotes.csv: " + m_file->Error()}};
    return look;
  }
  QuoteCsvResult parsed = ParseQuoteCsv(m_file->TakeText(), MaxQuoteSymbols);
  look.What = QuoteFileLook::Kind::Parsed;
  look.Rows = std::move(parsed.Rows);
  look.Errors = std::move(parsed.Errors);
  return look;
}
