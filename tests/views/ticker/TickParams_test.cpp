#include "views/ticker/TickParams.h"

#include "TickerTestSupport.h"
#include "core/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class TickParamsTest : public ::testing::Test {
protected:
  void SetUp() override { ResetTickerState(); }
  void TearDown() override { ResetTickerState(); }

  std::string IniPath() const { return dir.path().toStdString() + "/BOURSE.INI"; }
  void WriteIni(const std::string &text) {
    QFile f(QString::fromStdString(IniPath()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), qint64(text.size()));
  }
  std::string ReadIni() const {
    QFile f(QString::fromStdString(IniPath()));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll().toStdString();
  }

  QTemporaryDir dir;
};

TEST_F(TickParamsTest, NoTickerSectionGivesTheDefaults) {
  WriteIni("[Bourse]\nScheme=1\n");
  TMyIniFile ini(IniPath());
  const TTickParams p = ReadTickParams(ini);
  EXPECT_EQ(p.Speed, -2);
  EXPECT_EQ(p.Sep, 7);
  EXPECT_FALSE(p.ShowTime);
  EXPECT_EQ(p.Symbols, "");
  EXPECT_TRUE(p.PortfoliosToShow.empty());
  struct Row {
    int e;
    TColor colour;
    int size;
  };
  const Row rows[] = {{1, 0, 0},     {2, 65535, 10}, {3, 16777215, 7}, {4, 255, 7},
                      {5, 65280, 7}, {6, 255, 8},    {7, 65280, 8}};
  for (const Row &r : rows) {
    EXPECT_EQ(p.Elements[r.e].Colour, r.colour) << r.e;
    EXPECT_EQ(p.Elements[r.e].FontSize, r.size) << r.e;
    EXPECT_EQ(p.Elements[r.e].FontName, "Arial") << r.e;
    EXPECT_EQ(p.Elements[r.e].FontStyle, 0) << r.e;
  }
}

TEST_F(TickParamsTest, ColourOfMinusOneKeepsTheBuiltInOne) {
  WriteIni("[Ticker]\nCol3=-1\nCol2=0\nCol4=16711680\n");
  TMyIniFile ini(IniPath());
  const TTickParams p = ReadTickParams(ini);
  EXPECT_EQ(p.Elements[teTime].Colour, clWhite);
  EXPECT_EQ(p.Elements[teSymbol].Colour, clBlack) << "0 replaces the built-in colour";
  EXPECT_EQ(p.Elements[teChangeDown].Colour, clBlue);
}

TEST_F(TickParamsTest, RisingElementsShareNameAndStyleOfTheFallingOnes) {
  WriteIni("[Ticker]\nFName4=Courier New\nFStyle4=BI\nFName5=Times\nFStyle5=I\n"
           "FName6=Verdana\nFStyle6=B\nFSize5=12\n");
  TMyIniFile ini(IniPath());
  const TTickParams p = ReadTickParams(ini);
  EXPECT_EQ(p.Elements[teChangeUp].FontName, "Courier New");
  EXPECT_EQ(p.Elements[teChangeUp].FontStyle, fsBold | fsItalic);
  EXPECT_EQ(p.Elements[teChangeUp].FontSize, 12) << "the size is its own";
  EXPECT_EQ(p.Elements[tePriceUp].FontName, "Verdana");
  EXPECT_EQ(p.Elements[tePriceUp].FontStyle, fsBold);
}

