#include "AlertsPageTestSupport.h"

#include "core/CriticalSection.h"

namespace {

using AlertsPageDeleteTest = AlertsPageTest;

int AddPortfolio(const std::string &name, const std::vector<std::string> &symbols) {
  std::vector<PortPosition> positions;
  for (const std::string &symbol : symbols) {
    PortPosition p;
    p.Symbol = symbol;
    p.Quantity = 10;
    positions.push_back(p);
  }
  MyLockGuard guard(PortListLock, "TEST");
  return PortfolioList.Add(name, "", positions);
}

std::vector<std::string> StoredSymbols() {
  std::vector<std::string> symbols;
  AlertSystem().ForEachAlert("TEST", [&](const TAlertRecord &a) { symbols.push_back(a.Symbol); });
  std::sort(symbols.begin(), symbols.end());
  return symbols;
}

} // namespace

TEST_F(AlertsPageDeleteTest, DeletingAnAlertAsksAndRemovesIt) {
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 120);
  const std::string b = AddAlert("IBM", AlertTypeLowPrice, 90);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(a));
  prompt.PushAnswer(mrYes);
  page->pbDelete->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  const PromptQuestion q = prompt.Questions()[0];
  EXPECT_EQ(q.text,
            "You're about to delete alert \"IBM: High Last Price at 120\"!\r\n\r\nContinue?");
  EXPECT_EQ(q.caption, "Delete an Alert");
  EXPECT_EQ(q.buttons, mbYesNo);
  EXPECT_EQ(q.icon, mtWarning);
  EXPECT_EQ(AlertSystem().AlertIDs(), (std::vector<std::string>{b}));
  EXPECT_EQ(AlertNode(a), nullptr);
  EXPECT_EQ(Root("IBM")->childCount(), 1);
}

TEST_F(AlertsPageDeleteTest, DeletingTheLastAlertOfASymbolRemovesItsNode) {
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 120);
  AddAlert("MSFT", AlertTypeHighPrice, 420);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(a));
  prompt.PushAnswer(mrYes);
  page->pbDelete->click();
  EXPECT_EQ(RootTexts(), (std::vector<std::string>{"MSFT"}));
  EXPECT_EQ(StoredSymbols(), (std::vector<std::string>{"MSFT"}));
}

TEST_F(AlertsPageDeleteTest, NoKeepsTheAlert) {
  const std::string a = AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  ClickNode(AlertNode(a));
  prompt.PushAnswer(mrNo);
  page->pbDelete->click();
  EXPECT_EQ(AlertSystem().Count(), 1);
  EXPECT_NE(AlertNode(a), nullptr);
}

TEST_F(AlertsPageDeleteTest, DeletingASymbolNodeDeletesItsAlerts) {
  AddAlert("IBM", AlertTypeHighPrice, 120);
  AddAlert("IBM", AlertTypeLowPrice, 90);
  AddAlert("MSFT", AlertTypeHighPrice, 420);
  TOPanAlerts *page = Open();
  ClickNode(Root("IBM"));
  prompt.PushAnswer(mrYes);
  page->pbDelete->click();
  ASSERT_EQ(prompt.QuestionCount(), 1u);
  EXPECT_EQ(prompt.Questions()[0].text,
            "You're about to delete all alerts associated with symbol IBM!\r\n\r\nContinue?");
  EXPECT_EQ(prompt.Questions()[0].caption, "Delete All Alerts for Symbol");
  EXPECT_EQ(StoredSymbols(), (std::vector<std::string>{"MSFT"}));
  EXPECT_EQ(RootTexts(), (std::vector<std::string>{"MSFT"}));
}

TEST_F(AlertsPageDeleteTest, DeleteAllEmptiesStoreAndTree) {
  AddAlert("IBM", AlertTypeHighPrice, 120);
  AddAlert("MSFT", AlertTypeHighPrice, 420);
  TOPanAlerts *page = Open();
  prompt.PushAnswer(mrNo);
  page->pbDelAll->click();
  EXPECT_EQ(AlertSystem().Count(), 2);
  prompt.PushAnswer(mrYes);
  page->pbDelAll->click();
  const PromptQuestion q = prompt.Questions()[1];
  EXPECT_EQ(q.text, "Are you sure you want to delete ALL alerts for ALL STOCKS? (This action "
                    "cannot be reversed)");
  EXPECT_EQ(q.caption, "DELETE ALL ALERTS");
  EXPECT_EQ(q.icon, mtConfirmation);
  EXPECT_EQ(q.defaultButton, TMsgDlgButtons(mbNo));
  EXPECT_EQ(AlertSystem().Count(), 0);
  EXPECT_EQ(page->ATree->topLevelItemCount(), 0);
  EXPECT_FALSE(page->GBAlert->isEnabled());
}

