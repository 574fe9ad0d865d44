#include "views/stockgrid/ColumnMap.h"

#include "platform/StringUtils.h"

#include <algorithm>

void RemoveShownField(TColumnMap &map, int field) {
  if (field < 0 || field >= GridFieldCount || map[field] < 0)
    return;
  const int col = map[field];
  for (int &c : map)
    if (c > col)
      --c;
  map[field] = -1;
}

TColumnMap BuildColumnMap(const TColumnMap &viewMap, bool watchMode,
                          const std::vector<std::string> &providedKeys) {
  TColumnMap map = viewMap;
  for (int &c : map)
    if (c < 0)
      c = -1;
  if (watchMode)
    for (int f : WatchModeRemovedFields)
      RemoveShownField(map, f);
  for (int f : OptionalSiteFields) {
    const std::string key = UpperCase(FieldViewKey(f));
    const bool provided = std::any_of(providedKeys.begin(), providedKeys.end(),
                                      [&](const std::string &k) { return UpperCase(k) == key; });
    if (!provided)
      RemoveShownField(map, f);
  }
  return map;
}

int ShownFieldCount(const TColumnMap &map) {
  return int(std::count_if(map.begin(), map.end(), [](int c) { return c >= 0; }));
}

int FieldAtColumn(const TColumnMap &map, int col) {
  if (col < 0)
    return -1;
  for (int f = 0; f < GridFieldCount; ++f)
    if (map[f] == col)
      return f;
  return -1;
}
