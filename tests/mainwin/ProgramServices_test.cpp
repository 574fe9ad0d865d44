#include "mainwin/ProgramServices.h"

#include "alerts/AlertEditRequest.h"
#include "core/Portfolio.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

class ProgramServicesTest : public ::testing::Test {
protected:
  void SetUp() override {
    PortfolioList.Clear();
    PortfolioList.Add("Growth", "GROWTH-PORTFOLIO-KEY-22");
    PortfolioList.Add("Income", "INCOME-PORTFOLIO-KEY-22");
    AlertEditRequest().Clear();
    PortfolioRequest().Clear();
  }
  void TearDown() override {
    PortfolioList.Clear();
    AlertEditRequest().Clear();
    PortfolioRequest().Clear();
  }

  int preferencesOpened = 0;
  std::vector<int> portfoliosShown;
  TProgramServices::Hooks Hooks() {
    return {[this] { ++preferencesOpened; }, [this](int i) { portfoliosShown.push_back(i); }};
  }
};

TEST_F(ProgramServicesTest, StopEndsBothThreadsPromptlyAndOnlyOnce) {
  TProgramServices services(Hooks());
  EXPECT_FALSE(services.Running());
  services.Start();
  EXPECT_TRUE(services.Running());
  const auto before = std::chrono::steady_clock::now();
  services.Stop();
  const auto took = std::chrono::steady_clock::now() - before;
  EXPECT_FALSE(services.Running());
  // The evaluation thread is still in its start delay: a stop must not wait it out.
  EXPECT_LT(took, std::chrono::seconds(2));
  services.Stop(); // a second close request returns at once
}

TEST_F(ProgramServicesTest, HeartbeatCarriesOutThePopUpRequests) {
  TProgramServices services(Hooks());
  services.Heartbeat(); // not started: nothing happens
  services.Start();

  AlertEditRequest().Set("ABC123");
  PortfolioRequest().Set("INCOME-PORTFOLIO-KEY-22");
  services.Heartbeat();
  EXPECT_EQ(preferencesOpened, 1);
  EXPECT_EQ(AlertEditRequest().Get(), "=ABC123");
  EXPECT_EQ(portfoliosShown, std::vector<int>{2});
  EXPECT_TRUE(PortfolioRequest().Get().empty());

  // An edit request already in "=" form, or an unknown portfolio key, asks nothing more.
  PortfolioRequest().Set("NO-SUCH-KEY");
  services.Heartbeat();
  EXPECT_EQ(preferencesOpened, 1);
  EXPECT_EQ(portfoliosShown.size(), 1u);
  services.Stop();
}

} // namespace
