#include "chartengine/engine/ChartComponentClass.h"

#include "chartengine/engine/ChartComponent.h"

TChartComponentClass::TChartComponentClass(std::string className,
                                           const TChartComponentClass *parent, Factory factory)
    : TChartClassInfo(std::move(className)), m_parent(parent), m_factory(std::move(factory)) {}

bool TChartComponentClass::InheritsFrom(const TChartClassInfo *cls) const {
  for (const TChartComponentClass *c = this; c != nullptr; c = c->m_parent)
    if (c == cls)
      return true;
  return false;
}

std::unique_ptr<TChartComponent> TChartComponentClass::Create(TChartComponent *owner) const {
  if (!m_factory)
    return nullptr;
  return m_factory(owner);
}