TEST_F(TickParamsTest, RoundTripThroughTheSettingsFile) {
  WriteIni("[Bourse]\nScheme=2\n");
  TTickParams p;
  p.Symbols = "|IBM|MSFT|";
  p.ExSymbols = "IBM KO ";
  p.Speed = 5;
  p.ShowTime = true;
  p.PortfoliosToShow = {"INDX", "PORT1"};
  p.Sep = 12;
  p.Elements[teBackground].Colour = clNavy;
  p.Elements[teSymbol] = {clAqua, 14, "Courier New", fsBold};
  p.Elements[teChangeDown] = {clMaroon, 9, "Verdana", fsItalic};
  p.Elements[teChangeUp] = {clGreen, 9, "Verdana", fsItalic};
  p.Elements[tePriceDown] = {clFuchsia, 11, "Arial", fsBold | fsItalic};
  p.Elements[tePriceUp] = {clTeal, 11, "Arial", fsBold | fsItalic};
  {
    TMyIniFile ini(IniPath());
    ASSERT_TRUE(WriteTickParams(ini, p));
  }
  TMyIniFile again(IniPath());
  TTickParams back = ReadTickParams(again);
  back.ExSymbols += " "; // stored trimmed
  EXPECT_EQ(back, p);

  const std::string text = ReadIni();
  EXPECT_NE(text.find("Scheme=2"), std::string::npos) << "other sections kept";
  EXPECT_NE(text.find("ShowTime=Y"), std::string::npos);
  EXPECT_NE(text.find("PTOSHOW=INDX,PORT1"), std::string::npos);
  EXPECT_NE(text.find("FStyle6=BI"), std::string::npos);
  EXPECT_NE(text.find("Col1=8388608"), std::string::npos);
  EXPECT_EQ(text.find("FName5"), std::string::npos);
  EXPECT_EQ(text.find("FStyle7"), std::string::npos);
}

TEST_F(TickParamsTest, LineBreaksAreFlattenedWhenWritten) {
  TTickParams p;
  p.Symbols = "|IBM\r\nKO|\n";
  p.ExSymbols = "IBM\r\nKO\n";
  TMyIniFile ini(IniPath());
  ASSERT_TRUE(WriteTickParams(ini, p));
  EXPECT_EQ(ini.ReadString("Ticker", "Symbols", "?"), "|IBM||KO||");
  EXPECT_EQ(ini.ReadString("Ticker", "ExSymbols", "?"), "IBM  KO");
}

TEST_F(TickParamsTest, LiveSetLoadsFromAndSavesToTheProgramSettings) {
  const std::string folder = dir.path().toStdString() + "/";
  WriteIni("[Ticker]\nSpeed=4\nSymbols=|KO|\n");
  TMyIniFile &settings = SettingsFile();
  const std::string before = settings.FileName();
  settings.SetFileName(IniPath());
  LoadTickParams();
  EXPECT_EQ(LiveTickParams().Speed, 4);
  EXPECT_EQ(LiveTickParams().Symbols, "|KO|");
  TTickParams p = LiveTickParams();
  p.Speed = -7;
  SetLiveTickParams(p);
  EXPECT_TRUE(SaveTickParams());
  EXPECT_NE(ReadIni().find("Speed=-7"), std::string::npos);
  settings.SetFileName(before);
}

TEST_F(TickParamsTest, BadStoredValuesFallBackToTheDefaults) {
  struct Row {
    const char *name;
    const char *line;
    int speed, sep, symbolSize, symbolStyle;
  };
  const Row rows[] = {
      {"speed too fast", "Speed=99", -2, 7, 10, 0},
      {"speed not a number", "Speed=fast", -2, 7, 10, 0},
      {"negative gap", "Sep=-5", -2, 7, 10, 0},
      {"gap too wide", "Sep=1000", -2, 7, 10, 0},
      {"gap of 0 (the up-down's least)", "Sep=0", -2, 0, 10, 0},
      {"zero font size", "FSize2=0", -2, 7, 10, 0},
      {"huge font size", "FSize2=5000", -2, 7, 10, 0},
      {"style with other letters", "FStyle2=xBz", -2, 7, 10, fsBold},
      {"lower-case letters are other letters", "FStyle2=bi", -2, 7, 10, 0},
  };
  for (const Row &r : rows) {
    WriteIni(std::string("[Ticker]\n") + r.line + "\n");
    TMyIniFile ini(IniPath());
    const TTickParams p = ReadTickParams(ini);
    EXPECT_EQ(p.Speed, r.speed) << r.name;
    EXPECT_EQ(p.Sep, r.sep) << r.name;
    EXPECT_EQ(p.Elements[teSymbol].FontSize, r.symbolSize) << r.name;
    EXPECT_EQ(p.Elements[teSymbol].FontStyle, r.symbolStyle) << r.name;
  }
}

