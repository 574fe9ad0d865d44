#include "platform/SaveFileWhole.h"

#include "platform/SystemErrorText.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> g_fault{0};

constexpr std::string_view kTempMarker = ".tickvane-save-";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kRandomChars =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

bool IsRandomChar(char c) { return kRandomChars.find(c) != std::string_view::npos; }

std::string RandomPart() {
  std::string part(kRandomLength, 'a');
  for (char &c : part)
    c = kRandomChars[QRandomGenerator::global()->bounded(int(kRandomChars.size()))];
  return part;
}

// The file a save of path really replaces: a link is followed, so that the
// link stays and its target gets the new contents.
std::string FinalPath(const std::string &path) {
  const QFileInfo info(QString::fromStdString(path));
  if (info.isSymLink()) {
    const QString target = info.symLinkTarget();
    if (!target.isEmpty())
      return target.toStdString();
  }
  return path;
}

void SplitPath(const std::string &path, std::string &folder, std::string &name) {
  const std::size_t slash = path.rfind('/');
  folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      if (n == 0)
        errno = EIO;
      return false;
    }
    done += std::size_t(n);
  }
  return true;
}

} // namespace

void SetSaveFileFault(int error) { g_fault = error; }

std::string SaveTempPrefix(std::string_view fileName) {
  return std::string(fileName) + std::string(kTempMarker);
}

bool IsSaveTempName(std::string_view fileName, std::string_view name) {
  const std::string prefix = SaveTempPrefix(fileName);
  if (name.size() != prefix.size() + kRandomLength || name.substr(0, prefix.size()) != prefix)
    return false;
  for (char c : name.substr(prefix.size()))
    if (!IsRandomChar(c))
      return false;
  return true;
}

bool SaveFileWhole(const std::string &path, std::string_view bytes, std::string &error,
                   bool ownerOnly) {
  const std::string finalPath = FinalPath(path);
  std::string folder, name;
  SplitPath(finalPath, folder, name);
  if (name.empty()) {
    error = "cannot write " + path;
    return false;
  }
  struct stat old {};
  const bool exists = ::stat(finalPath.c_str(), &old) == 0;
  mode_t mode = exists ? mode_t(old.st_mode & 07777) : mode_t(0666);
  if (ownerOnly)
    mode = S_IRUSR | S_IWUSR;

  if (const int fault = g_fault.load(); fault != 0) {
    error = SystemErrorText(fault);
    return false;
  }
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder + SaveTempPrefix(name) + RandomPart();
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, ownerOnly ? mode : 0666);
    if (fd < 0 && errno != EEXIST)
      break;
  }
  const auto fail = [&](int code) {
    error = SystemErrorText(code);
    if (error.empty())
      error = "cannot write " + path;
    return false;
  };
  if (fd < 0)
    return fail(errno);
  const auto discard = [&](int code) {
    ::close(fd);
    ::unlink(temp.c_str());
    return fail(code);
  };
  // A file that exists keeps its permissions (the creation mask may have
  // narrowed them); a new one gets what the mask leaves.
  if ((ownerOnly || exists) && ::fchmod(fd, mode) != 0)
    return discard(errno);
  if (!WriteAll(fd, bytes))
    return discard(errno);
  if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
    return discard(errno);
  if (::close(fd) != 0) {
    const int code = errno;
    ::unlink(temp.c_str());
    return fail(code);
  }
  if (::rename(temp.c_str(), finalPath.c_str()) != 0) {
    const int code = errno;
    ::unlink(temp.c_str());
    return fail(code);
  }
  error.clear();
  return true;
}
