#include "platform/StringUtils.h"

#include <gtest/gtest.h>

TEST(StringUtils, TrimRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
  EXPECT_EQ(TrimLeft("\t a "), "a ");
  EXPECT_EQ(TrimRight(" a \x01"), " a");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("\xC3\xA9t\xC3\xA9"), "\xC3\xA9t\xC3\xA9"); // UTF-8 bytes stay
}

TEST(StringUtils, CaseChangesTouchAsciiLettersOnly) {
  EXPECT_EQ(UpperCase("abc-xyz 09 \xC3\xA9"), "ABC-XYZ 09 \xC3\xA9");
  EXPECT_EQ(LowerCase("ABC-XYZ_"), "abc-xyz_");
}

TEST(StringUtils, CompareTextIgnoresCase) {
  struct Case {
    const char *a;
    const char *b;
    int sign;
  };
  const Case cases[] = {
      {"msft", "MSFT", 0}, {"a", "B", -1},      {"B", "a", 1}, {"ab", "abc", -1}, {"", "", 0},
      {"", "a", -1},       {"IBM", "ibm.", -1}, {"_", "a", 1}, // compared as upper case: '_' sorts
                                                               // after the letters
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    const int r = CompareText(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign);
    EXPECT_EQ(SameText(c.a, c.b), c.sign == 0);
  }
}

TEST(StringUtils, PosIsOneBased) {
  EXPECT_EQ(Pos("b", "abc"), 2);
  EXPECT_EQ(Pos("a", "abc"), 1);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("abcd", "abc"), 0);
}

TEST(StringUtils, CutToKeepsWholeCharacters) {
  EXPECT_EQ(CutTo("ABCDEFGHIJKLMNOPQ", 15), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(CutTo("short", 15), "short");
  EXPECT_EQ(CutTo("abc", 0), "");
  // "ab" + e-acute (2 bytes): a cut at 3 would split it.
  EXPECT_EQ(CutTo("ab\xC3\xA9", 3), "ab");
  EXPECT_EQ(CutTo("ab\xC3\xA9", 4), "ab\xC3\xA9");
  // Euro sign (3 bytes) cut after its first or second byte.
  EXPECT_EQ(CutTo("x\xE2\x82\xAC", 2), "x");
  EXPECT_EQ(CutTo("x\xE2\x82\xAC", 3), "x");
  // Bytes that are not UTF-8 are cut where asked.
  EXPECT_EQ(CutTo("ab\xE9\xA9", 3), "ab\xE9");
}

TEST(StringUtils, ReplaceAll) {
  EXPECT_EQ(StringReplaceAll("a,b,,c", ",", ";"), "a;b;;c");
  EXPECT_EQ(StringReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(StringReplaceAll("abc", "abc", ""), "");
}

TEST(StringUtils, PrefixSuffixAndContainsIgnoreCase) {
  EXPECT_TRUE(StartsText("LOG", "log3"));
  EXPECT_FALSE(StartsText("LOG", "LO"));
  EXPECT_TRUE(StartsText("", "x"));
  EXPECT_TRUE(EndsText(".SDF", "quotes.sdf"));
  EXPECT_FALSE(EndsText(".SDF", "sdf"));
  EXPECT_TRUE(ContainsText("Hello World", "WORLD"));
  EXPECT_FALSE(ContainsText("Hello", "xyz"));
}

TEST(StringUtils, CopyClampsItsRange) {
  EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
  EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
  EXPECT_EQ(Copy("abcdef", 7, 1), "");
  EXPECT_EQ(Copy("abcdef", 1, -1), "");
}

TEST(StringUtils, SmallBuilders) {
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -3), "");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 1), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
}

TEST(StringUtils, QuotingRoundTrips) {
  EXPECT_EQ(QuotedStr("O'Neil"), "'O''Neil'");
  EXPECT_EQ(QuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(DequotedStr("'O''Neil'"), "O'Neil");
  EXPECT_EQ(DequotedStr("plain"), "plain");
  EXPECT_EQ(DequotedStr("'open"), "open");
  for (const char *s : {"", "'", "''", "a'b'c", "x"}) {
    SCOPED_TRACE(s);
    EXPECT_EQ(DequotedStr(QuotedStr(s)), s);
  }
}

TEST(StringUtils, SplitAtLineBreaksTakesEveryLineEnd) {
  using Lines = std::vector<std::string>;
  const struct {
    const char *name;
    std::string text;
    Lines lines;
  } rows[] = {
      {"empty", "", Lines{""}},
      {"one line", "abc", Lines{"abc"}},
      {"mixed ends", "a\r\nb\nc\rd", Lines{"a", "b", "c", "d"}},
      {"final break", "a\r\n", Lines{"a", ""}},
      {"empty lines kept", "\n\r\n", Lines{"", "", ""}},
      {"LF CR is two breaks", "a\n\rb", Lines{"a", "", "b"}},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(SplitAtLineBreaks(row.text), row.lines);
  }
}
