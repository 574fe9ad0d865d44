#pragma once
#include "platform/Sound.h"

#include <string>
#include <vector>

// The fixed name tables of the alerts module. Indexes are the values stored in
// the alert records (AlertType, action elements, SoundIndex, column P1).

// Alert types: 0 "Low Price", 1 "High Price", 2 "New News", 3 "Column Alert".
constexpr int AlertTypeLowPrice = 0;
constexpr int AlertTypeHighPrice = 1;
constexpr int AlertTypeNews = 2;
constexpr int AlertTypeColumn = 3;
constexpr int AlertTypeCount = 4;
const std::vector<std::string> &AlertTypeNames();

// Action elements of TAlertRecord::Actions. Elements 0 and 6 exist in the set
// but have no name and are never used.
constexpr int ActionHighlightRow = 1;
constexpr int ActionFlashWindow = 2;
constexpr int ActionPopup = 3;
constexpr int ActionSound = 4;
constexpr int ActionEMail = 5;
constexpr int ActionElementCount = 7; // elements 0..6
// Seven entries: "", "Highlight Stock Row", ..., "Send an Email", "".
const std::vector<std::string> &ActionNames();

// Standard sounds, by SoundIndex 0..StandardSoundCount-1 (platform/Sound.h);
// -1 plays none.
const std::vector<std::string> &StandardSoundNames();
// The system beep code of each standard sound (-1 is the simple beep).
const std::vector<int> &StandardSoundBeepCodes();

// Quote columns of column alerts (P1), built at start-up from a comma text:
// 0 "Change", 1 "Change %", 2 "Spread", 3 "Low", 4 "High", 5 "Volume",
// 6 "Vol %", 7 "# Trades".
constexpr int ColumnChange = 0;
constexpr int ColumnChangePercent = 1;
constexpr int ColumnSpread = 2;
constexpr int ColumnLow = 3;
constexpr int ColumnHigh = 4;
constexpr int ColumnVolume = 5;
constexpr int ColumnVolumePercent = 6;
constexpr int ColumnTrades = 7;
const std::vector<std::string> &ColumnNames();
bool IsValidColumnIndex(long long index);
// Columns whose values are prices (formatted with PriceToStr): 0, 2, 3, 4.
bool IsPriceColumn(long long index);
// Columns with a "only when crossed" option: 2, 5, 6.
bool IsCrossingColumn(long long index);

// Splits a comma text of names, each optionally in double quotes (a doubled
// quote inside stands for one), as the column list is built from.
std::vector<std::string> SplitCommaText(const std::string &text);
