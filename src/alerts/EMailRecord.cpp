#include "alerts/EMailRecord.h"

#include "alerts/AlertRandom.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <mutex>

namespace {

char SetupIDChar(int value) {
  if (value < 26)
    return char('A' + value);
  if (value < 52)
    return char('a' + value - 26);
  return char('0' + value - 52);
}

std::mutex g_settingsMutex;
MailSettings g_settings;

} // namespace

EMailRecord::EMailRecord(const std::string &id, const std::string &body, const std::string &subject,
                         const std::string &sendTo, const std::string &name)
    : ID(id.empty() ? NewID() : CutTo(id, IDMax)), Name(name), Subject(subject), SendTo(sendTo),
      Body(body) {}

std::string EMailRecord::NewID() { return DrawRandomText(int(IDMax), 62, SetupIDChar); }

EMailRecord *EMailSetupList::Record(int index) const {
  if (index < 0 || index >= Count())
    return nullptr;
  return m_items[std::size_t(index)].record.get();
}

std::string EMailSetupList::Name(int index) const {
  if (index < 0 || index >= Count())
    return "";
  return m_items[std::size_t(index)].name;
}

void EMailSetupList::SetName(int index, const std::string &name) {
  if (index >= 0 && index < Count())
    m_items[std::size_t(index)].name = name;
}

int EMailSetupList::Add(const std::string &name, std::unique_ptr<EMailRecord> record) {
  m_items.push_back(Item{name, std::move(record)});
  return Count() - 1;
}

void EMailSetupList::Delete(int index) {
  if (index >= 0 && index < Count())
    m_items.erase(m_items.begin() + index);
}

void EMailSetupList::Clear() { m_items.clear(); }

int EMailSetupList::IndexOfName(const std::string &name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(m_items[std::size_t(i)].name, name))
      return i;
  return -1;
}

EMailRecord *EMailSetupList::FindByID(const std::string &id) const {
  for (const Item &item : m_items)
    if (item.record && item.record->ID == id)
      return item.record.get();
  return nullptr;
}

std::string MailHostPortText(const std::string &host, int port) {
  const bool bracketed = !host.empty() && host.front() == '[' && host.back() == ']';
  const bool v6 = !bracketed && host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

void ParseMailHostPortText(const std::string &text, std::string &host, int &port) {
  port = MailSettings::DefaultPort;
  std::size_t colon = text.find(':');
  host = text.substr(0, colon);
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close != std::string::npos) {
      host = text.substr(1, close - 1);
      colon = close + 1 < text.size() && text[close + 1] == ':' ? close + 1 : std::string::npos;
    }
  }
  if (colon == std::string::npos)
    return;
  const std::int64_t value = StrToIntDef(Trim(text.substr(colon + 1)), -1);
  if (value >= 0 && value <= 65535)
    port = int(value);
}

MailSettings GetMailSettings() {
  std::lock_guard<std::mutex> lock(g_settingsMutex);
  return g_settings;
}

void SetMailSettings(const MailSettings &settings) {
  std::lock_guard<std::mutex> lock(g_settingsMutex);
  g_settings = settings;
}

EMailSetupList &EMailSetups() {
  static EMailSetupList list;
  return list;
}

void ResetMailSettings() {
  SetMailSettings(MailSettings{});
  EMailSetups().Clear();
}
