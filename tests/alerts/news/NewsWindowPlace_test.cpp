#include "alerts/news/NewsWindowPlace.h"

#include "core/IniFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class NewsWindowPlaceTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  std::string File() const { return dir.filePath("BOURSE.INI").toStdString(); }
  QTemporaryDir dir;
};

TEST_F(NewsWindowPlaceTest, DefaultsCentreTheDesignedSize) {
  TMyIniFile ini(File());
  const TNewsWindowPlace p = ReadNewsWindowPlace(ini, QSize(700, 500), QSize(1600, 900));
  EXPECT_EQ(p.Frame, QRect(450, 200, 700, 500));
  EXPECT_DOUBLE_EQ(p.Split, 50);
  EXPECT_FALSE(p.Maximized);
}

TEST_F(NewsWindowPlaceTest, RoundTrip) {
  TMyIniFile ini(File());
  TNewsWindowPlace p;
  p.Frame = QRect(12, 34, 640, 480);
  p.Split = 37.5;
  p.Maximized = true;
  ASSERT_TRUE(WriteNewsWindowPlace(ini, p, false));
  EXPECT_EQ(ini.ReadString("News", "NWINX", ""), "12");
  EXPECT_EQ(ini.ReadString("News", "NWINY", ""), "34");
  EXPECT_EQ(ini.ReadString("News", "NWINW", ""), "640");
  EXPECT_EQ(ini.ReadString("News", "NWINH", ""), "480");
  EXPECT_EQ(ini.ReadString("News", "NSPLIT", ""), "37.5");
  EXPECT_EQ(ini.ReadString("News", "NSTATE", ""), "MX");
  TMyIniFile again(File());
  const TNewsWindowPlace back = ReadNewsWindowPlace(again, QSize(700, 500), QSize(1600, 900));
  EXPECT_EQ(back.Frame, p.Frame);
  EXPECT_DOUBLE_EQ(back.Split, 37.5);
  EXPECT_TRUE(back.Maximized);
}

TEST_F(NewsWindowPlaceTest, TwoPanesDoNotWriteTheSplit) {
  TMyIniFile ini(File());
  ini.WriteString("News", "NSPLIT", "60");
  TNewsWindowPlace p;
  p.Split = 20;
  ASSERT_TRUE(WriteNewsWindowPlace(ini, p, true));
  EXPECT_EQ(ini.ReadString("News", "NSPLIT", ""), "60");
  EXPECT_EQ(ini.ReadString("News", "NSTATE", ""), "NO");
}

TEST_F(NewsWindowPlaceTest, SplitIsHeldToItsLimits) {
  TMyIniFile ini(File());
  ini.WriteString("News", "NSPLIT", "5");
  EXPECT_DOUBLE_EQ(ReadNewsWindowPlace(ini, QSize(1, 1), QSize(1, 1)).Split, 15);
  ini.WriteString("News", "NSPLIT", "95.5");
  EXPECT_DOUBLE_EQ(ReadNewsWindowPlace(ini, QSize(1, 1), QSize(1, 1)).Split, 90);
  ini.WriteString("News", "NSPLIT", "half");
  EXPECT_DOUBLE_EQ(ReadNewsWindowPlace(ini, QSize(1, 1), QSize(1, 1)).Split, 50);
}

} // namespace
