#include "webcontent/AdService.h"
#include "webcontent/AnimGif.h"

#include "core/IniFile.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

class AdServiceTest : public ::testing::Test {
protected:
  void SetUp() override { ResetAdSlots(); }
  void TearDown() override { ResetAdSlots(); }
};

TEST_F(AdServiceTest, ShowSettingIsReadFromSectionAds) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("BOURSE.INI"));
  const struct {
    const char *text;
    bool show;
  } cases[] = {
      {"[Ads]\r\nShow=1\r\n", true},
      {"[ads]\r\nshow=YES\r\n", true},
      {"[Ads]\r\nShow=0\r\n", false},
      {"[Other]\r\nShow=1\r\n", false},
      {"", false},
  };
  for (const auto &c : cases) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(c.text);
    f.close();
    AdsShowSetting = !c.show;
    TMyIniFile ini(path.toStdString());
    LoadAdSettings(ini);
    EXPECT_EQ(AdsShowSetting, c.show) << c.text;
  }
  AdsShowSetting = false;
}

TEST_F(AdServiceTest, SlotsOneToThirty) {
  for (int i = 1; i <= AdSlotCount; ++i)
    EXPECT_EQ(RegisterAdSlot(2), i);
  EXPECT_EQ(RegisterAdSlot(2), 0) << "none free";
  EXPECT_EQ(AdSlotsInUse(), AdSlotCount);
  UnregisterAdSlot(7);
  EXPECT_EQ(RegisterAdSlot(48), 7);
  EXPECT_EQ(AdSlotTable[7].Location, 48);
  UnregisterAdSlot(0);
  UnregisterAdSlot(31);
  EXPECT_EQ(AdSlotsInUse(), AdSlotCount);
}

TEST_F(AdServiceTest, ClearKeepsTheSlotTaken) {
  QLabel image;
  const int slot = RegisterAdSlot(2);
  AdSlotTable[slot].Image = &image;
  AdSlotTable[slot].Minimized = true;
  AdSlotTable[slot].Counters[0] = 3;
  ClearAdSlot(slot);
  EXPECT_TRUE(AdSlotTable[slot].InUse);
  EXPECT_EQ(AdSlotTable[slot].Location, 2);
  EXPECT_EQ(AdSlotTable[slot].Image, nullptr);
  EXPECT_FALSE(AdSlotTable[slot].Minimized);
  EXPECT_EQ(AdSlotTable[slot].Counters[0], 0);
}

TEST_F(AdServiceTest, NoAdvertsAnywhere) {
  EXPECT_FALSE(AdsShowSetting);
  for (int location : {2, 48, 53})
    EXPECT_FALSE(FindAdLocation(location));
  QLabel left(QStringLiteral("L"));
  const int slot = RegisterAdSlot(2);
  AdSlotTable[slot].CaptionL = &left;
  ShowAdBlurb(slot);
  HandleAdClick(slot);
  EXPECT_EQ(left.text(), QStringLiteral("L"));
}

// A 1 x 1 GIF.
const unsigned char kGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80,
                              0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04,
                              0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01,
                              0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};

TEST(AnimGifTest, LoadsAPictureAndStops) {
  TAnimGif gif;
  EXPECT_TRUE(gif.Empty());
  QBuffer buffer;
  buffer.setData(QByteArray(reinterpret_cast<const char *>(kGif), sizeof kGif));
  ASSERT_TRUE(gif.LoadFromStream(buffer));
  EXPECT_FALSE(gif.Empty());
  EXPECT_EQ(gif.CurrentFrame().size(), QSize(1, 1));
  EXPECT_EQ(gif.CurrentFrame().pixelColor(0, 0), QColor(255, 0, 0));
  gif.SetAnimate(true);
  EXPECT_TRUE(gif.Animate());
  gif.StopPainting();
  EXPECT_TRUE(gif.Empty());
  EXPECT_FALSE(gif.Animate());
}

TEST(AnimGifTest, BytesThatAreNoPictureLeaveItEmpty) {
  TAnimGif gif;
  EXPECT_FALSE(gif.LoadFromData(QByteArray("not a picture")));
  EXPECT_TRUE(gif.Empty());
  EXPECT_FALSE(gif.LoadFromData(QByteArray()));
}

} // namespace
