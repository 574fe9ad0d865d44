#include "core/Portfolio.h"

#include "core/Log.h"
#include "core/StockStore.h"
#include "platform/StringUtils.h"

#include <stdexcept>

TPortfolioList PortfolioList;
MyCriticalSection PortListLock("PORT");
std::atomic<int> CurrentPortfolio{0};

bool PortPosition::IsSeparator() const {
  return !Symbol.empty() && Symbol.find_first_not_of('-') == std::string::npos;
}

bool PortPosition::IsCash() const { return IsCashSymbol(Symbol); }

PortType::PortType(const std::string &name, const std::string &key)
    : Name(name), Key(CutTo(key, PortKeyMaxLength)), Lock(CutTo("P:" + key, 20)) {}

PortType &TPortfolioList::operator[](int index) const {
  if (PortType *p = At(index))
    return *p;
  throw std::out_of_range("portfolio index " + std::to_string(index) + " out of range");
}

PortType *TPortfolioList::At(int index) const {
  if (index < 1 || index > Count())
    return nullptr;
  return m_items[std::size_t(index - 1)].get();
}

int TPortfolioList::Add(const std::string &name, const std::string &key,
                        const std::vector<PortPosition> &positions) {
  const int index = Count() + 1;
  // Totals are stored under the key, so every portfolio needs its own.
  std::string useKey = CutTo(Trim(key), PortKeyMaxLength);
  for (int n = index; useKey.empty() || IndexOfKey(useKey) != 0; ++n)
    useKey = "PORT" + std::to_string(n);
  // "|" ends the display name in the name list, so it cannot be part of one.
  auto port = std::make_unique<PortType>(StringReplaceAll(name, "|", "/"), useKey);
  port->Positions = positions;
  m_names.Add(port->Name + "|" + port->Key);
  m_items.push_back(std::move(port));
  return index;
}

void TPortfolioList::Delete(int index) {
  if (index < 1 || index > Count())
    throw std::out_of_range("portfolio index " + std::to_string(index) + " out of range");
  m_items.erase(m_items.begin() + (index - 1));
  m_names.Delete(index - 1);
}

void TPortfolioList::Clear() {
  m_items.clear();
  m_names.Clear();
}

int TPortfolioList::IndexOfKey(const std::string &key) const {
  for (int i = 1; i <= Count(); ++i)
    if (SameText(m_items[std::size_t(i - 1)]->Key, key))
      return i;
  return 0;
}

std::string TPortfolioList::DisplayName(int index) const {
  if (index < 1 || index > m_names.Count())
    return {};
  const std::string &entry = m_names[index - 1];
  return entry.substr(0, entry.find('|'));
}

std::string GetPortStocks() {
  std::string text;
  try {
    for (int i = 1; i <= PortfolioList.Count(); ++i)
      for (const PortPosition &pos : PortfolioList[i].Positions) {
        if (pos.Symbol.empty() || pos.IsCash() || pos.IsSeparator())
          continue;
        if (!text.empty())
          text += ",";
        text += pos.Symbol;
      }
  } catch (const std::exception &e) {
    if (LoggingOn)
      WriteLog(std::string("GetPortStocks Error: ") + e.what(), 0);
  }
  return text;
}
