#include "views/stockgrid/ColorScheme.h"

#include "core/IniFile.h"
#include "core/SmallGraph.h"
#include "platform/StringList.h"
#include "support/TestPaths.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

TStringList Params(const std::vector<std::string> &lines) {
  TStringList list;
  for (const std::string &l : lines)
    list.Add(l);
  return list;
}

// The keys of a complete scheme n, each colour being its slot number + 1.
std::vector<std::string> NumberedScheme(int n) {
  std::vector<std::string> lines{"NAME" + std::to_string(n) + "=Numbered"};
  char hex[16];
  for (int slot = 0; slot < SchemeColorCount; ++slot) {
    std::snprintf(hex, sizeof hex, "%X", slot + 1);
    lines.push_back(SchemeSlotKey(slot) + std::to_string(n) + "=" + hex);
  }
  return lines;
}

class ColorSchemeTest : public ::testing::Test {
protected:
  void SetUp() override { ResetColorSchemes(); }
  void TearDown() override { ResetColorSchemes(); }

  std::string WriteFile(const std::string &name, const std::string &text) {
    const std::string path = dir.path().toStdString() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  QTemporaryDir dir;
};

TEST_F(ColorSchemeTest, BuiltInSchemeHoldsTheSunnyColoursInSlotOrder) {
  const TColor sunny[SchemeColorCount] = {
      0xFFFFFF, 0x000000, 0xBFFFFF, 0x000000, 0x00FFFF, 0x000000,   0x00FFFF,  0x000000,
      0x0000FF, 0xFFFFFF, 0x0000FF, 0x00FF00, 0x000000, 0x00FF00,   0xC0C0C0,  0x000000,
      0x0000FF, 0x00D200, 0xC0C0C0, 0x000000, 0xC0C0C0, 0x000000,   0xFF0000,  0x008000,
      0x0000FF, 0x008000, 0x0000FF, 0x005500, 0x33FF33, 0x000055,   0x3333FF,  0x000000,
      0x00FFFF, 0x477777, 0x0000FF, 0xC0C0C0, 0x000000, 0x8000000D, 0x8000000E};
  const ColorScheme &s = BuiltInScheme();
  EXPECT_EQ(s.Name, "Sunny");
  for (int i = 0; i < SchemeColorCount; ++i)
    EXPECT_EQ(s.Slot(i), sunny[i]) << SchemeSlotKey(i);
  EXPECT_EQ(s.StripeRow, 0xBFFFFFu);
  EXPECT_EQ(s.GreenDynoRect, 0x00D200u);
  EXPECT_EQ(s.HighSymbText, clHighlightText);
  EXPECT_EQ(CurrentScheme, s);
}

TEST_F(ColorSchemeTest, SlotKeysAndTheFileOrder) {
  EXPECT_EQ(SchemeSlotKey(0), "NoStripeRow");
  EXPECT_EQ(SchemeSlotKey(9), "RedText");
  EXPECT_EQ(SchemeSlotKey(38), "HighSymbText");
  EXPECT_EQ(SchemeSlotKey(39), "");
  const auto &order = SchemeFileKeyOrder();
  std::vector<std::string> keys;
  for (int slot : order)
    keys.push_back(SchemeSlotKey(slot));
  EXPECT_EQ(
      std::vector<std::string>(keys.begin() + 8, keys.begin() + 18),
      (std::vector<std::string>{"RedHigh", "RedRect", "RedText", "GreenHigh", "GreenRect",
                                "GreenText", "RedDynoRect", "GreenDynoRect", "Sep", "SepText"}));
  EXPECT_EQ(std::vector<std::string>(keys.begin() + 27, keys.begin() + 31),
            (std::vector<std::string>{"DnTickBrush", "DnTickPen", "UpTickBrush", "UpTickPen"}));
}

TEST_F(ColorSchemeTest, EveryKeyLandsInItsSlot) {
  std::vector<std::string> lines{"NumSets=1"};
  for (const std::string &l : NumberedScheme(1))
    lines.push_back(l);
  const auto schemes = ParseColorSchemes(Params(lines));
  ASSERT_EQ(schemes.size(), 1u);
  EXPECT_EQ(schemes[0].Name, "Numbered");
  for (int slot = 0; slot < SchemeColorCount; ++slot)
    EXPECT_EQ(schemes[0].Slot(slot), TColor(slot + 1)) << SchemeSlotKey(slot);
  EXPECT_EQ(schemes[0].DnTickBrush, 31u);
  EXPECT_EQ(schemes[0].UpTickPen, 28u);
}

TEST_F(ColorSchemeTest, NoFileLeavesTheBuiltInSchemeAlone) {
  Schemes.clear();
  LoadColorSchemes(dir.path().toStdString() + "/missing.par");
  EXPECT_EQ(SchemeCount, 1);
  ASSERT_EQ(Schemes.size(), 1u);
  EXPECT_EQ(Schemes[0], BuiltInScheme());
}

struct CountCase {
  const char *name;
  std::vector<std::string> lines;
};

class SchemeCountTable : public ::testing::TestWithParam<CountCase> {};

TEST_P(SchemeCountTable, GivesTheBuiltInSchemeOnly) {
  std::vector<std::string> lines = GetParam().lines;
  for (const std::string &l : NumberedScheme(1))
    lines.push_back(l);
  const auto schemes = ParseColorSchemes(Params(lines));
  ASSERT_EQ(schemes.size(), 1u);
  EXPECT_EQ(schemes[0], BuiltInScheme());
}

INSTANTIATE_TEST_SUITE_P(
    ColorScheme, SchemeCountTable,
    ::testing::Values(CountCase{"missing", {}}, CountCase{"zero", {"NumSets=0"}},
                      CountCase{"negative", {"NumSets=-3"}},
                      CountCase{"huge", {"NumSets=99999999999999"}},
                      CountCase{"not_a_number", {"NumSets=two"}}, CountCase{"empty", {"NumSets="}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ColorSchemeTest, NinetyNineSchemesAreAllowed) {
  EXPECT_EQ(ParseColorSchemes(Params({"NumSets=99"})).size(), 99u);
}

TEST_F(ColorSchemeTest, MoreThanNinetyNineSchemesAreReadUpToTheLastDefinedOne) {
  std::vector<std::string> lines{"NumSets=150"};
  for (int n = 1; n <= 101; ++n)
    for (const std::string &l : NumberedScheme(n))
      lines.push_back(l);
  const auto schemes = ParseColorSchemes(Params(lines));
  ASSERT_EQ(schemes.size(), 101u);
  EXPECT_EQ(schemes[100].Name, "Numbered");
  EXPECT_EQ(schemes[100].NoStripeRow, 0x1u);
}

TEST_F(ColorSchemeTest, AnnouncedButUndefinedSchemesAreCopiesOfTheBuiltInOne) {
  std::vector<std::string> lines{"NumSets=3"};
  for (const std::string &l : NumberedScheme(1))
    lines.push_back(l);
  // Scheme 3 is never read: reading stops at the missing NOSTRIPEROW2.
  for (const std::string &l : NumberedScheme(3))
    lines.push_back(l);
  const auto schemes = ParseColorSchemes(Params(lines));
  ASSERT_EQ(schemes.size(), 3u);
  EXPECT_EQ(schemes[0].Name, "Numbered");
  EXPECT_EQ(schemes[1], BuiltInScheme());
  EXPECT_EQ(schemes[2], BuiltInScheme());
}

TEST_F(ColorSchemeTest, FirstMissingKeyEndsAScheme) {
  const auto schemes = ParseColorSchemes(
      Params({"NumSets=2", "NOSTRIPEROW1=000000", "TotalRow1=FF", "NoStripeRow2=111111",
              "NoStripeText2=222222", "StripeRow2=333333"}));
  ASSERT_EQ(schemes.size(), 2u);
  // Scheme 1: only NoStripeRow is read; the rest keep the built-in values.
  EXPECT_EQ(schemes[0].Name, "***");
  EXPECT_EQ(schemes[0].NoStripeRow, 0u);
  EXPECT_EQ(schemes[0].TotalRow, BuiltInScheme().TotalRow);
  ColorScheme expected = BuiltInScheme();
  expected.Name = "***";
  expected.NoStripeRow = 0;
  EXPECT_EQ(schemes[0], expected);
  // Scheme 2 (started as the built-in scheme) keeps its elements after StripeText2.
  EXPECT_EQ(schemes[1].NoStripeRow, 0x111111u);
  EXPECT_EQ(schemes[1].NoStripeText, 0x222222u);
  EXPECT_EQ(schemes[1].StripeRow, 0x333333u);
  EXPECT_EQ(schemes[1].StripeText, BuiltInScheme().StripeText);
  EXPECT_EQ(schemes[1].HighSymb, clHighlight);
}

TEST_F(ColorSchemeTest, FileOrderDecidesWhereASchemeStops) {
  // RedRect comes before RedText in the file: without it RedText is not read.
  std::vector<std::string> lines{"NumSets=1"};
  for (const std::string &l : NumberedScheme(1))
    if (l.rfind("RedRect1=", 0) != 0)
      lines.push_back(l);
  const auto schemes = ParseColorSchemes(Params(lines));
  EXPECT_EQ(schemes[0].RedHigh, 9u);
  EXPECT_EQ(schemes[0].RedRect, BuiltInScheme().RedRect);
  EXPECT_EQ(schemes[0].RedText, BuiltInScheme().RedText);
  EXPECT_EQ(schemes[0].GreenHigh, BuiltInScheme().GreenHigh);
}

TEST_F(ColorSchemeTest, KeysIgnoreLetterCaseAndBlanks) {
  const auto schemes = ParseColorSchemes(
      Params({"numsets=1", "nostriperow1 = 00ff00", "NAME1=Lower", "NOSTRIPETEXT1=aqua"}));
  EXPECT_EQ(schemes[0].Name, "Lower");
  EXPECT_EQ(schemes[0].NoStripeRow, 0x00FF00u);
  EXPECT_EQ(schemes[0].NoStripeText, 0xFFFF00u);
}

struct ValueCase {
  const char *name;
  const char *value;
  TColor expected;
};

class SchemeColorValueTable : public ::testing::TestWithParam<ValueCase> {};

TEST_P(SchemeColorValueTable, Converts) {
  EXPECT_EQ(SchemeColorValue(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ColorScheme, SchemeColorValueTable,
    ::testing::Values(
        ValueCase{"hex_red", "FF", 0x0000FF}, ValueCase{"hex_blue", "FF0000", 0xFF0000},
        ValueCase{"hex_silver", "C0C0C0", 0xC0C0C0}, ValueCase{"empty_is_black", "", 0},
        ValueCase{"word_silver", "SILVER", 0xC0C0C0}, ValueCase{"word_ltgray", "LTGRAY", 0xC0C0C0},
        ValueCase{"word_navy", "NAVY", 0x800000}, ValueCase{"word_aqua", "AQUA", 0xFFFF00},
        ValueCase{"unknown_word_is_black", "GREY", 0},
        ValueCase{"lower_case_is_not_a_word", "silver", 0},
        ValueCase{"highlight", "HIGHLIGHT", clHighlight},
        ValueCase{"highlight_text", "HIGHLIGHTTEXT", clHighlightText},
        ValueCase{"system_colour_as_hex", "8000000F", clBtnFace},
        ValueCase{"top_byte_masked", "FF123456", 0x123456},
        ValueCase{"unknown_system_index_masked", "80000099", 0x000099},
        ValueCase{"none_masked", "1FFFFFFF", 0xFFFFFF},
        ValueCase{"too_many_digits_masked", "123456789", 0x456789}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ColorSchemeTest, ValuesAreUpperCasedAndNamesCut) {
  const auto schemes = ParseColorSchemes(
      Params({"NumSets=1", "NAME1=" + std::string(300, 'x'), "NOSTRIPEROW1=silver"}));
  EXPECT_EQ(schemes[0].NoStripeRow, 0xC0C0C0u);
  EXPECT_EQ(schemes[0].Name, std::string(255, 'x'));
}

TEST_F(ColorSchemeTest, SchemeNumbersOutsideTheListBecomeOne) {
  Schemes = ParseColorSchemes(Params({"NumSets=3"}));
  SchemeCount = 3;
  Schemes[1].Name = "Two";
  EXPECT_EQ(ValidSchemeNumber(0), 1);
  EXPECT_EQ(ValidSchemeNumber(-5), 1);
  EXPECT_EQ(ValidSchemeNumber(4), 1);
  EXPECT_EQ(ValidSchemeNumber(3), 3);
  EXPECT_EQ(SelectColorScheme(2), 2);
  EXPECT_EQ(CurrentSchemeNumber, 2);
  EXPECT_EQ(CurrentScheme.Name, "Two");
  EXPECT_EQ(SelectColorScheme(7), 1);
  EXPECT_EQ(CurrentScheme, Schemes[0]);
}

TEST_F(ColorSchemeTest, SchemeSettingChoosesAndStoresTheScheme) {
  LoadColorSchemes(WriteFile("schemes.par", "NumSets=2\nNAME1=One\nNOSTRIPEROW1=0\n"
                                            "NAME2=Two\nNOSTRIPEROW2=FFFFFF\n"));
  ASSERT_EQ(SchemeCount, 2);
  TMyIniFile ini(dir.path().toStdString() + "/BOURSE.INI");
  EXPECT_EQ(SelectColorSchemeFromSettings(ini), 1); // default
  ASSERT_TRUE(ini.WriteInteger("Bourse", "Scheme", 2));
  EXPECT_EQ(SelectColorSchemeFromSettings(ini), 2);
  EXPECT_EQ(CurrentScheme.Name, "Two");
  ASSERT_TRUE(ini.WriteInteger("Bourse", "Scheme", 5));
  EXPECT_EQ(SelectColorSchemeFromSettings(ini), 1);
  ASSERT_TRUE(ini.WriteInteger("Bourse", "Scheme", 0));
  EXPECT_EQ(SelectColorSchemeFromSettings(ini), 1);
  EXPECT_EQ(ChooseColorScheme(2, ini), 2);
  EXPECT_EQ(ini.ReadInteger("Bourse", "Scheme", 0), 2);
  EXPECT_EQ(ChooseColorScheme(9, ini), 1);
  EXPECT_EQ(ini.ReadInteger("Bourse", "Scheme", 0), 1);
}

TEST_F(ColorSchemeTest, ShippedSchemesAreCompleteAndBeginWithTheBuiltInOne) {
  LoadColorSchemes(TestDataPath("schemes.par"));
  ASSERT_GE(SchemeCount, 3);
  EXPECT_EQ(Schemes[0], BuiltInScheme());
  // Every scheme of the file defines all of its keys: a complete scheme 1 from
  // the file equals the built-in one, and no later scheme is a plain copy.
  TStringList lines;
  std::ifstream in(TestDataPath("schemes.par"));
  for (std::string l; std::getline(in, l);)
    lines.Add(l);
  for (int n = 1; n <= SchemeCount; ++n) {
    for (int slot = 0; slot < SchemeColorCount; ++slot) {
      const std::string key = SchemeSlotKey(slot) + std::to_string(n) + "=";
      bool found = false;
      for (int i = 0; i < lines.Count() && !found; ++i)
        found = lines[i].rfind(key, 0) == 0;
      EXPECT_TRUE(found) << key;
    }
    if (n > 1) {
      EXPECT_NE(Schemes[std::size_t(n - 1)], BuiltInScheme()) << n;
      EXPECT_NE(Schemes[std::size_t(n - 1)].Name, "Sunny") << n;
    }
  }
  EXPECT_EQ(Schemes[1].Name, "Midnight");
}

TEST_F(ColorSchemeTest, SmallGraphColoursOfAScheme) {
  const SmallGraphColors c = SchemeSmallGraphColors(BuiltInScheme());
  EXPECT_EQ(c.Back, 0x000000u);
  EXPECT_EQ(c.Pen, 0x00FFFFu);
  EXPECT_EQ(c.Fill, 0x477777u);
}

} // namespace
