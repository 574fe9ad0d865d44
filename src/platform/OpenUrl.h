#pragma once
#include <mutex>
#include <string>
#include <vector>

// Opening web pages in the user's browser. Code calls OpenURL (or AppUrlOpener()), so
// that tests can install a FakeUrlOpener.
class UrlOpener {
public:
  virtual ~UrlOpener() = default;
  // Opens url; false when it is empty or the desktop could not open it.
  virtual bool Open(const std::string &url) = 0;
};

// Through the desktop's default browser. An address without a scheme is taken as the
// user would type it ("www.example.com" opens http://www.example.com).
class DesktopUrlOpener final : public UrlOpener {
public:
  bool Open(const std::string &url) override;
};

// Records every address; succeeds for any non-blank address unless told to fail.
class FakeUrlOpener final : public UrlOpener {
public:
  bool Open(const std::string &url) override;

  void SetFail(bool fail);
  std::vector<std::string> Opened() const;
  void Clear();

private:
  mutable std::mutex m_mutex;
  std::vector<std::string> m_opened;
  bool m_fail = false;
};

// The opener in use; DesktopUrlOpener unless a test installed another.
UrlOpener &AppUrlOpener();
// Installs an opener (nullptr restores the real one). The caller keeps ownership.
void SetAppUrlOpener(UrlOpener *opener);

// Opens url in the user's browser.
bool OpenURL(const std::string &url);

// ---- Links from outside data (news items, pages)
// The web address a link stands for, or "" when it is none: only http and
// https addresses with a host are taken; an address without a scheme is taken
// as a user would type it ("www.example.com/a" is http://www.example.com/a)
// when it starts with a host name. Other schemes (file:, javascript:, smb:,
// ftp:, ...) and bare paths give "".
std::string WebLinkUrl(const std::string &link);
// Opens a link from outside data in the user's browser when WebLinkUrl takes
// it; false (nothing opened) otherwise.
bool OpenWebLink(const std::string &link);
