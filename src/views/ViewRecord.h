#pragma once
// A view: the layout a quote grid reads (font, a style and a grid column per
// field, the view's name and the news-bulb click mode).
#include "core/FieldTitles.h"

#include <array>
#include <cstdint>
#include <string>

// Style bits of a field.
constexpr std::uint8_t fsFieldBold = 1;
constexpr std::uint8_t fsFieldItalic = 2;
constexpr std::uint8_t fsFieldKeepFont = 8; // the field keeps the view font's own style

constexpr std::size_t ViewNameMaxLength = 255;

struct ViewRecord {
  ViewRecord() { FieldCol.fill(-1); }

  std::string FontName = "Arial";
  int FontSize = 8;
  bool Bold = false;
  bool Italic = false;
  std::array<std::uint8_t, GridFieldCount> FieldStyle{}; // fsField* bits
  std::array<int, GridFieldCount> FieldCol;              // grid column per field, -1 hidden
  std::string Name;                                      // up to 255 characters
  // [News] SingleClick: a single click on a news bulb opens the news window
  // (otherwise a double click does).
  bool BulbSingleClick = true;

  friend bool operator==(const ViewRecord &, const ViewRecord &) = default;
};
