#include "acquisition/UpdatedSymbols.h"

#include "core/Log.h"

#include <stdexcept>

TUpdatedSymbolSets UpdatedSymbolSets;

TUpdatedSymbolSets::TUpdatedSymbolSets() : Lock("UPDSET") {}

std::string &TUpdatedSymbolSets::Text(int kind) {
  if (kind < 1 || kind > UpdatedSetCount)
    throw std::out_of_range("updated-symbol set " + std::to_string(kind));
  return m_sets[std::size_t(kind - 1)];
}

void TUpdatedSymbolSets::Changed(int kind) {
  if (kind >= 1 && kind <= UpdatedSetCount)
    m_nonEmpty[std::size_t(kind - 1)] = !m_sets[std::size_t(kind - 1)].empty();
}

bool TUpdatedSymbolSets::MayHaveSymbols(int kind) const {
  return kind >= 1 && kind <= UpdatedSetCount && m_nonEmpty[std::size_t(kind - 1)].load();
}

bool MarkSymbolUpdated(int kind, const std::string &symbol) {
  if (kind < 1 || kind > UpdatedSetCount || symbol.empty() ||
      symbol.find('|') != std::string::npos) {
    if (LoggingOn)
      WriteLog("MarkSymbolUpdated Error: set " + std::to_string(kind) + " symbol \"" + symbol +
                   "\" refused",
               0);
    return false;
  }
  MyLockGuard guard(UpdatedSymbolSets.Lock, "UDST", true);
  if (!guard.Owns())
    return false;
  std::string &text = UpdatedSymbolSets.Text(kind);
  const std::string entry = "|" + symbol + "|";
  if (text.find(entry) == std::string::npos) {
    text += entry;
    UpdatedSymbolSets.Changed(kind);
  }
  return true;
}

bool TakeUpdatedSymbols(int kind, std::string &text, const std::string &tag) {
  text.clear();
  if (kind < 1 || kind > UpdatedSetCount)
    return false;
  MyLockGuard guard(UpdatedSymbolSets.Lock, tag, true);
  if (!guard.Owns())
    return false;
  text.swap(UpdatedSymbolSets.Text(kind));
  UpdatedSymbolSets.Changed(kind);
  return true;
}

std::vector<std::string> TakeUpdatedSymbolList(int kind, const std::string &tag) {
  std::string text;
  TakeUpdatedSymbols(kind, text, tag);
  return ParseUpdatedSymbols(text);
}

std::vector<std::string> ParseUpdatedSymbols(const std::string &text) {
  std::vector<std::string> symbols;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('|', start);
    const std::size_t stop = end == std::string::npos ? text.size() : end;
    if (stop > start)
      symbols.push_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  return symbols;
}

void ClearUpdatedSymbolSets() {
  MyLockGuard guard(UpdatedSymbolSets.Lock, "CLEAR", false);
  if (!guard.Owns())
    return;
  for (int kind = 1; kind <= UpdatedSetCount; ++kind) {
    UpdatedSymbolSets.Text(kind).clear();
    UpdatedSymbolSets.Changed(kind);
  }
}
