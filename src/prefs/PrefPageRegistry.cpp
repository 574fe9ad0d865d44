#include "prefs/PrefPageRegistry.h"

#include <algorithm>

void TPrefPageRegistry::Register(int pageNumber, const std::string &caption,
                                 PrefPageFactory factory) {
  if (!factory)
    return;
  auto at = std::lower_bound(m_pages.begin(), m_pages.end(), pageNumber,
                             [](const PrefPageEntry &e, int n) { return e.PageNumber < n; });
  if (at != m_pages.end() && at->PageNumber == pageNumber) {
    at->Caption = caption;
    at->Create = std::move(factory);
    return;
  }
  m_pages.insert(at, PrefPageEntry{pageNumber, caption, std::move(factory)});
}

void TPrefPageRegistry::Unregister(int pageNumber) {
  std::erase_if(m_pages, [&](const PrefPageEntry &e) { return e.PageNumber == pageNumber; });
}

void TPrefPageRegistry::Clear() { m_pages.clear(); }

const PrefPageEntry *TPrefPageRegistry::Find(int pageNumber) const {
  for (const PrefPageEntry &e : m_pages)
    if (e.PageNumber == pageNumber)
      return &e;
  return nullptr;
}

TPrefPageRegistry &PrefPageRegistry() {
  static TPrefPageRegistry registry;
  return registry;
}

void RegisterPrefPage(int pageNumber, const std::string &caption, PrefPageFactory factory) {
  PrefPageRegistry().Register(pageNumber, caption, std::move(factory));
}
