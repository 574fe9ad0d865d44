#include "core/MyStrList.h"

#include "platform/StringUtils.h"

#include <mutex>

std::string TMyStrList::KeyOf(const std::string &symbol) {
  return CutTo(UpperCase(symbol), SymbolMaxLength);
}

int TMyStrList::IndexOf(const std::string &symbol) const {
  const std::string key = KeyOf(symbol);
  std::shared_lock lock(m_mutex);
  auto it = m_index.find(key);
  return it == m_index.end() ? -1 : it->second;
}

int TMyStrList::Count() const {
  std::shared_lock lock(m_mutex);
  return int(m_records.size());
}

std::string TMyStrList::Strings(int i) const {
  std::shared_lock lock(m_mutex);
  if (i < 0 || std::size_t(i) >= m_records.size())
    return {};
  return m_records[std::size_t(i)]->Symbol;
}

StockInfoType *TMyStrList::Objects(int i) const {
  std::shared_lock lock(m_mutex);
  if (i < 0 || std::size_t(i) >= m_records.size())
    return nullptr;
  return m_records[std::size_t(i)].get();
}

StockInfoType *TMyStrList::Find(const std::string &symbol) const {
  const std::string key = KeyOf(symbol);
  std::shared_lock lock(m_mutex);
  auto it = m_index.find(key);
  return it == m_index.end() ? nullptr : m_records[std::size_t(it->second)].get();
}

int TMyStrList::Add(const std::string &symbol) {
  const std::string key = KeyOf(symbol);
  if (key.empty())
    return -1;
  std::unique_lock lock(m_mutex);
  auto it = m_index.find(key);
  if (it != m_index.end())
    return it->second;
  const int index = int(m_records.size());
  m_records.push_back(std::make_unique<StockInfoType>(key));
  m_index.emplace(key, index);
  return index;
}

void TMyStrList::ClearAll() {
  std::unique_lock lock(m_mutex);
  m_index.clear();
  m_records.clear();
}
