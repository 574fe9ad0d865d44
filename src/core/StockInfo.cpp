#include "core/StockInfo.h"

#include <atomic>

std::uint64_t NewRecordStamp() {
  static std::atomic<std::uint64_t> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

StockInfoType::StockInfoType(const std::string &symbol)
    : Symbol(symbol), Stamp(NewRecordStamp()), Ticks("T:" + symbol), News("N:" + symbol) {}
