#include "FuzzSupport.h"

#include "core/ErrorReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

const std::string &ScratchFolder() {
  // Never destroyed: the clean-up at exit still needs the name.
  static const std::string *folder = [] {
    const char *tmp = std::getenv("TMPDIR");
    std::string base = tmp && *tmp ? tmp : (QDir("/dev/shm").exists() ? "/dev/shm" : "/tmp");
    std::string pattern = base + "/tickvane-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    return new std::string(pattern + "/");
  }();
  static const bool cleanUp = [] {
    return std::atexit([] { QDir(QString::fromStdString(*folder)).removeRecursively(); }) == 0;
  }();
  (void)cleanUp;
  return *folder;
}

std::string ScratchPath(const std::string &name) { return ScratchFolder() + name; }

void WriteScratchFile(const std::string &path, std::string_view bytes) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::abort();
  }
}

std::string ReadScratchFile(const std::string &path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly))
    return "<missing>";
  return file.readAll().toStdString();
}

void ClearScratchFolder() {
  QDir dir(QString::fromStdString(ScratchFolder()));
  for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
    dir.remove(name);
}

void QuietErrorReports() {
  SetErrorReportSink([](const std::string &, const std::string &) {});
}

void StartQtCore() {
  if (QCoreApplication::instance())
    return;
  static int argc = 1;
  static char name[] = "tickvane-fuzz";
  static char *argv[] = {name, nullptr};
  static std::unique_ptr<QCoreApplication> app(new QCoreApplication(argc, argv));
}

std::string Shown(std::string_view bytes, std::size_t max) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size() && i < max; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += char(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  if (bytes.size() > max)
    out += "...(" + std::to_string(bytes.size()) + " bytes)";
  return out;
}

void FuzzFailure(const char *check, const char *file, int line, const std::string &detail) {
  std::fprintf(stderr, "\n%s:%d: check failed: %s\n%s\n", file, line, check, detail.c_str());
  std::fflush(stderr);
  std::abort();
}
