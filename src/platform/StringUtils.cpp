#include "platform/StringUtils.h"

#include "platform/AsciiText.h"

#include <algorithm>

namespace {

char Upper(char c) { return AsciiUpper(c); }
char Lower(char c) { return AsciiLower(c); }
// Blanks and control characters, as the class library trims them.
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the UTF-8 sequence a lead byte announces (0 when it is none).
int SequenceLength(unsigned char c) {
  if (c >= 0xC2 && c <= 0xDF)
    return 2;
  if (c >= 0xE0 && c <= 0xEF)
    return 3;
  if (c >= 0xF0 && c <= 0xF4)
    return 4;
  return 0;
}

} // namespace

std::string Trim(const std::string &s) { return TrimLeft(TrimRight(s)); }

std::string TrimLeft(const std::string &s) {
  std::size_t b = 0;
  while (b < s.size() && IsTrimmed(s[b]))
    ++b;
  return s.substr(b);
}

std::string TrimRight(const std::string &s) {
  std::size_t e = s.size();
  while (e > 0 && IsTrimmed(s[e - 1]))
    --e;
  return s.substr(0, e);
}

std::string UpperCase(const std::string &s) {
  std::string r = s;
  std::transform(r.begin(), r.end(), r.begin(), Upper);
  return r;
}

std::string LowerCase(const std::string &s) {
  std::string r = s;
  std::transform(r.begin(), r.end(), r.begin(), Lower);
  return r;
}

bool SameText(const std::string &a, const std::string &b) { return CompareText(a, b) == 0; }

int CompareText(const std::string &a, const std::string &b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = static_cast<unsigned char>(Upper(a[i]));
    const int cb = static_cast<unsigned char>(Upper(b[i]));
    if (ca != cb)
      return ca - cb;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int Pos(const std::string &sub, const std::string &s) {
  if (sub.empty())
    return 0;
  const std::size_t p = s.find(sub);
  return p == std::string::npos ? 0 : int(p) + 1;
}

std::string CutTo(const std::string &s, std::size_t n) {
  if (s.size() <= n)
    return s;
  // Step back over a multi-byte character that straddles the cut, but only when
  // the bytes really form one (Latin-1 text is cut where asked).
  std::size_t cut = n;
  if (IsContinuation(static_cast<unsigned char>(s[n]))) {
    std::size_t lead = n;
    while (lead > 0 && n - lead < 3 && IsContinuation(static_cast<unsigned char>(s[lead])))
      --lead;
    const int len = SequenceLength(static_cast<unsigned char>(s[lead]));
    if (len > 0 && lead + std::size_t(len) > n && lead + std::size_t(len) <= s.size()) {
      bool whole = true;
      for (std::size_t k = lead + 1; k < lead + std::size_t(len); ++k)
        whole = whole && IsContinuation(static_cast<unsigned char>(s[k]));
      if (whole)
        cut = lead;
    }
  }
  return s.substr(0, cut);
}

std::string StringReplaceAll(const std::string &s, const std::string &from, const std::string &to) {
  if (from.empty())
    return s;
  std::string out;
  std::size_t start = 0;
  for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, start)) {
    out.append(s, start, p - start);
    out += to;
    start = p + from.size();
  }
  out.append(s, start, std::string::npos);
  return out;
}

bool StartsText(const std::string &prefix, const std::string &s) {
  return prefix.size() <= s.size() && SameText(prefix, s.substr(0, prefix.size()));
}

bool EndsText(const std::string &suffix, const std::string &s) {
  return suffix.size() <= s.size() && SameText(suffix, s.substr(s.size() - suffix.size()));
}

bool ContainsText(const std::string &s, const std::string &sub) {
  return UpperCase(s).find(UpperCase(sub)) != std::string::npos;
}

std::string Copy(const std::string &s, int index, int count) {
  if (index < 1)
    index = 1;
  if (count <= 0 || std::size_t(index) > s.size())
    return {};
  return s.substr(std::size_t(index - 1), std::size_t(count));
}

std::string StringOfChar(char c, int count) {
  return count > 0 ? std::string(std::size_t(count), c) : std::string();
}

std::string IntToHex(std::int64_t value, int digits) {
  static const char kHex[] = "0123456789ABCDEF";
  std::uint64_t v = std::uint64_t(value);
  std::string s;
  do {
    s.insert(s.begin(), kHex[v & 15]);
    v >>= 4;
  } while (v);
  if (digits > int(s.size()))
    s.insert(0, std::size_t(digits) - s.size(), '0');
  return s;
}

std::string QuotedStr(const std::string &s, char quote) {
  std::string out(1, quote);
  for (char c : s) {
    out += c;
    if (c == quote)
      out += quote;
  }
  out += quote;
  return out;
}

std::string DequotedStr(const std::string &s, char quote) {
  if (s.empty() || s[0] != quote)
    return s;
  std::string out;
  for (std::size_t i = 1; i < s.size(); ++i) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        out += quote;
        ++i;
      } else {
        break; // closing quote
      }
    } else {
      out += s[i];
    }
  }
  return out;
}

std::vector<std::string> SplitAtLineBreaks(const std::string &text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
    } else {
      line += c;
    }
  }
  lines.push_back(line);
  return lines;
}
