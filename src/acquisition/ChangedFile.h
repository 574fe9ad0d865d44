#pragma once
// Reads a file that another program rewrites, when its content changed since
// the last read. A change is seen by the file's size and modification time;
// while the time is younger than the coarsest time-stamp granularity of file
// systems the content decides as well, so quick rewrites of the same size are
// not missed. A file rewritten with the same bytes counts as unchanged.
//
// Used from one thread at a time.
#include <cstdint>
#include <optional>
#include <string>

class ChangedFile {
public:
  enum class Outcome {
    Unchanged, // nothing new since the last read
    Missing,   // no such file
    TooLarge,  // larger than the cap; not read
    Failed,    // could not be read (Error() says why); tried again next time
    Changed,   // Text() holds the new content
  };

  ChangedFile(std::string path, std::uintmax_t maxBytes);

  // Looks at the file; with force, reads it even when it looks unchanged.
  Outcome Read(bool force = false);
  // The content of the last Changed read.
  const std::string &Text() const { return m_text; }
  std::string TakeText() { return std::move(m_text); }
  const std::string &Error() const { return m_error; }
  // After TooLarge or Failed: whether the refusal is news, that is the first
  // for this version of the file (size and modification time) or for another
  // reason. A file refused again unchanged is not reported again.
  bool NewRefusal() const { return m_newRefusal; }
  const std::string &Path() const { return m_path; }
  std::uintmax_t MaxBytes() const { return m_maxBytes; }

  // Forgets what was read: the next Read reads the file (a refusal already
  // reported for the same version stays known).
  void Reset();

private:
  struct Stamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t mtimeNs = 0;
    bool operator==(const Stamp &) const = default;
  };

  std::string m_path;
  std::uintmax_t m_maxBytes;
  std::optional<Stamp> m_stamp;
  bool m_settled = false; // the stamp is old enough to stand for the content
  std::optional<std::size_t> m_hash;
  std::string m_text;
  std::string m_error;
  // The version of the file last refused and why; none after a read or a missing file.
  struct Refusal {
    Stamp stamp;
    Outcome outcome = Outcome::Failed;
    std::string error;
    bool operator==(const Refusal &) const = default;
  };
  std::optional<Refusal> m_refused;
  bool m_newRefusal = false;

  Outcome Refuse(const Stamp &stamp, Outcome outcome);
};
