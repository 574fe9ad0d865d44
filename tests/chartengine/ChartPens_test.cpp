#include "chartengine/canvas/ChartFont.h"
#include "chartengine/canvas/ChartFontObject.h"
#include "chartengine/canvas/ChartGradient.h"
#include "chartengine/canvas/ChartPen.h"

#include <gtest/gtest.h>

namespace {

TEST(ChartPen, VariantsDifferOnlyInDefaults) {
  const TChartPen plain;
  EXPECT_EQ(plain.Pen(), TPen());
  EXPECT_TRUE(plain.Visible());
  EXPECT_FALSE(plain.SmallDots());
  EXPECT_FALSE(TChartHiddenPen().Visible());
  const TDottedGrayPen dotted;
  EXPECT_EQ(dotted.Color(), clGray);
  EXPECT_EQ(dotted.Style(), psDot);
  EXPECT_EQ(TDarkGrayPen().Color(), clGray);
  EXPECT_EQ(TDarkGrayPen().Style(), psSolid);
  EXPECT_EQ(TChartAxisPen().Width(), 2);
  EXPECT_EQ(TChartArrowPen().Color(), clWhite);
}

TEST(ChartPen, ChangesAreReportedOnce) {
  int changes = 0;
  TChartPen pen([&] { ++changes; });
  pen.SetColor(clBlack);
  pen.SetVisible(true);
  EXPECT_EQ(changes, 0);
  pen.SetColor(clRed);
  pen.SetWidth(3);
  pen.SetStyle(psDash);
  pen.SetMode(pmXor);
  pen.SetSmallDots(true);
  pen.SetVisible(false);
  EXPECT_EQ(changes, 6);
  TChartPen copy([&] { ++changes; });
  copy.Assign(pen);
  EXPECT_EQ(changes, 7);
  EXPECT_EQ(copy.Pen(), pen.Pen());
  EXPECT_FALSE(copy.Visible());
  EXPECT_TRUE(copy.SmallDots());
  copy.Assign(pen);
  EXPECT_EQ(changes, 7) << "nothing changed";
}

TEST(ChartGradient, DefaultsAndAssign) {
  int repaints = 0;
  TChartGradient g([&] { ++repaints; });
  EXPECT_EQ(g.Direction(), gdTopBottom);
  EXPECT_EQ(g.StartColor(), clWhite);
  EXPECT_EQ(g.EndColor(), clYellow);
  EXPECT_FALSE(g.Visible());
  g.SetVisible(true);
  g.SetVisible(true);
  g.SetDirection(gdFromCenter);
  EXPECT_EQ(repaints, 2);
  TChartGradient other;
  other.Assign(g);
  EXPECT_TRUE(other.Visible());
  EXPECT_EQ(other.Direction(), gdFromCenter);
}

TEST(ChartFont, DefaultChartFont) {
  EXPECT_EQ(DefaultChartFontName(), "Arial");
  EXPECT_EQ(DefaultChartFontSize(), 8);
  int changes = 0;
  auto font = CreateChartFont([&] { ++changes; });
  EXPECT_EQ(font->Name(), "Arial");
  EXPECT_EQ(font->Size(), 8);
  EXPECT_EQ(font->Color(), clBlack);
  EXPECT_EQ(font->Style(), 0);
  EXPECT_TRUE(font->IsDefault());
  font->SetSize(8);
  EXPECT_EQ(changes, 0);
  font->SetStyle(fsBold);
  EXPECT_FALSE(font->IsDefault());
  font->SetStyle(0);
  font->SetColor(clRed);
  EXPECT_FALSE(font->IsDefault());
  EXPECT_EQ(changes, 3);
  TFont plain;
  plain.Name = "Arial";
  plain.SetSize(8);
  EXPECT_FALSE(IsDefaultChartFont(plain)) << "the platform font is not black by default";
  plain.Color = clBlack;
  EXPECT_TRUE(IsDefaultChartFont(plain));
}

TEST(ChartFontObject, FontChangesAskForARepaintWithoutAPanel) {
  TChartFontObject title(nullptr);
  title.Font().SetSize(12); // no panel: nothing to repaint, nothing breaks
  TChartFontObject copy(nullptr);
  copy.Assign(title);
  EXPECT_EQ(copy.Font().Size(), 12);
  EXPECT_EQ(copy.ParentChart(), nullptr);
}

} // namespace