TEST_F(TickParamsTest, EmptyFontNameMeansArialAndLongNamesAreCut) {
  WriteIni("[Ticker]\nFName2=\nFName3=" + std::string(300, 'x') + "\n");
  TMyIniFile ini(IniPath());
  const TTickParams p = ReadTickParams(ini);
  EXPECT_EQ(p.Elements[teSymbol].FontName, "Arial");
  EXPECT_EQ(p.Elements[teTime].FontName.size(), 255u);
}

TEST_F(TickParamsTest, ElementNumbersOutsideOneToSevenAreRefused) {
  TTickElements e;
  EXPECT_THROW(e[0], std::out_of_range);
  EXPECT_THROW(e[8], std::out_of_range);
  EXPECT_NO_THROW(e[7]);
}

// ---- Symbol list and typed fields ---------------------------------------------------

TEST(BuildTickerSymbols, Rules) {
  using P = std::vector<std::vector<std::string>>;
  struct Row {
    const char *name;
    P portfolios;
    bool indices;
    std::string extra;
    std::string expected;
  };
  const Row rows[] = {
      {"nothing", {}, false, "", "|"},
      {"positions in order", {{"IBM", "MSFT"}}, false, "", "|IBM|MSFT|"},
      {"cash and separator rows left out",
       {{"IBM", "$CASH", "-", "---", "KO"}},
       false,
       "",
       "|IBM|KO|"},
      {"a symbol once across portfolios and extras",
       {{"IBM", "KO"}, {"KO", "IBM"}},
       false,
       "IBM, KO",
       "|IBM|KO|"},
      {"indices appended", {{"IBM"}}, true, "", "|IBM|^DJI|^IXIC|"},
      {"indices only", {}, true, "", "|^DJI|^IXIC|"},
      {"extras split at blanks, commas and line breaks", {}, false, "A,B\r\nC  D\n", "|A|B|C|D|"},
      {"extras skip dashes and $", {}, false, "-- $X Y", "|Y|"},
  };
  for (const Row &r : rows)
    EXPECT_EQ(BuildTickerSymbols(r.portfolios, r.indices, "^DJI ^IXIC", r.extra), r.expected)
        << r.name;
}

TEST(NormalizeExtraSymbols, EachWordFollowedByOneBlank) {
  EXPECT_EQ(NormalizeExtraSymbols("IBM,MSFT\r\n KO"), "IBM MSFT KO ");
  EXPECT_EQ(NormalizeExtraSymbols("  \r\n"), "");
}

TEST(ParseTickSeparator, CutToOneToForty) {
  struct Row {
    const char *text;
    bool ok;
    int value;
  };
  const Row rows[] = {{"7", true, 7},     {"0", true, 1},    {"55", true, 40}, {"-3", true, 1},
                      {" 12 ", true, 12}, {"ab", false, 99}, {"", false, 99},  {"1.5", false, 99}};
  for (const Row &r : rows) {
    int v = 99;
    EXPECT_EQ(ParseTickSeparator(r.text, v), r.ok) << r.text;
    EXPECT_EQ(v, r.value) << r.text;
  }
}

TEST(TickStyleLetters, BothWays) {
  EXPECT_EQ(TickStyleLetters(0), "");
  EXPECT_EQ(TickStyleLetters(fsBold), "B");
  EXPECT_EQ(TickStyleLetters(fsItalic), "I");
  EXPECT_EQ(TickStyleLetters(fsBold | fsItalic), "BI");
  EXPECT_EQ(TickStyleFromLetters("IB"), fsBold | fsItalic);
}

} // namespace
