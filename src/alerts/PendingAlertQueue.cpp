#include "alerts/PendingAlertQueue.h"

#include "alerts/AlertRecord.h"

bool TPendingAlertQueue::Push(const std::string &id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (int(m_ids.size()) >= Capacity)
    return false;
  m_ids.push_back(id.substr(0, TAlertRecord::IDMax));
  return true;
}

bool TPendingAlertQueue::TakeFirst(std::string &id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_ids.empty())
    return false;
  id = std::move(m_ids.front());
  m_ids.pop_front();
  return true;
}

void TPendingAlertQueue::PutBack(const std::string &id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_ids.push_front(id.substr(0, TAlertRecord::IDMax));
}

int TPendingAlertQueue::Count() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return int(m_ids.size());
}

std::vector<std::string> TPendingAlertQueue::IDs() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return {m_ids.begin(), m_ids.end()};
}

void TPendingAlertQueue::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_ids.clear();
}

TPendingAlertQueue &PendingAlerts() {
  static TPendingAlertQueue queue;
  return queue;
}
