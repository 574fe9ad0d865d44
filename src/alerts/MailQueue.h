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
//
// A mail may belong to an alert (its ID). An alert has at most one waiting
// mail: a newer one takes the place of the one that waits, so an alert that
// fires faster than mails go out cannot grow the queue without end.
class TMailQueue {
public:
  static constexpr std::size_t DefaultCapacity = 200;

  explicit TMailQueue(std::size_t capacity = DefaultCapacity) : m_capacity(capacity) {}

  // One waiting mail: its item text and the alert it belongs to ("" none).
  struct Entry {
    std::string Text;
    std::string AlertID;
  };

  // Appends IntToStr(Try) + "|" + rest, where rest is the item without its try
  // field. With an alertID whose mail already waits, the new mail takes that
  // mail's place in the queue and the old one is dropped, logged as
  // "... - REPLACED BY A NEWER MAIL". False when the queue is full: the mail
  // is dropped, and "EMail to <recipients> "<subject>" - DROPPED, MAIL QUEUE
  // FULL" goes to the alert log and the program log.
  bool Add(int Try, const std::string &rest, const std::string &alertID = "");
  // Puts a mail that failed back at the end for another try. When a newer
  // mail of its alert waits already, the failed one is not kept: false.
  bool Requeue(int Try, const std::string &rest, const std::string &alertID);
  // Takes the first item out of the queue.
  std::optional<std::string> TakeFirst();
  std::optional<Entry> TakeFirstEntry();

  std::size_t Count() const;
  void Clear();
  std::size_t Capacity() const;
  void SetCapacity(std::size_t capacity);

private:
  mutable std::mutex m_mutex;
  std::deque<Entry> m_items;
  std::size_t m_capacity;
};

// The program's mail queue.
TMailQueue &MailQueue();

// Queues a mail on the program's queue: every "|" is removed from the four
// texts first. False when the mail was dropped because the queue was full.
// alertID: the alert the mail tells of (its waiting mail is replaced).
bool QueueAlertMail(int Try, const std::string &Sender, const std::string &SendTo,
                    const std::string &Subject, const std::string &Body,
                    const std::string &alertID = "");
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
// Writes the outcome line of a queue item to the alert log and the program log.
void LogMailOutcome(const std::string &itemText, const std::string &ending);

// Endings of mails that never reached the server.
inline constexpr const char *MailReplacedEnding = " - REPLACED BY A NEWER MAIL";
inline constexpr const char *MailQueueFullEnding = " - DROPPED, MAIL QUEUE FULL";
