#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One e-mail setup (template): where an alert's mail goes and what it says.
// Subject and Body may hold placeholders such as <SYMBOL>.
class EMailRecord {
public:
  static constexpr std::size_t IDMax = 7;

  std::string ID; // up to 7 characters
  std::string Name;
  std::string Subject;
  std::string SendTo;
  std::string Body; // lines separated by CR LF

  // An empty id draws a new one: seven characters of A-Z, a-z and 0-9.
  EMailRecord(const std::string &id, const std::string &body, const std::string &subject,
              const std::string &sendTo, const std::string &name);

  static std::string NewID();
};

// The list of e-mail setups, in the user's order, keyed by name (names may
// repeat). It owns its records. Used on the window thread.
class EMailSetupList {
public:
  int Count() const { return int(m_items.size()); }
  // Index 0..Count()-1; out of range gives nullptr / "".
  EMailRecord *Record(int index) const;
  std::string Name(int index) const;
  void SetName(int index, const std::string &name);

  // Appends under the given name and returns the index.
  int Add(const std::string &name, std::unique_ptr<EMailRecord> record);
  void Delete(int index);
  void Clear();
  // First entry whose name equals name without regard to letter case, or -1.
  int IndexOfName(const std::string &name) const;
  // First setup (in list order) with that ID, or nullptr.
  EMailRecord *FindByID(const std::string &id) const;

private:
  struct Item {
    std::string name;
    std::unique_ptr<EMailRecord> record;
  };
  std::vector<Item> m_items;
};

// The mail server settings that the alert file carries with the setups.
struct MailSettings {
  static constexpr int DefaultPort = 25;
  static constexpr const char *NoHost = "**none**";
  static constexpr const char *PlaceholderSender = "alerts@example.com";

  std::string SMTPHost = NoHost;
  int SMTPPort = DefaultPort;
  std::string FromAddress = PlaceholderSender;
  std::uint8_t Authenticate = 0; // 1 = log in with UserName and Password
  std::string UserName;
  std::string Password; // kept in plain text in the alert file

  bool operator==(const MailSettings &) const = default;
};

// The mail server as the alert file stores it: host + ":" + port, the text
// split at its first ":". An IPv6 address goes in brackets
// ("[2001:db8::25]:587") so that its colons survive.
std::string MailHostPortText(const std::string &host, int port);
// The reverse; a text without ":" is a host on port 25, a port that is not a
// number from 0 to 65535 gives 25.
void ParseMailHostPortText(const std::string &text, std::string &host, int &port);

// The module-wide mail settings. Read and written as one snapshot under a
// lock, so the mail sender thread sees a consistent set.
MailSettings GetMailSettings();
void SetMailSettings(const MailSettings &settings);
// The module-wide setup list (window thread).
EMailSetupList &EMailSetups();
// Back to the defaults with an empty setup list (start-up and tests).
void ResetMailSettings();
