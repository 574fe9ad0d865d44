#pragma once
// Shared by the fuzz harnesses: a scratch folder for the files a reader or
// writer needs, quiet error reports, and the check that stops the run (and
// makes libFuzzer keep the input) when a property does not hold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A folder of this process's own under $TMPDIR (or /dev/shm), made on first use.
const std::string &ScratchFolder();
std::string ScratchPath(const std::string &name);
void WriteScratchFile(const std::string &path, std::string_view bytes);
std::string ReadScratchFile(const std::string &path);
// Empties the scratch folder (files a reader set aside, temporary files).
void ClearScratchFolder();

// Error reports are dropped instead of opening the report window.
void QuietErrorReports();
// A QCoreApplication for code that needs one (sockets, TLS plug-ins).
void StartQtCore();

// At most max bytes of the input, control bytes escaped, for messages.
std::string Shown(std::string_view bytes, std::size_t max = 160);

[[noreturn]] void FuzzFailure(const char *check, const char *file, int line,
                              const std::string &detail);
#define FUZZ_CHECK(cond, detail)                                                                   \
  do {                                                                                             \
    if (!(cond))                                                                                   \
      FuzzFailure(#cond, __FILE__, __LINE__, (detail));                                            \
  } while (0)
