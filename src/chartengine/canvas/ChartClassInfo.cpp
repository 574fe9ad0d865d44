#include "chartengine/canvas/ChartClassInfo.h"

#include <map>

namespace {
std::map<std::string, TChartClassRef> &Registry() {
  static std::map<std::string, TChartClassRef> registry;
  return registry;
}
} // namespace

void RegisterChartClass(TChartClassRef cls) {
  if (cls != nullptr)
    Registry().emplace(cls->ClassName(), cls);
}

TChartClassRef FindChartClass(const std::string &className) {
  const auto it = Registry().find(className);
  return it == Registry().end() ? nullptr : it->second;
}

void ClearChartClasses() { Registry().clear(); }
