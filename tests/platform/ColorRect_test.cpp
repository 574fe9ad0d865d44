#include "platform/Color.h"
#include "platform/Rect.h"

#include <gtest/gtest.h>

TEST(Color, SystemColoursResolveThroughTheTable) {
  EXPECT_EQ(ColorToRGB(clHighlight), 0x800000u);
  EXPECT_EQ(ColorToRGB(clHighlightText), 0xFFFFFFu);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0u);
  EXPECT_TRUE(IsSystemColor(clInfoBk));
  EXPECT_FALSE(IsSystemColor(0x80000040));
  // Not a known system colour: masked to the colour bits.
  EXPECT_EQ(ColorToRGB(0x80123456), 0x123456u);
  EXPECT_EQ(ColorToRGB(0x0A123456), 0x123456u);
}

TEST(Rect, RightAndBottomAreExclusive) {
  TRect r(0, 0, 10, 5);
  EXPECT_EQ(r.Width(), 10);
  EXPECT_TRUE(r.Contains({9, 4}));
  EXPECT_FALSE(r.Contains({10, 4}));
  EXPECT_FALSE(r.Contains({9, 5}));
  EXPECT_EQ(IntersectRect(r, TRect(5, 2, 20, 20)), TRect(5, 2, 10, 5));
  EXPECT_TRUE(IntersectRect(r, TRect(10, 0, 20, 5)).IsEmpty());
}
