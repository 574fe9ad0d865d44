#pragma once
#include "chartengine/engine/ChartWalks.h"

#include <memory>
#include <string>
#include <vector>

enum TOperation { opInsert, opRemove };

// The base of the engine's streamed objects (series, series functions): a
// name, an owner whose components can be found by name, a tag, the loading,
// designing and destroying states, and removal notices between components
// that refer to each other.
//
// An owner does not free its components; it only lists them. Whoever creates
// a component frees it; a component leaves its owner's list when destroyed
// and the components of a destroyed owner are left without one.
class TChartComponent {
public:
  explicit TChartComponent(TChartComponent *owner = nullptr);
  TChartComponent(const TChartComponent &) = delete;
  TChartComponent &operator=(const TChartComponent &) = delete;
  // Tells every component that asked for removal notices, and the owner's
  // other components, that this one goes.
  virtual ~TChartComponent();

  const std::string &Name() const { return m_name; }
  void SetName(const std::string &name) { m_name = name; }
  long Tag() const { return m_tag; }
  void SetTag(long value) { m_tag = value; }

  TChartComponent *Owner() const { return m_owner; }
  int ComponentCount() const { return static_cast<int>(m_components.size()); }
  TChartComponent *Components(int index) const;
  // The owned component of that name (case-insensitive), or nullptr.
  TChartComponent *FindComponent(const std::string &name) const;

  // Set while the component's properties are being read; Loaded ends it.
  bool Loading() const { return m_loading; }
  void SetLoading(bool value) { m_loading = value; }
  // Set for components edited in a form designer.
  bool Designing() const { return m_designing; }
  void SetDesigning(bool value) { m_designing = value; }
  bool Destroying() const { return m_destroying; }
  // False from when the component is freed on.
  std::shared_ptr<const bool> LifeToken() const { return m_life.Token(); }

  // Called once every property has been read.
  virtual void Loaded();

  // other is told (Notification with opRemove) when this component goes.
  void FreeNotification(TChartComponent *other);
  void RemoveFreeNotification(TChartComponent *other);

protected:
  // A component this one refers to is going (opRemove) or arrived (opInsert).
  virtual void Notification(TChartComponent *component, TOperation operation);
  // Derived destructors call this first so that what they undo can tell.
  void MarkDestroying() { m_destroying = true; }

private:
  std::string m_name;
  long m_tag = 0;
  TChartComponent *m_owner = nullptr;
  std::vector<TChartComponent *> m_components;
  std::vector<TChartComponent *> m_freeNotifies;
  bool m_loading = false;
  bool m_designing = false;
  bool m_destroying = false;
  TLife m_life;
};
