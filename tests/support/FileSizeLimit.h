#pragma once
#include <csignal>
#include <sys/resource.h>

// While alive, every write past `bytes` into a file fails (EFBIG) for this
// process, whatever the user: a full disk in miniature. Keep the scope short:
// it binds every file the process writes, a redirected standard output too.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    m_ok = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = m_old;
    small.rlim_cur = bytes;
    m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
  }
  FileSizeLimit(const FileSizeLimit &) = delete;
  FileSizeLimit &operator=(const FileSizeLimit &) = delete;
  bool Active() const { return m_ok; }

private:
  struct rlimit m_old {};
  void (*m_oldHandler)(int) = nullptr;
  bool m_ok = false;
};
