#include "views/ViewStore.h"

#include "core/IniFile.h"
#include "support/TestPaths.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class ViewStoreTest : public ::testing::Test {
protected:
  void SetUp() override { ResetViewStore(); }
  void TearDown() override { ResetViewStore(); }

  std::string IniPath() const { return dir.filePath(QStringLiteral("BOURSE.INI")).toStdString(); }
  void WriteIni(const std::string &text) const { std::ofstream(IniPath()) << text; }
  std::string ReadIni() const {
    std::ifstream in(IniPath());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  QTemporaryDir dir;
};

TEST_F(ViewStoreTest, SpecTextRoundTrips) {
  ViewRecord view;
  view.FontName = "Liberation Sans";
  view.FontSize = 11;
  view.Bold = true;
  view.Italic = true;
  view.FieldCol[gfSymbol] = 0;
  view.FieldCol[gfGain] = 1;
  view.FieldCol[gfLast] = 2;
  view.FieldStyle[gfLast] = fsFieldBold | fsFieldItalic;
  view.FieldStyle[gfGain] = fsFieldKeepFont;

  const std::string spec = ViewSpecText(view);
  EXPECT_EQ(spec, "font=Liberation Sans;size=11;style=BI;cols=SymCol,GainCol,LastCol;"
                  "styles=LastCol:3,GainCol:8");
  ViewRecord back;
  std::string error;
  ASSERT_TRUE(ParseViewSpec(spec, back, error)) << error;
  back.Name = view.Name;
  EXPECT_EQ(back, view);
}

TEST_F(ViewStoreTest, ParsingPutsTheSymbolFirstAndSkipsUnknownAndRepeatedKeys) {
  ViewRecord view;
  std::string error;
  ASSERT_TRUE(ParseViewSpec("cols=lastcol,NoSuchCol,SymCol,LastCol,VolumeCol;size=x", view, error));
  EXPECT_EQ(view.FieldCol[gfSymbol], 0);
  EXPECT_EQ(view.FieldCol[gfLast], 1);
  EXPECT_EQ(view.FieldCol[gfVolume], 2);
  EXPECT_EQ(view.FieldCol[gfBid], -1);
  EXPECT_EQ(view.FontSize, 8); // an unreadable size keeps the default
  EXPECT_EQ(view.FontName, "Arial");
}

TEST_F(ViewStoreTest, WhatIsReadIsWhatTheNextSaveWritesBack) {
  // A second "cols" replaces the first; a font name is read as the spec
  // writes it (no separators in it).
  ViewRecord view;
  std::string error;
  ASSERT_TRUE(
      ParseViewSpec("font=Courier,New=10\r;cols=BidCol,AskCol;cols=LastCol", view, error));
  EXPECT_EQ(view.FontName, "Courier New 10");
  ASSERT_TRUE(ParseViewSpec("font=Courier\rNew;cols=LastCol", view, error));
  EXPECT_EQ(view.FontName, "Courier New");
  EXPECT_EQ(view.FieldCol[gfSymbol], 0);
  EXPECT_EQ(view.FieldCol[gfLast], 1);
  EXPECT_EQ(view.FieldCol[gfBid], -1);
  EXPECT_EQ(view.FieldCol[gfAsk], -1);
  ViewRecord back;
  ASSERT_TRUE(ParseViewSpec(ViewSpecText(view), back, error));
  EXPECT_EQ(back, view);

  // A name with a line break, or cut to 255 characters just before a blank.
  WriteIni("[Views]\nView1=Two\rLines|cols=SymCol\nView2=" + std::string(254, 'x') +
           "  tail|cols=SymCol\n");
  LoadColumnViews(TMyIniFile(IniPath()));
  ASSERT_EQ(ViewNameList.Count(), 2);
  EXPECT_EQ(ViewNameList[0], "Two Lines");
  EXPECT_EQ(ViewNameList[1], std::string(254, 'x'));
  {
    TMyIniFile ini(IniPath());
    ASSERT_TRUE(SaveColumnViews(ini));
  }
  const std::vector<std::string> names = {ViewNameList[0], ViewNameList[1]};
  ResetViewStore();
  LoadColumnViews(TMyIniFile(IniPath()));
  ASSERT_EQ(ViewNameList.Count(), 2);
  EXPECT_EQ(ViewNameList[0], names[0]);
  EXPECT_EQ(ViewNameList[1], names[1]);
}

