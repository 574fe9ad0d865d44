#include "core/StockInfo.h"

StockInfoType::StockInfoType(const std::string &symbol)
    : Symbol(symbol), Ticks("T:" + symbol), News("N:" + symbol) {}
