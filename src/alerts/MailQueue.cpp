#include "alerts/MailQueue.h"

#include "alerts/AlertLog.h"
#include "core/Log.h"
#include "platform/Format.h"

#include <climits>
#include <cstdint>

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

bool TMailQueue::Add(int Try, const std::string &rest) {
  {
    std::lock_guard lock(m_mutex);
    if (m_items.size() < m_capacity) {
      m_items.push_back(IntToStr(Try) + "|" + rest);
      return true;
    }
  }
  const TMailQueueItem item = ParseMailQueueItem("0|" + rest);
  const std::string line =
      MailOutcomeLine(item.SendTo, item.Subject, " - DROPPED, MAIL QUEUE FULL");
  AddAlertLogLine(line);
  WriteLog(line, 0);
  return false;
}

std::optional<std::string> TMailQueue::TakeFirst() {
  std::lock_guard lock(m_mutex);
  if (m_items.empty())
    return std::nullopt;
  std::string item = std::move(m_items.front());
  m_items.pop_front();
  return item;
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
                    const std::string &Subject, const std::string &Body) {
  return AddMailQueueItem(Try, WithoutBars(Sender) + "|" + WithoutBars(SendTo) + "|" +
                                   WithoutBars(Subject) + "|" + WithoutBars(Body));
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