TEST_F(ViewStoreTest, SpecWithoutColumnsIsRefusedAndLeavesTheViewAlone) {
  ViewRecord view = DefaultViews().front();
  const ViewRecord before = view;
  std::string error;
  EXPECT_FALSE(ParseViewSpec("font=Arial;size=9", view, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(view, before);
}

TEST_F(ViewStoreTest, StoreColumnViewReplacesOrAppends) {
  ViewRecord view = DefaultViews().front();
  StoreColumnView(view, 0, "First");
  StoreColumnView(view, 5, "Second|Copy");
  view.FontSize = 12;
  StoreColumnView(view, 0, "Renamed");
  ASSERT_EQ(ViewNameList.Count(), 2);
  EXPECT_EQ(ViewNameList[0], "Renamed");
  EXPECT_EQ(ViewNameList[1], "Second/Copy");
  EXPECT_NE(ViewSpecList[0].find("size=12"), std::string::npos);
  EXPECT_NE(ViewSpecList[1].find("size=9"), std::string::npos);
}

TEST_F(ViewStoreTest, SaveReplacesTheViewsSectionAndLoadReadsItBack) {
  WriteIni("[Views]\nView7=Old|cols=SymCol\n[Bourse]\nScheme=2\n");
  TMyIniFile ini(IniPath());
  ViewRecord a = DefaultViews()[0];
  ViewRecord b = DefaultViews()[1];
  StoreColumnView(a, -1, "Mine");
  StoreColumnView(b, -1, "Yours");
  ASSERT_TRUE(SaveColumnViews(ini));

  const std::string text = ReadIni();
  EXPECT_EQ(text.find("View7"), std::string::npos);
  EXPECT_NE(text.find("View1=Mine|" + ViewSpecText(a)), std::string::npos);
  EXPECT_NE(text.find("View2=Yours|" + ViewSpecText(b)), std::string::npos);
  EXPECT_NE(text.find("Scheme=2"), std::string::npos);

  ResetViewStore();
  LoadColumnViews(TMyIniFile(IniPath()));
  ASSERT_EQ(ViewNameList.Count(), 2);
  EXPECT_EQ(CurrentView.Name, "Mine");
  EXPECT_EQ(CurrentView.FieldCol, a.FieldCol);
}

TEST_F(ViewStoreTest, LoadOrdersByNumberSkipsDamagedEntriesAndReadsTheClickMode) {
  WriteIni("[Views]\nView10=Ten|cols=SymCol,LastCol\nView2=Two|cols=SymCol,BidCol\n"
           "View3=no bar\nView4=Empty|size=9\nOther=x|cols=SymCol\n[News]\nSingleClick=N\n");
  LoadColumnViews(TMyIniFile(IniPath()));
  ASSERT_EQ(ViewNameList.Count(), 2);
  EXPECT_EQ(ViewNameList[0], "Two");
  EXPECT_EQ(ViewNameList[1], "Ten");
  EXPECT_EQ(CurrentView.Name, "Two");
  EXPECT_EQ(CurrentView.FieldCol[gfBid], 1);
  EXPECT_FALSE(CurrentView.BulbSingleClick);

  ASSERT_TRUE(SelectView(1));
  EXPECT_EQ(CurrentView.Name, "Ten");
  EXPECT_EQ(CurrentView.FieldCol[gfLast], 1);
  EXPECT_FALSE(SelectView(2));
  EXPECT_EQ(CurrentView.Name, "Ten");
}

TEST_F(ViewStoreTest, WithoutUsableViewsTheShippedOnesAreUsed) {
  WriteIni("[Bourse]\nScheme=1\n");
  LoadColumnViews(TMyIniFile(IniPath()));
  ASSERT_EQ(ViewNameList.Count(), 2);
  EXPECT_EQ(CurrentView.Name, "Standard");
  EXPECT_TRUE(CurrentView.BulbSingleClick); // [News] SingleClick defaults to "Y"
  EXPECT_EQ(CurrentView.FieldCol[gfPctPort], 13);
}

TEST_F(ViewStoreTest, ShippedSettingsHoldTheBuiltInViews) {
  TMyIniFile ini(TestDataPath("BOURSE.INI"));
  const std::vector<ViewRecord> views = DefaultViews();
  for (std::size_t i = 0; i < views.size(); ++i)
    EXPECT_EQ(ini.ReadString("Views", "View" + std::to_string(i + 1), ""),
              views[i].Name + "|" + ViewSpecText(views[i]));
}

} // namespace
