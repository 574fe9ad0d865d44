#pragma once
// Letter case and character classes of single bytes, the same in every locale.
//
// The program's own texts (settings sections and keys, file headers, symbols,
// format patterns, mail hosts) are ASCII; only 'a'-'z' and 'A'-'Z' have a case
// and bytes of 0x80 and above (parts of UTF-8 characters) are neither letters,
// digits nor blanks. The <cctype> routines follow the process locale instead:
// in a Turkish one toupper('i') is 'i', which breaks every case-insensitive
// match of a text with an 'i' in it.

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
// Key codes and other ints: only the values of ASCII lower-case letters change.
constexpr int AsciiUpper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsAsciiLetterOrDigit(char c) { return IsAsciiLetter(c) || IsAsciiDigit(c); }
constexpr bool IsAsciiHexDigit(char c) {
  return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
// Blank, tab, line feed, vertical tab, form feed and carriage return.
constexpr bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Equal when they differ at most in the case of an ASCII letter.
constexpr bool SameAsciiLetter(char a, char b) { return AsciiUpper(a) == AsciiUpper(b); }
