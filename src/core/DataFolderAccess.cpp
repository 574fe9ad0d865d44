#include "core/DataFolderAccess.h"

#include "core/Log.h"
#include "platform/Prompt.h"
#include "platform/SystemErrorText.h"

#include <cerrno>
#include <cstring>
#include <stdlib.h>
#include <unistd.h>
#include <vector>

bool DataFolderWritable(const std::string &folder, std::string &reason) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/')
    path += '/';
  path += ".tickvane-write-probe-XXXXXX";
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    reason = SystemErrorText(errno);
    return false;
  }
  close(fd);
  unlink(name.data());
  reason.clear();
  return true;
}

bool WarnIfDataFolderReadOnly(const std::string &folder) {
  std::string reason;
  if (DataFolderWritable(folder, reason))
    return true;
  const std::string text =
      "The data folder " + folder + " cannot be written (" + reason +
      "). Settings, portfolios and alerts will not be saved, and another copy of the program "
      "started on this folder will not be noticed.";
  WriteLog(text, 0);
  MessageDlg(text, "Tickvane", mtWarning, mbOK);
  return false;
}
