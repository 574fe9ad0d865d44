#include "alerts/MailQueue.h"

#include "alerts/AlertLog.h"
#include "core/Log.h"
#include "platform/Format.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

namespace {

std::string WithoutBars(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '|')
      out += c;
  return out;
}

// Cuts the next "|"-separated field off text; the last field takes the rest.
std::string NextField(std::string &text) {
  const auto bar = text.find('|');
  std::string field = text.substr(0, bar);
  text = bar == std::string::npos ? std::string() : text.substr(bar + 1);
  return field;
}

} // namespace

bool TMailQueue::Add(int Try, const std::string &rest, const std::string &alertID) {
  std::string text = IntToStr(Try) + "|" + rest;
  std::string replaced;
  bool added = false;
  {
    std::lock_guard lock(m_mutex);
    auto waiting = alertID.empty()
                       ? m_items.end()
                       : std::find_if(m_items.begin(), m_items.end(),
                                      [&](const Entry &e) { return e.AlertID == alertID; });
    if (waiting != m_items.end()) {
      replaced = std::exchange(waiting->Text, std::move(text));
      added = true;
    } else if (m_items.size() < m_capacity) {
      m_items.push_back(Entry{std::move(text), alertID});
      added = true;
    }
  }
  // The log is written outside the queue's lock.
  if (!replaced.empty())
    LogMailOutcome(replaced, MailReplacedEnding);
  if (!added)
    LogMailOutcome("0|" + rest, MailQueueFullEnding);
  return added;
}

bool TMailQueue::Requeue(int Try, const std::string &rest, const std::string &alertID) {
  {
    std::lock_guard lock(m_mutex);
    if (!alertID.empty() && std::any_of(m_items.begin(), m_items.end(),
                                        [&](const Entry &e) { return e.AlertID == alertID; }))
      return false;
  }
  return Add(Try, rest, alertID);
}

std::optional<TMailQueue::Entry> TMailQueue::TakeFirstEntry() {
  std::lock_guard lock(m_mutex);
  if (m_items.empty())
    return std::nullopt;
  Entry entry = std::move(m_items.front());
  m_items.pop_front();
  return entry;
}

std::optional<std::string> TMailQueue::TakeFirst() {
  std::optional<Entry> entry = TakeFirstEntry();
  if (!entry)
    return std::nullopt;
  return std::move(entry->Text);
}

std::size_t TMailQueue::Count() const {
  std::lock_guard lock(m_mutex);
  return m_items.size();
}

void TMailQueue::Clear() {
  std::lock_guard lock(m_mutex);
  m_items.clear();
}

std::size_t TMailQueue::Capacity() const {
  std::lock_guard lock(m_mutex);
  return m_capacity;
}

void TMailQueue::SetCapacity(std::size_t capacity) {
  std::lock_guard lock(m_mutex);
  m_capacity = capacity;
}

TMailQueue &MailQueue() {
  static TMailQueue queue;
  return queue;
}

bool QueueAlertMail(int Try, const std::string &Sender, const std::string &SendTo,
                    const std::string &Subject, const std::string &Body,
                    const std::string &alertID) {
  return MailQueue().Add(Try,
                         WithoutBars(Sender) + "|" + WithoutBars(SendTo) + "|" +
                             WithoutBars(Subject) + "|" + WithoutBars(Body),
                         alertID);
}

bool AddMailQueueItem(int Try, const std::string &Rest) { return MailQueue().Add(Try, Rest); }

TMailQueueItem ParseMailQueueItem(const std::string &text) {
  TMailQueueItem item;
  std::string rest = text;
  const std::int64_t tryNumber = StrToIntDef(NextField(rest), 99);
  item.Try = (tryNumber < INT_MIN || tryNumber > INT_MAX) ? 99 : int(tryNumber);
  item.Rest = rest;
  item.Sender = NextField(rest);
  item.SendTo = NextField(rest);
  item.Subject = NextField(rest);
  item.Body = rest;
  return item;
}

std::string MailOutcomeLine(const std::string &sendTo, const std::string &subject,
                            const std::string &ending) {
  return "EMail to " + sendTo + " \"" + subject + "\"" + ending;
}

void LogMailOutcome(const std::string &itemText, const std::string &ending) {
  const TMailQueueItem item = ParseMailQueueItem(itemText);
  const std::string line = MailOutcomeLine(item.SendTo, item.Subject, ending);
  AddAlertLogLine(line);
  WriteLog(line, 0);
}
