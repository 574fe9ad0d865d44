#include "prefs/OptionPage.h"
#include "prefs/PrefPageRegistry.h"

#include <gtest/gtest.h>

namespace {

TOptionPage *MakePage(QWidget *parent) { return new TOptionPage(parent); }

std::vector<int> Numbers(const TPrefPageRegistry &registry) {
  std::vector<int> numbers;
  for (const PrefPageEntry &e : registry.Pages())
    numbers.push_back(e.PageNumber);
  return numbers;
}

} // namespace

TEST(PrefPageRegistryTest, PagesStandInPageNumberOrder) {
  TPrefPageRegistry registry;
  registry.Register(PrefPageNews, "News", MakePage);
  registry.Register(PrefPageAlerts, "Alerts", MakePage);
  registry.Register(PrefPageEMail, "Email Templates", MakePage);
  EXPECT_EQ(Numbers(registry), (std::vector<int>{5, 8, 9}));
  ASSERT_NE(registry.Find(PrefPageEMail), nullptr);
  EXPECT_EQ(registry.Find(PrefPageEMail)->Caption, "Email Templates");
  EXPECT_EQ(registry.Find(PrefPageQuickAlerts), nullptr);
}

TEST(PrefPageRegistryTest, ANumberRegisteredAgainReplacesItsPage) {
  TPrefPageRegistry registry;
  registry.Register(PrefPageAlerts, "Alerts", MakePage);
  registry.Register(PrefPageAlerts, "Alerts 2", MakePage);
  ASSERT_EQ(registry.Pages().size(), 1u);
  EXPECT_EQ(registry.Pages()[0].Caption, "Alerts 2");
}

TEST(PrefPageRegistryTest, APageWithoutFactoryIsNotAdded) {
  TPrefPageRegistry registry;
  registry.Register(PrefPageAlerts, "Alerts", nullptr);
  EXPECT_TRUE(registry.Pages().empty());
}

TEST(PrefPageRegistryTest, UnregisterAndClear) {
  TPrefPageRegistry registry;
  registry.Register(1, "One", MakePage);
  registry.Register(2, "Two", MakePage);
  registry.Unregister(1);
  EXPECT_EQ(Numbers(registry), (std::vector<int>{2}));
  registry.Unregister(7); // not there: nothing happens
  registry.Clear();
  EXPECT_TRUE(registry.Pages().empty());
}

TEST(PrefPageRegistryTest, APageWithoutDialogHasHarmlessServices) {
  TOptionPage page;
  EXPECT_EQ(page.PrefDialog(), nullptr);
  EXPECT_FALSE(page.DialogOKState());
  page.ShowDialogProgress(10);
  page.StepDialogProgress();
  page.HideDialogProgress();
}
