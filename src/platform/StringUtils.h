#pragma once
#include <string>

// Byte-wise ASCII string helpers with the class library's names.
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b); // case-insensitive, <0 / 0 / >0
// 1-based position of sub in s, 0 when absent (as Pos).
int Pos(const std::string& sub, const std::string& s);
// Cuts a string to at most n bytes (short-string maximum lengths).
std::string CutTo(const std::string& s, std::size_t n);
std::string StringReplaceAll(const std::string& s, const std::string& from, const std::string& to);
bool StartsText(const std::string& prefix, const std::string& s); // case-insensitive
