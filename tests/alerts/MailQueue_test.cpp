#include "alerts/MailQueue.h"

#include "alerts/AlertLog.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

// The alert log's lines without their "hh:mm:ss " stamps.
std::vector<std::string> LogTexts() {
  std::vector<std::string> out;
  for (const auto &line : AlertLogLines())
    out.push_back(line.substr(9));
  return out;
}

class MailQueueTest : public ::testing::Test {
protected:
  void SetUp() override {
    MailQueue().Clear();
    ClearAlertLog();
  }
  void TearDown() override {
    MailQueue().Clear();
    MailQueue().SetCapacity(TMailQueue::DefaultCapacity);
  }
};

TEST_F(MailQueueTest, QueuedMailLosesItsBars) {
  ASSERT_TRUE(QueueAlertMail(1, "me@x.com", "a@x.com|b@x.com", "IBM | up", "line 1\r\n|line 2"));
  EXPECT_EQ(MailQueue().TakeFirst(), "1|me@x.com|a@x.comb@x.com|IBM  up|line 1\r\nline 2");
  EXPECT_EQ(MailQueue().TakeFirst(), std::nullopt);
}

TEST_F(MailQueueTest, FirstInFirstOut) {
  AddMailQueueItem(1, "a");
  AddMailQueueItem(3, "b");
  EXPECT_EQ(MailQueue().Count(), 2u);
  EXPECT_EQ(MailQueue().TakeFirst(), "1|a");
  EXPECT_EQ(MailQueue().TakeFirst(), "3|b");
}

TEST_F(MailQueueTest, ItemsSplitIntoFields) {
  struct Case {
    const char *name;
    std::string text;
    int tryNumber;
    std::string rest, sender, sendTo, subject, body;
  };
  const Case cases[] = {
      {"normal", "2|me|a;b|subj|body", 2, "me|a;b|subj|body", "me", "a;b", "subj", "body"},
      {"not a number", "x|me|a|s|b", 99, "me|a|s|b", "me", "a", "s", "b"},
      {"too large", "99999999999|me|a|s|b", 99, "me|a|s|b", "me", "a", "s", "b"},
      {"short", "1|me", 1, "me", "me", "", "", ""},
      {"body keeps bars", "1|me|a|s|b|c", 1, "me|a|s|b|c", "me", "a", "s", "b|c"},
  };
  for (const auto &c : cases) {
    const TMailQueueItem item = ParseMailQueueItem(c.text);
    EXPECT_EQ(item.Try, c.tryNumber) << c.name;
    EXPECT_EQ(item.Rest, c.rest) << c.name;
    EXPECT_EQ(item.Sender, c.sender) << c.name;
    EXPECT_EQ(item.SendTo, c.sendTo) << c.name;
    EXPECT_EQ(item.Subject, c.subject) << c.name;
    EXPECT_EQ(item.Body, c.body) << c.name;
  }
}

TEST_F(MailQueueTest, FullQueueDropsAndLogsTheMail) {
  MailQueue().SetCapacity(2);
  EXPECT_TRUE(QueueAlertMail(1, "me", "a@x.com", "one", "b"));
  EXPECT_TRUE(QueueAlertMail(1, "me", "a@x.com", "two", "b"));
  EXPECT_FALSE(QueueAlertMail(1, "me", "a@x.com;b@x.com", "three", "b"));
  EXPECT_EQ(MailQueue().Count(), 2u);
  EXPECT_EQ(LogTexts().back(), "EMail to a@x.com;b@x.com \"three\" - DROPPED, MAIL QUEUE FULL");
  MailQueue().TakeFirst();
  EXPECT_TRUE(QueueAlertMail(1, "me", "a@x.com", "four", "b"));
}

TEST_F(MailQueueTest, ProducersOnSeveralThreads) {
  std::vector<std::thread> producers;
  for (int t = 0; t < 4; ++t)
    producers.emplace_back([] {
      for (int i = 0; i < 25; ++i)
        QueueAlertMail(1, "me", "a@x.com", "s", "b");
    });
  for (auto &p : producers)
    p.join();
  EXPECT_EQ(MailQueue().Count(), 100u);
}

} // namespace
