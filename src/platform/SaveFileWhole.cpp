#include "platform/SaveFileWhole.h"

#include <QSaveFile>

bool SaveFileWhole(const std::string &path, std::string_view bytes, std::string &error,
                   bool ownerOnly) {
  QSaveFile file(QString::fromStdString(path));
  const auto fail = [&] {
    // The reason first: cancelling replaces it with its own text.
    error = file.errorString().toStdString();
    file.cancelWriting();
    if (error.empty())
      error = "cannot write " + path;
    return false;
  };
  if (!file.open(QIODevice::WriteOnly))
    return fail();
  if (ownerOnly && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
    return fail();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const qint64 n = file.write(bytes.data() + done, qint64(bytes.size() - done));
    if (n <= 0)
      break;
    done += std::size_t(n);
  }
  if (done < bytes.size())
    return fail();
  // A write cut short by a full disk gives its reason only at the next try.
  if (!file.flush() && !file.flush())
    return fail();
  if (!file.commit())
    return fail();
  error.clear();
  return true;
}
