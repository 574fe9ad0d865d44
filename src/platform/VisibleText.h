#pragma once
// Text that came from outside (a file another program writes, a server's
// reply) before it is logged or shown: every byte of a control character
// (C0, DEL, and the C1 controls U+0080-U+009F) and every byte that belongs to
// no well-formed UTF-8 character is written as "\x" and two hex digits, so a
// log line stays one line, a terminal that shows the log takes no escape
// sequence from it, and nothing undecodable reaches a widget.
#include <cstddef>
#include <string>
#include <string_view>

// The text with its control and undecodable bytes shown as "\xNN".
std::string VisibleText(std::string_view text);
// The same, but line feeds stay line breaks (texts of several lines shown in
// a window); a CR before a line feed is dropped.
std::string VisibleLines(std::string_view text);
// Whether text is well-formed UTF-8 (no overlong forms, no surrogates, nothing
// past U+10FFFF) without control characters: what a text field may hold.
bool IsCleanText(std::string_view text);
// The length of the well-formed UTF-8 character at text[i] (1 for ASCII), 0
// when none starts there.
std::size_t Utf8CharLength(std::string_view text, std::size_t i);
