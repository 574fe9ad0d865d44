#include "platform/Exceptions.h"
#include "platform/StringList.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace {
using Lines = std::vector<std::string>;

TStringList Of(const Lines &lines) {
  TStringList l;
  for (const auto &s : lines)
    l.Add(s);
  return l;
}
} // namespace

TEST(StringList, AddInsertDeleteAndObjects) {
  TStringList l;
  int a = 1;
  int b = 2;
  EXPECT_EQ(l.Add("one"), 0);
  EXPECT_EQ(l.AddObject("three", &b), 1);
  l.InsertObject(1, "two", &a);
  l.Insert(0, "zero");
  EXPECT_EQ(l.ToVector(), (Lines{"zero", "one", "two", "three"}));
  EXPECT_EQ(l.Objects(2), &a);
  EXPECT_EQ(l.Objects(3), &b);
  EXPECT_EQ(l.Objects(0), nullptr);
  EXPECT_EQ(l.IndexOfObject(&b), 3);
  l.Delete(0);
  EXPECT_EQ(l[0], "one");
  l.SetStrings(0, "uno");
  l.SetObjects(0, &b);
  EXPECT_EQ(l.Strings(0), "uno");
  EXPECT_EQ(l.Objects(0), &b);
  l.Exchange(0, 2);
  EXPECT_EQ(l.ToVector(), (Lines{"three", "two", "uno"}));
  l.Move(0, 2);
  EXPECT_EQ(l.ToVector(), (Lines{"two", "uno", "three"}));
  EXPECT_EQ(l.Objects(2), &b);
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
  EXPECT_TRUE(l.IsEmpty());
}

TEST(StringList, IndexOutOfBoundsRaises) {
  TStringList l = Of({"a"});
  EXPECT_THROW(l.Strings(1), EStringListError);
  EXPECT_THROW(l[-1], EStringListError);
  EXPECT_THROW(l.Delete(1), EStringListError);
  EXPECT_THROW(l.Insert(2, "x"), EStringListError);
  EXPECT_THROW(l.Objects(5), EStringListError);
  EXPECT_THROW(l.Exchange(0, 1), EStringListError);
  try {
    l.Delete(3);
    FAIL();
  } catch (const EStringListError &e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }
  l.Insert(1, "end"); // inserting at Count appends
  EXPECT_EQ(l.ToVector(), (Lines{"a", "end"}));
}

TEST(StringList, IndexOfIgnoresCaseUnlessCaseSensitive) {
  TStringList l = Of({"MSFT", "ibm", "msft"});
  EXPECT_EQ(l.IndexOf("msft"), 0);
  EXPECT_EQ(l.IndexOf("IBM"), 1);
  EXPECT_EQ(l.IndexOf("aapl"), -1);
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOf("msft"), 2);
  EXPECT_EQ(l.IndexOf("IBM"), -1);
}

