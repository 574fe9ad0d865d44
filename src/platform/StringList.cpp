#include "platform/StringList.h"

#include "platform/Exceptions.h"
#include "platform/SaveFileWhole.h"
#include "platform/StringUtils.h"

#include <QFile>
#include <algorithm>
#include <numeric>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string WithErrorText(const std::string &head, const QString &detail) {
  return detail.isEmpty() ? head : head + " " + detail.toStdString();
}

} // namespace

TStringList::TStringList(bool sorted, TDuplicates duplicates, bool caseSensitive)
    : m_sorted(sorted), m_caseSensitive(caseSensitive), m_duplicates(duplicates) {}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStringList::CheckUnsorted() const {
  if (m_sorted)
    throw EStringListError("Operation not allowed on sorted list");
}

// --- items

const std::string &TStringList::Strings(int index) const {
  CheckIndex(index);
  return m_items[std::size_t(index)].text;
}

void TStringList::SetStrings(int index, const std::string &s) {
  CheckIndex(index);
  CheckUnsorted();
  m_items[std::size_t(index)].text = s;
}

void *TStringList::Objects(int index) const {
  CheckIndex(index);
  return m_items[std::size_t(index)].object;
}

void TStringList::SetObjects(int index, void *object) {
  CheckIndex(index);
  m_items[std::size_t(index)].object = object;
}

int TStringList::Add(const std::string &s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string &s, void *object) {
  int index = Count();
  if (m_sorted) {
    if (Find(s, index)) {
      if (m_duplicates == dupIgnore)
        return index;
      if (m_duplicates == dupError)
        throw EStringListError("String list does not allow duplicates");
    }
  }
  m_items.insert(m_items.begin() + index, Item{s, object});
  return index;
}

void TStringList::AddStrings(const TStringList &other) {
  for (const Item &item : other.m_items)
    AddObject(item.text, item.object);
}

void TStringList::Insert(int index, const std::string &s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string &s, void *object) {
  CheckUnsorted();
  if (index < 0 || index > Count())
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  m_items.insert(m_items.begin() + index, Item{s, object});
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  m_items.erase(m_items.begin() + index);
}

void TStringList::Exchange(int a, int b) {
  CheckIndex(a);
  CheckIndex(b);
  CheckUnsorted();
  std::swap(m_items[std::size_t(a)], m_items[std::size_t(b)]);
}

void TStringList::Move(int from, int to) {
  CheckIndex(from);
  CheckIndex(to);
  CheckUnsorted();
  if (from == to)
    return;
  Item item = std::move(m_items[std::size_t(from)]);
  m_items.erase(m_items.begin() + from);
  m_items.insert(m_items.begin() + to, std::move(item));
}

// --- look-up and order

int TStringList::CompareStrings(const std::string &a, const std::string &b) const {
  if (!m_caseSensitive)
    return CompareText(a, b);
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int TStringList::IndexOf(const std::string &s) const {
  int index = -1;
  if (m_sorted)
    return Find(s, index) ? index : -1;
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(m_items[std::size_t(i)].text, s) == 0)
      return i;
  return -1;
}

int TStringList::IndexOfObject(const void *object) const {
  for (int i = 0; i < Count(); ++i)
    if (m_items[std::size_t(i)].object == object)
      return i;
  return -1;
}

bool TStringList::Find(const std::string &s, int &index) const {
  if (!m_sorted) {
    index = IndexOf(s);
    if (index >= 0)
      return true;
    index = Count();
    return false;
  }
  // First item not below s, so with dupAccept the first of equal items.
  const auto it = std::lower_bound(m_items.begin(), m_items.end(), s,
                                   [this](const Item &item, const std::string &key) {
                                     return CompareStrings(item.text, key) < 0;
                                   });
  index = int(it - m_items.begin());
  return it != m_items.end() && CompareStrings(it->text, s) == 0;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !m_sorted) {
    m_sorted = true;
    Sort();
  }
  m_sorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == m_caseSensitive)
    return;
  m_caseSensitive = caseSensitive;
  if (m_sorted)
    Sort();
}

void TStringList::Sort() {
  std::stable_sort(m_items.begin(), m_items.end(), [this](const Item &a, const Item &b) {
    return CompareStrings(a.text, b.text) < 0;
  });
}

