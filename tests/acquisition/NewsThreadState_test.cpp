#include "acquisition/NewsThreadState.h"

#include <gtest/gtest.h>

namespace {

class NewsThreadStateTest : public ::testing::Test {
protected:
  void SetUp() override {
    LockTimings t;
    t.retryIntervalMs = 0;
    t.giveUpTries = 3;
    t.deadlockTries = 5;
    MyCriticalSection::SetTimings(t);
    ResetNewsThreadState();
  }
  void TearDown() override {
    ResetNewsThreadState();
    MyCriticalSection::ResetTimings();
  }
};

TEST_F(NewsThreadStateTest, ForceListAppendsOnceAndIsTaken) {
  EXPECT_TRUE(AddToForceList("IBM", "EXE"));
  EXPECT_TRUE(AddToForceList("MSFT IBM  AAPL", "EXE1"));
  EXPECT_TRUE(AddToForceList("IB", "EXE"));
  EXPECT_EQ(ForceListText(), "IBM MSFT AAPL IB");
  EXPECT_EQ(TakeForceList(), "IBM MSFT AAPL IB");
  EXPECT_EQ(ForceListText(), "");
}

TEST_F(NewsThreadStateTest, BusyForceLockAddsNothing) {
  ASSERT_TRUE(ForceLock.Lock("NEWST", false));
  EXPECT_FALSE(AddToForceList("IBM", "EXE"));
  EXPECT_EQ(ForceLock.Owner(), "NEWST");
  ForceLock.Unlock();
  EXPECT_EQ(ForceListText(), "");
}

TEST_F(NewsThreadStateTest, SymbolBeingFetchedIsCut) {
  EXPECT_EQ(SymbolBeingFetched(), "");
  SetSymbolBeingFetched("ABCDEFGHIJKLMNOPQR");
  EXPECT_EQ(SymbolBeingFetched(), "ABCDEFGHIJKLMNO");
  SetSymbolBeingFetched("");
  EXPECT_EQ(SymbolBeingFetched(), "");
}

} // namespace
