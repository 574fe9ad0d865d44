#include "platform/VisibleText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TextCase {
  const char *name;
  std::string text;
  const char *visible; // VisibleText
  bool clean;          // IsCleanText
};

TEST(VisibleTextTest, ControlsAndUndecodableBytesShowAsHex) {
  const TextCase cases[] = {
      {"plain", "Apple 185.20", "Apple 185.20", true},
      {"UTF-8 kept", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\x88",
       "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\x88", true},
      {"backslash kept", "a\\x1b", "a\\x1b", true},
      {"escape", "a\x1b[2Jb", "a\\x1b[2Jb", false},
      {"line breaks and tab", "a\r\nb\tc", "a\\x0d\\x0ab\\x09c", false},
      {"nul", std::string("a\0b", 3), "a\\x00b", false},
      {"delete", "a\x7f", "a\\x7f", false},
      {"C1 CSI",
       "a\xc2\x9b"
       "31m",
       "a\\xc2\\x9b31m", false},
      {"C1 next line", "a\xc2\x85z", "a\\xc2\\x85z", false},
      {"no-break space is text", "a\xc2\xa0z", "a\xc2\xa0z", true},
      {"8-bit control byte alone",
       "a\x9b"
       "2J",
       "a\\x9b2J", false},
      {"not UTF-8", "\xff\xfe", "\\xff\\xfe", false},
      {"overlong slash", "\xc0\xaf", "\\xc0\\xaf", false},
      {"overlong three bytes", "\xe0\x80\xaf", "\\xe0\\x80\\xaf", false},
      {"surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80", false},
      {"past U+10FFFF", "\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80", false},
      {"cut character", "ab\xe2\x82", "ab\\xe2\\x82", false},
  };
  for (const TextCase &c : cases) {
    EXPECT_EQ(VisibleText(c.text), c.visible) << c.name;
    EXPECT_EQ(IsCleanText(c.text), c.clean) << c.name;
  }
  EXPECT_EQ(VisibleLines("one\r\ntwo\n\x1b"), "one\ntwo\n\\x1b");
}

} // namespace