void TStringList::CustomSort(const TCompare &compare) {
  // A sorted list keeps its own order.
  if (m_sorted || Count() < 2 || !compare)
    return;
  // Sort positions against the unchanged list, then rearrange once, so the
  // comparison always sees the indices it was given.
  std::vector<int> order(m_items.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return compare(*this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(m_items.size());
  for (int i : order)
    sorted.push_back(std::move(m_items[std::size_t(i)]));
  m_items = std::move(sorted);
}

// --- texts

std::string TStringList::Text() const {
  std::string out;
  for (const Item &item : m_items) {
    out += item.text;
    out += '\n';
  }
  return out;
}

void TStringList::SetText(const std::string &text) {
  Clear();
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", i);
    if (end == std::string::npos) {
      Add(text.substr(i));
      break;
    }
    Add(text.substr(i, end - i));
    i = end + 1;
    if (text[end] == '\r' && i < text.size() && text[i] == '\n')
      ++i;
  }
}

std::string TStringList::Delimited(char delimiter, char quote, bool strict) const {
  if (m_items.size() == 1 && m_items[0].text.empty())
    return std::string(2, quote);
  std::string out;
  for (std::size_t k = 0; k < m_items.size(); ++k) {
    const std::string &s = m_items[k].text;
    const bool needsQuotes = std::any_of(s.begin(), s.end(), [&](char c) {
      return c == quote || c == delimiter || (!strict && IsBlank(c));
    });
    if (k > 0)
      out += delimiter;
    out += needsQuotes ? QuotedStr(s, quote) : s;
  }
  return out;
}

void TStringList::ParseDelimited(const std::string &text, char delimiter, char quote, bool strict) {
  Clear();
  const std::size_t n = text.size();
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (!strict && i < n && IsBlank(text[i]))
      ++i;
  };
  // A quoted part: doubled quotes stand for one; an unclosed quote runs to the end.
  auto quoted = [&] {
    std::string s;
    for (++i; i < n; ++i) {
      if (text[i] != quote) {
        s += text[i];
      } else if (i + 1 < n && text[i + 1] == quote) {
        s += quote;
        ++i;
      } else {
        ++i;
        break;
      }
    }
    return s;
  };
  auto endsItem = [&](char c) { return c == delimiter || (!strict && IsBlank(c)); };

  skipBlanks();
  while (i < n) {
    std::string s;
    if (text[i] == quote) {
      s = quoted();
      if (strict) // text after the closing quote belongs to the item
        for (; i < n && text[i] != delimiter; ++i)
          s += text[i];
    } else {
      const std::size_t start = i;
      while (i < n && !endsItem(text[i]))
        ++i;
      s = text.substr(start, i - start);
    }
    Add(s);
    skipBlanks();
    if (i < n && text[i] == delimiter) {
      ++i;
      skipBlanks();
      if (i >= n) // a trailing delimiter ends with an empty item
        Add(std::string());
    }
  }
}

std::string TStringList::CommaText() const { return Delimited(',', '"', false); }

void TStringList::SetCommaText(const std::string &text) { ParseDelimited(text, ',', '"', false); }

std::string TStringList::DelimitedText() const {
  return Delimited(Delimiter, QuoteChar, StrictDelimiter);
}

void TStringList::SetDelimitedText(const std::string &text) {
  ParseDelimited(text, Delimiter, QuoteChar, StrictDelimiter);
}

// --- NAME=value items

std::string TStringList::Names(int index) const {
  const std::string &s = Strings(index);
  const std::size_t p = s.find(NameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStringList::ValueFromIndex(int index) const {
  const std::string &s = Strings(index);
  const std::size_t p = s.find(NameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

void TStringList::SetValueFromIndex(int index, const std::string &value) {
  CheckIndex(index);
  if (value.empty()) {
    Delete(index);
    return;
  }
  const std::string line = Names(index) + NameValueSeparator + value;
  if (m_sorted) {
    void *object = m_items[std::size_t(index)].object;
    Delete(index);
    AddObject(line, object);
  } else {
    m_items[std::size_t(index)].text = line;
  }
}

int TStringList::IndexOfName(const std::string &name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string &s = m_items[std::size_t(i)].text;
    const std::size_t p = s.find(NameValueSeparator);
    if (p != std::string::npos && CompareStrings(s.substr(0, p), name) == 0)
      return i;
  }
  return -1;
}

std::string TStringList::Values(const std::string &name) const {
  const int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValues(const std::string &name, const std::string &value) {
  const int i = IndexOfName(name);
  if (i >= 0) {
    if (value.empty()) {
      Delete(i);
    } else {
      // Keep the name as the item spells it.
      SetValueFromIndex(i, value);
    }
  } else if (!value.empty()) {
    Add(name + NameValueSeparator + value);
  }
}

// --- files

void TStringList::LoadFromFile(const std::string &path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly))
    throw EFOpenError(WithErrorText("Cannot open file \"" + path + "\".", file.errorString()));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw EFOpenError(WithErrorText("Cannot read file \"" + path + "\".", file.errorString()));
  std::string text(bytes.constData(), std::size_t(bytes.size()));
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
    text.erase(0, 3);
  SetText(text);
}

void TStringList::SaveToFile(const std::string &path) const {
  std::string error;
  if (!SaveFileWhole(path, Text(), error))
    throw EFCreateError(
        WithErrorText("Cannot create file \"" + path + "\".", QString::fromStdString(error)));
}

bool TStringList::operator==(const TStringList &other) const {
  return std::equal(m_items.begin(), m_items.end(), other.m_items.begin(), other.m_items.end(),
                    [](const Item &a, const Item &b) { return a.text == b.text; });
}

std::vector<std::string> TStringList::ToVector() const {
  std::vector<std::string> out;
  out.reserve(m_items.size());
  for (const Item &item : m_items)
    out.push_back(item.text);
  return out;
}
