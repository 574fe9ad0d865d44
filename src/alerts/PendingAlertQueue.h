#pragma once
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// The IDs of triggered alerts waiting for the window thread to act on them.
// The evaluation thread pushes without ever waiting for the window thread;
// the heartbeat takes them one at a time. A short mutex guards the list, so a
// push is safe while the pusher holds the alert store lock.
class TPendingAlertQueue {
public:
  static constexpr int Capacity = 30;

  // Appends the ID (cut to six characters). False, and the ID dropped, when
  // Capacity IDs are already waiting.
  bool Push(const std::string &id);
  // Takes the oldest ID out of the queue; false when the queue is empty.
  bool TakeFirst(std::string &id);
  // Puts an ID that was taken but could not be handled now back in front.
  void PutBack(const std::string &id);

  int Count() const;
  std::vector<std::string> IDs() const;
  void Clear();

private:
  mutable std::mutex m_mutex;
  std::deque<std::string> m_ids;
};

// The program's queue.
TPendingAlertQueue &PendingAlerts();
