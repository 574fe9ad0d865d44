#include "platform/VisibleText.h"

namespace {

bool IsC0OrDel(unsigned char c) { return c < 0x20 || c == 0x7F; }

// A C1 control in UTF-8: C2 80 .. C2 9F.
bool IsC1At(std::string_view text, std::size_t i, std::size_t length) {
  return length == 2 && static_cast<unsigned char>(text[i]) == 0xC2 &&
         static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

void AppendEscaped(std::string &out, unsigned char c) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\x";
  out += kHex[c >> 4];
  out += kHex[c & 0x0F];
}

std::string Escape(std::string_view text, bool keepLineFeeds) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (keepLineFeeds && (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))) {
      if (c == '\n')
        out += '\n';
      ++i;
      continue;
    }
    const std::size_t length = Utf8CharLength(text, i);
    if (length == 0 || (length == 1 && IsC0OrDel(c)) || IsC1At(text, i, length)) {
      // An undecodable byte alone; a control character byte by byte.
      const std::size_t n = length == 0 ? 1 : length;
      for (std::size_t k = 0; k < n; ++k)
        AppendEscaped(out, static_cast<unsigned char>(text[i + k]));
      i += n;
      continue;
    }
    out.append(text, i, length);
    i += length;
  }
  return out;
}

} // namespace

std::size_t Utf8CharLength(std::string_view text, std::size_t i) {
  if (i >= text.size())
    return 0;
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = at(i);
  if (c < 0x80)
    return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF; // the range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    low = c == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
    high = c == 0xED ? 0x9F : 0xBF; // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    low = c == 0xF0 ? 0x90 : 0x80;
    high = c == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
  } else {
    return 0; // a continuation byte, C0/C1 (overlong) or F5..FF
  }
  if (i + length > text.size() || at(i + 1) < low || at(i + 1) > high)
    return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (at(i + k) < 0x80 || at(i + k) > 0xBF)
      return 0;
  return length;
}

std::string VisibleText(std::string_view text) { return Escape(text, false); }

std::string VisibleLines(std::string_view text) { return Escape(text, true); }

bool IsCleanText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8CharLength(text, i);
    if (length == 0 || (length == 1 && IsC0OrDel(static_cast<unsigned char>(text[i]))) ||
        IsC1At(text, i, length))
      return false;
    i += length;
  }
  return true;
}
