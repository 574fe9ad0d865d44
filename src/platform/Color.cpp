#include "platform/Color.h"

#include <QColor>
#include <array>

namespace {
// The classic default system colours, by index.
constexpr std::array<TColor, 25> kSystemColors = {
    0xC8C8C8, // scroll bar
    0x808000, // background (desktop)
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application work space
    0x800000, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3-D dark shadow
    0xC0C0C0, // 3-D light
    0x000000, // info text
    0xE1FFFF, // info background
};
} // namespace

bool IsSystemColor(TColor c) {
  return (c & 0xFF000000) == clSystemColor && (c & 0x00FFFFFF) < kSystemColors.size();
}

TColor ColorToRGB(TColor c) {
  if (c == clNone)
    return clWhite;
  if (IsSystemColor(c))
    return kSystemColors[c & 0xFF];
  return c & 0x00FFFFFF;
}

QColor ToQColor(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }
