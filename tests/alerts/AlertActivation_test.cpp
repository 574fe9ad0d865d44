#include "AlertPassFixture.h"

#include "alerts/AlertActivation.h"
#include "alerts/AlertMailComposer.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertPopupHook.h"
#include "alerts/EMailRecord.h"
#include "platform/WindowFlash.h"

#include <algorithm>

namespace {

class Activation : public AlertPassFixture {
protected:
  void SetUp() override {
    AlertPassFixture::SetUp();
    SetAppWindowFlash(&flash);
    SetAlertPopupHook([this](const AlertPopupInfo &info) {
      popups.push_back(info);
      if (onPopup)
        onPopup(info);
    });
    SetAlertMailSink([this](const AlertMail &mail) { mails.push_back(mail); });
    ResetMailSettings();
    EMailSetups().Add("Desk", std::make_unique<EMailRecord>("SETUP01", "Body <SYMBOL>", "Alert",
                                                            "me@example.com", "Desk"));
  }
  void TearDown() override {
    SetAlertPopupHook(nullptr);
    SetAlertMailSink(nullptr);
    SetAppWindowFlash(nullptr);
    ResetMailSettings();
    AlertPassFixture::TearDown();
  }

  std::string AddWithActions(std::initializer_list<int> actions, int type = 1) {
    Tick("IBM", 104);
    auto a = Alert("IBM", type, 105.5);
    for (int e : actions)
      a->Actions.Include(e);
    a->EMailSetupID = "SETUP01";
    a->TriggerValue = 106.25;
    return Add(std::move(a));
  }
  int Activate() { return ActivatePendingAlerts(store, queue, work); }

  FakeWindowFlash flash;
  std::vector<AlertPopupInfo> popups;
  std::function<void(const AlertPopupInfo &)> onPopup;
  std::vector<AlertMail> mails;
  TAlertRecord work;
};

TEST_F(Activation, PopupAndHighlightShowOnePopupUntilTurnedOff) {
  const std::string id = AddWithActions({ActionPopup, ActionHighlightRow});
  queue.Push(id);
  EXPECT_EQ(Activate(), 1);

  ASSERT_EQ(popups.size(), 1u);
  const AlertPopupInfo &p = popups[0];
  EXPECT_EQ(p.ID, id);
  EXPECT_EQ(p.Symbol, "IBM");
  EXPECT_EQ(p.PriceText, "106.25");
  EXPECT_EQ(p.PriceColor, clGreen);
  EXPECT_EQ(p.Description, "IBM: High Last Price at 105.5");
  EXPECT_EQ(p.Caption, "High Price alert");
  EXPECT_FLOAT_EQ(p.Limit, 105.5f);

  TAlertRecord a = Stored(id);
  EXPECT_TRUE(a.ActiveActions.Contains(ActionPopup));
  EXPECT_TRUE(a.ActiveActions.Contains(ActionHighlightRow));
  EXPECT_EQ(a.ActivationTimes[ActionPopup], clock.Now());
  for (int set : {1, 2, 4})
    EXPECT_EQ(TakeUpdatedSymbolList(set), std::vector<std::string>{"IBM"}) << set;
  bool active = false;
  TDateTime age = 0;
  EXPECT_EQ(store.GetRowHighlight("IBM", active, age), TAlertRecord::DefaultHighlightColor);
  EXPECT_TRUE(active);
  EXPECT_TRUE(mails.empty()) << "no e-mail action";
  EXPECT_TRUE(flash.Calls().empty());

  queue.Push(id);
  Activate();
  EXPECT_EQ(popups.size(), 1u) << "still active: no second pop-up";

  store.TurnOffAlert(id, false);
  queue.Push(id);
  Activate();
  EXPECT_EQ(popups.size(), 2u);
}

TEST_F(Activation, PopupPriceColourByType) {
  const std::string low = AddWithActions({ActionPopup}, 0);
  Tick("IBM", 1);
  auto news = Alert("IBM", 2, 4);
  news->Actions.Include(ActionPopup);
  const std::string newsId = Add(std::move(news));
  queue.Push(low);
  queue.Push(newsId);
  Activate();
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[0].PriceColor, clRed);
  EXPECT_EQ(popups[0].Caption, "Low Price alert");
  EXPECT_EQ(popups[1].PriceColor, clBlack);
  EXPECT_EQ(popups[1].Caption, "New News alert");
}

