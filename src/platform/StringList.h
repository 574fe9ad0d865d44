#pragma once
#include <functional>
#include <string>
#include <vector>

// What Add does on a sorted list when the string is already there.
enum TDuplicates { dupIgnore, dupAccept, dupError };

// A list of strings with an untyped object pointer per item, after the class
// library's string list: optional sorting with a duplicates rule, case-insensitive
// look-up by default, line, comma and delimited texts, and NAME=value items.
// A plain value: copies share the object pointers, never own them.
class TStringList {
public:
  // <0, 0, >0 as item i sorts before, with or after item j.
  using TCompare = std::function<int(const TStringList &list, int i, int j)>;

  TStringList() = default;
  // Sorted list with its rules, e.g. TStringList(true, dupIgnore).
  TStringList(bool sorted, TDuplicates duplicates, bool caseSensitive = false);

  // --- items
  int Count() const { return int(m_items.size()); }
  bool IsEmpty() const { return m_items.empty(); }
  const std::string &operator[](int index) const { return Strings(index); }
  const std::string &Strings(int index) const;
  // Replaces an item's text; not allowed on a sorted list (EStringListError).
  void SetStrings(int index, const std::string &s);
  void *Objects(int index) const;
  void SetObjects(int index, void *object);

  // Adds at the end, or at the sorted place; returns the index (on a sorted list
  // with dupIgnore, the index of the string already there).
  int Add(const std::string &s);
  int AddObject(const std::string &s, void *object);
  void AddStrings(const TStringList &other);
  // Insertion at a position is not allowed on a sorted list (EStringListError).
  void Insert(int index, const std::string &s);
  void InsertObject(int index, const std::string &s, void *object);
  void Delete(int index);
  void Clear() { m_items.clear(); }
  // Not allowed on a sorted list, as they would break its order.
  void Exchange(int a, int b);
  void Move(int from, int to);

  // --- look-up and order
  // Index of the first item equal to s (respecting CaseSensitive), -1 if none.
  int IndexOf(const std::string &s) const;
  int IndexOfObject(const void *object) const;
  // Binary search on a sorted list: true when found; index is the match, or
  // where s would be inserted. On an unsorted list it searches item by item.
  bool Find(const std::string &s, int &index) const;
  bool Sorted() const { return m_sorted; }
  void SetSorted(bool sorted);
  bool CaseSensitive() const { return m_caseSensitive; }
  void SetCaseSensitive(bool caseSensitive);
  TDuplicates Duplicates() const { return m_duplicates; }
  void SetDuplicates(TDuplicates duplicates) { m_duplicates = duplicates; }
  // Stable sort by the list's comparison.
  void Sort();
  void CustomSort(const TCompare &compare);
  // The list's comparison: CompareText, or byte order when case-sensitive.
  int CompareStrings(const std::string &a, const std::string &b) const;

  // --- texts
  // Every item followed by "\n"; setting splits at "\r\n", "\n" or "\r".
  std::string Text() const;
  void SetText(const std::string &text);
  // Items separated by commas; items holding blanks, control characters, commas
  // or double quotes are double-quoted with inner quotes doubled. Setting parses
  // that form: unquoted items end at a comma or a blank.
  std::string CommaText() const;
  void SetCommaText(const std::string &text);
  // The same with Delimiter and QuoteChar; with StrictDelimiter only the
  // delimiter separates items (blanks are kept).
  std::string DelimitedText() const;
  void SetDelimitedText(const std::string &text);
  char Delimiter = ',';
  char QuoteChar = '"';
  bool StrictDelimiter = false;

  // --- NAME=value items
  char NameValueSeparator = '=';
  // Text before the first separator; "" for an item without one.
  std::string Names(int index) const;
  // Text after the first separator; "" for an item without one.
  std::string ValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const std::string &value);
  int IndexOfName(const std::string &name) const;
  // "" when the name is absent.
  std::string Values(const std::string &name) const;
  // Replaces or adds NAME=value; an empty value removes the item.
  void SetValues(const std::string &name, const std::string &value);

  // --- files (bytes kept as they are; a leading UTF-8 byte-order mark is dropped)
  // EFOpenError when the file cannot be read.
  void LoadFromFile(const std::string &path);
  // Writes the whole file or nothing (EFCreateError).
  void SaveToFile(const std::string &path) const;

  // Same strings in the same order (objects and settings are not compared).
  bool operator==(const TStringList &other) const;
  std::vector<std::string> ToVector() const;

private:
  struct Item {
    std::string text;
    void *object = nullptr;
  };
  void CheckIndex(int index) const;
  void CheckUnsorted() const;
  std::string Delimited(char delimiter, char quote, bool strict) const;
  void ParseDelimited(const std::string &text, char delimiter, char quote, bool strict);

  std::vector<Item> m_items;
  bool m_sorted = false;
  bool m_caseSensitive = false;
  TDuplicates m_duplicates = dupIgnore;
};
