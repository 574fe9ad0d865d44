#pragma once
#include "chartengine/canvas/ChartClassInfo.h"

#include <functional>
#include <memory>

class TChartComponent;

// The class reference of a series or series-function class: its name, its
// base class and a factory, so that a class named in a form description can
// be made and a class can be asked whether it derives from another.
class TChartComponentClass : public TChartClassInfo {
public:
  using Factory = std::function<std::unique_ptr<TChartComponent>(TChartComponent *owner)>;

  TChartComponentClass(std::string className, const TChartComponentClass *parent, Factory factory);

  const TChartComponentClass *Parent() const { return m_parent; }
  // True for this class and every class derived from it.
  bool InheritsFrom(const TChartClassInfo *cls) const;
  // A new object of the class; nullptr for a class without a factory.
  std::unique_ptr<TChartComponent> Create(TChartComponent *owner) const;

private:
  const TChartComponentClass *m_parent;
  Factory m_factory;
};
