#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Byte-wise ASCII string helpers with the class library's names.
std::string Trim(const std::string &s);
std::string TrimLeft(const std::string &s);
std::string TrimRight(const std::string &s);
std::string UpperCase(const std::string &s);
std::string LowerCase(const std::string &s);
bool SameText(const std::string &a, const std::string &b);
int CompareText(const std::string &a, const std::string &b); // case-insensitive, <0 / 0 / >0
// 1-based position of sub in s, 0 when absent (as Pos).
int Pos(const std::string &sub, const std::string &s);
// Cuts a string to at most n bytes (short-string maximum lengths). A UTF-8
// character that would be split is left out whole.
std::string CutTo(const std::string &s, std::size_t n);
std::string StringReplaceAll(const std::string &s, const std::string &from, const std::string &to);
bool StartsText(const std::string &prefix, const std::string &s); // case-insensitive
bool EndsText(const std::string &suffix, const std::string &s);   // case-insensitive
bool ContainsText(const std::string &s, const std::string &sub);  // case-insensitive
// 1-based substring as Copy: out-of-range index and count are clamped.
std::string Copy(const std::string &s, int index, int count);
std::string StringOfChar(char c, int count);
// Upper-case hexadecimal with at least `digits` digits.
std::string IntToHex(std::int64_t value, int digits);
// Quotes with `quote`, doubling quotes inside: O'Neil -> 'O''Neil'.
std::string QuotedStr(const std::string &s, char quote = '\'');
// Reverses QuotedStr; text that does not start with `quote` is returned as it is.
std::string DequotedStr(const std::string &s, char quote = '\'');
// The lines of a text separated by CR LF, LF or CR. Always at least one line:
// "" gives one empty line, and a final line break is followed by an empty one.
std::vector<std::string> SplitAtLineBreaks(const std::string &text);