TEST(StringList, SortedListKeepsOrderOnAdd) {
  TStringList l;
  l.SetSorted(true);
  for (const char *s : {"delta", "Alpha", "charlie", "bravo"})
    l.Add(s);
  EXPECT_EQ(l.ToVector(), (Lines{"Alpha", "bravo", "charlie", "delta"}));
  int index = -1;
  EXPECT_TRUE(l.Find("CHARLIE", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(l.Find("beta", index));
  EXPECT_EQ(index, 1); // where it would go
  EXPECT_FALSE(l.Find("zulu", index));
  EXPECT_EQ(index, 4);
  EXPECT_EQ(l.IndexOf("BRAVO"), 1);
}

TEST(StringList, SortedListRefusesPositionalChanges) {
  TStringList l(true, dupIgnore);
  l.Add("b");
  l.Add("a");
  EXPECT_THROW(l.Insert(0, "z"), EStringListError);
  EXPECT_THROW(l.SetStrings(0, "z"), EStringListError);
  EXPECT_THROW(l.Exchange(0, 1), EStringListError);
  EXPECT_THROW(l.Move(0, 1), EStringListError);
  try {
    l.Insert(0, "z");
  } catch (const EStringListError &e) {
    EXPECT_EQ(e.Message(), "Operation not allowed on sorted list");
  }
  EXPECT_EQ(l.ToVector(), (Lines{"a", "b"}));
}

TEST(StringList, DuplicatesRules) {
  int obj = 0;
  TStringList ignore(true, dupIgnore);
  ignore.Add("x");
  ignore.Add("y");
  EXPECT_EQ(ignore.AddObject("X", &obj), 0); // the existing item's index
  EXPECT_EQ(ignore.Count(), 2);
  EXPECT_EQ(ignore.Objects(0), nullptr);

  TStringList accept(true, dupAccept);
  accept.Add("x");
  accept.Add("y");
  EXPECT_EQ(accept.Add("X"), 0); // before the equal one
  EXPECT_EQ(accept.ToVector(), (Lines{"X", "x", "y"}));
  int index = -1;
  EXPECT_TRUE(accept.Find("x", index));
  EXPECT_EQ(index, 0); // the first of the equal items

  TStringList error(true, dupError);
  error.Add("x");
  EXPECT_THROW(error.Add("X"), EStringListError);
  EXPECT_EQ(error.Count(), 1);

  TStringList caseSensitive(true, dupIgnore, true);
  caseSensitive.Add("x");
  caseSensitive.Add("X");
  EXPECT_EQ(caseSensitive.ToVector(), (Lines{"X", "x"}));

  // Unsorted lists take everything.
  TStringList plain;
  plain.SetDuplicates(dupError);
  plain.Add("x");
  plain.Add("x");
  EXPECT_EQ(plain.Count(), 2);
}

TEST(StringList, SortIsStableAndCaseRuleDriven) {
  TStringList l = Of({"b", "B", "a", "C", "A"});
  l.Sort();
  EXPECT_EQ(l.ToVector(), (Lines{"a", "A", "b", "B", "C"}));
  l.SetCaseSensitive(true);
  l.Sort();
  EXPECT_EQ(l.ToVector(), (Lines{"A", "B", "C", "a", "b"}));
  TStringList s = Of({"b", "a"});
  s.SetSorted(true);
  EXPECT_EQ(s.ToVector(), (Lines{"a", "b"}));
  s.SetSorted(false);
  s.Add("0");
  EXPECT_EQ(s.ToVector(), (Lines{"a", "b", "0"}));
}

TEST(StringList, CustomSortSeesTheListAsItWas) {
  TStringList l = Of({"10", "9", "100", "1"});
  l.CustomSort([](const TStringList &list, int i, int j) {
    return std::stoi(list[i]) - std::stoi(list[j]);
  });
  EXPECT_EQ(l.ToVector(), (Lines{"1", "9", "10", "100"}));
  TStringList sorted(true, dupAccept);
  sorted.Add("b");
  sorted.Add("a");
  sorted.CustomSort([](const TStringList &, int i, int j) { return j - i; });
  EXPECT_EQ(sorted.ToVector(), (Lines{"a", "b"})); // a sorted list keeps its order
}

TEST(StringList, TextSplitsAtAnyLineBreak) {
  struct Case {
    const char *name;
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"empty", "", {}},
      {"one line", "a", {"a"}},
      {"trailing break", "a\n", {"a"}},
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"cr", "a\rb", {"a", "b"}},
      {"mixed", "a\r\n\nb\rc", {"a", "", "b", "c"}},
      {"blank lines kept", "\n\n", {"", ""}},
      {"lone break", "\n", {""}},
      {"spaces kept", " a \n", {" a "}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TStringList l;
    l.SetText(c.text);
    EXPECT_EQ(l.ToVector(), c.lines);
  }
  EXPECT_EQ(Of({"a", "", "b"}).Text(), "a\n\nb\n");
  EXPECT_EQ(TStringList().Text(), "");
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  struct Case {
    const char *name;
    Lines lines;
    std::string text;
  };
  const Case cases[] = {
      {"plain", {"a", "b", "c"}, "a,b,c"},
      {"blank", {"a b", "c"}, "\"a b\",c"},
      {"comma", {"a,b"}, "\"a,b\""},
      {"quote", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {"tab", {"a\tb"}, "\"a\tb\""},
      {"empty middle", {"a", "", "b"}, "a,,b"},
      {"empty last", {"a", ""}, "a,"},
      {"empty first", {"", "a"}, ",a"},
      {"single empty", {""}, "\"\""},
      {"two empty", {"", ""}, ","},
      {"none", {}, ""},
      {"utf-8", {"\xC3\xA9t\xC3\xA9"}, "\xC3\xA9t\xC3\xA9"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const TStringList l = Of(c.lines);
    EXPECT_EQ(l.CommaText(), c.text);
    TStringList back;
    back.SetCommaText(l.CommaText());
    EXPECT_EQ(back.ToVector(), c.lines);
  }
}

TEST(StringList, CommaTextParsing) {
  struct Case {
    const char *name;
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"blanks separate", "a b  c", {"a", "b", "c"}},
      {"blanks around commas", " a , b ", {"a", "b"}},
      {"quoted keeps blanks", "\"a b\", c", {"a b", "c"}},
      {"doubled quotes", "\"x\"\"y\"", {"x\"y"}},
      {"unclosed quote", "\"abc", {"abc"}},
      {"text after quote", "\"a\"b", {"a", "b"}},
      {"trailing comma and blank", "a, ", {"a", ""}},
      {"only blanks", "   ", {}},
      {"consecutive commas", "a,,,b", {"a", "", "", "b"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TStringList l;
    l.SetCommaText(c.text);
    EXPECT_EQ(l.ToVector(), c.lines);
  }
}

TEST(StringList, DelimitedTextUsesItsDelimiterAndQuote) {
  TStringList l = Of({"a b", "c;d", "e'f", ""});
  l.Delimiter = ';';
  l.QuoteChar = '\'';
  EXPECT_EQ(l.DelimitedText(), "'a b';'c;d';'e''f';");
  TStringList back;
  back.Delimiter = ';';
  back.QuoteChar = '\'';
  back.SetDelimitedText(l.DelimitedText());
  EXPECT_EQ(back.ToVector(), l.ToVector());

  TStringList strict;
  strict.Delimiter = '|';
  strict.StrictDelimiter = true;
  strict.SetDelimitedText(" a b | c|");
  EXPECT_EQ(strict.ToVector(), (Lines{" a b ", " c", ""}));
  EXPECT_EQ(strict.DelimitedText(), " a b | c|");
}

TEST(StringList, NamesAndValues) {
  TStringList l = Of({"Port=16239", "Active=NO", "plain", "Empty=", "A=b=c"});
  EXPECT_EQ(l.Values("port"), "16239");
  EXPECT_EQ(l.Values("A"), "b=c");
  EXPECT_EQ(l.Values("Empty"), "");
  EXPECT_EQ(l.Values("missing"), "");
  EXPECT_EQ(l.Values("plain"), "");
  EXPECT_EQ(l.IndexOfName("ACTIVE"), 1);
  EXPECT_EQ(l.IndexOfName("plain"), -1);
  EXPECT_EQ(l.Names(0), "Port");
  EXPECT_EQ(l.Names(2), "");
  EXPECT_EQ(l.ValueFromIndex(2), ""); // no separator: no value
  EXPECT_EQ(l.ValueFromIndex(4), "b=c");

  l.SetValues("active", "YES"); // the item keeps its spelling of the name
  EXPECT_EQ(l[1], "Active=YES");
  l.SetValues("New", "1");
  EXPECT_EQ(l[5], "New=1");
  l.SetValues("Port", ""); // an empty value removes the item
  EXPECT_EQ(l.IndexOfName("Port"), -1);
  l.SetValues("absent", "");
  EXPECT_EQ(l.Count(), 5);
  l.SetValueFromIndex(0, "NO");
  EXPECT_EQ(l[0], "Active=NO");
}

TEST(StringList, ValuesOnASortedListKeepItSorted) {
  TStringList l(true, dupIgnore);
  int obj = 0;
  l.AddObject("b=2", &obj);
  l.Add("a=1");
  l.Add("c=3");
  l.SetValues("b", "9");
  EXPECT_EQ(l.ToVector(), (Lines{"a=1", "b=9", "c=3"}));
  EXPECT_EQ(l.Objects(1), &obj);
  l.SetValues("aa", "0");
  EXPECT_EQ(l.ToVector(), (Lines{"a=1", "aa=0", "b=9", "c=3"}));
}

TEST(StringList, FilesRoundTripWhole) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath("list.txt").toStdString();
  TStringList l = Of({"first", "", "last \xC3\xA9"});
  l.SaveToFile(path);
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll().toStdString(), "first\n\nlast \xC3\xA9\n");
  f.close();
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_EQ(back, l);

  // Windows line ends and a byte-order mark read the same.
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\xEF\xBB\xBFone\r\ntwo\r\n");
  f.close();
  back.LoadFromFile(path);
  EXPECT_EQ(back.ToVector(), (Lines{"one", "two"}));
}

TEST(StringList, FileErrorsRaiseAndLoseNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TStringList l = Of({"keep"});
  EXPECT_THROW(l.LoadFromFile(dir.filePath("missing.txt").toStdString()), EFOpenError);
  EXPECT_EQ(l.ToVector(), (Lines{"keep"}));
  EXPECT_THROW(l.SaveToFile(dir.filePath("no/such/folder/x.txt").toStdString()), EFCreateError);

  // A disk that fills up during the save leaves the old file as it was.
  const std::string path = dir.filePath("list.txt").toStdString();
  l.SaveToFile(path);
  TStringList big;
  for (int i = 0; i < 200; ++i)
    big.Add("a line long enough to pass the limit");
  {
    FileSizeLimit limit(1024);
    ASSERT_TRUE(limit.Active());
    EXPECT_THROW(big.SaveToFile(path), EFCreateError);
  }
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.ToVector(), (Lines{"keep"}));
}

TEST(StringList, CopiesAreIndependentValues) {
  int obj = 0;
  TStringList a(true, dupError);
  a.AddObject("x", &obj);
  TStringList b = a;
  b.Add("y");
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(b.Count(), 2);
  EXPECT_TRUE(b.Sorted());
  EXPECT_EQ(b.Duplicates(), dupError);
  EXPECT_EQ(b.Objects(0), &obj);
  EXPECT_FALSE(a == b);
}
