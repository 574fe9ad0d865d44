#include "alerts/SenderThread.h"

#include "acquisition/MailMessage.h"
#include "alerts/AlertLog.h"
#include "alerts/EMailRecord.h"
#include "alerts/MailQueue.h"

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

template <class Pred> bool WaitUntil(Pred done, std::chrono::milliseconds limit = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

std::vector<std::string> LogTexts() {
  std::vector<std::string> out;
  for (const auto &line : AlertLogLines())
    out.push_back(line.substr(9)); // without "hh:mm:ss "
  return out;
}

std::vector<std::string> MailLines() {
  std::vector<std::string> out;
  for (const auto &t : LogTexts())
    if (t.rfind("EMail to ", 0) == 0)
      out.push_back(t);
  return out;
}

// What the sender handed to the transport.
struct SentMail {
  MailSettings settings;
  std::string from;
  std::vector<std::string> to;
  std::string subject;
  std::string body;
};

// A transport that answers as it is told, on the sender's thread.
class FakeTransport final : public TMailTransport {
public:
  enum Mode { Accept, Refuse, Throw, NoEnd, HangUntilAbort };

  struct Shared {
    std::mutex mutex;
    std::vector<SentMail> sent;
    Mode mode = Accept;
    std::atomic<bool> inSend{false};
    std::size_t Count() {
      std::lock_guard lock(mutex);
      return sent.size();
    }
  };

  explicit FakeTransport(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

  void Send(const MailSettings &settings, const TMailMessage &message, const StatusEvent &status,
            const AbortCheck &shouldAbort) override {
    Mode mode;
    {
      std::lock_guard lock(m_shared->mutex);
      m_shared->sent.push_back({settings, message.Header(TMailMessage::hiFrom),
                                message.Recipients(), message.Header(TMailMessage::hiSubject),
                                message.BodyText()});
      mode = m_shared->mode;
    }
    m_shared->inSend = true;
    status("Connecting");
    switch (mode) {
    case Accept:
      status("250 Message accepted for delivery"); // any letter case counts
      status("Disconnected");
      break;
    case Refuse:
      status("554 rejected");
      status("DISCONNECTED");
      break;
    case Throw:
      status("DISCONNECTED");
      m_shared->inSend = false;
      throw std::runtime_error("connection refused");
    case NoEnd:
      break;
    case HangUntilAbort:
      while (!shouldAbort())
        std::this_thread::sleep_for(1ms);
      status("CANCELLED");
      status("DISCONNECTED");
      break;
    }
    m_shared->inSend = false;
  }

private:
  std::shared_ptr<Shared> m_shared;
};

class SenderThreadTest : public ::testing::Test {
protected:
  void SetUp() override {
    ClearAlertLog();
    ResetMailSettings();
    shared = std::make_shared<FakeTransport::Shared>();
  }
  void TearDown() override { ResetMailSettings(); }

  std::unique_ptr<TSenderThread> Start(TSenderTimings timings = {5000, 5, 5}) {
    auto thread =
        std::make_unique<TSenderThread>(std::make_unique<FakeTransport>(shared), &queue, timings);
    thread->Start();
    return thread;
  }

  TMailQueue queue;
  std::shared_ptr<FakeTransport::Shared> shared;
};

TEST_F(SenderThreadTest, AcceptedMailIsSentOnce) {
  MailSettings settings;
  settings.SMTPHost = "mail.example.com";
  settings.SMTPPort = 587;
  SetMailSettings(settings);
  queue.Add(1, "me@x.com|a@x.com; b@x.com,c@x.com;|IBM up|Body\r\nline 2");
  auto thread = Start();
  ASSERT_TRUE(WaitUntil([&] { return MailLines().size() == 1; }));
  thread.reset();
  ASSERT_EQ(shared->Count(), 1u);
  const SentMail &mail = shared->sent[0];
  EXPECT_EQ(mail.settings, settings);
  EXPECT_EQ(mail.from, "me@x.com");
  EXPECT_EQ(mail.to, (std::vector<std::string>{"a@x.com", "b@x.com", "c@x.com"}))
      << "split at ; and , with the empty entry of the trailing ; dropped";
  EXPECT_EQ(mail.subject, "IBM up");
  EXPECT_EQ(mail.body, "Body\r\nline 2");
  const auto texts = LogTexts();
  EXPECT_EQ(texts[1], "--- Mailer Thread Started");
  EXPECT_EQ(MailLines()[0], "EMail to a@x.com; b@x.com,c@x.com; \"IBM up\" - SENT");
  EXPECT_EQ(queue.Count(), 0u);
}

TEST_F(SenderThreadTest, FourTriesThenCancelled) {
  shared->mode = FakeTransport::Refuse;
  queue.Add(1, "me|a@x.com|Subj|b");
  auto thread = Start();
  ASSERT_TRUE(WaitUntil([&] { return MailLines().size() == 4; }));
  thread.reset();
  EXPECT_EQ(MailLines(), (std::vector<std::string>{
                             "EMail to a@x.com \"Subj\" - FAILED ON TRY 1",
                             "EMail to a@x.com \"Subj\" - FAILED ON TRY 2",
                             "EMail to a@x.com \"Subj\" - FAILED ON TRY 3",
                             "EMail to a@x.com \"Subj\" - CANCELLED!",
                         }));
  EXPECT_EQ(shared->Count(), 4u);
  EXPECT_EQ(queue.Count(), 0u);
}

TEST_F(SenderThreadTest, AnExceptionCountsAsAFailedTry) {
  shared->mode = FakeTransport::Throw;
  queue.Add(3, "me|a@x.com|Subj|b");
  auto thread = Start();
  ASSERT_TRUE(WaitUntil([&] { return MailLines().size() == 2; }));
  thread.reset();
  EXPECT_EQ(MailLines(), (std::vector<std::string>{"EMail to a@x.com \"Subj\" - FAILED ON TRY 3",
                                                   "EMail to a@x.com \"Subj\" - CANCELLED!"}));
}

TEST_F(SenderThreadTest, MailsTakeTurnsAfterAFailure) {
  shared->mode = FakeTransport::Refuse;
  queue.Add(1, "me|a@x.com|first|b");
  queue.Add(1, "me|b@x.com|second|b");
  auto thread = Start();
  // The thread keeps retrying while we look: wait for at least three lines.
  ASSERT_TRUE(WaitUntil([&] { return MailLines().size() >= 3; }));
  thread.reset();
  const auto lines = MailLines();
  EXPECT_EQ(lines[0], "EMail to a@x.com \"first\" - FAILED ON TRY 1");
  EXPECT_EQ(lines[1], "EMail to b@x.com \"second\" - FAILED ON TRY 1");
  EXPECT_EQ(lines[2], "EMail to a@x.com \"first\" - FAILED ON TRY 2");
}

TEST_F(SenderThreadTest, MailQueuedLaterIsSentInALaterCycle) {
  auto thread = Start();
  ASSERT_TRUE(WaitUntil([&] { return LogTexts().size() == 2; })); // started
  EXPECT_EQ(shared->Count(), 0u);
  queue.Add(1, "me|a@x.com|late|b");
  ASSERT_TRUE(WaitUntil([&] { return MailLines().size() == 1; }));
  EXPECT_EQ(MailLines()[0], "EMail to a@x.com \"late\" - SENT");
}

TEST_F(SenderThreadTest, StopWhileWaitingForTheServerCancelsTheMail) {
  shared->mode = FakeTransport::NoEnd; // the session never reports its end
  queue.Add(1, "me|a@x.com|Subj|b");
  auto thread = Start({60000, 100, 60000});
  ASSERT_TRUE(WaitUntil([&] { return shared->Count() == 1; }));
  std::this_thread::sleep_for(20ms); // into the wait for the server
  const auto stopAt = std::chrono::steady_clock::now();
  thread.reset(); // stops and joins
  const auto took = std::chrono::steady_clock::now() - stopAt;
  EXPECT_LT(took, 1s) << "the stop is noticed within a poll step, not after 60 s";
  EXPECT_EQ(MailLines(), (std::vector<std::string>{"EMail to a@x.com \"Subj\" - CANCELLED!"}));
  EXPECT_EQ(queue.Count(), 0u) << "not re-queued";
}

TEST_F(SenderThreadTest, StopDuringTheSessionAbortsIt) {
  shared->mode = FakeTransport::HangUntilAbort;
  queue.Add(1, "me|a@x.com|Subj|b");
  auto thread = Start({60000, 100, 60000});
  ASSERT_TRUE(WaitUntil([&] { return shared->inSend.load(); }));
  const auto stopAt = std::chrono::steady_clock::now();
  thread->Terminate();
  ASSERT_TRUE(thread->WaitFor(5000));
  EXPECT_LT(std::chrono::steady_clock::now() - stopAt, 1s);
  EXPECT_EQ(MailLines(), (std::vector<std::string>{"EMail to a@x.com \"Subj\" - CANCELLED!"}));
  EXPECT_EQ(thread->LastStatus(), "DISCONNECTED");
}

TEST_F(SenderThreadTest, StopDuringThePauseEndsThePause) {
  auto thread = Start({60000, 100, 60000});
  ASSERT_TRUE(WaitUntil([&] { return LogTexts().size() == 2; }));
  const auto stopAt = std::chrono::steady_clock::now();
  thread->Terminate();
  ASSERT_TRUE(thread->WaitFor(5000));
  EXPECT_LT(std::chrono::steady_clock::now() - stopAt, 1s);
}

TEST_F(SenderThreadTest, SettingsAreOneSnapshotPerMail) {
  MailSettings a, b;
  a.SMTPHost = "a.example.com";
  a.SMTPPort = 1025;
  a.UserName = "user-a";
  a.Authenticate = 1;
  b.SMTPHost = "b.example.com";
  b.SMTPPort = 2025;
  b.UserName = "user-b";
  // The first mail may be picked before the writer's first turn.
  SetMailSettings(a);
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (int i = 0; !stop; ++i)
      SetMailSettings(i % 2 ? a : b);
  });
  for (int i = 0; i < 20; ++i)
    queue.Add(1, "me|x@x.com|s|b");
  auto thread = Start({5000, 1, 1});
  const bool done = WaitUntil([&] { return MailLines().size() == 20; });
  stop = true;
  writer.join();
  thread.reset();
  ASSERT_TRUE(done);
  for (const auto &mail : shared->sent)
    EXPECT_TRUE(mail.settings == a || mail.settings == b);
}

TEST_F(SenderThreadTest, DestructionOfAnIdleThreadJoinsIt) {
  auto thread = Start({60000, 100, 60000});
  ASSERT_TRUE(WaitUntil([&] { return thread->Running(); }));
  thread.reset();
  SUCCEED();
}

} // namespace
