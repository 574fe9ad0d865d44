#include "alerts/news/NewsWindowPlace.h"

#include "alerts/news/NewsLayout.h"
#include "core/IniFile.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr const char *kSection = "News";
} // namespace

TNewsWindowPlace ReadNewsWindowPlace(const TMyIniFile &ini, QSize designed, QSize screen) {
  TNewsWindowPlace place;
  const double split =
      StrToFloatDef(Trim(ini.ReadString(kSection, "NSPLIT", "50")), NewsSplitDefault);
  place.Split =
      std::isfinite(split) ? std::clamp(split, NewsSplitMin, NewsSplitMax) : NewsSplitDefault;
  const int x = ini.ReadInteger(kSection, "NWINX", (screen.width() - designed.width()) / 2);
  const int y = ini.ReadInteger(kSection, "NWINY", (screen.height() - designed.height()) / 2);
  const int w = ini.ReadInteger(kSection, "NWINW", designed.width());
  const int h = ini.ReadInteger(kSection, "NWINH", designed.height());
  place.Frame = QRect(x, y, w, h);
  place.Maximized = UpperCase(Trim(ini.ReadString(kSection, "NSTATE", "NO"))) == "MX";
  return place;
}

std::string NewsSplitText(double split) { return FloatToStr(split); }

bool WriteNewsWindowPlace(TMyIniFile &ini, const TNewsWindowPlace &place, bool twoPane) {
  bool ok = ini.WriteString(kSection, "NSTATE", place.Maximized ? "MX" : "NO");
  ok = ini.WriteInteger(kSection, "NWINX", place.Frame.x()) && ok;
  ok = ini.WriteInteger(kSection, "NWINY", place.Frame.y()) && ok;
  ok = ini.WriteInteger(kSection, "NWINW", place.Frame.width()) && ok;
  ok = ini.WriteInteger(kSection, "NWINH", place.Frame.height()) && ok;
  if (!twoPane)
    ok = ini.WriteString(kSection, "NSPLIT", NewsSplitText(place.Split)) && ok;
  return ok;
}
