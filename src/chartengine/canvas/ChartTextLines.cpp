#include "chartengine/canvas/ChartTextLines.h"

#include "chartengine/canvas/ChartCanvas.h"

#include <algorithm>
#include <vector>

std::vector<std::string> SplitTextLines(const std::string &text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find(LineBreakChar, start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void MarkLineBreaks(std::string &text, const std::string &separator) {
  if (separator.empty())
    return;
  for (std::size_t at = text.find(separator); at != std::string::npos;
       at = text.find(separator, at + separator.size()))
    text[at] = LineBreakChar;
}

int CountTextLines(const std::string &text) {
  return static_cast<int>(SplitTextLines(text).size());
}

int MultiLineTextWidth(TChartCanvas &canvas, const std::string &text, int &lines) {
  const std::vector<std::string> pieces = SplitTextLines(text);
  lines = static_cast<int>(pieces.size());
  int widest = 0;
  for (const std::string &piece : pieces)
    widest = std::max(widest, canvas.TextWidth(piece));
  return widest;
}
