#include "acquisition/ChangedFile.h"

#include <QFile>

#include <chrono>
#include <filesystem>
#include <functional>
#include <system_error>

namespace {
constexpr std::chrono::seconds SettledStampAge{2};
} // namespace

ChangedFile::ChangedFile(std::string path, std::uintmax_t maxBytes)
    : m_path(std::move(path)), m_maxBytes(maxBytes) {}

void ChangedFile::Reset() {
  m_stamp.reset();
  m_settled = false;
  m_hash.reset();
  m_text.clear();
  m_error.clear();
}

ChangedFile::Outcome ChangedFile::Refuse(const Stamp &stamp, Outcome outcome) {
  Refusal refusal{stamp, outcome, m_error};
  m_newRefusal = !(m_refused && *m_refused == refusal);
  m_refused = std::move(refusal);
  return outcome;
}

ChangedFile::Outcome ChangedFile::Read(bool force) {
  namespace fs = std::filesystem;
  const fs::path path(m_path);
  m_error.clear();
  m_newRefusal = false;

  // The stamp is taken before reading: a write during the read changes it
  // again, and the next look reads the file once more.
  Stamp stamp;
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
  if (!force && m_stamp && *m_stamp == stamp && m_settled)
    return Outcome::Unchanged;
  m_stamp = stamp;
  m_settled = stamp.exists && fs::file_time_type::clock::now().time_since_epoch() -
                                      std::chrono::nanoseconds(stamp.mtimeNs) >
                                  SettledStampAge;
  if (!stamp.exists) {
    m_hash.reset();
    m_refused.reset();
    return Outcome::Missing;
  }
  if (stamp.size > m_maxBytes) {
    m_hash.reset();
    return Refuse(stamp, Outcome::TooLarge);
  }
  QFile file(QString::fromStdString(m_path));
  if (!file.open(QIODevice::ReadOnly)) {
    m_error = file.errorString().toStdString();
    m_stamp.reset(); // try again next time
    return Refuse(stamp, Outcome::Failed);
  }
  // What the file holds, at most one byte past the cap: a file that grew
  // past the cap since its stamp was taken is refused.
  // Read in pieces: one read of the cap would allocate the cap.
  std::string text;
  char buffer[64 * 1024];
  for (;;) {
    const qint64 n = file.read(buffer, sizeof buffer);
    if (n < 0) {
      m_error = file.errorString().toStdString();
      m_stamp.reset(); // try again next time
      return Refuse(stamp, Outcome::Failed);
    }
    text.append(buffer, std::size_t(n));
    if (text.size() > m_maxBytes) {
      m_stamp.reset(); // look again next time
      m_hash.reset();
      return Refuse(stamp, Outcome::TooLarge);
    }
    if (n == 0)
      break;
  }
  const std::size_t hash = std::hash<std::string>{}(text);
  if (!force && m_hash && *m_hash == hash)
    return Outcome::Unchanged; // touched, not changed
  m_hash = hash;
  m_text = std::move(text);
  m_refused.reset();
  return Outcome::Changed;
}