TEST_F(AlertsPageDeleteTest, DeleteAllWhileANewAlertIsOpenLeavesNewAlertMode) {
  AddAlert("IBM", AlertTypeHighPrice, 120);
  TOPanAlerts *page = Open();
  page->pbNewAlert->click();
  prompt.PushAnswer(mrYes);
  page->pbDelAll->click();
  EXPECT_FALSE(page->NewAlertMode());
  EXPECT_EQ(page->PlaceholderNode(), nullptr);
  EXPECT_EQ(page->ATree->topLevelItemCount(), 0);
}

TEST_F(AlertsPageDeleteTest, OrphansAreAlertsOfSymbolsInNoPortfolioOrWatchList) {
  AddPortfolio("Main", {"IBM", "$CASH"});
  SettingsFile().WriteString("Watch", "Symbols", "AAPL dell"); // the watch list, window closed
  AddAlert("IBM", AlertTypeHighPrice, 120);
  AddAlert("AAPL", AlertTypeHighPrice, 200);
  AddAlert("DELL", AlertTypeHighPrice, 20);
  AddAlert("MSFT", AlertTypeHighPrice, 420);
  AddAlert("MSFT", AlertTypeLowPrice, 400);
  AddAlert("ORCL", AlertTypeHighPrice, 99);
  TOPanAlerts *page = Open();
  prompt.PushAnswer(mrYes);
  page->pbDelOrph->click();
  ASSERT_EQ(prompt.QuestionCount(), 2u);
  const PromptQuestion ask = prompt.Questions()[0];
  EXPECT_EQ(ask.text, "This will delete all orphaned alerts - that is, all alerts whose symbols "
                      "are not present in any portfolio or watch list. (This action cannot be "
                      "reversed).\r\n\r\nContinue?");
  EXPECT_EQ(ask.caption, "Delete Orphaned Alerts");
  EXPECT_EQ(ask.defaultButton, TMsgDlgButtons(mbNo));
  const PromptQuestion told = prompt.Questions()[1];
  EXPECT_EQ(told.caption, "Orphans Deleted");
  const std::string prefix = "Alerts for the following symbols have been deleted:\r\n\r\n";
  ASSERT_EQ(told.text.substr(0, prefix.size()), prefix);
  const std::string listed = told.text.substr(prefix.size());
  EXPECT_NE(listed.find(" MSFT"), std::string::npos);
  EXPECT_NE(listed.find(" ORCL"), std::string::npos);
  EXPECT_EQ(listed.find("MSFT"), listed.rfind("MSFT")); // once
  EXPECT_EQ(StoredSymbols(), (std::vector<std::string>{"AAPL", "DELL", "IBM"}));
  EXPECT_EQ(RootTexts(), (std::vector<std::string>{"AAPL", "DELL", "IBM"}));
}

TEST_F(AlertsPageDeleteTest, NothingIsDeletedWhileThePortfoliosAreBusy) {
  AddPortfolio("Main", {"IBM"});
  AddAlert("MSFT", AlertTypeHighPrice, 420);
  TOPanAlerts *page = Open();
  LockTimings fast = MyCriticalSection::Timings();
  fast.retryIntervalMs = 1;
  fast.giveUpTries = 3;
  MyCriticalSection::SetTimings(fast);
  ASSERT_TRUE(PortListLock.Lock("HELD", false));
  prompt.PushAnswer(mrYes);
  page->pbDelOrph->click();
  PortListLock.Unlock();
  MyCriticalSection::ResetTimings();
  ASSERT_EQ(prompt.QuestionCount(), 2u);
  EXPECT_EQ(prompt.Questions()[1].icon, mtWarning);
  EXPECT_EQ(AlertSystem().Count(), 1);
}
