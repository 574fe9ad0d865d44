#pragma once
#include <string>
#include <vector>

class TChartCanvas;

// The character that separates the lines of a chart text (carriage return).
constexpr char LineBreakChar = '\r';

// Replaces the first character of every occurrence of separator by LineBreakChar.
void MarkLineBreaks(std::string &text, const std::string &separator);
// The lines of a text split at LineBreakChar; a trailing empty line is not one.
std::vector<std::string> SplitTextLines(const std::string &text);
// The number of lines; a trailing empty line is not counted ("" has none).
int CountTextLines(const std::string &text);
// The width of the widest line on the canvas, and the number of lines.
int MultiLineTextWidth(TChartCanvas &canvas, const std::string &text, int &lines);
