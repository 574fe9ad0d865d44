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
  if (kind < 1 || kind > UpdatedSetCount)
    return;
  m_nonEmpty[std::size_t(kind - 1)] = !m_sets[std::size_t(kind - 1)].empty();
  m_index[std::size_t(kind - 1)].TextSize = std::string::npos; // read the text again
}

TUpdatedSymbolSets::Index &TUpdatedSymbolSets::IndexOf(int kind) {
  const std::string &text = Text(kind);
  Index &index = m_index[std::size_t(kind - 1)];
  // A text written directly (Changed, or a size the index does not know) is
  // read again.
  if (index.TextSize != text.size()) {
    index.Symbols.clear();
    for (std::string &symbol : ParseUpdatedSymbols(text))
      index.Symbols.insert(std::move(symbol));
    index.TextSize = text.size();
  }
  return index;
}

bool TUpdatedSymbolSets::Add(int kind, const std::string &symbol) {
  Index &index = IndexOf(kind);
  if (!index.Symbols.insert(symbol).second)
    return false;
  std::string &text = Text(kind);
  text += '|';
  text += symbol;
  text += '|';
  index.TextSize = text.size();
  m_nonEmpty[std::size_t(kind - 1)] = true;
  return true;
}

void TUpdatedSymbolSets::Take(int kind, std::string &text) {
  text.clear();
  text.swap(Text(kind));
  Index &index = m_index[std::size_t(kind - 1)];
  index.Symbols.clear();
  index.TextSize = 0;
  m_nonEmpty[std::size_t(kind - 1)] = false;
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
  UpdatedSymbolSets.Add(kind, symbol);
  return true;
}

bool TakeUpdatedSymbols(int kind, std::string &text, const std::string &tag) {
  text.clear();
  if (kind < 1 || kind > UpdatedSetCount)
    return false;
  MyLockGuard guard(UpdatedSymbolSets.Lock, tag, true);
  if (!guard.Owns())
    return false;
  UpdatedSymbolSets.Take(kind, text);
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
