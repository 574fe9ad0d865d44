#include "chartengine/engine/ChartComponent.h"

#include <QString>
#include <algorithm>

TChartComponent::TChartComponent(TChartComponent *owner) : m_owner(owner) {
  if (m_owner != nullptr)
    m_owner->m_components.push_back(this);
}

TChartComponent::~TChartComponent() {
  m_destroying = true;
  // Partners first: each drops its link to this component before being told.
  const std::vector<TChartComponent *> partners = std::move(m_freeNotifies);
  m_freeNotifies.clear();
  for (TChartComponent *other : partners)
    std::erase(other->m_freeNotifies, this);
  for (TChartComponent *other : partners)
    other->Notification(this, opRemove);
  if (m_owner != nullptr) {
    std::erase(m_owner->m_components, this);
    const std::vector<TChartComponent *> siblings = m_owner->m_components;
    for (TChartComponent *sibling : siblings)
      if (std::find(partners.begin(), partners.end(), sibling) == partners.end())
        sibling->Notification(this, opRemove);
  }
  for (TChartComponent *child : m_components)
    child->m_owner = nullptr;
}

TChartComponent *TChartComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    return nullptr;
  return m_components[static_cast<std::size_t>(index)];
}

TChartComponent *TChartComponent::FindComponent(const std::string &name) const {
  if (name.empty())
    return nullptr;
  const QString wanted = QString::fromStdString(name);
  for (TChartComponent *c : m_components)
    if (QString::fromStdString(c->Name()).compare(wanted, Qt::CaseInsensitive) == 0)
      return c;
  return nullptr;
}

void TChartComponent::Loaded() { m_loading = false; }

void TChartComponent::FreeNotification(TChartComponent *other) {
  if (other == nullptr || other == this)
    return;
  if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), other) == m_freeNotifies.end())
    m_freeNotifies.push_back(other);
  if (std::find(other->m_freeNotifies.begin(), other->m_freeNotifies.end(), this) ==
      other->m_freeNotifies.end())
    other->m_freeNotifies.push_back(this);
}

void TChartComponent::RemoveFreeNotification(TChartComponent *other) {
  if (other == nullptr)
    return;
  std::erase(m_freeNotifies, other);
  std::erase(other->m_freeNotifies, this);
}

void TChartComponent::Notification(TChartComponent *, TOperation) {}
