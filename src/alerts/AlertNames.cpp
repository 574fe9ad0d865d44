#include "alerts/AlertNames.h"

namespace {
const char *const kColumnCommaText =
    "\"Change\",\"Change %\",\"Spread\",\"Low\",\"High\",\"Volume\",\"Vol %\",\"# Trades\"";
} // namespace

const std::vector<std::string> &AlertTypeNames() {
  static const std::vector<std::string> names{"Low Price", "High Price", "New News",
                                              "Column Alert"};
  return names;
}

const std::vector<std::string> &ActionNames() {
  static const std::vector<std::string> names{"",
                                              "Highlight Stock Row",
                                              "Flash Main Window",
                                              "Pop-up an Alert Window",
                                              "Sound Audio Alert",
                                              "Send an Email",
                                              ""};
  return names;
}

const std::vector<std::string> &StandardSoundNames() {
  static const std::vector<std::string> names{"Computer Speaker", "Asterisk", "Exclamation", "Stop",
                                              "Question",         "Default"};
  return names;
}

const std::vector<int> &StandardSoundBeepCodes() {
  static const std::vector<int> codes{-1, 0x40, 0x30, 0x10, 0x20, 0};
  return codes;
}

const std::vector<std::string> &ColumnNames() {
  static const std::vector<std::string> names = SplitCommaText(kColumnCommaText);
  return names;
}

bool IsValidColumnIndex(long long index) {
  return index >= 0 && index < static_cast<long long>(ColumnNames().size());
}

bool IsPriceColumn(long long index) {
  return index == ColumnChange || index == ColumnSpread || index == ColumnLow ||
         index == ColumnHigh;
}

bool IsCrossingColumn(long long index) {
  return index == ColumnSpread || index == ColumnVolume || index == ColumnVolumePercent;
}

std::vector<std::string> SplitCommaText(const std::string &text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i <= n) {
    std::string item;
    if (i < n && text[i] == '"') {
      ++i;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
      while (i < n && text[i] != ',')
        ++i; // anything between the closing quote and the comma is dropped
    } else {
      while (i < n && text[i] != ',')
        item += text[i++];
    }
    out.push_back(item);
    if (i >= n)
      break;
    ++i; // the comma
  }
  return out;
}
