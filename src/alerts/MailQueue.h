#pragma once
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

// The queue of alert mails that wait for the mail sender thread. An item is the
// text try + "|" + sender + "|" + recipients + "|" + subject + "|" + body, with
// try the attempt number (1 for a new mail). Producers on any thread append at
// the end; the sender takes from the front. The queue holds at most Capacity()
// items: a mail that finds it full is dropped, and the drop is logged.
class TMailQueue {
public:
  static constexpr std::size_t DefaultCapacity = 200;

  explicit TMailQueue(std::size_t capacity = DefaultCapacity) : m_capacity(capacity) {}

  // Appends IntToStr(Try) + "|" + rest, where rest is the item without its try
  // field. False when the queue is full: the mail is dropped, and
  // "EMail to <recipients> "<subject>" - DROPPED, MAIL QUEUE FULL" goes to the
  // alert log and the program log.
  bool Add(int Try, const std::string &rest);
  // Takes the first item out of the queue.
  std::optional<std::string> TakeFirst();

  std::size_t Count() const;
  void Clear();
  std::size_t Capacity() const;
  void SetCapacity(std::size_t capacity);

private:
  mutable std::mutex m_mutex;
  std::deque<std::string> m_items;
  std::size_t m_capacity;
};

// The program's mail queue.
TMailQueue &MailQueue();

// Queues a mail on the program's queue: every "|" is removed from the four
// texts first. False when the mail was dropped because the queue was full.
bool QueueAlertMail(int Try, const std::string &Sender, const std::string &SendTo,
                    const std::string &Subject, const std::string &Body);
// TMailQueue::Add on the program's queue.
bool AddMailQueueItem(int Try, const std::string &Rest);

// A queue item split into its fields.
struct TMailQueueItem {
  int Try = 0;      // 99 when the try field is not a number
  std::string Rest; // everything after the first "|", for a re-queue
  std::string Sender;
  std::string SendTo; // as queued: addresses separated by ";" or ","
  std::string Subject;
  std::string Body; // the remainder
};
TMailQueueItem ParseMailQueueItem(const std::string &text);

// The alert log's text for a mail: "EMail to " + recipients + " "subject"" + ending.
std::string MailOutcomeLine(const std::string &sendTo, const std::string &subject,
                            const std::string &ending);