TEST_F(Activation, FlashStartsAtOnceAndStaysInEffect) {
  const std::string id = AddWithActions({ActionFlashWindow});
  queue.Push(id);
  Activate();
  const TAlertRecord a = Stored(id);
  EXPECT_TRUE(a.ActiveActions.Contains(ActionFlashWindow));
  EXPECT_EQ(a.ActivationTimes[ActionFlashWindow], clock.Now());
  EXPECT_EQ(flash.Calls(), std::vector<bool>{true});
  queue.Push(id);
  Activate();
  EXPECT_EQ(flash.Calls().size(), 1u);
}

TEST_F(Activation, EMailOnEveryActivation) {
  const std::string id = AddWithActions({ActionEMail, ActionPopup});
  queue.Push(id);
  queue.Push(id);
  EXPECT_EQ(Activate(), 2);
  ASSERT_EQ(mails.size(), 2u) << "both queued IDs are handled";
  EXPECT_EQ(mails[0].Body, "Body IBM");
  EXPECT_EQ(mails[0].SendTo, "me@example.com");
  EXPECT_EQ(popups.size(), 1u) << "the second finds the alert active";
}

TEST_F(Activation, DeletedAlertIsSkippedAndTheRestHandled) {
  const std::string first = AddWithActions({ActionPopup});
  const std::string gone = AddWithActions({ActionPopup}, 0);
  const std::string last = AddWithActions({ActionHighlightRow});
  queue.Push(first);
  queue.Push(gone);
  queue.Push(last);
  store.DeleteAlert(gone, false);
  EXPECT_EQ(Activate(), 2);
  EXPECT_EQ(queue.Count(), 0);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].ID, first);
  EXPECT_TRUE(Stored(last).ActiveActions.Contains(ActionHighlightRow));
}

TEST_F(Activation, EachIDLeavesTheQueueBeforeItsActionsRun) {
  const std::string a = AddWithActions({ActionPopup});
  const std::string b = AddWithActions({ActionPopup}, 0);
  queue.Push(a);
  queue.Push(b);
  std::vector<std::vector<std::string>> seen;
  onPopup = [&](const AlertPopupInfo &) { seen.push_back(queue.IDs()); };
  Activate();
  EXPECT_EQ(seen, (std::vector<std::vector<std::string>>{{b}, {}}));
}

TEST_F(Activation, OnlyTheActionStateIsCopiedBack) {
  const std::string id = AddWithActions({ActionPopup});
  queue.Push(id);
  // While the pop-up opens, the evaluation thread records a newer trigger.
  onPopup = [&](const AlertPopupInfo &) {
    Change(id, [](TAlertRecord &r) {
      r.TickIndex = 77;
      r.LastAlertTime = 45400;
      r.TriggerValue = 99;
      r.P5 = 45399;
    });
  };
  Activate();
  const TAlertRecord a = Stored(id);
  EXPECT_TRUE(a.ActiveActions.Contains(ActionPopup));
  EXPECT_EQ(a.ActivationTimes[ActionPopup], clock.Now());
  EXPECT_EQ(a.TickIndex, 77);
  EXPECT_EQ(a.LastAlertTime, 45400);
  EXPECT_EQ(a.TriggerValue, 99);
  EXPECT_EQ(a.P5, 45399);
}

TEST_F(Activation, BusyStoreKeepsTheIDForTheNextHeartbeat) {
  LockTimings t;
  t.retryIntervalMs = 0;
  t.giveUpTries = 2;
  MyCriticalSection::SetTimings(t);
  const std::string id = AddWithActions({ActionPopup});
  queue.Push(id);
  {
    MyLockGuard held(store.Lock, "TEST");
    EXPECT_EQ(Activate(), 0);
  }
  EXPECT_EQ(queue.IDs(), std::vector<std::string>{id});
  EXPECT_TRUE(popups.empty());
  EXPECT_EQ(Activate(), 1);
  EXPECT_EQ(popups.size(), 1u);
}

TEST_F(Activation, NoPopupHookStillRecordsTheActivation) {
  SetAlertPopupHook(nullptr);
  const std::string id = AddWithActions({ActionPopup});
  queue.Push(id);
  Activate();
  EXPECT_TRUE(Stored(id).ActiveActions.Contains(ActionPopup));
}

} // namespace
